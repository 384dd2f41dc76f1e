// A form with lamps, a switch, a numeric entry, a check box and a radio group, saved for people
// to look at.
#include "tests/support/TestOutput.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iAnalogOutput.h"
#include "widgets/iCheckBox.h"
#include "widgets/iLedRectangle.h"
#include "widgets/iRadioGroup.h"
#include "widgets/iSwitchToggle.h"

namespace widgets_test {
namespace {

using Gallery = ui_test::UiTest;

TEST_F(Gallery, SwitchesAndEntriesScreenshot) {
  TForm* f = NewForm(330, 170);
  f->SetCaption("Switches and entries");
  auto* rx = ui_test::Make<TiLedRectangle>(f, f, "Rx", Rect(12, 12, 29, 21));
  rx->SetActive(true);
  auto* tx = ui_test::Make<TiLedRectangle>(f, f, "Tx", Rect(36, 12, 53, 21));
  tx->SetActiveColor(clRed);
  auto* label = ui_test::Make<TiLedRectangle>(f, f, "Out", Rect(12, 30, 82, 50));
  label->SetCenterLabelText("OUTPUT");
  label->SetActive(true);
  auto* sw = ui_test::Make<TiSwitchToggle>(f, f, "Sw", Rect(12, 60, 37, 110));
  sw->SetActive(true);
  auto* sh = ui_test::Make<TiSwitchToggle>(f, f, "Sh", Rect(50, 60, 75, 110));
  sh->SetSwitchOrientation(ioHorizontal);
  auto* ao = ui_test::Make<TiAnalogOutput>(f, f, "Step", Rect(100, 12, 190, 33));
  ao->SetPrecision(2);
  ao->SetUnitsText("V");
  ao->SetValue(1.5);
  auto* cb = ui_test::Make<TiCheckBox>(f, f, "Log", Rect(100, 45, 197, 62));
  cb->SetCaption("Logging");
  cb->SetChecked(true);
  auto* rg = ui_test::Make<TiRadioGroup>(f, f, "Mode", Rect(100, 70, 310, 160));
  rg->SetCaption("Mode");
  for (const char* s : {"Voltage", "Current", "Power", "Resistance", "Off"}) rg->GetItems()->Add(s);
  rg->SetColumns(2);
  rg->SetItemIndex(3);
  ShowForm(f);
  ao->SetFocus();
  ui_test::Pump();
  EXPECT_TRUE(SaveWindowPng(f->GetHandle(), OutputPath("widgets_switches_entry.png")));
  EXPECT_EQ(ScreenPixel(At(rx, 10, 5)), 0x00FF00u);
  EXPECT_EQ(ScreenPixel(At(tx, 10, 5)), 0x550000u) << "red dimmed by 3";
}

}  // namespace
}  // namespace widgets_test
