// The runtime's assertion and the trigonometric names the framework's code calls.
#pragma once

#include <cmath>
#include <source_location>

#include "platform/runtime/Exceptions.h"

// Raises EAssertionFailed "<message> (<file>, line <n>)" when the condition is false; the message
// defaults to "Assertion failure".  Assertions stay on in every build.
inline void Assert(bool condition, const AnsiString& message = "",
                   const std::source_location where = std::source_location::current()) {
  if (condition) return;
  throw EAssertionFailed((message.empty() ? AnsiString("Assertion failure") : message) + " (" +
                         where.file_name() + ", line " + std::to_string(where.line()) + ")");
}

inline double Sin(double x) { return std::sin(x); }
inline double Cos(double x) { return std::cos(x); }
