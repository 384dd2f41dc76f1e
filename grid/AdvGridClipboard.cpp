// The advanced grid's clipboard exchange (text, rich text and its own cell format, smart paste)
// and its CSV and spreadsheet import.
//
// Sections: exchange records / copying / the grid's own format / pasting / smart paste /
// shortcuts / CSV import / spreadsheet import.
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

#include "grid/AdvGrid.h"
#include "grid/AdvObj.h"
#include "grid/AdvUtil.h"
#include "grid/AsgHTMLE.h"
#include "platform/os/ole/Ole.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Filer.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"

namespace {
// Beyond these a paste, a grid block or an import is refused: a grid of millions of cells is no
// longer something a person edits, and the memory it takes grows without bound.
constexpr int64_t kMaxTransferCells = 4'000'000;
constexpr int32_t kMaxTransferCols = 100'000;

const char* const STooManyCells = "Too many cells for the grid";
}  // namespace

// ============================================================================ exchange records

// One record of the grid's clipboard block each: a component streamed with its published
// properties; each owns the object it carries.
class TGridPropIO : public TComponent {
  PL_CLASS(TGridPropIO)
 public:
  TGridPropIO() : TComponent(nullptr) {}
  int32_t ColCount = 0, RowCount = 0;
  AnsiString ColWidths, RowHeights;
  bool FullGrid = false;
  int32_t ID = 0;
};

class TGridCellIO : public TComponent {
  PL_CLASS(TGridCellIO)
 public:
  TGridCellIO() : TComponent(nullptr) {}
  // Full integers: rows past 32767 keep their place.
  int32_t Col = 0, Row = 0;
  AnsiString Cell;
  bool HasProp = false;
};

class TGridCellPropIO : public TComponent {
  PL_CLASS(TGridCellPropIO)
 public:
  TGridCellPropIO() : TComponent(nullptr), props_(nullptr, 0, 0) {}
  TCellProperties* GetCellProperties() { return &props_; }
  bool HasGraphic = false;

 private:
  TCellProperties props_;
};

class TGridGraphicIO : public TComponent {
  PL_CLASS(TGridGraphicIO)
 public:
  TGridGraphicIO() : TComponent(nullptr) {}
  TCellGraphic* GetCellGraphic() { return &graphic_; }

 private:
  TCellGraphic graphic_;
};

class TGridBMPIO : public TComponent {
  PL_CLASS(TGridBMPIO)
 public:
  TGridBMPIO() : TComponent(nullptr) {}
  TBitmap* GetBitmap() { return &bitmap_; }

 private:
  TBitmap bitmap_;
};

class TGridIconIO : public TComponent {
  PL_CLASS(TGridIconIO)
 public:
  TGridIconIO() : TComponent(nullptr) {}
  TIcon* GetIcon() { return &icon_; }

 private:
  TIcon icon_;
};

class TGridPicIO : public TComponent {
  PL_CLASS(TGridPicIO)
 public:
  TGridPicIO() : TComponent(nullptr) {}
  TPicture* GetPicture() { return &picture_; }

 private:
  TPicture picture_;
};

class TGridFilePicIO : public TComponent {
  PL_CLASS(TGridFilePicIO)
 public:
  TGridFilePicIO() : TComponent(nullptr) {}
  TFilePicture* GetPicture() { return &picture_; }

 private:
  TFilePicture picture_;
};

class TGridSLIO : public TComponent {
  PL_CLASS(TGridSLIO)
 public:
  TGridSLIO() : TComponent(nullptr) {}
  TStringList* GetStrings() { return &strings_; }

 private:
  TStringList strings_;
};

const TClassInfo& TGridPropIO::ClassInfo() {
  using R = TGridPropIO;
  static const TClassInfo info = TClassInfo::Of<R, TComponent>("TGridPropIO")
                                     .Prop("ColCount", &R::ColCount)
                                     .Prop("RowCount", &R::RowCount)
                                     .Prop("ColWidths", &R::ColWidths)
                                     .Prop("RowHeights", &R::RowHeights)
                                     .Prop("FullGrid", &R::FullGrid)
                                     .Prop("ID", &R::ID);
  return info;
}

const TClassInfo& TGridCellIO::ClassInfo() {
  using R = TGridCellIO;
  static const TClassInfo info = TClassInfo::Of<R, TComponent>("TGridCellIO")
                                     .Prop("Col", &R::Col)
                                     .Prop("Row", &R::Row)
                                     .Prop("Cell", &R::Cell)
                                     .Prop("HasProp", &R::HasProp);
  return info;
}

