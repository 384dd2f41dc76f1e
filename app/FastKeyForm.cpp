#include "app/FastKeyForm.h"

#include "app/LoadSource.h"
#include "app/MainForm.h"
#include "widgets/iAnalogOutput.h"

TForm_FastKey* Form_FastKey = nullptr;

const TClassInfo& TForm_FastKey::ClassInfo() {
  using F = TForm_FastKey;
  static const TClassInfo info = TClassInfo::Of<TForm_FastKey, TForm>("TForm_FastKey")
                                     .Field("iAnalogOutput_Ch1FastKeyV", &F::iAnalogOutput_Ch1FastKeyV)
                                     .Field("iAnalogOutput_Ch1FastKeyA", &F::iAnalogOutput_Ch1FastKeyA)
                                     .Field("Label_Ch1FastKeyV", &F::Label_Ch1FastKeyV)
                                     .Field("Label_Ch1FastKeyA", &F::Label_Ch1FastKeyA)
                                     .Field("TeThemeButton1", &F::TeThemeButton1)
                                     .Field("TeThemeButton2", &F::TeThemeButton2)
                                     .Method("FormShow", &F::FormShow);
  return info;
}

TForm_FastKey::TForm_FastKey(TComponent* AOwner) : TForm(AOwner) {}

void TForm_FastKey::FormShow(TObject*) {
  if (Form_Main && Form_Main->FLanguageLoaded) ApplyLanguage();
}

void TForm_FastKey::ApplyLanguage() {
  const TLoadSource* texts = Form_Main->LanguageSource();
  TeThemeButton1->SetCaption(texts->GetString(29));
  TeThemeButton2->SetCaption(texts->GetString(28));
  Label_Ch1FastKeyV->SetCaption(texts->GetString(33));
  Label_Ch1FastKeyA->SetCaption(texts->GetString(34));
}
