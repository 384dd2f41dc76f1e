// The serial handle's engine.  Nothing runs by itself: every call on the handle, and every thread
// waiting on the event of a pending operation, "pumps" the port: takes what the device received
// into the input queue, hands pending output to it, reads the line status, serves the pending
// reads, expires time limits and turns what happened into line events.
//
// Sections: operations / pumping / waiting / transfers and events / settings / status and
// control / closing.
#include "platform/os/comm/CommPort.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr auto kStatusPollInterval = std::chrono::milliseconds(20);
// Longer limits than this are no limits (and keep the clock arithmetic in range).
constexpr uint64_t kLongestLimitMs = uint64_t(1) << 40;

constexpr DWORD kModemEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING;
constexpr DWORD kStatusEvents = kModemEvents | EV_ERR | EV_BREAK;

}  // namespace

bool SameLineSettings(const TLineSettings& wanted, const TLineSettings& got) {
  const int64_t diff = int64_t(got.BaudRate) - int64_t(wanted.BaudRate);
  TLineSettings rateAside = got;
  rateAside.BaudRate = wanted.BaudRate;
  return std::llabs(diff) * 100 <= int64_t(wanted.BaudRate) * 3 && rateAside == wanted;
}

// ========================================================================= operations ==========

struct TCommPort::Op {
  enum Kind { kRead, kWrite, kWait } kind = kRead;
  OVERLAPPED* overlapped = nullptr;  // the caller's record, written when the operation ends
  std::shared_ptr<TWaitableObject> event;
  bool attached = false;  // the port is a wait source of the event
  bool finished = false;
  DWORD error = ERROR_SUCCESS;
  // Transfers.
  char* in = nullptr;
  std::string out;
  DWORD size = 0;
  DWORD done = 0;
  // Event waits.
  DWORD* mask = nullptr;
  DWORD events = 0;
  // Read rules and time limits.
  bool immediate = false;  // return with what has arrived
  bool firstByte = false;  // return at the first byte
  std::optional<Clock::time_point> total;
  std::optional<Clock::duration> interval;
  Clock::time_point lastByte;
};

TCommPort::TCommPort(std::shared_ptr<TCommDevice> device, bool overlapped, bool canRead, bool canWrite)
    : device_(std::move(device)), overlapped_(overlapped), canRead_(canRead), canWrite_(canWrite) {
  TLineSettings s = device_->Settings();
  dcb_.DCBlength = sizeof(DCB);
  dcb_.BaudRate = s.BaudRate;
  dcb_.fBinary = 1;
  dcb_.fParity = s.ParityCheck;
  dcb_.fOutxCtsFlow = s.HardwareFlow;
  dcb_.fDtrControl = DTR_CONTROL_ENABLE;
  dcb_.fRtsControl = s.HardwareFlow ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
  dcb_.fOutX = s.XonXoffOut;
  dcb_.fInX = s.XonXoffIn;
  dcb_.XonLim = 2048;
  dcb_.XoffLim = 512;
  dcb_.ByteSize = s.DataBits;
  dcb_.Parity = s.Parity;
  dcb_.StopBits = s.StopBits;
  dcb_.XonChar = s.XonChar;
  dcb_.XoffChar = s.XoffChar;
  // The line status as found is the base that later changes are measured against.
  bool hasLines = device_->ModemLines(lines_);
  bool hasCounters = device_->LineCounters(counters_);
  statusCapable_ = hasLines || hasCounters;
}

TCommPort::~TCommPort() = default;

DWORD TCommPort::NewOp(OpPtr& op, OVERLAPPED* overlapped) {
  op = std::make_shared<Op>();
  op->overlapped = overlapped;
  if (overlapped != nullptr && overlapped->hEvent != nullptr) {
    op->event = ObjectOfHandleAs<TWaitableObject>(overlapped->hEvent);
    if (!op->event) return ERROR_INVALID_HANDLE;
  } else {
    op->event = TWaitableObject::Create(true, false);
  }
  return ERROR_SUCCESS;
}

