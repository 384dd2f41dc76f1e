// Class references: a class's name, its parent class, how to create an instance by name, and
// (extended by the component model) its published-property table.
#pragma once

#include <functional>

#include "platform/runtime/Object.h"

class TClassInfo {
 public:
  // Describes class T derived from Base; T must be registered with PL_CLASS.
  template <class T, class Base>
  static TClassInfo Of(const char* name) {
    static_assert(std::is_base_of_v<Base, T>, "Base must be a base class of T");
    TClassInfo info(name, &Base::ClassInfo());
    info.is_ = [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; };
    return info;
  }

  const AnsiString& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
      if (c == &other) return true;
    return false;
  }

  TClassInfo(const char* name, const TClassInfo* parent) : name_(name), parent_(parent) {}

 private:
  AnsiString name_;
  const TClassInfo* parent_ = nullptr;
  std::function<bool(const TObject*)> is_;
};
