// A form on the desktop driver: a real system window shows it, takes a click and a key, and
// shows exactly what the window manager drew.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/display/Desktop.h"
#include "platform/display/Display.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "tests/support/ClosingForm.h"
#include "tests/support/DesktopTest.h"
#include "tests/support/TestOutput.h"

namespace {

// Takes the focus when pressed and notes clicks and typed characters.
class TTarget : public TCustomControl {
 public:
  explicit TTarget(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  int Clicks = 0;
  std::string Typed;
  void Click() override { ++Clicks; }

 protected:
  void MouseDown(TMouseButton, TShiftState, int32_t, int32_t) override { SetFocus(); }
  void KeyPress(char& Key) override { Typed += Key; }
  void Paint() override {
    GetCanvas()->GetBrush()->SetColor(clNavy);
    GetCanvas()->FillRect(GetClientRect());
  }
};

void Turn() { Application->ProcessMessages(); }

TEST(UiFormsDesktop, AFormShowsInASystemWindowAndTakesAClickAndAKey) {
  PL_REQUIRE_DESKTOP();
  ASSERT_EQ(StartDisplay(TDisplayKind::Desktop), TDisplayKind::Desktop);
  Application->Initialize();
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetCaption("Desktop form");
  form->SetBounds(120, 100, 320, 220);
  auto* panel = new TPanel(form);
  panel->SetAlign(alTop);
  panel->SetCaption("Panel");
  panel->SetParent(form);
  auto* target = new TTarget(form);
  target->SetBounds(40, 80, 120, 60);
  target->SetParent(form);
  form->Show();
  PumpFor(Turn, 500);
  auto* desktop = static_cast<TDesktopDisplay*>(GetDisplayDriver());
  EXPECT_NE(desktop->SystemWindow(form->Handle()), nullptr);

  TPoint at = target->ClientToScreen({60, 30});
  ASSERT_TRUE(Shell("xdotool mousemove " + std::to_string(at.X) + " " + std::to_string(at.Y) + " click 1"));
  EXPECT_TRUE(PumpUntil(Turn, [&] { return target->Clicks == 1; }));
  ASSERT_TRUE(Shell("xdotool key a"));
  EXPECT_TRUE(PumpUntil(Turn, [&] { return target->Typed == "a"; }));
  PumpFor(Turn, 200);

  EXPECT_EQ(ScreenDifferences(form->Handle()), 0) << "the screen shows what the window manager drew";
  SaveWindowPng(form->Handle(), OutputPath("ui-desktop-form.png"));
  form->Free();
  StopDisplay();
}

TEST(UiFormsDesktop, ATerminateSignalClosesTheWindowsThroughTheirOwnClosing) {
  PL_REQUIRE_DESKTOP();
  ASSERT_EQ(StartDisplay(TDisplayKind::Desktop), TDisplayKind::Desktop);
  Application->Initialize();
  auto* form = TCustomForm::CreateNew<TClosingForm>(Application);
  form->OnClose = TCloseEvent(form, &TClosingForm::Closing);
  form->SetBounds(100, 100, 200, 120);
  form->Show();
  PumpFor(Turn, 300);
  // As Ctrl+C in the terminal or a kill from a script: the program closes, not just dies.
  ASSERT_EQ(raise(SIGTERM), 0);
  EXPECT_TRUE(PumpUntil(Turn, [&] { return form->Closes == 1; }));
  EXPECT_FALSE(form->GetVisible());
  form->Free();
  StopDisplay();
}

}  // namespace
