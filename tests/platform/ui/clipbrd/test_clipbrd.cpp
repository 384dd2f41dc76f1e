// The framework's clipboard: custom formats, both text encodings, pictures both ways and
// pastes of what is not there.
#include <gtest/gtest.h>

#include "platform/ui/Clipbrd.h"

namespace {

TEST(Clipbrd, CustomFormatsAndNestedOpen) {
  TClipboard c;
  UINT cells = RegisterClipboardFormat("Grid Cells Test");
  c.Open();
  c.Open();
  c.SetBuffer(cells, "a\0b\tc", 5);
  c.SetAsText("text too");  // the same outer Open: added, not replacing
  c.Close();
  EXPECT_FALSE(OpenClipboard(nullptr)) << "still open after the inner Close";
  c.Close();
  EXPECT_TRUE(c.HasFormat(cells));
  EXPECT_EQ(c.GetBuffer(cells), std::string("a\0b\tc", 5));
  EXPECT_EQ(c.GetAsText(), "text too");
  EXPECT_EQ(c.GetFormats(0), cells);
  c.SetAsText("alone");  // a new Open: replaces everything
  EXPECT_FALSE(c.HasFormat(cells));
  EXPECT_EQ(c.GetBuffer(cells), "") << "a missing format pastes as nothing";
  EXPECT_EQ(c.GetAsHandle(cells), nullptr);
}

TEST(Clipbrd, TextConvertsBetweenEncodings) {
  TClipboard c;
  c.SetAsWideText(u"\u20AC 5 \u00E9");
  EXPECT_EQ(c.GetAsText(), "\x80 5 \xE9") << "single-byte text in code page 1252";
  c.SetAsText("caf\xE9");
  EXPECT_EQ(c.GetAsWideText(), u"caf\u00E9");
  c.Clear();
  EXPECT_EQ(c.GetAsText(), "");
  EXPECT_FALSE(c.HasFormat(CF_TEXT));
}

TEST(Clipbrd, BitmapAndMetafileRoundTrips) {
  TClipboard c;
  TBitmap bmp;
  bmp.SetSize(6, 4);
  bmp.GetCanvas()->GetBrush()->SetColor(clLime);
  bmp.GetCanvas()->FillRect(TRect{0, 0, 6, 4});
  bmp.GetCanvas()->SetPixel(5, 3, clRed);
  c.Assign(&bmp);
  EXPECT_TRUE(c.HasFormat(CF_BITMAP));
  EXPECT_TRUE(c.HasFormat(CF_DIB)) << "a bitmap also offers a packed DIB";
  std::string dib = c.GetBuffer(CF_DIB);
  ASSERT_EQ(dib.size(), 40u + 6 * 4 * 4);
  TBitmap back;
  c.AssignTo(&back);
  EXPECT_EQ(back.GetWidth(), 6);
  EXPECT_EQ(back.GetCanvas()->GetPixel(5, 3), clRed);
  EXPECT_EQ(back.GetCanvas()->GetPixel(0, 0), clLime);

  // A DIB put there by someone else comes out as a bitmap.
  c.SetBuffer(CF_DIB, dib.data(), dib.size());
  TPicture pic;
  c.AssignTo(&pic);
  ASSERT_NE(pic.GetGraphic(), nullptr);
  EXPECT_EQ(pic.GetBitmap()->GetCanvas()->GetPixel(5, 3), clRed);

  TMetafile mf;
  mf.SetWidth(50);
  mf.SetHeight(40);
  {
    TMetafileCanvas canvas(&mf, nullptr);
    canvas.GetBrush()->SetColor(clBlue);
    canvas.FillRect(TRect{0, 0, 50, 40});
  }
  c.Assign(&mf);
  EXPECT_FALSE(c.HasFormat(CF_BITMAP));
  TMetafile mf2;
  c.AssignTo(&mf2);
  ASSERT_NE(mf2.GetHandle(), nullptr);
  TBitmap drawn;
  drawn.SetSize(50, 40);
  drawn.GetCanvas()->StretchDraw(TRect{0, 0, 50, 40}, &mf2);
  EXPECT_EQ(drawn.GetCanvas()->GetPixel(25, 20), clBlue);

  // Pastes of what is not there: empty results.
  c.SetAsText("no picture");
  c.AssignTo(&pic);
  EXPECT_EQ(pic.GetGraphic(), nullptr);
  c.AssignTo(&back);
  EXPECT_TRUE(back.GetEmpty());
  c.AssignTo(&mf2);
  EXPECT_EQ(mf2.GetHandle(), nullptr);
  std::string junk = "not a DIB";
  c.SetBuffer(CF_DIB, junk.data(), junk.size());
  c.AssignTo(&back);
  EXPECT_TRUE(back.GetEmpty()) << "a damaged DIB pastes as nothing";
}

}  // namespace
