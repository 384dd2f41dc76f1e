#include "platform/os/comm/PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "platform/os/comm/TtyDevice.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

int MsLeft(SteadyClock::time_point deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return left < 0 ? 0 : int(left);
}

// Waits until fd is ready for events; false after the deadline or on a hang-up without them.
bool Await(int fd, short events, SteadyClock::time_point deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    int r = poll(&p, 1, MsLeft(deadline));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    return (p.revents & events) != 0 || (p.revents & (POLLHUP | POLLERR)) == 0;
  }
}

// Reads what fd holds now into out; false on end of file or error.
bool ReadSome(int fd, std::string& out) {
  char buffer[4096];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      out.append(buffer, size_t(n));
      if (size_t(n) < sizeof buffer) return true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

}  // namespace

TPtyPair::TPtyPair() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  char name[128];
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 ||
      ptsname_r(master_, name, sizeof name) != 0) {
    int e = errno;
    if (master_ >= 0) close(master_);
    throw EOSError(AnsiString("Unable to create a pseudo-terminal: ") + std::strerror(e));
  }
  slavePath_ = FileNameFromSys(name);
  slaveHold_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slaveHold_ < 0 || MakeRawTerminal(slaveHold_) != 0) {
    int e = errno;
    close(master_);
    if (slaveHold_ >= 0) close(slaveHold_);
    throw EOSError(AnsiString("Unable to open a pseudo-terminal: ") + std::strerror(e));
  }
}

TPtyPair::~TPtyPair() {
  CloseMaster();
  if (slaveHold_ >= 0) close(slaveHold_);
}

void TPtyPair::CloseMaster() {
  if (master_ < 0) return;
  close(master_);
  master_ = -1;
}

bool TPtyPair::Send(std::string_view data, int timeoutMs) {
  return master_ >= 0 && WriteAll(master_, data, timeoutMs);
}

std::string TPtyPair::Receive(size_t atLeast, int timeoutMs) {
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  std::string out = std::exchange(pending_, {});
  while (master_ >= 0 && out.size() < atLeast && Await(master_, POLLIN, deadline))
    if (!ReadSome(master_, out)) break;
  return out;
}

std::string TPtyPair::ReceiveLine(int timeoutMs) {
  std::string line = std::exchange(pending_, {});
  if (master_ >= 0) ReadLine(master_, line, timeoutMs);
  size_t end = line.find('\n');
  if (end != std::string::npos) {
    pending_ = line.substr(end + 1);
    line.resize(end + 1);
  }
  return line;
}

int OpenRawTerminal(const AnsiString& path) {
  int fd = open(FileNameToSys(path).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (int e = MakeRawTerminal(fd)) {
    close(fd);
    errno = e;
    return -1;
  }
  return fd;
}

bool WriteAll(int fd, std::string_view data, int timeoutMs) {
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  while (!data.empty()) {
    ssize_t n = write(fd, data.data(), data.size());
    if (n > 0) {
      data.remove_prefix(size_t(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && Await(fd, POLLOUT, deadline)) continue;
    return false;
  }
  return true;
}

bool ReadLine(int fd, std::string& line, int timeoutMs) {
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  while (line.find('\n') == std::string::npos) {
    if (!Await(fd, POLLIN, deadline) || !ReadSome(fd, line)) return false;
  }
  return true;
}

bool BareRoundTrip(int fd, std::string_view command, std::string& reply, int timeoutMs) {
  reply.clear();
  return WriteAll(fd, command, timeoutMs) && ReadLine(fd, reply, timeoutMs);
}
