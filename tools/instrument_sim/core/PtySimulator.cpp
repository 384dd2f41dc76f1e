#include "tools/instrument_sim/core/PtySimulator.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/os/comm/TtyDevice.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"

// ============================================================================ pacing ==========

TLinePacer::Clock::duration TLinePacer::ByteTime() const {
  return std::chrono::nanoseconds(10'000'000'000LL / baud_);
}

// A wake-up later than this after the line fell idle starts a new run of bytes; within it the
// schedule is kept, so time lost to coarse waits is made up by sending the bytes that are due.
constexpr std::chrono::milliseconds kPacerSlack(10);

size_t TLinePacer::Allowance(Clock::time_point now, size_t waiting, Clock::time_point& next) {
  if (baud_ == 0 || waiting == 0) return waiting;
  if (now < lineFree_) {
    next = lineFree_;
    return 0;
  }
  if (now - lineFree_ > kPacerSlack) return 1;
  return std::min(waiting, size_t(1 + (now - lineFree_) / ByteTime()));
}

void TLinePacer::Sent(Clock::time_point now, size_t count) {
  if (baud_ == 0) return;
  const Clock::time_point start = now - lineFree_ > kPacerSlack ? now : lineFree_;
  lineFree_ = start + ByteTime() * int64_t(count);
}

// ========================================================================= simulator ==========

TPtySimulator::TPtySimulator(TInstrumentConfig config, uint32_t baud, bool followLine)
    : instrument_(std::move(config)), followLine_(followLine) {
  pacer_.SetBaud(baud);
  wake_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake_ < 0) throw EOSError("instrument simulator: no event descriptor");
  thread_ = std::thread([this] { Run(); });
}

TPtySimulator::~TPtySimulator() {
  HangUp();
  close(wake_);
}

void TPtySimulator::Wake() {
  uint64_t one = 1;
  (void)!write(wake_, &one, sizeof one);
}

void TPtySimulator::SetBaud(uint32_t baud, bool followLine) {
  std::lock_guard<std::mutex> g(lock_);
  pacer_.SetBaud(baud);
  followLine_ = followLine;
}

void TPtySimulator::SendRaw(std::string_view bytes) {
  std::lock_guard<std::mutex> g(lock_);
  out_.append(bytes);
  Wake();
}

std::vector<std::string> TPtySimulator::TakeReceivedLines() {
  std::lock_guard<std::mutex> g(lock_);
  return std::exchange(received_, {});
}

void TPtySimulator::HangUp() {
  if (thread_.joinable()) {
    stop_ = true;
    Wake();
    thread_.join();
  }
  pty_.CloseMaster();
  hungUp_ = true;
}

void TPtySimulator::Run() {
  const int master = pty_.Master();
  std::vector<char> buffer(4096);
  while (!stop_) {
    pollfd fds[2] = {{master, POLLIN, 0}, {wake_, POLLIN, 0}};
    int64_t wait = 0;
    bool waitForBytes = false;
    {
      std::lock_guard<std::mutex> g(lock_);
      if (!out_.empty()) {
        if (followLine_) pacer_.SetBaud(TerminalSpeed(master));
        auto now = TLinePacer::Clock::now();
        TLinePacer::Clock::time_point next = now;
        size_t n = pacer_.Allowance(now, out_.size(), next);
        if (n > 0) {
          ssize_t written = write(master, out_.data(), n);
          if (written > 0) {
            out_.erase(0, size_t(written));
            pacer_.Sent(now, size_t(written));
            next = now;
            pacer_.Allowance(now, out_.size(), next);
          } else if (written < 0 && errno == EAGAIN) {
            fds[0].events |= POLLOUT;  // the program is not reading: wait for room
          }
        }
        if (!out_.empty() && !(fds[0].events & POLLOUT)) {
          wait =
              std::max<int64_t>(0, std::chrono::duration_cast<std::chrono::nanoseconds>(next - now).count());
          waitForBytes = true;
        }
      }
    }
    // Waits to the nanosecond: whole milliseconds would stretch every byte time at low rates.
    timespec timeout{time_t(wait / 1'000'000'000), long(wait % 1'000'000'000)};
    int ready = ppoll(fds, 2, waitForBytes ? &timeout : nullptr, nullptr);
    if (ready < 0 && errno != EINTR) break;
    if (fds[1].revents & POLLIN) {
      uint64_t value;
      (void)!read(wake_, &value, sizeof value);
    }
    if (fds[0].revents & POLLIN) {
      ssize_t n = read(master, buffer.data(), buffer.size());
      if (n > 0) {
        std::lock_guard<std::mutex> g(lock_);
        for (ssize_t i = 0; i < n; ++i) {
          if (buffer[size_t(i)] != '\n') {
            if (lineIn_.size() < 4096) lineIn_ += buffer[size_t(i)];
            continue;
          }
          if (received_.size() >= 10000) received_.erase(received_.begin());
          received_.push_back(std::exchange(lineIn_, std::string()));
        }
        out_ += instrument_.Receive(std::string_view(buffer.data(), size_t(n)));
      }
    } else if (fds[0].revents & (POLLHUP | POLLERR)) {
      // Nobody holds the device (the pair keeps it open, so only while it closes): wait a little
      // rather than spin.
      poll(nullptr, 0, 10);
    }
  }
}

