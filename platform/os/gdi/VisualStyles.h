// The visual-styles interface: never active on this platform, but a provider can be installed
// (tests do) as the module "uxtheme.dll", whose entry points code finds by name through
// LoadLibrary and GetProcAddress, and which the direct calls below also use.
#pragma once

#include "platform/os/gdi/Gdi.h"

struct HWND__;
using HWND = HWND__*;
using HTHEME = void*;

enum THEMESIZE { TS_MIN = 0, TS_TRUE = 1, TS_DRAW = 2 };

// The entry points the controls call, with the original interface's signatures.
struct TVisualStylesProvider {
  HTHEME (*OpenThemeData)(HWND hwnd, LPCWSTR classList) = nullptr;
  HRESULT (*CloseThemeData)(HTHEME theme) = nullptr;
  HRESULT (*DrawThemeBackground)
  (HTHEME theme, HDC hdc, int part, int state, const RECT* rc, const RECT* clip) = nullptr;
  HRESULT (*DrawThemeText)
  (HTHEME theme, HDC hdc, int part, int state, LPCWSTR text, int count, DWORD flags, DWORD flags2,
   const RECT* rc) = nullptr;
  HRESULT (*GetThemePartSize)
  (HTHEME theme, HDC hdc, int part, int state, const RECT* rc, THEMESIZE size, SIZE* out) = nullptr;
  HRESULT (*GetThemeBackgroundRegion)
  (HTHEME theme, HDC hdc, int part, int state, const RECT* rc, HRGN* region) = nullptr;
  COLORREF (*GetThemeSysColor)(HTHEME theme, int colorId) = nullptr;
  BOOL (*IsAppThemed)() = nullptr;
  BOOL (*IsThemeActive)() = nullptr;
};

// Every entry point of the visual-styles library that code binds by name, in the order of the
// fuller binding.  A provider's module exports the members it fills in and every entry without a
// member above; those answer E_NOTIMPL and are never called by the controls here (they bind them
// for completeness).
extern const char* const kVisualStyleEntries[];
constexpr int kVisualStyleEntryCount = 47;

// Registers the provider as "uxtheme.dll" (replacing one installed before); Remove takes it away.
void InstallVisualStylesProvider(const TVisualStylesProvider& provider);
void RemoveVisualStylesProvider();

// Direct calls: through the installed provider; without one, no theme opens and styles are off.
HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList);
HRESULT CloseThemeData(HTHEME theme);
HRESULT DrawThemeBackground(HTHEME theme, HDC hdc, int part, int state, const RECT* rc, const RECT* clip);
HRESULT DrawThemeText(HTHEME theme, HDC hdc, int part, int state, LPCWSTR text, int count, DWORD flags,
                      DWORD flags2, const RECT* rc);
HRESULT GetThemePartSize(HTHEME theme, HDC hdc, int part, int state, const RECT* rc, THEMESIZE size,
                         SIZE* out);
HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC hdc, int part, int state, const RECT* rc, HRGN* region);
// Without a provider: the fixed system colour.
COLORREF GetThemeSysColor(HTHEME theme, int colorId);
BOOL IsAppThemed();
BOOL IsThemeActive();
