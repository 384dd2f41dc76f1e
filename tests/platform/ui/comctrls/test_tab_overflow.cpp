// Tabs that do not fit their control: a single row scrolled by two buttons, or rows of tabs
// (MultiLine).  Every tab stays reachable by the mouse, hidden tabs are not hit, a tab chosen by
// the keyboard or by code scrolls into view, and the pages follow the depth of the rows.
#include <set>

#include "platform/display/Display.h"
#include "platform/ui/ComCtrls.h"
#include "tests/platform/ui/controls/UiHarness.h"
#include "tests/support/TestOutput.h"

namespace ui_test {
namespace {

const char* const kTabCaptions[] = {"Output",  "Limits", "Log",   "Program", "Sequence", "Calibration",
                                    "Ramp",    "Display", "Ports", "Help",    "About",    "Data View"};

class TabOverflow : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form_ = NewForm(460, 320);
  }
  TPageControl* NewPages(TForm* Form, int Width, int Count, bool MultiLine, TTabPosition Position) {
    auto* pc = Make<TPageControl>(Form, Form, ("PC" + std::to_string(Form->ComponentCount())).c_str(),
                                  Bounds(10, 10, Width, 200));
    pc->SetMultiLine(MultiLine);
    pc->SetTabPosition(Position);
    for (int i = 0; i < Count; ++i) {
      auto* p = new TTabSheet(Form);
      p->SetCaption(kTabCaptions[i % 12]);
      p->SetPageControl(pc);
    }
    return pc;
  }
  // The middle of the part of tab I that is not cut by the control's edge or the scroll buttons.
  static TPoint Visible(TPageControl* Pc, int I) {
    TRect r = Pc->TabRect(I), back = Pc->ScrollButtonRect(false);
    int right = std::min<int>(r.Right, back.IsEmpty() ? Pc->GetClientWidth() : back.Left);
    int left = std::max<int>(r.Left, 0);
    return left < right ? TPoint{(left + right) / 2, (r.Top + r.Bottom) / 2} : TPoint{-1, -1};
  }
  static int HitAt(TPageControl* Pc, TPoint P) { return P.X < 0 ? -1 : Pc->IndexOfTabAt(P.X, P.Y); }
  void Click(TPageControl* Pc, TPoint P) {
    Press(At(Pc, P.X, P.Y));
    Release(At(Pc, P.X, P.Y));
  }
  static TPoint Middle(const TRect& R) { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }
  TForm* form_ = nullptr;
};

struct TOverflowCase {
  int width, count;
  bool multiLine;
  TTabPosition position;
};

TEST_F(TabOverflow, EveryTabIsReachedByTheMouseAndThePageFillsTheRestOfTheControl) {
  const TOverflowCase cases[] = {
      {400, 3, false, tpTop}, {200, 12, false, tpTop},    {200, 12, false, tpBottom}, {90, 4, false, tpTop},
      {400, 3, true, tpTop},  {200, 12, true, tpTop},     {150, 7, true, tpBottom},   {70, 4, true, tpTop},
  };
  for (const TOverflowCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " wide, " << c.count << " tabs"
                                    << (c.multiLine ? ", multi-line" : "")
                                    << (c.position == tpBottom ? ", at the bottom" : ""));
    TForm* form = NewForm(460, 320);
    TPageControl* pc = NewPages(form, c.width, c.count, c.multiLine, c.position);
    ShowForm(form);
    for (int i = 0; i < c.count; ++i) {
      // From the start, the forward button until the tab shows; then a click on it.
      pc->SetActivePageIndex(0);
      for (int k = 0; k < c.count && !c.multiLine && HitAt(pc, Visible(pc, i)) != i; ++k)
        Click(pc, Middle(pc->ScrollButtonRect(true)));
      ASSERT_EQ(HitAt(pc, Visible(pc, i)), i) << "tab " << i << " cannot be reached";
      Click(pc, Visible(pc, i));
      ASSERT_EQ(pc->GetActivePageIndex(), i);
      // The chosen row lies next to the page, and the page takes what the rows leave.
      const TRect tab = pc->TabRect(i), page = pc->DisplayRect();
      if (c.position == tpTop)
        EXPECT_EQ(tab.Bottom, page.Top - 4);
      else
        EXPECT_EQ(tab.Top, page.Bottom + 4);
      const TTabSheet* sheet = pc->Pages(i);
      EXPECT_EQ(Bounds(sheet->Left(), sheet->Top(), sheet->Width(), sheet->Height()), page);
      // The page shrinks by the depth of every row.
      std::set<int32_t> tops;
      for (int k = 0; k < c.count; ++k) tops.insert(pc->TabRect(k).Top);
      EXPECT_EQ(pc->GetClientHeight() - page.Height() - 8, 2 + int(tops.size()) * tab.Height());
      if (!c.multiLine) {
        EXPECT_EQ(tops.size(), 1u);
      }
      // Rows keep inside the control and their tabs apart.
      for (int k = 0; c.multiLine && k < c.count; ++k) {
        const TRect a = pc->TabRect(k);
        EXPECT_TRUE(a.Left >= 2 && (a.Right <= pc->GetClientWidth() - 2 || a.Left == 2)) << "tab " << k;
        for (int m = k + 1; m < c.count; ++m) {
          const TRect b = pc->TabRect(m);
          EXPECT_TRUE(a.Right <= b.Left || b.Right <= a.Left || a.Bottom <= b.Top || b.Bottom <= a.Top)
              << "tabs " << k << " and " << m << " overlap";
        }
      }
    }
    form->Free();
  }
}

