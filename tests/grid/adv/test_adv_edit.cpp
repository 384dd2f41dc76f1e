// Editing in the advanced grid as the application's grids use it: no goEditing, RangeSelectAndEdit
// and OnCanEditCell decide; typing opens the editor, Enter, arrows and Tab write back and move,
// OnEditingDone tells each end; editor character filters and validation; rows inserted and
// deleted with their texts, heights and properties.
#include <memory>

#include "grid/AdvGrid.h"
#include "platform/ui/Clipbrd.h"
#include "tests/grid/support/GridFixture.h"

namespace adv_grid_test {
namespace {

void TypeKeys(const std::string& keys) {
  for (char c : keys) Key(UINT(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
}

class AdvEdit : public GridFixture {
 protected:
  // A grid set up as the application's lists: lines only, RangeSelectAndEdit, column 3 read-only.
  TAdvStringGrid* ListGrid() {
    auto* g = NewGrid<TAdvStringGrid>(4, 5);
    g->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine});
    g->GetMouseActions()->RangeSelectAndEdit = true;
    g->OnCanEditCell =
        TCanEditCellEvent::Lambda([](TObject*, int32_t, int32_t c, bool& can) { can = c != 3; });
    g->OnEditingDone = TNotifyEvent::Lambda([this](TObject*) { ++done_; });
    g->OnKeyPress = TKeyPressEvent::Lambda([this](TObject*, char& k) { pressed_ += k; });
    for (int32_t r = 1; r < 5; ++r)
      for (int32_t c = 1; c < 4; ++c) g->SetCells(c, r, "c" + std::to_string(c) + std::to_string(r));
    g->SetCol(1);
    g->SetRow(1);
    Pump();
    return g;
  }
  bool Editing(TAdvStringGrid* g) {
    return g->InplaceEditor() && g->InplaceEditor()->GetVisible() && g->InplaceEditor()->Focused();
  }
  int done_ = 0;
  std::string pressed_;
};

TEST_F(AdvEdit, TypingOpensTheEditorOnlyWhereTheProgramAllows) {
  TAdvStringGrid* g = ListGrid();
  TypeKeys("42");
  ASSERT_TRUE(Editing(g));
  EXPECT_EQ(g->InplaceEditor()->GetText(), "42") << "the typed text replaces the selected cell text";
  Key(VK_RETURN);
  EXPECT_FALSE(g->InplaceEditor()->GetVisible());
  EXPECT_EQ(g->GetCells(1, 1), "42");
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(1,1)") << "Enter moves nothing without AdvanceOnEnter";
  EXPECT_EQ(done_, 1);
  EXPECT_EQ(pressed_, "42\r") << "each character reaches OnKeyPress before the editor takes it";

  // Onto a cell the program refuses: goEditing goes, typing only reaches OnKeyPress.
  g->SetCol(3);
  EXPECT_FALSE(g->GetOptions().Contains(goEditing));
  TypeKeys("7");
  EXPECT_FALSE(g->InplaceEditor()->GetVisible());
  EXPECT_EQ(g->GetCells(3, 1), "c31");
  EXPECT_EQ(pressed_, "42\r7");
  g->SetCol(2);
  EXPECT_TRUE(g->GetOptions().Contains(goEditing)) << "moving onto an editable cell turns editing on";

  // What OnKeyPress swallows never reaches the editor.
  g->OnKeyPress = TKeyPressEvent::Lambda([](TObject*, char& k) {
    if (k == '9') k = 0;
  });
  TypeKeys("595");
  ASSERT_TRUE(Editing(g));
  EXPECT_EQ(g->InplaceEditor()->GetText(), "55");
}

TEST_F(AdvEdit, ArrowsWriteBackAndMoveEscapeRestoresEditingDoneOnEveryEnd) {
  TAdvStringGrid* g = ListGrid();
  TypeKeys("5");
  Key(VK_DOWN);
  EXPECT_EQ(g->GetCells(1, 1), "5");
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(1,2)");
  EXPECT_FALSE(g->InplaceEditor()->GetVisible());
  EXPECT_EQ(done_, 1);

  TypeKeys("9");
  Key(VK_ESCAPE);
  EXPECT_EQ(g->GetCells(1, 2), "c12") << "Escape puts back the text from before editing";
  EXPECT_FALSE(g->InplaceEditor()->GetVisible());
  EXPECT_EQ(done_, 2);

  // The second edit goes to its own cell, not to the one edited first.
  g->SetCol(2);
  g->SetRow(3);
  TypeKeys("8");
  Key(VK_UP);
  EXPECT_EQ(g->GetCells(2, 3), "8");
  EXPECT_EQ(g->GetCells(1, 2), "c12");
  EXPECT_EQ(g->GetCells(1, 1), "5");
  EXPECT_EQ(g->GetRow(), 2);

  // Losing the focus to another control ends the edit too.
  auto* other = Make<TRecControl>(form_, form_, "Other", Bounds(350, 10, 50, 50));
  other->SetTabStop(true);
  TypeKeys("1");
  ASSERT_TRUE(Editing(g));
  const int before = done_;
  other->SetFocus();
  Pump();
  EXPECT_EQ(done_, before + 1);
  EXPECT_EQ(g->GetCells(2, 2), "1");
}

TEST_F(AdvEdit, AdvanceOnEnterAndTabsMoveToTheNextEditableCell) {
  TAdvStringGrid* g = ListGrid();
  g->GetNavigation()->AdvanceOnEnter = true;
  g->SetCol(2);
  TypeKeys("x");
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(2, 1), "x");
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(1,2)") << "column 3 may not be edited: skipped, next row";
  EXPECT_TRUE(Editing(g)) << "the next cell's editor opens";
  Key(VK_ESCAPE);

