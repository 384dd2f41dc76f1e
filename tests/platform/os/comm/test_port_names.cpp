#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/os/comm/PortNames.h"

namespace {

TEST(PortNames, PrefixesAreDroppedAlsoWhenRepeated) {
  struct {
    const char* name;
    const char* stripped;
  } cases[] = {{"COM1", "COM1"},
               {"\\\\.\\COM1", "COM1"},
               {"//./COM12", "COM12"},
               {"\\\\.\\//./COM3", "COM3"},
               {"\\\\.\\/dev/pts/4", "/dev/pts/4"},
               {"\\\\.", "\\\\."}};
  for (auto& c : cases) EXPECT_EQ(StripDevicePrefixes(c.name), c.stripped) << c.name;
}

TEST(PortNames, NamesResolveThroughTheMapThenComNumbersThenDev) {
  TPortMap map;
  map.Add("# ports\r\nCOM1=/dev/ttyUSB0\r\n com2 = ttyACM1 \n\nbroken line\nCOM1=/dev/ttyUSB3;COM9=");
  struct {
    const char* name;
    DWORD error;
    const char* path;
  } cases[] = {
      {"COM1", ERROR_SUCCESS, "/dev/ttyUSB3"},  // the later entry wins
      {"com2", ERROR_SUCCESS, "/dev/ttyACM1"},  // letter case ignored, relative to /dev
      {"COM9", ERROR_SUCCESS, "/dev/ttyS8"},    // an empty entry maps nothing
      {"COM10", ERROR_SUCCESS, "/dev/ttyS9"},
      {"ttyUSB0", ERROR_SUCCESS, "/dev/ttyUSB0"},
      {"/dev/pts/3", ERROR_SUCCESS, "/dev/pts/3"},
      {"COM0", ERROR_SUCCESS, "/dev/COM0"},
      {"", ERROR_INVALID_NAME, ""},
      {"/etc/passwd", ERROR_INVALID_NAME, ""},
      {"../etc/passwd", ERROR_INVALID_NAME, ""},
      {"/dev/../etc/passwd", ERROR_INVALID_NAME, ""},
      {"a\\b", ERROR_INVALID_NAME, ""},
  };
  for (auto& c : cases) {
    AnsiString path;
    EXPECT_EQ(ResolvePortPath(c.name, map, path), c.error) << c.name;
    if (c.error == ERROR_SUCCESS) {
      EXPECT_EQ(path, c.path) << c.name;
    }
  }
}

TEST(PortNames, TheEnvironmentOverridesTheMapFile) {
  std::string dir = ::testing::TempDir() + "portmap_" + std::to_string(getpid());
  mkdir(dir.c_str(), 0700);
  std::ofstream(dir + "/ports") << "COM1=/dev/ttyUSB0\nCOM2=/dev/ttyUSB1\n";
  setenv("PL_CONFIG_DIR", dir.c_str(), 1);
  setenv("PL_PORT_MAP", "COM1=/dev/pts/3;COM4=/dev/ttyS1", 1);
  TPortMap map = CurrentPortMap();
  unsetenv("PL_PORT_MAP");
  unsetenv("PL_CONFIG_DIR");
  unlink((dir + "/ports").c_str());
  rmdir(dir.c_str());
  ASSERT_NE(map.Find("COM1"), nullptr);
  EXPECT_EQ(*map.Find("COM1"), "/dev/pts/3");
  EXPECT_EQ(*map.Find("COM2"), "/dev/ttyUSB1");
  EXPECT_EQ(*map.Find("COM4"), "/dev/ttyS1");
  EXPECT_EQ(map.Find("COM3"), nullptr);
}

}  // namespace
