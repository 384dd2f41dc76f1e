// The front panel of the instrument widgets on the desktop driver: a real system window shows it,
// takes clicks, a wheel turn and typed keys, and shows exactly what the window manager drew.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/Desktop.h"
#include "platform/display/Display.h"
#include "tests/support/DesktopTest.h"
#include "tests/support/TestOutput.h"
#include "tests/widgets/panel/FrontPanel.h"

namespace {

void PanelTurn() { Application->ProcessMessages(); }

bool PanelClick(TControl* c, int x, int y) {
  const TPoint at = c->ClientToScreen({x, y});
  return Shell("xdotool mousemove " + std::to_string(at.X) + " " + std::to_string(at.Y) + " click 1");
}

TEST(WidgetsPanelDesktop, TheFrontPanelTakesClicksTheWheelAndKeysInASystemWindow) {
  PL_REQUIRE_DESKTOP();
  ASSERT_EQ(StartDisplay(TDisplayKind::Desktop), TDisplayKind::Desktop);
  Application->Initialize();
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetBounds(120, 100, 100, 100);
  form->SetClientWidth(460);
  form->SetClientHeight(260);
  front_panel::TFrontPanel p;
  front_panel::BuildFrontPanel(form, p);
  form->Show();
  PumpFor(PanelTurn, 500);
  auto* desktop = static_cast<TDesktopDisplay*>(GetDisplayDriver());
  EXPECT_NE(desktop->SystemWindow(form->Handle()), nullptr);

  // The switch turns the output on.
  ASSERT_TRUE(PanelClick(p.Output, 12, 12));
  EXPECT_TRUE(PumpUntil(PanelTurn, [&] { return p.OutputLamp->GetActive(); }));

  // A value typed into the entry reaches the knob and both displays.
  ASSERT_TRUE(PanelClick(p.Entry, 20, 10));
  EXPECT_TRUE(PumpUntil(PanelTurn, [&] { return p.Entry->Focused(); }));
  ASSERT_TRUE(Shell("xdotool key ctrl+a type 7.5"));
  ASSERT_TRUE(Shell("xdotool key Return"));
  EXPECT_TRUE(PumpUntil(PanelTurn, [&] { return p.Knob->GetPosition() == 7.5; }));
  EXPECT_EQ(p.SetDisplay->GetValue(), 7.5);
  EXPECT_EQ(p.OutDisplay->GetValue(), 7.5);

  // A click gives the knob the focus (and does not turn it); one notch of the wheel is one step up.
  const TPoint c = p.Knob->LastCenter();
  ASSERT_TRUE(PanelClick(p.Knob, c.X, c.Y - 10));
  EXPECT_TRUE(PumpUntil(PanelTurn, [&] { return p.Knob->Focused(); }));
  EXPECT_EQ(p.Knob->GetPosition(), 7.5);
  ASSERT_TRUE(Shell("xdotool click 4"));
  EXPECT_TRUE(PumpUntil(PanelTurn, [&] { return p.Knob->GetPosition() == 8.0; }));
  EXPECT_EQ(p.Entry->GetEditText(), "8.00V");

  // Current mode from the radio group lights the second lamp.
  const TPoint current = p.Mode->ItemCenter(1);
  ASSERT_TRUE(PanelClick(p.Mode, current.X + 15, current.Y));
  EXPECT_TRUE(PumpUntil(PanelTurn, [&] { return p.CurrentLamp->GetActive(); }));
  ASSERT_TRUE(PanelClick(p.KeyLock, 6, 8));
  EXPECT_TRUE(PumpUntil(PanelTurn, [&] { return p.KeyLock->GetChecked(); }));
  EXPECT_FALSE(p.Knob->GetUseKeyboard());
  PumpFor(PanelTurn, 300);

  EXPECT_EQ(ScreenDifferences(form->Handle()), 0) << "the screen shows what the window manager drew";
  SaveWindowPng(form->Handle(), OutputPath("widgets-desktop-front-panel.png"));
  form->Free();
  StopDisplay();
}

}  // namespace