const TClassInfo& TGridCellPropIO::ClassInfo() {
  using R = TGridCellPropIO;
  static const TClassInfo info = TClassInfo::Of<R, TComponent>("TGridCellPropIO")
                                     .Prop("CellProperties", &R::GetCellProperties)
                                     .Prop("HasGraphic", &R::HasGraphic);
  return info;
}

const TClassInfo& TGridGraphicIO::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridGraphicIO, TComponent>("TGridGraphicIO")
                                     .Prop("CellGraphic", &TGridGraphicIO::GetCellGraphic);
  return info;
}

const TClassInfo& TGridBMPIO::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TGridBMPIO, TComponent>("TGridBMPIO").Prop("Bitmap", &TGridBMPIO::GetBitmap);
  return info;
}

const TClassInfo& TGridIconIO::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TGridIconIO, TComponent>("TGridIconIO").Prop("Icon", &TGridIconIO::GetIcon);
  return info;
}

const TClassInfo& TGridPicIO::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TGridPicIO, TComponent>("TGridPicIO").Prop("Picture", &TGridPicIO::GetPicture);
  return info;
}

const TClassInfo& TGridFilePicIO::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGridFilePicIO, TComponent>("TGridFilePicIO")
                                     .Prop("Picture", &TGridFilePicIO::GetPicture);
  return info;
}

const TClassInfo& TGridSLIO::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TGridSLIO, TComponent>("TGridSLIO").Prop("Strings", &TGridSLIO::GetStrings);
  return info;
}

namespace {

// Reads one record into Record; a record of another class is a read error, as is one whose
// properties do not fit.
void ReadGridRecord(TStream* Stream, TComponent* Record) {
  const int64_t start = Stream->Position();
  {
    TReader reader(Stream);
    reader.ReadSignature();
    TFilerFlags flags;
    int32_t childPos = 0;
    reader.ReadPrefix(flags, childPos);
    if (reader.ReadStr() != Record->ClassName()) throw EReadError("Invalid stream format");
  }
  Stream->SetPosition(start);
  ReadComponent(Stream, Record);
}

// The 32 bits of a window handle the block carries to know its own grid again.
int32_t HandleID(TWinControl* Control) {
  return Control->HandleAllocated() ? int32_t(reinterpret_cast<intptr_t>(Control->GetHandle())) : 0;
}

UINT RichTextFormat() { return RegisterClipboardFormatA("Rich Text Format"); }

// The cell types whose graphic carries an object of its own.
bool CarriesObject(TCellType Type) {
  switch (Type) {
    case ctBitmap:
    case ctIcon:
    case ctRadio:
    case ctImages:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
      return true;
    default:
      return false;
  }
}

}  // namespace

// ============================================================================ copying =========

AnsiString TAdvStringGrid::CopyTextOf(int32_t ACol, int32_t ARow) {
  AnsiString s = GetCellForCopy(ACol, ARow);
  if (!navigation_->CopyHTMLTagsToClipboard && s.find("</") != AnsiString::npos) return MarkupToText(s);
  if (s.find("{\\") != AnsiString::npos) return RichTextToPlain(s);
  return s;
}

AnsiString TAdvStringGrid::RowAsText(int32_t ARow, int32_t Left, int32_t Right, bool SelectedColsOnly,
                                     bool ForCopy) {
  AnsiString line;
  bool first = true;
  for (int32_t c = Left; c <= Right; ++c) {
    if (SelectedColsOnly && !GetColSelect(c)) continue;
    if (!first) line += '\t';
    first = false;
    const int32_t dc = DisplColToDataCol(c);
    if (ForCopy) {
      line += CopyTextOf(dc, ARow);
    } else {
      const AnsiString s = GetCells(dc, ARow);
      line += s.find("{\\") != AnsiString::npos ? RichTextToPlain(s) : s;
    }
  }
  return line;
}

void TAdvStringGrid::CopyRectToClipboard(const TGridRect& Rect, bool Disjunct) {
  lastCopyOrigin_ = {Rect.Left, Rect.Top};
  const bool skipRows = Disjunct && mouseActions_->DisjunctRowSelect && !mouseActions_->DisjunctColSelect;
  const bool skipCols = Disjunct && mouseActions_->DisjunctColSelect;
  std::vector<AnsiString> lines;
  for (int32_t r = Rect.Top; r <= Rect.Bottom; ++r)
    if (!skipRows || GetRowSelect(r)) lines.push_back(RowAsText(r, Rect.Left, Rect.Right, skipCols, true));
  // More than one row: every row ends in CR LF, the last too.
  AnsiString text;
  for (const AnsiString& line : lines) text += lines.size() > 1 ? line + "\r\n" : line;

  TClipboard* clip = Clipboard();
  clip->Open();
  try {
    clip->SetAsText(text);
    if (navigation_->AllowRTFClipboard) CopyRTFToClipboard(Rect.Left, Rect.Top);
    if (navigation_->AllowFmtClipboard) {
      TMemoryStream block;
      WriteCellsToStream(Rect, &block);
      clip->SetBuffer(GridClipboardFormat(), block.Memory(), size_t(block.Size()));
    }
  } catch (...) {
    clip->Close();
    throw;
  }
  clip->Close();
}

