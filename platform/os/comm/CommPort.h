// The object behind a serial handle: the device, its settings, the input queue this layer keeps,
// the pending operations and the line events, moved on by whoever calls in or waits.
//
// Thread contract: every member takes the port's lock and never blocks while holding it; the
// calls that must wait (a blocking transfer, GetOverlappedResult with wait) let go of it first.
#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/os/comm/Comm.h"
#include "platform/os/comm/CommDevice.h"
#include "platform/os/kernel/KernelObjects.h"

class TCommPort final : public TKernelObject,
                        public TWaitSource,
                        public std::enable_shared_from_this<TCommPort> {
 public:
  TCommPort(std::shared_ptr<TCommDevice> device, bool overlapped, bool canRead, bool canWrite);
  ~TCommPort() override;

  // Each returns an error number: ERROR_SUCCESS, ERROR_IO_PENDING (started, runs on) or a failure.
  DWORD Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped);
  DWORD Write(const void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped);
  DWORD WaitEvent(DWORD* mask, OVERLAPPED* overlapped);
  DWORD Result(OVERLAPPED* overlapped, DWORD* transferred, bool wait);
  DWORD Setup(DWORD inQueue, DWORD outQueue);
  DWORD GetState(DCB& dcb);
  DWORD SetState(const DCB& dcb);
  DWORD GetTimeouts(COMMTIMEOUTS& timeouts);
  DWORD SetTimeouts(const COMMTIMEOUTS& timeouts);
  DWORD SetMask(DWORD mask);
  DWORD GetMask(DWORD& mask);
  DWORD ClearError(DWORD* errors, COMSTAT* status);
  DWORD Purge(DWORD flags);
  DWORD ModemStatus(DWORD& lines);
  DWORD Escape(DWORD function);
  DWORD TransmitChar(char c);

  void HandleClosed() override;
  int PreparePoll(std::vector<pollfd>& fds) override;
  void AfterPoll(const pollfd* fds, size_t count) override;
  void Forget(TWaitableObject* object) override;

 private:
  using Clock = std::chrono::steady_clock;
  struct Op;
  using OpPtr = std::shared_ptr<Op>;

  DWORD NewOp(OpPtr& op, OVERLAPPED* overlapped);
  DWORD Start(const OpPtr& op, std::unique_lock<std::mutex>& held);
  // By value: op may be one of the port's own references that finishing clears.
  void Finish(OpPtr op, DWORD error);
  void Pump(bool readDevice, short revents, bool readStatus);
  void Drain(DWORD& events);
  void Accept(const char* bytes, size_t count, DWORD& events);
  void FlushWrites(DWORD& events);
  void ReadStatus(DWORD& events);
  void CheckTxEmpty(DWORD& events);
  void ServeReads(Clock::time_point now);
  void ExpireWrites(Clock::time_point now);
  void Raise(DWORD events);
  void MarkHungUp();
  bool StatusPolling() const;
  std::optional<Clock::time_point> NextDeadline() const;
  size_t InputCap() const;
  size_t Queued() const { return input_.size() - inputHead_; }

  std::mutex lock_;
  const std::shared_ptr<TCommDevice> device_;
  const bool overlapped_;
  const bool canRead_;
  const bool canWrite_;
  bool closed_ = false;

  DCB dcb_;
  COMMTIMEOUTS timeouts_;
  DWORD inQueueSize_ = 4096;
  DWORD outQueueSize_ = 4096;
  DWORD mask_ = 0;

  // Bytes received and not read yet: input_ from inputHead_ on.
  std::string input_;
  size_t inputHead_ = 0;

  std::deque<OpPtr> reads_;
  std::deque<OpPtr> writes_;
  OpPtr wait_;

  DWORD history_ = 0;  // masked events no wait has taken yet
  DWORD errors_ = 0;   // CE_* since the last ClearCommError
  DWORD lines_ = 0;
  TLineCounters counters_;
  bool statusCapable_ = false;
  Clock::time_point nextStatus_;
  bool txBusy_ = false;  // bytes went out since the last EV_TXEMPTY
  bool hungUp_ = false;
  bool hangUpReported_ = false;
};
