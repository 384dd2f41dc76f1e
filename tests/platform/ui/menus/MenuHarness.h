// Test support for menus: scripted input run while a menu loop waits (WM_ENTERIDLE), with a
// fail-safe that ends a menu the script left open, and item positions on the screen.
#pragma once

#include <deque>
#include <functional>
#include <map>

#include "platform/ui/Menus.h"
#include "tests/platform/ui/controls/UiHarness.h"

namespace menu_test {

using namespace ui_test;

inline void Tap(UINT vk) {
  InputKey(vk, true);
  InputKey(vk, false);
}
inline void TapWith(UINT modifier, UINT vk) {
  InputKey(modifier, true);
  Tap(vk);
  InputKey(modifier, false);
}
inline void ClickAt(TPoint p, int button = VK_LBUTTON) {
  InputMouseMove(p);
  InputMouseButton(button, true, p);
  InputMouseButton(button, false, p);
}

// Steps run one per idle moment of a menu loop owned by one of the watched windows; when none
// is left the menu is ended, so that a test never hangs on a menu it failed to close.
class TMenuScript {
 public:
  explicit TMenuScript(std::vector<HWND> owners) {
    Current() = this;
    for (HWND h : owners) {
      if (Procs().count(h)) continue;
      Procs()[h] = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TMenuScript::Proc)));
      hooked_.push_back(h);
    }
  }
  ~TMenuScript() {
    for (HWND h : hooked_) {
      if (IsWindow(h)) SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procs()[h]));
      Procs().erase(h);
    }
    Current() = nullptr;
  }
  void Then(std::function<void()> step) { steps_.push_back(std::move(step)); }
  int Idles = 0;
  bool EndedByFailSafe = false;

 private:
  static TMenuScript*& Current() {
    static TMenuScript* current = nullptr;
    return current;
  }
  static std::map<HWND, WNDPROC>& Procs() {
    static std::map<HWND, WNDPROC> procs;
    return procs;
  }
  static LRESULT Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ENTERIDLE && wp == MSGF_MENU && Current()) {
      TMenuScript& s = *Current();
      ++s.Idles;
      if (!s.steps_.empty()) {
        auto step = std::move(s.steps_.front());
        s.steps_.pop_front();
        step();
        // The loop idles again after this step even when it brought no input.
        PostMessageA(h, WM_NULL, 0, 0);
      } else {
        s.EndedByFailSafe = true;
        EndMenu();
      }
      return 0;
    }
    return CallWindowProcA(Procs()[h], h, msg, wp, lp);
  }
  std::deque<std::function<void()>> steps_;
  std::vector<HWND> hooked_;
};

// The centre of an item of an open popup menu (or of the menu bar of hwnd with menu nullptr).
inline TPoint ItemCentre(HWND hwnd, HMENU menu, int index) {
  RECT r{};
  EXPECT_TRUE(GetMenuItemRect(hwnd, menu, UINT(index), &r)) << "item " << index;
  return {r.Left + r.Width() / 2, r.Top + r.Height() / 2};
}

// Menu items that note their clicks, and whether a menu was still open then.
inline TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const char* caption, TShortCut sc = 0) {
  auto* i = new TMenuItem(owner);
  i->SetCaption(caption);
  i->SetShortCut(sc);
  std::string name = StripHotkey(caption);
  i->OnClick = TNotifyEvent::Lambda([name](TObject*) {
    Events().push_back("Click " + name + (GetOpenMenuWindow() ? " (menu open)" : ""));
  });
  if (parent) parent->Add(i);
  return i;
}

}  // namespace menu_test
