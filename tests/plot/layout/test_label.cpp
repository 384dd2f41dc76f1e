// Labels: published properties, metrics, text rectangles per alignment and orientation, drawing.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotLabel.h"
#include "tests/plot/support/PlotHostStub.h"
#include "tests/plot/support/PlotTestCanvas.h"

namespace {

struct LabelFixture : ::testing::Test {
  LabelFixture() {
    label = new TiPlotLabel(&host, h.OnRename, h.OnRemove, h.OnInsert, h.OnChange);
    plot_test::UseFixedFont(label->GetFont());
    cw = canvas.CharWidth(label->GetFont());
    lh = canvas.LineHeight(label->GetFont());
  }
  ~LabelFixture() override { TiPlotObject::FreeObject(label); }

  // Non-black pixels of the canvas inside and outside R.
  std::pair<int, int> Ink(const TRect& R) {
    int in = 0, out = 0;
    TCanvas* c = canvas.Canvas();
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 500; ++x)
        if ((c->GetPixel(x, y) & 0xFFFFFF) != 0)
          (x >= R.Left && x < R.Right && y >= R.Top && y < R.Bottom ? in : out)++;
    return {in, out};
  }
  void ClearCanvas() {
    canvas.Canvas()->GetBrush()->SetStyle(bsSolid);
    canvas.Canvas()->GetBrush()->SetColor(clBlack);
    canvas.Canvas()->FillRect(TRect{0, 0, 500, 200});
  }

  TPlotHostStub host;
  TPlotHandlerCounts h;
  TiPlotLabel* label = nullptr;
  plot_test::TPlotTestCanvas canvas;
  int32_t cw = 0, lh = 0;
};

TEST_F(LabelFixture, PublishesItsPropertiesAfterTheLayoutObjectsInOrder) {
  AnsiString names;
  for (const TPropInfo* p : GetPropList(TiPlotLabel::ClassInfo())) names += p->Name + " ";
  EXPECT_EQ(
      names,
      "Name Visible Enabled Layer PopupEnabled Horizontal ZOrder StartPercent StopPercent Caption Alignment "
      "Font MarginTop MarginBottom MarginLeft MarginRight ");
  TiPlotLabel fresh(&host, h.OnRename, h.OnRemove, h.OnInsert, h.OnChange);
  EXPECT_TRUE(fresh.GetHorizontal());
  EXPECT_EQ(fresh.GetCaption(), "");
  EXPECT_EQ(fresh.GetAlignment(), iahCenter);
  EXPECT_EQ(fresh.GetFont()->GetName(), "Arial");
  EXPECT_EQ(fresh.GetFont()->GetSize(), 14);
  EXPECT_TRUE(fresh.GetFont()->GetStyle().Contains(fsBold));
  EXPECT_EQ(fresh.GetFont()->GetColor(), clWhite);
  EXPECT_EQ(fresh.GetMarginBottom(), 0);
}

TEST_F(LabelFixture, SettersNotifyOnlyOnChange) {
  const int before = h.Change;
  label->SetCaption("Volts");
  label->SetCaption("Volts");
  label->SetAlignment(iahLeft);
  label->SetAlignment(iahLeft);
  label->SetMarginLeft(1.5);
  label->SetMarginLeft(1.5);
  EXPECT_EQ(h.Change - before, 3);
  label->GetFont()->SetColor(clRed);
  EXPECT_EQ(h.Change - before, 4);
}

TEST_F(LabelFixture, ThicknessIsTheTextHeightPlusMarginsInHeightsOfZero) {
  label->SetCaption("Untitled");
  EXPECT_EQ(label->RequiredThickness(canvas.Canvas()), lh);
  // A title with a bottom margin of 1 is one "0" taller than its text.
  label->SetMarginBottom(1);
  EXPECT_EQ(label->RequiredThickness(canvas.Canvas()), 2 * lh);
  // Margins round halves to even; several lines add their heights; vertical labels alike.
  label->SetMarginTop(0.5);
  label->SetCaption("Line 1\r\nLine 2");
  const int32_t top = int32_t(std::nearbyint(lh * 0.5));
  EXPECT_EQ(label->RequiredThickness(canvas.Canvas()), canvas.LinesHeight(label->GetFont(), 2) + top + lh);
  label->SetHorizontal(false);
  EXPECT_EQ(label->RequiredThickness(canvas.Canvas()), canvas.LinesHeight(label->GetFont(), 2) + top + lh);
  label->SetMarginLeft(2);
  label->SetMarginRight(0.25);
  label->CalcMetrics(canvas.Canvas());
  EXPECT_EQ(label->GetPixelsLeft(), 2 * cw);
  EXPECT_EQ(label->GetPixelsRight(), int32_t(std::nearbyint(cw * 0.25)));
  EXPECT_EQ(label->GetPixelsTop(), top);
}