void TAdvStringGrid::CopyRTFToClipboard(int32_t ACol, int32_t ARow) {
  const AnsiString s = GetCells(DisplColToDataCol(ACol), ARow);
  if (s.find("{\\") == AnsiString::npos) return;
  Clipboard()->SetBuffer(RichTextFormat(), s.c_str(), s.size() + 1);
}

void TAdvStringGrid::CopySelectionToClipboard() {
  TGridRect r = GetSelection();
  const bool rows = mouseActions_->DisjunctRowSelect, cols = mouseActions_->DisjunctColSelect;
  if (rows)
    for (int32_t i = 0, first = -1; i < GetRowCount(); ++i)
      if (GetRowSelect(i)) {
        if (first < 0) first = r.Top = i;
        r.Bottom = i;
      }
  if (cols)
    for (int32_t i = 0, first = -1; i < GetColCount(); ++i)
      if (GetColSelect(i)) {
        if (first < 0) first = r.Left = i;
        r.Right = i;
      }
  CopyRectToClipboard(r, rows || cols);
  lastWasCopy_ = true;
}

void TAdvStringGrid::CutSelectionToClipboard() {
  CopySelectionToClipboard();
  lastWasCopy_ = false;
  const TGridRect sel = GetSelection();
  if (mouseActions_->DisjunctRowSelect) {
    for (int32_t r = TBaseGrid::GetFixedRows(); r < GetRowCount(); ++r)
      if (GetRowSelect(r)) ClearRowRange(r, 1);
  } else if (mouseActions_->DisjunctColSelect) {
    for (int32_t c = TBaseGrid::GetFixedCols(); c < GetColCount(); ++c)
      if (GetColSelect(c)) ClearColumnRange(c, 1);
  } else {
    for (int32_t r = sel.Top; r <= sel.Bottom; ++r)
      for (int32_t c = sel.Left; c <= sel.Right; ++c) {
        const int32_t dc = DisplColToDataCol(c);
        if (navigation_->AllowClipboardAlways || IsCellEditable(dc, r)) SetCells(dc, r, "");
      }
    if (navigation_->AllowFmtClipboard)
      ClearPropsRange(DisplColToDataCol(sel.Left), sel.Top, DisplColToDataCol(sel.Right), sel.Bottom);
  }
  Invalidate();
}

// ============================================================================ the grid's own format

