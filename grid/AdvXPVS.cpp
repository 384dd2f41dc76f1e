#include "grid/AdvXPVS.h"

#include <cstring>

#include "platform/os/kernel/Kernel.h"

namespace {

struct TAdvVisualStylesBinding {
  int32_t Count = 0;
  HMODULE Library = nullptr;
  TAdvVisualStyles Entries;
};

TAdvVisualStylesBinding& Binding() {
  static TAdvVisualStylesBinding b;
  return b;
}

// The grid binds the library's full list except the two entries its own version did not have.
bool GridBindsEntry(const char* name) {
  return std::strcmp(name, "GetThemePartSize") != 0 && std::strcmp(name, "GetThemePropertyOrigin") != 0;
}

template <class F>
void Take(F& target, FARPROC f) {
  target = reinterpret_cast<F>(reinterpret_cast<void (*)()>(f));
}

}  // namespace

void BindVisualStyles() {
  TAdvVisualStylesBinding& b = Binding();
  if (b.Count++ > 0) return;
  HMODULE lib = LoadLibraryA("UXTHEME.DLL");
  if (!lib) return;
  // A library without one of the entries is treated as absent rather than stopping start-up.
  for (int i = 0; i < kVisualStyleEntryCount; ++i)
    if (GridBindsEntry(kVisualStyleEntries[i]) && !GetProcAddress(lib, kVisualStyleEntries[i])) {
      FreeLibrary(lib);
      return;
    }
  b.Library = lib;
  Take(b.Entries.OpenThemeData, GetProcAddress(lib, "OpenThemeData"));
  Take(b.Entries.CloseThemeData, GetProcAddress(lib, "CloseThemeData"));
  Take(b.Entries.DrawThemeBackground, GetProcAddress(lib, "DrawThemeBackground"));
  Take(b.Entries.IsThemeActive, GetProcAddress(lib, "IsThemeActive"));
}

void UnbindVisualStyles() {
  TAdvVisualStylesBinding& b = Binding();
  if (b.Count == 0 || --b.Count > 0) return;
  if (b.Library) FreeLibrary(b.Library);
  b.Library = nullptr;
  b.Entries = {};
}

const TAdvVisualStyles& AdvVisualStyles() { return Binding().Entries; }

bool AdvThemesActive() {
  const TAdvVisualStyles& e = AdvVisualStyles();
  return e.IsThemeActive && e.IsThemeActive();
}

// The grid's module binds the library when the program starts.
extern const bool pl_grid_visual_styles_bound;
const bool pl_grid_visual_styles_bound = (BindVisualStyles(), true);
