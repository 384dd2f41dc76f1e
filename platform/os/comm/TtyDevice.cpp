// Terminal devices through the kernel's termios2 interface, which also takes rates outside the
// standard set (this file must not include <termios.h>, whose records differ).
#include "platform/os/comm/TtyDevice.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/os/comm/Comm.h"
#include "platform/runtime/Files.h"

namespace {

struct RateCode {
  uint32_t rate;
  tcflag_t code;
};

constexpr RateCode kRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

int Ioctl(int fd, unsigned long request, void* argument) {
  int r;
  do r = ioctl(fd, request, argument);
  while (r < 0 && errno == EINTR);
  return r < 0 ? errno : 0;
}

int GetTermios(int fd, termios2& t) { return Ioctl(fd, TCGETS2, &t); }
int SetTermios(int fd, const termios2& t) { return Ioctl(fd, TCSETS2, const_cast<termios2*>(&t)); }

bool Unsupported(int error) { return error == ENOTTY || error == EINVAL; }

}  // namespace

int MakeRawTerminal(int fd) {
  termios2 t;
  if (int e = GetTermios(fd, t)) return e;
  t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY |
                         IMAXBEL | IUCLC | INPCK | IGNPAR);
  t.c_oflag &= ~tcflag_t(OPOST);
  t.c_lflag &= ~tcflag_t(ECHO | ECHONL | ECHOE | ECHOK | ECHOCTL | ECHOKE | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~tcflag_t(CSIZE | PARENB);
  t.c_cflag |= CS8 | CREAD | CLOCAL;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  return SetTermios(fd, t);
}

uint32_t TerminalSpeed(int fd) {
  termios2 t;
  return GetTermios(fd, t) == 0 ? t.c_ospeed : 0;
}

std::shared_ptr<TTtyDevice> TTtyDevice::Open(const AnsiString& path, int& error) {
  int fd;
  do fd = open(FileNameToSys(path).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  // The lock keeps out every other user of this layer (also one running as root, whom the
  // terminal's exclusive mode lets through); the exclusive mode keeps out other programs.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error = errno == EWOULDBLOCK ? EBUSY : errno;
    close(fd);
    return nullptr;
  }
  if (!isatty(fd)) {
    error = ENOTTY;
    close(fd);
    return nullptr;
  }
  Ioctl(fd, TIOCEXCL, nullptr);
  if (int e = MakeRawTerminal(fd)) {
    error = e;
    close(fd);
    return nullptr;
  }
  std::shared_ptr<TTtyDevice> device(new TTtyDevice(fd));
  int lines;
  device->hasModemLines_ = !Unsupported(Ioctl(fd, TIOCMGET, &lines));
  serial_icounter_struct counts;
  device->hasCounters_ = !Unsupported(Ioctl(fd, TIOCGICOUNT, &counts));
  error = 0;
  return device;
}

TTtyDevice::TTtyDevice(int fd) : fd_(fd) {}

TTtyDevice::~TTtyDevice() {
  Release();
  close(fd_);
}

void TTtyDevice::Release() {
  if (released_) return;
  released_ = true;
  // Given up at once, so that the port can be opened again while a waiter still holds the
  // descriptor for a moment.
  Ioctl(fd_, TIOCNXCL, nullptr);
  flock(fd_, LOCK_UN);
}

ssize_t TTtyDevice::Read(void* buffer, size_t size) { return read(fd_, buffer, size); }
ssize_t TTtyDevice::Write(const void* buffer, size_t size) {
  ssize_t n = write(fd_, buffer, size);
  if (n > 0) outputEmpty_ = false;
  return n;
}

int TTtyDevice::InputQueued() {
  int n = 0;
  return Ioctl(fd_, FIONREAD, &n) == 0 ? n : -1;
}

int TTtyDevice::OutputQueued() {
  if (outputEmpty_) return 0;
  int n = 0;
  if (Ioctl(fd_, TIOCOUTQ, &n) != 0) return -1;
  outputEmpty_ = n == 0;
  return n;
}

void TTtyDevice::Flush(bool input, bool output) {
  if (!input && !output) return;
  Ioctl(fd_, TCFLSH,
        reinterpret_cast<void*>(intptr_t(input && output ? TCIOFLUSH
                                         : input         ? TCIFLUSH
                                                         : TCOFLUSH)));
}