  // No editable cell anywhere: the advance stays where it is instead of running forever.
  g->OnCanEditCell = TCanEditCellEvent::Lambda([](TObject*, int32_t, int32_t, bool& can) { can = false; });
  g->AdvanceCell(g->GetCol(), g->GetRow(), true, false, true);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(1,2)");

  g->OnCanEditCell = nullptr;
  g->SetOptions(g->GetOptions() + TGridOptions{goTabs});
  g->SetCol(3);
  g->SetRow(4);
  Key(VK_TAB);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(1,1)") << "Tab wraps from the last cell";
  KeyWith(VK_SHIFT, VK_TAB);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(3,4)");
}

TEST_F(AdvEdit, ValidationRefusalKeepsEditingInTheCell) {
  TAdvStringGrid* g = ListGrid();
  std::vector<std::string> checked;
  g->OnCellValidate =
      TCellValidateEvent::Lambda([&](TObject*, int32_t c, int32_t r, AnsiString& v, bool& ok) {
        checked.push_back(Coord(c, r) + v);
        ok = v != "0";
      });
  TypeKeys("0");
  Key(VK_DOWN);
  EXPECT_EQ(checked, std::vector<std::string>{"(1,1)0"});
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(1,1)") << "refused: the current cell stays";
  EXPECT_EQ(g->GetCells(1, 1), "c11");
  EXPECT_TRUE(Editing(g)) << "and its editor is open again";
  Key(VK_BACK);
  TypeKeys("3");
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(1, 1), "c13") << "the caret was at the end of the old text";
  EXPECT_FALSE(g->InplaceEditor()->GetVisible());
}

