// The classes the forms tests build windows from: a button that carries a modal result, a
// component that looks at the screen while its definition is read, and the form of
// defs/TestMainForm.dfm.
#pragma once

#include "tests/platform/ui/controls/UiHarness.h"

namespace ui_test {

// Clicks on release, on Enter while Default, on Escape while Cancel and on its accelerator; a
// click sets its form's ModalResult.
class TTestButton : public TCustomControl {
  PL_CLASS(TTestButton)
 public:
  explicit TTestButton(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  TModalResult ModalResult = mrNone;
  bool Default = false;
  bool Cancel = false;
  void Click() override;

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
};

// Notes, once its definition is read, whether the form it belongs to was already among the
// screen's forms.
class TProbe : public TComponent {
  PL_CLASS(TProbe)
 public:
  explicit TProbe(TComponent* AOwner) : TComponent(AOwner) {}
  void Loaded() override;
  bool OwnerWasListed = false;
  bool OwnerWasCreating = false;
};

class TTestMainForm : public TForm {
  PL_CLASS(TTestMainForm)
 public:
  explicit TTestMainForm(TComponent* AOwner) : TForm(AOwner) {}
  TProbe* Probe1 = nullptr;
  TTimer* Timer1 = nullptr;
  TPanel* Panel1 = nullptr;
  TTestButton* OkButton = nullptr;
  int Creates = 0, Shows = 0, Ticks = 0, Clicks = 0;
  bool PanelReadAtCreate = false;
  void FormCreate(TObject*) {
    ++Creates;
    PanelReadAtCreate = Panel1 && Panel1->GetCaption() == "Top panel";
  }
  void FormShow(TObject*) { ++Shows; }
  void Timer1Timer(TObject*) { ++Ticks; }
  void OkButtonClick(TObject*) { ++Clicks; }
};

// A form class without a stored definition.
class TNoDefinitionForm : public TForm {
  PL_CLASS(TNoDefinitionForm)
 public:
  explicit TNoDefinitionForm(TComponent* AOwner) : TForm(AOwner) {}
};

}  // namespace ui_test
