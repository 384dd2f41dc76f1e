#include "app/ConfigForm.h"

#include "app/LoadSource.h"
#include "app/MainForm.h"
#include "platform/os/comm/Comm.h"
#include "platform/runtime/SysUtils.h"
#include "widgets/iAnalogOutput.h"

TForm_Config* Form_Config = nullptr;

const TClassInfo& TForm_Config::ClassInfo() {
  using F = TForm_Config;
  static const TClassInfo info = TClassInfo::Of<TForm_Config, TForm>("TForm_Config")
                                     .Field("GroupBox1", &F::GroupBox1)
                                     .Field("GroupBox2", &F::GroupBox2)
                                     .Field("GroupBox3", &F::GroupBox3)
                                     .Field("Label1", &F::Label1)
                                     .Field("Label2", &F::Label2)
                                     .Field("TeThemeComboBoxRaudRate", &F::TeThemeComboBoxRaudRate)
                                     .Field("TeThemeComboBoxComm", &F::TeThemeComboBoxComm)
                                     .Field("StaticText1", &F::StaticText1)
                                     .Field("StaticText2", &F::StaticText2)
                                     .Field("StaticText3", &F::StaticText3)
                                     .Field("StaticText4", &F::StaticText4)
                                     .Field("StaticText5", &F::StaticText5)
                                     .Field("StaticText6", &F::StaticText6)
                                     .Field("iAnalogOutputKA1", &F::iAnalogOutputKA1)
                                     .Field("iAnalogOutputKP1", &F::iAnalogOutputKP1)
                                     .Field("iAnalogOutputMW1", &F::iAnalogOutputMW1)
                                     .Field("iAnalogOutputKA2", &F::iAnalogOutputKA2)
                                     .Field("iAnalogOutputKP2", &F::iAnalogOutputKP2)
                                     .Field("iAnalogOutputMW2", &F::iAnalogOutputMW2)
                                     .Field("TeThemeButton1", &F::TeThemeButton1)
                                     .Field("TeThemeButton2", &F::TeThemeButton2)
                                     .Method("FormShow", &F::FormShow);
  return info;
}

TForm_Config::TForm_Config(TComponent* AOwner) : TForm(AOwner) {}

std::array<TiAnalogOutput*, 6> TForm_Config::StepEntries() const {
  return {iAnalogOutputKA1, iAnalogOutputKP1, iAnalogOutputMW1,
          iAnalogOutputKA2, iAnalogOutputKP2, iAnalogOutputMW2};
}

void TForm_Config::ListComPorts() {
  TeThemeComboBoxComm->Clear();
  int32_t found = 0;
  for (int n = 1; n <= 99; ++n) {
    AnsiString name = "COM" + IntToStr(n);
    COMMCONFIG config;
    DWORD size = sizeof config;
    if (!GetDefaultCommConfig(name.c_str(), &config, &size)) continue;
    // The open is exclusive: a port held by the link or another program fails here.
    AnsiString device = n > 9 ? "//./" + name : name;
    HANDLE h = CreateFile(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    TeThemeComboBoxComm->GetItems()->Add(name);
    ++found;
    CloseHandle(h);
  }
  TeThemeComboBoxComm->SetDropDownCount(found);
}

void TForm_Config::FormShow(TObject*) {
  if (Form_Main && Form_Main->FLanguageLoaded) ApplyLanguage();
}

void TForm_Config::ApplyLanguage() {
  const TLoadSource* texts = Form_Main->LanguageSource();
  SetCaption(texts->GetString(62));
  const struct {
    int32_t index;
    TControl* control;
  } targets[] = {
      {63, GroupBox1},   {64, Label1},         {65, Label2},         {66, GroupBox3},   {67, GroupBox2},
      {68, StaticText1}, {68, StaticText4},    {69, StaticText2},    {69, StaticText5}, {70, StaticText3},
      {70, StaticText6}, {71, TeThemeButton2}, {72, TeThemeButton1},
  };
  for (const auto& t : targets) t.control->SetCaption(texts->GetString(t.index));
}
