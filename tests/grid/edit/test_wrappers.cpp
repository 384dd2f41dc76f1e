// The grid's editor controls: each editor type's control over the cell, loaded from the cell and
// stored back; the key protocol (write and validate, Escape, leave); spin page keys, combo lookup
// and history, edit-button filters, date-picker and button Escape, wide cells; and a screenshot
// of the grid with each control open.
#include <map>

#include "tests/grid/edit/EditFixture.h"
#include "tests/support/TestOutput.h"

namespace grid_edit_test {
namespace {

class Wrappers : public EditTest {
 protected:
  // A 4 x 5 grid with goEditing whose columns 1 to 3 are edited with the given types.
  TAdvStringGrid* EditorGrid(std::map<int32_t, TEditorType> types) {
    auto* g = NewGrid<TAdvStringGrid>(4, 5, Bounds(10, 10, 300, 150));
    g->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing});
    types_ = std::move(types);
    g->OnGetEditorType = TGetEditorTypeEvent::Lambda([this](TObject*, int32_t c, int32_t, TEditorType& t) {
      if (types_.count(c)) t = types_[c];
    });
    g->OnEditingDone = TNotifyEvent::Lambda([this](TObject*) { ++done_; });
    g->SetCol(1);
    g->SetRow(1);
    Pump();
    return g;
  }
  // Opens the current cell's editor as typing a character would.
  void Open(TAdvStringGrid* g, char16_t ch = 0) {
    if (ch)
      Type(std::u16string(1, ch));
    else
      g->ShowEditor();
    Pump();
  }
  std::map<int32_t, TEditorType> types_;
  int done_ = 0;
};

TEST_F(Wrappers, SpinCellsWriteValidateAndLeave) {
  TAdvStringGrid* g = EditorGrid({{1, edSpinEdit}});
  TGridSpin* s = g->GetSpinEdit();
  ASSERT_TRUE(s);
  g->SetCells(1, 1, "5");
  Open(g, u'7');
  ASSERT_EQ(g->ActiveEditorControl(), s);
  EXPECT_TRUE(s->Focused());
  EXPECT_EQ(s->GetSpinType(), sptNormal);
  EXPECT_EQ(s->GetText(), "7") << "the typed character replaces the selected value";
  const TRect cell = g->CellRect(1, 1);
  EXPECT_EQ(s->GetBoundsRect(), (TRect{cell.Left, cell.Top, cell.Right - 1, cell.Bottom - 1}));
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(1, 1), "7");
  EXPECT_FALSE(s->GetVisible());
  EXPECT_FALSE(s->GetEnabled());
  EXPECT_TRUE(g->Focused());
  EXPECT_EQ(done_, 1);

  // A refused value keeps the editor open with the cell's text; the cell keeps its text.
  g->OnCellValidate = TCellValidateEvent::Lambda(
      [](TObject*, int32_t, int32_t, AnsiString& v, bool& valid) { valid = v != "13"; });
  Open(g, u'1');
  Type(u"3");
  Key(VK_RETURN);
  EXPECT_TRUE(s->GetVisible());
  EXPECT_EQ(s->GetText(), "7");
  EXPECT_EQ(s->GetSelStart(), 1) << "the caret at the end";
  EXPECT_EQ(g->GetCells(1, 1), "7");

  // Escape takes the cell's value back and ends the editing.
  Type(u"9");
  Key(VK_ESCAPE);
  EXPECT_FALSE(s->GetVisible());
  EXPECT_EQ(g->GetCells(1, 1), "7");

  // Page keys step within the bounds, End and Home jump to them; each fires OnSpinClick.
  std::vector<std::string> clicks;
  g->OnSpinClick = TSpinClickEvent::Lambda([&](TObject*, int32_t, int32_t, int32_t v, bool up) {
    clicks.push_back(std::to_string(v) + (up ? "+" : "-"));
  });
  s->Increment = 10;
  g->SetCells(1, 1, "91");
  Open(g);
  Key(VK_PRIOR);
  EXPECT_EQ(s->GetValue(), 91) << "91 + 10 passes the maximum";
  g->SetCells(1, 1, "90");
  s->SetText("90");
  Key(VK_PRIOR);
  EXPECT_EQ(s->GetValue(), 100);
  Key(VK_END);
  EXPECT_EQ(s->GetValue(), 0);
  Key(VK_HOME);
  EXPECT_EQ(s->GetValue(), 100);
  Key(VK_NEXT);
  EXPECT_EQ(s->GetValue(), 90);
  EXPECT_EQ(clicks, (std::vector<std::string>{"91+", "100+", "0-", "100+", "90-"}));
  // The arrows step the value (the spin edit takes them before the keys are handed on).
  Key(VK_UP);
  EXPECT_EQ(s->GetValue(), 100);
  EXPECT_EQ(clicks.back(), "100+");
  Key(VK_TAB);
  EXPECT_EQ(g->GetCells(1, 1), "100") << "losing the focus stores the value";
  EXPECT_FALSE(s->GetVisible());
}

