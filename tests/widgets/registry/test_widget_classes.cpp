// A definition naming the library's classes, with no form field for any of them, reads into the
// right classes.  This program names no widget in its own code (only the library is linked), so
// it also shows that the library's class registrations survive the link.
#include "platform/runtime/FormText.h"
#include "platform/runtime/TypInfo.h"
#include "tests/platform/ui/controls/UiHarness.h"

namespace {

using WidgetClasses = ui_test::UiTest;

// Each class with one stored property of its own that differs from its default.
struct TRegistryCase {
  const char* Name;
  const char* Class;
  const char* Property;
  const char* Text;  // the property's value as the definition states it
};
const TRegistryCase kRegistryCases[] = {
    {"Knob", "TiKnob", "KnobRadius", "25"},
    {"Digit", "TiSevenSegmentCharacter", "SegmentSize", "3"},
    {"Display", "TiSevenSegmentAnalog", "Precision", "3"},
    {"Lamp", "TiLedRectangle", "Active", "True"},
    {"Switch", "TiSwitchToggle", "Active", "True"},
    {"Edit", "TiEditCustom", "MaxLength", "7"},
    {"Entry", "TiAnalogOutput", "Precision", "4"},
    {"Check", "TiCheckBox", "Checked", "True"},
    {"Radio", "TiRadioGroup", "Columns", "2"},
    {"ColorDlg", "TiColorDialog", "Color", "clRed"},
    {"FontDlg", "TiFontDialog", "Font.Height", "-20"},
    {"OpenDlg", "TiOpenDialog", "FileName", "'run.txt'"},
    {"SaveDlg", "TiSaveDialog", "FileName", "'plot.bmp'"},
};

AnsiString RegistryDefinition() {
  AnsiString text = "object Panel: TForm\n";
  for (const auto& c : kRegistryCases)
    text += AnsiString("  object ") + c.Name + ": " + c.Class + "\n    " + c.Property + " = " + c.Text +
            "\n  end\n";
  return text + "end\n";
}

// The class of each named child and the value its property now has, as text.
void ExpectRegistryForm(TForm* f, const AnsiString& where) {
  for (const auto& c : kRegistryCases) {
    TComponent* child = f->FindComponent(c.Name);
    ASSERT_NE(child, nullptr) << where << ": " << c.Name;
    EXPECT_EQ(child->ClassName(), c.Class) << where;
  }
  EXPECT_EQ(GetOrdProp(f->FindComponent("Knob"), "KnobRadius"), 25) << where;
  EXPECT_EQ(GetOrdProp(f->FindComponent("Display"), "Precision"), 3) << where;
  EXPECT_EQ(GetOrdProp(f->FindComponent("Check"), "Checked"), 1) << where;
  EXPECT_EQ(GetOrdProp(f->FindComponent("Radio"), "Columns"), 2) << where;
  EXPECT_EQ(GetOrdProp(f->FindComponent("ColorDlg"), "Color"), clRed) << where;
  EXPECT_EQ(GetOrdProp(f->FindComponent("FontDlg"), "Font.Height"), -20) << where;
  EXPECT_EQ(GetStrProp(f->FindComponent("SaveDlg"), "FileName"), "plot.bmp") << where;
}

TEST_F(WidgetClasses, ADefinitionWithoutFieldsReadsIntoTheNamedClassesAndBackAgain) {
  TForm* f = NewForm();
  ReadComponentText(RegistryDefinition(), f, "widgets");
  ExpectRegistryForm(f, "read");
  const AnsiString written = WriteComponentText(f);
  f->Free();

  TForm* again = NewForm();
  ReadComponentText(written, again, "written");
  ExpectRegistryForm(again, "written and read again");
}

TEST_F(WidgetClasses, EveryClassADefinitionMayNameIsKnownByName) {
  for (const char* name : {"TiKnob",
                           "TiSevenSegmentCharacter",
                           "TiSevenSegmentAnalog",
                           "TiLedRectangle",
                           "TiSwitchToggle",
                           "TiEditCustom",
                           "TiAnalogOutput",
                           "TiCheckBox",
                           "TiRadioGroup",
                           "TiColorDialog",
                           "TiFontDialog",
                           "TiOpenDialog",
                           "TiSaveDialog",
                           "TiComponentEditorEdit",
                           "TiUpDown",
                           "TiComponentEditorPageControl",
                           "TiComponentEditorButton",
                           "TiComponentEditorCheckBox",
                           "TiComponentEditorRadioGroup",
                           "TiComponentEditorComboBox",
                           "TiComponentEditorListBox",
                           "TiComponentEditorGroupBox",
                           "TiComponentEditorColorPicker",
                           "TiComponentEditorFontPicker",
                           "TiComponentEditorOpenPicker",
                           "TiComponentEditorSavePicker",
                           "TiComponentEditorValueConverterPicker",
                           "TiPaintBox"}) {
    const TClassInfo* c = GetClass(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_EQ(c->Name(), name);
  }
  EXPECT_THROW(FindClass("TiNoSuchWidget"), EClassNotFound);
}

}  // namespace
