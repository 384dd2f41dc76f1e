#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/Registry.h"
#include "tests/platform/runtime/TestFolder.h"

namespace {

// Each test gets its own settings folder.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("PL_CONFIG_DIR", dir.Path().c_str(), 1); }
  void TearDown() override { unsetenv("PL_CONFIG_DIR"); }
  std::string StoreText() {
    std::ifstream in(dir.Path("registry.ini"), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  TestFolder dir;
};

TEST_F(RegistryTest, KeysOpenRelativeOrAbsoluteAndCreateOnlyWhenAllowed) {
  TRegistry reg;
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.OpenKey("Software\\Quarnoplex", false));
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_TRUE(reg.OpenKey("Software\\Quarnoplex", true));
  EXPECT_TRUE(reg.OpenKey("Title\\Form", true));  // below the open key
  EXPECT_EQ(reg.CurrentPath(), "Software\\Quarnoplex\\Title\\Form");
  EXPECT_TRUE(reg.KeyExists("\\software\\QUARNOPLEX\\title"));
  EXPECT_TRUE(reg.OpenKey("\\Software", false));  // absolute
  EXPECT_TRUE(reg.HasSubKeys());
  TStringList names;
  reg.GetKeyNames(&names);
  EXPECT_EQ(Joined(names), "Quarnoplex");

  TRegistry machine;
  machine.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(machine.KeyExists("Software\\Quarnoplex"));
  EXPECT_TRUE(reg.DeleteKey("\\Software\\Quarnoplex"));  // with everything below it
  EXPECT_FALSE(reg.KeyExists("\\Software\\Quarnoplex\\Title\\Form"));
  EXPECT_FALSE(reg.DeleteKey("\\Software\\Quarnoplex"));
}

TEST_F(RegistryTest, ValuesAreTypedAndMissingOnesRaise) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Test", true));
  reg.WriteString("Port", "COM1");
  reg.WriteInteger("Buffer.InputSize", -2);
  reg.WriteBool("Flag", true);
  EXPECT_EQ(reg.ReadString("port"), "COM1");
  EXPECT_EQ(reg.ReadInteger("BUFFER.INPUTSIZE"), -2);
  EXPECT_TRUE(reg.ReadBool("Flag"));
  EXPECT_EQ(reg.GetDataType("Port"), rdString);
  EXPECT_EQ(reg.GetDataType("Flag"), rdInteger);
  EXPECT_EQ(reg.GetDataType("None"), rdUnknown);

  struct Case {
    std::function<void()> call;
    const char* message;
  };
  TRegistry closed;
  const Case cases[] = {
      {[&] { reg.ReadString("Missing"); }, "Failed to get data for 'Missing'"},
      {[&] { reg.ReadInteger("Missing"); }, "Failed to get data for 'Missing'"},
      {[&] { reg.ReadInteger("Port"); }, "Invalid data type for 'Port'"},
      {[&] { reg.ReadString("Flag"); }, "Invalid data type for 'Flag'"},
      {[&] { closed.WriteString("Port", "x"); }, "Failed to set data for 'Port'"},
      {[&] { closed.ReadString("Port"); }, "Failed to get data for 'Port'"},
  };
  for (const Case& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.message;
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
  ASSERT_TRUE(closed.OpenKeyReadOnly("Software\\Test"));
  EXPECT_EQ(closed.ReadString("Port"), "COM1");  // another object sees the value
  EXPECT_THROW(closed.WriteString("Port", "x"), ERegistryException);

  EXPECT_TRUE(reg.DeleteValue("Flag"));
  EXPECT_FALSE(reg.DeleteValue("Flag"));
  TStringList names;
  reg.GetValueNames(&names);
  EXPECT_EQ(Joined(names), "Port|Buffer.InputSize");
}

TEST_F(RegistryTest, AnyTextRoundTripsThroughTheStoreFile) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Odd]Key;[x]", true));
  const std::pair<AnsiString, AnsiString> values[] = {
      {"", "the default value"}, {"@", "at"},   {"a=b", "two\r\nlines"}, {" padded ", "  blanks  "},
      {"100%", "%41 is not A"},  {"[x];y", ""},
  };
  for (const auto& [name, value] : values) reg.WriteString(name, value);
  TRegistry again;
  ASSERT_TRUE(again.OpenKey("\\Software\\odd]key;[X]", false));
  for (const auto& [name, value] : values) EXPECT_EQ(again.ReadString(name), value) << name;
  EXPECT_NE(StoreText().find("[HKEY_CURRENT_USER\\Software\\Odd%5DKey%3B%5Bx%5D]\r\n"), std::string::npos);
}

