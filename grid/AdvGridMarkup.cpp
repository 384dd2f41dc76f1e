// TAdvStringGrid (unit AdvGrid): markup and rich-text cells, and the markup hooks the mouse, hint
// and auto-size code use.
//
// Sections: settings / markup cells / rich-text cells / hit test and extent.
#include <algorithm>

#include "grid/AdvGrid.h"
#include "grid/AdvUtil.h"
#include "grid/AsgHTMLE.h"
#include "grid/PictureContainer.h"
#include "platform/os/user/EditControl.h"
#include "platform/runtime/MathUtils.h"
#include "platform/ui/RichEdit.h"

// ============================================================================ settings ========

void TAdvStringGrid::SetPictureContainer(TPictureContainer* Value) {
  if (pictureContainer_) pictureContainer_->RemoveFreeNotification(this);
  pictureContainer_ = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

THTMLPictureCache* TAdvStringGrid::GetPictureCache() {
  if (!pictureCache_) pictureCache_ = std::make_unique<THTMLPictureCache>();
  return pictureCache_.get();
}

// ============================================================================ markup cells ====

namespace {

// The renderer's outputs that a caller does not need.
struct TMarkupOutputs {
  AnsiString AnchorVal, StripVal, FocusAnchor, CtrlID, CtrlVal, CtrlType;
  int32_t XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = -1;
  TRect HoverRect{}, CtrlRect{};
};

}  // namespace

void TAdvStringGrid::DrawMarkupCell(TCanvas* Canvas, int32_t Col, int32_t ARow, TRect TR,
                                    const AnsiString& Text, TColor Anchor, TVAlignment VAlign) {
  const bool sortMark = SortGlyphShown(Col, ARow);
  if (ARow == 0 && HasColumnFilter(Col)) TR.Right -= 18;
  if (sortMark) TR.Right -= 10;
  // Controls under the mouse show hot.
  POINT pt{-1, -1};
  if (HandleAllocated() && GetCursorPos(&pt)) ::ScreenToClient(GetHandle(), &pt);
  const bool down =
      markupButton_.Y == ARow && markupButton_.X >= 0 && DisplColToDataCol(markupButton_.X) == Col;
  TMarkupOutputs o;
  DrawMarkup(Canvas, Text, TR, gridImages_, pt.X, pt.Y, -1, 0, 1, false, false, false, false, blinkPhase_,
             false, !enhTextSize_, down, 1.0, Anchor, clNone, clNone, clGray, o.AnchorVal, o.StripVal,
             o.FocusAnchor, o.XSize, o.YSize, o.HyperLinks, o.MouseLink, o.HoverRect, o.CtrlRect, o.CtrlID,
             o.CtrlVal, o.CtrlType, GetPictureCache(), pictureContainer_,
             HandleAllocated() ? GetHandle() : nullptr);
  graphicPaint_.TextWidth = o.XSize + 2;
  if (sortMark) {
    const int32_t y = VAlign == vtaCenter   ? (TR.Top + TR.Bottom) / 2
                      : VAlign == vtaBottom ? TR.Bottom - 8
                                            : TR.Top + 8;
    DrawSortGlyph(Canvas, Col, y, TR.Right + 2);
  }
}

// ============================================================================ rich-text cells =

void TAdvStringGrid::DrawRichCell(TCanvas* Canvas, int32_t Col, int32_t ARow, TRect ARect,
                                  TGridDrawState AState) {
  if (!(AState.Contains(gdSelected) && !AState.Contains(gdFocused) && selectionColor_ == clNone)) {
    Canvas->GetPen()->SetColor(Canvas->GetBrush()->GetColor());
    Canvas->FillRect(ARect);
  }
  Canvas->GetBrush()->SetStyle(bsClear);
  DrawRTFCell(Col, ARow, ARect, Canvas);
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetFont()->SetColor(clBlack);
}

void TAdvStringGrid::DrawRTFCell(int32_t ACol, int32_t ARow, TRect ARect, TCanvas* Canvas) {
  if (!richEdit_) {
    // Never shown: it lays out and draws the cells' rich text on the grid's canvas.
    richEdit_ = new TRichEdit(this);
    richEdit_->SetVisible(false);
  }
  richEdit_->SetRichText(GetCells(ACol, ARow));
  const TGridRect sel = GetSelection();
  const bool inSel = ACol >= sel.Left && ACol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom;
  const bool current = ACol == GetCol() && ARow == GetRow();
  const bool marked =
      (mouseActions_->DisjunctRowSelect && ARow < int32_t(rowSelect_.size()) && rowSelect_[size_t(ARow)]) ||
      (mouseActions_->DisjunctColSelect && ACol < int32_t(colSelect_.size()) && colSelect_[size_t(ACol)]);
  Canvas->RequiredState({csHandleValid});
  HDC dc = Canvas->GetHandle();
  const bool oneToOne = GetMapMode(dc) == MM_TEXT;
  if ((((inSel && !mouseActions_->DisjunctRowSelect) &&
        (!current || GetOptions().Contains(goDrawFocusSelected))) ||
       marked) &&
      !SelectionRTFKeep && oneToOne) {
    TRichDocument doc = richEdit_->GetDocument();
    for (TRichRun& run : doc.Runs) run.Format.Color = selectionTextColor_;
    richEdit_->SetDocument(doc);
  }
  int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  if (dpiX <= 0) dpiX = 96;
  if (dpiY <= 0) dpiY = 96;
  const int32_t margin = MulDiv(textMargin_.X, dpiX, 96);
  TRect r{ARect.Left + margin, ARect.Top + margin, ARect.Right - margin, ARect.Bottom - margin};
  FORMATRANGE fr{};
  fr.hdc = fr.hdcTarget = dc;
  fr.rc = TRect{MulDiv(r.Left, 1440, dpiX), MulDiv(r.Top, 1440, dpiY), MulDiv(r.Right, 1440, dpiX),
                MulDiv(r.Bottom, 1440, dpiY)};
  fr.rcPage = fr.rc;
  fr.chrg = CHARRANGE{0, -1};
  richEdit_->Perform(EM_FORMATRANGE, 1, LPARAM(&fr));
  richEdit_->Perform(EM_FORMATRANGE, 0, 0);
}

// ============================================================================ hit test and extent

bool TAdvStringGrid::MarkupHitTest(int32_t ACol, int32_t ARow, TRect R, int32_t X, int32_t Y,
                                   TMarkupHit& Hit) {
  Hit = TMarkupHit{};
  const AnsiString text = GetCells(ACol, ARow);
  if (CellTextKind(text, enableHTML_) != ctkMarkup) return false;
  TCanvas* canvas = GetCanvas();
  TFont saved;
  saved.Assign(canvas->GetFont());
  const bool fixed = ACol < GetFixedCols() || ARow < GetFixedRows();
  canvas->SetFont(fixed ? fixedFont_.get() : GetFont());
  const bool down =
      markupButton_.Y == ARow && markupButton_.X >= 0 && DisplColToDataCol(markupButton_.X) == ACol;
  TMarkupOutputs o;
  const bool on = DrawMarkup(canvas, text, R, gridImages_, X, Y, -1, 0, 1, true, false, false, false,
                             blinkPhase_, false, !enhTextSize_, down, 1.0, urlColor_, clNone, clNone, clGray,
                             o.AnchorVal, o.StripVal, o.FocusAnchor, o.XSize, o.YSize, o.HyperLinks,
                             o.MouseLink, o.HoverRect, o.CtrlRect, o.CtrlID, o.CtrlVal, o.CtrlType,
                             GetPictureCache(), pictureContainer_, HandleAllocated() ? GetHandle() : nullptr);
  canvas->SetFont(&saved);
  Hit.Anchor = o.AnchorVal, Hit.CtrlID = o.CtrlID, Hit.CtrlVal = o.CtrlVal, Hit.CtrlType = o.CtrlType;
  Hit.CtrlRect = o.CtrlRect;
  return on;
}

bool TAdvStringGrid::SetCellControlValue(int32_t ACol, int32_t ARow, const AnsiString& CtrlID,
                                         const AnsiString& Value) {
  AnsiString text = GetCells(ACol, ARow);
  if (!SetControlValue(text, CtrlID, Value)) return false;
  SetCells(ACol, ARow, text);
  return true;
}

AnsiString TAdvStringGrid::MarkupToPlainText(const AnsiString& Text) { return MarkupToText(Text); }

TSize TAdvStringGrid::MarkupExtent(TCanvas* Canvas, const AnsiString& Text, int32_t Width, bool Wrap) {
  TMarkupOutputs o;
  DrawMarkup(Canvas, Text, TRect{0, 0, Width, 65535}, gridImages_, -1, -1, -1, 0, 1, false, true, false,
             false, true, false, Wrap, false, 1.0, urlColor_, clNone, clNone, clGray, o.AnchorVal, o.StripVal,
             o.FocusAnchor, o.XSize, o.YSize, o.HyperLinks, o.MouseLink, o.HoverRect, o.CtrlRect, o.CtrlID,
             o.CtrlVal, o.CtrlType, GetPictureCache(), pictureContainer_,
             HandleAllocated() ? GetHandle() : nullptr);
  return TSize{o.XSize, o.YSize};
}
