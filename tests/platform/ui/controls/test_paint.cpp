// Painting: what an invalidated area repaints, children clipped out of their parent's paint,
// windowless controls on the parent's DC, PaintTo; and hints.
#include <functional>

#include "tests/platform/ui/controls/UiHarness.h"

namespace ui_test {
namespace {

uint32_t Pixel(TPoint screen) { return ComposeScreen().Row(screen.Y)[screen.X] & 0xFFFFFF; }
// The screen's 0x00RRGGBB of a colour.
uint32_t Rgb(TColor c) {
  COLORREF v = COLORREF(ColorToRGB(c));
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

// A form painting itself red, with a windowed child W (blue) and windowless G1 (green), G2
// (yellow).  The form notes whether G1's place was open to its paint.
struct TScene {
  TForm* F;
  TRecControl* W;
  TRecGraphic *G1, *G2;
  int FormPaints = 0;
  bool G1OpenToForm = false;
};

class Paint : public UiTest {
 protected:
  void Build(TScene& s) {
    s.F = NewForm(400, 300);
    s.W = Make<TRecControl>(s.F, s.F, "W", Bounds(10, 10, 100, 50));
    s.W->Fill = clBlue;
    s.G1 = Make<TRecGraphic>(s.F, s.F, "G1", Bounds(200, 10, 50, 50));
    s.G1->Fill = clLime;
    s.G2 = Make<TRecGraphic>(s.F, s.F, "G2", Bounds(200, 100, 50, 50));
    s.G2->Fill = clYellow;
    s.F->OnPaint = TNotifyEvent::Lambda([&s](TObject*) {
      ++s.FormPaints;
      TCanvas* c = s.F->GetCanvas();
      RECT g = s.G1->GetBoundsRect();
      s.G1OpenToForm = RectVisible(c->GetHandle(), &g);
      c->GetBrush()->SetColor(clRed);
      c->FillRect(s.F->GetClientRect());
    });
    ShowForm(s.F);
    Reset(s);
  }
  static void Reset(TScene& s) { s.FormPaints = s.W->Paints = s.G1->Paints = s.G2->Paints = 0; }
};

TEST_F(Paint, AnInvalidatedAreaRepaintsOnlyWhatLiesInItWithChildrenClipped) {
  TScene s;
  Build(s);
  EXPECT_EQ(Pixel(At(s.W, 50, 25)), Rgb(clBlue));
  EXPECT_EQ(Pixel(At(s.G1, 25, 25)), Rgb(clLime));
  EXPECT_EQ(Pixel(At(s.F, 150, 250)), Rgb(clRed));

  struct Case {
    const char* what;
    std::function<void()> invalidate;
    int form, w, g1, g2;
  } cases[] = {
      {"G1's area of the form",
       [&] {
         RECT r = Bounds(205, 15, 10, 10);
         InvalidateRect(s.F->Handle(), &r, TRUE);
       },
       0, 0, 1, 0},
      {"G2 by itself", [&] { s.G2->Invalidate(); }, 0, 0, 0, 1},
      {"the whole form", [&] { s.F->Invalidate(); }, 1, 0, 1, 1},
      {"W by itself", [&] { s.W->Invalidate(); }, 0, 1, 0, 0},
  };
  // An opaque windowless control covering all that is due leaves the form nothing to paint.
  for (const Case& c : cases) {
    Reset(s);
    c.invalidate();
    Pump();
    EXPECT_EQ(s.FormPaints, c.form) << c.what;
    EXPECT_EQ(s.W->Paints, c.w) << c.what;
    EXPECT_EQ(s.G1->Paints, c.g1) << c.what;
    EXPECT_EQ(s.G2->Paints, c.g2) << c.what;
  }
  EXPECT_FALSE(s.G1OpenToForm) << "the form paints around an opaque windowless child";
  EXPECT_EQ(Pixel(At(s.W, 50, 25)), Rgb(clBlue)) << "the form's paint never covers a child window";
  EXPECT_EQ(Pixel(At(s.G1, 25, 25)), Rgb(clLime));
  EXPECT_EQ(Pixel(At(s.G2, 1, 1)), Rgb(clYellow));

  Reset(s);
  s.G1->Repaint();
  EXPECT_EQ(s.G1->Paints, 1) << "an opaque windowless control repaints at once";
  EXPECT_EQ(s.G2->Paints + s.FormPaints, 0);
}

TEST_F(Paint, AWindowlessCanvasDrawsOnTheParentAtTheControlsOrigin) {
  TScene s;
  Build(s);
  TCanvas* c = s.G2->GetCanvas();
  c->GetBrush()->SetColor(clFuchsia);
  c->FillRect(Rect(-20, -20, 10, 10));  // clipped to the control
  EXPECT_EQ(Pixel(At(s.G2, 5, 5)), Rgb(clFuchsia));
  EXPECT_EQ(Pixel(At(s.G2, -2, -2)), Rgb(clRed));
  FreeDeviceContexts();
}

TEST_F(Paint, PaintToDrawsTheFormAndItsChildrenIntoAnyDC) {
  TScene s;
  Build(s);
  TBitmap b;
  b.SetSize(s.F->Width(), s.F->Height());
  s.F->PaintTo(b.GetCanvas()->GetHandle(), 0, 0);
  TPoint o = s.F->ClientOrigin();
  o = {o.X - s.F->Left(), o.Y - s.F->Top()};
  auto at = [&](TControl* c, int x, int y) {
    TPoint p = s.F->ScreenToClient(c->ClientToScreen({x, y}));
    return b.GetCanvas()->GetPixel(p.X + o.X, p.Y + o.Y);
  };
  EXPECT_EQ(at(s.W, 50, 25), clBlue);
  EXPECT_EQ(at(s.G1, 25, 25), clLime);
  EXPECT_EQ(at(s.F, 150, 250), clRed);
  EXPECT_NE(b.GetCanvas()->GetPixel(1, 1), clRed) << "the frame is drawn too";
}

TEST_F(Paint, HintsShowAfterThePauseAndGo) {
  TScene s;
  Build(s);
  s.W->SetHint("Short|The long hint");
  s.W->SetShowHint(true);
  std::vector<AnsiString> hints;
  Application->OnHint = TNotifyEvent::Lambda([&](TObject*) { hints.push_back(Application->GetHint()); });
  MoveTo(At(s.W, 20, 20));
  EXPECT_EQ(Application->GetHint(), "The long hint");
  EXPECT_TRUE(Application->HintWindow() == nullptr || !IsWindowVisible(Application->HintWindow()->Handle()));
  clock_.Advance(Application->HintPause + 10);
  Pump();
  THintWindow* hint = Application->HintWindow();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(IsWindowVisible(hint->Handle()));
  EXPECT_EQ(hint->GetCaption(), "Short");
  RECT r;
  GetWindowRect(hint->Handle(), &r);
  EXPECT_GT(r.Top, At(s.W, 20, 20).Y) << "below the mouse";
  clock_.Advance(Application->HintHidePause + 10);
  Pump();
  EXPECT_FALSE(IsWindowVisible(hint->Handle()));

  // A control may change the hint on its way; moving away takes the hint and the long text.
  Application->OnShowHint =
      TShowHintEvent::Lambda([](AnsiString& text, bool&, THintInfo&) { text = "Changed"; });
  MoveTo(At(s.G2, 5, 5));
  s.G2->SetHint("G2");
  s.G2->SetShowHint(true);
  MoveTo(At(s.G2, 6, 6));
  clock_.Advance(Application->HintPause + 10);
  Pump();
  EXPECT_TRUE(IsWindowVisible(hint->Handle()));
  EXPECT_EQ(hint->GetCaption(), "Changed");
  MoveTo(At(s.F, 350, 250));
  EXPECT_FALSE(IsWindowVisible(hint->Handle()));
  EXPECT_EQ(Application->GetHint(), "");
  EXPECT_EQ(hints.front(), "The long hint");
  Application->OnShowHint = nullptr;
  Application->OnHint = nullptr;
}

}  // namespace
}  // namespace ui_test
