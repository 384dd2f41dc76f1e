// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/runtime/Lists.h"

class TestFolder {
 public:
  TestFolder() {
    static std::atomic<int> serial{0};
    path_ = std::filesystem::path(::testing::TempDir()) /
            ("rt-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // The folder, or a name inside it.
  std::string Path(const std::string& name = "") const {
    return name.empty() ? path_.string() : (path_ / name).string();
  }

 private:
  std::filesystem::path path_;
};

// The whole content of a file, as bytes.
inline std::string ReadBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The lines of a list joined with "|", for compact expectations.
inline AnsiString Joined(const TStrings& list) {
  AnsiString s;
  for (int32_t i = 0; i < list.Count(); ++i) s += (i ? "|" : "") + list[i];
  return s;
}
