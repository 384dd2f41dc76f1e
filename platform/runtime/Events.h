// Events as method references: an object and one of its member functions, nullable,
// comparable and callable.  Calling an unassigned event does nothing.
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <utility>

class TObject;

template <class... Args>
class TEvent {
  // Member-function pointers of single-inheritance classes fit in two words.
  struct Code {
    alignas(void*) unsigned char bytes[2 * sizeof(void*)] = {};
    friend bool operator==(const Code& a, const Code& b) { return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0; }
  };
  using Thunk = void (*)(void* object, const Code& code, Args... args);

  void* object_ = nullptr;
  Code code_{};
  Thunk thunk_ = nullptr;
  // For handlers given as callables (tests, glue code): compared by identity.
  std::shared_ptr<std::function<void(Args...)>> callable_;

 public:
  TEvent() = default;
  TEvent(std::nullptr_t) {}

  template <class T, class M>
  TEvent(T* object, M method) : object_(object) {
    static_assert(sizeof(M) <= sizeof(Code::bytes), "member pointer too large");
    std::memcpy(code_.bytes, &method, sizeof(M));
    thunk_ = [](void* obj, const Code& code, Args... args) {
      M m;
      std::memcpy(&m, code.bytes, sizeof(M));
      (static_cast<T*>(obj)->*m)(std::forward<Args>(args)...);
    };
  }

  // A handler that is not a method: a lambda or free function.
  template <class F>
  static TEvent Lambda(F f) {
    TEvent e;
    e.callable_ = std::make_shared<std::function<void(Args...)>>(std::move(f));
    return e;
  }

  bool Assigned() const { return thunk_ != nullptr || callable_ != nullptr; }
  explicit operator bool() const { return Assigned(); }

  void operator()(Args... args) const {
    if (thunk_)
      thunk_(object_, code_, std::forward<Args>(args)...);
    else if (callable_)
      (*callable_)(std::forward<Args>(args)...);
  }

  // The object the handler is called on (TMethod.Data).
  void* Data() const { return object_; }
  // Same handler code, whatever the object (handlers compared by code address).
  bool SameCode(const TEvent& o) const {
    if (callable_ || o.callable_) return callable_ == o.callable_;
    return thunk_ == o.thunk_ && code_ == o.code_;
  }
  friend bool operator==(const TEvent& a, const TEvent& b) { return a.object_ == b.object_ && a.SameCode(b); }
};

using TNotifyEvent = TEvent<TObject*>;
