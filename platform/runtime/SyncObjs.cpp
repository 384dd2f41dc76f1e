#include "platform/runtime/SyncObjs.h"

#include <chrono>

#include "platform/runtime/TypInfo.h"

const TClassInfo& TSynchroObject::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TSynchroObject, TObject>("TSynchroObject");
  return info;
}
const TClassInfo& TCriticalSection::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCriticalSection, TSynchroObject>("TCriticalSection");
  return info;
}
const TClassInfo& TSimpleEvent::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TSimpleEvent, TSynchroObject>("TSimpleEvent");
  return info;
}

void TSimpleEvent::SetEvent() {
  std::lock_guard<std::mutex> g(lock_);
  signalled_ = true;
  if (manualReset_)
    changed_.notify_all();
  else
    changed_.notify_one();
}

void TSimpleEvent::ResetEvent() {
  std::lock_guard<std::mutex> g(lock_);
  signalled_ = false;
}

TWaitResult TSimpleEvent::WaitFor(uint32_t timeoutMs) {
  std::unique_lock<std::mutex> g(lock_);
  auto isSet = [this] { return signalled_; };
  if (timeoutMs == INFINITE)
    changed_.wait(g, isSet);
  else if (!changed_.wait_for(g, std::chrono::milliseconds(timeoutMs), isSet))
    return wrTimeout;
  if (!manualReset_) signalled_ = false;
  return wrSignaled;
}
