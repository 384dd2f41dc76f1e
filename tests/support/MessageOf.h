// The message of the exception a call raises, for tests that check a failure's text.
#pragma once

#include <string>

#include "platform/runtime/Exceptions.h"

// The Message of the Exception that Call raises, "(nothing raised)" when it returns.
template <class F>
std::string MessageOf(F&& Call) {
  try {
    Call();
  } catch (const Exception& e) {
    return e.Message;
  }
  return "(nothing raised)";
}
