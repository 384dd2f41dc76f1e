// Overlapped transfers as the port component makes them, for the serial layer's tests.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "platform/os/comm/Comm.h"

// An OVERLAPPED record with its own manual-reset event, created signalled as the port component
// creates its records.
struct TPendingOp {
  OVERLAPPED ov{};
  TPendingOp() { ov.hEvent = CreateEvent(nullptr, TRUE, TRUE, nullptr); }
  ~TPendingOp() { CloseHandle(ov.hEvent); }
  TPendingOp(const TPendingOp&) = delete;
  TPendingOp& operator=(const TPendingOp&) = delete;
  // Started (TRUE or ERROR_IO_PENDING) -> waits, then the result without waiting.
  bool Finish(HANDLE port, BOOL started, DWORD& count, DWORD timeoutMs = 2000) {
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    if (WaitForSingleObject(ov.hEvent, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetOverlappedResult(port, &ov, &count, FALSE) != FALSE;
  }
};

inline HANDLE OpenPort(const std::string& name, DWORD flags = FILE_FLAG_OVERLAPPED) {
  return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, flags, nullptr);
}

inline void SetTimeouts(HANDLE port, DWORD interval, DWORD multiplier, DWORD constant) {
  COMMTIMEOUTS t{interval, multiplier, constant, 0, 0};
  ASSERT_TRUE(SetCommTimeouts(port, &t));
}

inline DWORD WriteText(HANDLE port, std::string_view text) {
  TPendingOp op;
  DWORD count = 0;
  EXPECT_TRUE(op.Finish(port, WriteFile(port, text.data(), DWORD(text.size()), nullptr, &op.ov), count));
  return count;
}

// Reads up to size bytes with the port's time-outs.
inline std::string ReadText(HANDLE port, DWORD size) {
  TPendingOp op;
  std::string text(size, '\0');
  DWORD count = 0;
  EXPECT_TRUE(op.Finish(port, ReadFile(port, text.data(), size, nullptr, &op.ov), count));
  text.resize(count);
  return text;
}

// Waits for one line event; the events, or 0 on time-out (the wait is then cancelled through
// the mask).
inline DWORD WaitEvents(HANDLE port, DWORD timeoutMs = 2000) {
  TPendingOp op;
  DWORD events = 0, count;
  BOOL started = WaitCommEvent(port, &events, &op.ov);
  if (!started && GetLastError() != ERROR_IO_PENDING) return 0;
  if (WaitForSingleObject(op.ov.hEvent, timeoutMs) != WAIT_OBJECT_0) {
    DWORD mask;
    GetCommMask(port, &mask);
    SetCommMask(port, mask);
    WaitForSingleObject(op.ov.hEvent, INFINITE);
    return 0;
  }
  return GetOverlappedResult(port, &op.ov, &count, FALSE) ? events : 0;
}

// Bytes waiting in the input queue once at least want of them arrived (or the time is up).
inline DWORD AwaitInput(HANDLE port, DWORD want, int timeoutMs = 2000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  COMSTAT stat;
  DWORD errors;
  for (;;) {
    ClearCommError(port, &errors, &stat);
    if (stat.cbInQue >= want || std::chrono::steady_clock::now() > deadline) return stat.cbInQue;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}