TEST_F(Wrappers, EachSpinKindLoadsAndStoresItsValue) {
  TAdvStringGrid* g = EditorGrid({{1, edFloatSpinEdit}, {2, edDateSpinEdit}, {3, edTimeSpinEdit}});
  TGridSpin* s = g->GetSpinEdit();
  g->SetCells(1, 1, "2.5");
  Open(g);
  EXPECT_EQ(s->GetSpinType(), sptFloat);
  s->IncrementFloat = 0.25;
  Key(VK_UP);
  Key(VK_ESCAPE);
  EXPECT_EQ(g->GetCells(1, 1), "2.50")
      << "escape took the cell's value back; stored in the grid's float format";

  g->SetCol(2);
  g->SetCells(2, 1, "not a date");
  Open(g);
  EXPECT_EQ(s->GetSpinType(), sptDate);
  EXPECT_EQ(s->GetText(), DateToStr(Date())) << "a text that is no date starts from today";
  s->SetSelStart(0);
  Key(VK_UP);
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(2, 1), DateToStr(Date() + 1));

  g->SetCol(3);
  g->SetCells(3, 1, "23:30:00");
  Open(g);
  EXPECT_EQ(s->GetSpinType(), sptTime);
  s->SetSelStart(0);
  Key(VK_UP);
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(3, 1), "00:30:00");
}

