// Component-object interfaces: identifiers, the root interface with its reference count, and
// reference-counted objects that implement interfaces.  An object made with new starts at count
// 0; the first AddRef takes it, and the Release that brings the count back to 0 deletes it.
// (The framework's _AddRef and _Release are AddRef and Release here: names beginning with an
// underscore and a capital are reserved in C++.)
#pragma once

#include <atomic>
#include <cstring>
#include <tuple>

#include "platform/runtime/Object.h"

using ULONG = uint32_t;

struct GUID {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0, Data3 = 0;
  uint8_t Data4[8] = {};
  friend bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;

constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002u);
constexpr HRESULT E_POINTER = HRESULT(0x80004003u);
constexpr HRESULT E_UNEXPECTED = HRESULT(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = HRESULT(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// The root interface.  Every interface names its identifier as kIID.
class IUnknown {
 public:
  static constexpr IID kIID{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};
using IInterface = IUnknown;

// A reference-counted object implementing the listed interfaces (each derived from IUnknown).
template <class... Interfaces>
class TInterfacedBase : public TObject, public Interfaces... {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!GetInterface(iid, object)) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refCount_; }
  ULONG Release() override {
    ULONG n = --refCount_;
    if (n == 0) delete this;
    return n;
  }
  int32_t GetRefCount() const { return int32_t(refCount_.load()); }

 protected:
  // The interface of this object with the identifier, or false.
  virtual bool GetInterface(REFIID iid, void** object) {
    bool found = false;
    ((!found && iid == Interfaces::kIID ? (*object = static_cast<Interfaces*>(this), found = true) : false),
     ...);
    if (!found && iid == IUnknown::kIID) {
      *object =
          static_cast<IUnknown*>(static_cast<std::tuple_element_t<0, std::tuple<Interfaces...>>*>(this));
      found = true;
    }
    return found;
  }

 private:
  std::atomic<ULONG> refCount_{0};
};

class TInterfacedObject : public TInterfacedBase<IUnknown> {};