// Queues the operation, pumps once, and either has it done, leaves it running (overlapped), or
// waits for it with the lock let go (blocking).
DWORD TCommPort::Start(const OpPtr& op, std::unique_lock<std::mutex>& held) {
  if (op->overlapped) {
    op->overlapped->Internal = STATUS_PENDING;
    op->overlapped->InternalHigh = 0;
  }
  switch (op->kind) {
    case Op::kRead:
      reads_.push_back(op);
      break;
    case Op::kWrite:
      writes_.push_back(op);
      break;
    case Op::kWait:
      wait_ = op;
      break;
  }
  // A write takes nothing from the device's input, nor does a read that the queue already
  // covers: the device is read by the next call or wait that needs what it holds.
  Pump(op->kind == Op::kWait || (op->kind == Op::kRead && Queued() < op->size), 0, false);
  if (op->finished) return op->error;
  // The event goes off only now that the operation runs on: one done at once leaves it set
  // either way, and nothing else can end the operation while the port's lock is held.
  op->event->Reset();
  op->attached = true;
  op->event->AttachSource(shared_from_this());
  if (overlapped_ && op->overlapped != nullptr) return ERROR_IO_PENDING;
  auto event = op->event;
  held.unlock();
  WaitForObjects({event}, false, INFINITE);
  held.lock();
  return op->finished ? op->error : ERROR_OPERATION_ABORTED;
}

void TCommPort::Finish(OpPtr op, DWORD error) {
  if (op->finished) return;
  op->finished = true;
  op->error = error;
  if (op->overlapped) {
    op->overlapped->InternalHigh = op->kind == Op::kWait ? 0 : op->done;
    op->overlapped->Internal = error;
  }
  if (op->kind == Op::kWait && op->mask) *op->mask = op->events;
  if (wait_ == op) wait_.reset();
  auto drop = [&](std::deque<OpPtr>& list) {
    auto it = std::find(list.begin(), list.end(), op);
    if (it != list.end()) list.erase(it);
  };
  drop(reads_);
  drop(writes_);
  if (op->attached) {
    op->attached = false;
    op->event->DetachSource(this);
  }
  op->event->Set();
}

// ============================================================================ pumping ==========

size_t TCommPort::InputCap() const { return std::max<size_t>(inQueueSize_, 65536); }

void TCommPort::Pump(bool readDevice, short revents, bool readStatus) {
  if (closed_) return;
  const auto now = Clock::now();
  DWORD events = 0;
  if (revents) device_->ClearWake();
  if (!hungUp_) {
    if (readDevice || (revents & (POLLIN | POLLHUP | POLLERR))) Drain(events);
    // A descriptor that reports a hang-up or an error keeps reporting it: it is not polled again.
    if (revents & (POLLHUP | POLLERR | POLLNVAL)) MarkHungUp();
  }
  if (!hungUp_) FlushWrites(events);
  if (!hungUp_ && (readStatus || device_->StatusChangesWake() || (StatusPolling() && now >= nextStatus_)))
    ReadStatus(events);
  if (!hungUp_) CheckTxEmpty(events);
  ServeReads(now);
  ExpireWrites(now);
  Raise(events);
  if (hungUp_ && wait_ && !hangUpReported_) {
    hangUpReported_ = true;
    wait_->events = 0;
    Finish(wait_, ERROR_DEVICE_NOT_CONNECTED);
  }
}

