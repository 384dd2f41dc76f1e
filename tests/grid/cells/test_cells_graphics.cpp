// Cell graphics: where a graphic stands in its cell, check boxes and radio groups by style,
// progress bars, rotated text, the header's sort mark, the visual-styles switch; with a
// screenshot of a grid showing the cell controls.
#include "grid/AdvXPVS.h"
#include "tests/grid/cells/CellsGrid.h"
#include "tests/support/TestOutput.h"

namespace adv_grid_test {
namespace {

class CellGraphics : public CellsFixture {};

TEST_F(CellGraphics, LayoutRectangleFollowsTheHorizontalAndVerticalPlacements) {
  const TRect R{10, 20, 110, 60};
  struct H {
    TCellHAlign align;
    TAlignment text;
    int32_t w, left, right;
  };
  // Text 30 wide (measured + 2 = 32 remembered, + 2 more beside the graphic).
  const H hs[] = {
      {haLeft, taLeftJustify, 20, 11, 31},         {haRight, taLeftJustify, 20, 89, 109},
      {haCenter, taLeftJustify, 20, 50, 70},       {haCenter, taLeftJustify, 120, 11, 131},
      {haBeforeText, taLeftJustify, 20, 11, 31},   {haBeforeText, taRightJustify, 20, 56, 76},
      {haBeforeText, taRightJustify, 90, 11, 101}, {haAfterText, taRightJustify, 20, 89, 109},
      {haAfterText, taLeftJustify, 20, 44, 64},    {haFull, taLeftJustify, 20, 10, 110},
  };
  for (const H& h : hs) {
    TRect r = TAdvStringGrid::GraphicLayoutRect(R, h.w, 10, h.align, vaTop, h.text, 32);
    EXPECT_EQ(r.Left, h.left) << int(h.align) << "/" << int(h.text) << "/" << h.w;
    EXPECT_EQ(r.Right, h.right) << int(h.align) << "/" << int(h.text) << "/" << h.w;
  }
  EXPECT_EQ(TAdvStringGrid::GraphicLayoutRect(R, 20, 10, haAfterText, vaTop, taLeftJustify, 0).Left, 10)
      << "no text measured: right at the left edge";
  struct V {
    TCellVAlign align;
    int32_t h, top, bottom;
  };
  const V vs[] = {{vaTop, 10, 21, 31},    {vaAboveText, 10, 21, 31}, {vaBottom, 10, 49, 59},
                  {vaCenter, 10, 35, 45}, {vaCenter, 50, 21, 71},    {vaUnderText, 10, 50, 60},
                  {vaFull, 10, 20, 60}};
  for (const V& v : vs) {
    TRect r = TAdvStringGrid::GraphicLayoutRect(R, 20, v.h, haLeft, v.align, taLeftJustify, 0);
    EXPECT_EQ(r.Top, v.top) << int(v.align) << "/" << v.h;
    EXPECT_EQ(r.Bottom, v.bottom) << int(v.align) << "/" << v.h;
  }
  // Check boxes follow the text's alignment: data kinds and boxes without text centre in the cell,
  // a box with centred text stands right before it.
  struct C {
    bool data;
    TAlignment text;
    int32_t width, left;
  };
  const C cs[] = {{false, taLeftJustify, 30, 11},  {true, taRightJustify, 30, 94},
                  {false, taRightJustify, 30, 62}, {false, taRightJustify, 200, 11},
                  {true, taCenter, 30, 52},        {false, taCenter, 30, 29},
                  {false, taCenter, 0, 52}};
  for (const C& c : cs)
    EXPECT_EQ(TAdvStringGrid::CheckBoxLayoutRect(R, 15, c.data, c.text, c.width).Left, c.left)
        << c.data << "/" << int(c.text) << "/" << c.width;
}

TEST_F(CellGraphics, CheckBoxesStandByTheTextAndShowTheirState) {
  TCellsGrid* g = Grid();
  TControlLook* look = g->GetControlLook();
  std::unique_ptr<TBitmap> on(SolidGlyph(clLime, 15)), off(SolidGlyph(clRed, 15));
  look->SetCheckedGlyph(on.get());
  look->SetUnCheckedGlyph(off.get());
  look->SetControlStyle(csGlyph);
  g->OnGetAlignment = TGridAlignEvent::Lambda([](TObject*, int32_t, int32_t c, TAlignment& h, TVAlignment&) {
    if (c == 2) h = taRightJustify;
    if (c == 3) h = taCenter;
  });
  g->CreateCellGraphic(1, 1)->CellType = ctCheckBox;
  g->GetCellGraphic(1, 1)->CellBoolean = true;
  g->CreateCellGraphic(2, 1)->CellType = ctDataCheckBox;
  g->SetCells(2, 1, "Y");
  g->CreateCellGraphic(3, 1)->CellType = ctCheckBox;
  g->SetCells(3, 1, "abcdef");
  g->CreateCellGraphic(4, 1)->CellType = ctDataCheckBox;
  g->SetCells(4, 1, "N");
  Repaint(g);

  auto cell = [&](int32_t c) { return g->CellRect(c, 1); };
  TRect box = Box(g, cell(1), RgbOf(clLime));
  EXPECT_EQ(box.Left, cell(1).Left + 1);
  EXPECT_EQ(box.Top, cell(1).Top + 1);
  EXPECT_EQ(box.Width(), 15);
  box = Box(g, cell(2), RgbOf(clLime));
  EXPECT_EQ(box.Right, cell(2).Right - 1) << "right-aligned data box at the right edge";
  TCanvas* c = g->GetCanvas();
  c->SetFont(g->GetFont());
  const int32_t tw = c->TextWidth("abcdef") + 4;
  box = Box(g, cell(3), RgbOf(clRed));
  EXPECT_EQ(box.Left, cell(3).Left + (cell(3).Width() - tw) / 2 - 15) << "right before the centred text";
  EXPECT_TRUE(Box(g, cell(4), RgbOf(clRed)).Width() > 0) << "a data box not holding the check text is off";
  EXPECT_FALSE(Box(g, cell(4), 0x000000).Width() > 0) << "data boxes show no text";

  // The themed style draws nothing without visual styles.
  look->SetControlStyle(csTheme);
  Repaint(g);
  EXPECT_EQ(Box(g, cell(1), RgbOf(clLime)).Width(), 0);
  EXPECT_EQ(Box(g, cell(2), RgbOf(clLime)).Width(), 0);
}

TEST_F(CellGraphics, RadioGroupsStackOrStandSideBySideWithTheChosenItemOn) {
  TCellsGrid* g = Grid(3, 3);
  g->SetColWidths(1, 250);
  g->SetRowHeights(1, 80);
  TControlLook* look = g->GetControlLook();
  std::unique_ptr<TBitmap> on(SolidGlyph(clLime, 16)), off(SolidGlyph(clRed, 16));
  look->SetRadioOnGlyph(on.get());
  look->SetRadioOffGlyph(off.get());
  look->SetControlStyle(csGlyph);
  TCellGraphic* gr = g->CreateCellGraphic(1, 1);
  gr->CellType = ctRadio;
  auto* items = new TStringList();
  items->Add("One");
  items->Add("Two");
  items->Add("Three");
  gr->Graphic = items;
  gr->CellCreated = true;
  gr->CellIndex = 1;
  Repaint(g);
  TCanvas* c = g->GetCanvas();
  c->SetFont(g->GetFont());
  const int32_t lineH = std::max(16, c->TextHeight("gh"));
  const TRect cell = g->CellRect(1, 1);
  TRect chosen = Box(g, cell, RgbOf(clLime));
  EXPECT_EQ(chosen.Left, cell.Left + 2);
  EXPECT_EQ(chosen.Top, cell.Top + lineH + 2) << "the second line";
  TRect others = Box(g, cell, RgbOf(clRed));
  EXPECT_EQ(others.Top, cell.Top + 2);
  EXPECT_EQ(others.Bottom, cell.Top + 2 * lineH + 2 + 16);

  // Side by side: each button after the captions before it.
  gr->CellBoolean = true;
  gr->CellIndex = -1;
  g->SetCells(1, 1, "Three");
  Repaint(g);
  chosen = Box(g, cell, RgbOf(clLime));
  EXPECT_EQ(chosen.Left, cell.Left + 2 + 2 * 16 + c->TextWidth("One") + c->TextWidth("Two"))
      << "index -1 follows the cell text";
  EXPECT_EQ(chosen.Top, cell.Top + (cell.Height() - 16) / 2);
  g->SetCells(1, 1, "None");
  Repaint(g);
  EXPECT_EQ(Box(g, cell, RgbOf(clLime)).Width(), 0) << "no item matches";
}

TEST_F(CellGraphics, ProgressBarSplitsAtTheValueWithItsCaptionColours) {
  TCellsGrid* g = Grid(4, 3);
  g->SetColWidths(1, 204);
  TCellGraphic* gr = g->CreateCellGraphic(1, 1);
  gr->CellType = ctProgress;
  gr->GraphicColor = clRed;
  gr->IconColor = clBlue;
  const TRect cell = g->CellRect(1, 1);
  const TRect bar{cell.Left + 2, cell.Top + 2, cell.Right - 2, cell.Bottom - 2};
  struct Case {
    const char* value;
    int32_t split;
  };
  for (Case k :
       {Case{"50", bar.Left + 100}, Case{"0", bar.Left}, Case{"100", bar.Right}, Case{"33", bar.Left + 66}}) {
    g->SetCells(1, 1, k.value);
    Repaint(g);
    if (k.split > bar.Left) {
      EXPECT_EQ(Px(g, k.split - 1, bar.Top), RgbOf(clRed)) << k.value;
    }
    if (k.split < bar.Right) {
      EXPECT_EQ(Px(g, k.split, bar.Top), RgbOf(clBlue)) << k.value;
    }
    EXPECT_EQ(Px(g, bar.Left - 1, bar.Top + 3), 0x000000u) << "a black frame round the bar";
  }
  // The caption straddles the split at 50: inverted colours on each part unless given.
  g->SetCells(1, 1, "50");
  Repaint(g);
  const TRect left{bar.Left, bar.Top, bar.Left + 100, bar.Bottom},
      right{bar.Left + 100, bar.Top, bar.Right, bar.Bottom};
  EXPECT_GT(BoxNear(g, left, 0x00FFFF).Width(), 0) << "cyan on red";
  EXPECT_GT(BoxNear(g, right, 0xFFFF00).Width(), 0) << "yellow on blue";
  gr->CellBoolean = true;
  gr->CellIndex = clWhite;
  gr->CellAngle = clBlack;
  Repaint(g);
  EXPECT_GT(BoxNear(g, left, 0xFFFFFF).Width(), 0);
  EXPECT_GT(BoxNear(g, right, 0x000000).Width(), 0);
  EXPECT_EQ(BoxNear(g, left, 0x00FFFF).Width(), 0);
}

TEST_F(CellGraphics, RotatedTextStartsByItsQuadrantAndStaysInsideItsCell) {
  TCellsGrid* g = Grid(3, 4);
  TCanvas* c = g->GetCanvas();
  c->SetFont(g->GetFont());
  const TSize ext = c->TextExtent("Rotated");
  const TRect cell{100, 50, 190, 90};
  struct Case {
    int32_t angle;
    TAlignment h;
    TVAlignment v;
    TPoint start;
  };
  const int32_t in = 2;  // text margins
  const Case cases[] = {
      {90, taLeftJustify, vtaTop, {100 - in, 50 + ext.cx - in}},
      {0, taLeftJustify, vtaTop, {100 - in, 50 - in}},
      {0, taRightJustify, vtaBottom, {188 - ext.cx - in, 88 - ext.cy - in}},
      {180, taLeftJustify, vtaTop, {100 + ext.cx - in, 50 + ext.cy - in}},
      {270, taLeftJustify, vtaTop, {100 + ext.cy - in, 50 - in}},
      {-90, taLeftJustify, vtaTop, {100 + ext.cy - in, 50 - in}},
  };
  for (const Case& k : cases) {
    TRect r = cell;
    EXPECT_EQ(g->RotatedTextOrigin(r, k.angle, k.h, k.v, "Rotated"), k.start) << k.angle;
    EXPECT_EQ(r.Right, 188);
  }
  // Drawn upright at 90 degrees in a short cell: what would run past the cell is cut off.
  TCellGraphic* gr = g->CreateCellGraphic(1, 2);
  gr->CellType = ctRotated;
  gr->CellAngle = 90;
  g->SetCells(1, 2, "A long rotated text");
  Repaint(g);

  const TRect r = g->CellRect(1, 2);
  EXPECT_GT(BoxNear(g, r, 0x000000, 100).Width(), 0);
  EXPECT_EQ(BoxNear(g, g->CellRect(1, 1), 0x000000, 100).Width(), 0) << "nothing above the cell";
  const TRect inner = BoxNear(g, r, 0x000000, 100);
  EXPECT_GE(inner.Top, r.Top + 2);
  EXPECT_LE(inner.Bottom, r.Bottom - 2);
}

TEST_F(CellGraphics, SortMarkShowsDirectionAndIndexPositionInTheSortRow) {
  TCellsGrid* g = Grid(4, 5);
  g->SetCells(2, 0, "Name");
  g->Sort.Show = true;
  g->Sort.Column = 2;
  Repaint(g);
  const TRect cell = g->CellRect(2, 0);
  const TRect R{cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1};
  TCanvas* c = g->GetCanvas();
  c->SetFont(g->GetFixedFont());
  const int32_t x = R.Left + std::min(c->TextWidth("Name"), R.Width() - 16) + 10, y = R.Top + 8;
  EXPECT_EQ(Px(g, x, y + 4), 0xFFFFFFu) << "ascending: white base";
  EXPECT_EQ(Px(g, x - 2, y), 0x808080u) << "grey left side";
  g->Sort.Descending = true;
  Repaint(g);
  EXPECT_EQ(Px(g, x, y - 4), 0x808080u) << "descending: grey top";
  EXPECT_EQ(Px(g, x + 2, y), 0xFFFFFFu) << "white right side";

  // With the index shown: a filled triangle in the index colour and the position.
  g->Sort.IndexShow = true;
  g->Sort.Index = {1, int32_t(2u | 0x80000000u)};
  Repaint(g);
  EXPECT_EQ(Px(g, x - 5, y - 3), RgbOf(clYellow)) << "descending entry: pointing down";
  EXPECT_GT(BoxNear(g, TRect{x - 3, y - 5, x + 4, y + 5}, 0x000000, 120).Width(), 0) << "its place, 2";

  // Two rows or fewer: nothing to sort, no mark.
  g->Sort.IndexShow = false;
  g->Sort.Index.clear();
  g->SetRowCount(2);
  Repaint(g);
  EXPECT_EQ(Box(g, TRect{x - 5, y - 5, x + 6, y + 6}, 0xFFFFFFu).Width(), 0);
}

// A provider that paints themed parts in a colour of their own and notes them.
std::vector<std::string>* g_themedParts = nullptr;
HTHEME FakeOpen(HWND, LPCWSTR) { return reinterpret_cast<HTHEME>(1); }
HRESULT FakeClose(HTHEME) { return S_OK; }
HRESULT FakeText(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) { return S_OK; }
HRESULT FakeRegion(HTHEME, HDC, int, int, const RECT*, HRGN*) { return E_NOTIMPL; }
COLORREF FakeSysColor(HTHEME, int) { return 0; }
HRESULT FakeDraw(HTHEME, HDC dc, int part, int state, const RECT* rc, const RECT*) {
  if (g_themedParts) g_themedParts->push_back(std::to_string(part) + "/" + std::to_string(state));
  HBRUSH b = CreateSolidBrush(RGB(0, 128, 128));
  FillRect(dc, rc, b);
  DeleteObject(b);
  return S_OK;
}
BOOL FakeActive() { return TRUE; }

TEST_F(CellGraphics, ThemedControlsDrawThroughTheVisualStylesWhenTheyAreActive) {
  std::vector<std::string> parts;
  g_themedParts = &parts;
  TVisualStylesProvider p;
  p.OpenThemeData = FakeOpen;
  p.CloseThemeData = FakeClose;
  p.DrawThemeBackground = FakeDraw;
  p.IsThemeActive = FakeActive;
  p.IsAppThemed = FakeActive;
  p.DrawThemeText = FakeText;
  p.GetThemeBackgroundRegion = FakeRegion;
  p.GetThemeSysColor = FakeSysColor;
  InstallVisualStylesProvider(p);
  UnbindVisualStyles();
  BindVisualStyles();
  TCellsGrid* g = Grid(3, 3);
  EXPECT_TRUE(g->VisualStylesOn());
  g->GetControlLook()->SetControlStyle(csTheme);
  TCellGraphic* box = g->CreateCellGraphic(1, 1);
  box->CellType = ctCheckBox;
  box->CellBoolean = true;
  TCellGraphic* button = g->CreateCellGraphic(2, 1);
  button->CellType = ctButton;
  button->CellIndex = 40 | (20 << 16);
  Repaint(g);
  EXPECT_NE(std::find(parts.begin(), parts.end(), "3/5"), parts.end()) << "a checked check box";
  EXPECT_NE(std::find(parts.begin(), parts.end(), "1/1"), parts.end()) << "a push button";
  EXPECT_EQ(Box(g, g->CellRect(1, 1), 0x008080).Width(), 15);
  g_themedParts = nullptr;
  RemoveVisualStylesProvider();
  UnbindVisualStyles();
  BindVisualStyles();
  EXPECT_FALSE(AdvThemesActive());

  // A library lacking an entry of the binding counts as absent.
  RegisterModule("UXTHEME.DLL",
                 {{"OpenThemeData", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&FakeActive))}});
  UnbindVisualStyles();
  BindVisualStyles();
  EXPECT_EQ(AdvVisualStyles().IsThemeActive, nullptr);
  UnregisterModule("UXTHEME.DLL");
  UnbindVisualStyles();
  BindVisualStyles();
}