TEST_F(AdvEdit, EditorTypesFilterCharactersAndTheLengthLimitHolds) {
  TAdvStringGrid* g = ListGrid();
  TEditorType type = edNumeric;
  g->OnGetEditorType =
      TGetEditorTypeEvent::Lambda([&](TObject*, int32_t, int32_t, TEditorType& e) { e = type; });
  const int beeps = MessageBeepCount();
  TypeKeys("1");
  Key(VK_SUBTRACT);
  TypeKeys("a2");
  ASSERT_TRUE(Editing(g));
  EXPECT_EQ(g->InplaceEditor()->GetText(), "12");
  EXPECT_GE(MessageBeepCount(), beeps + 1) << "a minus after a digit beeps";
  Key(VK_ESCAPE);

  type = edPassword;
  g->SetRow(3);
  TypeKeys("pw");
  EXPECT_EQ(g->InplaceEditor()->GetPasswordChar(), '*');
  Key(VK_ESCAPE);

  type = edUpperCase;
  g->SetMaxEditLength(3);
  g->SetRow(2);
  TypeKeys("abcd");
  EXPECT_EQ(g->InplaceEditor()->GetText(), "ABC") << "upper-cased, and no fourth character";
  Key(VK_BACK);
  EXPECT_EQ(g->InplaceEditor()->GetText(), "AB");
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(1, 2), "AB");
}

TEST_F(AdvEdit, PastedTextIsTakenByTypeAndLookupCompletes) {
  TAdvStringGrid* g = ListGrid();
  TEditorType type = edNormal;
  g->OnGetEditorType =
      TGetEditorTypeEvent::Lambda([&](TObject*, int32_t, int32_t, TEditorType& e) { e = type; });
  struct Case {
    TEditorType type;
    const char* pasted;
    const char* result;
  } cases[] = {
      {edNumeric, "12.5", "1"},  {edNumeric, "-12", "-12"}, {edPositiveNumeric, "-12", "1"},
      {edFloat, "12.5", "12.5"}, {edUpperCase, "ab", "AB"}, {edMixedCase, "o'neil", "O'Neil"},
  };
  for (const Case& c : cases) {
    type = c.type;
    TypeKeys("1");
    ASSERT_TRUE(Editing(g));
    g->InplaceEditor()->SelectAll();
    Clipboard()->SetAsText(c.pasted);
    g->InplaceEditor()->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(g->InplaceEditor()->GetText(), c.result) << c.pasted;
    Key(VK_ESCAPE);
  }

  type = edNormal;
  g->Lookup = true;
  g->GetLookupItems()->Add("Apple");
  g->GetLookupItems()->Add("Apricot");
  TypeKeys("ap");
  EXPECT_EQ(g->InplaceEditor()->GetText(), "apple");
  EXPECT_EQ(g->InplaceEditor()->GetSelText(), "ple");
  Key(VK_BACK);
  EXPECT_EQ(g->InplaceEditor()->GetText(), "ap") << "no completion right after Backspace";
  TypeKeys("r");
  EXPECT_EQ(g->InplaceEditor()->GetText(), "apricot");
  Key(VK_ESCAPE);

  // Type-ahead moves to the first row whose text starts with the typed letters.
  auto* t = NewGrid<TAdvStringGrid>(3, 5);
  t->GetNavigation()->AutoGotoWhenSorted = true;
  t->GetNavigation()->AutoGotoIncremental = true;
  const char* names[] = {"", "beta", "alpha", "bravo", "charlie"};
  for (int32_t r = 1; r < 5; ++r) t->SetCells(1, r, names[r]);
  TypeKeys("br");
  EXPECT_EQ(t->GetRow(), 3);
  EXPECT_EQ(t->LookupRowByPrefix("C"), 4);
  EXPECT_EQ(t->LookupRowByPrefix("X"), -1);
}

// A link editing with a plain edit of its own.
class TTestLink : public TEditLink {
 public:
  explicit TTestLink(TComponent* AOwner) : TEditLink(AOwner) {}
  TEdit* Edit = nullptr;
  TWinControl* GetEditControl() override { return Edit; }
  void CreateEditControl(TWinControl* AParent) override {
    if (!Edit) {
      Edit = new TEdit(this);
      Edit->OnKeyDown =
          TKeyEvent::Lambda([this](TObject* s, WORD& k, TShiftState sh) { EditKeyDown(s, k, sh); });
    }
    Edit->SetParent(AParent);
  }
  void GetEditorValue(AnsiString& S) override { S = Edit->GetText(); }
  void SetEditorValue(const AnsiString& S) override { Edit->SetText(S); }
};

