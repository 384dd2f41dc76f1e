// Test support for controls and forms: a fixture on the headless display with a fake clock and
// dialogs answered by a responder, recording controls, and input helpers.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/display/Display.h"
#include "platform/runtime/Clock.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

namespace ui_test {

// What the recording controls saw, in order ("C1.MouseDown(0,5,5)", "P.Enter" ...).
inline std::vector<std::string>& Events() {
  static std::vector<std::string> events;
  return events;
}
inline void Note(const TComponent* c, const std::string& what) {
  Events().push_back(c->GetName() + "." + what);
}
// The events of one control, or those whose text starts with a prefix.
inline std::vector<std::string> EventsOf(const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& e : Events())
    if (e.compare(0, prefix.size(), prefix) == 0) out.push_back(e);
  return out;
}

inline std::string MouseText(const char* what, TMouseButton b, TShiftState s, int x, int y) {
  std::string t =
      std::string(what) + "(" + std::to_string(int(b)) + "," + std::to_string(x) + "," + std::to_string(y);
  if (s.Contains(ssDouble)) t += ",dbl";
  return t + ")";
}

// Records input, focus and painting; answers WM_GETDLGCODE with DlgCode, claims the keys in
// Special through CM_WANTSPECIALKEY, and clicks itself on Enter (Default) or Escape (Cancel)
// and on its caption's accelerator, as buttons do.
template <class Base>
class TRecorder : public Base {
 public:
  explicit TRecorder(TComponent* AOwner) : Base(AOwner) {}
  LRESULT DlgCode = 0;
  std::vector<WORD> Special;
  bool Default = false, Cancel = false;
  bool HandleWheel = false;
  int Paints = 0;
  TColor Fill = clWhite;

  void Click() override {
    Note(this, "Click");
    Base::Click();
  }
  void DblClick() override {
    Note(this, "DblClick");
    Base::DblClick();
  }

 protected:
  void MouseDown(TMouseButton b, TShiftState s, int32_t x, int32_t y) override {
    Note(this, MouseText("MouseDown", b, s, x, y));
    Base::MouseDown(b, s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int32_t x, int32_t y) override {
    Note(this, MouseText("MouseUp", b, s, x, y));
    Base::MouseUp(b, s, x, y);
  }
  void MouseMove(TShiftState s, int32_t x, int32_t y) override {
    Note(this, "MouseMove(" + std::to_string(x) + "," + std::to_string(y) + ")");
    Base::MouseMove(s, x, y);
  }
  bool DoMouseWheel(TShiftState s, int32_t delta, TPoint p) override {
    Note(this, "Wheel(" + std::to_string(delta) + ")");
    return HandleWheel || Base::DoMouseWheel(s, delta, p);
  }
  void Paint() override {
    ++Paints;
    this->GetCanvas()->GetBrush()->SetColor(Fill);
    this->GetCanvas()->FillRect(this->GetClientRect());
  }
  void Dispatch(TMessage& m) override {
    switch (m.Msg) {
      case WM_GETDLGCODE:
        m.Result = DlgCode;
        return;
      case CM_WANTSPECIALKEY:
        if (std::find(Special.begin(), Special.end(), WORD(m.WParam)) != Special.end()) {
          m.Result = 1;
          return;
        }
        break;
      case CM_DIALOGKEY:
        if ((m.WParam == VK_RETURN && Default) || (m.WParam == VK_ESCAPE && Cancel)) {
          Note(this, "DialogKey");
          Click();
          m.Result = 1;
          return;
        }
        break;
      case CM_DIALOGCHAR:
        if (IsAccel(WORD(m.WParam), this->GetCaption())) {
          Note(this, "Accel");
          Click();
          m.Result = 1;
          return;
        }
        break;
      case CM_ENTER:
        Note(this, "Enter");
        break;
      case CM_EXIT:
        Note(this, "Exit");
        break;
      case CM_MOUSEENTER:
        Note(this, "MouseEnter");
        break;
      case CM_MOUSELEAVE:
        Note(this, "MouseLeave");
        break;
      default:
        break;
    }
    Base::Dispatch(m);
  }
};

// A windowed recorder with its own window, and a windowless one.
class TRecControl : public TRecorder<TCustomControl> {
 public:
  explicit TRecControl(TComponent* AOwner) : TRecorder<TCustomControl>(AOwner) {}

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override {
    Note(this, "KeyDown(" + std::to_string(Key) + ")");
    TRecorder<TCustomControl>::KeyDown(Key, Shift);
  }
  void KeyUp(WORD& Key, TShiftState Shift) override {
    Note(this, "KeyUp(" + std::to_string(Key) + ")");
    TRecorder<TCustomControl>::KeyUp(Key, Shift);
  }
  void KeyPress(char& Key) override {
    Note(this, std::string("KeyPress(") + Key + ")");
    TRecorder<TCustomControl>::KeyPress(Key);
  }
};

class TRecGraphic : public TRecorder<TGraphicControl> {
 public:
  explicit TRecGraphic(TComponent* AOwner) : TRecorder<TGraphicControl>(AOwner) {
    ControlStyle.Include(csOpaque);
  }
};

class TRecPanel : public TRecorder<TPanel> {
 public:
  explicit TRecPanel(TComponent* AOwner) : TRecorder<TPanel>(AOwner) {}