void TAdvStringGrid::WriteCellsToStream(const TGridRect& Rect, TStream* Stream) {
  TGridPropIO prop;
  prop.ColCount = Rect.Right - Rect.Left + 1;
  prop.RowCount = Rect.Bottom - Rect.Top + 1;
  for (int32_t c = Rect.Left; c <= Rect.Right; ++c)
    prop.ColWidths += (c > Rect.Left ? "," : "") + IntToStr(GetColWidths(c));
  for (int32_t r = Rect.Top; r <= Rect.Bottom; ++r)
    prop.RowHeights += (r > Rect.Top ? "," : "") + IntToStr(GetRowHeights(r));
  prop.FullGrid = prop.ColCount == GetColCount() && prop.RowCount == GetRowCount();
  prop.ID = HandleID(this);
  WriteComponent(Stream, &prop);

  for (int32_t c = Rect.Left; c <= Rect.Right; ++c)
    for (int32_t r = Rect.Top; r <= Rect.Bottom; ++r) {
      const int32_t dc = DisplColToDataCol(c);
      TCellProperties* props = Props(dc, r);
      TGridCellIO cell;
      cell.Col = c;
      cell.Row = r;
      cell.Cell = GetRawCells(dc, r);
      cell.HasProp = props != nullptr;
      if (cell.Cell.empty() && !cell.HasProp) continue;
      WriteComponent(Stream, &cell);
      if (!props) continue;

      TGridCellPropIO propIO;
      propIO.GetCellProperties()->Assign(props);
      // A control belongs to this grid's form: it cannot travel.
      propIO.GetCellProperties()->Control = nullptr;
      TCellGraphic* g = GetCellGraphic(dc, r);
      propIO.HasGraphic = g && g->CellType != ctEmpty && !(CarriesObject(g->CellType) && !g->CellCreated);
      WriteComponent(Stream, &propIO);
      if (!propIO.HasGraphic) continue;

      TGridGraphicIO graphicIO;
      graphicIO.GetCellGraphic()->Assign(g);
      WriteComponent(Stream, &graphicIO);
      switch (g->CellType) {
        case ctBitmap:
        case ctBitButton: {
          TGridBMPIO io;
          if (auto* b = dynamic_cast<TBitmap*>(g->Graphic)) io.GetBitmap()->Assign(b);
          WriteComponent(Stream, &io);
          break;
        }
        case ctIcon: {
          TGridIconIO io;
          if (g->Icon) io.GetIcon()->Assign(g->Icon);
          WriteComponent(Stream, &io);
          break;
        }
        case ctRadio:
        case ctImages: {
          TGridSLIO io;
          if (auto* items = dynamic_cast<TStrings*>(g->Graphic); items && g->CellType == ctRadio)
            io.GetStrings()->Assign(items);
          if (g->CellType == ctImages && g->ImageIndexes) {
            AnsiString comma;
            for (int32_t i : *g->ImageIndexes) comma += (comma.empty() ? "" : ",") + IntToStr(i);
            io.GetStrings()->SetCommaText(comma);
          }
          WriteComponent(Stream, &io);
          break;
        }
        case ctPicture: {
          TGridPicIO io;
          if (auto* pic = dynamic_cast<TPicture*>(g->Graphic))
            io.GetPicture()->Assign(pic);
          else if (auto* graphic = dynamic_cast<TGraphic*>(g->Graphic))
            io.GetPicture()->Assign(graphic);
          WriteComponent(Stream, &io);
          break;
        }
        case ctFilePicture: {
          TGridFilePicIO io;
          if (auto* fp = dynamic_cast<TFilePicture*>(g->Graphic)) io.GetPicture()->Assign(fp);
          WriteComponent(Stream, &io);
          break;
        }
        default:
          break;
      }
    }
}

namespace {
// "12,30,7": the numbers of a width or height list; what is not a number is skipped.
std::vector<int32_t> SizeList(const AnsiString& S) {
  std::vector<int32_t> sizes;
  size_t at = 0;
  while (at <= S.size()) {
    size_t comma = S.find(',', at);
    if (comma == AnsiString::npos) comma = S.size();
    int32_t v = 0;
    sizes.push_back(TryStrToInt(S.substr(at, comma - at), v) ? v : -1);
    at = comma + 1;
  }
  return sizes;
}
}  // namespace

