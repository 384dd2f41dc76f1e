// The objects behind kernel handles, for the layers that add kinds of their own (the serial
// devices): the handle table, waitable objects whose state is mirrored by an event descriptor,
// and wait sources that a waiting thread drives while it sleeps.
//
// Thread contract: all of it may be used from any thread.  Lock order: a wait source's own lock
// may be held while it sets or resets waitable objects or attaches itself to them; a waitable
// object's lock is never held while calling into a wait source.
#pragma once

#include <poll.h>

#include <memory>
#include <mutex>
#include <vector>

#include "platform/os/kernel/Kernel.h"

class TWaitableObject;

class TKernelObject {
 public:
  virtual ~TKernelObject() = default;
  // The handle was closed; the object lives on while a waiter still holds it.
  virtual void HandleClosed() {}
};

// Work that a waiting thread drives while it sleeps (a serial device with pending operations):
// it names descriptors to poll and how long the wait may sleep, then hears what poll found.
class TWaitSource {
 public:
  virtual ~TWaitSource() = default;
  // Appends descriptors to fds; returns the milliseconds after which it wants to run again even
  // if nothing happens (-1: only when a descriptor is ready).
  virtual int PreparePoll(std::vector<pollfd>& fds) = 0;
  // The results of poll for the descriptors PreparePoll appended, in the same order.
  virtual void AfterPoll(const pollfd* fds, size_t count) = 0;
  // The handle of a waitable object the source may signal is being closed.
  virtual void Forget(TWaitableObject* object) = 0;
};

// An object with a signalled state that waits can watch through a descriptor, which is readable
// while the object is signalled (and may stay so after a reset until a wait asks for it again).
// The descriptor is made only when a wait first needs to poll it (most events of overlapped
// operations are found set, or never waited on) and goes back to a pool when the object dies, so
// that an event per operation costs no system calls.
class TWaitableObject : public TKernelObject {
 public:
  static std::shared_ptr<TWaitableObject> Create(bool manualReset, bool initialState);
  ~TWaitableObject() override;
  TWaitableObject(const TWaitableObject&) = delete;
  TWaitableObject& operator=(const TWaitableObject&) = delete;

  void Set();
  void Reset();
  bool IsSet();
  bool ManualReset() const { return manualReset_; }
  // True when signalled; an auto-reset object is reset by a successful acquire.
  bool TryAcquire();
  // The descriptor to poll, made on first use; as returned it is readable exactly when the object
  // is signalled.  -1 (with errno set) when none could be made.
  int Descriptor();

  // Sources a waiter must drive for this object to become signalled (a source may be attached
  // more than once; each attachment is removed once).
  void AttachSource(const std::shared_ptr<TWaitSource>& source);
  void DetachSource(TWaitSource* source);
  std::vector<std::shared_ptr<TWaitSource>> Sources();

  void HandleClosed() override;

 private:
  friend bool AcquireAll(const std::vector<std::shared_ptr<TWaitableObject>>& objects);
  TWaitableObject(bool manualReset, bool initialState);
  void SetLocked();
  void ResetLocked();
  void MatchDescriptor(bool readable);

  std::mutex lock_;
  int fd_ = -1;
  bool fdReadable_ = false;  // the descriptor's counter is 1
  const bool manualReset_;
  bool signalled_ = false;
  std::vector<std::shared_ptr<TWaitSource>> sources_;
};

// True (and every auto-reset object reset) when all objects are signalled at once.
bool AcquireAll(const std::vector<std::shared_ptr<TWaitableObject>>& objects);

// Enters an object into the handle table.
HANDLE AllocateHandle(std::shared_ptr<TKernelObject> object);
// The object of a handle, or null for an unknown, closed or invalid handle.
std::shared_ptr<TKernelObject> ObjectOfHandle(HANDLE handle);
template <class T>
std::shared_ptr<T> ObjectOfHandleAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(ObjectOfHandle(handle));
}

// The wait behind WaitForMultipleObjects, on objects rather than handles: WAIT_OBJECT_0 + index,
// WAIT_OBJECT_0 + objects.size() when fd (if not -1) is readable, or WAIT_TIMEOUT.
DWORD WaitForObjects(const std::vector<std::shared_ptr<TWaitableObject>>& objects, bool waitAll,
                     DWORD milliseconds, int fd = -1);
