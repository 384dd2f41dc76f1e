// A demonstration window for people to look at: one grid with cell controls, markup, a picture
// from a picture container, a footer row with statistics, an active filter and a sorted column;
// driven a little by the mouse, then written out as a screenshot.
#include <string>
#include <vector>

#include "grid/AdvGrid.h"
#include "grid/PictureContainer.h"
#include "platform/os/gdi/ImageFiles.h"
#include "platform/runtime/Streams.h"
#include "tests/grid/support/GridFixture.h"
#include "tests/support/TestOutput.h"

namespace adv_grid_test {
namespace {

// A 16 x 16 two-frame GIF: a red square on white, then its blue twin.
std::vector<uint8_t> SquareGif() {
  const std::vector<RGBQUAD> palette = {{255, 255, 255, 0}, {0, 0, 255, 0}, {255, 0, 0, 0}, {0, 0, 0, 0}};
  std::vector<TGifFrame> frames;
  for (uint8_t colour : {1, 2}) {
    TGifFrame f;
    f.Width = f.Height = 16;
    f.Indices.assign(256, 0);
    for (int y = 3; y < 13; ++y)
      for (int x = 3; x < 13; ++x) f.Indices[size_t(y * 16 + x)] = colour;
    frames.push_back(f);
  }
  return WriteGif(16, 16, palette, frames);
}

class GridDemo : public GridFixture {};

TEST_F(GridDemo, AGridWithControlsMarkupPicturesFooterFilterAndSort) {
  auto* g = NewGrid<TAdvStringGrid>(7, 9, Bounds(10, 10, 610, 300));
  form_->SetBounds(0, 0, 640, 360);
  g->SetColor(clWhite);
  g->SetDefaultRowHeight(30);
  g->SetFixedCols(0);
  const std::vector<int32_t> widths = {70, 110, 70, 60, 120, 90, 80};
  for (size_t c = 0; c < widths.size(); ++c) g->SetColWidths(int32_t(c), widths[c]);

  auto* pictures = new TPictureContainer(form_);
  TPictureItem* item = pictures->GetItems()->Add();
  item->SetName("Square");
  const std::vector<uint8_t> gif = SquareGif();
  TMemoryStream s;
  s.WriteBuffer(gif.data(), int32_t(gif.size()));
  s.SetPosition(0);
  item->GetPicture()->LoadFromStream(&s);
  g->SetPictureContainer(pictures);

  const std::vector<std::string> headers = {"Volts", "Channel", "Amps", "On", "Mode", "Load", "Action"};
  for (size_t c = 0; c < headers.size(); ++c) g->SetCells(int32_t(c), 0, headers[c]);
  const std::vector<std::string> volts = {"12.5", "3.3", "5.0", "24.0", "1.8", "9.0"};
  const std::vector<std::string> names = {"<B>Main</B> rail", "<FONT color=\"clRed\">Logic</FONT>",
                                          "<I>USB</I>",       "<B>Motor</B> <IMG src=\"square\">",
                                          "<U>Core</U>",      "<FONT color=\"clGreen\">Aux</FONT>"};
  for (int32_t r = 1; r <= 6; ++r) {
    const size_t i = size_t(r - 1);
    g->SetCells(0, r, volts[i]);
    g->SetCells(1, r, names[i]);
    g->SetCells(2, r, std::to_string(r) + ".00");
    TCellGraphic* check = g->CreateCellGraphic(3, r);
    check->CellType = ctCheckBox;
    g->SetCheckBoxState(3, r, r % 2 == 1);
    TCellGraphic* radio = g->CreateCellGraphic(4, r);
    radio->CellType = ctRadio;
    auto* items = new TStringList();
    items->Add("CV");
    items->Add("CC");
    radio->Graphic = items;
    radio->CellCreated = true;
    radio->CellBoolean = true;
    radio->CellIndex = r % 2;
    TCellGraphic* load = g->CreateCellGraphic(5, r);
    load->CellType = ctProgress;
    load->GraphicColor = TColor(0x2080E0);
    load->IconColor = TColor(0xF0F0F0);
    g->SetCells(5, r, std::to_string(r * 15));
    TCellGraphic* button = g->CreateCellGraphic(6, r);
    button->CellType = ctButton;
    button->CellIndex = 60 | (20 << 16);
    button->CellHAlign = haCenter;
    button->CellVAlign = vaCenter;
    button->CellText = "Reset";
  }
  g->SetCells(1, 7, "<B>Hidden</B> by the filter");
  g->SetCells(0, 7, "0.5");

  // The last row is the footer: the sum of the volts and the average current.
  g->GetFloatingFooter()->SetVisible(true);
  g->CellProperties(0, 8)->FooterKind = uint8_t(1 | 0x80);
  g->CellProperties(2, 8)->FooterKind = uint8_t(2 | 0x80);
  g->SetCells(1, 8, "<B>Total / mean</B>");
  g->UpdateFooterColumns(-1);
  EXPECT_EQ(g->GetCells(0, 8), "56.10");

  // Rows below one volt are filtered out.
  TFilterData* f = g->GetFilter()->Add();
  f->Column = 0;
  f->Condition = ">=1";
  g->SetFilterActive(true);
  EXPECT_EQ(g->GetRowCount(), 8) << "the 0.5 V row is hidden";

  // A click on the Volts header sorts by it, with the glyph shown.
  g->GetSortSettings()->Show = true;
  g->GetSortSettings()->Column = 2;
  FocusElsewhere();
  const TRect h = g->CellRect(0, 0);
  const TPoint p = At(g, (h.Left + h.Right) / 2, (h.Top + h.Bottom) / 2);
  Press(p);
  Release(p);
  std::vector<std::string> sorted;
  for (int32_t r = 1; r <= 6; ++r) sorted.push_back(g->GetCells(0, r));
  EXPECT_EQ(sorted, (std::vector<std::string>{"1.8", "3.3", "5.0", "9.0", "12.5", "24.0"}));
  EXPECT_EQ(g->GetCells(1, 6), "<B>Motor</B> <IMG src=\"square\">") << "rows move whole";

  g->Invalidate();
  Paint(g);
  Paint(g->FooterPanel());
  EXPECT_TRUE(SaveWindowPng(form_->Handle(), OutputPath("grid-demo.png")));
}

}  // namespace
}  // namespace adv_grid_test
