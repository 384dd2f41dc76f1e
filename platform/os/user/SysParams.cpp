// System parameters (work area, non-client metrics, keyboard and wheel settings) and the input
// method calls, which have nothing behind them here.
#include <cstring>
#include <map>

#include "platform/os/user/Internal.h"

using namespace user_internal;

namespace {

std::map<UINT, int>& Overrides() {
  static std::map<UINT, int> values;
  return values;
}

int Parameter(UINT action, int fallback) {
  auto it = Overrides().find(action);
  return it == Overrides().end() ? fallback : it->second;
}

LOGFONT SystemFont(bool bold) {
  LOGFONT lf;
  lf.lfHeight = -11;  // 8 points at 96 dpi
  lf.lfWeight = bold ? 700 : 400;
  lf.lfCharSet = 0;
  std::strcpy(lf.lfFaceName, "Tahoma");
  return lf;
}

}  // namespace

BOOL SystemParametersInfoA(UINT action, UINT, void* out, UINT) {
  if (!out) return FALSE;
  switch (action) {
    case SPI_GETWORKAREA:
      *static_cast<RECT*>(out) = WorkAreaBounds();
      return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICS*>(out);
      if (m->cbSize < sizeof(NONCLIENTMETRICS)) return FALSE;
      m->iBorderWidth = 1;
      m->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
      m->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
      m->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
      m->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
      m->lfCaptionFont = SystemFont(true);
      m->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
      m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
      m->lfSmCaptionFont = SystemFont(true);
      m->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
      m->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
      m->lfMenuFont = m->lfStatusFont = m->lfMessageFont = SystemFont(false);
      return TRUE;
    }
    case SPI_GETKEYBOARDDELAY:
      *static_cast<UINT*>(out) = UINT(Parameter(action, 1));
      return TRUE;
    case SPI_GETKEYBOARDSPEED:
      *static_cast<UINT*>(out) = UINT(Parameter(action, 31));
      return TRUE;
    case SPI_GETWHEELSCROLLLINES:
      *static_cast<UINT*>(out) = UINT(Parameter(action, 3));
      return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETBEEP:
      *static_cast<BOOL*>(out) = BOOL(Parameter(action, TRUE));
      return TRUE;
    default:
      return FALSE;
  }
}

void SetSystemParameter(UINT action, int value) { Overrides()[action] = value; }

HIMC ImmGetContext(HWND) { return nullptr; }
BOOL ImmReleaseContext(HWND, HIMC) { return TRUE; }
BOOL ImmSetCompositionFontA(HIMC, LOGFONTA*) { return FALSE; }
BOOL ImmSetCompositionWindow(HIMC, COMPOSITIONFORM*) { return FALSE; }
LONG ImmGetCompositionStringW(HIMC, DWORD, void*, DWORD) { return 0; }