// ========================================================================== control ==========

namespace {

std::vector<std::string> Words(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(LowerCase(w));
  return words;
}

bool ParseCount(const std::vector<std::string>& w, size_t index, long long& value) {
  if (w.size() <= index) return false;
  auto [end, ec] = std::from_chars(w[index].data(), w[index].data() + w[index].size(), value);
  return ec == std::errc() && end == w[index].data() + w[index].size() && value >= 0;
}

bool ParseDouble(const std::string& text, double& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

constexpr const char* kHelp =
    "error too|small|invalid|command [N] | silence [N|on|off] | crlf on|off | garbage N | noise N |\n"
    "load OHMS | baud N|line | status | hangup | quit";

}  // namespace

bool TPtySimulator::Control(std::string_view line, std::string& response) {
  std::vector<std::string> w = Words(line);
  response = "ok";
  if (w.empty()) {
    response.clear();
    return true;
  }
  const std::string& verb = w[0];
  long long n = 1;
  auto onOff = [&](bool& value) {
    if (w.size() == 2 && (w[1] == "on" || w[1] == "off")) {
      value = w[1] == "on";
      return true;
    }
    return false;
  };
  if (verb == "quit") return false;
  if (verb == "help") {
    response = kHelp;
  } else if (verb == "error" && w.size() >= 2 && (w.size() == 2 || ParseCount(w, 2, n))) {
    static const std::pair<const char*, TInstrumentError> kinds[] = {
        {"too", TInstrumentError::TooLarge},
        {"small", TInstrumentError::TooSmall},
        {"invalid", TInstrumentError::InvalidParameter},
        {"command", TInstrumentError::UndefinedCommand}};
    auto it = std::find_if(std::begin(kinds), std::end(kinds), [&](auto& k) { return w[1] == k.first; });
    if (it == std::end(kinds)) {
      response = "error: unknown error kind " + w[1];
    } else {
      With([&](TInstrument& i) { i.InjectErrors(it->second, int(n)); });
    }
  } else if (verb == "silence") {
    if (w.size() == 2 && (w[1] == "on" || w[1] == "off"))
      n = w[1] == "on" ? -1 : 0;
    else if (w.size() > 1 && !ParseCount(w, 1, n))
      n = -2;
    if (n < -1)
      response = "error: silence [N|on|off]";
    else
      With([&](TInstrument& i) { i.SetSilence(int(n)); });
  } else if (verb == "crlf") {
    bool on;
    if (onOff(on))
      With([&](TInstrument& i) { i.SetCrLf(on); });
    else
      response = "error: crlf on|off";
  } else if ((verb == "garbage" || verb == "noise") && ParseCount(w, 1, n) && n <= 65536) {
    if (verb == "garbage")
      With([&](TInstrument& i) { i.InjectGarbage(size_t(n)); });
    else
      SendRaw(With([&](TInstrument& i) { return i.Garbage(size_t(n)); }));
  } else if (verb == "load" && w.size() == 2) {
    double ohms;
    if (ParseDouble(w[1], ohms) && ohms > 0)
      With([&](TInstrument& i) { i.SetLoad(ohms); });
    else
      response = "error: load needs a resistance above 0";
  } else if (verb == "baud" && w.size() == 2) {
    if (w[1] == "line")
      SetBaud(0, true);
    else if (ParseCount(w, 1, n) && n <= 100'000'000)
      SetBaud(uint32_t(n), false);
    else
      response = "error: baud N|line";
  } else if (verb == "status") {
    response = With([&](TInstrument& i) {
      return "model " + i.Config().Model.Name + ", output " + (i.Output() ? "on" : "off") + ", sense " +
             (i.Sense() ? "on" : "off") + ", volt " + FormatReading(i.SetVoltage()) + ", curr " +
             FormatReading(i.SetCurrent()) + ", load " + FormatReading(i.Config().LoadOhms);
    });
  } else if (verb == "hangup") {
    HangUp();
  } else {
    response = "error: unknown control \"" + std::string(line) + "\" (help lists them)";
  }
  return true;
}
