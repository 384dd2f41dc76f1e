// A front panel of a power supply built from every instrument widget, wired the way a program
// would: the knob sets the voltage, the numeric entry types it, the upper display shows the set
// value, the switch turns the output on (its lamp lit, the lower display showing the output), the
// radio group picks the regulation mode (the second lamp lit in current mode) and the check box
// locks the knob's keys.  Each handler notes what it saw in Events.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Forms.h"
#include "widgets/iAnalogOutput.h"
#include "widgets/iCheckBox.h"
#include "widgets/iKnob.h"
#include "widgets/iLedRectangle.h"
#include "widgets/iRadioGroup.h"
#include "widgets/iSevenSegmentAnalog.h"
#include "widgets/iSwitchToggle.h"

namespace front_panel {

struct TFrontPanel {
  TForm* Form = nullptr;
  TiKnob* Knob = nullptr;
  TiSevenSegmentAnalog* SetDisplay = nullptr;
  TiSevenSegmentAnalog* OutDisplay = nullptr;
  TiSwitchToggle* Output = nullptr;
  TiLedRectangle* OutputLamp = nullptr;
  TiLedRectangle* CurrentLamp = nullptr;
  TiAnalogOutput* Entry = nullptr;
  TiCheckBox* KeyLock = nullptr;
  TiRadioGroup* Mode = nullptr;
  std::vector<std::string> Events;

  std::vector<std::string> TakeEvents() {
    std::vector<std::string> out;
    out.swap(Events);
    return out;
  }
};

template <class T>
T* PanelWidget(TForm* f, const char* name, int left, int top, int width, int height) {
  auto* c = new T(f);
  c->SetName(name);
  c->SetBounds(left, top, width, height);
  c->SetParent(f);
  return c;
}

inline TiSevenSegmentAnalog* PanelDisplay(TForm* f, const char* name, int top, TColor color) {
  auto* d = PanelWidget<TiSevenSegmentAnalog>(f, name, 200, top, 10, 10);
  d->SetDigitCount(6);
  d->SetPrecision(3);
  d->SetSegmentSize(2);
  d->SetSegmentColor(color);
  d->SetBorderStyle(ibsLowered);
  return d;
}

// Builds the panel on f (client area 460 x 260 or more) and wires it; P must outlive the form.
inline void BuildFrontPanel(TForm* f, TFrontPanel& P) {
  P.Form = f;
  f->SetCaption("Front panel");
  auto note = [&P](const char* what) {
    return TNotifyEvent::Lambda([&P, what](TObject*) { P.Events.push_back(what); });
  };

  P.Knob = PanelWidget<TiKnob>(f, "Knob", 10, 10, 180, 180);
  P.Knob->SetPositionMax(30);
  P.Knob->SetPosition(5);
  P.Knob->SetShowPostionDisplay(true);
  P.Knob->SetPositionDisplayUnits(" V");
  P.Knob->SetKeyArrowStepSize(0.1);
  P.Knob->SetMouseWheelStepSize(0.5);
  P.SetDisplay = PanelDisplay(f, "SetDisplay", 14, TColor(65408));
  P.OutDisplay = PanelDisplay(f, "OutDisplay", 74, TColor(0x0000FF));
  P.SetDisplay->SetValue(5);

  P.Entry = PanelWidget<TiAnalogOutput>(f, "Entry", 200, 134, 100, 21);
  P.Entry->SetValueMin(0);
  P.Entry->SetValueMax(30);
  P.Entry->SetPrecision(2);
  P.Entry->SetUnitsText("V");
  P.Entry->SetValue(5);

  P.Output = PanelWidget<TiSwitchToggle>(f, "Output", 20, 200, 25, 50);
  P.Output->SetSwitchOrientation(ioHorizontal);  // turns the 25 x 50 lever to 50 x 25
  P.OutputLamp = PanelWidget<TiLedRectangle>(f, "OutputLamp", 80, 204, 56, 18);
  P.OutputLamp->SetCenterLabelText("OUT");
  P.CurrentLamp = PanelWidget<TiLedRectangle>(f, "CurrentLamp", 142, 204, 56, 18);
  P.CurrentLamp->SetCenterLabelText("CC");
  P.CurrentLamp->SetActiveColor(clRed);
  P.KeyLock = PanelWidget<TiCheckBox>(f, "KeyLock", 320, 136, 120, 17);
  P.KeyLock->SetCaption("Lock keys");
  P.Mode = PanelWidget<TiRadioGroup>(f, "Mode", 320, 168, 130, 80);
  P.Mode->SetCaption("Mode");
  P.Mode->GetItems()->Add("Voltage");
  P.Mode->GetItems()->Add("Current");
  P.Mode->SetItemIndex(0);

  // The output display follows the set value while the output is on.
  auto showOutput = [&P] { P.OutDisplay->SetValue(P.Output->GetActive() ? P.Knob->GetPosition() : 0.0); };
  P.Knob->OnPositionChange = TNotifyEvent::Lambda([&P, showOutput](TObject*) {
    P.SetDisplay->SetValue(P.Knob->GetPosition());
    P.Entry->SetValue(P.Knob->GetPosition());
    showOutput();
  });
  P.Knob->OnPositionChangeUser = note("Knob.User");
  P.Knob->OnPositionChangeFinished = note("Knob.Finished");
  P.Entry->OnChangeUser = TNotifyEvent::Lambda([&P](TObject*) {
    P.Events.push_back("Entry.User");
    P.Knob->SetPosition(P.Entry->GetValue());
  });
  P.Output->OnChange = TNotifyEvent::Lambda([&P, showOutput](TObject*) {
    P.OutputLamp->SetActive(P.Output->GetActive());
    showOutput();
  });
  P.Output->OnChangeUser = note("Output.User");
  P.Mode->OnChange = TNotifyEvent::Lambda([&P](TObject*) {
    P.Events.push_back("Mode.Change");
    P.CurrentLamp->SetActive(P.Mode->GetItemIndex() == 1);
  });
  P.Mode->OnChangeUser = note("Mode.User");
  P.KeyLock->OnChangeUser = TNotifyEvent::Lambda([&P](TObject*) {
    P.Events.push_back("KeyLock.User");
    P.Knob->SetUseKeyboard(!P.KeyLock->GetChecked());
  });
}

}  // namespace front_panel
