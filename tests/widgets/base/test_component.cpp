// The base control: repaint kinds, the update lock, the frame-rate gate on the monotonic clock
// with its flush, the error display, the private timer and the input guard.
#include "tests/widgets/WidgetTestUtil.h"

namespace widgets_test {
namespace {

using ui_test::UiTest;

class Component : public UiTest {
 protected:
  TProbe* NewProbe(TForm** formOut = nullptr) {
    TForm* f = NewForm(200, 120);
    auto* p = ui_test::Make<TProbe>(f, f, "P", Rect(10, 10, 110, 60));
    ShowForm(f);
    p->Invalidations = 0;
    if (formOut) *formOut = f;
    return p;
  }
};

TEST_F(Component, RepaintKindsAndTheUpdateLock) {
  TProbe* p = NewProbe();
  p->ClearBackgroundDirty();
  p->RequestRepaintOfKind(2);
  EXPECT_EQ(p->Invalidations, 0);
  EXPECT_FALSE(p->BackgroundDirty()) << "kind 2 marks nothing";
  p->RequestRepaintOfKind(0);
  EXPECT_EQ(p->Invalidations, 1);
  EXPECT_FALSE(p->BackgroundDirty());
  p->RequestRepaintOfKind(1);
  EXPECT_EQ(p->Invalidations, 2);
  EXPECT_TRUE(p->BackgroundDirty());

  p->BeginUpdate();
  p->BeginUpdate();
  p->RequestRepaint();
  p->RequestBackgroundRepaint();
  EXPECT_EQ(p->Invalidations, 2);
  p->EndUpdate();  // a flag: one EndUpdate unlocks
  EXPECT_FALSE(p->UpdateLocked());
  EXPECT_EQ(p->Invalidations, 3) << "both pending kinds flush as one repaint";
  p->EndUpdate();
  EXPECT_EQ(p->Invalidations, 3) << "nothing pending, nothing repainted";

  // Typed setters compare first.
  int32_t field = 4;
  p->SetIntProperty(4, field, 0);
  EXPECT_EQ(p->Invalidations, 3);
  p->SetIntProperty(5, field, 0);
  EXPECT_EQ(p->Invalidations, 4);
}

TEST_F(Component, FrameRateGateHoldsBackThenFlushesOnceTheIntervalPassed) {
  TProbe* p = NewProbe();
  p->SetUpdateFrameRate(60);
  p->SetAutoFrameRate(true);  // itself a request
  clock_.Advance(100);
  p->Invalidations = 0;
  p->RequestRepaint();
  EXPECT_EQ(p->Invalidations, 1) << "the first change shows at once";
  clock_.Advance(5);
  p->RequestRepaint();
  EXPECT_EQ(p->Invalidations, 1);
  EXPECT_TRUE(p->RepaintPending());
  clock_.Advance(5);
  ui_test::Pump();
  EXPECT_EQ(p->Invalidations, 1) << "still inside the frame";
  clock_.Advance(20);
  ui_test::Pump();
  EXPECT_EQ(p->Invalidations, 2) << "held-back repaint shown without a further request";
  EXPECT_FALSE(p->RepaintPending());

  // A wall clock set back does not stall the gate: it runs on monotonic ticks.
  clock_.SetDateTime(clock_.LocalNow() - 1.0 / 24);
  clock_.Advance(50);
  p->RequestRepaint();
  EXPECT_EQ(p->Invalidations, 3);

  // Switching the gate off while locked unlocks and flushes.
  p->BeginUpdate();
  p->RequestRepaint();
  p->SetAutoFrameRate(false);
  EXPECT_FALSE(p->UpdateLocked());
  EXPECT_EQ(p->Invalidations, 4);

  // Rate 0: every request repaints.
  p->SetAutoFrameRate(true);
  p->SetUpdateFrameRate(0);
  const int before = p->Invalidations;
  p->RequestRepaint();
  p->RequestRepaint();
  EXPECT_EQ(p->Invalidations, before + 2);
}

TEST_F(Component, PaintFailureShowsItsMessageWhiteOnBlackUntilAPaintSucceeds) {
  TProbe* p = NewProbe();
  p->Failure = "Division by zero";
  p->InvalidateNow();
  ui_test::Pump();
  EXPECT_EQ(ScreenPixel(At(p, 95, 45)), 0u) << "black client area";
  int bright = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 60; ++x) bright += (ScreenPixel(At(p, x, y)) & 0xFF) > 0xC0;
  EXPECT_GT(bright, 10) << "the message in white at the top left";
  p->Failure.clear();
  p->InvalidateNow();
  ui_test::Pump();
  EXPECT_EQ(ScreenPixel(At(p, 95, 45)), ScreenRgb(clLime));
}

TEST_F(Component, MetafilePaintingLeavesCachedDrawingAsItWas) {
  TProbe* p = NewProbe();
  TMetafile mf;
  mf.SetWidth(p->Width());
  mf.SetHeight(p->Height());
  {
    TMetafileCanvas mc(&mf, nullptr);
    p->PaintTo(mc.GetHandle(), 0, 0);
  }
  EXPECT_TRUE(p->GetCachedDrawing());
  EXPECT_GE(p->Paints, 1);
}

TEST_F(Component, PrivateTimerFirstDelayThenInterval) {
  TProbe* p = NewProbe();
  int ticks = 0;
  p->OnTimer = TNotifyEvent::Lambda([&](TObject*) { ++ticks; });
  p->StartTimer(0, 0);
  EXPECT_FALSE(p->TimerRunning());
  p->StartTimer(500, 100);
  p->StartTimer(10, 10);  // running: changes nothing
  clock_.Advance(499);
  ui_test::Pump();
  EXPECT_EQ(ticks, 0);
  clock_.Advance(1);
  ui_test::Pump();
  EXPECT_EQ(ticks, 1);
  clock_.Advance(100);
  ui_test::Pump();
  EXPECT_EQ(ticks, 2);
  p->StopTimer();
  clock_.Advance(1000);
  ui_test::Pump();
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(p->TimerRunning());
}

class TThrowingProbe : public TProbe {
 public:
  using TProbe::TProbe;
  bool SawUserInput = false;

 protected:
  void HandleMouseDown(TMouseButton, TShiftState, int32_t, int32_t) override {
    SawUserInput = InsideUserInput();
    throw Exception("refused");
  }
  void HandleKeyDown(WORD&, TShiftState) override { throw Exception("refused"); }
};

TEST_F(Component, ButtonAndKeyExceptionsAreSwallowedAndInputIsFlagged) {
  TForm* f = NewForm(200, 120);
  auto* p = ui_test::Make<TThrowingProbe>(f, f, "T", Rect(10, 10, 110, 60));
  p->SetTabStop(true);
  ShowForm(f);
  ui_test::Press(At(p, 20, 20));
  ui_test::Release(At(p, 20, 20));
  EXPECT_TRUE(p->SawUserInput);
  EXPECT_FALSE(p->InsideUserInput());
  p->SetFocus();
  ui_test::Pump();
  EXPECT_TRUE(p->HasFocus());
  ui_test::Key(VK_DOWN);
  EXPECT_TRUE(boxes_.empty()) << "nothing reached the framework";
  EXPECT_EQ(p->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
}

}  // namespace
}  // namespace widgets_test
