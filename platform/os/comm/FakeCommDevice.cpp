#include "platform/os/comm/FakeCommDevice.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/runtime/Exceptions.h"

// The descriptor is an event counter that every change of the test's side raises: the layer
// polls it for input only, and reads the whole state after each wake-up.
TFakeCommDevice::TFakeCommDevice() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (fd_ < 0) throw EOSError("TFakeCommDevice: no event descriptor");
}

TFakeCommDevice::~TFakeCommDevice() { close(fd_); }

void TFakeCommDevice::Wake() {
  uint64_t one = 1;
  (void)!write(fd_, &one, sizeof one);
}

void TFakeCommDevice::ClearWake() {
  uint64_t value;
  (void)!read(fd_, &value, sizeof value);
}

short TFakeCommDevice::PollMask(short) const { return POLLIN; }

void TFakeCommDevice::PushInput(std::string_view bytes) {
  std::lock_guard<std::mutex> g(lock_);
  input_.append(bytes);
  Wake();
}

std::string TFakeCommDevice::TakeOutput() {
  std::lock_guard<std::mutex> g(lock_);
  return std::exchange(output_, {});
}

void TFakeCommDevice::SetModemLines(DWORD lines) {
  std::lock_guard<std::mutex> g(lock_);
  lines_ = lines;
  Wake();
}

void TFakeCommDevice::AddLineEvents(const TLineCounters& added) {
  std::lock_guard<std::mutex> g(lock_);
  counters_.Frame += added.Frame;
  counters_.Parity += added.Parity;
  counters_.Overrun += added.Overrun;
  counters_.Break += added.Break;
  counters_.BufferOverrun += added.BufferOverrun;
  Wake();
}

void TFakeCommDevice::SetStalled(bool stalled) {
  std::lock_guard<std::mutex> g(lock_);
  stalled_ = stalled;
  Wake();
}

void TFakeCommDevice::SetOutputBacklog(int bytes) {
  std::lock_guard<std::mutex> g(lock_);
  backlog_ = bytes;
  Wake();
}

void TFakeCommDevice::HangUp() {
  std::lock_guard<std::mutex> g(lock_);
  hungUp_ = true;
  Wake();
}

TLineSettings TFakeCommDevice::LastSettings() {
  std::lock_guard<std::mutex> g(lock_);
  return settings_;
}

int TFakeCommDevice::Dtr() {
  std::lock_guard<std::mutex> g(lock_);
  return dtr_;
}

int TFakeCommDevice::Rts() {
  std::lock_guard<std::mutex> g(lock_);
  return rts_;
}

bool TFakeCommDevice::BreakOn() {
  std::lock_guard<std::mutex> g(lock_);
  return break_;
}

bool TFakeCommDevice::OutputSuspended() {
  std::lock_guard<std::mutex> g(lock_);
  return suspended_;
}

bool TFakeCommDevice::Claimed() {
  std::lock_guard<std::mutex> g(lock_);
  return claimed_;
}

size_t TFakeCommDevice::InputFlushed() {
  std::lock_guard<std::mutex> g(lock_);
  return inputFlushed_;
}

ssize_t TFakeCommDevice::Read(void* buffer, size_t size) {
  std::lock_guard<std::mutex> g(lock_);
  if (!input_.empty()) {
    size_t n = std::min(size, input_.size());
    std::memcpy(buffer, input_.data(), n);
    input_.erase(0, n);
    return ssize_t(n);
  }
  if (hungUp_) return 0;
  errno = EAGAIN;
  return -1;
}

ssize_t TFakeCommDevice::Write(const void* buffer, size_t size) {
  std::lock_guard<std::mutex> g(lock_);
  if (hungUp_) {
    errno = EIO;
    return -1;
  }
  if (stalled_ || suspended_) {
    errno = EAGAIN;
    return -1;
  }
  output_.append(static_cast<const char*>(buffer), size);
  return ssize_t(size);
}

int TFakeCommDevice::InputQueued() {
  std::lock_guard<std::mutex> g(lock_);
  return int(input_.size());
}

int TFakeCommDevice::OutputQueued() {
  std::lock_guard<std::mutex> g(lock_);
  return backlog_;
}

void TFakeCommDevice::Flush(bool input, bool output) {
  std::lock_guard<std::mutex> g(lock_);
  if (input) {
    inputFlushed_ += input_.size();
    input_.clear();
  }
  if (output) backlog_ = 0;
}

int TFakeCommDevice::Configure(const TLineSettings& settings) {
  std::lock_guard<std::mutex> g(lock_);
  if (hungUp_) return EIO;
  TLineSettings kept = settings_;
  settings_ = settings;
  if (keepsFraming_) {
    settings_.DataBits = kept.DataBits;
    settings_.Parity = kept.Parity;
    settings_.StopBits = kept.StopBits;
  }
  return 0;
}

void TFakeCommDevice::SetKeepsFraming(bool keeps) {
  std::lock_guard<std::mutex> g(lock_);
  keepsFraming_ = keeps;
}

TLineSettings TFakeCommDevice::Settings() { return LastSettings(); }

int TFakeCommDevice::SetModemOutputs(int dtr, int rts) {
  std::lock_guard<std::mutex> g(lock_);
  if (dtr >= 0) dtr_ = dtr;
  if (rts >= 0) rts_ = rts;
  return 0;
}

int TFakeCommDevice::SetBreak(bool on) {
  std::lock_guard<std::mutex> g(lock_);
  break_ = on;
  return 0;
}

int TFakeCommDevice::SuspendOutput(bool suspend) {
  std::lock_guard<std::mutex> g(lock_);
  suspended_ = suspend;
  if (!suspend) Wake();
  return 0;
}

bool TFakeCommDevice::ModemLines(DWORD& lines) {
  std::lock_guard<std::mutex> g(lock_);
  lines = hungUp_ ? 0 : lines_;
  return true;
}

bool TFakeCommDevice::LineCounters(TLineCounters& counters) {
  std::lock_guard<std::mutex> g(lock_);
  counters = counters_;
  return true;
}

int TFakeCommDevice::Claim() {
  std::lock_guard<std::mutex> g(lock_);
  if (claimed_) return EBUSY;
  claimed_ = true;
  return 0;
}

void TFakeCommDevice::Release() {
  std::lock_guard<std::mutex> g(lock_);
  claimed_ = false;
}
