#include "widgets/iWidgetClasses.h"

#include "widgets/iAnalogOutput.h"
#include "widgets/iCheckBox.h"
#include "widgets/iComponentEditorDialogs.h"
#include "widgets/iEditorBasicComponents.h"
#include "widgets/iKnob.h"
#include "widgets/iLedRectangle.h"
#include "widgets/iRadioGroup.h"
#include "widgets/iSevenSegmentAnalog.h"
#include "widgets/iSevenSegmentCharacter.h"
#include "widgets/iSwitchToggle.h"

void RegisterWidgetClasses() {
  // Front-panel widgets, the dialog components and the editor controls; their abstract bases come
  // with them.
  RegisterClasses({&TiKnob::ClassInfo(),
                   &TiSevenSegmentCharacter::ClassInfo(),
                   &TiSevenSegmentAnalog::ClassInfo(),
                   &TiLedRectangle::ClassInfo(),
                   &TiSwitchToggle::ClassInfo(),
                   &TiEditCustom::ClassInfo(),
                   &TiAnalogOutput::ClassInfo(),
                   &TiCheckBox::ClassInfo(),
                   &TiRadioGroup::ClassInfo(),
                   &TiColorDialog::ClassInfo(),
                   &TiFontDialog::ClassInfo(),
                   &TiOpenDialog::ClassInfo(),
                   &TiSaveDialog::ClassInfo(),
                   &TiComponentEditorEdit::ClassInfo(),
                   &TiUpDown::ClassInfo(),
                   &TiComponentEditorPageControl::ClassInfo(),
                   &TiComponentEditorButton::ClassInfo(),
                   &TiComponentEditorCheckBox::ClassInfo(),
                   &TiComponentEditorRadioGroup::ClassInfo(),
                   &TiComponentEditorComboBox::ClassInfo(),
                   &TiComponentEditorListBox::ClassInfo(),
                   &TiComponentEditorGroupBox::ClassInfo(),
                   &TiComponentEditorColorPicker::ClassInfo(),
                   &TiComponentEditorFontPicker::ClassInfo(),
                   &TiComponentEditorOpenPicker::ClassInfo(),
                   &TiComponentEditorSavePicker::ClassInfo(),
                   &TiComponentEditorValueConverterPicker::ClassInfo(),
                   &TiPaintBox::ClassInfo()});
}

// The linker keeps this unit in every program that links the library because the library's
// link interface names this symbol as undefined; without that, a static library drops a unit
// nobody calls, and a definition naming only widgets would find no class.
extern "C" {
extern const bool pl_widget_classes_registered;
const bool pl_widget_classes_registered = (RegisterWidgetClasses(), true);
}