 protected:
  void Paint() override {
    ++Paints;
    TPanel::Paint();
  }
};

// Makes a control of class T named Name on Parent at Bounds.
template <class T>
T* Make(TComponent* Owner, TWinControl* Parent, const char* Name, TRect B) {
  auto* c = new T(Owner);
  c->SetName(Name);
  c->SetBounds(B.Left, B.Top, B.Width(), B.Height());
  c->SetParent(Parent);
  return c;
}

inline void Pump() { Application->ProcessMessages(); }

inline void MoveTo(TPoint screen) {
  InputMouseMove(screen);
  Pump();
}

inline void Press(TPoint screen, int button = VK_LBUTTON) {
  InputMouseMove(screen);
  InputMouseButton(button, true, screen);
  Pump();
}

inline void Release(TPoint screen, int button = VK_LBUTTON) {
  InputMouseMove(screen);
  InputMouseButton(button, false, screen);
  Pump();
}

inline void Key(UINT vk) {
  InputKey(vk, true);
  InputKey(vk, false);
  Pump();
}

inline void KeyWith(UINT modifier, UINT vk) {
  InputKey(modifier, true);
  InputKey(vk, true);
  InputKey(vk, false);
  InputKey(modifier, false);
  Pump();
}

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!GetDisplayDriver()) StartDisplay(TDisplayKind::Headless);
    Application->Initialize();
    Application->ClearTerminated();
    previousResponder_ = SetDialogResponder([this](TObject* d) -> TModalResult {
      if (auto* box = dynamic_cast<TMessageBoxDialog*>(d)) {
        boxes_.push_back(box->Request);
        return answer_;
      }
      return dialogAnswer_ ? dialogAnswer_(d) : mrCancel;
    });
    Events().clear();
    InputMouseMove({1020, 760});
    Pump();
  }

  void TearDown() override {
    ReleaseCapture();
    while (Screen->CustomFormCount() > 0) Screen->CustomForms(Screen->CustomFormCount() - 1)->Free();
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) InputKey(UINT(vk), false);
    for (int b : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) InputMouseButton(b, false, {1020, 760});
    Pump();
    clock_.Advance(10000);
    Pump();
    Application->ClearTerminated();
    SetDialogResponder(previousResponder_);
    Events().clear();
  }

  // A shown form at (100, 100) with the given client size.
  TForm* NewForm(int w = 400, int h = 300) {
    TForm* f = TCustomForm::CreateNew<TForm>(Application);
    std::string name = "F";
    for (int i = 2; Application->FindComponent(name); ++i) name = "F" + std::to_string(i);
    f->SetName(name);
    f->SetBounds(100, 100, 100, 100);
    f->SetClientWidth(w);
    f->SetClientHeight(h);
    return f;
  }
  void ShowForm(TForm* f) {
    f->Show();
    Pump();
  }
  // The screen point of a control's client point.
  static TPoint At(TControl* c, int x, int y) { return c->ClientToScreen({x, y}); }

  TFakeClock clock_{100000};
  TClockScope clockScope_{clock_};
  std::vector<TMessageBoxRequest> boxes_;
  TModalResult answer_ = mrOk;
  // Answers the other dialogs (file, colour ...); unset: they are cancelled.
  TDialogResponder dialogAnswer_;
  TDialogResponder previousResponder_;
};

}  // namespace ui_test
