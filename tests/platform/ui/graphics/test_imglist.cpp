// Image lists: masked adding, normal and greyed drawing, and the stream form.
#include <gtest/gtest.h>

#include "platform/runtime/Streams.h"
#include "platform/ui/ImgList.h"
#include "tests/platform/ui/graphics/GraphicsTestUtil.h"

namespace {

// A strip of two 4 x 4 pictures: a red square on an olive key, then a blue one.
void Strip(TBitmap& b) {
  b.SetSize(8, 4);
  TCanvas* c = b.GetCanvas();
  c->GetBrush()->SetColor(clOlive);
  c->FillRect(Rect(0, 0, 8, 4));
  c->GetBrush()->SetColor(clRed);
  c->FillRect(Rect(1, 1, 3, 3));
  c->GetBrush()->SetColor(clBlue);
  c->FillRect(Rect(5, 1, 7, 3));
}

TEST(ImageList, AddsMaskedStripsAndDraws) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  TBitmap strip;
  Strip(strip);
  EXPECT_EQ(list.AddMasked(&strip, clOlive), 0);
  EXPECT_EQ(list.Count(), 2);
  TBitmap target;
  target.SetSize(10, 6);
  target.GetCanvas()->GetBrush()->SetColor(clWhite);
  target.GetCanvas()->FillRect(Rect(0, 0, 10, 6));
  list.Draw(target.GetCanvas(), 0, 0, 0);
  list.Draw(target.GetCanvas(), 5, 0, 1);
  EXPECT_EQ(At(target, 1, 1), clRed);
  EXPECT_EQ(At(target, 0, 0), clWhite);  // the olive key is transparent
  EXPECT_EQ(At(target, 6, 1), clBlue);
  // Greyed: the picture's dark pixels in the shadow colour, a highlight down and right.
  TBitmap grey;
  grey.SetSize(6, 6);
  grey.GetCanvas()->GetBrush()->SetColor(clBtnFace);
  grey.GetCanvas()->FillRect(Rect(0, 0, 6, 6));
  list.Draw(grey.GetCanvas(), 0, 0, 0, false);
  EXPECT_EQ(At(grey, 1, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(grey, 3, 3), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(At(grey, 0, 0), ColorToRGB(clBtnFace));
  // A mask bitmap: its white pixels are transparent.
  TBitmap mask;
  mask.SetSize(4, 4);
  mask.GetCanvas()->GetBrush()->SetColor(clWhite);
  mask.GetCanvas()->FillRect(Rect(0, 0, 4, 2));
  TBitmap image;
  image.SetSize(4, 4);
  image.GetCanvas()->GetBrush()->SetColor(clLime);
  image.GetCanvas()->FillRect(Rect(0, 0, 4, 4));
  int i = list.Add(&image, &mask);
  TBitmap out;
  list.GetBitmap(i, &out);
  EXPECT_EQ(At(out, 0, 0), clBlack);
  EXPECT_EQ(At(out, 0, 3), clLime);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_THROW(list.Delete(5), EInvalidOperation);
}

// A stream whose writes always fail.
class TFullStream : public TMemoryStream {
 public:
  int32_t Write(const void*, int32_t) override { return 0; }
};

TEST(ImageList, StreamFormAndItsFailures) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  TBitmap strip;
  Strip(strip);
  list.AddMasked(&strip, clOlive);
  TMemoryStream s;
  list.WriteData(&s);
  s.SetPosition(0);
  TImageList back(nullptr);
  back.ReadData(&s);
  EXPECT_EQ(back.Count(), 2);
  EXPECT_EQ(back.GetWidth(), 4);
  TBitmap a, b;
  list.GetBitmap(1, &a);
  back.GetBitmap(1, &b);
  EXPECT_EQ(At(a, 6 - 4, 1), At(b, 6 - 4, 1));
  // A cut stream fails with the fixed message and leaves the list as it was.
  TMemoryStream cut;
  cut.WriteBuffer(s.Memory(), int32_t(s.GetSize() / 2));
  cut.SetPosition(0);
  try {
    back.ReadData(&cut);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, "Failed to read ImageList data from stream");
  }
  EXPECT_EQ(back.Count(), 2);
  TFullStream full;
  try {
    list.WriteData(&full);
    FAIL();
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message, "Failed to write ImageList data to stream");
  }
}

}  // namespace
