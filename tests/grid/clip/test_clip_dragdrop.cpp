// Drag and drop of the advanced grid inside the program: the dragged data object and its format
// list, which drags a target accepts, Ctrl for copy against move, dropped text inserting rows,
// dropped files running the CSV import, and dropped columns.
#include <fstream>
#include <string>

#include "grid/AdvGrid.h"
#include "grid/asgdd.h"
#include "platform/os/shell/ShellAPI.h"
#include "platform/ui/Clipbrd.h"
#include "tests/grid/support/GridFixture.h"
#include "tests/support/TestOutput.h"

namespace adv_grid_test {
namespace {

// A data object offering a list of dropped files (CF_HDROP) and nothing else.
class TFileData : public TInterfacedBase<IDataObject> {
 public:
  explicit TFileData(std::vector<AnsiString> files) : files_(std::move(files)) {}
  HRESULT GetData(FORMATETC* f, STGMEDIUM* m) override {
    if (f->cfFormat != CF_HDROP) return DV_E_FORMATETC;
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = CreateDropFiles(files_, POINT{0, 0});
    return S_OK;
  }
  HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT QueryGetData(FORMATETC* f) override { return f->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC; }
  HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC** out) override {
    if (noEnumerator) return E_NOTIMPL;
    FORMATETC f;
    f.cfFormat = CF_HDROP;
    return CreateFormatEnumerator(1, &f, out);
  }
  HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  bool noEnumerator = false;

 private:
  std::vector<AnsiString> files_;
};

class DragDrop : public GridFixture {
 protected:
  // Source grid A above, target grid B below, both 4 x 5 with texts "<col><row>".
  void TwoGrids() {
    a_ = NewGrid<TAdvStringGrid>(4, 5, Bounds(10, 10, 300, 130));
    b_ = Make<TAdvStringGrid>(form_, form_, "B", Bounds(10, 200, 300, 130));
    b_->SetBorderStyle(bsNone);
    b_->SetScrollBars(ssNone);
    b_->SetColCount(4);
    b_->SetRowCount(5);
    for (TAdvStringGrid* g : {a_, b_})
      for (int32_t r = 1; r < 5; ++r)
        for (int32_t c = 1; c < 4; ++c)
          g->SetCells(c, r, (g == a_ ? "a" : "b") + std::to_string(c) + std::to_string(r));
    Pump();
    b_->GetDragDropSettings()->SetOleDropTarget(true);
    b_->GetNavigation()->AllowClipboardAlways = true;
  }
  TPoint CellCentre(TAdvStringGrid* g, int32_t c, int32_t r) {
    TRect rc = g->CellRect(c, r);
    return At(g, (rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2);
  }
  // Queues the press on A's cell, the pointer's way to the drop point and the release, then
  // starts the drag from A (as the mouse handler does once the pointer moved away).
  void DragTo(TPoint to, int32_t fromCol, int32_t fromRow, bool ctrl = false, TGridRect sel = {-1, 0, 0, 0}) {
    const TPoint from = CellCentre(a_, fromCol, fromRow);
    Press(from);
    if (sel.Left >= 0) a_->SetSelection(sel);
    if (ctrl) InputKey(VK_CONTROL, true);
    InputMouseMove({to.X - 3, to.Y});
    InputMouseMove(to);
    InputMouseButton(VK_LBUTTON, false, to);
    EXPECT_TRUE(a_->StartOleDrag(fromCol, fromRow));
    if (ctrl) InputKey(VK_CONTROL, false);
    Pump();
  }
  std::string RowText(TAdvStringGrid* g, int32_t r) {
    std::string s;
    for (int32_t c = 1; c < g->GetColCount(); ++c) s += (c > 1 ? "," : "") + g->GetCells(c, r);
    return s;
  }
  TAdvStringGrid* a_ = nullptr;
  TAdvStringGrid* b_ = nullptr;
};

TEST_F(DragDrop, TheDataObjectOffersItsFormatsInOrder) {
  SetOleRTFAccepted(true);
  auto* data = new TSourceDataObject("ab", "{\\rtf1 ab}", -1);
  data->AddRef();
  IEnumFORMATETC* e = nullptr;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &e), S_OK);
  FORMATETC list[5];
  ULONG got = 0;
  EXPECT_EQ(e->Next(5, list, &got), S_FALSE);
  ASSERT_EQ(got, 3u);
  EXPECT_EQ(list[0].cfFormat, CF_TEXT);
  EXPECT_EQ(list[1].cfFormat, CF_UNICODETEXT);
  EXPECT_EQ(list[2].cfFormat, RTFClipboardFormat());
  EXPECT_EQ(list[2].lindex, -1);
  EXPECT_EQ(e->Reset(), S_OK);
  EXPECT_EQ(e->Skip(2), S_OK);
  IEnumFORMATETC* clone = nullptr;
  ASSERT_EQ(e->Clone(&clone), S_OK);
  EXPECT_EQ(clone->Next(1, list, &got), S_OK);
  EXPECT_EQ(list[0].cfFormat, RTFClipboardFormat()) << "a clone goes on where its original stood";
  EXPECT_EQ(e->Skip(5), S_FALSE);
  clone->Release();
  e->Release();

