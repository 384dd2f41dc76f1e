// The settings window: the baud rate and the serial port of the link and the step sizes of the
// two knobs.  The port list holds the ports that can be opened when the window opens; a port
// held open (the link's own included) is not listed.  Ok answers modal result 1, Cancel 2; the
// main window reads the fields and restarts the link.
#pragma once

#include <array>

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TiAnalogOutput;

class TForm_Config : public TForm {
  PL_CLASS(TForm_Config)
 public:
  explicit TForm_Config(TComponent* AOwner);

  // ---- stored components
  TGroupBox* GroupBox1 = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TComboBox* TeThemeComboBoxRaudRate = nullptr;
  TComboBox* TeThemeComboBoxComm = nullptr;
  TStaticText* StaticText1 = nullptr;
  TStaticText* StaticText2 = nullptr;
  TStaticText* StaticText3 = nullptr;
  TStaticText* StaticText4 = nullptr;
  TStaticText* StaticText5 = nullptr;
  TStaticText* StaticText6 = nullptr;
  TiAnalogOutput* iAnalogOutputKA1 = nullptr;
  TiAnalogOutput* iAnalogOutputKP1 = nullptr;
  TiAnalogOutput* iAnalogOutputMW1 = nullptr;
  TiAnalogOutput* iAnalogOutputKA2 = nullptr;
  TiAnalogOutput* iAnalogOutputKP2 = nullptr;
  TiAnalogOutput* iAnalogOutputMW2 = nullptr;
  TButton* TeThemeButton1 = nullptr;
  TButton* TeThemeButton2 = nullptr;

  // Fills the port list with "COM1" to "COM99", those that exist and can be opened now.
  void ListComPorts();
  // The six step entries in the order of the settings record: voltage arrow key, page key,
  // mouse wheel, then the same for the current.
  std::array<TiAnalogOutput*, 6> StepEntries() const;

  void FormShow(TObject* Sender);
  void ApplyLanguage();
};

extern TForm_Config* Form_Config;
