// Cell editing through the inplace editor: opening it, committing, cancelling and moving on.
#include "tests/platform/ui/grids/GridHarness.h"

using namespace grid_test;

namespace {
void TypeKeys(const std::string& letters) {
  for (char c : letters) Key(UINT(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
}
}  // namespace

TEST_F(GridTest, TypedKeyOpensEnterCommitsEscapeRestores) {
  TTestGrid* g = NewGrid(4, 4);
  g->WithEditor = true;
  g->SetOptions(g->GetOptions() + TGridOptions{goEditing});
  g->SetCells(1, 1, "old");
  // A typed character opens the editor with that character in place of the text.
  TypeKeys("new");
  ASSERT_NE(g->InplaceEditor(), nullptr);
  EXPECT_TRUE(g->GetEditorMode());
  EXPECT_TRUE(g->InplaceEditor()->Focused());
  EXPECT_EQ(g->InplaceEditor()->GetText(), "new");
  Key(VK_RETURN);
  EXPECT_FALSE(g->GetEditorMode());
  EXPECT_FALSE(g->InplaceEditor()->GetVisible());
  EXPECT_TRUE(g->Focused());
  EXPECT_EQ(g->GetCells(1, 1), "new");
  // F2 opens with the caret at the end; Escape puts the text back and closes.
  Key(VK_F2);
  EXPECT_TRUE(g->InplaceEditor()->Focused());
  EXPECT_EQ(g->InplaceEditor()->GetSelStart(), 3);
  TypeKeys("er");
  EXPECT_EQ(g->GetCells(1, 1), "newer");
  Key(VK_ESCAPE);
  EXPECT_EQ(g->GetCells(1, 1), "new");
  EXPECT_FALSE(g->GetEditorMode());
  // Down in the editor stores the text and moves to the next row, out of editing.
  Key(VK_F2);
  Key(VK_BACK);
  Key(VK_DOWN);
  EXPECT_EQ(g->GetCells(1, 1), "ne");
  EXPECT_EQ(g->Row(), 2);
  EXPECT_FALSE(g->GetEditorMode());
  // With the editor always shown it follows the current cell.
  g->SetOptions(g->GetOptions() + TGridOptions{goAlwaysShowEditor});
  Key(VK_UP);
  EXPECT_TRUE(g->InplaceEditor()->GetVisible());
  EXPECT_EQ(g->InplaceEditor()->GetText(), "ne");
  g->SetOptions(g->GetOptions() - TGridOptions{goAlwaysShowEditor});
  // A double click on a cell opens the editor there.
  g->SetCells(2, 1, "dbl");
  TRect r = g->CellRect(2, 1);
  ClickAt(At(g, r.Left + 5, r.Top + 5));
  Press(At(g, r.Left + 5, r.Top + 5));
  Release(At(g, r.Left + 5, r.Top + 5));
  Press(At(g, r.Left + 5, r.Top + 5));
  Release(At(g, r.Left + 5, r.Top + 5));
  EXPECT_TRUE(g->GetEditorMode());
  EXPECT_EQ(g->InplaceEditor()->GetText(), "dbl");
}

TEST_F(GridTest, EditorEndsOnFocusLossAndFollowsLimits) {
  TTestGrid* g = NewGrid(4, 4);
  g->WithEditor = true;
  g->SetOptions(g->GetOptions() + TGridOptions{goEditing});
  auto* other = Make<TEdit>(form_, form_, "Other", Bounds(10, 200, 100, 24));
  TypeKeys("abc");
  ASSERT_TRUE(g->GetEditorMode());
  other->SetFocus();
  Pump();
  EXPECT_FALSE(g->GetEditorMode());
  EXPECT_EQ(g->GetCells(1, 1), "abc");
  // The cell's mask reaches the editor.
  struct TMasked : TObject {
    void Mask(TObject*, int32_t, int32_t, AnsiString& m) { m = "00;1;_"; }
  } masked;
  g->OnGetEditMask = TGetEditEvent(&masked, &TMasked::Mask);
  g->SetFocus();
  g->SetCol(2);
  Pump();
  TypeKeys("7x8");
  EXPECT_EQ(g->InplaceEditor()->GetEditText(), "78");
  EXPECT_EQ(g->GetCells(2, 1), "78");
}