  FORMATETC f;
  f.cfFormat = CF_UNICODETEXT;
  STGMEDIUM m;
  ASSERT_EQ(data->GetData(&f, &m), S_OK);
  EXPECT_EQ(GlobalSize(m.hGlobal), 6u) << "two bytes per character and a zero";
  ReleaseStgMedium(&m);
  f.tymed = TYMED_ISTREAM;
  EXPECT_EQ(data->QueryGetData(&f), DV_E_FORMATETC);
  f.tymed = TYMED_HGLOBAL;
  f.cfFormat = ColumnClipboardFormat();
  EXPECT_EQ(data->QueryGetData(&f), DV_E_FORMATETC) << "no column in a text drag";
  EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &e), E_NOTIMPL);
  EXPECT_EQ(data->DAdvise(nullptr, 0, nullptr, nullptr), OLE_E_ADVISENOTSUPPORTED);
  data->Release();

  auto* column = new TSourceDataObject("", "", 7);
  column->AddRef();
  TEnumFormats formats(column);
  EXPECT_FALSE(formats.HasText());
  EXPECT_TRUE(formats.HasColumn());
  EXPECT_EQ(formats.ColumnIndex(), 7);
  column->Release();
  SetOleRTFAccepted(false);
}

TEST_F(DragDrop, TheTargetAcceptsByItsSettingsAndCtrlCopies) {
  TwoGrids();
  TGridDropTarget* t = b_->GetDragDropSettings()->DropTarget();
  ASSERT_NE(t, nullptr) << "setting OleDropTarget registers the grid";
  auto* files = new TFileData({"x.csv"});
  files->AddRef();
  const TPoint p = CellCentre(b_, 1, 1);
  DWORD effect = 99;
  EXPECT_EQ(t->DragEnter(files, MK_LBUTTON, POINTL{p.X, p.Y}, &effect), S_OK);
  EXPECT_EQ(effect, DROPEFFECT_MOVE);
  EXPECT_EQ(t->Formats(), kDragFiles);
  t->DragEnter(files, MK_LBUTTON | MK_CONTROL, POINTL{p.X, p.Y}, &effect);
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  b_->GetDragDropSettings()->OleAcceptFiles = false;
  t->DragEnter(files, MK_LBUTTON, POINTL{p.X, p.Y}, &effect);
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  t->DragLeave();

  // A data object that lists no formats is refused rather than failing the drag.
  files->noEnumerator = true;
  b_->GetDragDropSettings()->OleAcceptFiles = true;
  EXPECT_EQ(t->DragEnter(files, MK_LBUTTON, POINTL{p.X, p.Y}, &effect), S_OK);
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  EXPECT_FALSE(t->Accepted());
  files->Release();

  // Over a fixed row a text drag is refused, and OnOleDragOver has the last word.
  auto* text = new TSourceDataObject("x", "", -1);
  text->AddRef();
  int overs = 0;
  b_->OnOleDragOver = TOleDragOverEvent::Lambda([&](TObject*, int32_t r, int32_t, bool& allow) {
    ++overs;
    if (r == 3) allow = false;
  });
  t->DragEnter(text, MK_LBUTTON, POINTL{p.X, p.Y}, &effect);
  auto over = [&](int32_t c, int32_t r) {
    const TPoint q = CellCentre(b_, c, r);
    DWORD e = 99;
    t->DragOver(MK_LBUTTON, POINTL{q.X, q.Y}, &e);
    return e;
  };
  EXPECT_EQ(over(1, 2), DROPEFFECT_MOVE);
  EXPECT_EQ(over(1, 0), DROPEFFECT_NONE);
  EXPECT_EQ(over(1, 3), DROPEFFECT_NONE);
  EXPECT_EQ(overs, 3);
  t->DragLeave();
  text->Release();
}