TEST_F(AdvEdit, CustomCellsAreEditedThroughTheEditLink) {
  TAdvStringGrid* g = ListGrid();
  auto* link = new TTestLink(form_);
  g->SetEditLink(link);
  g->OnGetEditorType = TGetEditorTypeEvent::Lambda(
      [](TObject*, int32_t c, int32_t, TEditorType& e) { e = c == 2 ? edCustom : edNormal; });
  std::vector<std::string> props;
  g->OnGetEditorProp = TGetEditorPropEvent::Lambda([&](TObject*, int32_t c, int32_t r, TEditLink* l) {
    props.push_back(Coord(c, r) + (l == link ? "link" : ""));
  });
  g->SetCol(2);
  TypeKeys("5");
  ASSERT_NE(link->Edit, nullptr);
  EXPECT_TRUE(link->Edit->Focused());
  EXPECT_EQ(props, std::vector<std::string>{"(2,1)link"});
  EXPECT_EQ(link->Edit->GetText(), "5") << "the typed character reaches the link's control";
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(2, 1), "5");
  EXPECT_FALSE(link->Edit->GetVisible());
  EXPECT_EQ(done_, 1);

  // Escape leaves the cell as it was: the link's value is not stored over it.
  g->SetRow(2);
  TypeKeys("9");
  Key(VK_ESCAPE);
  EXPECT_EQ(g->GetCells(2, 2), "c22");
  EXPECT_EQ(done_, 2);

  // Down leaves the link, stores and moves.
  TypeKeys("8");
  Key(VK_DOWN);
  EXPECT_EQ(g->GetCells(2, 2), "8");
  EXPECT_EQ(g->GetRow(), 3);
  delete link;
  EXPECT_EQ(g->GetEditLink(), nullptr);
}

TEST_F(AdvEdit, KeysToggleCellControlsAndInsertOrDeleteRowsWhenAllowed) {
  TAdvStringGrid* g = ListGrid();
  std::vector<std::string> clicks;
  g->OnCheckBoxClick = TCheckBoxClickEvent::Lambda([&](TObject*, int32_t c, int32_t r, bool state) {
    clicks.push_back(Coord(c, r) + (state ? "on" : "off"));
  });
  g->CreateCellGraphic(2, 2)->CellType = ctCheckBox;
  g->SetCol(2);
  g->SetRow(2);
  Key(VK_SPACE);
  Key(VK_SPACE);
  TypeKeys("x");
  EXPECT_EQ(clicks, (std::vector<std::string>{"(2,2)on", "(2,2)off"}));
  EXPECT_FALSE(g->InplaceEditor() && g->InplaceEditor()->GetVisible()) << "typing never edits a check box";
  g->OnCanEditCell = TCanEditCellEvent::Lambda([](TObject*, int32_t, int32_t, bool& can) { can = false; });
  Key(VK_SPACE);
  EXPECT_EQ(clicks.size(), 2u) << "refused by OnCanEditCell";

  // Insert and Delete change rows only when the navigation allows it and the program agrees.
  const int32_t rows = g->GetRowCount();
  Key(VK_INSERT);
  EXPECT_EQ(g->GetRowCount(), rows);
  g->GetNavigation()->AllowInsertRow = true;
  g->GetNavigation()->AllowDeleteRow = true;
  bool allowDelete = false;
  g->OnCanDeleteRow = TCanDeleteRowEvent::Lambda([&](TObject*, int32_t, bool& can) { can = allowDelete; });
  Key(VK_INSERT);
  EXPECT_EQ(g->GetRowCount(), rows + 1);
  EXPECT_EQ(g->GetCells(1, 2), "") << "the new empty row takes the current row's place";
  EXPECT_EQ(g->GetCells(1, 3), "c12");
  Key(VK_DELETE);
  EXPECT_EQ(g->GetRowCount(), rows + 1);
  allowDelete = true;
  Key(VK_DELETE);
  EXPECT_EQ(g->GetRowCount(), rows);
  EXPECT_EQ(g->GetCells(1, 2), "c12");

  // Home and End by rows.
  g->GetNavigation()->HomeEndKey = heFirstLastRow;
  Key(VK_END);
  EXPECT_EQ(g->GetRow(), g->GetRowCount() - 1);
  Key(VK_HOME);
  EXPECT_EQ(g->GetRow(), 1);
}