TEST_F(CellGraphics, ButtonsCommentsAndNodesDrawWhereTheirCellsSay) {
  TCellsGrid* g = Grid(4, 4);
  TCellGraphic* b = g->CreateCellGraphic(2, 1);
  b->CellType = ctButton;
  b->CellIndex = 50 | (24 << 16);
  b->CellHAlign = haRight;
  b->CellVAlign = vaCenter;
  b->CellText = "Go";
  g->CreateCellGraphic(3, 1)->CellType = ctComment;
  Repaint(g);
  const TRect cell = g->CellRect(2, 1);
  const TRect hit = g->CellControlRect(2, 1);
  EXPECT_EQ(hit, (TRect{cell.Right - 51, cell.Top + 8, cell.Right - 1, cell.Top + 32}))
      << "the offset kept for clicks is where the button was drawn";
  EXPECT_EQ(Px(g, hit.Left + 10, hit.Top + 3), RgbOf(clBtnFace));
  const TRect comment = g->CellRect(3, 1);
  EXPECT_EQ(Px(g, comment.Right - 3, comment.Top + 2), RgbOf(clRed));
  EXPECT_EQ(Px(g, comment.Right - 6, comment.Top + 5), RgbOf(clWhite)) << "below the triangle's slant";
}

TEST_F(CellGraphics, DemonstrationFormShowsTheCellControls) {
  TCellsGrid* g = Grid(5, 6);
  g->SetBounds(10, 10, 480, 330);
  g->SetColWidths(0, 30);
  g->SetColWidths(1, 130);
  g->SetColWidths(2, 130);
  g->SetRowHeights(3, 70);
  g->SetCol(4);
  g->SetRow(5);
  g->SetLook(glSoft);
  const char* heads[] = {"", "Controls", "More", "Progress", "Other"};
  for (int32_t c = 0; c < 5; ++c) g->SetCells(c, 0, heads[c]);
  g->Sort.Show = true;
  g->Sort.Column = 3;
  auto graphic = [&](int32_t c, int32_t r, TCellType t) {
    TCellGraphic* x = g->CreateCellGraphic(c, r);
    x->CellType = t;
    return x;
  };
  graphic(1, 1, ctCheckBox)->CellBoolean = true;
  g->GetCellGraphic(1, 1)->CellHAlign = haBeforeText;
  g->SetCells(1, 1, "Checked");
  graphic(2, 1, ctDataCheckBox);
  g->SetCells(2, 1, "Y");
  TCellGraphic* radio = graphic(1, 3, ctRadio);
  auto* items = new TStringList();
  items->Add("Volts");
  items->Add("Amps");
  items->Add("Watts");
  radio->Graphic = items;
  radio->CellCreated = true;
  radio->CellIndex = 1;
  TCellGraphic* side = graphic(2, 3, ctRadio);
  auto* items2 = new TStringList();
  items2->Add("On");
  items2->Add("Off");
  side->Graphic = items2;
  side->CellCreated = true;
  side->CellBoolean = true;
  side->CellIndex = 0;
  for (int32_t r = 1; r <= 4; ++r) {
    TCellGraphic* p = graphic(3, r, ctProgress);
    p->GraphicColor = TColor(0x2080E0);
    p->IconColor = TColor(0xF0F0F0);
    g->SetCells(3, r, std::to_string(r * 25 - 10));
  }
  TCellGraphic* rot = graphic(4, 3, ctRotated);
  rot->CellAngle = 90;
  g->SetCells(4, 3, "Rotated");
  TCellGraphic* button = graphic(1, 2, ctButton);
  button->CellIndex = 80 | (22 << 16);
  button->CellHAlign = haCenter;
  button->CellVAlign = vaCenter;
  button->CellText = "Press";
  graphic(2, 2, ctComment)->CellText = "A note";
  g->SetCells(2, 2, "With a comment");
  TCellGraphic* pie = graphic(4, 1, ctProgressPie);
  pie->GraphicColor = clGreen;
  pie->CellAngle = 70;
  graphic(1, 4, ctCheckBox)->CellHAlign = haBeforeText;
  g->GetControlLook()->SetControlStyle(csWinXP);
  g->SetCells(1, 4, "Bitmap look");
  Repaint(g);
  EXPECT_TRUE(SaveWindowPng(form_->Handle(), OutputPath("grid-cells-controls.png")));
}

}  // namespace
}  // namespace adv_grid_test
