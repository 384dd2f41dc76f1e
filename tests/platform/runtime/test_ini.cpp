#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/IniFiles.h"
#include "platform/runtime/Lists.h"
#include "tests/platform/runtime/TestFolder.h"

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  TestFolder dir;
  AnsiString name = dir.Path("port.ini");
};

TEST_F(IniFileTest, WritesThroughWithCrLfAndKeepsOtherLines) {
  {
    std::ofstream out(name, std::ios::binary);
    out << "; settings\n[ComPort1]\nPort = COM1\n\n[Other]\nx=1\n";
  }
  TIniFile ini(name);
  ini.WriteString("comport1", "BaudRate", "9600");
  ini.WriteString("COMPORT1", "port", "COM3");
  ini.WriteInteger("New", "Count", 5);
  EXPECT_EQ(ReadBytes(name),
            "; "
            "settings\r\n[ComPort1]\r\nport=COM3\r\nBaudRate=9600\r\n\r\n[Other]\r\nx=1\r\n\r\n[New]"
            "\r\nCount=5\r\n");

  TIniFile other(name);  // a second object sees the values at once
  EXPECT_EQ(other.ReadString("ComPort1", "PORT", ""), "COM3");
  ini.EraseSection("other");
  ini.DeleteKey("ComPort1", "BaudRate");
  EXPECT_FALSE(other.SectionExists("Other"));
  EXPECT_FALSE(other.ValueExists("ComPort1", "BaudRate"));
  EXPECT_TRUE(other.ValueExists("comport1", "Port"));
  EXPECT_EQ(ReadBytes(name), "; settings\r\n[ComPort1]\r\nport=COM3\r\n\r\n[New]\r\nCount=5\r\n");
}

TEST_F(IniFileTest, TypedValuesAndDefaults) {
  {
    std::ofstream out(name, std::ios::binary);
    out << "[S]\nhex=0x1F\ndollar=$10\nbad=12a\nyes=1\nno=0\nquoted=\"  spaced  \"\nf=2.5\nfbad=x\nempty=\n";
  }
  TIniFile ini(name);
  struct IntCase {
    const char* key;
    int32_t expected;
  };
  const IntCase ints[] = {{"hex", 31}, {"dollar", 16}, {"bad", -7}, {"missing", -7}, {"empty", -7}};
  for (const IntCase& c : ints) EXPECT_EQ(ini.ReadInteger("S", c.key, -7), c.expected) << c.key;
  EXPECT_TRUE(ini.ReadBool("S", "yes", false));
  EXPECT_FALSE(ini.ReadBool("S", "no", true));
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
  EXPECT_EQ(ini.ReadString("S", "quoted", ""), "  spaced  ");
  EXPECT_EQ(ini.ReadString("S", "empty", "default"), "");
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "f", 0), 2.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "fbad", 1.5), 1.5);

  ini.WriteBool("T", "b", true);
  ini.WriteFloat("T", "f", 0.125);
  TStringList values;
  ini.ReadSectionValues("T", &values);
  EXPECT_EQ(Joined(values), "b=1|f=0.125");
  ini.ReadSections(&values);
  EXPECT_EQ(Joined(values), "S|T");
  ini.ReadSection("s", &values);
  EXPECT_EQ(values.Count(), 9);
}

TEST_F(IniFileTest, MissingFileReadsEmptyAndBadInputChangesNothing) {
  TIniFile ini(name);
  EXPECT_EQ(ini.ReadString("A", "b", "dflt"), "dflt");
  TStringList list;
  list.Add("stale");
  ini.ReadSections(&list);
  EXPECT_EQ(list.Count(), 0);

  ini.WriteString("A", "k", "v");
  std::string before = ReadBytes(name);
  const std::pair<const char*, const char*> badNames[] = {{"A]", "k"}, {"A\n", "k"}, {"A", "k=x"},
                                                          {"A", ""},   {"A", ";k"},  {"A", "[k"}};
  for (auto [section, key] : badNames)
    EXPECT_THROW(ini.WriteString(section, key, "v"), EIniFileException) << key;
  EXPECT_THROW(ini.WriteString("A", "k", "two\r\nlines"), EIniFileException);
  EXPECT_EQ(ReadBytes(name), before);

  TIniFile blocked(dir.Path("missing-folder/x.ini"));
  try {
    blocked.WriteString("A", "k", "v");
    ADD_FAILURE();
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message, "Unable to write to " + dir.Path("missing-folder/x.ini"));
  }
}

TEST_F(IniFileTest, HandWrittenFilesReadAsTheyLook) {
  {
    std::ofstream out(name, std::ios::binary);
    out << "\xEF\xBB\xBF[First]\na=1\n[Second]\nb=2\n[M\nlost=1\n[first]\na=shadowed\nc=3\n";
  }
  TIniFile ini(name);
  // The byte-order mark hides nothing, and is kept when the file is written again.
  EXPECT_EQ(ini.ReadString("First", "a", ""), "1");
  // The second copy of a section reads with the first; the first copy's value wins.
  EXPECT_EQ(ini.ReadString("First", "c", ""), "3");
  TStringList list;
  ini.ReadSection("FIRST", &list);
  EXPECT_EQ(Joined(list), "a|c");
  // An unclosed header names no section, and ends the one before it.
  ini.ReadSections(&list);
  EXPECT_EQ(Joined(list), "First|Second");
  EXPECT_FALSE(ini.ValueExists("M", "lost"));
  EXPECT_FALSE(ini.ValueExists("Second", "lost"));
  // A change goes where the value was read from; a delete leaves no copy behind.
  ini.WriteString("First", "c", "4");
  ini.DeleteKey("First", "a");
  EXPECT_EQ(ini.ReadString("First", "a", "gone"), "gone");
  EXPECT_EQ(ReadBytes(name), "\xEF\xBB\xBF[First]\r\n[Second]\r\nb=2\r\n[M\r\nlost=1\r\n[first]\r\nc=4\r\n");
  ini.EraseSection("first");
  EXPECT_FALSE(ini.SectionExists("First"));

  // Names that a write refuses are missed by reads and deletes alike, not trimmed into others.
  ini.WriteString("S", "v", "kept");
  for (auto [section, key] : {std::pair{"S", "v\n"}, {"S", "\r\nv"}, {"S\n", "v"}}) {
    EXPECT_THROW(ini.WriteString(section, key, "x"), EIniFileException);
    EXPECT_EQ(ini.ReadString(section, key, "missed"), "missed");
    ini.DeleteKey(section, key);
    EXPECT_EQ(ini.ReadString("S", "v", ""), "kept") << key;
  }
  ini.EraseSection("S\r\n");
  EXPECT_EQ(ini.ReadString("S", "v", ""), "kept");
}

}  // namespace
