// Test support for list and combo boxes: a shown form with a panel whose WM_COMMAND traffic is
// recorded, and helpers to reach items by the mouse.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "tests/platform/ui/edits/EditHarness.h"

namespace lists_test {

using namespace ui_test;

// A panel that records the notifications its children send it ("7:1" = control id 7, code 1,
// by code only here: "SELCHANGE" names are the caller's business).
class TNotePanel : public TPanel {
 public:
  explicit TNotePanel(TComponent* AOwner) : TPanel(AOwner) {}
  std::vector<WORD> Codes;
  std::vector<UINT> Notes;
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_COMMAND && m.LParam) Codes.push_back(HIWORD(m.WParam));
    if (m.Msg == WM_NOTIFY && m.LParam) Notes.push_back(reinterpret_cast<const NMHDR*>(m.LParam)->code);
    TPanel::Dispatch(m);
  }
};

class ListsTest : public UiTest {
 protected:
  TForm* form_ = nullptr;
  TNotePanel* panel_ = nullptr;
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm(400, 300);
    panel_ = Make<TNotePanel>(form_, form_, "Panel1", Bounds(0, 0, 400, 300));
    ShowForm(form_);
  }
  template <class T>
  T* New(const char* name, TRect bounds) {
    T* c = Make<T>(form_, panel_, name, bounds);
    Pump();
    return c;
  }
  // The screen point in the middle of a list item's row.
  static TPoint ItemPoint(TCustomListBox* l, int index) {
    TRect r = l->ItemRect(index);
    return l->ClientToScreen({r.Left + 10, (r.Top + r.Bottom) / 2});
  }
  static void Click(TPoint screen) {
    Press(screen);
    Release(screen);
  }
  static void AltKey(UINT vk) { KeyWith(VK_MENU, vk); }
  int CountOf(WORD code) const { return int(std::count(panel_->Codes.begin(), panel_->Codes.end(), code)); }
};

// Counts an event of any signature by the sender.
struct TCounter {
  int Count = 0;
  void Hit(TObject*) { ++Count; }
  TNotifyEvent Event() { return TNotifyEvent(this, &TCounter::Hit); }
};

}  // namespace lists_test