void TCommPort::Drain(DWORD& events) {
  char buffer[4096];
  for (;;) {
    size_t room = InputCap() > Queued() ? InputCap() - Queued() : 0;
    if (room == 0) return;
    size_t ask = std::min(sizeof buffer, room);
    ssize_t n = device_->Read(buffer, ask);
    if (n > 0) {
      Accept(buffer, size_t(n), events);
      if (size_t(n) < ask) return;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    MarkHungUp();  // end of file or a hard error: the line is gone
    return;
  }
}

void TCommPort::Accept(const char* bytes, size_t count, DWORD& events) {
  const size_t before = Queued();
  for (size_t i = 0; i < count; ++i) {
    if (bytes[i] == '\0' && dcb_.fNull) continue;
    if (bytes[i] == dcb_.EvtChar) events |= EV_RXFLAG;
    input_ += bytes[i];
  }
  if (Queued() == before) return;
  events |= EV_RXCHAR;
  size_t full = size_t(inQueueSize_) * 8 / 10;
  if (full > 0 && before < full && Queued() >= full) events |= EV_RX80FULL;
}

void TCommPort::FlushWrites(DWORD& events) {
  while (!writes_.empty()) {
    OpPtr op = writes_.front();
    ssize_t n = device_->Write(op->out.data() + op->done, op->size - op->done);
    if (n > 0) {
      op->done += DWORD(n);
      txBusy_ = true;
      if (op->done == op->size) Finish(op, ERROR_SUCCESS);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    // The line is gone: what it delivered before stays readable.
    Drain(events);
    MarkHungUp();
    return;
  }
}

void TCommPort::ReadStatus(DWORD& events) {
  nextStatus_ = Clock::now() + kStatusPollInterval;
  if (!statusCapable_) return;
  DWORD lines;
  if (device_->ModemLines(lines)) {
    DWORD changed = lines ^ lines_;
    if (changed & MS_CTS_ON) events |= EV_CTS;
    if (changed & MS_DSR_ON) events |= EV_DSR;
    if (changed & MS_RLSD_ON) events |= EV_RLSD;
    if ((changed & lines) & MS_RING_ON) events |= EV_RING;
    lines_ = lines;
  }
  TLineCounters c;
  if (device_->LineCounters(c)) {
    DWORD found = (c.Frame != counters_.Frame ? CE_FRAME : 0) |
                  (c.Parity != counters_.Parity ? CE_RXPARITY : 0) |
                  (c.Overrun != counters_.Overrun ? CE_OVERRUN : 0) |
                  (c.BufferOverrun != counters_.BufferOverrun ? CE_RXOVER : 0);
    if (found) events |= EV_ERR;
    if (c.Break != counters_.Break) {
      found |= CE_BREAK;
      events |= EV_BREAK;
    }
    errors_ |= found;
    counters_ = c;
  }
}

void TCommPort::CheckTxEmpty(DWORD& events) {
  if (!txBusy_ || !writes_.empty()) return;
  if (!(mask_ & EV_TXEMPTY)) {
    txBusy_ = false;
    return;
  }
  if (device_->OutputQueued() <= 0) {
    txBusy_ = false;
    events |= EV_TXEMPTY;
  }
}

void TCommPort::ServeReads(Clock::time_point now) {
  while (!reads_.empty()) {
    OpPtr op = reads_.front();
    size_t take = std::min<size_t>(Queued(), op->size - op->done);
    if (take > 0) {
      std::memcpy(op->in + op->done, input_.data() + inputHead_, take);
      inputHead_ += take;
      op->done += DWORD(take);
      op->lastByte = now;
    }
    bool complete = op->done == op->size || op->immediate || (op->firstByte && op->done > 0) ||
                    (op->total && now >= *op->total) ||
                    (op->interval && op->done > 0 && now - op->lastByte >= *op->interval);
    // On a line that hung up, a read ends with what it got, or fails when that is nothing.
    if (hungUp_ && op->done == 0 && op->size > 0)
      Finish(op, ERROR_DEVICE_NOT_CONNECTED);
    else if (complete || hungUp_)
      Finish(op, ERROR_SUCCESS);
    else
      break;
  }
  if (inputHead_ == input_.size()) {
    input_.clear();
    inputHead_ = 0;
  } else if (inputHead_ > 65536) {
    input_.erase(0, inputHead_);
    inputHead_ = 0;
  }
}

void TCommPort::ExpireWrites(Clock::time_point now) {
  // Ended writes report the bytes that went out in time, as a success.
  for (size_t i = 0; i < writes_.size();) {
    OpPtr op = writes_[i];
    if (op->total && now >= *op->total)
      Finish(op, ERROR_SUCCESS);
    else
      ++i;
  }
}

void TCommPort::Raise(DWORD events) {
  history_ |= events & mask_;
  if (wait_ && history_) {
    wait_->events = std::exchange(history_, 0);
    Finish(wait_, ERROR_SUCCESS);
  }
}

void TCommPort::MarkHungUp() {
  if (hungUp_) return;
  hungUp_ = true;
  errors_ |= CE_IOE;
  while (!writes_.empty()) Finish(writes_.front(), ERROR_DEVICE_NOT_CONNECTED);
}

// ============================================================================ waiting ==========

bool TCommPort::StatusPolling() const {
  if (device_->StatusChangesWake() || !wait_) return false;
  return (statusCapable_ && (mask_ & kStatusEvents)) || (txBusy_ && (mask_ & EV_TXEMPTY));
}

std::optional<TCommPort::Clock::time_point> TCommPort::NextDeadline() const {
  std::optional<Clock::time_point> next;
  auto consider = [&](Clock::time_point t) {
    if (!next || t < *next) next = t;
  };
  if (!reads_.empty()) {
    const Op& head = *reads_.front();
    if (head.total) consider(*head.total);
    if (head.interval && head.done > 0) consider(head.lastByte + *head.interval);
  }
  for (auto& op : writes_)
    if (op->total) consider(*op->total);
  if (StatusPolling()) consider(nextStatus_);
  return next;
}

int TCommPort::PreparePoll(std::vector<pollfd>& fds) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return -1;
  if (!hungUp_) {
    short wanted = 0;
    if (Queued() < InputCap()) wanted |= POLLIN;
    if (!writes_.empty()) wanted |= POLLOUT;
    fds.push_back({device_->Descriptor(), device_->PollMask(wanted), 0});
  }
  auto next = NextDeadline();
  if (!next) return -1;
  auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now()).count();
  return int(std::clamp<int64_t>(left, 0, 1 << 30));
}

