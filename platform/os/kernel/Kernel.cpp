// Handles, events and waits, and the last error.
//
// Sections: last error / handle table / waitable objects / waits / time.
#include "platform/os/kernel/Kernel.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <unordered_map>

#include "platform/os/kernel/KernelObjects.h"

// ========================================================================= last error ==========

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD error) { lastError = error; }

DWORD ErrorFromErrno(int e) {
  switch (e) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
    case ENXIO:
    case ENODEV:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EBUSY:
      return ERROR_ACCESS_DENIED;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case EIO:
      return ERROR_GEN_FAILURE;
    case EAGAIN:
      return ERROR_BUSY;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case EPIPE:
      return ERROR_BROKEN_PIPE;
    case ENOSPC:
      return ERROR_DISK_FULL;
    case ETIMEDOUT:
      return ERROR_SEM_TIMEOUT;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case ENOTTY:
      return ERROR_INVALID_FUNCTION;
    case ENOSYS:
    case EOPNOTSUPP:
      return ERROR_NOT_SUPPORTED;
    case ECANCELED:
      return ERROR_OPERATION_ABORTED;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case EFAULT:
      return ERROR_NOACCESS;
    default:
      return ERROR_GEN_FAILURE;
  }
}

void SetLastErrorFromErrno(int e) { SetLastError(ErrorFromErrno(e)); }

// ======================================================================= handle table ==========

namespace {

struct HandleTable {
  std::mutex lock;
  std::unordered_map<uintptr_t, std::shared_ptr<TKernelObject>> objects;
  // Handles are never reused, so a stale handle cannot reach a newer object.
  uintptr_t next = 0x1000;
};

HandleTable& handles() {
  static HandleTable table;
  return table;
}

}  // namespace

