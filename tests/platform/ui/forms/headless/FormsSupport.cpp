#include "tests/platform/ui/forms/headless/FormsSupport.h"

namespace ui_test {

const TClassInfo& TTestButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestButton, TCustomControl>("TTestButton")
                                     .Prop("ModalResult", &TTestButton::ModalResult)
                                     .Default(0)
                                     .Prop("Default", &TTestButton::Default)
                                     .Default(false)
                                     .Prop("Cancel", &TTestButton::Cancel)
                                     .Default(false);
  return info;
}

void TTestButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
  TCustomControl::Click();
}

void TTestButton::Paint() {
  TRect face = DrawButtonFace(GetCanvas(), GetClientRect(), 1, false, Focused());
  GetCanvas()->GetBrush()->SetStyle(bsClear);
  RECT r = face;
  AnsiString text = GetCaption();
  DrawTextA(GetCanvas()->GetHandle(), text.c_str(), int(text.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TTestButton::Dispatch(TMessage& Message) {
  bool press = (Message.Msg == CM_DIALOGKEY &&
                ((Message.WParam == VK_RETURN && Default) || (Message.WParam == VK_ESCAPE && Cancel))) ||
               (Message.Msg == CM_DIALOGCHAR && IsAccel(WORD(Message.WParam), GetCaption()));
  if (press) {
    Click();
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

const TClassInfo& TProbe::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TProbe, TComponent>("TProbe");
  return info;
}

void TProbe::Loaded() {
  TComponent::Loaded();
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  for (int32_t i = 0; i < Screen->FormCount(); ++i)
    if (Screen->Forms(i) == form) OwnerWasListed = true;
  OwnerWasCreating = form && form->FormState().Contains(fsCreating);
}

const TClassInfo& TTestMainForm::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTestMainForm, TForm>("TTestMainForm")
                                     .Field("Probe1", &TTestMainForm::Probe1)
                                     .Field("Timer1", &TTestMainForm::Timer1)
                                     .Field("Panel1", &TTestMainForm::Panel1)
                                     .Field("OkButton", &TTestMainForm::OkButton)
                                     .Method("FormCreate", &TTestMainForm::FormCreate)
                                     .Method("FormShow", &TTestMainForm::FormShow)
                                     .Method("Timer1Timer", &TTestMainForm::Timer1Timer)
                                     .Method("OkButtonClick", &TTestMainForm::OkButtonClick);
  return info;
}

const TClassInfo& TNoDefinitionForm::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TNoDefinitionForm, TForm>("TNoDefinitionForm");
  return info;
}

}  // namespace ui_test