// The block comes from any program that used the format's name: its sizes and places are checked
// before anything is changed, and cells outside the grid are passed over.
void TAdvStringGrid::ReadCellsFromStream(TPoint At, TStream* Stream) {
  TGridPropIO prop;
  ReadGridRecord(Stream, &prop);
  if (prop.ColCount < 0 || prop.RowCount < 0 || prop.ColCount > kMaxTransferCols ||
      int64_t(prop.ColCount) * prop.RowCount > kMaxTransferCells)
    throw EReadError("Invalid grid clipboard data");
  if (prop.FullGrid) {
    if (prop.ColCount < 1 || prop.RowCount < 1) throw EReadError("Invalid grid clipboard data");
    ClearAllCells();
    SetRowCount(prop.RowCount);
    SetColCount(prop.ColCount);
    const std::vector<int32_t> widths = SizeList(prop.ColWidths), heights = SizeList(prop.RowHeights);
    for (int32_t i = 0; i < GetColCount() && i < int32_t(widths.size()); ++i)
      if (widths[size_t(i)] >= 0) SetColWidths(i, widths[size_t(i)]);
    for (int32_t j = 0; j < GetRowCount() && j < int32_t(heights.size()); ++j)
      if (heights[size_t(j)] >= 0) SetRowHeights(j, heights[size_t(j)]);
  }
  // A whole grid replaced this one: its cells keep their own places, wherever it was pasted.
  if (prop.FullGrid) At = {0, 0};
  bool first = true;
  TPoint origin{0, 0};
  while (Stream->Size() - Stream->Position() >= 2) {
    TGridCellIO cell;
    ReadGridRecord(Stream, &cell);
    if (first && !prop.FullGrid) origin = {cell.Col, cell.Row};
    first = false;
    const int64_t tc = int64_t(cell.Col) + At.X - origin.X, tr = int64_t(cell.Row) + At.Y - origin.Y;
    const bool inside = tc >= 0 && tr >= 0 && tc < GetColCount() && tr < GetRowCount();
    const int32_t col = inside ? DisplColToDataCol(int32_t(tc)) : 0, row = int32_t(tr);
    if (inside) SetCells(col, row, cell.Cell);
    if (!cell.HasProp) continue;

    TGridCellPropIO propIO;
    ReadGridRecord(Stream, &propIO);
    if (inside) {
      TCellProperties* props = CellProperties(col, row);
      props->Assign(propIO.GetCellProperties());
      props->OwnerCol = col;
      props->OwnerRow = row;
    }
    if (!propIO.HasGraphic) continue;

    TGridGraphicIO graphicIO;
    ReadGridRecord(Stream, &graphicIO);
    TCellGraphic* source = graphicIO.GetCellGraphic();
    TObject* object = nullptr;
    TIcon* icon = nullptr;
    std::unique_ptr<std::vector<int32_t>> indexes;
    switch (source->CellType) {
      case ctBitmap:
      case ctBitButton: {
        TGridBMPIO io;
        ReadGridRecord(Stream, &io);
        auto* b = new TBitmap;
        b->Assign(io.GetBitmap());
        object = b;
        break;
      }
      case ctIcon: {
        TGridIconIO io;
        ReadGridRecord(Stream, &io);
        icon = new TIcon;
        icon->Assign(io.GetIcon());
        break;
      }
      case ctRadio:
      case ctImages: {
        TGridSLIO io;
        ReadGridRecord(Stream, &io);
        if (source->CellType == ctRadio) {
          auto* items = new TStringList;
          items->Assign(io.GetStrings());
          object = items;
        } else {
          indexes = std::make_unique<std::vector<int32_t>>();
          TStringList list;
          list.SetCommaText(io.GetStrings()->GetCommaText());
          for (int32_t i = 0; i < list.Count(); ++i) indexes->push_back(StrToIntDef(list.Strings(i), 0));
        }
        break;
      }
      case ctPicture: {
        TGridPicIO io;
        ReadGridRecord(Stream, &io);
        if (TGraphic* g = io.GetPicture()->GetGraphic())
          if (auto* copy = dynamic_cast<TGraphic*>(g->ClassType().CreateInstance())) {
            copy->Assign(g);
            object = copy;
          }
        break;
      }
      case ctFilePicture: {
        TGridFilePicIO io;
        ReadGridRecord(Stream, &io);
        auto* fp = new TFilePicture;
        fp->Assign(io.GetPicture());
        object = fp;
        break;
      }
      default:
        break;
    }
    if (!inside) {
      delete object;
      delete icon;
      continue;
    }
    TCellGraphic* g = CreateCellGraphic(col, row);
    g->Assign(source);
    g->CellCreated = CarriesObject(source->CellType) || g->CellCreated;
    g->Graphic = object;
    g->Icon = icon;
    g->ImageIndexes = std::move(indexes);
  }
}

// ============================================================================ pasting =========

void TAdvStringGrid::PasteCell(int32_t ACol, int32_t ARow, const AnsiString& Value) {
  SetCells(ACol, ARow, Value);
}