TEST_F(LabelFixture, MarginsNoPixelCanHoldRaiseInsteadOfWrapping) {
  label->SetMarginTop(std::nan(""));
  EXPECT_THROW(label->RequiredThickness(canvas.Canvas()), EInvalidOp);
  label->SetMarginTop(1e12);
  EXPECT_THROW(label->RequiredThickness(canvas.Canvas()), EInvalidOp);
}

TEST_F(LabelFixture, HorizontalTextLiesInsideTheMarginsAlignedByFlags) {
  label->SetCaption("Title");
  label->SetMarginTop(1);
  label->SetMarginBottom(0.5);
  label->SetMarginLeft(2);
  label->SetMarginRight(3);
  label->SetLayoutRect(TRect{10, 20, 400, 100});
  label->CalcMetrics(canvas.Canvas());
  const int32_t bottom = int32_t(std::nearbyint(lh * 0.5));
  EXPECT_EQ(label->TextRect(canvas.Canvas()), (TRect{10 + 2 * cw, 20 + lh, 400 - 3 * cw, 100 - bottom}));
  const std::pair<TiAlignmentHorizontal, int32_t> flags[] = {
      {iahCenter, 0x12}, {iahLeft, 0x11}, {iahRight, 0x14}};
  for (auto [alignment, word] : flags) {
    label->SetAlignment(alignment);
    EXPECT_EQ(label->TextFlags(), word);
  }
  // Drawn left-aligned, the ink starts at the left margin and stays inside the text rectangle.
  label->SetAlignment(iahLeft);
  ClearCanvas();
  label->Draw(canvas.Canvas(), clBlack);
  const TRect r = label->TextRect(canvas.Canvas());
  auto [in, out] = Ink(r);
  EXPECT_GT(in, 0);
  EXPECT_EQ(out, 0);
  auto [leftHalf, rest] = Ink(TRect{r.Left, r.Top, r.Left + 5 * cw, r.Bottom});
  EXPECT_EQ(leftHalf, in);
  (void)rest;
}

TEST_F(LabelFixture, VerticalTextIsCentredAlongTheBandByAlignment) {
  label->SetCaption("ABCD");
  label->SetHorizontal(false);
  label->SetMarginTop(0.5);
  label->SetMarginBottom(0.25);
  label->SetMarginLeft(1);
  label->SetMarginRight(2);
  const int32_t top = int32_t(std::nearbyint(lh * 0.5)), bottom = int32_t(std::nearbyint(lh * 0.25));
  const int32_t thick = label->RequiredThickness(canvas.Canvas());
  label->SetLayoutRect(TRect{10, 20, 10 + thick, 180});
  const int32_t w = 4 * cw;
  struct Case {
    TiAlignmentHorizontal alignment;
    int32_t centre;
  };
  const Case cases[] = {{iahLeft, 180 - cw - w / 2}, {iahRight, 20 + 2 * cw + w / 2}, {iahCenter, 100}};
  for (const Case& c : cases) {
    label->SetAlignment(c.alignment);
    EXPECT_EQ(label->TextRect(canvas.Canvas()),
              (TRect{10 + top, c.centre - w / 2, 10 + thick - bottom, c.centre + w / 2}))
        << int(c.alignment);
  }
  // Left alignment reads bottom-up from one "0" above the band's bottom: all ink lies in the
  // lower part of the band, within the turned text's box.
  label->SetAlignment(iahLeft);
  ClearCanvas();
  label->Draw(canvas.Canvas(), clBlack);
  auto [in, out] = Ink(TRect{10, 180 - cw - w - 1, 10 + thick, 180 - cw + 1});
  EXPECT_GT(in, 0);
  EXPECT_EQ(out, 0);
}

TEST_F(LabelFixture, AnInvisibleLabelDrawsNothing) {
  label->SetCaption("Hidden");
  label->SetLayoutRect(TRect{0, 0, 500, 40});
  label->SetVisible(false);
  ClearCanvas();
  label->Draw(canvas.Canvas(), clBlack);
  EXPECT_EQ(Ink(TRect{0, 0, 0, 0}).second, 0);
}

}  // namespace
