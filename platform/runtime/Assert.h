// The runtime's assertion and the trigonometric names the framework's code calls.
#pragma once

#include <cmath>
#include <string>

#include "platform/runtime/Exceptions.h"

// Raises EAssertionFailed "<message> (<file>, line <n>)" when the condition is false; the message
// defaults to "Assertion failure".  Assertions stay on in every build.  The caller's place comes
// from the compiler's builtins: clang 14 with this standard library has no std::source_location.
inline void Assert(bool condition, const AnsiString& message = "", const char* file = __builtin_FILE(),
                   int line = __builtin_LINE()) {
  if (condition) return;
  throw EAssertionFailed((message.empty() ? AnsiString("Assertion failure") : message) + " (" + file +
                         ", line " + std::to_string(line) + ")");
}

inline double Sin(double x) { return std::sin(x); }
inline double Cos(double x) { return std::cos(x); }