int32_t TAdvStringGrid::PasteText(int32_t ACol, int32_t ARow, const char* Text) {
  if (ACol < 0 || ARow < 0 || !Text) return 0;
  if (!GetOptions().Contains(goEditing) && !navigation_->AllowClipboardAlways &&
      !mouseActions_->RangeSelectAndEdit)
    return 0;
  // Sized first: a text beyond the bounds changes nothing.
  int64_t fields = 1, widest = 1;
  for (int64_t inLine = 1, i = 0; Text[i]; ++i) {
    if (Text[i] == '\t') {
      ++fields;
      widest = std::max(widest, ++inLine);
    } else if (Text[i] == '\r') {
      if (Text[i + 1] == '\n') ++i;
      ++fields;
      inLine = 1;
    }
  }
  if (fields > kMaxTransferCells || ACol + widest > kMaxTransferCols) throw EAdvGridError(STooManyCells);

  // Each line followed by more text adds a row at the last one: the rows are added at once.
  if (navigation_->AllowClipboardRowGrow && ARow < GetRowCount()) {
    int64_t lines = 1;
    for (const char* q = Text; *q; ++q)
      if (*q == '\r') {
        if (q[1] == '\n') ++q;
        lines += q[1] != 0;
      }
    if (ARow + lines > GetRowCount()) SetRowCount(int32_t(ARow + lines));
  }
  int32_t count = 0, c = ACol, r = ARow, maxCol = ACol, maxRow = ARow;
  const char* p = Text;
  LockUpdate();
  try {
    bool lineStart = true;
    for (;;) {
      // Every field of a line at ColCount adds a column: the line's columns are added at once.
      if (std::exchange(lineStart, false) && navigation_->AllowClipboardColGrow) {
        int32_t fieldsInLine = 1;
        for (const char* q = p; *q && *q != '\r'; ++q) fieldsInLine += *q == '\t';
        if (ACol <= GetColCount() && ACol + fieldsInLine > GetColCount()) SetColCount(ACol + fieldsInLine);
      }
      const char* end = p;
      while (*end && *end != '\t' && *end != '\r') ++end;
      const AnsiString field(p, size_t(end - p));
      const char stop = *end;
      const char* next = end;
      if (stop == '\t') {
        ++next;
      } else if (stop == '\r') {
        ++next;
        if (*next == '\n') ++next;
      }
      const bool more = stop == '\t' || *next;
      ++count;
      // The last field of a line is taken when it holds text or more text follows.
      if (stop == '\t' || !field.empty() || more) {
        maxCol = std::max(maxCol, c);
        maxRow = std::max(maxRow, r);
        const int32_t dc = c < GetColCount() ? DisplColToDataCol(c) : c;
        if (c < GetColCount() && r < GetRowCount() &&
            (navigation_->AllowClipboardAlways || IsCellEditable(dc, r))) {
          AnsiString value = field;
          bool allow = true;
          OnClipboardBeforePasteCell(this, c, r, value, allow);
          if (allow) {
            PasteCell(dc, r, value);
            if (dc != c) RepaintCell(c, r);
          }
        }
      }
      if (!stop) break;
      p = next;
      if (stop == '\t') {
        ++c;
        continue;
      }
      c = ACol;
      ++r;
      lineStart = true;
    }
  } catch (...) {
    UnlockUpdate();
    throw;
  }
  UnlockUpdate();
  const TGridRect target{ACol, ARow, maxCol, maxRow};
  CellsPasted(lastCopyOrigin_, target, lastWasCopy_);
  CellsChanged(TRect{ACol, ARow, maxCol, maxRow});
  return count;
}

int32_t TAdvStringGrid::PasteFromClipboardAt(int32_t ACol, int32_t ARow) {
  TClipboard* clip = Clipboard();
  if (navigation_->AllowFmtClipboard && clip->HasFormat(GridClipboardFormat())) {
    const std::string bytes = clip->GetBuffer(GridClipboardFormat());
    TMemoryStream block;
    block.WriteBuffer(bytes.data(), int32_t(bytes.size()));
    block.SetPosition(0);
    ReadCellsFromStream(TPoint{ACol, ARow}, &block);
    block.SetPosition(0);
    TGridPropIO prop;
    ReadGridRecord(&block, &prop);
    const TGridRect target{ACol, ARow, ACol + prop.ColCount - 1, ARow + prop.RowCount - 1};
    const bool ours = prop.ID != 0 && prop.ID == HandleID(this);
    CellsPasted(ours ? lastCopyOrigin_ : TPoint{-1, -1}, target, lastWasCopy_);
    return prop.ColCount * prop.RowCount;
  }
  if (navigation_->AllowRTFClipboard && clip->HasFormat(RichTextFormat())) {
    std::string rtf = clip->GetBuffer(RichTextFormat());
    rtf.resize(std::min(rtf.size(), rtf.find('\0')));
    const int32_t dc = DisplColToDataCol(ACol);
    if (IsCellEditable(dc, ARow)) SetCells(dc, ARow, rtf);
    return 0;
  }
  if (clip->HasFormat(CF_TEXT)) return PasteText(ACol, ARow, clip->GetAsText().c_str());
  return 0;
}

// ============================================================================ smart paste =====

void TAdvStringGrid::PasteSelection() {
  const TGridRect s = GetSelection();
  const int32_t n = PasteFromClipboardAt(s.Left, s.Top);
  if (navigation_->AllowSmartClipboard) SmartPaste(s, n);
}

