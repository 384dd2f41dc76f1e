// Definitions of widgets that once wrote text reading back as something else.
#include "platform/runtime/FormText.h"
#include "platform/runtime/TypInfo.h"
#include "tests/platform/ui/controls/UiHarness.h"

namespace {

using WidgetDefinitionMends = ui_test::UiTest;

TEST_F(WidgetDefinitionMends, AFontNameThatEndsAtOnceKeepsTheFontsFace) {
  // A face name is kept up to its first NUL; one that is empty there changes nothing, rather than
  // leaving a nameless font that is written without a name and read back as the default face.
  TForm* a = NewForm();
  const AnsiString text =
      "object W: TForm\n  object L: TiLedRectangle\n    CenterLabelFont.Name = #0'Mono'\n  end\n"
      "  object E: TiAnalogOutput\n    Font.Name = 'DejaVu Sans'#0'x'\n  end\nend\n";
  ReadComponentText(text, a, "text");
  EXPECT_EQ(GetStrProp(a->FindComponent("L"), "CenterLabelFont.Name"), "MS Sans Serif");
  EXPECT_EQ(GetStrProp(a->FindComponent("E"), "Font.Name"), "DejaVu Sans");
  const AnsiString written = WriteComponentText(a);
  a->Free();
  TForm* b = NewForm();
  ReadComponentText(written, b, "written");
  EXPECT_EQ(WriteComponentText(b), written);
}

}  // namespace
