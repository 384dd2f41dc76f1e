// TPersistent: objects that can be copied from one another (Assign) and stored in definitions.
#pragma once

#include "platform/runtime/Object.h"

class TFiler;

class TPersistent : public TObject {
  PL_CLASS(TPersistent)

 public:
  // Copies Source into this object; a class that cannot take Source leaves it to
  // Source->AssignTo, whose fallback raises EConvertError "Cannot assign a X to a Y".
  virtual void Assign(TPersistent* Source);
  // The object that owns this one in a stored definition (nil for a top-level object).
  virtual TPersistent* GetOwner() { return nullptr; }
  // The dotted path that names this object inside its owners ("Form1.Button1.Font").
  virtual AnsiString GetNamePath();

  // Custom stored data written after the published properties; called by readers and writers.
  virtual void DefineProperties(TFiler*) {}

 protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};
