// The hot-key window: the voltage and current a hot key recalls, edited in two numeric entries
// and confirmed with OK (modal result 1) or dropped with Cancel (2).  The main window fills the
// entries from the key's caption and writes the caption back on OK.
#pragma once

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TiAnalogOutput;

class TForm_FastKey : public TForm {
  PL_CLASS(TForm_FastKey)
 public:
  explicit TForm_FastKey(TComponent* AOwner);

  // ---- stored components
  TiAnalogOutput* iAnalogOutput_Ch1FastKeyV = nullptr;
  TiAnalogOutput* iAnalogOutput_Ch1FastKeyA = nullptr;
  TLabel* Label_Ch1FastKeyV = nullptr;
  TLabel* Label_Ch1FastKeyA = nullptr;
  TButton* TeThemeButton1 = nullptr;
  TButton* TeThemeButton2 = nullptr;

  void FormShow(TObject* Sender);
  void ApplyLanguage();
};

extern TForm_FastKey* Form_FastKey;
