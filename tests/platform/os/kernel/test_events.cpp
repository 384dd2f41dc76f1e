#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/os/kernel/Kernel.h"

namespace {

using namespace std::chrono_literals;

// Owns an event handle for the length of a test.
struct Event {
  HANDLE h;
  Event(bool manual, bool initial) : h(CreateEvent(nullptr, manual, initial, nullptr)) {}
  ~Event() { CloseHandle(h); }
};

TEST(KernelEvents, ManualResetStaysSignalledAutoResetReleasesOneWait) {
  Event manual(true, true), automatic(false, true);
  EXPECT_EQ(WaitForSingleObject(manual.h, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual.h, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(automatic.h, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(automatic.h, 0), WAIT_TIMEOUT);
  ResetEvent(manual.h);
  EXPECT_EQ(WaitForSingleObject(manual.h, 0), WAIT_TIMEOUT);
  SetEvent(automatic.h);
  EXPECT_EQ(WaitForSingleObject(automatic.h, 0), WAIT_OBJECT_0);
}

TEST(KernelEvents, WaitAnyGivesTheFirstSignalledIndexWaitAllNeedsEveryOne) {
  Event a(true, false), b(false, true), c(true, true);
  HANDLE any[] = {a.h, b.h, c.h};
  EXPECT_EQ(WaitForMultipleObjects(3, any, FALSE, 0), WAIT_OBJECT_0 + 1);  // b is auto: taken
  EXPECT_EQ(WaitForMultipleObjects(3, any, FALSE, 0), WAIT_OBJECT_0 + 2);
  EXPECT_EQ(WaitForMultipleObjects(3, any, TRUE, 0), WAIT_TIMEOUT);
  SetEvent(a.h);
  SetEvent(b.h);
  EXPECT_EQ(WaitForMultipleObjects(3, any, TRUE, 0), WAIT_OBJECT_0);
  // All at once took the auto-reset event and left the manual ones.
  EXPECT_EQ(WaitForSingleObject(b.h, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(a.h, 0), WAIT_OBJECT_0);
}

TEST(KernelEvents, TimeOutWaitsAtLeastTheTimeGiven) {
  Event a(true, false);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(WaitForSingleObject(a.h, 30), WAIT_TIMEOUT);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
}

TEST(KernelEvents, BadWaitsFailWithTheirErrors) {
  Event a(true, true);
  struct Case {
    DWORD count;
    std::vector<HANDLE> handles;
    BOOL all;
    DWORD error;
  } cases[] = {
      {0, {a.h}, FALSE, ERROR_INVALID_PARAMETER},
      {65, std::vector<HANDLE>(65, a.h), FALSE, ERROR_INVALID_PARAMETER},
      {2, {a.h, a.h}, TRUE, ERROR_INVALID_PARAMETER},
      {1, {reinterpret_cast<HANDLE>(0x7777)}, FALSE, ERROR_INVALID_HANDLE},
      {1, {INVALID_HANDLE_VALUE}, FALSE, ERROR_INVALID_HANDLE},
  };
  for (auto& c : cases) {
    SetLastError(0);
    EXPECT_EQ(WaitForMultipleObjects(c.count, c.handles.data(), c.all, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), c.error);
  }
  // A listed twice may be waited on for any of them.
  HANDLE twice[] = {a.h, a.h};
  EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), WAIT_OBJECT_0);
}

TEST(KernelEvents, ASetFromAnotherThreadWakesAWaiterOnTheRightIndex) {
  Event stop(true, false), io(true, false);
  std::thread setter([&] {
    std::this_thread::sleep_for(20ms);
    SetEvent(io.h);
  });
  HANDLE both[] = {stop.h, io.h};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
  setter.join();
}

TEST(KernelEvents, OneSetOfAnAutoResetEventReleasesOneOfTwoWaiters) {
  Event e(false, false);
  std::atomic<int> released{0};
  auto waiter = [&] {
    if (WaitForSingleObject(e.h, 300) == WAIT_OBJECT_0) released++;
  };
  std::thread t1(waiter), t2(waiter);
  std::this_thread::sleep_for(30ms);
  SetEvent(e.h);
  t1.join();
  t2.join();
  EXPECT_EQ(released, 1);
}

TEST(KernelEvents, WaitEndsWhenTheExtraDescriptorIsReadable) {
  Event e(true, false);
  int fd = eventfd(1, EFD_NONBLOCK);
  EXPECT_EQ(WaitForObjectsOrDescriptor(1, &e.h, FALSE, 1000, fd), WAIT_OBJECT_0 + 1);
  SetEvent(e.h);
  EXPECT_EQ(WaitForObjectsOrDescriptor(1, &e.h, FALSE, 1000, fd), WAIT_OBJECT_0);
  close(fd);
}

// CPU time of the calling thread: a wait that sleeps uses next to none, one that spins uses it all.
std::chrono::microseconds ThreadCpuTime() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_nsec / 1000);
}

TEST(KernelEvents, AnEventThatInheritsAClosedEventsDescriptorStartsClear) {
  // A wait that has to sleep gives the event a descriptor; the event is closed signalled, so its
  // descriptor goes back readable unless it was cleared, and the next event takes it over.
  HANDLE old = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(WaitForSingleObject(old, 1), WAIT_TIMEOUT);
  SetEvent(old);
  CloseHandle(old);
  Event fresh(false, false);
  EXPECT_FALSE(SetEvent(old));
  auto cpu = ThreadCpuTime();
  EXPECT_EQ(WaitForSingleObject(fresh.h, 60), WAIT_TIMEOUT);
  EXPECT_LT(ThreadCpuTime() - cpu, 30ms) << "the wait spun on a readable descriptor";
  // And the inherited descriptor still wakes a sleeping waiter of the new event.
  std::thread setter([&] {
    std::this_thread::sleep_for(20ms);
    SetEvent(fresh.h);
  });
  EXPECT_EQ(WaitForSingleObject(fresh.h, 2000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(fresh.h, 0), WAIT_TIMEOUT);  // auto-reset: taken by the wait
  setter.join();
}

TEST(KernelHandles, AClosedHandleIsDeadAndNeverReused) {
  HANDLE first = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(CloseHandle(first));
  EXPECT_FALSE(CloseHandle(first));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(SetEvent(first));
  HANDLE second = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  EXPECT_NE(second, first);
  CloseHandle(second);
  EXPECT_EQ(CreateEvent(nullptr, TRUE, FALSE, "named"), nullptr);
}

TEST(KernelErrors, LastErrorIsPerThreadAndErrnoMapsToTheOriginalNumbers) {
  SetLastError(1234);
  std::thread([] {
    EXPECT_EQ(GetLastError(), 0u);
    SetLastError(5);
  }).join();
  EXPECT_EQ(GetLastError(), 1234u);
  struct {
    int e;
    DWORD error;
  } cases[] = {{ENOENT, ERROR_FILE_NOT_FOUND},    {EACCES, ERROR_ACCESS_DENIED},
               {EBUSY, ERROR_ACCESS_DENIED},      {EBADF, ERROR_INVALID_HANDLE},
               {EINVAL, ERROR_INVALID_PARAMETER}, {ENOTDIR, ERROR_PATH_NOT_FOUND},
               {EEXIST, ERROR_FILE_EXISTS},       {EIO, ERROR_GEN_FAILURE}};
  for (auto& c : cases) EXPECT_EQ(ErrorFromErrno(c.e), c.error) << c.e;
}

}  // namespace
