// The visual-styles provider: registered as a module of the kernel's table.
#include "platform/os/gdi/VisualStyles.h"

#include <mutex>
#include <set>

#include "platform/os/kernel/Kernel.h"

namespace {

constexpr const char* kModule = "uxtheme.dll";

struct Installed {
  std::mutex mutex;
  bool present = false;
  TVisualStylesProvider provider;
};

Installed& installed() {
  static Installed i;
  return i;
}

TVisualStylesProvider Current() {
  Installed& i = installed();
  std::lock_guard lock(i.mutex);
  return i.present ? i.provider : TVisualStylesProvider{};
}

// Through the generic function type, which converts to and from any other without a warning.
template <class F>
FARPROC Export(F f) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(f));
}

// The entries without a provider member: bound by name, never called through this signature.
HRESULT NotImplementedEntry() { return E_NOTIMPL; }

}  // namespace

const char* const kVisualStyleEntries[kVisualStyleEntryCount] = {"OpenThemeData",
                                                                 "CloseThemeData",
                                                                 "DrawThemeBackground",
                                                                 "DrawThemeText",
                                                                 "GetThemeBackgroundContentRect",
                                                                 "GetThemeBackgroundExtent",
                                                                 "GetThemePartSize",
                                                                 "GetThemeTextExtent",
                                                                 "GetThemeTextMetrics",
                                                                 "GetThemeBackgroundRegion",
                                                                 "HitTestThemeBackground",
                                                                 "DrawThemeEdge",
                                                                 "DrawThemeIcon",
                                                                 "IsThemePartDefined",
                                                                 "IsThemeBackgroundPartiallyTransparent",
                                                                 "GetThemeColor",
                                                                 "GetThemeMetric",
                                                                 "GetThemeString",
                                                                 "GetThemeBool",
                                                                 "GetThemeInt",
                                                                 "GetThemeEnumValue",
                                                                 "GetThemePosition",
                                                                 "GetThemeFont",
                                                                 "GetThemeRect",
                                                                 "GetThemeMargins",
                                                                 "GetThemeIntList",
                                                                 "GetThemePropertyOrigin",
                                                                 "SetWindowTheme",
                                                                 "GetThemeFilename",
                                                                 "GetThemeSysColor",
                                                                 "GetThemeSysColorBrush",
                                                                 "GetThemeSysBool",
                                                                 "GetThemeSysSize",
                                                                 "GetThemeSysFont",
                                                                 "GetThemeSysString",
                                                                 "GetThemeSysInt",
                                                                 "IsThemeActive",
                                                                 "IsAppThemed",
                                                                 "GetWindowTheme",
                                                                 "EnableThemeDialogTexture",
                                                                 "IsThemeDialogTextureEnabled",
                                                                 "GetThemeAppProperties",
                                                                 "SetThemeAppProperties",
                                                                 "GetCurrentThemeName",
                                                                 "GetThemeDocumentationProperty",
                                                                 "DrawThemeParentBackground",
                                                                 "EnableTheming"};

void InstallVisualStylesProvider(const TVisualStylesProvider& p) {
  {
    Installed& i = installed();
    std::lock_guard lock(i.mutex);
    i.provider = p;
    i.present = true;
  }
  std::map<AnsiString, FARPROC> exports;
  auto add = [&](const char* name, FARPROC f) {
    if (f) exports[name] = f;
  };
  add("OpenThemeData", Export(p.OpenThemeData));
  add("CloseThemeData", Export(p.CloseThemeData));
  add("DrawThemeBackground", Export(p.DrawThemeBackground));
  add("DrawThemeText", Export(p.DrawThemeText));
  add("GetThemePartSize", Export(p.GetThemePartSize));
  add("GetThemeBackgroundRegion", Export(p.GetThemeBackgroundRegion));
  add("GetThemeSysColor", Export(p.GetThemeSysColor));
  add("IsAppThemed", Export(p.IsAppThemed));
  add("IsThemeActive", Export(p.IsThemeActive));
  // A member the provider left empty stays unexported; the entries without a member get the stub.
  static const std::set<AnsiString> members = {
      "OpenThemeData",    "CloseThemeData",   "DrawThemeBackground",
      "DrawThemeText",    "GetThemePartSize", "GetThemeBackgroundRegion",
      "GetThemeSysColor", "IsAppThemed",      "IsThemeActive"};
  for (int i = 0; i < kVisualStyleEntryCount; ++i)
    if (!members.count(kVisualStyleEntries[i]))
      exports[kVisualStyleEntries[i]] = Export(&NotImplementedEntry);
  RegisterModule(kModule, std::move(exports));
}

void RemoveVisualStylesProvider() {
  {
    Installed& i = installed();
    std::lock_guard lock(i.mutex);
    i.present = false;
  }
  UnregisterModule(kModule);
}

HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList) {
  auto p = Current();
  return p.OpenThemeData ? p.OpenThemeData(hwnd, classList) : nullptr;
}

HRESULT CloseThemeData(HTHEME theme) {
  auto p = Current();
  return p.CloseThemeData ? p.CloseThemeData(theme) : E_FAIL;
}

HRESULT DrawThemeBackground(HTHEME theme, HDC hdc, int part, int state, const RECT* rc, const RECT* clip) {
  auto p = Current();
  return p.DrawThemeBackground ? p.DrawThemeBackground(theme, hdc, part, state, rc, clip) : E_FAIL;
}

HRESULT DrawThemeText(HTHEME theme, HDC hdc, int part, int state, LPCWSTR text, int count, DWORD flags,
                      DWORD flags2, const RECT* rc) {
  auto p = Current();
  return p.DrawThemeText ? p.DrawThemeText(theme, hdc, part, state, text, count, flags, flags2, rc) : E_FAIL;
}

HRESULT GetThemePartSize(HTHEME theme, HDC hdc, int part, int state, const RECT* rc, THEMESIZE size,
                         SIZE* out) {
  auto p = Current();
  return p.GetThemePartSize ? p.GetThemePartSize(theme, hdc, part, state, rc, size, out) : E_FAIL;
}

HRESULT GetThemeBackgroundRegion(HTHEME theme, HDC hdc, int part, int state, const RECT* rc, HRGN* region) {
  auto p = Current();
  return p.GetThemeBackgroundRegion ? p.GetThemeBackgroundRegion(theme, hdc, part, state, rc, region)
                                    : E_FAIL;
}

COLORREF GetThemeSysColor(HTHEME theme, int colorId) {
  auto p = Current();
  return p.GetThemeSysColor ? p.GetThemeSysColor(theme, colorId) : GetSysColor(colorId);
}

BOOL IsAppThemed() {
  auto p = Current();
  return p.IsAppThemed ? p.IsAppThemed() : FALSE;
}

BOOL IsThemeActive() {
  auto p = Current();
  return p.IsThemeActive ? p.IsThemeActive() : FALSE;
}
