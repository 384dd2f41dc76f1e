// Stored definitions: reading one raises no change event of any widget here, and the declared
// defaults decide what is written.
#include "platform/runtime/FormText.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iAnalogOutput.h"
#include "widgets/iCheckBox.h"
#include "widgets/iLedRectangle.h"
#include "widgets/iRadioGroup.h"
#include "widgets/iSwitchToggle.h"

namespace widgets_test {
namespace {

struct TEventCounter {
  int Count = 0;
  TNotifyEvent Notify() {
    return TNotifyEvent::Lambda([this](TObject*) { ++Count; });
  }
  TiPropertyChangedEvent Changed() {
    return TiPropertyChangedEvent::Lambda([this](TObject*, const AnsiString&) { ++Count; });
  }
};

TEST(Definitions, ReadingSetsValuesWithoutAnyChangeEvent) {
  TEventCounter n;
  TiCheckBox cb(nullptr);
  cb.OnChange = cb.OnChangeUser = n.Notify();
  cb.OnPropertyChanged = n.Changed();
  ReadComponentText("object C: TiCheckBox\n  Checked = True\n  Caption = 'Log'\nend\n", &cb);
  EXPECT_TRUE(cb.GetChecked());
  EXPECT_EQ(cb.Width(), 97) << "no resizing while reading";

  TiSwitchToggle sw(nullptr);
  sw.OnChange = sw.OnChangeUser = n.Notify();
  ReadComponentText("object S: TiSwitchToggle\n  Active = True\n  SwitchOrientation = ioHorizontal\nend\n",
                    &sw);
  EXPECT_TRUE(sw.GetActive());
  EXPECT_EQ(sw.Width(), 25) << "the stored sides are kept";

  TiLedRectangle led(nullptr);
  led.OnChange = n.Notify();
  ReadComponentText("object L: TiLedRectangle\n  Active = True\nend\n", &led);
  EXPECT_TRUE(led.GetActive());

  TiRadioGroup rg(nullptr);
  rg.OnChange = n.Notify();
  ReadComponentText("object R: TiRadioGroup\n  Items.Strings = (\n    'a'\n    'b')\n  ItemIndex = 1\nend\n",
                    &rg);
  EXPECT_EQ(rg.GetItemIndex(), 1);

  TiAnalogOutput ao(nullptr);
  ao.OnChange = ao.OnChangeUser = n.Notify();
  ao.OnBeforeChange = TOnBeforeChangeDouble::Lambda([&](TObject*, double, double&, bool&) { ++n.Count; });
  ReadComponentText("object A: TiAnalogOutput\n  Value = 2.5\n  Precision = 2\n  UnitsText = 'V'\nend\n",
                    &ao);
  EXPECT_DOUBLE_EQ(ao.GetValue(), 2.5);
  EXPECT_EQ(ao.GetEditText(), "2.50V");

  EXPECT_EQ(n.Count, 0);
}

TEST(Definitions, WrittenPropertiesFollowTheDeclaredDefaults) {
  TiCheckBox cb(nullptr);
  cb.SetName("C");
  const AnsiString c = WriteComponentText(&cb);
  EXPECT_NE(c.find("Checked = False"), AnsiString::npos) << c;
  EXPECT_EQ(c.find("Alignment"), AnsiString::npos) << c;

  TiAnalogOutput ao(nullptr);
  ao.SetName("A");
  ao.SetPrecision(3);
  ao.SetValue(1.5);
  const AnsiString a = WriteComponentText(&ao);
  EXPECT_NE(a.find("Value = 1.5"), AnsiString::npos) << a;
  EXPECT_NE(a.find("Precision = 3"), AnsiString::npos) << a;
  EXPECT_EQ(a.find("Alignment"), AnsiString::npos) << "taCenter is the declared default\n" << a;
}

}  // namespace
}  // namespace widgets_test