TEST_F(DragDrop, TwoDraggedRowsAreInsertedAtTheDropRowAndTheSourceIsMoved) {
  TwoGrids();
  b_->GetDragDropSettings()->OleInsertRows = true;
  std::vector<std::string> seen;
  b_->OnOleDrop = TOleDropEvent::Lambda(
      [&](TObject*, int32_t r, int32_t c, const AnsiString& d, bool&) { seen.push_back(Coord(c, r) + d); });
  TGridRect dropped{};
  b_->OnOleDropped = TOleDroppedEvent::Lambda([&](TObject*, TGridRect r) { dropped = r; });
  a_->OnOleDragStop =
      TOleDragStopEvent::Lambda([&](TObject*, int32_t e) { seen.push_back("stop " + std::to_string(e)); });
  DragTo(CellCentre(b_, 1, 2), 1, 2, false, {1, 2, 2, 3});
  EXPECT_EQ(seen, (std::vector<std::string>{"(1,2)a12\ta22\r\na13\ta23", "stop 2"}));
  EXPECT_EQ(b_->GetRowCount(), 7) << "exactly two rows inserted";
  EXPECT_EQ(RowText(b_, 1), "b11,b21,b31");
  EXPECT_EQ(RowText(b_, 2), "a12,a22,");
  EXPECT_EQ(RowText(b_, 3), "a13,a23,");
  EXPECT_EQ(RowText(b_, 4), "b12,b22,b32");
  EXPECT_EQ(dropped, (TGridRect{1, 2, 2, 3}));
  EXPECT_EQ(b_->GetSelection(), (TGridRect{1, 2, 2, 3}));
  EXPECT_EQ(RowText(a_, 2), ",,a32") << "a move empties the dragged cells";
  EXPECT_EQ(RowText(a_, 3), ",,a33");
}

TEST_F(DragDrop, CtrlCopiesAndOleCopyAlwaysKeepsTheSource) {
  TwoGrids();
  a_->SetSelection({1, 1, 1, 1});
  DragTo(CellCentre(b_, 2, 4), 1, 1, true);
  EXPECT_EQ(b_->GetCells(2, 4), "a11");
  EXPECT_EQ(a_->GetCells(1, 1), "a11") << "Ctrl copies";

  a_->GetDragDropSettings()->OleCopyAlways = true;
  DragTo(CellCentre(b_, 3, 4), 1, 1);
  EXPECT_EQ(b_->GetCells(3, 4), "a11");
  EXPECT_EQ(a_->GetCells(1, 1), "a11") << "a move leaves the source with OleCopyAlways";

  // Refused by OnOleDrag: no drag at all.
  a_->OnOleDrag = TOleDragEvent::Lambda(
      [](TObject*, int32_t, int32_t, const AnsiString&, bool& allow) { allow = false; });
  EXPECT_FALSE(a_->StartOleDrag(1, 1));
}

TEST_F(DragDrop, OneGridsOleDropRTFMakesEveryGridDragRichText) {
  TwoGrids();
  const AnsiString rtf = "{\\rtf1 {\\b bold} x}";
  a_->SetCells(1, 1, rtf);
  DragTo(CellCentre(b_, 2, 2), 1, 1, true);
  EXPECT_EQ(b_->GetCells(2, 2), "bold x") << "without the flag the plain text is dropped";
  a_->GetDragDropSettings()->SetOleDropRTF(true);
  DragTo(CellCentre(b_, 3, 3), 1, 1, true);
  EXPECT_EQ(b_->GetCells(3, 3), rtf) << "the rich text lands unchanged";
  EXPECT_TRUE(OleRTFAccepted());
  a_->GetDragDropSettings()->SetOleDropRTF(false);
}

TEST_F(DragDrop, ADroppedCsvFileIsImportedAndTwoFilesAreNot) {
  TwoGrids();
  const std::string path = OutputPath("clip_dropped.csv");
  std::ofstream(path, std::ios::binary) << "p;q\r\n1;2\r\n";
  TGridDropTarget* t = b_->GetDragDropSettings()->DropTarget();
  const TPoint p = CellCentre(b_, 1, 1);
  auto drop = [&](std::vector<AnsiString> names) {
    auto* files = new TFileData(std::move(names));
    files->AddRef();
    DWORD effect = 0;
    t->DragEnter(files, MK_LBUTTON, POINTL{p.X, p.Y}, &effect);
    t->Drop(files, 0, POINTL{p.X, p.Y}, &effect);
    files->Release();
    return effect;
  };
  std::vector<std::string> asked;
  b_->OnOleDropFile = TOleDropFileEvent::Lambda(
      [&](TObject*, int32_t, int32_t, const AnsiString& f, bool&) { asked.push_back(f); });
  drop({path, path});
  EXPECT_EQ(b_->GetCells(0, 0), "") << "two files at once do nothing";
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(drop({path}), DROPEFFECT_MOVE);
  EXPECT_EQ(asked, std::vector<std::string>{path});
  EXPECT_EQ(b_->GetCells(0, 0), "p");
  EXPECT_EQ(b_->GetCells(1, 1), "2");
  EXPECT_EQ(b_->GetRowCount(), 2);

  // A dropped file that cannot be read is reported as the program reports errors; the drop ends.
  drop({"/nonexistent/gone.csv"});
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].Text.find("Cannot open file /nonexistent/gone.csv"), std::string::npos);
}

