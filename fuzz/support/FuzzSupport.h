// What every fuzzing harness shares: a temporary folder of the process's own, the headless
// window system, and the rule that bad input may end only in one of our own exceptions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Types.h"

namespace fuzz {

// A folder made for this process and removed when it ends; the user's configuration folder
// (settings store, port map) lies inside it, so no harness touches the real one.
const std::string& TempFolder();
// TempFolder() + "/" + name.
std::string TempPath(const std::string& name);
void WriteTempFile(const std::string& path, const uint8_t* data, size_t size);

// The headless display, the application object and a fixed clock: windows without a screen.
void StartUi();
// Runs the queued messages (painting, layout) of the windows made so far.
void PumpUi();

inline AnsiString Bytes(const uint8_t* data, size_t size) {
  return AnsiString(reinterpret_cast<const char*>(data), size);
}

// Splits the input at its first NUL into two texts (the second empty when there is none).
void SplitAtNul(const uint8_t* data, size_t size, AnsiString& first, AnsiString& second);

// Runs f; the readers' own exceptions are the expected answer to bad input.  Anything else
// (a std:: exception, a crash) reaches libFuzzer, which reports it.
template <class F>
void Expect(F&& f) {
  try {
    f();
  } catch (const Exception&) {
  }
}

// A broken promise of the reader under test: prints what and aborts, so libFuzzer keeps the input.
[[noreturn]] void Fail(const std::string& what);

}  // namespace fuzz
