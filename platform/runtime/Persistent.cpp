#include "platform/runtime/Persistent.h"

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/TypInfo.h"

const TClassInfo& TPersistent::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPersistent, TObject>("TPersistent");
  return info;
}

void TPersistent::Assign(TPersistent* Source) {
  if (Source)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  AnsiString sourceName = Source ? Source->ClassName() : AnsiString("nil");
  throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

AnsiString TPersistent::GetNamePath() {
  AnsiString path;
  if (TPersistent* owner = GetOwner()) {
    path = owner->GetNamePath();
    if (!path.empty()) path += ".";
  }
  return path + ClassName();
}
