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

bool TAdvStringGrid::RunMarkup(TCanvas* Canvas, const AnsiString& Text, const TRect& R, int32_t X, int32_t Y,
                               bool HitTest, bool Measure, bool BlinkOn, bool Wrap, bool Down, TColor Anchor,
                               TMarkupOut& O) {
  return DrawMarkup(Canvas, Text, R, gridImages_, X, Y, -1, 0, 1, HitTest, Measure, false, false, BlinkOn,
                    false, Wrap, Down, 1.0, Anchor, clNone, clNone, clGray, O.AnchorVal, O.StripVal,
                    O.FocusAnchor, O.XSize, O.YSize, O.HyperLinks, O.MouseLink, O.HoverRect, O.CtrlRect,
                    O.CtrlID, O.CtrlVal, O.CtrlType, GetPictureCache(), pictureContainer_,
                    HandleAllocated() ? GetHandle() : nullptr);
}

bool TAdvStringGrid::MarkupButtonHeld(int32_t Col, int32_t ARow) const {
  return markupButton_.Y == ARow && markupButton_.X >= 0 && DisplColToDataCol(markupButton_.X) == Col;
}

void TAdvStringGrid::DrawMarkupText(TCanvas* Canvas, const AnsiString& Text, const TRect& R, TColor Anchor) {
  TMarkupOut o;
  RunMarkup(Canvas, Text, R, -1, -1, false, false, blinkPhase_, true, false, Anchor, o);
}

void TAdvStringGrid::DrawMarkupCell(TCanvas* Canvas, int32_t Col, int32_t ARow, TRect TR,
                                    const AnsiString& Text, TColor Anchor, TVAlignment VAlign) {
  const bool sortMark = SortGlyphShown(Col, ARow);
  if (ARow == 0 && HasColumnFilter(Col)) TR.Right -= 18;
  if (sortMark) TR.Right -= 10;
  // Controls under the mouse show hot.
  POINT pt{-1, -1};
  if (HandleAllocated() && GetCursorPos(&pt)) ::ScreenToClient(GetHandle(), &pt);
  TMarkupOut o;
  RunMarkup(Canvas, Text, TR, pt.X, pt.Y, false, false, blinkPhase_, !enhTextSize_,
            MarkupButtonHeld(Col, ARow), Anchor, o);
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
  CellToRichEdit(ACol, ARow, richEdit_);
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
  TMarkupOut o;
  const bool on = RunMarkup(canvas, text, R, X, Y, true, false, blinkPhase_, !enhTextSize_,
                            MarkupButtonHeld(ACol, ARow), urlColor_, o);
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

TSize TAdvStringGrid::MarkupExtent(TCanvas* Canvas, const AnsiString& Text, int32_t Width, bool Wrap) {
  TMarkupOut o;
  RunMarkup(Canvas, Text, TRect{0, 0, Width, 65535}, -1, -1, false, true, true, Wrap, false, urlColor_, o);
  return TSize{o.XSize, o.YSize};
}