TEST_F(DragDrop, AHeaderDragDropsAColumnOnlyOnAHeader) {
  TwoGrids();
  a_->GetDragDropSettings()->OleColumnDragDrop = true;
  b_->GetDragDropSettings()->OleColumnDragDrop = true;
  std::vector<std::string> drops;
  b_->OnOleDropCol = TOleDropColEvent::Lambda([&](TObject*, int32_t r, int32_t c, int32_t col) {
    drops.push_back(Coord(c, r) + std::to_string(col));
  });
  DragTo(CellCentre(b_, 3, 0), 2, 0);
  EXPECT_EQ(drops, std::vector<std::string>{"(3,0)2"});
  DragTo(CellCentre(b_, 3, 2), 2, 0);
  EXPECT_EQ(drops.size(), 1u) << "a column is taken only on the header row";
  EXPECT_EQ(RowText(b_, 0), ",,") << "the grid itself moves nothing";
  EXPECT_EQ(a_->GetCells(2, 1), "a21");
}

}  // namespace
}  // namespace adv_grid_test

namespace adv_grid_test {
namespace {

// The mouse handler's own gestures: a press inside the selection drags once the pointer moves
// (a refused drag selects a range instead), and the selection's resizer handle fills a series.
TEST_F(DragDrop, APressInsideTheSelectionDragsWhenThePointerMoves) {
  TwoGrids();
  a_->GetDragDropSettings()->OleDropSource = true;
  a_->SetSelection({1, 1, 1, 1});
  const TPoint from = CellCentre(a_, 1, 1), to = CellCentre(b_, 2, 4);
  Press(from);
  InputMouseMove({from.X + 10, from.Y});
  InputMouseMove(to);
  InputMouseButton(VK_LBUTTON, false, to);
  Pump();
  EXPECT_EQ(b_->GetCells(2, 4), "a11");
  EXPECT_EQ(a_->GetCells(1, 1), "") << "moved";

  // A press inside the selection released on the spot selects the released cell alone.
  a_->SetSelection({1, 1, 2, 2});
  Press(CellCentre(a_, 2, 2));
  Release(CellCentre(a_, 2, 2));
  EXPECT_EQ(a_->GetSelection(), (TGridRect{2, 2, 2, 2}));

  // Refused: the press starts a range selection instead.
  std::vector<std::string> asked;
  a_->OnOleDrag =
      TOleDragEvent::Lambda([&](TObject*, int32_t r, int32_t c, const AnsiString& d, bool& allow) {
        asked.push_back(Coord(c, r) + d);
        allow = false;
      });
  a_->SetSelection({1, 2, 1, 2});
  Press(CellCentre(a_, 1, 2));
  MoveTo(CellCentre(a_, 2, 3));
  Release(CellCentre(a_, 2, 3));
  EXPECT_EQ(asked, (std::vector<std::string>{"(2,3)a23"}));
  EXPECT_EQ(a_->GetSelection(), (TGridRect{1, 2, 2, 3}));
  EXPECT_EQ(b_->GetCells(2, 3), "b23") << "nothing dropped";
}

TEST_F(DragDrop, TheSelectionResizerCopiesOnPressAndPastesTheSeriesOnRelease) {
  TwoGrids();
  a_->SelectionRectangle = a_->SelectionResizer = true;
  a_->GetNavigation()->AllowSmartClipboard = true;
  a_->GetMouseActions()->RangeSelectAndEdit = true;
  a_->SetCells(1, 1, "1");
  a_->SetCells(1, 2, "2");
  a_->SetSelection({1, 1, 1, 2});
  const TRect h = a_->CellRect(1, 2);
  MoveTo(At(a_, h.Right - 2, h.Bottom - 2));
  EXPECT_EQ(a_->CursorKind(), 5);
  MoveTo(At(a_, h.Right - 8, h.Bottom - 8));
  EXPECT_EQ(a_->CursorKind(), 0) << "only the 4 x 4 handle";
  MoveTo(At(a_, h.Right - 2, h.Bottom - 2));
  Press(At(a_, h.Right - 2, h.Bottom - 2));
  EXPECT_EQ(Clipboard()->GetAsText(), "1\r\n2\r\n");
  EXPECT_EQ(a_->GetSelection(), (TGridRect{1, 1, 1, 2})) << "the press keeps the selection";
  MoveTo(CellCentre(a_, 1, 4));
  Release(CellCentre(a_, 1, 4));
  EXPECT_EQ(a_->GetCells(1, 3), "3");
  EXPECT_EQ(a_->GetCells(1, 4), "4");
}

}  // namespace
}  // namespace adv_grid_test