int TTtyDevice::Configure(const TLineSettings& s) {
  termios2 old;
  if (int e = GetTermios(fd_, old)) return e;
  termios2 t = old;
  t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
  static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= kSizes[s.DataBits - 5] | CREAD | CLOCAL;
  switch (s.Parity) {
    case ODDPARITY:
      t.c_cflag |= PARENB | PARODD;
      break;
    case EVENPARITY:
      t.c_cflag |= PARENB;
      break;
    case MARKPARITY:
      t.c_cflag |= PARENB | CMSPAR | PARODD;
      break;
    case SPACEPARITY:
      t.c_cflag |= PARENB | CMSPAR;
      break;
    default:
      break;
  }
  // With 5 data bits the second stop bit is one and a half bits long.
  if (s.StopBits != ONESTOPBIT) t.c_cflag |= CSTOPB;
  if (s.HardwareFlow) t.c_cflag |= CRTSCTS;
  t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY | INPCK);
  if (s.XonXoffOut) t.c_iflag |= IXON;
  if (s.XonXoffIn) t.c_iflag |= IXOFF;
  if (s.ParityCheck) t.c_iflag |= INPCK;
  t.c_cc[VSTART] = cc_t(s.XonChar);
  t.c_cc[VSTOP] = cc_t(s.XoffChar);
  tcflag_t code = BOTHER;
  for (const RateCode& r : kRates)
    if (r.rate == s.BaudRate) code = r.code;
  t.c_cflag |= code;
  t.c_ispeed = t.c_ospeed = s.BaudRate;
  if (int e = SetTermios(fd_, t)) return e;
  // A driver may keep a field it cannot do (a rate rounded too far, data bits, parity) and still
  // report success: what it holds now is what counts.
  if (!SameLineSettings(s, Settings())) {
    SetTermios(fd_, old);
    return EINVAL;
  }
  return 0;
}

TLineSettings TTtyDevice::Settings() {
  TLineSettings s;
  termios2 t;
  if (GetTermios(fd_, t) != 0) return s;
  s.BaudRate = t.c_ospeed;
  switch (t.c_cflag & CSIZE) {
    case CS5:
      s.DataBits = 5;
      break;
    case CS6:
      s.DataBits = 6;
      break;
    case CS7:
      s.DataBits = 7;
      break;
    default:
      s.DataBits = 8;
      break;
  }
  if (t.c_cflag & PARENB) {
    bool odd = t.c_cflag & PARODD;
    s.Parity = (t.c_cflag & CMSPAR) ? (odd ? MARKPARITY : SPACEPARITY) : (odd ? ODDPARITY : EVENPARITY);
  }
  s.StopBits = (t.c_cflag & CSTOPB) ? (s.DataBits == 5 ? ONE5STOPBITS : TWOSTOPBITS) : ONESTOPBIT;
  s.ParityCheck = t.c_iflag & INPCK;
  s.HardwareFlow = t.c_cflag & CRTSCTS;
  s.XonXoffOut = t.c_iflag & IXON;
  s.XonXoffIn = t.c_iflag & IXOFF;
  s.XonChar = char(t.c_cc[VSTART]);
  s.XoffChar = char(t.c_cc[VSTOP]);
  return s;
}

int TTtyDevice::SetModemOutputs(int dtr, int rts) {
  if (!hasModemLines_) return ENOTTY;
  int set = (dtr == 1 ? TIOCM_DTR : 0) | (rts == 1 ? TIOCM_RTS : 0);
  int clear = (dtr == 0 ? TIOCM_DTR : 0) | (rts == 0 ? TIOCM_RTS : 0);
  if (set)
    if (int e = Ioctl(fd_, TIOCMBIS, &set)) return e;
  if (clear)
    if (int e = Ioctl(fd_, TIOCMBIC, &clear)) return e;
  return 0;
}

int TTtyDevice::SetBreak(bool on) { return Ioctl(fd_, on ? TIOCSBRK : TIOCCBRK, nullptr); }

int TTtyDevice::SuspendOutput(bool suspend) {
  return Ioctl(fd_, TCXONC, reinterpret_cast<void*>(intptr_t(suspend ? TCOOFF : TCOON)));
}

bool TTtyDevice::ModemLines(DWORD& lines) {
  int bits = 0;
  if (!hasModemLines_ || Ioctl(fd_, TIOCMGET, &bits) != 0) return false;
  lines = ((bits & TIOCM_CTS) ? MS_CTS_ON : 0) | ((bits & TIOCM_DSR) ? MS_DSR_ON : 0) |
          ((bits & TIOCM_RI) ? MS_RING_ON : 0) | ((bits & TIOCM_CD) ? MS_RLSD_ON : 0);
  return true;
}

bool TTtyDevice::LineCounters(TLineCounters& counters) {
  serial_icounter_struct c;
  if (!hasCounters_ || Ioctl(fd_, TIOCGICOUNT, &c) != 0) return false;
  counters.Frame = uint32_t(c.frame);
  counters.Parity = uint32_t(c.parity);
  counters.Overrun = uint32_t(c.overrun);
  counters.Break = uint32_t(c.brk);
  counters.BufferOverrun = uint32_t(c.buf_overrun);
  return true;
}
