// A form that counts its close events and hides when closed, for tests of what closes windows
// (signals, a lost display connection).
#pragma once

#include "platform/ui/Forms.h"

class TClosingForm : public TForm {
 public:
  using TForm::TForm;
  int Closes = 0;
  void Closing(TObject*, TCloseAction& Action) {
    ++Closes;
    Action = caHide;
  }
};
