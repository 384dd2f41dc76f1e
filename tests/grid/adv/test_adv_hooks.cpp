// The per-cell hooks and their events: argument orders, var arguments left alone without a
// handler, fixed-cell and edit-permission rules, alignment precedence; the cell graphic record and
// its queries.
#include <memory>

#include "grid/AdvGrid.h"
#include "tests/grid/support/GridFixture.h"

namespace adv_grid_test {
namespace {

class AdvHooks : public GridFixture {};

// Every hook is called with column 2, row 5; each event notes its first two integer arguments.
TEST_F(AdvHooks, EachEventReceivesItsOwnArgumentOrder) {
  auto* g = NewGrid<TAdvStringGrid>(6, 8);
  std::vector<std::string> seen;
  auto note = [&](const char* what, int32_t a, int32_t b) {
    seen.push_back(std::string(what) + Coord(a, b));
  };
  g->OnGetCellColor = TGridColorEvent::Lambda(
      [&](TObject*, int32_t a, int32_t b, TGridDrawState, TBrush*, TFont*) { note("color", a, b); });
  g->OnGetCellPrintColor = TGridColorEvent::Lambda(
      [&](TObject*, int32_t a, int32_t b, TGridDrawState, TBrush*, TFont*) { note("print", a, b); });
  g->OnGetCellBorder = TGridBorderEvent::Lambda(
      [&](TObject*, int32_t a, int32_t b, TPen*, TCellBorders&) { note("border", a, b); });
  g->OnGetAlignment = TGridAlignEvent::Lambda(
      [&](TObject*, int32_t a, int32_t b, TAlignment&, TVAlignment&) { note("align", a, b); });
  g->OnGridHint =
      TGridHintEvent::Lambda([&](TObject*, int32_t a, int32_t b, AnsiString&) { note("hint", a, b); });
  g->OnCanEditCell =
      TCanEditCellEvent::Lambda([&](TObject*, int32_t a, int32_t b, bool&) { note("canedit", a, b); });
  g->OnIsFixedCell =
      TIsFixedCellEvent::Lambda([&](TObject*, int32_t a, int32_t b, bool&) { note("fixed", a, b); });
  g->OnIsPasswordCell =
      TIsPasswordCellEvent::Lambda([&](TObject*, int32_t a, int32_t b, bool&) { note("password", a, b); });
  g->OnGetEditorType = TGetEditorTypeEvent::Lambda(
      [&](TObject*, int32_t a, int32_t b, TEditorType&) { note("editor", a, b); });
  g->OnGetCheckTrue =
      TGetCheckEvent::Lambda([&](TObject*, int32_t a, int32_t b, AnsiString&) { note("true", a, b); });
  g->OnGetCheckFalse =
      TGetCheckEvent::Lambda([&](TObject*, int32_t a, int32_t b, AnsiString&) { note("false", a, b); });
  g->OnUpdateColumnSize =
      TUpdateColumnSizeEvent::Lambda([&](TObject*, int32_t a, int32_t& w) { note("colsize", a, w); });

  TBrush brush;
  TFont font;
  TPen pen;
  TCellBorders borders;
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  AnsiString s;
  bool flag = false;
  TEditorType editor = edNormal;
  int32_t width = 64;
  g->GetCellColor(2, 5, {}, &brush, &font);
  g->GetCellPrintColor(2, 5, {}, &brush, &font);
  g->GetCellBorder(2, 5, &pen, borders);
  g->GetCellAlignment(2, 5, ha, va);
  g->GetCellHint(2, 5, s);
  g->CanEditCell(2, 5, flag);
  g->IsFixedCell(2, 5, flag);
  g->IsPasswordCell(2, 5, flag);
  g->GetCellEditor(2, 5, editor);
  g->GetCheckTrue(2, 5, s);
  g->GetCheckFalse(2, 5, s);
  g->UpdateColumnSize(2, width);
  EXPECT_EQ(seen, (std::vector<std::string>{"color(5,2)", "print(5,2)", "border(5,2)", "align(5,2)",
                                            "hint(5,2)", "canedit(5,2)", "fixed(5,2)", "password(5,2)",
                                            "editor(2,5)", "true(2,5)", "false(2,5)", "colsize(2,64)"}));
}

TEST_F(AdvHooks, UnassignedEventsLeaveTheCallersValues) {
  auto* g = NewGrid<TAdvStringGrid>(6, 8);
  bool can = false, password = true;
  TEditorType editor = edSpinEdit;
  TAlignment ha = taCenter;
  TVAlignment va = vtaBottom;
  AnsiString hint = "keep";
  int32_t width = 77;
  g->CanEditCell(2, 2, can);
  g->IsPasswordCell(2, 2, password);
  g->GetCellEditor(2, 2, editor);
  g->GetCellAlignment(2, 2, ha, va);
  g->GetCellHint(2, 2, hint);
  g->UpdateAutoColumnSize(2, width);
  EXPECT_FALSE(can);
  EXPECT_TRUE(password);
  EXPECT_EQ(editor, edSpinEdit);
  EXPECT_EQ(ha, taCenter);
  EXPECT_EQ(va, vtaBottom);
  EXPECT_EQ(hint, "keep");
  EXPECT_EQ(width, 77);
  // The check texts are always reset to the defaults first.
  AnsiString text = "x";
  g->GetCheckTrue(2, 2, text);
  EXPECT_EQ(text, "Y");
}

TEST_F(AdvHooks, FixedCellsEditPermissionAndAlignmentPrecedence) {
  auto* g = NewGrid<TAdvStringGrid>(6, 8);
  std::vector<std::string> asked;
  g->OnIsFixedCell = TIsFixedCellEvent::Lambda([&](TObject*, int32_t r, int32_t c, bool& fixed) {
    asked.push_back(Coord(c, r));
    fixed = c == 3;
  });
  EXPECT_TRUE(g->CellIsFixed(0, 4)) << "a fixed column";
  EXPECT_TRUE(g->CellIsFixed(2, 0)) << "a fixed row";
  EXPECT_TRUE(g->CellIsFixed(3, 4)) << "the handler may fix a normal cell";
  EXPECT_FALSE(g->CellIsFixed(2, 4));
  EXPECT_EQ(asked, (std::vector<std::string>{"(3,4)", "(2,4)"})) << "never asked for fixed cells";
  g->SetFixedFooters(1);
  g->SetFixedRightCols(1);
  EXPECT_TRUE(g->CellIsFixed(2, 7)) << "a footer row";
  EXPECT_TRUE(g->CellIsFixed(5, 2)) << "a right fixed column";

  std::string editAsked;
  g->OnCanEditCell = TCanEditCellEvent::Lambda([&](TObject*, int32_t r, int32_t c, bool& can) {
    editAsked = Coord(c, r);
    can = false;
  });
  g->MergeCells(1, 2, 2, 2);
  bool can = true;
  g->CanEditCell(2, 3, can);
  EXPECT_EQ(editAsked, "(1,2)") << "a merged area is asked for with its base cell";
  EXPECT_FALSE(can);

  // Alignment: the grid's vertical alignment, numbers right with AutoNumAlign, the cell's own
  // alignment over that, then the handler.
  g->SetVAlignment(vtaCenter);
  g->SetAutoNumAlign(true);
  g->SetCells(2, 5, "1,234.5");
  TAlignment ha;
  TVAlignment va;
  g->CellAlignment(2, 5, ha, va);
  EXPECT_EQ(ha, taRightJustify);
  EXPECT_EQ(va, vtaCenter);
  g->CellProperties(2, 5)->Alignment = taCenter;
  g->CellAlignment(2, 5, ha, va);
  EXPECT_EQ(ha, taCenter);
  g->OnGetAlignment = TGridAlignEvent::Lambda([](TObject*, int32_t, int32_t, TAlignment& h, TVAlignment& v) {
    h = taLeftJustify;
    v = vtaBottom;
  });
  g->CellAlignment(2, 5, ha, va);
  EXPECT_EQ(ha, taLeftJustify);
  EXPECT_EQ(va, vtaBottom);

  // The cell's properties reach the colour hook; a font size of 0 keeps the grid's.
  TBrush brush;
  TFont font;
  font.SetSize(11);
  g->CellProperties(4, 4)->SetBrushColor(clLime);
  g->CellProperties(4, 4)->FontColor = clRed;
  g->GetCellColor(4, 4, {}, &brush, &font);
  EXPECT_EQ(brush.GetColor(), clLime);
  EXPECT_EQ(font.GetColor(), clRed);
  EXPECT_EQ(font.GetSize(), 11);

  // Editing records the cell and its text; a cells-changed hook reaches its event.
  g->SetCells(3, 3, "before");
  g->BeginCellEdit(3, 3);
  EXPECT_EQ(g->OldCellText(), "before");
  TRect changed{};
  g->OnCellsChanged = TCellsChangedEvent::Lambda([&](TObject*, TRect r) { changed = r; });
  g->CellsChanged(TRect{1, 2, 3, 4});
  EXPECT_EQ(changed, (TRect{1, 2, 3, 4}));
}

TEST_F(AdvHooks, CellGraphicsAndTheirQueries) {
  auto* g = NewGrid<TAdvStringGrid>(6, 8);
  EXPECT_EQ(g->GetCellType(2, 2), ctEmpty) << "a plain cell has no graphic";
  TCellGraphic* check = g->CreateCellGraphic(2, 2);
  EXPECT_EQ(g->GetCellType(2, 2), ctNone) << "a new record";
  check->CellType = ctDataCheckBox;
  g->SetCells(2, 2, "maybe");
  bool state = true;
  ASSERT_TRUE(g->GetCheckBoxState(2, 2, state));
  EXPECT_FALSE(state);
  EXPECT_TRUE(g->ToggleCheck(2, 2, false));
  EXPECT_EQ(g->GetCells(2, 2), "Y") << "neither text: becomes the true text";
  EXPECT_TRUE(g->ToggleCheck(2, 2, false));
  EXPECT_EQ(g->GetCells(2, 2), "N");
  g->OnCanEditCell = TCanEditCellEvent::Lambda([](TObject*, int32_t, int32_t, bool& can) { can = false; });
  EXPECT_FALSE(g->ToggleCheck(2, 2, true)) << "the user's toggle asks the edit permission";
  g->OnCanEditCell = nullptr;
  g->MergeCells(2, 2, 2, 1);
  EXPECT_TRUE(g->IsCheckBoxCell(3, 2)) << "asked through the base cell";
  EXPECT_FALSE(g->IsRadioCell(3, 2));

  TCellGraphic* radio = g->CreateCellGraphic(1, 4);
  radio->CellType = ctRadio;
  auto* items = new TStringList();
  items->Add("a");
  items->Add("b");
  items->Add("c");
  radio->Graphic = items;
  radio->CellCreated = true;
  radio->CellIndex = 2;
  EXPECT_TRUE(g->CycleRadio(1, 4, false));
  EXPECT_EQ(radio->CellIndex, 0) << "the last item wraps to the first";
  EXPECT_EQ(g->GetCells(1, 4), "a");
  radio->CellIndex = -1;
  EXPECT_TRUE(g->CycleRadio(1, 4, false));
  EXPECT_EQ(g->GetCells(1, 4), "b") << "without an index the text decides";

  struct Fit {
    int32_t mode;
    TPoint size;
  } fits[] = {{2, {50, 25}}, {3, {50, 50}}, {4, {50, 25}}, {0, {200, 100}}, {1, {50, 50}}};
  for (const Fit& f : fits)
    EXPECT_EQ(TAdvStringGrid::PictureFit(f.mode, 200, 100, 50, 50, 0), f.size) << f.mode;
  EXPECT_EQ(TAdvStringGrid::PictureFit(4, 20, 10, 50, 50, 0), (TPoint{20, 10})) << "fits: its own size";

  // Nodes in column 0 and the tree line kind of the rows below them.
  TCellGraphic* node = g->CreateCellGraphic(0, 3);
  node->CellType = ctNode;
  node->CellIndex = 3;
  EXPECT_TRUE(g->IsNodeRow(3));
  EXPECT_EQ(g->NodeSpan(3), 3);
  EXPECT_EQ(g->NodeLineKind(3), 0);
  EXPECT_EQ(g->NodeLineKind(4), 2);
  EXPECT_EQ(g->NodeLineKind(5), 1) << "the last row of the node's group";
  EXPECT_EQ(g->NodeLineKind(2), 0) << "no node above";

  // Copying an empty check box cell gives its check text by state.
  TCellGraphic* box = g->CreateCellGraphic(5, 1);
  box->CellType = ctCheckBox;
  box->CellBoolean = true;
  EXPECT_EQ(g->GetCellForCopy(5, 1), "Y");
  box->CellBoolean = false;
  EXPECT_EQ(g->GetCellForCopy(5, 1), "N");

  // A virtual check box's record is only let go by its cell.
  TCellGraphic* virt = g->CreateCellGraphic(4, 6);
  virt->CellType = ctVirtCheckBox;
  EXPECT_TRUE(g->RemoveCellGraphic(4, 6));
  EXPECT_EQ(virt->CellType, ctVirtCheckBox);
  delete virt;
  EXPECT_FALSE(g->RemoveCellGraphic(4, 6));
  EXPECT_TRUE(g->RemoveCellGraphic(1, 4));
  EXPECT_EQ(g->GetCellType(1, 4), ctEmpty);
}

}  // namespace
}  // namespace adv_grid_test
