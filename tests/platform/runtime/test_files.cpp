#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"
#include "tests/platform/runtime/TestFolder.h"

namespace {

void WriteBytes(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary);
  out << bytes;
}

// Sets an environment variable for the life of a scope.
class EnvScope {
 public:
  EnvScope(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~EnvScope() {
    if (had_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(FileNameTest, PartsOfNames) {
  struct Case {
    const char* name;
    const char* path;
    const char* dir;
    const char* file;
    const char* ext;
    const char* changed;  // ChangeFileExt(name, ".par")
  };
  const Case cases[] = {
      {"/opt/app/Config.dat", "/opt/app/", "/opt/app", "Config.dat", ".dat", "/opt/app/Config.par"},
      {"/Config", "/", "/", "Config", "", "/Config.par"},
      {"a.b/c", "a.b/", "a.b", "c", "", "a.b/c.par"},
      {"run.1.DB", "", "", "run.1.DB", ".DB", "run.1.par"},
      {"dir/", "dir/", "dir", "", "", "dir/.par"},
      {"//x", "//", "//", "x", "", "//x.par"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
    EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
    EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
    EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
    EXPECT_EQ(ChangeFileExt(c.name, ".par"), c.changed) << c.name;
  }
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");

  const std::pair<const char*, const char*> expanded[] = {
      {"/a/./b/../c", "/a/c"}, {"/a//b/", "/a/b/"}, {"/..", "/"}, {"/a/b/..", "/a"}};
  for (auto [in, out] : expanded) EXPECT_EQ(ExpandFileName(in), out) << in;
  EXPECT_EQ(ExpandFileName("x.txt"), IncludeTrailingPathDelimiter(GetCurrentDir()) + "x.txt");
}

TEST(FileNameTest, MasksCompareWithoutCase) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  };
  const Case cases[] = {
      {"GoNG.DB", "*.db", true},  {"GoNG.DBX", "*.db", false}, {"Makefile", "*.*", true},
      {"Makefile", "*", true},    {"abc", "abc.*", true},      {"abc.txt", "a?c.*", true},
      {"ac.txt", "a?c.*", false}, {"a.b.c", "*.c", true},      {"", "*", true},
      {"x", "", false},           {"ab", "*b*", true},         {"aXbYc", "a*b*c", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.matches) << c.name << " " << c.mask;
}

TEST(FileSystemTest, FindFirstListsWhatTheAttributesAdmit) {
  TestFolder dir;
  WriteBytes(dir.Path("a.DB"), "12345");
  WriteBytes(dir.Path("b.db"), "");
  WriteBytes(dir.Path(".hidden.db"), "");
  WriteBytes(dir.Path("c.txt"), "");
  std::filesystem::create_directory(dir.Path("sub.db"));

  auto find = [&](const std::string& mask, int32_t attr) {
    std::vector<std::string> names;
    TSearchRec rec;
    for (int32_t r = FindFirst(dir.Path(mask), attr, rec); r == 0; r = FindNext(rec))
      names.push_back(rec.Name);
    FindClose(rec);
    std::sort(names.begin(), names.end());
    return names;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(find("*.*", 0), (V{"a.DB", "b.db", "c.txt"}));
  EXPECT_EQ(find("*.db", 0), (V{"a.DB", "b.db"}));
  EXPECT_EQ(find("*.db", faDirectory), (V{"a.DB", "b.db", "sub.db"}));
  EXPECT_EQ(find("*.*", faAnyFile), (V{".", "..", ".hidden.db", "a.DB", "b.db", "c.txt", "sub.db"}));

  TSearchRec rec;
  ASSERT_EQ(FindFirst(dir.Path("a.*"), faAnyFile, rec), 0);
  EXPECT_EQ(rec.Size, 5);
  EXPECT_EQ(rec.Attr & faDirectory, 0);
  EXPECT_NE(rec.Time, 0);
  EXPECT_EQ(FindNext(rec), 18);
  FindClose(rec);
  EXPECT_EQ(FindFirst(dir.Path("*.xyz"), faAnyFile, rec), 2);
  EXPECT_EQ(FindFirst(dir.Path("nowhere/*.*"), faAnyFile, rec), 3);
}

TEST(FileSystemTest, CreateRenameDeleteAndAge) {
  TestFolder dir;
  AnsiString deep = dir.Path("db/x/y");
  EXPECT_TRUE(ForceDirectories(deep + "/"));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_FALSE(FileExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  EXPECT_THROW(ForceDirectories(""), EInOutError);
  EXPECT_FALSE(CreateDir(deep));
  EXPECT_TRUE(RemoveDir(deep));

  WriteBytes(dir.Path("old"), "old");
  WriteBytes(dir.Path("taken"), "taken");
  EXPECT_FALSE(RenameFile(dir.Path("old"), dir.Path("taken")));  // never replaces
  EXPECT_EQ(ReadBytes(dir.Path("taken")), "taken");
  EXPECT_TRUE(RenameFile(dir.Path("old"), dir.Path("new")));
  EXPECT_TRUE(FileExists(dir.Path("new")));
  EXPECT_FALSE(FileExists(dir.Path("old")));

  EXPECT_EQ(FileAge(dir.Path("gone")), -1);
  TDateTime age;
  ASSERT_TRUE(FileAge(dir.Path("new"), age));
  EXPECT_NEAR(age, Now(), 1.0 / 24);
  int32_t packed = FileAge(dir.Path("new"));
  EXPECT_GE((packed >> 25) + 1980, 2024);
  EXPECT_TRUE(DeleteFile(dir.Path("new")));
  EXPECT_FALSE(DeleteFile(dir.Path("new")));
}

TEST(FileSystemTest, SaveFileDurablyReplacesWholeOrNotAtAll) {
  TestFolder dir;
  AnsiString name = dir.Path("settings.ini");
  WriteBytes(name, "old content");
  chmod(name.c_str(), 0640);
  SaveFileDurably(name, "new");
  EXPECT_EQ(ReadBytes(name), "new");
  struct stat st {};
  stat(name.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // no temporary left
  EXPECT_THROW(SaveFileDurably(dir.Path("missing/x.ini"), "x"), EFCreateError);
}

TEST(FileSystemTest, CaseFoldedLookup) {
  TestFolder dir;
  std::filesystem::create_directory(dir.Path("Db"));
  WriteBytes(dir.Path("Db/GoNG.DB"), "");
  WriteBytes(dir.Path("Db/twin"), "");
  WriteBytes(dir.Path("Db/TWIN"), "");
  struct Case {
    std::string asked;
    std::string found;
    TFilenameCaseMatch match;
  };
  const Case cases[] = {
      {dir.Path("db/gong.db"), dir.Path("Db/GoNG.DB"), mfExactMatch},
      {dir.Path("DB/GoNG.DB"), dir.Path("Db/GoNG.DB"), mfExactMatch},
      {dir.Path("db/Twin"), dir.Path("Db/TWIN"), mfAmbiguous},
      {dir.Path("db/twin"), dir.Path("Db/twin"), mfAmbiguous},
      {dir.Path("dB/new/Run1.db"), dir.Path("Db/new/Run1.db"), mfNoMatch},
  };
  for (const Case& c : cases) {
    TFilenameCaseMatch match;
    EXPECT_EQ(ExpandFileNameCase(c.asked, match), c.found) << c.asked;
    EXPECT_EQ(match, c.match) << c.asked;
  }
  EXPECT_EQ(ExtractFileDir(ProgramFile("x")), ProgramFolder());
  EXPECT_TRUE(DirectoryExists(ProgramFolder()));
}

TEST(FileSystemTest, UserConfigFolderIsMadeOnDemand) {
  TestFolder dir;
  {
    EnvScope config("PL_CONFIG_DIR", dir.Path("cfg/").c_str());
    EXPECT_EQ(UserConfigFolder(), dir.Path("cfg"));
    EXPECT_TRUE(DirectoryExists(dir.Path("cfg")));
  }
  EnvScope config("PL_CONFIG_DIR", nullptr);
  {
    EnvScope xdg("XDG_CONFIG_HOME", dir.Path("xdg").c_str());
    EXPECT_EQ(UserConfigFolder(), dir.Path("xdg/rz4180"));
  }
  EnvScope xdg("XDG_CONFIG_HOME", nullptr);
  EnvScope home("HOME", dir.Path("home").c_str());
  EXPECT_EQ(UserConfigFolder(), dir.Path("home/.config/rz4180"));
}

// ---------------------------------------------------------------- text files

TEST(TextFileTest, LinesEndAtCrLfLfOrCr) {
  TestFolder dir;
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r\rc", {"a", "b", "", "c"}},
      {"x;\"two\nlines\"\r\n", {"x;\"two", "lines\""}},
      {"", {}},
      {std::string(65535, 'x') + "\r\nend", {std::string(65535, 'x'), "end"}},  // CR LF split by the buffer
  };
  AnsiString name = dir.Path("t.txt");
  for (const Case& c : cases) {
    WriteBytes(name, c.bytes);
    TextFile f;
    AssignFile(f, name);
    Reset(f);
    std::vector<std::string> lines;
    while (!Eof(f)) {
      AnsiString s;
      ReadLn(f, s);
      lines.push_back(s);
    }
    CloseFile(f);
    EXPECT_EQ(lines, c.lines) << c.bytes.substr(0, 20);
  }
}

TEST(TextFileTest, WritingAppendingAndErrors) {
  TestFolder dir;
  AnsiString name = dir.Path("out.txt");
  TextFile f;
  AssignFile(f, name);
  Rewrite(f);
  WriteLn(f, "one");
  Write(f, "tw");
  WriteLn(f, "o");
  EXPECT_TRUE(Eof(f));
  try {
    AnsiString s;
    ReadLn(f, s);
    ADD_FAILURE();
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, 104);
  }
  CloseFile(f);
  Append(f);
  WriteLn(f, "three");
  CloseFile(f);
  EXPECT_EQ(ReadBytes(name), "one\r\ntwo\r\nthree\r\n");

  struct Case {
    AnsiString name;
    int32_t code;
    const char* message;
  };
  const Case cases[] = {
      {dir.Path("missing.txt"), 2, "File not found"},
      {dir.Path("nowhere/missing.txt"), 3, "Path not found"},
      {dir.Path(""), 5, "File access denied"},
  };
  for (const Case& c : cases) {
    TextFile g;
    AssignFile(g, c.name);
    try {
      Reset(g);
      ADD_FAILURE() << c.name;
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.ErrorCode, c.code) << c.name;
      EXPECT_EQ(e.Message, c.message) << c.name;
    }
    try {
      CloseFile(g);
      ADD_FAILURE();
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.ErrorCode, 103);
    }
  }
}

}  // namespace
