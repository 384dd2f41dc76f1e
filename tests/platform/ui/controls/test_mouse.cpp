// Mouse input through nested panels: clicks, double clicks, capture while dragging, the wheel,
// disabled parents, enter and leave, cursors and the popup-menu hook.
#include "tests/platform/ui/controls/UiHarness.h"

namespace ui_test {
namespace {

// A form holding panel A, inside it panel B with a windowed control C and a windowless G, and
// beside A a windowed control D.
struct TLayout {
  TForm* F;
  TRecPanel *A, *B;
  TRecControl *C, *D;
  TRecGraphic* G;
};

class Mouse : public UiTest {
 protected:
  TLayout Build() {
    TLayout l;
    l.F = NewForm();
    l.A = Make<TRecPanel>(l.F, l.F, "A", Bounds(10, 10, 200, 200));
    l.B = Make<TRecPanel>(l.F, l.A, "B", Bounds(10, 10, 180, 180));
    l.C = Make<TRecControl>(l.F, l.B, "C", Bounds(10, 10, 60, 30));
    l.G = Make<TRecGraphic>(l.F, l.B, "G", Bounds(10, 60, 60, 30));
    l.D = Make<TRecControl>(l.F, l.F, "D", Bounds(250, 10, 100, 30));
    ShowForm(l.F);
    Events().clear();
    return l;
  }
  // The button events only, moves left out.
  static std::vector<std::string> Buttons() {
    std::vector<std::string> out;
    for (const auto& e : Events())
      if (e.find("MouseMove") == std::string::npos && e.find("MouseEnter") == std::string::npos &&
          e.find("MouseLeave") == std::string::npos && e.find("Wheel") == std::string::npos)
        out.push_back(e);
    return out;
  }
  void ClickAt(TPoint p, int button = VK_LBUTTON) {
    Press(p, button);
    Release(p, button);
    clock_.Advance(1000);  // the next press is no double click
  }
};

TEST_F(Mouse, ClicksReachTheControlUnderTheMouseInTheirOwnCoordinates) {
  TLayout l = Build();
  struct Case {
    TControl* target;
    int x, y, button;
    std::vector<std::string> expected;
  } cases[] = {
      {l.C, 5, 5, VK_LBUTTON, {"C.MouseDown(0,5,5)", "C.Click", "C.MouseUp(0,5,5)"}},
      {l.G, 7, 3, VK_LBUTTON, {"G.MouseDown(0,7,3)", "G.Click", "G.MouseUp(0,7,3)"}},
      {l.B, 120, 150, VK_LBUTTON, {"B.MouseDown(0,120,150)", "B.Click", "B.MouseUp(0,120,150)"}},
      {l.D, 99, 29, VK_LBUTTON, {"D.MouseDown(0,99,29)", "D.Click", "D.MouseUp(0,99,29)"}},
      {l.C, 2, 3, VK_RBUTTON, {"C.MouseDown(1,2,3)", "C.MouseUp(1,2,3)"}},
      {l.G, 2, 3, VK_MBUTTON, {"G.MouseDown(2,2,3)", "G.MouseUp(2,2,3)"}},
  };
  for (const Case& c : cases) {
    Events().clear();
    ClickAt(At(c.target, c.x, c.y), c.button);
    EXPECT_EQ(Buttons(), c.expected) << c.target->GetName();
  }
}

}  // namespace
}  // namespace ui_test