TEST_F(Wrappers, ComboLookupHistoryAndKeys) {
  TAdvStringGrid* g = EditorGrid({{1, edComboEdit}, {2, edComboList}});
  TGridCombo* c = g->GetComboBox();
  c->GetItems()->SetCommaText("Abc,abd");
  g->Lookup = true;
  g->LookupHistory = true;
  Open(g, u'a');
  ASSERT_EQ(g->ActiveEditorControl(), c);
  Key('B');
  EXPECT_EQ(c->GetText(), "abc") << "completed from the first item that starts so";
  EXPECT_EQ(c->GetSelStart(), 2);
  EXPECT_EQ(c->GetSelLength(), 1);
  EXPECT_EQ(c->GetItemIndex(), 0);
  Key(VK_BACK);
  EXPECT_EQ(c->GetText(), "ab") << "no completion after Backspace";

  // Alt+Down drops the list and keeps editing; Down alone writes and leaves.
  KeyWith(VK_MENU, VK_DOWN);
  EXPECT_TRUE(c->GetDroppedDown());
  EXPECT_TRUE(c->GetVisible());
  c->SetDroppedDown(false);
  Pump();
  c->SetText("new");
  Key(VK_DOWN);
  EXPECT_FALSE(c->GetVisible());
  EXPECT_EQ(g->GetCells(1, 1), "new");
  EXPECT_EQ(g->GetRow(), 2);
  EXPECT_EQ(c->GetItems()->GetCommaText(), "Abc,abd,new") << "the new text joins the items";
  Open(g, u'n');
  c->SetText("new");
  Key(VK_ESCAPE);
  EXPECT_EQ(c->GetItems()->Count(), 3) << "an existing text is not added again";

  // Tab with goTabs from the edit part writes and steps to the next cell.
  g->SetOptions(g->GetOptions() + TGridOptions{goTabs});
  Open(g, u'x');
  Key(VK_TAB);
  EXPECT_FALSE(c->GetVisible());
  EXPECT_EQ(g->GetCells(1, 2), "x");
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(2,2)");
  g->SetCol(1);

  // A list combo selects the cell's item, or the first; Tab with goTabs validates and moves on.
  g->SetCol(2);
  g->SetCells(2, 2, "zzz");
  Open(g);
  EXPECT_EQ(c->GetStyle(), csDropDownList);
  EXPECT_EQ(c->GetItemIndex(), 0);
  Key(VK_DOWN);
  EXPECT_EQ(c->GetText(), "abd") << "Down moves in the list while it is the list style";
  Key(VK_TAB);
  EXPECT_EQ(g->GetCells(2, 2), "abd");
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(3,2)");
  EXPECT_FALSE(c->GetVisible());

  // The wheel moves the item and tells the grid.
  std::vector<std::string> changes;
  g->OnComboChange = TComboChangeEvent::Lambda(
      [&](TObject*, int32_t, int32_t, int32_t i, AnsiString s) { changes.push_back(std::to_string(i) + s); });
  g->SetCol(2);
  Open(g);
  for (int i = 0; i < 3; ++i) c->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 0);
  c->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(120)), 0);
  EXPECT_EQ(changes, (std::vector<std::string>{"2new", "3x", "3x", "2new"})) << "never past the last item";
}

TEST_F(Wrappers, EditButtonFiltersAndClick) {
  TAdvStringGrid* g = EditorGrid({{1, edNumericEditBtn}, {2, edFloatEditBtn}, {3, edEditBtn}});
  TGridEditBtn* e = g->GetEditBtn();
  EXPECT_EQ(e->GetButtonCaption(), "...");
  g->SetCells(1, 1, "12");
  Open(g);
  e->SetSelStart(2);
  Beeps();
  Type(u"-");
  EXPECT_EQ(e->GetText(), "12");
  EXPECT_EQ(Beeps(), 1) << "a minus sign only at the start";
  e->SetSelStart(0);
  Type(u"-x");
  EXPECT_EQ(e->GetText(), "-12");
  EXPECT_EQ(Beeps(), 1);
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(1, 1), "-12");

  g->SetCol(2);
  g->SetCells(2, 1, "1.5");
  Open(g);
  e->SetSelStart(3);
  Beeps();
  Type(u".,a");
  EXPECT_EQ(e->GetText(), "1.5") << "a second separator, the thousands separator and letters are dropped";
  EXPECT_EQ(Beeps(), 0) << "silently";
  e->SetSelStart(1);
  e->SetSelLength(1);
  Type(u".");
  EXPECT_EQ(e->GetText(), "1.5") << "a selected separator may be typed over";
  Key(VK_ESCAPE);

  // The button runs OnEllipsClick on the text.
  g->OnEllipsClick = TEllipsClickEvent::Lambda([](TObject*, int32_t c, int32_t r, AnsiString& s) {
    s = "picked " + std::to_string(c) + std::to_string(r) + " " + s;
  });
  g->SetCol(3);
  g->SetCells(3, 1, "x");
  Open(g);
  TAsgEditButton* b = e->Button();
  const TPoint p = At(b, b->Width() / 2, b->Height() / 2);
  Press(p);
  Release(p);
  EXPECT_EQ(e->GetText(), "picked 31 x");
  EXPECT_EQ(e->GetSelLength(), int32_t(e->GetText().size()));
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(3, 1), "picked 31 x");
}