void TCommPort::AfterPoll(const pollfd* fds, size_t count) {
  std::lock_guard<std::mutex> g(lock_);
  Pump(false, count > 0 ? fds[0].revents : 0, false);
}

// ================================================================ transfers and events ==========

namespace {

std::optional<std::chrono::steady_clock::time_point> LimitFrom(std::chrono::steady_clock::time_point now,
                                                               uint64_t ms) {
  if (ms > kLongestLimitMs) return std::nullopt;
  return now + std::chrono::milliseconds(ms);
}

}  // namespace

DWORD TCommPort::Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) {
  std::unique_lock<std::mutex> held(lock_);
  if (done) *done = 0;
  if (closed_) return ERROR_INVALID_HANDLE;
  if (!canRead_) return ERROR_ACCESS_DENIED;
  if (buffer == nullptr && size > 0) return ERROR_INVALID_PARAMETER;
  OpPtr op;
  if (DWORD e = NewOp(op, overlapped)) return e;
  op->kind = Op::kRead;
  op->in = static_cast<char*>(buffer);
  op->size = size;
  const auto now = Clock::now();
  op->lastByte = now;
  const COMMTIMEOUTS& t = timeouts_;
  if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
      t.ReadTotalTimeoutConstant == 0) {
    op->immediate = true;
  } else if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
             t.ReadTotalTimeoutConstant > 0 && t.ReadTotalTimeoutConstant < MAXDWORD) {
    op->firstByte = true;
    op->total = LimitFrom(now, t.ReadTotalTimeoutConstant);
  } else {
    if (t.ReadTotalTimeoutMultiplier || t.ReadTotalTimeoutConstant)
      op->total = LimitFrom(now, uint64_t(t.ReadTotalTimeoutMultiplier) * size + t.ReadTotalTimeoutConstant);
    if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD)
      op->interval = std::chrono::milliseconds(t.ReadIntervalTimeout);
  }
  DWORD e = Start(op, held);
  if (done && e == ERROR_SUCCESS) *done = op->done;
  return e;
}

DWORD TCommPort::Write(const void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) {
  std::unique_lock<std::mutex> held(lock_);
  if (done) *done = 0;
  if (closed_) return ERROR_INVALID_HANDLE;
  if (!canWrite_) return ERROR_ACCESS_DENIED;
  if (buffer == nullptr && size > 0) return ERROR_INVALID_PARAMETER;
  OpPtr op;
  if (DWORD e = NewOp(op, overlapped)) return e;
  op->kind = Op::kWrite;
  // A copy, so that the caller's buffer may go while the bytes wait for the line.
  op->out.assign(static_cast<const char*>(buffer), size);
  op->size = size;
  const COMMTIMEOUTS& t = timeouts_;
  if (t.WriteTotalTimeoutMultiplier || t.WriteTotalTimeoutConstant)
    op->total =
        LimitFrom(Clock::now(), uint64_t(t.WriteTotalTimeoutMultiplier) * size + t.WriteTotalTimeoutConstant);
  if (size == 0 || hungUp_) {
    // Nothing to send, or nowhere to send it: done at once.
    if (overlapped) overlapped->Internal = STATUS_PENDING;
    Finish(op, hungUp_ ? ERROR_DEVICE_NOT_CONNECTED : ERROR_SUCCESS);
    return op->error;
  }
  DWORD e = Start(op, held);
  if (done && e == ERROR_SUCCESS) *done = op->done;
  return e;
}

