#include "platform/display/Display.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/display/Desktop.h"
#include "platform/display/Headless.h"
#include "platform/os/user/User.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Threads.h"

namespace {

const char* Env(const char* name) {
  const char* v = std::getenv(name);
  return v && *v ? v : nullptr;
}

TSize HeadlessSize() {
  TSize size{1024, 768};
  if (const char* v = Env("PL_HEADLESS_SIZE")) {
    AnsiString text = v;
    size_t x = text.find('x');
    int32_t w = 0, h = 0;
    if (x != AnsiString::npos && TryStrToInt(text.substr(0, x), w) && TryStrToInt(text.substr(x + 1), h) &&
        w > 0 && h > 0 && w <= 16384 && h <= 16384)
      size = {w, h};
  }
  return size;
}

bool SaveSurfacePng(const TSurface* surface, const AnsiString& fileName) {
  if (!surface || surface->Empty()) return false;
  HDC dc = CreateSurfaceDC(const_cast<TSurface*>(surface));
  bool ok = SaveDCToPng(dc, fileName) != FALSE;
  DeleteDC(dc);
  return ok;
}

// Ctrl+C, a kill from a script, the terminal hanging up: the windows close through their own
// closing, as the user would close them, so the program saves what it saves on close.  A signal
// can only write to a pipe; a watching thread hands the request to the main thread.  The first
// signal resets the handler, so a second one ends a program that does not close.
int displayTerminatePipe[2] = {-1, -1};

void DisplayOnTerminateSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] ssize_t n = ::write(displayTerminatePipe[1], &byte, 1);
  errno = saved;
}

void WatchTerminateSignals() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (::pipe2(displayTerminatePipe, O_CLOEXEC) != 0) return;
    std::thread([] {
      char byte;
      for (;;) {
        ssize_t n = ::read(displayTerminatePipe[0], &byte, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        TThread::Queue(nullptr, [] { InputCloseAllWindows(); });
      }
    }).detach();
    struct sigaction action {};
    action.sa_handler = DisplayOnTerminateSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
  });
}

}  // namespace

TDisplayKind ChooseDisplayKind() {
  if (const char* v = Env("PL_DISPLAY")) {
    if (std::strcmp(v, "headless") == 0) return TDisplayKind::Headless;
    if (std::strcmp(v, "desktop") == 0) return TDisplayKind::Desktop;
  }
  return Env("DISPLAY") || Env("WAYLAND_DISPLAY") ? TDisplayKind::Desktop : TDisplayKind::Headless;
}

TDisplayKind StartDisplay() { return StartDisplay(ChooseDisplayKind()); }

TDisplayKind StartDisplay(TDisplayKind kind) {
  WatchTerminateSignals();
  if (kind == TDisplayKind::Desktop) {
    auto desktop = std::make_unique<TDesktopDisplay>();
    if (desktop->Start()) {
      SetDisplayDriver(std::move(desktop));
      return TDisplayKind::Desktop;
    }
  }
  SetDisplayDriver(std::make_unique<THeadlessDisplay>(HeadlessSize()));
  return TDisplayKind::Headless;
}

void StopDisplay() { SetDisplayDriver(nullptr); }

bool SaveWindowPng(HWND hwnd, const AnsiString& fileName) {
  return SaveSurfacePng(TopLevelSurface(hwnd), fileName);
}

bool SaveScreenPng(const AnsiString& fileName) { return SaveSurfacePng(&ComposeScreen(), fileName); }
