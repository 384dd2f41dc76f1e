// What components built on the controls rely on besides input: replacing the window procedure of
// a control's window (and its WindowProc method), and dragging one control onto another.
#include "tests/platform/ui/controls/UiHarness.h"

namespace ui_test {
namespace {

using Hooks = UiTest;

// A subclassing procedure in the manner of a window hook: notes what passes, then hands it on.
WNDPROC g_previous = nullptr;
std::vector<UINT> g_seen;
LRESULT Subclass(HWND h, UINT msg, WPARAM w, LPARAM l) {
  g_seen.push_back(msg);
  return CallWindowProcA(g_previous, h, msg, w, l);
}

TEST_F(Hooks, ASubclassedWindowStillReachesItsControlAndSeesTheTextSet) {
  TForm* f = NewForm();
  auto* c = Make<TRecControl>(f, f, "C", Bounds(10, 10, 60, 30));
  ShowForm(f);
  g_previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(c->Handle(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  g_seen.clear();
  Press(At(c, 5, 5));
  Release(At(c, 5, 5));
  c->SetCaption("New text");
  EXPECT_EQ(EventsOf("C.Click"), std::vector<std::string>{"C.Click"});
  EXPECT_NE(std::find(g_seen.begin(), g_seen.end(), UINT(WM_LBUTTONDOWN)), g_seen.end());
  EXPECT_NE(std::find(g_seen.begin(), g_seen.end(), UINT(WM_SETTEXT)), g_seen.end())
      << "a caption set by code passes the window procedure";
  EXPECT_EQ(SetWindowLongPtrA(c->Handle(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous)),
            reinterpret_cast<LONG_PTR>(&Subclass));
  g_seen.clear();
  c->SetCaption("Again");
  EXPECT_TRUE(g_seen.empty()) << "restored";
  EXPECT_EQ(GetWindowCaption(c->Handle()), "Again");
}

TEST_F(Hooks, AReplacedWindowProcSeesEveryMessageFirst) {
  TForm* f = NewForm();
  auto* g = Make<TRecGraphic>(f, f, "G", Bounds(10, 10, 60, 30));
  ShowForm(f);
  TWndMethod old = g->WindowProc;
  std::vector<UINT> seen;
  g->WindowProc = TWndMethod::Lambda([&](TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg == WM_RBUTTONDOWN) return;  // swallowed
    old(m);
  });
  Press(At(g, 5, 5), VK_RBUTTON);
  Release(At(g, 5, 5), VK_RBUTTON);
  EXPECT_EQ(EventsOf("G.MouseDown"), std::vector<std::string>{});
  EXPECT_EQ(EventsOf("G.MouseUp"), std::vector<std::string>{"G.MouseUp(1,5,5)"});
  EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_RBUTTONDOWN)), seen.end());
  EXPECT_EQ(g->Perform(CM_HITTEST, 0, 0), HTCLIENT);
  g->WindowProc = old;
}

TEST_F(Hooks, DraggingAControlAsksTheTargetsUnderTheMouseAndDropsOnOneThatAccepts) {
  TForm* f = NewForm();
  auto* source = Make<TRecGraphic>(f, f, "S", Bounds(10, 10, 40, 40));
  auto* target = Make<TRecControl>(f, f, "T", Bounds(200, 10, 80, 80));
  auto* refuses = Make<TRecControl>(f, f, "R", Bounds(200, 150, 80, 80));
  source->SetDragMode(dmAutomatic);
  std::vector<std::string> log;
  target->OnDragOver =
      TDragOverEvent::Lambda([&](TObject*, TObject* src, int x, int y, TDragState st, bool& accept) {
        log.push_back("over " + std::to_string(int(st)) + " " + std::to_string(x) + "," + std::to_string(y));
        accept = src == source;
      });
  target->OnDragDrop = TDragDropEvent::Lambda([&](TObject*, TObject* src, int x, int y) {
    log.push_back("drop " + std::to_string(x) + "," + std::to_string(y) + (src == source ? " from S" : ""));
  });
  refuses->OnDragOver =
      TDragOverEvent::Lambda([&](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = false; });
  source->OnEndDrag = TEndDragEvent::Lambda([&](TObject*, TObject* to, int x, int y) {
    log.push_back(std::string("end ") +
                  (to == target ? "T "
                   : to         ? "? "
                                : "none ") +
                  std::to_string(x) + "," + std::to_string(y));
  });
  ShowForm(f);
  for (TRecControl* dropOn : {target, refuses}) {
    log.clear();
    clock_.Advance(1000);
    Press(At(source, 5, 5));
    EXPECT_FALSE(source->Dragging()) << "not before the mouse moves";
    MoveTo(At(source, 15, 15));
    EXPECT_TRUE(source->Dragging());
    MoveTo(At(dropOn, 10, 10));
    MoveTo(At(dropOn, 20, 12));
    Release(At(dropOn, 20, 12));
    EXPECT_FALSE(source->Dragging());
    if (dropOn == target)
      EXPECT_EQ(log, (std::vector<std::string>{"over 0 10,10", "over 2 20,12", "drop 20,12 from S",
                                               "end T 20,12"}));
    else
      EXPECT_EQ(log, std::vector<std::string>{"end none 0,0"});
  }
  EXPECT_TRUE(EventsOf("S.MouseDown").empty()) << "an automatic drag takes the press";
}

}  // namespace
}  // namespace ui_test
