// Where tests write files for people to look at (screenshots, exported images): the build's
// test-output folder that CTest names in PL_TEST_OUTPUT, else /tmp.
#pragma once

#include <cstdlib>
#include <string>

inline std::string OutputPath(const char* name) {
  const char* dir = std::getenv("PL_TEST_OUTPUT");
  return std::string(dir ? dir : "/tmp") + "/" + name;
}
