// The grid's cell checker base and the grid module's start: the grid class registered for stored
// definitions and its clipboard format registered.
#pragma once

#include "platform/runtime/Component.h"

// Corrects and marks cell texts as they are validated; the base class changes nothing.
class TAdvStringGridCheck : public TComponent {
  PL_CLASS(TAdvStringGridCheck)
 public:
  explicit TAdvStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}
  virtual AnsiString MarkError(int32_t /*ACol*/, int32_t /*ARow*/, const AnsiString& Value) { return Value; }
  virtual AnsiString Correct(int32_t /*ACol*/, int32_t /*ARow*/, const AnsiString& Value) { return Value; }
  virtual void StartCheck() {}
  virtual void StopCheck() {}
  bool GotoCell = false, AutoCorrect = false, AutoMarkError = false, UseCorrect = false, UseMarkError = false;
};

// Registers the grid's classes and clipboard format; run once when a program links the library.
void RegisterGridClasses();
