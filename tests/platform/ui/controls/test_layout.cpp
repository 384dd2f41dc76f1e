// Alignment, anchors and constraints; windows made on demand and again; the notifications of
// visibility, enabling, text, colour and font.
#include <functional>
#include <map>

#include "tests/platform/ui/controls/UiHarness.h"

namespace ui_test {
namespace {

class Layout : public UiTest {
 protected:
  // A 300 x 200 panel whose raised bevel (2 pixels) the children align inside.
  TRecPanel* Host(TForm* f) {
    TRecPanel* p = Make<TRecPanel>(f, f, "Host", Bounds(0, 0, 300, 200));
    p->SetBevelWidth(2);
    return p;
  }
};

TEST_F(Layout, AlignedChildrenFillTheEdgesInsideTheBevelsAndFollowResizing) {
  TForm* f = NewForm(500, 400);
  TRecPanel* host = Host(f);
  auto make = [&](const char* name, TAlign a, TRect b) {
    TRecControl* c = Make<TRecControl>(f, host, name, b);
    c->SetAlign(a);
    return c;
  };
  TRecControl* top = make("T", alTop, Bounds(0, 0, 10, 20));
  TRecControl* bottom = make("B", alBottom, Bounds(0, 0, 10, 30));
  TRecControl* left = make("L", alLeft, Bounds(0, 0, 40, 10));
  TRecControl* right = make("R", alRight, Bounds(0, 0, 50, 10));
  TRecControl* client = make("C", alClient, Bounds(0, 0, 10, 10));
  struct Case {
    TSize host;
    bool topVisible;
    TRect t, b, l, r, c;
  } cases[] = {
      {{300, 200},
       true,
       Rect(2, 2, 298, 22),
       Rect(2, 168, 298, 198),
       Rect(2, 22, 42, 168),
       Rect(248, 22, 298, 168),
       Rect(42, 22, 248, 168)},
      {{400, 300},
       true,
       Rect(2, 2, 398, 22),
       Rect(2, 268, 398, 298),
       Rect(2, 22, 42, 268),
       Rect(348, 22, 398, 268),
       Rect(42, 22, 348, 268)},
      {{400, 300},
       false,
       Rect(2, 2, 398, 22),
       Rect(2, 268, 398, 298),
       Rect(2, 2, 42, 268),
       Rect(348, 2, 398, 268),
       Rect(42, 2, 348, 268)},
  };
  for (bool shown : {false, true}) {
    if (shown) ShowForm(f);
    for (const Case& c : cases) {
      host->SetBounds(0, 0, c.host.cx, c.host.cy);
      top->SetVisible(c.topVisible);
      std::string where =
          (shown ? "shown " : "hidden ") + std::to_string(c.host.cx) + (c.topVisible ? "" : " no top");
      if (c.topVisible) {
        EXPECT_EQ(top->GetBoundsRect(), c.t) << where;
      }
      EXPECT_EQ(bottom->GetBoundsRect(), c.b) << where;
      EXPECT_EQ(left->GetBoundsRect(), c.l) << where;
      EXPECT_EQ(right->GetBoundsRect(), c.r) << where;
      EXPECT_EQ(client->GetBoundsRect(), c.c) << where;
    }
    top->SetVisible(true);
    host->SetBounds(0, 0, 300, 200);
  }
  // The window follows the bounds.
  POINT o{0, 0};
  ClientToScreen(right->Handle(), &o);
  EXPECT_EQ(TPoint(o), At(host, 248, 22));
}

TEST_F(Layout, StackedEdgesKeepTheirOrderAndAMovedControlTakesItsNewPlace) {
  TForm* f = NewForm();
  TRecPanel* host = Host(f);
  TRecControl* a = Make<TRecControl>(f, host, "A", Bounds(0, 0, 10, 20));
  TRecControl* b = Make<TRecControl>(f, host, "B", Bounds(0, 50, 10, 30));
  a->SetAlign(alTop);
  b->SetAlign(alTop);
  EXPECT_EQ(a->GetTop(), 2);
  EXPECT_EQ(b->GetTop(), 22);
  b->SetTop(0);
  EXPECT_EQ(b->GetTop(), 2);
  EXPECT_EQ(a->GetTop(), 32);
}

TEST_F(Layout, AnchorsKeepDistancesAndConstraintsLimitTheSize) {
  TForm* f = NewForm(500, 400);
  TRecPanel* host = Host(f);
  host->SetBevelOuter(bvNone);
  struct Case {
    const char* name;
    TAnchors anchors;
    TRect start, after;
  } cases[] = {
      {"RB", {akRight, akBottom}, Bounds(250, 150, 20, 20), Bounds(350, 250, 20, 20)},
      {"LR", {akLeft, akTop, akRight}, Bounds(10, 10, 100, 20), Bounds(10, 10, 200, 20)},
      {"TB", {akLeft, akTop, akBottom}, Bounds(10, 40, 20, 100), Bounds(10, 40, 20, 200)},
      {"None", {}, Bounds(140, 90, 20, 20), Bounds(190, 140, 20, 20)},
      {"LT", {akLeft, akTop}, Bounds(5, 5, 20, 20), Bounds(5, 5, 20, 20)},
  };
  std::vector<TRecControl*> made;
  for (const Case& c : cases) {
    TRecControl* x = Make<TRecControl>(f, host, c.name, c.start);
    x->SetAnchors(c.anchors);
    made.push_back(x);
  }
  host->SetBounds(0, 0, 400, 300);
  for (size_t i = 0; i < made.size(); ++i)
    EXPECT_EQ(made[i]->GetBoundsRect(), cases[i].after) << cases[i].name;

  TRecControl* limited = made[1];
  limited->GetConstraints()->SetMaxWidth(150);
  EXPECT_EQ(limited->GetWidth(), 150) << "a new limit applies at once";
  limited->SetBounds(10, 10, 20, 20);
  limited->GetConstraints()->SetMinWidth(30);
  limited->GetConstraints()->SetMinHeight(25);
  EXPECT_EQ(limited->GetBoundsRect(), Bounds(10, 10, 30, 25));
  limited->GetConstraints()->SetMaxWidth(20);
  EXPECT_EQ(limited->GetConstraints()->GetMinWidth(), 20) << "a maximum below the minimum lowers it";
}

TEST_F(Layout, AlignmentWaitsWhileDisabled) {
  TForm* f = NewForm();
  TRecPanel* host = Host(f);
  host->DisableAlign();
  TRecControl* c = Make<TRecControl>(f, host, "C", Bounds(50, 50, 10, 10));
  c->SetAlign(alClient);
  EXPECT_EQ(c->GetBoundsRect(), Bounds(50, 50, 10, 10));
  host->EnableAlign();
  EXPECT_EQ(c->GetBoundsRect(), Rect(2, 2, 298, 198));
}

TEST_F(Layout, WindowsAreMadeWhenNeededAndMadeAgainKeepingTheText) {
  TForm* f = NewForm();
  TRecPanel* p = Make<TRecPanel>(f, f, "P", Bounds(10, 10, 200, 100));
  TRecControl* c = Make<TRecControl>(f, p, "C", Bounds(10, 10, 50, 20));
  EXPECT_FALSE(c->HandleAllocated());
  EXPECT_FALSE(p->HandleAllocated());
  HWND h = c->Handle();
  EXPECT_TRUE(p->HandleAllocated()) << "a window needs its parents' windows";
  EXPECT_FALSE(c->Showing());
  ShowForm(f);
  EXPECT_TRUE(c->Showing());
  EXPECT_TRUE(IsWindowVisible(h));
  p->SetVisible(false);
  EXPECT_FALSE(c->Showing()) << "hidden with its parent";
  p->SetVisible(true);

  c->SetCaption("kept");
  c->RecreateWnd();
  EXPECT_NE(c->Handle(), h);
  EXPECT_EQ(c->GetCaption(), "kept");
  EXPECT_EQ(GetWindowCaption(c->Handle()), "kept");
  EXPECT_EQ(FindControl(c->Handle()), c);
  EXPECT_EQ(FindControl(h), nullptr);

  // A control inside a rebuilt parent keeps the focus it had.
  c->SetFocus();
  ASSERT_TRUE(c->Focused());
  p->RecreateWnd();
  EXPECT_TRUE(c->Focused()) << "the focus follows the rebuilt windows";
  c->RecreateWnd();
  EXPECT_TRUE(c->Focused());

  TRecControl orphan(nullptr);
  orphan.SetName("Orphan");
  try {
    orphan.Handle();
    ADD_FAILURE() << "no parent window";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Control 'Orphan' has no parent window");
  }
}

// Counts the framework notifications a control receives.
class TCounter : public TRecControl {
 public:
  explicit TCounter(TComponent* AOwner) : TRecControl(AOwner) {}
  std::map<UINT, int> Seen;
  void Dispatch(TMessage& m) override {
    if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) ++Seen[m.Msg];
    TRecControl::Dispatch(m);
  }
};

TEST_F(Layout, ChangesSendTheirNotificationsOnceAndEqualValuesNone) {
  TForm* f = NewForm();
  auto* c = Make<TCounter>(f, f, "C", Bounds(10, 10, 50, 20));
  ShowForm(f);
  TFont bold;
  bold.SetStyle({fsBold});
  // A font assigned again is a change again, as the framework's font reports it.
  struct Case {
    const char* what;
    std::function<void()> change;
    UINT msg;
    int twice;
  } cases[] = {
      {"text", [&] { c->SetText("x"); }, CM_TEXTCHANGED, 1},
      {"enabled", [&] { c->SetEnabled(false); }, CM_ENABLEDCHANGED, 1},
      {"visible", [&] { c->SetVisible(false); }, CM_VISIBLECHANGED, 1},
      {"colour", [&] { c->SetColor(clRed); }, CM_COLORCHANGED, 1},
      {"font", [&] { c->SetFont(&bold); }, CM_FONTCHANGED, 2},
  };
  for (const Case& k : cases) {
    c->Seen.clear();
    k.change();
    k.change();
    EXPECT_EQ(c->Seen[k.msg], k.twice) << k.what;
  }
  EXPECT_FALSE(IsWindowEnabled(c->Handle()));
  EXPECT_FALSE(IsWindowVisible(c->Handle()));
  EXPECT_EQ(GetWindowCaption(c->Handle()), "x");
}

TEST_F(Layout, ParentColourAndFontFlowToChildrenThatFollowTheirParent) {
  TForm* f = NewForm();
  TRecPanel* p = Make<TRecPanel>(f, f, "P", Bounds(10, 10, 200, 100));
  TRecControl* follows = Make<TRecControl>(f, p, "A", Bounds(10, 10, 50, 20));
  TRecControl* own = Make<TRecControl>(f, p, "B", Bounds(10, 40, 50, 20));
  own->SetColor(clLime);
  p->SetColor(clNavy);
  p->GetFont()->SetSize(14);
  EXPECT_EQ(follows->GetColor(), clNavy);
  EXPECT_TRUE(follows->GetParentColor());
  EXPECT_EQ(own->GetColor(), clLime);
  EXPECT_EQ(follows->GetFont()->GetSize(), 14);
  EXPECT_TRUE(follows->GetParentFont());
  own->SetParentColor(true);
  EXPECT_EQ(own->GetColor(), clNavy);

  TRecControl* named = Make<TRecControl>(f, p, "First", Bounds(0, 0, 10, 10));
  named->SetCaption("First");
  named->SetName("Second");
  EXPECT_EQ(named->GetCaption(), "Second") << "a caption equal to the name follows a rename";
}

}  // namespace
}  // namespace ui_test