HANDLE AllocateHandle(std::shared_ptr<TKernelObject> object) {
  HandleTable& t = handles();
  std::lock_guard<std::mutex> g(t.lock);
  uintptr_t value = t.next;
  t.next += 4;
  t.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<TKernelObject> ObjectOfHandle(HANDLE handle) {
  HandleTable& t = handles();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
  return it == t.objects.end() ? nullptr : it->second;
}

BOOL CloseHandle(HANDLE handle) {
  std::shared_ptr<TKernelObject> object;
  {
    HandleTable& t = handles();
    std::lock_guard<std::mutex> g(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it != t.objects.end()) {
      object = std::move(it->second);
      t.objects.erase(it);
    }
  }
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  object->HandleClosed();
  return TRUE;
}

// =================================================================== waitable objects ==========

namespace {

// Descriptors of objects that died, their counters at 0, for the next objects that need one.  An
// object returns its descriptor only when nobody holds the object any more (waiters hold it while
// they poll), so a descriptor never serves two objects at once and a stale handle, which reaches
// no object at all, cannot signal the new owner.
struct DescriptorPool {
  std::mutex lock;
  std::vector<int> free;
  static constexpr size_t kKept = 64;
};

// Never destroyed: objects held by statics may die after it would have.
DescriptorPool& pool() {
  static DescriptorPool* p = new DescriptorPool;
  return *p;
}

int TakeDescriptor() {
  DescriptorPool& p = pool();
  {
    std::lock_guard<std::mutex> g(p.lock);
    if (!p.free.empty()) {
      int fd = p.free.back();
      p.free.pop_back();
      return fd;
    }
  }
  return eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

void GiveBackDescriptor(int fd) {
  DescriptorPool& p = pool();
  {
    std::lock_guard<std::mutex> g(p.lock);
    if (p.free.size() < DescriptorPool::kKept) {
      p.free.push_back(fd);
      return;
    }
  }
  close(fd);
}

// Sets the descriptor's counter to 1 (signalled) or back to 0.
void MarkDescriptor(int fd, bool signalled) {
  uint64_t value = 1;
  if (signalled)
    while (write(fd, &value, sizeof value) < 0 && errno == EINTR) {
    }
  else
    while (read(fd, &value, sizeof value) < 0 && errno == EINTR) {
    }
}

}  // namespace

std::shared_ptr<TWaitableObject> TWaitableObject::Create(bool manualReset, bool initialState) {
  return std::shared_ptr<TWaitableObject>(new TWaitableObject(manualReset, initialState));
}

TWaitableObject::TWaitableObject(bool manualReset, bool initialState)
    : manualReset_(manualReset), signalled_(initialState) {}

TWaitableObject::~TWaitableObject() {
  if (fd_ < 0) return;
  MatchDescriptor(false);
  GiveBackDescriptor(fd_);
}

// The descriptor follows the state lazily: a set makes it readable at once (a waiter may sleep
// on it), but a reset clears it only when a wait is about to poll it, so that an event set and
// reset without anybody asleep on it costs no system call.
void TWaitableObject::MatchDescriptor(bool readable) {
  if (fd_ < 0 || fdReadable_ == readable) return;
  fdReadable_ = readable;
  MarkDescriptor(fd_, readable);
}

int TWaitableObject::Descriptor() {
  std::lock_guard<std::mutex> g(lock_);
  if (fd_ < 0) {
    fd_ = TakeDescriptor();
    if (fd_ < 0) return -1;
  }
  MatchDescriptor(signalled_);
  return fd_;
}

void TWaitableObject::SetLocked() {
  signalled_ = true;
  MatchDescriptor(true);
}

void TWaitableObject::ResetLocked() { signalled_ = false; }

void TWaitableObject::Set() {
  std::lock_guard<std::mutex> g(lock_);
  SetLocked();
}

void TWaitableObject::Reset() {
  std::lock_guard<std::mutex> g(lock_);
  ResetLocked();
}

bool TWaitableObject::IsSet() {
  std::lock_guard<std::mutex> g(lock_);
  return signalled_;
}

bool TWaitableObject::TryAcquire() {
  std::lock_guard<std::mutex> g(lock_);
  if (!signalled_) return false;
  if (!manualReset_) ResetLocked();
  return true;
}

void TWaitableObject::AttachSource(const std::shared_ptr<TWaitSource>& source) {
  std::lock_guard<std::mutex> g(lock_);
  sources_.push_back(source);
}

void TWaitableObject::DetachSource(TWaitSource* source) {
  std::lock_guard<std::mutex> g(lock_);
  auto it = std::find_if(sources_.begin(), sources_.end(), [&](auto& s) { return s.get() == source; });
  if (it != sources_.end()) sources_.erase(it);
}

std::vector<std::shared_ptr<TWaitSource>> TWaitableObject::Sources() {
  std::lock_guard<std::mutex> g(lock_);
  return sources_;
}

void TWaitableObject::HandleClosed() {
  for (auto& source : Sources()) source->Forget(this);
}

bool AcquireAll(const std::vector<std::shared_ptr<TWaitableObject>>& objects) {
  // Locked in address order so that two threads waiting for the same set cannot deadlock.
  std::vector<TWaitableObject*> order;
  for (auto& o : objects) order.push_back(o.get());
  std::sort(order.begin(), order.end());
  order.erase(std::unique(order.begin(), order.end()), order.end());
  for (auto* o : order) o->lock_.lock();
  bool all = std::all_of(order.begin(), order.end(), [](TWaitableObject* o) { return o->signalled_; });
  if (all)
    for (auto* o : order)
      if (!o->manualReset_) o->ResetLocked();
  for (auto* o : order) o->lock_.unlock();
  return all;
}

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
  if (name != nullptr && *name != '\0') {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  return AllocateHandle(TWaitableObject::Create(manualReset != FALSE, initialState != FALSE));
}

namespace {

std::shared_ptr<TWaitableObject> EventOf(HANDLE handle) {
  auto event = ObjectOfHandleAs<TWaitableObject>(handle);
  if (!event) SetLastError(ERROR_INVALID_HANDLE);
  return event;
}

}  // namespace

BOOL SetEvent(HANDLE handle) {
  auto event = EventOf(handle);
  if (!event) return FALSE;
  event->Set();
  return TRUE;
}

BOOL ResetEvent(HANDLE handle) {
  auto event = EventOf(handle);
  if (!event) return FALSE;
  event->Reset();
  return TRUE;
}

// ============================================================================== waits ==========

namespace {

using SteadyClock = std::chrono::steady_clock;

int TryComplete(const std::vector<std::shared_ptr<TWaitableObject>>& objects, bool waitAll) {
  if (waitAll) return AcquireAll(objects) ? 0 : -1;
  for (size_t i = 0; i < objects.size(); ++i)
    if (objects[i]->TryAcquire()) return int(i);
  return -1;
}

struct SourceSlot {
  std::shared_ptr<TWaitSource> source;
  size_t first = 0;
  size_t count = 0;
};

// Milliseconds from now to deadline, rounded up so that a wait never ends early.
int MsUntil(SteadyClock::time_point deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return left <= 0 ? 0 : int(std::min<int64_t>(left, 1 << 30));
}

}  // namespace

DWORD WaitForObjects(const std::vector<std::shared_ptr<TWaitableObject>>& objects, bool waitAll,
                     DWORD milliseconds, int fd) {
  const bool forever = milliseconds == INFINITE;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(forever ? 0 : milliseconds);
  std::vector<pollfd> fds;
  std::vector<SourceSlot> slots;
  bool timedOut = false;
  for (;;) {
    int done = TryComplete(objects, waitAll);
    if (done >= 0) return WAIT_OBJECT_0 + DWORD(done);
    if (timedOut) return WAIT_TIMEOUT;

    fds.clear();
    slots.clear();
    for (auto& o : objects)
      if (!waitAll || !o->IsSet()) {
        int descriptor = o->Descriptor();
        if (descriptor < 0) {
          SetLastErrorFromErrno(errno);
          return WAIT_FAILED;
        }
        fds.push_back({descriptor, POLLIN, 0});
      }
    size_t extra = fds.size();
    if (fd >= 0) fds.push_back({fd, POLLIN, 0});
    int sleepMs = forever ? -1 : MsUntil(deadline);
    for (auto& o : objects)
      for (auto& source : o->Sources()) {
        if (std::any_of(slots.begin(), slots.end(), [&](auto& s) { return s.source == source; })) continue;
        SourceSlot slot{source, fds.size(), 0};
        int wanted = source->PreparePoll(fds);
        slot.count = fds.size() - slot.first;
        slots.push_back(std::move(slot));
        if (wanted >= 0 && (sleepMs < 0 || wanted < sleepMs)) sleepMs = wanted;
      }

    int ready = poll(fds.data(), fds.size(), sleepMs);
    if (ready < 0 && errno != EINTR) {
      SetLastErrorFromErrno(errno);
      return WAIT_FAILED;
    }
    for (auto& slot : slots) slot.source->AfterPoll(fds.data() + slot.first, slot.count);
    if (fd >= 0 && ready > 0 && (fds[extra].revents & (POLLIN | POLLHUP | POLLERR))) {
      done = TryComplete(objects, waitAll);
      return WAIT_OBJECT_0 + DWORD(done >= 0 ? done : int(objects.size()));
    }
    if (!forever && SteadyClock::now() >= deadline) timedOut = true;
  }
}

namespace {

DWORD WaitOnHandles(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, int fd) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || handles == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<TWaitableObject>> objects;
  for (DWORD i = 0; i < count; ++i) {
    auto o = EventOf(handles[i]);
    if (!o) return WAIT_FAILED;
    // All at once cannot be decided for an object listed twice.
    if (waitAll && std::any_of(objects.begin(), objects.end(), [&](auto& p) { return p == o; })) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(o));
  }
  return WaitForObjects(objects, waitAll != FALSE, milliseconds, fd);
}

}  // namespace

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitOnHandles(1, &handle, FALSE, milliseconds, -1);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
  return WaitOnHandles(count, handles, waitAll, milliseconds, -1);
}

DWORD WaitForObjectsOrDescriptor(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                 int fd) {
  return WaitOnHandles(count, handles, waitAll, milliseconds, fd);
}

// =============================================================================== time ==========

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  return count ? QueryPerformanceCounter(&count->QuadPart) : FALSE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  return frequency ? QueryPerformanceFrequency(&frequency->QuadPart) : FALSE;
}
