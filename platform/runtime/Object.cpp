#include "platform/runtime/Object.h"

#include "platform/runtime/TypInfo.h"

const TClassInfo& TObject::ClassInfo() {
  static const TClassInfo info("TObject", nullptr);
  return info;
}

AnsiString TObject::ClassName() const { return ClassType().Name(); }

bool TObject::InheritsFrom(const TClassInfo& cls) const { return ClassType().InheritsFrom(cls); }