DWORD TCommPort::WaitEvent(DWORD* mask, OVERLAPPED* overlapped) {
  std::unique_lock<std::mutex> held(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  if (mask == nullptr || mask_ == 0 || wait_) return ERROR_INVALID_PARAMETER;
  OpPtr op;
  if (DWORD e = NewOp(op, overlapped)) return e;
  op->kind = Op::kWait;
  op->mask = mask;
  return Start(op, held);
}

DWORD TCommPort::Result(OVERLAPPED* overlapped, DWORD* transferred, bool wait) {
  std::unique_lock<std::mutex> held(lock_);
  if (overlapped == nullptr) return ERROR_INVALID_PARAMETER;
  if (overlapped->Internal == STATUS_PENDING) Pump(true, 0, false);
  while (overlapped->Internal == STATUS_PENDING) {
    if (!wait) return ERROR_IO_INCOMPLETE;
    OpPtr op = wait_ && wait_->overlapped == overlapped ? wait_ : nullptr;
    for (auto* list : {&reads_, &writes_})
      for (auto& o : *list)
        if (o->overlapped == overlapped) op = o;
    // An operation dropped with its event never ends.
    if (!op) return ERROR_IO_INCOMPLETE;
    auto event = op->event;
    held.unlock();
    WaitForObjects({event}, false, INFINITE);
    held.lock();
  }
  if (transferred) *transferred = DWORD(overlapped->InternalHigh);
  return DWORD(overlapped->Internal);
}

// =========================================================================== settings ==========

DWORD TCommPort::Setup(DWORD inQueue, DWORD outQueue) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  inQueueSize_ = inQueue;
  outQueueSize_ = outQueue;
  return ERROR_SUCCESS;
}

DWORD TCommPort::GetState(DCB& dcb) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  dcb = dcb_;
  return ERROR_SUCCESS;
}

DWORD TCommPort::SetState(const DCB& dcb) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY ||
      dcb.StopBits > TWOSTOPBITS || (dcb.StopBits == ONE5STOPBITS && dcb.ByteSize != 5) ||
      (dcb.StopBits == TWOSTOPBITS && dcb.ByteSize == 5) || dcb.XonChar == dcb.XoffChar)
    return ERROR_INVALID_PARAMETER;
  if (hungUp_) return ERROR_DEVICE_NOT_CONNECTED;
  TLineSettings s;
  s.BaudRate = dcb.BaudRate;
  s.DataBits = dcb.ByteSize;
  s.Parity = dcb.Parity;
  s.StopBits = dcb.StopBits;
  s.ParityCheck = dcb.fParity;
  s.HardwareFlow = dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE;
  s.XonXoffOut = dcb.fOutX;
  s.XonXoffIn = dcb.fInX;
  s.XonChar = dcb.XonChar;
  s.XoffChar = dcb.XoffChar;
  const TLineSettings before = device_->Settings();
  if (int e = device_->Configure(s)) return ErrorFromErrno(e);
  // A device may take settings and keep others: read them all back, and refuse the lot if any
  // differs, so that a port never claims a line it does not have.
  if (!SameLineSettings(s, device_->Settings())) {
    device_->Configure(before);
    return ERROR_NOT_SUPPORTED;
  }
  // Hardware flow drives RTS itself; toggling leaves it off while the line is idle.  A device
  // without modem lines takes no line settings, and that is no failure.
  int dtr = dcb.fDtrControl == DTR_CONTROL_DISABLE ? 0 : 1;
  int rts = dcb.fRtsControl == RTS_CONTROL_HANDSHAKE ? -1 : (dcb.fRtsControl == RTS_CONTROL_ENABLE) ? 1 : 0;
  device_->SetModemOutputs(dtr, rts);
  dcb_ = dcb;
  return ERROR_SUCCESS;
}

DWORD TCommPort::GetTimeouts(COMMTIMEOUTS& timeouts) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  timeouts = timeouts_;
  return ERROR_SUCCESS;
}

DWORD TCommPort::SetTimeouts(const COMMTIMEOUTS& timeouts) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  if (timeouts.ReadIntervalTimeout == MAXDWORD && timeouts.ReadTotalTimeoutMultiplier == MAXDWORD &&
      timeouts.ReadTotalTimeoutConstant == MAXDWORD)
    return ERROR_INVALID_PARAMETER;
  timeouts_ = timeouts;
  return ERROR_SUCCESS;
}

DWORD TCommPort::SetMask(DWORD mask) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  mask_ = mask;
  history_ = 0;
  if (wait_) {
    wait_->events = 0;
    Finish(wait_, ERROR_SUCCESS);
  }
  return ERROR_SUCCESS;
}

DWORD TCommPort::GetMask(DWORD& mask) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  mask = mask_;
  return ERROR_SUCCESS;
}

// ================================================================ status and control ==========

