// Test support for the edit controls: a fixture with a shown form, edits on it, typing helpers
// and a WM_COMMAND recorder for the parent.
#pragma once

#include <string>

#include "platform/ui/StdCtrls.h"
#include "tests/platform/ui/controls/UiHarness.h"

namespace edit_test {

using namespace ui_test;

// Types text through the keyboard (letters, digits, blank and a few signs).
inline void Type(const std::string& text) {
  for (char c : text) {
    UINT vk = 0;
    bool shift = false;
    if (c >= 'a' && c <= 'z') {
      vk = UINT(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      vk = UINT(c);
      shift = true;
    } else if (c >= '0' && c <= '9') {
      vk = UINT(c);
    } else if (c == ' ') {
      vk = VK_SPACE;
    } else {
      ADD_FAILURE() << "cannot type '" << c << "'";
      continue;
    }
    if (shift) InputKey(VK_SHIFT, true);
    InputKey(vk, true);
    InputKey(vk, false);
    if (shift) InputKey(VK_SHIFT, false);
  }
  Pump();
}

inline void Ctrl(UINT vk) { KeyWith(VK_CONTROL, vk); }
inline void Shift(UINT vk) { KeyWith(VK_SHIFT, vk); }
inline void CtrlShift(UINT vk) {
  InputKey(VK_CONTROL, true);
  KeyWith(VK_SHIFT, vk);
  InputKey(VK_CONTROL, false);
  Pump();
}

inline std::string Sel(TCustomEdit* e) {
  return std::to_string(e->GetSelStart()) + "+" + std::to_string(e->GetSelLength());
}

class EditTest : public UiTest {
 protected:
  TForm* form_ = nullptr;
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm(400, 300);
  }
  // An empty edit of class T on the form; the form is shown and the edit focused.
  template <class T = TEdit>
  T* NewEdit(const char* name, TRect bounds = Bounds(10, 10, 150, 24)) {
    T* e = Make<T>(form_, form_, name, bounds);
    e->SetText("");
    if (!form_->GetVisible()) ShowForm(form_);
    e->SetFocus();
    Pump();
    return e;
  }
};

}  // namespace edit_test