TEST_F(Wrappers, UnitCellsSplitAndJoinTheirUnit) {
  TAdvStringGrid* g = EditorGrid({{1, edUnitEditBtn}});
  TGridUnitEditBtn* u = g->GetUnitEditBtn();
  g->SetCells(1, 1, "12.5mV");
  Open(g);
  EXPECT_EQ(u->GetText(), "12.5");
  EXPECT_EQ(u->GetUnitID(), "mV");
  u->SetUnitID("V");
  u->SelectAll();
  Type(u"3");
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(1, 1), "3V");
}

TEST_F(Wrappers, DatePickerAndButtonEscape) {
  TAdvStringGrid* g = EditorGrid({{1, edDateEdit}, {2, edButton}, {3, edTimeEdit}});
  TGridDatePicker* p = g->GetDatePicker();
  ASSERT_TRUE(p) << "the platform's common controls have the picker";
  g->SetCells(1, 1, "no date");
  Open(g);
  EXPECT_EQ(p->GetDate(), Date());
  p->SetDate(Date() + 3);
  Key(VK_ESCAPE);
  EXPECT_FALSE(p->GetVisible());
  EXPECT_EQ(g->GetCells(1, 1), DateToStr(Date())) << "Escape showed today again; the picker stores its date";

  g->SetCol(3);
  g->SetCells(3, 1, "10:20:30");
  Open(g);
  EXPECT_EQ(p->GetKind(), dtkTime);
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(3, 1), "10:20:30");

  g->SetCol(2);
  g->SetCells(2, 1, "Go");
  g->OnEllipsClick = TEllipsClickEvent::Lambda([](TObject*, int32_t, int32_t, AnsiString& s) { s += "!"; });
  Open(g);
  TGridButton* b = g->GetButtonEditor();
  ASSERT_EQ(g->ActiveEditorControl(), b);
  const TRect cell = g->CellRect(2, 1);
  EXPECT_EQ(b->GetBoundsRect(), (TRect{cell.Left - 1, cell.Top - 1, cell.Right + 1, cell.Bottom + 1}));
  EXPECT_EQ(b->GetCaption(), "Go");
  Key(VK_SPACE);
  EXPECT_EQ(b->GetCaption(), "Go!");
  g->SetCells(2, 1, "changed meanwhile");
  std::string keys;
  g->OnKeyDown = TKeyEvent::Lambda([&](TObject*, WORD& k, TShiftState) { keys += std::to_string(k) + " "; });
  Key(VK_ESCAPE);
  EXPECT_FALSE(b->GetVisible());
  EXPECT_TRUE(g->Focused());
  EXPECT_EQ(g->GetCells(2, 1), "Go") << "the text from before editing is back";
  EXPECT_EQ(keys, "27 ") << "the grid receives the Escape key";
}

TEST_F(Wrappers, WideAndCheckBoxCells) {
  TAdvStringGrid* g = EditorGrid({{1, edUniEdit}, {2, edCheckBox}, {3, edUniComboList}});
  TGridUniEdit* u = g->GetUniEdit();
  Open(g);
  ASSERT_EQ(g->ActiveEditorControl(), u);
  Type(u"Ωμέγα 中");
  Key(VK_RETURN);
  EXPECT_EQ(g->GetWideCell(1, 1), u"Ωμέγα 中");
  EXPECT_EQ(g->GetRawCells(1, 1).substr(0, 2), "|\\");
  Open(g);
  EXPECT_EQ(u->GetWideText(), u"Ωμέγα 中");
  Type(u"x");
  Key(VK_ESCAPE);
  EXPECT_EQ(g->GetWideCell(1, 1), u"Ωμέγα 中") << "Escape keeps the cell";

  g->SetCol(2);
  g->SetCells(2, 1, "agree");
  const int before = done_;
  Open(g);
  TGridCheckBox* cb = g->GetCheckBoxEditor();
  EXPECT_EQ(cb->GetCaption(), "agree");
  EXPECT_FALSE(cb->GetChecked());
  Key(VK_SPACE);
  EXPECT_TRUE(cb->GetChecked());
  const TPoint p = At(cb, 6, cb->Height() / 2);
  Press(p);
  Release(p);
  EXPECT_FALSE(cb->GetChecked()) << "one click toggles once";
  Key(VK_DOWN);
  EXPECT_FALSE(cb->GetVisible());
  EXPECT_EQ(g->GetRow(), 2);
  EXPECT_EQ(g->GetCells(2, 1), "agree") << "the check box stores nothing";
  EXPECT_EQ(done_, before + 1);

  g->SetCol(3);
  g->SetRow(1);
  TGridUniCombo* uc = g->GetUniComboBox();
  uc->GetWideItems()->SetTextStr(u"α\nβ\nγ");
  g->SetWideCell(3, 1, u"β");
  Open(g);
  EXPECT_EQ(uc->GetItemIndex(), 1);
  Key(VK_DOWN);
  EXPECT_EQ(uc->GetWideText(), u"γ");
  Key(VK_RETURN);
  EXPECT_EQ(g->GetWideCell(3, 1), u"γ");
}