TEST_F(TabOverflow, TheButtonsScrollOneTabAtATimeAndHideWhatTheyCover) {
  TPageControl* pc = NewPages(form_, 200, 12, false, tpTop);
  ShowForm(form_);
  const TRect back = pc->ScrollButtonRect(false), ahead = pc->ScrollButtonRect(true);
  ASSERT_FALSE(back.IsEmpty());
  EXPECT_EQ(back.Right, ahead.Left);
  EXPECT_EQ(ahead.Right, pc->GetClientWidth() - 2);
  // The tab running under the buttons is not hit there, nor anywhere right of their left edge.
  int under = 0;
  while (under < 11 && pc->TabRect(under).Right <= back.Left) ++under;
  EXPECT_EQ(pc->IndexOfTabAt(back.Left - 1, pc->TabRect(under).Top + 3), under);
  EXPECT_EQ(pc->IndexOfTabAt(back.Left + 1, pc->TabRect(under).Top + 3), -1);
  EXPECT_EQ(pc->IndexOfTabAt(back.Left + 1, pc->TabRect(under).Bottom - 1), -1);
  // Back does nothing at the start; forward moves the row by one tab's width.
  const int first = pc->TabRect(0).Width();
  Click(pc, Middle(back));
  EXPECT_EQ(pc->TabRect(0).Left, 2);
  Click(pc, Middle(ahead));
  EXPECT_EQ(pc->TabRect(1).Left, 2);
  EXPECT_EQ(pc->TabRect(0).Left, 2 - first);
  EXPECT_EQ(pc->IndexOfTabAt(1, pc->TabRect(1).Top + 3), -1) << "a tab scrolled out is hit";
  EXPECT_EQ(pc->GetActivePageIndex(), 0) << "scrolling chose a tab";
  // Forward stops once the last tab shows whole.
  for (int k = 0; k < 12; ++k) Click(pc, Middle(ahead));
  const TRect last = pc->TabRect(11);
  EXPECT_LE(last.Right, back.Left);
  const int lastLeft = last.Left;
  Click(pc, Middle(ahead));
  EXPECT_EQ(pc->TabRect(11).Left, lastLeft);
  // There the row could not take one more tab.
  int shown = 0;
  while (pc->TabRect(shown).Left < 2) ++shown;
  EXPECT_GT(pc->TabRect(11).Right + pc->TabRect(shown - 1).Width(), back.Left);
  // Wide enough, the buttons go and the row starts again at the left.
  pc->SetWidth(1000);
  EXPECT_TRUE(pc->ScrollButtonRect(true).IsEmpty());
  EXPECT_EQ(pc->TabRect(0).Left, 2);
}

TEST_F(TabOverflow, TabsChosenByKeysOrByCodeScrollIntoView) {
  TPageControl* pc = NewPages(form_, 200, 12, false, tpTop);
  ShowForm(form_);
  pc->SetFocus();
  const auto wholeInView = [&](int i) {
    const TRect r = pc->TabRect(i);
    return r.Left >= 2 && r.Right <= pc->ScrollButtonRect(false).Left;
  };
  for (int i = 1; i < 12; ++i) {
    Key(VK_RIGHT);
    ASSERT_EQ(pc->GetActivePageIndex(), i);
    EXPECT_TRUE(wholeInView(i)) << "tab " << i;
  }
  // Ctrl+Tab wraps round to the first tab, which comes back into view.
  KeyWith(VK_CONTROL, VK_TAB);
  EXPECT_EQ(pc->GetActivePageIndex(), 0);
  EXPECT_EQ(pc->TabRect(0).Left, 2);
  pc->SetActivePageIndex(8);
  EXPECT_TRUE(wholeInView(8));
  Key(VK_LEFT);
  EXPECT_TRUE(wholeInView(7));
}

TEST_F(TabOverflow, ScreenshotOfAScrolledRowAndOfRowsOfTabs) {
  form_->SetCaption("Tabs that do not fit");
  TPageControl* single = NewPages(form_, 260, 12, false, tpTop);
  single->SetHeight(90);
  single->SetActivePageIndex(6);
  TPageControl* rows = NewPages(form_, 260, 12, true, tpTop);
  rows->SetBounds(10, 110, 260, 200);
  rows->SetActivePageIndex(4);
  TPageControl* bottom = NewPages(form_, 170, 8, true, tpBottom);
  bottom->SetBounds(280, 10, 170, 300);
  bottom->SetActivePageIndex(6);
  ShowForm(form_);
  EXPECT_FALSE(single->ScrollButtonRect(true).IsEmpty());
  EXPECT_TRUE(SaveWindowPng(form_->Handle(), OutputPath("tabs_overflow.png")));
}

}  // namespace
}  // namespace ui_test