void TAdvStringGrid::SmartPaste(const TGridRect& S, int32_t N) {
  auto cellText = [this](int32_t c, int32_t r) { return GetCells(DisplColToDataCol(c), r); };
  auto editable = [this](int32_t c, int32_t r) { return IsCellEditable(DisplColToDataCol(c), r); };
  // Every cell of S in order, column by column; false from Fill ends the walk.
  auto walk = [&](const std::function<bool(int32_t, int32_t)>& Fill) {
    for (int32_t c = S.Left; c <= S.Right; ++c)
      for (int32_t r = S.Top; r <= S.Bottom; ++r)
        if (!Fill(c, r)) return;
  };
  const bool oneCell = S.Left == S.Right && S.Top == S.Bottom;
  if (N == 1 && !oneCell) {
    const AnsiString text = cellText(S.Left, S.Top);
    walk([&](int32_t c, int32_t r) {
      if (editable(c, r)) SetCells(DisplColToDataCol(c), r, text);
      return true;
    });
    return;
  }
  if (N <= 1 || (S.Left != S.Right && S.Top != S.Bottom)) return;
  const bool column = S.Left == S.Right && !oneCell;
  const AnsiString first = cellText(S.Left, S.Top);
  const AnsiString second = column ? cellText(S.Left, S.Top + 1) : cellText(S.Left + 1, S.Top);
  const TFormatSettings& fs = FormatSettings;
  auto isDateOrTime = [&](const AnsiString& t) {
    return t.find(fs.DateSeparator) != AnsiString::npos || t.find(fs.TimeSeparator) != AnsiString::npos;
  };
  try {
    if (isDateOrTime(first) && isDateOrTime(second)) {
      TDateTime value = StrToDateTime(first);
      const TDateTime next = StrToDateTime(second);
      WORD y1 = 0, m1 = 0, d1 = 0, y2 = 0, m2 = 0, d2 = 0;
      DecodeDate(value, y1, m1, d1);
      DecodeDate(next, y2, m2, d2);
      const bool asDate = first.find(fs.DateSeparator) != AnsiString::npos;
      walk([&](int32_t c, int32_t r) {
        if (editable(c, r)) SetCells(DisplColToDataCol(c), r, asDate ? DateToStr(value) : TimeToStr(value));
        return StepDate(y2 - y1, m2 - m1, d2 - d1, next - StrToDateTime(first), value);
      });
    } else if (first.find(fs.DecimalSeparator) != AnsiString::npos ||
               second.find(fs.DecimalSeparator) != AnsiString::npos) {
      double value = StrToFloat(first);
      const double step = StrToFloat(second) - value;
      walk([&](int32_t c, int32_t r) {
        if (editable(c, r)) SetCells(DisplColToDataCol(c), r, Format(FloatFormat, {value}));
        value += step;
        return true;
      });
    } else if (int32_t a = 0, b = 0; TryStrToInt(first, a) && TryStrToInt(second, b)) {
      int64_t value = a;
      const int64_t step = int64_t(b) - a;
      walk([&](int32_t c, int32_t r) {
        if (editable(c, r)) SetInts(DisplColToDataCol(c), r, int32_t(value));
        value += step;
        return true;
      });
    } else if (column) {
      for (int32_t r = S.Top + N - 1; r <= S.Bottom; ++r)
        if (editable(S.Left, r)) SetCells(DisplColToDataCol(S.Left), r, cellText(S.Left, r - (N - 1)));
    } else {
      for (int32_t c = S.Left + N; c <= S.Right; ++c)
        if (editable(c, S.Top)) SetCells(DisplColToDataCol(c), S.Top, cellText(c - N, S.Top));
    }
  } catch (const EConvertError&) {
    // The series ends where a value does not convert; the cells filled so far stay.
  }
}

// ============================================================================ shortcuts =======

bool TAdvStringGrid::ClipboardShortCut(WORD Key, bool Ctrl, bool Shift) {
  TClipboardEvent* event = nullptr;
  void (TAdvStringGrid::*action)() = nullptr;
  if (Ctrl && (Key == 'C' || Key == VK_INSERT)) {
    event = &OnClipboardCopy;
    action = &TAdvStringGrid::CopySelectionToClipboard;
  } else if ((Ctrl && Key == 'V') || (Shift && Key == VK_INSERT)) {
    event = &OnClipboardPaste;
    action = &TAdvStringGrid::PasteSelection;
  } else if ((Ctrl && Key == 'X') || (Shift && Key == VK_DELETE)) {
    event = &OnClipboardCut;
    action = &TAdvStringGrid::CutSelectionToClipboard;
  } else {
    return false;
  }
  bool allow = true;
  (*event)(this, allow);
  if (allow) (this->*action)();
  return true;
}

// ============================================================================ CSV import ======

namespace {
// The candidates in order of preference.
constexpr char kCsvSeparators[] = {',', ';', '#', '\t', '|'};

// The separator by the first two lines (#0: none occurs).
char DetectSeparator(const AnsiString& Line1, const AnsiString& Line2) {
  char found = 0;
  for (auto count : {&CountOddRuns, &CountChar}) {
    int32_t best = 0;
    for (char c : kCsvSeparators) {
      const int32_t n1 = count(c, Line1);
      if (n1 == count(c, Line2) && n1 > best) {
        best = n1;
        found = c;
      }
    }
    if (found) return found;
  }
  int32_t best = 0;
  for (char c : kCsvSeparators) {
    const int32_t n = std::max(CountChar(c, Line1), CountChar(c, Line2));
    if (n > best) {
      best = n;
      found = c;
    }
  }
  return found;
}

AnsiString CsvField(const AnsiString& S) {
  AnsiString f = CollapseRuns('"', S);
  LFToCRLF(f);
  return f;
}
}  // namespace