DWORD TCommPort::ClearError(DWORD* errors, COMSTAT* status) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  Pump(true, 0, true);
  if (errors)
    *errors = std::exchange(errors_, 0);
  else
    errors_ = 0;
  if (status) {
    *status = COMSTAT{};
    uint64_t in = Queued(), out = 0;
    for (auto& op : writes_) out += op->size - op->done;
    if (!hungUp_) {
      if (in >= InputCap()) in += uint64_t(std::max(0, device_->InputQueued()));
      out += uint64_t(std::max(0, device_->OutputQueued()));
    }
    status->cbInQue = DWORD(std::min<uint64_t>(in, MAXDWORD));
    status->cbOutQue = DWORD(std::min<uint64_t>(out, MAXDWORD));
  }
  return ERROR_SUCCESS;
}

DWORD TCommPort::Purge(DWORD flags) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  if (flags & ~(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR))
    return ERROR_INVALID_PARAMETER;
  if (flags & PURGE_TXABORT)
    while (!writes_.empty()) Finish(writes_.front(), ERROR_OPERATION_ABORTED);
  if (flags & PURGE_RXABORT)
    while (!reads_.empty()) Finish(reads_.front(), ERROR_OPERATION_ABORTED);
  if (flags & PURGE_RXCLEAR) {
    input_.clear();
    inputHead_ = 0;
  }
  // A line that hung up has nothing left to clear.
  if (!hungUp_) device_->Flush(flags & PURGE_RXCLEAR, flags & PURGE_TXCLEAR);
  return ERROR_SUCCESS;
}

DWORD TCommPort::ModemStatus(DWORD& lines) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  lines = 0;
  DWORD now;
  if (!hungUp_ && device_->ModemLines(now)) lines = now;
  return ERROR_SUCCESS;
}

DWORD TCommPort::Escape(DWORD function) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  if (hungUp_) return ERROR_DEVICE_NOT_CONNECTED;
  int e;
  switch (function) {
    case SETDTR:
      e = device_->SetModemOutputs(1, -1);
      break;
    case CLRDTR:
      e = device_->SetModemOutputs(0, -1);
      break;
    case SETRTS:
      e = device_->SetModemOutputs(-1, 1);
      break;
    case CLRRTS:
      e = device_->SetModemOutputs(-1, 0);
      break;
    case SETBREAK:
      e = device_->SetBreak(true);
      break;
    case CLRBREAK:
      e = device_->SetBreak(false);
      break;
    case SETXOFF:
      e = device_->SuspendOutput(true);
      break;
    case SETXON:
      e = device_->SuspendOutput(false);
      break;
    default:
      return ERROR_INVALID_PARAMETER;
  }
  if (e == ENOTTY || e == EINVAL) e = 0;
  if (function == SETXON) Pump(false, 0, false);  // output held back may go now
  return e ? ErrorFromErrno(e) : ERROR_SUCCESS;
}

DWORD TCommPort::TransmitChar(char c) {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return ERROR_INVALID_HANDLE;
  if (!canWrite_) return ERROR_ACCESS_DENIED;
  if (hungUp_) return ERROR_DEVICE_NOT_CONNECTED;
  ssize_t n = device_->Write(&c, 1);
  if (n != 1) return n == 0 ? ERROR_BUSY : ErrorFromErrno(errno);
  txBusy_ = true;
  Pump(false, 0, false);
  return ERROR_SUCCESS;
}

// ============================================================================ closing ==========

void TCommPort::HandleClosed() {
  std::lock_guard<std::mutex> g(lock_);
  if (closed_) return;
  while (!reads_.empty()) Finish(reads_.front(), ERROR_OPERATION_ABORTED);
  while (!writes_.empty()) Finish(writes_.front(), ERROR_OPERATION_ABORTED);
  if (wait_) Finish(wait_, ERROR_OPERATION_ABORTED);
  closed_ = true;
  device_->Release();
}

void TCommPort::Forget(TWaitableObject* object) {
  std::lock_guard<std::mutex> g(lock_);
  // The caller's records may go with the event: the operation ends without touching them.
  std::vector<OpPtr> gone;
  for (auto* list : {&reads_, &writes_})
    for (auto& op : *list)
      if (op->event.get() == object) gone.push_back(op);
  if (wait_ && wait_->event.get() == object) gone.push_back(wait_);
  for (auto& op : gone) {
    op->overlapped = nullptr;
    op->mask = nullptr;
    Finish(op, ERROR_OPERATION_ABORTED);
  }
}
