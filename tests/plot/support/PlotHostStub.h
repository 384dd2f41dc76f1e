// A stand-in for the plot component as plot objects see it: records the events objects raise
// and translates through a small map, so that a kind can be tested without a whole plot.
#pragma once

#include <map>
#include <vector>

#include "platform/runtime/Strings.h"
#include "plot/iPlotObjects.h"

class TPlotHostStub : public TiPlotObjectHost {
 public:
  AnsiString TranslateText(const AnsiString& Text) override {
    auto it = Translations.find(Text);
    return it == Translations.end() ? Text : it->second;
  }
  void DoObjectMouseDown(TiPlotObject* Obj, TMouseButton Button, TShiftState, int32_t X, int32_t Y) override {
    Log("MouseDown", Obj, " " + IntToStr(int(Button)) + " " + IntToStr(X) + "," + IntToStr(Y));
  }
  void DoObjectMouseMove(TiPlotObject* Obj, TShiftState, int32_t X, int32_t Y) override {
    Log("MouseMove", Obj, " " + IntToStr(X) + "," + IntToStr(Y));
  }
  void DoObjectMouseUp(TiPlotObject* Obj, TMouseButton Button, TShiftState, int32_t X, int32_t Y) override {
    Log("MouseUp", Obj, " " + IntToStr(int(Button)) + " " + IntToStr(X) + "," + IntToStr(Y));
  }
  void DoObjectClick(TiPlotObject* Obj) override { Log("Click", Obj); }
  void DoObjectPopupMenu(TiPlotObject* Obj, bool& Cancel, int32_t, int32_t) override {
    Log("PopupMenu", Obj);
    Cancel = CancelPopups;
  }
  void DoObjectGotFocus(TiPlotObject* Obj) override { Log("GotFocus", Obj); }
  void DoObjectLostFocus(TiPlotObject* Obj) override { Log("LostFocus", Obj); }
  void ShowPopupMenu(TPopupMenu* Menu, int32_t, int32_t) override {
    Events.push_back("ShowPopup " + IntToStr(Menu->Items()->Count()));
  }
  TiPlotComponent* PlotComponent() override { return nullptr; }

  std::map<AnsiString, AnsiString> Translations;
  std::vector<AnsiString> Events;
  bool CancelPopups = false;

 private:
  void Log(const char* what, TiPlotObject* Obj, const AnsiString& rest = "") {
    Events.push_back(AnsiString(what) + " " + Obj->GetName() + rest);
  }
};

// Handlers for objects made outside a plot: each counts its calls.
struct TPlotHandlerCounts {
  int Rename = 0, Remove = 0, Insert = 0, Change = 0, Layout = 0;
  TNotifyEvent OnRename = TNotifyEvent::Lambda([this](TObject*) { ++Rename; });
  TNotifyEvent OnRemove = TNotifyEvent::Lambda([this](TObject*) { ++Remove; });
  TNotifyEvent OnInsert = TNotifyEvent::Lambda([this](TObject*) { ++Insert; });
  TNotifyEvent OnChange = TNotifyEvent::Lambda([this](TObject*) { ++Change; });
  TNotifyEvent OnLayout = TNotifyEvent::Lambda([this](TObject*) { ++Layout; });
};