void TAdvStringGrid::ImportCSVFile(const AnsiString& FileName) {
  TextFile file;
  try {
    AssignFile(file, FileName);
    Reset(file);
  } catch (const EInOutError&) {
    throw EAdvGridError("Cannot open file " + FileName);
  }
  AnsiString line1, line2;
  if (!Eof(file)) ReadLn(file, line1);
  if (!Eof(file)) ReadLn(file, line2);
  // Wide text (UTF-16) is full of zero bytes, which single-byte text never holds.
  if (line1.find('\0') != AnsiString::npos || line2.find('\0') != AnsiString::npos)
    throw EAdvGridError("File " + FileName + " is not single-byte text");
  const char separator = DetectSeparator(line1, line2);
  Reset(file);

  int32_t total = 0;
  if (OnFileProgress) {
    while (!Eof(file)) {
      ReadLn(file);
      ++total;
    }
    SetRowCount(total + fixedFooters_);
    Reset(file);
  }

  int32_t r = 0;
  int16_t reported = -1;
  int64_t cells = 0;
  AnsiString line;
  // Also when the import stops at a bound or a read error: the rows read so far are what the
  // grid holds, without the growth's empty rows.
  auto finish = [&] {
    SetRowCount(r + fixedFooters_);
    CellsChanged(TRect{0, 0, GetColCount(), GetRowCount()});
    UpdateFooterAll();
  };
  try {
    while (!Eof(file)) {
      ReadLn(file, line);
      if (OemConvert && !line.empty()) OemToCharBuffA(line.c_str(), line.data(), DWORD(line.size()));
      if (r >= GetRowCount() - fixedFooters_) SetRowCount(r + 1000);
      // A line of more fields than a grid takes is refused before its columns are made.
      if (separator && CountChar(separator, line) >= kMaxTransferCols) throw EAdvGridError(STooManyCells);
      std::vector<AnsiString> fields;
      size_t at = 0;  // the rest of the line starts here
      size_t sep = separator ? line.find(separator, at) : AnsiString::npos;
      while (sep != AnsiString::npos) {
        AnsiString field;
        if (line[at] == '"') {
          ++at;
          int32_t run = 0;
          const int32_t pos = FindOddRun('"', line.substr(at), run);
          if (pos > 0) {
            field = line.substr(at, size_t(pos - 1));
            at += size_t(pos - 1 + run);
            sep = line.find(separator, at);
          }
        } else {
          field = line.substr(at, sep - at);
        }
        fields.push_back(CsvField(field));
        at = sep == AnsiString::npos ? line.size() : sep + 1;
        sep = line.find(separator, at);
      }
      if (at < line.size()) {
        AnsiString last = line.substr(at);
        if (!last.empty() && last.front() == '"') last.erase(0, 1);
        if (!last.empty() && last.back() == '"') last.pop_back();
        fields.push_back(CsvField(last));
      }
      cells += std::max<int64_t>(int64_t(fields.size()), 1);  // an empty line is still a row
      if (cells > kMaxTransferCells) throw EAdvGridError(STooManyCells);
      if (GetColCount() < int32_t(fields.size())) SetColCount(int32_t(fields.size()));
      for (size_t col = 0; col < fields.size(); ++col) SetCellForImport(int32_t(col), r, fields[col]);
      ++r;
      if (OnFileProgress && total > 0) {
        const auto percent = int16_t(Round(double(r) * 100 / total));
        if (percent != reported) OnFileProgress(this, reported = percent);
      }
    }
  } catch (const Exception&) {
    finish();
    throw;
  }
  CloseFile(file);
  finish();
}

// ============================================================================ spreadsheet import

void TAdvStringGrid::ImportXLSSheet(const AnsiString& /*FileName*/, const AnsiString& /*SheetName*/) {
  Screen->SetCursor(crHourGlass);
  try {
    IUnknown* server = CreateOleObject("excel.application");
    if (server) server->Release();
  } catch (const EOleError&) {
    Screen->SetCursor(crDefault);
    throw EAdvGridError("Excel OLE server not found");
  }
  // No automation server answers on this system, so the workbook steps are never reached.
  Screen->SetCursor(crDefault);
  throw EAdvGridError("Excel OLE server not found");
}
