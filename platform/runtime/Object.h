// TObject: the root of every class that has a class name, a class reference and message
// dispatch.  A class joins the class system with PL_CLASS(TName) as the first line of its body and a
// definition of TName::ClassInfo() (see TypInfo.h for the published-property builder).
#pragma once

#include "platform/runtime/Types.h"

class TClassInfo;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // The class reference of TObject itself, and of the object's dynamic class.
  static const TClassInfo& ClassInfo();
  virtual const TClassInfo& ClassType() const { return ClassInfo(); }

  AnsiString ClassName() const;
  bool InheritsFrom(const TClassInfo& cls) const;

  // Message methods: handlers switch on Message.Msg and call the base class's Dispatch for
  // what they do not handle; what no class handles reaches DefaultHandler.
  virtual void Dispatch(TMessage& message) { DefaultHandler(message); }
  virtual void DefaultHandler(TMessage&) {}

  void Free() { delete this; }
};

// Declares the class reference members of a class; the class then defines
// `const TClassInfo& T::ClassInfo()`.
#define PL_CLASS(T)                                                        \
 public:                                                                   \
  static const TClassInfo& ClassInfo();                                    \
  const TClassInfo& ClassType() const override { return T::ClassInfo(); }  \
                                                                           \
 private:

// `obj is T` and `obj as T`.
template <class T>
bool Is(const TObject* obj) {
  return dynamic_cast<const T*>(obj) != nullptr;
}
