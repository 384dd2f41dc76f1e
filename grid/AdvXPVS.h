// The grid's binding of the visual-styles library: the library is bound by name once and its
// entry points kept for the painters of check boxes, radio buttons and buttons and for the editors.
// On this platform the library exists only while a provider is installed (tests install one), so
// with none bound every themed look counts as off.
//
// Thread contract: UI thread only.
#pragma once

#include "platform/os/gdi/VisualStyles.h"

// The entry points the grid calls; all nil while the library is not bound.
struct TAdvVisualStyles {
  HTHEME (*OpenThemeData)(HWND, LPCWSTR) = nullptr;
  HRESULT (*CloseThemeData)(HTHEME) = nullptr;
  HRESULT (*DrawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
  BOOL (*IsThemeActive)() = nullptr;
};

// Binds the library on the first call of a pair (a count keeps later calls from binding again);
// a library that lacks any of the entries counts as absent.  Unbind frees it on the last call.
void BindVisualStyles();
void UnbindVisualStyles();
// The bound entry points (all nil when the library is absent).
const TAdvVisualStyles& AdvVisualStyles();
// The library is bound and reports its themes active.
bool AdvThemesActive();
