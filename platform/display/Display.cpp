#include "platform/display/Display.h"

#include <cstdlib>
#include <cstring>

#include "platform/display/Desktop.h"
#include "platform/display/Headless.h"
#include "platform/os/user/User.h"
#include "platform/runtime/Strings.h"

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
