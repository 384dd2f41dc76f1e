// The framework's strings, the visual-styles entry points a provider exports, and the private
// message numbers.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/os/gdi/VisualStyles.h"
#include "platform/os/kernel/Kernel.h"
#include "platform/ui/Consts.h"
#include "platform/ui/Messages.h"

namespace {

TEST(Consts, StringTableAndButtonCaptions) {
  struct Case {
    UINT id;
    const char* text;
  } cases[] = {{65163, "Undo"},  {65165, "Cut"},    {65164, "Copy"},
               {65166, "Paste"}, {65167, "Delete"}, {65136, "Select All"}};
  for (const Case& c : cases) {
    char buffer[32];
    EXPECT_EQ(LoadString(nullptr, c.id, buffer, sizeof buffer), int(std::strlen(c.text))) << c.id;
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(FrameworkString(c.id), c.text);
  }
  EXPECT_STREQ(SHelpButton, "&Help");
  EXPECT_STREQ(SAbortButton, "Abort");
  EXPECT_EQ(WM_SKIN_TRAYCALLBACK, 0x56Cu);
  EXPECT_EQ(WM_HOOK_FREEEMPTY, 45279u);
}

HTHEME ConstsOpen(HWND, LPCWSTR) { return reinterpret_cast<HTHEME>(1); }

TEST(Consts, AProviderExportsEveryVisualStylesEntry) {
  TVisualStylesProvider p;
  p.OpenThemeData = ConstsOpen;
  InstallVisualStylesProvider(p);
  HMODULE m = LoadLibrary("UXTHEME.DLL");
  ASSERT_NE(m, nullptr);
  for (int i = 0; i < kVisualStyleEntryCount; ++i) {
    std::string name = kVisualStyleEntries[i];
    // The provider fills in OpenThemeData only: its other members stay unexported.
    bool leftEmpty = name == "CloseThemeData" || name == "DrawThemeBackground" || name == "DrawThemeText" ||
                     name == "GetThemePartSize" || name == "GetThemeBackgroundRegion" ||
                     name == "GetThemeSysColor" || name == "IsAppThemed" || name == "IsThemeActive";
    EXPECT_EQ(GetProcAddress(m, kVisualStyleEntries[i]) == nullptr, leftEmpty) << name;
  }
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(m, "OpenThemeData")),
            reinterpret_cast<void*>(&ConstsOpen));
  FreeLibrary(m);
  RemoveVisualStylesProvider();
  EXPECT_EQ(LoadLibrary("uxtheme.dll"), nullptr) << "no visual styles without a provider";
}

}  // namespace