TEST_F(Wrappers, ScrollingEndsAnEditorControlOnceAndTheNextOneShows) {
  TAdvStringGrid* g = EditorGrid({{1, edSpinEdit}, {2, edComboEdit}});
  g->SetRowCount(40);
  g->GetComboBox()->GetItems()->SetCommaText("one,two");
  g->SetCells(1, 1, "5");
  g->SetCells(2, 1, "one");
  const std::pair<int32_t, TWinControl*> editors[] = {{1, g->GetSpinEdit()}, {2, g->GetComboBox()}};
  for (const auto& [col, control] : editors) {
    g->SetTopRow(1);
    g->SetCol(col);
    g->SetRow(1);
    Open(g);
    ASSERT_EQ(g->ActiveEditorControl(), control) << col;
    ASSERT_TRUE(control->Focused() || IsChild(control->Handle(), GetFocus())) << col;
    done_ = 0;
    g->SetTopRow(10);
    Pump();
    EXPECT_EQ(done_, 1) << "column " << col << ": scrolling ends the editing once";
    EXPECT_FALSE(control->GetVisible()) << col;
    EXPECT_EQ(g->ActiveEditorControl(), nullptr) << col;
    EXPECT_TRUE(g->Focused()) << col;
  }
  // The next edit on the grid shows its control and takes the value back on leaving.
  g->SetTopRow(1);
  g->SetCol(1);
  g->SetRow(1);
  done_ = 0;
  Open(g);
  TGridSpin* s = g->GetSpinEdit();
  ASSERT_EQ(g->ActiveEditorControl(), s);
  EXPECT_TRUE(s->GetVisible());
  EXPECT_TRUE(s->Focused());
  s->SetText("8");
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(1, 1), "8");
  EXPECT_EQ(done_, 1);
}

TEST_F(Wrappers, ScreenshotsOfEachEditorOpen) {
  TAdvStringGrid* g = EditorGrid({});
  const std::pair<TEditorType, const char*> kinds[] = {
      {edSpinEdit, "spin"},     {edComboEdit, "combo"},      {edEditBtn, "editbtn"}, {edUnitEditBtn, "unit"},
      {edCheckBox, "checkbox"}, {edDateEdit, "date"},        {edTimeEdit, "time"},   {edButton, "button"},
      {edUniEdit, "uniedit"},   {edUniComboEdit, "unicombo"}};
  g->SetColWidths(1, 140);
  g->GetComboBox()->GetItems()->SetCommaText("one,two");
  g->SetCells(1, 1, "12");
  for (const auto& [kind, name] : kinds) {
    types_[1] = kind;
    Open(g);
    ASSERT_TRUE(g->ActiveEditorControl()) << name;
    form_->Repaint();
    Pump();
    EXPECT_TRUE(
        SaveWindowPng(form_->Handle(), OutputPath((std::string("grid-editor-") + name + ".png").c_str())));
    g->HideInplaceEdit();
    EXPECT_EQ(g->ActiveEditorControl(), nullptr) << name;
  }
}

}  // namespace
}  // namespace grid_edit_test