namespace ui_test {
namespace {

TEST_F(Mouse, DoubleClickRaisesDblClickThenADoublePressUnlessTheControlTakesNone) {
  TLayout l = Build();
  for (TControl* target : std::initializer_list<TControl*>{l.C, l.G}) {
    std::string n = target->GetName();
    TPoint p = At(target, 5, 6);
    for (bool doubles : {true, false}) {
      if (doubles)
        target->ControlStyle.Include(csDoubleClicks);
      else
        target->ControlStyle.Exclude(csDoubleClicks);
      Events().clear();
      Press(p);
      Release(p);
      Press(p);
      Release(p);
      clock_.Advance(1000);
      std::vector<std::string> expected =
          doubles ? std::vector<std::string>{n + ".MouseDown(0,5,6)",     n + ".Click",
                                             n + ".MouseUp(0,5,6)",       n + ".DblClick",
                                             n + ".MouseDown(0,5,6,dbl)", n + ".MouseUp(0,5,6)"}
                  : std::vector<std::string>{n + ".MouseDown(0,5,6)", n + ".Click", n + ".MouseUp(0,5,6)",
                                             n + ".MouseDown(0,5,6)", n + ".Click", n + ".MouseUp(0,5,6)"};
      EXPECT_EQ(Buttons(), expected) << n << (doubles ? " with" : " without") << " double clicks";
    }
  }
}

TEST_F(Mouse, APressedControlKeepsTheMouseUntilReleaseAndIsNotClickedOutside) {
  TLayout l = Build();
  for (TControl* source : std::initializer_list<TControl*>{l.C, l.G}) {
    std::string n = source->GetName();
    Events().clear();
    Press(At(source, 5, 5));
    EXPECT_EQ(GetCaptureControl(), source) << n;
    TPoint outside = At(l.D, 10, 10);
    TPoint local = source->ScreenToClient(outside);
    MoveTo(outside);
    Release(outside);
    clock_.Advance(1000);
    std::string xy = std::to_string(local.X) + "," + std::to_string(local.Y);
    std::vector<std::string> seen;
    for (const auto& e : Events())
      if (e.find("Enter") == std::string::npos && e.find("Leave") == std::string::npos) seen.push_back(e);
    EXPECT_EQ(seen, (std::vector<std::string>{n + ".MouseMove(5,5)", n + ".MouseDown(0,5,5)",
                                              n + ".MouseMove(" + xy + ")", n + ".MouseUp(0," + xy + ")"}))
        << "no Click, and nothing for the control under the mouse";
    EXPECT_EQ(GetCaptureControl(), nullptr);
  }
}

TEST_F(Mouse, TheWheelTurnsTheFocusedControlAndRisesToParentsUntilOneTakesIt) {
  TLayout l = Build();
  l.C->SetFocus();
  Pump();
  bool downHandled = false;
  l.B->OnMouseWheelDown = TMouseWheelUpDownEvent::Lambda(
      [&](TObject*, TShiftState, TPoint, bool& handled) { handled = downHandled; });
  struct Case {
    bool cTakes, bTakesDown;
    int delta;
    std::vector<std::string> expected;
  } cases[] = {
      {true, false, -WHEEL_DELTA, {"C.Wheel(-120)"}},
      {false, true, -WHEEL_DELTA, {"C.Wheel(-120)", "B.Wheel(-120)"}},
      {false, true, WHEEL_DELTA, {"C.Wheel(120)", "B.Wheel(120)", "A.Wheel(120)"}},
  };
  for (const Case& c : cases) {
    l.C->HandleWheel = c.cTakes;
    downHandled = c.bTakesDown;
    Events().clear();
    InputMouseWheel(c.delta, At(l.D, 5, 5));  // where the mouse is does not matter
    Pump();
    EXPECT_EQ(EventsOf(""), c.expected) << c.delta;
  }
}

TEST_F(Mouse, ADisabledParentBlocksItsChildrenAndTakesTheirFocus) {
  TLayout l = Build();
  l.C->SetFocus();
  Pump();
  l.B->SetEnabled(false);
  EXPECT_FALSE(l.C->Focused());
  Events().clear();
  for (TControl* target : std::initializer_list<TControl*>{l.C, l.G, l.B}) ClickAt(At(target, 5, 5));
  Key('X');
  for (const char* name : {"B.", "C.", "G."}) EXPECT_EQ(EventsOf(name), std::vector<std::string>{}) << name;
  l.B->SetEnabled(true);
  ClickAt(At(l.G, 5, 5));
  EXPECT_EQ(EventsOf("G.Click"), std::vector<std::string>{"G.Click"});
}

TEST_F(Mouse, EnterAndLeaveFollowTheMouse) {
  TLayout l = Build();
  MoveTo(At(l.C, 5, 5));
  MoveTo(At(l.G, 5, 5));
  MoveTo(At(l.B, 150, 150));
  MoveTo({1020, 760});
  std::vector<std::string> seen;
  for (const auto& e : Events())
    if (e.find("Mouse") != std::string::npos && e.find("Move") == std::string::npos) seen.push_back(e);
  EXPECT_EQ(seen, (std::vector<std::string>{"C.MouseEnter", "C.MouseLeave", "G.MouseEnter", "G.MouseLeave",
                                            "B.MouseEnter", "B.MouseLeave"}));
}

TEST_F(Mouse, TheCursorIsTheControlsUnlessTheScreenSetsOne) {
  TLayout l = Build();
  l.C->SetCursor(crHandPoint);
  l.G->SetCursor(crIBeam);
  MoveTo(At(l.C, 5, 5));
  EXPECT_EQ(GetCursor(), Screen->Cursors(crHandPoint));
  MoveTo(At(l.G, 5, 5));
  EXPECT_EQ(GetCursor(), Screen->Cursors(crIBeam));
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(GetCursor(), Screen->Cursors(crHourGlass)) << "at once, without a move";
  MoveTo(At(l.C, 6, 6));
  EXPECT_EQ(GetCursor(), Screen->Cursors(crHourGlass));
  Screen->SetCursor(crDefault);
  EXPECT_EQ(GetCursor(), Screen->Cursors(crHandPoint));
  EXPECT_NE(Screen->Cursors(crHandPoint), Screen->Cursors(crDefault));
}

TEST_F(Mouse, ARightClickOpensThePopupMenuThroughTheMenusHandler) {
  TLayout l = Build();
  auto* menu = new TComponent(l.F);
  std::vector<std::pair<TControl*, TPoint>> opened;
  TPopupMenuHandler previous = SetPopupMenuHandler([&](TComponent* m, TControl* c, TPoint p) {
    EXPECT_EQ(m, menu);
    opened.push_back({c, p});
    return true;
  });
  l.C->SetPopupMenu(menu);
  l.G->SetPopupMenu(menu);
  ClickAt(At(l.C, 4, 4), VK_RBUTTON);
  ClickAt(At(l.G, 6, 7), VK_RBUTTON);
  l.C->OnContextPopup = TContextPopupEvent::Lambda([](TObject*, TPoint, bool& handled) { handled = true; });
  ClickAt(At(l.C, 4, 4), VK_RBUTTON);
  ClickAt(At(l.D, 4, 4), VK_RBUTTON);
  ASSERT_EQ(opened.size(), 2u) << "a handled context popup and a control without menu open none";
  EXPECT_EQ(opened[0].first, l.C);
  EXPECT_EQ(opened[0].second, At(l.C, 4, 4));
  EXPECT_EQ(opened[1].first, l.G);
  EXPECT_EQ(opened[1].second, At(l.G, 6, 7));
  delete menu;
  EXPECT_EQ(l.C->GetPopupMenu(), nullptr) << "the menu going clears the reference";
  SetPopupMenuHandler(previous);
}

}  // namespace
}  // namespace ui_test
