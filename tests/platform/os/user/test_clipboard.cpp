// The clipboard: opening rules, text in both forms, registered formats and owned data.
#include <cstring>

#include "tests/platform/os/user/Harness.h"

using namespace user_test;

namespace {

class ClipboardTest : public UserTest {};

HGLOBAL Block(const void* bytes, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(h), bytes, size);
  GlobalUnlock(h);
  return h;
}

TEST_F(ClipboardTest, TextGoesInOneFormAndComesOutInBoth) {
  HWND w = MakeWindow(WS_POPUP, Bounds(0, 0, 10, 10));
  EXPECT_EQ(SetClipboardData(CF_TEXT, Block("x", 2)), nullptr) << "closed: refused";
  ASSERT_TRUE(OpenClipboard(w));
  EXPECT_FALSE(OpenClipboard(w)) << "open once at a time";
  EmptyClipboard();
  SetClipboardData(CF_TEXT, Block("caf\xE9", 5));
  CloseClipboard();
  EXPECT_EQ(GetClipboardOwner(), w);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr) << "closed: nothing to read";
  ASSERT_TRUE(OpenClipboard(nullptr));
  auto* wide = static_cast<const char16_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::u16string(wide), u"caf\u00E9");
  GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "caf\xE9");
  GlobalUnlock(GetClipboardData(CF_TEXT));
  CloseClipboard();
}

TEST_F(ClipboardTest, RegisteredFormatsAndEmptying) {
  UINT cells = RegisterClipboardFormat("Grid Cells");
  EXPECT_EQ(RegisterClipboardFormat("grid cells"), cells);
  EXPECT_GE(cells, 0xC000u);
  char name[32];
  EXPECT_EQ(GetClipboardFormatName(cells, name, sizeof name), 10);
  EXPECT_STREQ(name, "Grid Cells");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(cells, Block("abc", 3));
  SetClipboardData(CF_UNICODETEXT, Block(u"t", 4));
  EXPECT_EQ(EnumClipboardFormats(0), cells);
  EXPECT_EQ(EnumClipboardFormats(cells), UINT(CF_UNICODETEXT));
  EXPECT_EQ(GlobalSize(GetClipboardData(cells)), 3u);
  EmptyClipboard();
  EXPECT_EQ(CountClipboardFormats(), 0);
  EXPECT_FALSE(IsClipboardFormatAvailable(cells));
  CloseClipboard();
}

}  // namespace