TEST_F(RegistryTest, StoreFileIsPlainIniWithASectionPerKey) {
  TRegIniFile ini("Software\\Quarnoplex\\Title");
  ini.WriteInteger("Form\\TForm1", "Width", 640);
  ini.WriteBool("Form\\TForm1", "Maximized", false);
  TRegistry reg;
  reg.OpenKey("Software\\Quarnoplex\\Title", false);
  reg.WriteInteger("Count", 3);
  EXPECT_EQ(
      StoreText(),
      "[HKEY_CURRENT_USER\\Software\\Quarnoplex\\Title]\r\nCount=dword:3\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Quarnoplex\\Title\\Form\\TForm1]\r\nWidth=sz:640\r\nMaximized=sz:0\r\n");
}

TEST_F(RegistryTest, RegIniFileCreatesItsKeyAndReadsSectionsWithDefaults) {
  TRegIniFile ini("Software\\Quarnoplex\\Report");
  TRegistry probe;
  EXPECT_TRUE(probe.KeyExists("Software\\Quarnoplex\\Report"));  // opening created it

  const char* section = "Form\\TfrPreviewForm";
  EXPECT_EQ(ini.ReadInteger(section, "XPosition", 17), 17);
  EXPECT_TRUE(ini.ReadBool(section, "Maximized", true));
  ini.WriteInteger(section, "XPosition", 120);
  ini.WriteBool(section, "Maximized", false);
  ini.WriteString(section, "Width", "wide");  // not a number: the default applies
  EXPECT_EQ(ini.ReadInteger(section, "XPOSITION", 17), 120);
  EXPECT_FALSE(ini.ReadBool(section, "Maximized", true));
  EXPECT_EQ(ini.ReadInteger(section, "Width", 300), 300);
  ini.WriteString("", "Top", "level");
  EXPECT_EQ(ini.ReadString("", "top", ""), "level");

  TStringList list;
  ini.ReadSections(&list);
  EXPECT_EQ(Joined(list), "Form");
  ini.ReadSectionValues(section, &list);
  EXPECT_EQ(Joined(list), "XPosition=120|Maximized=0|Width=wide");
  ini.DeleteKey(section, "Width");
  ini.ReadSection(section, &list);
  EXPECT_EQ(Joined(list), "XPosition|Maximized");
  ini.EraseSection("Form");
  EXPECT_EQ(ini.ReadInteger(section, "XPosition", 5), 5);
}

TEST_F(RegistryTest, RegistryIniFileKeepsIntegersTypedUnlessTextWasThere) {
  TRegistryIniFile ini("Software\\Grid");
  ini.WriteInteger("Widths", "Col0", 64);
  ini.RegIniFile()->WriteString("Widths", "Col1", "10");
  ini.WriteInteger("Widths", "Col1", 80);
  EXPECT_EQ(ini.ReadInteger("Widths", "Col0", 0), 64);
  EXPECT_EQ(ini.ReadInteger("Widths", "Col1", 0), 80);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Grid\\Widths", false));
  EXPECT_EQ(reg.GetDataType("Col0"), rdInteger);
  EXPECT_EQ(reg.GetDataType("Col1"), rdString);
  EXPECT_TRUE(ini.ValueExists("Widths", "col0"));
}

TEST_F(RegistryTest, HandEditedStoreFilesAreReadSafely) {
  {
    std::ofstream out(dir.Path("registry.ini"), std::ios::binary);
    out << "[HKEY_CURRENT_USER\\Software\\\\Form]\nX=sz:1\n"
           "[HKEY_CURRENT_USER\\Software\\Values]\nBig=dword:4294967297\nTop=dword:4294967295\n"
           "Low=dword:-2147483648\nLower=dword:-2147483649\n";
  }
  // A walk of every key ends: a doubled backslash names no key of its own.
  TRegistry reg;
  std::vector<AnsiString> seen;
  std::function<void(const AnsiString&)> walk = [&](const AnsiString& path) {
    ASSERT_LT(seen.size(), 10u) << "the walk does not end";
    seen.push_back(path);
    ASSERT_TRUE(reg.OpenKey(path, false)) << path;
    TStringList names;
    reg.GetKeyNames(&names);
    for (int32_t i = 0; i < names.Count(); ++i) walk(path + "\\" + names[i]);
  };
  walk("\\Software");
  EXPECT_EQ(seen, (std::vector<AnsiString>{"\\Software", "\\Software\\Values"}));

  // 32-bit values read as stored; a number that does not fit is refused, not cut.
  ASSERT_TRUE(reg.OpenKey("\\Software\\Values", false));
  EXPECT_EQ(reg.ReadInteger("Top"), -1);
  EXPECT_EQ(reg.ReadInteger("Low"), INT32_MIN);
  for (const char* name : {"Big", "Lower"}) EXPECT_THROW(reg.ReadInteger(name), ERegistryException) << name;
}

}  // namespace
