#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Resources.h"
#include "platform/runtime/Streams.h"
#include "tests/platform/runtime/TestFolder.h"

namespace {

const char kResourceBytes[] = "resource body";
TResourceRegistration registered(RT_RCDATA, "TEST_STREAM_DATA", kResourceBytes, sizeof kResourceBytes - 1);

// Every stream kind: reads at the end come back short, ReadBuffer then raises.
void ExpectShortReadAtEnd(TStream& stream) {
  stream.SetPosition(0);
  stream.WriteBuffer("0123456789", 10);
  stream.Seek(-4, soEnd);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 8), 4);
  EXPECT_EQ(std::string(buffer, 4), "6789");
  EXPECT_EQ(stream.Read(buffer, 8), 0);
  stream.SetPosition(8);
  try {
    stream.ReadBuffer(buffer, 3);
    ADD_FAILURE() << "a short ReadBuffer did not raise";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, "Stream read error");
  }
  EXPECT_EQ(stream.Seek(2, soBeginning), 2);
  EXPECT_EQ(stream.Seek(3, soCurrent), 5);
  EXPECT_EQ(stream.Size(), 10);
}

TEST(StreamTest, ShortReadsAtTheEndOfMemoryAndFileStreams) {
  TMemoryStream memory;
  ExpectShortReadAtEnd(memory);
  TestFolder dir;
  TFileStream file(dir.Path("data.bin"), fmCreate);
  ExpectShortReadAtEnd(file);
}

TEST(StreamTest, MemoryStreamGrowsShrinksAndCopies) {
  TMemoryStream stream;
  stream.SetPosition(4);
  stream.WriteBuffer("ab", 2);  // a gap before it reads as zeros
  EXPECT_EQ(stream.Size(), 6);
  EXPECT_EQ(std::memcmp(stream.Memory(), "\0\0\0\0ab", 6), 0);
  stream.SetSize(3);
  EXPECT_EQ(stream.Position(), 3);
  char c;
  EXPECT_EQ(stream.Read(&c, 1), 0);

  TStringStream source("hello world");
  source.SetPosition(6);
  TMemoryStream copy;
  EXPECT_EQ(copy.CopyFrom(&source, 5), 5);
  EXPECT_EQ(std::string(static_cast<const char*>(copy.Memory()), 5), "world");
  EXPECT_EQ(copy.CopyFrom(&source, 0), 11);  // 0: the whole source from its start
  EXPECT_EQ(copy.Size(), 16);
  source.SetPosition(9);
  EXPECT_THROW(copy.CopyFrom(&source, 5), EReadError);

  copy.LoadFromStream(&source);
  EXPECT_EQ(copy.Size(), 11);
  copy.Clear();
  EXPECT_EQ(copy.Size(), 0);
  EXPECT_EQ(copy.Position(), 0);
}

TEST(StreamTest, StringStreamWritesInTheMiddleWithoutLosingTheRest) {
  TStringStream s("abcdef");
  s.SetPosition(2);
  s.WriteString("XY");
  EXPECT_EQ(s.DataString(), "abXYef");
  EXPECT_EQ(s.ReadString(10), "ef");
  s.WriteString("++");
  EXPECT_EQ(s.DataString(), "abXYef++");
}

TEST(StreamTest, FileStreamModesAndErrors) {
  TestFolder dir;
  AnsiString name = dir.Path("f.dat");
  {
    TFileStream create(name, fmCreate | fmShareExclusive);
    create.WriteBuffer("abcdef", 6);
  }
  {
    TFileStream update(name, fmOpenReadWrite);
    update.Seek(0, soEnd);
    update.WriteBuffer("gh", 2);  // an open for writing keeps the content
    EXPECT_EQ(update.Size(), 8);
    update.SetSize(3);
    EXPECT_EQ(update.Position(), 3);
  }
  {
    TFileStream read(name, fmOpenRead | fmShareDenyWrite);
    char buffer[8];
    EXPECT_EQ(read.Read(buffer, 8), 3);
    EXPECT_THROW(read.WriteBuffer("x", 1), EWriteError);
  }
  {
    TFileStream again(name, fmCreate);  // fmCreate empties an existing file
    EXPECT_EQ(again.Size(), 0);
  }

  struct Case {
    AnsiString name;
    uint16_t mode;
    AnsiString expected;
  };
  const Case cases[] = {
      {dir.Path("missing.dat"), fmOpenRead,
       "Cannot open file \"" + dir.Path("missing.dat") + "\". No such file or directory"},
      {dir.Path(""), fmOpenRead, "Cannot open file \"" + dir.Path("") + "\". Is a directory"},
      {dir.Path("no/such/folder.dat"), fmCreate,
       "Cannot create file \"" + dir.Path("no/such/folder.dat") + "\". No such file or directory"},
  };
  for (const Case& c : cases) {
    try {
      TFileStream stream(c.name, c.mode);
      ADD_FAILURE() << "opened " << c.name;
    } catch (const EStreamError& e) {
      EXPECT_EQ(e.Message, c.expected);
      EXPECT_EQ(dynamic_cast<const EFCreateError*>(&e) != nullptr, c.mode == fmCreate);
    }
  }
}

TEST(StreamTest, ResourceStreamReadsCompiledInBytesReadOnly) {
  TResourceStream stream(0, "test_stream_data", RT_RCDATA);
  EXPECT_EQ(stream.Size(), 13);
  char buffer[8] = {};
  stream.ReadBuffer(buffer, 8);
  EXPECT_EQ(std::string(buffer, 8), "resource");
  EXPECT_THROW(stream.Write("x", 1), EStreamError);
  try {
    TResourceStream missing("XP_NOWHERE", RT_RCDATA);
    ADD_FAILURE();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message, "Resource XP_NOWHERE not found");
  }
  TestFolder dir;
  stream.SaveToFile(dir.Path("copy.bin"));
  TMemoryStream loaded;
  loaded.LoadFromFile(dir.Path("copy.bin"));
  EXPECT_EQ(loaded.Size(), 13);
}

}  // namespace
