#include "fuzz/support/FuzzSupport.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/display/Display.h"
#include "platform/runtime/Clock.h"
#include "platform/ui/Forms.h"

namespace fuzz {

namespace {

struct FuzzFolder {
  std::string path;
  pid_t owner;
  FuzzFolder() : owner(::getpid()) {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/pl-fuzz-XXXXXX";
    if (!::mkdtemp(tmpl.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    path = tmpl;
    ::setenv("PL_CONFIG_DIR", (path + "/config").c_str(), 1);
  }
  ~FuzzFolder() {
    // libFuzzer's fork mode runs children: each removes only its own folder.
    if (::getpid() != owner) return;
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

FuzzFolder& Folder() {
  static FuzzFolder folder;
  return folder;
}

}  // namespace

const std::string& TempFolder() { return Folder().path; }

std::string TempPath(const std::string& name) { return TempFolder() + "/" + name; }

void WriteTempFile(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  if (!out) Fail("cannot write " + path);
}

void StartUi() {
  static bool started = false;
  if (started) return;
  started = true;
  ::setenv("PL_DISPLAY", "headless", 1);
  ::setenv("PL_HEADLESS_SIZE", "320x240", 1);
  static TFakeClock clock(100000);
  static TClockScope scope(clock);
  StartDisplay(TDisplayKind::Headless);
  Application->Initialize();
}

void PumpUi() { Application->ProcessMessages(); }

void SplitAtNul(const uint8_t* data, size_t size, AnsiString& first, AnsiString& second) {
  size_t i = 0;
  while (i < size && data[i] != 0) ++i;
  first = Bytes(data, i);
  second = i < size ? Bytes(data + i + 1, size - i - 1) : AnsiString();
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace fuzz