TEST_F(AdvEdit, InsertingAndDeletingRowsKeepsTextsHeightsAndPropertiesInStep) {
  auto* g = NewGrid<TAdvStringGrid>(3, 2);
  g->SetCells(1, 1, "one");
  g->SetRowHeights(1, 33);
  g->CellProperties(1, 1)->SetBrushColor(clRed);
  g->SetRow(1);
  int changes = 0;
  TRect changed{};
  g->OnCellsChanged = TCellsChangedEvent::Lambda([&](TObject*, TRect r) {
    ++changes;
    changed = r;
  });
  g->InsertRows(1, 1);
  EXPECT_EQ(g->GetRowCount(), 3);
  EXPECT_EQ(g->GetCells(1, 1), "");
  EXPECT_FALSE(g->HasCellProperties(1, 1));
  EXPECT_EQ(g->GetRowHeights(1), g->GetDefaultRowHeight());
  EXPECT_EQ(g->GetCells(1, 2), "one");
  EXPECT_EQ(g->GetRowHeights(2), 33);
  ASSERT_TRUE(g->HasCellProperties(1, 2));
  EXPECT_EQ(g->CellProperties(1, 2)->GetBrushColor(), clRed);
  EXPECT_EQ(g->GetRow(), 1) << "the current row keeps its index";
  EXPECT_EQ(changes, 0) << "insertion reports nothing";
  g->InsertRows(g->GetRowCount(), 2);
  EXPECT_EQ(g->GetRowCount(), 5);

  g->SetCells(1, 4, "last");
  g->DeleteRows(1, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(changed, (TRect{0, 1, 2, 2}));
  EXPECT_EQ(g->GetCells(1, 1), "one");
  EXPECT_EQ(g->GetRowHeights(1), 33);
  EXPECT_EQ(g->CellProperties(1, 1)->GetBrushColor(), clRed);
  EXPECT_EQ(g->GetCells(1, 3), "last");

  // Deleting the last row above a footer moves the current row onto the new last data row.
  g->SetFixedFooters(1);
  g->SetRow(2);
  g->DeleteRows(2, 1);
  EXPECT_EQ(g->GetRowCount(), 3);
  EXPECT_EQ(g->GetRow(), 1);
  // Deleting the only data row between fixed and footer rows hides the selection.
  g->DeleteRows(1, 1);
  EXPECT_TRUE(g->SelectionParked());

  // Columns: inserted empty with the default width, removed with their cells.
  auto* h = NewGrid<TAdvStringGrid>(4, 3);
  h->SetCells(2, 1, "b");
  h->SetCells(3, 1, "c");
  h->CellProperties(3, 1)->FontSize = 8;
  h->InsertColumns(2, 1);
  EXPECT_EQ(h->GetColCount(), 5);
  EXPECT_EQ(h->GetCells(2, 1), "");
  EXPECT_EQ(h->GetCells(3, 1), "b");
  EXPECT_EQ(h->CellProperties(4, 1)->FontSize, 8);
  h->RemoveColumns(2, 2);
  EXPECT_EQ(h->GetColCount(), 3);
  EXPECT_EQ(h->GetCells(2, 1), "c");
  EXPECT_EQ(h->CellProperties(2, 1)->FontSize, 8);
}

}  // namespace
}  // namespace adv_grid_test
