// Sizing columns and rows to their measured content, the size limits, the wheel's row steps, the
// zoom and its bounds, panning with the middle button, the combo editor's notifications and the
// stretched column on resizing.
#include "platform/runtime/Strings.h"
#include "platform/ui/StdLists.h"
#include "tests/grid/sort/SortFixture.h"

namespace grid_sort_test {
namespace {

class AutoSize : public SortFixture {
 protected:
  static int32_t TextWidth(TAdvStringGrid* g, const AnsiString& s) {
    g->GetCanvas()->GetFont()->Assign(g->GetFont());
    return g->GetCanvas()->TextWidth(s);
  }
  static int32_t LineHeight(TAdvStringGrid* g) {
    g->GetCanvas()->GetFont()->Assign(g->GetFont());
    return g->GetCanvas()->TextHeight("gh");
  }
  static void Wheel(TAdvStringGrid* g, int16_t delta, WORD keys = 0) {
    SendMessageA(g->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(keys, WORD(delta)), 0);
  }
};

TEST_F(AutoSize, ColumnsTakeTheWidestMeasuredTextWithinTheLimits) {
  const AnsiString wide = "a considerably longer text";
  auto* g = Grid(3, {{"x", "y"}, {"short", wide}, {"", ""}});
  g->SetCells(1, 0, "H");
  // Twice the grid line, the text with its margins, one more margin and 2.
  const int32_t expected = 2 + TextWidth(g, wide) + 4 + 2 + 2;
  g->AutoSizeColumn(1);
  EXPECT_EQ(g->GetColWidths(1), expected);

  // A cell merged over two columns does not count for either.
  g->SetCells(1, 0, wide + wide + wide);
  g->MergeCells(1, 0, 2, 1);
  g->AutoSizeCol(1, false);
  EXPECT_EQ(g->GetColWidths(1), expected);

  g->SetColWidths(1, 400);
  g->AutoSizeCol(1, true);
  EXPECT_EQ(g->GetColWidths(1), 400) << "only growing";
  g->MaxColWidth = 50;
  g->AutoSizeCol(1, false);
  EXPECT_EQ(g->GetColWidths(1), 50);
  g->MaxColWidth = 0;
  g->OnUpdateColumnSize = TUpdateColumnSizeEvent::Lambda([](TObject*, int32_t, int32_t& w) { w += 7; });
  g->AutoSizeCol(1, false);
  EXPECT_EQ(g->GetColWidths(1), expected + 7);
  g->OnUpdateColumnSize = nullptr;

  g->SetCells(2, 1, "ab");
  g->AutoSizeColumns(false, 5);
  EXPECT_EQ(g->GetColWidths(2), 2 + TextWidth(g, "ab") + 4 + 2 + 2 + 5);
  EXPECT_EQ(g->GetColWidths(0), 2 + std::max(TextWidth(g, "x"), TextWidth(g, "y")) + 8 + 5);
}

TEST_F(AutoSize, SwitchedOnEveryColumnFitsItsContentWithTenPixelsToSpare) {
  auto* g = Grid(2, {{"x", "y"}, {"short", "a longer text"}});
  g->SetAutoSize(true);
  EXPECT_TRUE(g->GetAutoSize());
  EXPECT_EQ(g->GetColWidths(0), 2 + std::max(TextWidth(g, "x"), TextWidth(g, "y")) + 8 + 10)
      << "the fixed column too";
  EXPECT_EQ(g->GetColWidths(1), 2 + TextWidth(g, "a longer text") + 8 + 10);
  const int32_t height = g->GetHeight();
  g->SetColWidths(1, 30);
  g->SetAutoSize(false);
  EXPECT_EQ(g->GetColWidths(1), 30) << "switched off: nothing sized";
  EXPECT_EQ(g->GetHeight(), height) << "the control itself is never sized";
}

TEST_F(AutoSize, MarkupCellsTakeTheirRenderedSizeNotTheirTags) {
  auto* g = Grid(2, {{"x"}, {"<b>WWWWWWWWWW</b>"}});
  g->AutoSizeColumn(1);
  const int32_t plain = 2 + TextWidth(g, "WWWWWWWWWW") + 4 + 2 + 2;
  EXPECT_GT(g->GetColWidths(1), plain) << "bold is wider than the plain text";
  EXPECT_LT(g->GetColWidths(1), plain + TextWidth(g, "<b></b>")) << "the tags take no room";
  g->SetCells(1, 1, "<b>a</b><br>b<br>c");
  g->AutoSizeRow(1);
  EXPECT_GE(g->GetRowHeights(1), 3 * LineHeight(g)) << "each line break of the markup is a line";
}

TEST_F(AutoSize, RowsTakeTheirLinesAndLimits) {
  auto* g = Grid(2, {{"one", "a"}, {"x", "b"}});
  g->SetMultilinecells(true);
  g->SetCells(1, 1, "a\rb\rc");
  const int32_t h = LineHeight(g);
  EXPECT_EQ(g->MaxLinesInRow(1), 3);
  g->AutoSizeRow(1);
  EXPECT_EQ(g->GetRowHeights(1), 2 + 3 * h + 4 + 2);
  g->MinRowHeight = 40;
  g->AutoSizeRow(2);
  EXPECT_EQ(g->GetRowHeights(2), std::max(40, 2 + h + 4 + 2));
  g->SizeRowToLines(2, 2, 4);
  EXPECT_EQ(g->GetRowHeights(2), std::max(40, 4 + 2 * (h + h / 8)));
  g->SetMultilinecells(false);
  EXPECT_EQ(g->MaxLinesInRow(1), 1);
}

TEST_F(AutoSize, ARowGrownWhileTypingPlacesTheEditorAgainWithTheCaretAtTheEnd) {
  auto* g = Grid(2, {{"a", "b"}, {"c", "d"}});
  g->SetOptions(g->GetOptions() + TGridOptions{goEditing});
  g->SetMultilinecells(true);
  g->GetSizeWhileTyping()->Height = true;
  g->SetCol(1);
  g->SetRow(1);
  g->ShowInplaceEdit();
  ASSERT_TRUE(g->GetEditorMode());
  TInplaceEdit* e = g->InplaceEditor();
  e->SetText("typed");
  g->SetCells(1, 1, StringReplace(AnsiString(30, 'x'), "x", "line\r", {rfReplaceAll}));
  e->SetSelStart(0);
  g->AutoSizeRow(1);
  EXPECT_GT(g->GetRowHeights(1), g->GetClientHeight()) << "the rows no longer fit";
  EXPECT_EQ(e->GetSelStart(), 5);
}

TEST_F(AutoSize, ZoomChangesEverySizeWithinTenSteps) {
  auto* g = Grid(2, {{"a", "b"}, {"c", "d"}});
  const int32_t w = g->GetColWidths(1), h = g->GetRowHeights(1);
  g->Zoom(3);
  EXPECT_EQ(g->GetColWidths(1), w + 3);
  EXPECT_EQ(g->GetRowHeights(0), h + 3);
  g->Zoom(8);
  EXPECT_EQ(g->ZoomDelta(), 3) << "beyond 10 is ignored";
  g->Zoom(7);
  EXPECT_EQ(g->ZoomDelta(), 10);
  g->Zoom(-21);
  EXPECT_EQ(g->ZoomDelta(), 10);
  g->Zoom(-10);
  EXPECT_EQ(g->ZoomDelta(), 0);
  EXPECT_EQ(g->GetColWidths(1), w);
}

TEST_F(AutoSize, WheelMovesByTheScrollLinesAndOnceMoreByTheFramework) {
  Texts rows(29, "r");
  auto* g = Grid(2, {rows, rows});
  ASSERT_EQ(g->WheelScrollLines(), 3);
  int32_t frameworkWheel = 0;
  g->OnMouseWheel =
      TMouseWheelEvent::Lambda([&](TObject*, TShiftState, int32_t, TPoint, bool&) { ++frameworkWheel; });
  g->SetRow(1);
  Wheel(g, -120);
  EXPECT_EQ(g->GetRow(), 5);
  Wheel(g, 120);
  EXPECT_EQ(g->GetRow(), 1);
  g->SetRow(27);
  Wheel(g, -120);
  EXPECT_EQ(g->GetRow(), 29) << "never past the last row";

  const int32_t w = g->GetColWidths(1);
  g->SetRow(10);
  Wheel(g, -120, MK_CONTROL);
  EXPECT_EQ(g->ZoomDelta(), 3);
  EXPECT_EQ(g->GetColWidths(1), w + 3);
  EXPECT_EQ(g->GetRow(), 11) << "the framework's step still runs after a zoom";
  EXPECT_EQ(frameworkWheel, 4);

  g->EnableWheel = false;
  Wheel(g, -120);
  EXPECT_EQ(g->GetRow(), 12) << "only the framework's step";
}

TEST_F(AutoSize, ALoneFixedRowIgnoresTheWheelCompletely) {
  auto* g = NewGrid<TAdvStringGrid>(3, 1);
  g->FixedRowAlways = true;
  int32_t frameworkWheel = 0;
  g->OnMouseWheel =
      TMouseWheelEvent::Lambda([&](TObject*, TShiftState, int32_t, TPoint, bool&) { ++frameworkWheel; });
  Wheel(g, -120);
  EXPECT_EQ(frameworkWheel, 0);
}

TEST_F(AutoSize, VerticalPanningStepsRowsButNeverColumns) {
  Texts rows(20, "r");
  auto* g = Grid(4, {rows, rows, rows, rows});
  g->SetFixedCols(1);
  g->SetRow(3);
  g->SetCol(2);
  const TPoint origin{100, 80};
  Paint(g);
  SendMessageA(g->GetHandle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(origin.X, origin.Y));
  ASSERT_TRUE(g->Panning());
  ui_test::Pump();
  EXPECT_EQ(Px(g, origin.X, origin.Y), 0xFFFFFFu) << "the indicator's disc";
  EXPECT_EQ(Px(g, origin.X, origin.Y - 7), 0u) << "its upward arrow";
  EXPECT_NE(Px(g, origin.X - 7, origin.Y), 0u) << "no sideways arrow when panning vertically";
  const TPoint screen = g->ClientToScreen(TPoint{origin.X + 40, origin.Y + 40});
  SetCursorPos(screen.X, screen.Y);
  SendMessageA(g->GetHandle(), WM_TIMER, 999, 0);
  SendMessageA(g->GetHandle(), WM_TIMER, 999, 0);
  EXPECT_EQ(g->GetRow(), 5);
  EXPECT_EQ(g->GetCol(), 2);
  SendMessageA(g->GetHandle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(origin.X, origin.Y));
  EXPECT_FALSE(g->Panning());
  SendMessageA(g->GetHandle(), WM_TIMER, 999, 0);
  EXPECT_EQ(g->GetRow(), 5);
}

TEST_F(AutoSize, ScrollingEndsAnEditorControlButNotTheTextEditor) {
  Texts rows(30, "r");
  auto* g = Grid(2, {rows, rows});
  g->SetOptions(g->GetOptions() + TGridOptions{goEditing});
  g->SetEditLink(new TEditLink(form_));
  g->OnGetEditorType = TGetEditorTypeEvent::Lambda(
      [](TObject*, int32_t c, int32_t, TEditorType& e) { e = c == 1 ? edCustom : edNormal; });
  int32_t done = 0;
  g->OnEditingDone = TNotifyEvent::Lambda([&](TObject*) { ++done; });
  g->SetCol(1);
  g->SetRow(1);
  g->ShowInplaceEdit();
  ASSERT_TRUE(g->EditPending());
  g->SetTopRow(10);
  EXPECT_EQ(done, 1);

  g->SetCol(0);
  g->SetRow(12);
  g->ShowInplaceEdit();
  ASSERT_TRUE(g->GetEditorMode());
  g->SetTopRow(3);
  EXPECT_TRUE(g->GetEditorMode());
  EXPECT_EQ(done, 1);

  g->OnEditingDone = nullptr;  // the grid's end fires it again, after `done` is gone
}

TEST_F(AutoSize, ScrollingEndsTheGridsOwnEditorControls) {
  for (TEditorType t : {edComboList, edSpinEdit}) {
    Texts rows(30, "1");
    auto* g = Grid(2, {rows, rows});
    g->SetOptions(g->GetOptions() + TGridOptions{goEditing});
    g->OnGetEditorType = TGetEditorTypeEvent::Lambda(
        [t](TObject*, int32_t col, int32_t, TEditorType& e) { e = col == 1 ? t : edNormal; });
    g->SetCol(1);
    g->SetRow(4);
    g->ShowInplaceEdit();
    TWinControl* shown = g->ActiveEditorControl();
    ASSERT_NE(shown, nullptr) << int(t);
    g->SetTopRow(12);
    EXPECT_FALSE(shown->GetVisible()) << int(t);
    EXPECT_EQ(g->ActiveEditorControl(), nullptr) << int(t);
  }
}

TEST_F(AutoSize, ComboNotificationsBecomeGridEvents) {
  auto* g = Grid(3, {{"a", "b"}, {"c", "d"}, {"e", "f"}});
  auto* combo = new TComboBox(form_);
  combo->SetParent(g);
  combo->GetItems()->Add("one");
  combo->GetItems()->AddObject("two", g);
  combo->SetItemIndex(1);
  g->SetCol(2);
  g->SetRow(1);
  std::vector<std::string> seen;
  g->OnComboChange = TComboChangeEvent::Lambda([&](TObject*, int32_t c, int32_t r, int32_t i, AnsiString s) {
    seen.push_back("change " + std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(i) + " " +
                   s);
  });
  g->OnComboObjectChange =
      TComboObjectChangeEvent::Lambda([&](TObject*, int32_t, int32_t, int32_t i, AnsiString, TObject* o) {
        seen.push_back("object " + std::to_string(i) + (o == g ? " grid" : " nil"));
      });
  g->OnComboCloseUp = TComboCloseUpEvent::Lambda([&](TObject*, int32_t a, int32_t b) {
    seen.push_back("closeup " + std::to_string(a) + "," + std::to_string(b));
  });
  auto notify = [&](WORD code) {
    SendMessageA(g->GetHandle(), WM_COMMAND, MAKEWPARAM(0, code),
                 reinterpret_cast<LPARAM>(combo->GetHandle()));
  };
  notify(CBN_SELCHANGE);
  notify(CBN_CLOSEUP);
  combo->SetText("typed");
  notify(CBN_EDITCHANGE);
  EXPECT_EQ(seen, (std::vector<std::string>{"change 2,1 1 two", "object 1 grid", "closeup 1,2",
                                            "change 2,1 -1 typed"}));
}

TEST_F(AutoSize, ResizingStretchesTheStretchColumn) {
  auto* g = Grid(3, {{"a"}, {"b"}, {"c"}});
  for (int32_t c = 0; c < 3; ++c) g->SetColWidths(c, 50);
  g->GetColumnSize()->Stretch = true;
  g->SetBounds(g->GetLeft(), g->GetTop(), 400, g->GetHeight());
  EXPECT_EQ(g->GetColWidths(2), g->GetClientWidth() - 100 - 1);
  EXPECT_EQ(g->GetColWidths(0), 50);
}

}  // namespace
}  // namespace grid_sort_test
