// A temporary folder per test for the channel's log, data and property files.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

struct TChannelTempDir {
  TChannelTempDir() {
    char pattern[] = "/tmp/plot-channel-XXXXXX";
    Dir = mkdtemp(pattern);
  }
  ~TChannelTempDir() { std::filesystem::remove_all(Dir); }
  std::string Path(const char* Name) const { return Dir + "/" + Name; }
  static std::string Read(const std::string& File) {
    std::ifstream in(File, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Write(const std::string& File, const std::string& Text) {
    std::ofstream(File, std::ios::binary) << Text;
  }
  std::string Dir;
};
