#include "plot/iPlotAnnotation.h"

#include <algorithm>
#include <cmath>

#include "platform/os/gdi/Gdi.h"
#include "platform/runtime/MathUtils.h"
#include "platform/ui/ImgList.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotComponent.h"
#include "plot/iPlotDataView.h"
#include "widgets/iGPFunctions.h"

PL_ENUM_NAMES(TiPlotAnnotationStyle, "ipasText", "ipasLine", "ipasRectangle", "ipasLineX", "ipasLineY",
              "ipasImage", "ipasTextRectangle", "ipasEllipse", "ipasTextBox")
PL_ENUM_NAMES(TiPlotReferenceType, "iprtDataView", "iprtChannel", "iprtXChannelYDataView",
              "iprtXDataViewYChannel")

const TClassInfo& TiPlotAnnotation::ClassInfo() {
  using C = TiPlotAnnotation;
  static const TClassInfo info =
      TClassInfo::Of<C, TiPlotObject>("TiPlotAnnotation")
          .Prop("Style", &C::GetStyle, &C::SetStyle)
          .Default(ipasText)
          .Prop("Reference", &C::GetReference, &C::SetReference)
          .Default(iprtDataView)
          .Prop("ChannelName", &C::GetChannelName, &C::SetChannelName)
          .Prop("X", &C::GetX, &C::SetX)
          .Prop("Y", &C::GetY, &C::SetY)
          .Prop("X2", &C::GetX2, &C::SetX2)
          .Prop("Y2", &C::GetY2, &C::SetY2)
          .Prop("Width", &C::GetWidth, &C::SetWidth)
          .Prop("Height", &C::GetHeight, &C::SetHeight)
          .Prop("PenColor", &C::GetPenColor, &C::SetPenColor)
          .Default(0xFFFFFF)
          .Type(ColorTypeInfo())
          .Prop("PenStyle", &C::GetPenStyle, &C::SetPenStyle)
          .Default(psSolid)
          .Prop("PenWidth", &C::GetPenWidth, &C::SetPenWidth)
          .Default(0)
          .Prop("BrushColor", &C::GetBrushColor, &C::SetBrushColor)
          .Default(0xFFFFFF)
          .Type(ColorTypeInfo())
          .Prop("BrushStyle", &C::GetBrushStyle, &C::SetBrushStyle)
          .Default(bsSolid)
          .Prop("Text", &C::GetText, &C::SetText)
          .Object("Font", &C::GetFont, &C::SetFont)
          .Prop("TextRotation", &C::GetTextRotation, &C::SetTextRotation)
          .Default(ira000)
          .Prop("TextHorzAlignment", &C::GetTextHorzAlignment, &C::SetTextHorzAlignment)
          .Default(iahCenter)
          .Prop("TextVertAlignment", &C::GetTextVertAlignment, &C::SetTextVertAlignment)
          .Default(iavCenter)
          .Prop("TextHorzMargin", &C::GetTextHorzMargin, &C::SetTextHorzMargin)
          .Prop("TextVertMargin", &C::GetTextVertMargin, &C::SetTextVertMargin)
          .Prop("OuterMargin", &C::GetOuterMargin, &C::SetOuterMargin)
          .Default(0)
          .Prop("ImageListIndex", &C::GetImageListIndex, &C::SetImageListIndex)
          .Default(0)
          .Prop("ImageIndex", &C::GetImageIndex, &C::SetImageIndex)
          .Default(0)
          .Prop("UserCanMove", &C::GetUserCanMove, &C::SetUserCanMove)
          .Default(false)
          .Prop("UserCanSize", &C::GetUserCanSize, &C::SetUserCanSize)
          .Default(false)
          .Prop("ClipToAxes", &C::GetClipToAxes, &C::SetClipToAxes)
          .Default(false)
          .Prop("ShowFocusRect", &C::GetShowFocusRect, &C::SetShowFocusRect)
          .Default(true);
  return info;
}

TiPlotAnnotation::TiPlotAnnotation(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                   const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                   const TNotifyEvent& AOnChange)
    : TiPlotObject(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FFont = std::make_unique<TFont>();
  FFont->SetName("Arial");
  FFont->SetColor(clWhite);
  FFont->OnChange = TNotifyEvent(this, &TiPlotAnnotation::FontChanged);
}

TiPlotAnnotation::~TiPlotAnnotation() = default;

// ============================================================================================
// channel and coordinates
// ============================================================================================

void TiPlotAnnotation::SetChannelName(const AnsiString& Value) {
  if (Value == FChannelName) return;
  FChannel = nullptr;
  SetStringField(Value, FChannelName, &TiPlotObject::DoChange);
}

TiPlotChannelCustom* TiPlotAnnotation::Channel() {
  if (!FChannel)
    if (TiPlotComponent* plot = Plot()) FChannel = plot->FindChannel(FChannelName);
  return FChannel;
}

TiPlotAxis* TiPlotAnnotation::ChannelAxis(bool X) {
  TiPlotChannelCustom* channel = Channel();
  if (!channel) return nullptr;
  return X ? channel->GetXAxis() : channel->GetYAxis();
}

bool TiPlotAnnotation::CanSize() const {
  return FUserCanSize && (FStyle == ipasRectangle || FStyle == ipasTextRectangle || FStyle == ipasEllipse);
}

int32_t TiPlotAnnotation::DataViewEdge(bool Across, bool Far) const {
  if (!FDataView) return 0;
  const TRect& r = FDataView->GetLayoutRect();
  return Across != GetXYAxesReverse() ? (Far ? r.Right : r.Left) : (Far ? r.Bottom : r.Top);
}

// In data-view percent the X direction runs up the screen with reversed axes and Y to the right.

int32_t TiPlotAnnotation::ToPixel(bool X, double Value) {
  if (X ? XOnChannel() : YOnChannel()) {
    TiPlotAxis* axis = ChannelAxis(X);
    return axis ? axis->ValueToPosition(Value) : 0;
  }
  if (!FDataView) return 0;
  return X != GetXYAxesReverse() ? FDataView->XPercentToPixel(Value) : FDataView->YPercentToPixel(Value);
}

double TiPlotAnnotation::FromPixel(bool X, int32_t Pixel) {
  if (X ? XOnChannel() : YOnChannel()) {
    TiPlotAxis* axis = ChannelAxis(X);
    return axis ? axis->PositionToValue(Pixel) : 0;
  }
  if (!FDataView) return 0;
  return X != GetXYAxesReverse() ? FDataView->XPixelToPercent(Pixel) : FDataView->YPixelToPercent(Pixel);
}

double TiPlotAnnotation::PointToX(TPoint Point) { return PixelToX(GetXYAxesReverse() ? Point.Y : Point.X); }
double TiPlotAnnotation::PointToY(TPoint Point) { return PixelToY(GetXYAxesReverse() ? Point.X : Point.Y); }

TPoint TiPlotAnnotation::PixelOf(double AX, double AY) {
  return XYPoint(GetXYAxesReverse(), XToPixel(AX), YToPixel(AY));
}

TRect TiPlotAnnotation::CentredRect() {
  const TPoint a = PixelOf(FX - FWidth / 2, FY - FHeight / 2), b = PixelOf(FX + FWidth / 2, FY + FHeight / 2);
  return NormalizedRect(a.X, a.Y, b.X, b.Y);
}

void TiPlotAnnotation::SetCoordinate(double Value, double& Field) {
  if (Value == Field) return;
  Field = Value;
  CoordinatesChanged();
}

void TiPlotAnnotation::CoordinatesChanged() {
  DoChange();
  if (TiPlotComponent* plot = Plot()) plot->DoAnnotationCoordinatesChange(this, false);
}

bool TiPlotAnnotation::StoreCoordinates(double AX, double AY, double AX2, double AY2, double AWidth,
                                        double AHeight) {
  if (AX == FX && AY == FY && AX2 == FX2 && AY2 == FY2 && AWidth == FWidth && AHeight == FHeight)
    return false;
  FX = AX;
  FY = AY;
  FX2 = AX2;
  FY2 = AY2;
  FWidth = AWidth;
  FHeight = AHeight;
  FChanged = true;
  CoordinatesChanged();
  return true;
}

void TiPlotAnnotation::SetBoundsFromRect(const TRect& Rect) {
  const TPoint a{Rect.Left, Rect.Top}, b{Rect.Right, Rect.Bottom};
  const double x1 = PointToX(a), y1 = PointToY(a), x2 = PointToX(b), y2 = PointToY(b);
  if (FStyle == ipasEllipse)
    StoreCoordinates(x1, y1, x2, y2, FWidth, FHeight);
  else
    StoreCoordinates((x1 + x2) / 2, (y1 + y2) / 2, FX2, FY2, std::fabs(x2 - x1), std::fabs(y2 - y1));
}

void TiPlotAnnotation::NotifyObjectRemoved(TiPlotObject* Obj) {
  if (Obj && Obj == FChannel) FChannel = nullptr;
  if (Obj && Obj == FDataView) FDataView = nullptr;
}

void TiPlotAnnotation::NotifyObjectRenamed(TiPlotObject* Obj) {
  TiPlotComponent* plot = Plot();
  if (Obj && plot && PlotReferenceRenamed(Obj, FChannel, FChannelName, plot->FindChannel(Obj->GetName())))
    FChannelName = Obj->GetName();
}

void TiPlotAnnotation::NotifyObjectSelected(TiPlotObject* Obj) {
  if (Obj && Obj != this && Obj->GetSelected()) SetSelected(false);
}

// ============================================================================================
// drawing
// ============================================================================================

namespace {
bool PlotAnnotationMeets(const TRect& A, const TRect& B) {
  return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

TRect PlotAnnotationCut(const TRect& A, const TRect& B) {
  return TRect{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
               std::min(A.Bottom, B.Bottom)};
}

constexpr int32_t kAnnotationHorzFlags[] = {itfCenter, itfLeft, itfRight};   // by TiAlignmentHorizontal
constexpr int32_t kAnnotationVertFlags[] = {itfVCenter, itfTop, itfBottom};  // by TiAlignmentVertical
}  // namespace

bool TiPlotAnnotation::CanDraw() {
  const bool needsView = FReference != iprtChannel;
  const bool needsChannel = FReference != iprtDataView;
  if (needsView && !FDataView) return false;
  return !needsChannel || (ChannelAxis(true) && ChannelAxis(false));
}

bool TiPlotAnnotation::GetHandle(int32_t Index, TRect& Rect) const {
  if (!FHandlesValid || Index < 0 || Index > 3) return false;
  Rect = FHandles[Index];
  return true;
}

TRect TiPlotAnnotation::PlacedTextRect(TPoint P, int32_t W, int32_t H) const {
  int32_t left = P.X - W / 2, top = P.Y - H / 2;
  if (FTextHorzAlignment == iahLeft) left = P.X;
  if (FTextHorzAlignment == iahRight) left = P.X - W;
  if (FTextVertAlignment == iavTop) top = P.Y;
  if (FTextVertAlignment == iavBottom) top = P.Y - H;
  return TRect{left, top, left + W, top + H};
}

void TiPlotAnnotation::Draw(TCanvas* Canvas, TColor) {
  FDrawn = false;
  FHandlesValid = false;
  if (!GetVisible() || !CanDraw()) return;
  const TRect view = FDataView ? FDataView->GetLayoutRect() : TRect{};
  // The clip needs both of the channel's axes; without them it is skipped.
  TiPlotComponent* plot = Plot();
  const bool clip = FClipToAxes || (FReference == iprtChannel && plot && plot->GetClipAnnotationsToAxes());
  TiPlotAxis* xAxis = clip ? ChannelAxis(true) : nullptr;
  TiPlotAxis* yAxis = clip ? ChannelAxis(false) : nullptr;
  if (!xAxis || !yAxis) {
    DrawKind(Canvas, view);
    return;
  }
  // The region is kept and put back by hand: restoring a saved DC would also swap the pen and
  // brush under the canvas, which believes its own are still selected.
  HDC dc = Canvas->GetHandle();
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  const bool hadClip = GetClipRgn(dc, saved) == 1;
  const TRect r = OrientedRect(GetXYAxesReverse(), xAxis->MinPosition(), yAxis->MinPosition(),
                               xAxis->MaxPosition(), yAxis->MaxPosition());
  IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
  auto restore = [&] {
    SelectClipRgn(dc, hadClip ? saved : nullptr);
    DeleteObject(saved);
  };
  try {
    DrawKind(Canvas, view);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TiPlotAnnotation::DrawnShape(TCanvas* Canvas, const TRect& Rect, const TRect& View) {
  FDrawn = true;
  FDrawnRect = Rect;
  FHitRect = PlotAnnotationCut(Rect, View);
  const TPoint corners[4] = {
      {Rect.Left, Rect.Top}, {Rect.Right, Rect.Top}, {Rect.Left, Rect.Bottom}, {Rect.Right, Rect.Bottom}};
  for (int i = 0; i < 4; ++i)
    FHandles[i] = PlotAnnotationCut(
        TRect{corners[i].X - 3, corners[i].Y - 3, corners[i].X + 3, corners[i].Y + 3}, View);
  FHandlesValid = true;
  if (!GetSelected() || !FShowFocusRect) return;
  if (FPenStyle == psSolid) Canvas->GetBrush()->SetColor(FPenColor);
  for (const TRect& h : FHandles) InvertRect(Canvas->GetHandle(), &h);
}

void TiPlotAnnotation::DrawKind(TCanvas* Canvas, const TRect& View) {
  TPen* pen = Canvas->GetPen();
  TBrush* brush = Canvas->GetBrush();
  auto usePenAndBrush = [&] {
    pen->SetColor(FPenColor);
    pen->SetWidth(FPenWidth);
    pen->SetStyle(FPenStyle);
    brush->SetColor(FBrushColor);
    brush->SetStyle(FBrushStyle);
  };
  auto useFont = [&] {
    Canvas->GetFont()->Assign(FFont.get());
    brush->SetStyle(bsClear);
  };
  const bool reverse = GetXYAxesReverse();
  const TPoint p = PixelOf(FX, FY);
  switch (FStyle) {
    case ipasText:
    case ipasTextBox: {
      useFont();
      const int32_t w = Canvas->TextWidth(FText);
      TRect measure{0, 0, w, 0};
      const int32_t h = DrawTextFlags(Canvas, FText, measure, itfCalcRect | itfWordBreak);
      FDrawn = true;
      const int32_t m = FOuterMargin;
      if (FTextRotation != ira000) {
        const TRect at{p.X, p.Y, p.X, p.Y};
        TRect extent{};
        if (FStyle == ipasTextBox) {
          DrawRotatedText(Canvas, FText, at, extent, int32_t(FTextRotation));
          usePenAndBrush();
          Canvas->Rectangle(extent.Left - m - 3, extent.Top - m, extent.Right + m + 2, extent.Bottom + m);
          useFont();
        }
        DrawRotatedText(Canvas, FText, at, extent, int32_t(FTextRotation));
        FHitRect = PlotAnnotationCut(extent, View);
        break;
      }
      TRect text = PlacedTextRect(p, w, h);
      FHitRect = text;
      if (FStyle == ipasTextBox) {
        FHitRect = TRect{text.Left - m - 3, text.Top - m, text.Right + m + 2, text.Bottom + m};
        usePenAndBrush();
        Canvas->Rectangle(FHitRect);
        useFont();
      }
      DrawTextFlags(
          Canvas, FText, text,
          itfNoClip | kAnnotationHorzFlags[FTextHorzAlignment] | kAnnotationVertFlags[FTextVertAlignment]);
      break;
    }
    case ipasLine: {
      const TPoint q = PixelOf(FX2, FY2);
      TRect r = NormalizedRect(p.X, p.Y, q.X, q.Y);
      r = TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
      if (!PlotAnnotationMeets(r, View)) break;
      usePenAndBrush();
      Canvas->MoveTo(p.X, p.Y);
      Canvas->LineTo(q.X, q.Y);
      break;
    }
    case ipasRectangle:
    case ipasTextRectangle: {
      const TRect r = CentredRect();
      if (!PlotAnnotationMeets(r, View)) break;
      usePenAndBrush();
      Canvas->Rectangle(r);
      DrawnShape(Canvas, r, View);
      if (FStyle == ipasRectangle) break;
      useFont();
      TRect text = r;
      int32_t flags = itfNoClip | itfSingleLine;
      const int32_t horz = int32_t(Round(Canvas->TextWidth("A") * FTextHorzMargin));
      const int32_t vert = int32_t(Round(Canvas->TextHeight("A") * FTextVertMargin));
      flags |= kAnnotationHorzFlags[FTextHorzAlignment] | kAnnotationVertFlags[FTextVertAlignment];
      if (FTextHorzAlignment == iahLeft) text.Left += horz;
      if (FTextHorzAlignment == iahRight) text.Right -= horz;
      if (FTextVertAlignment == iavTop) text.Top += vert;
      if (FTextVertAlignment == iavBottom) text.Bottom -= vert;
      DrawTextFlags(Canvas, FText, text, flags);
      break;
    }
    case ipasLineX:
    case ipasLineY: {
      const bool x = FStyle == ipasLineX;
      const int32_t at = x ? XToPixel(FX) : YToPixel(FY);
      const int32_t from = x ? DataViewTop() : DataViewLeft(), to = x ? DataViewBottom() : DataViewRight();
      const TPoint a = x ? XYPoint(reverse, at, from) : XYPoint(reverse, from, at);
      const TPoint b = x ? XYPoint(reverse, at, to) : XYPoint(reverse, to, at);
      TRect r = NormalizedRect(a.X, a.Y, b.X, b.Y);
      r = TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
      if (!PlotAnnotationMeets(r, View)) break;
      usePenAndBrush();
      Canvas->MoveTo(a.X, a.Y);
      Canvas->LineTo(b.X, b.Y);
      FDrawn = true;
      FHitRect = x ? OrientedRect(reverse, at - 5, from, at + 5, to)
                   : OrientedRect(reverse, from, at - 5, to, at + 5);
      break;
    }
    case ipasImage: {
      TiPlotComponent* plot = Plot();
      const int32_t listIndex = FImageListIndex == 0 || FImageListIndex == 1 ? FImageListIndex : 2;
      TCustomImageList* list = plot ? plot->ImageList(listIndex) : nullptr;
      if (!list) break;
      const int32_t left = p.X - list->GetWidth() / 2, top = p.Y - list->GetHeight() / 2;
      const TRect r{left, top, left + list->GetWidth(), top + list->GetHeight()};
      if (!PlotAnnotationMeets(r, View)) break;
      FDrawn = true;
      FHitRect = r;
      if (FImageIndex >= 0 && FImageIndex < list->Count())
        list->Draw(Canvas, left, top, FImageIndex, GetEnabled());
      break;
    }
    case ipasEllipse: {
      const TPoint q = PixelOf(FX2, FY2);
      const TRect r = NormalizedRect(p.X, p.Y, q.X, q.Y);
      if (!PlotAnnotationMeets(r, View)) break;
      usePenAndBrush();
      Canvas->Ellipse(r);
      DrawnShape(Canvas, r, View);
      break;
    }
  }
}

// ============================================================================================
// mouse
// ============================================================================================

int32_t TiPlotAnnotation::HandleAt(TPoint P) const {
  if (!FHandlesValid) return -1;
  for (int i = 0; i < 4; ++i)
    if (FHandles[i].Contains(P)) return i;
  return -1;
}

bool TiPlotAnnotation::HitTest(const TiMouseRecord& MouseRecord) {
  const TiPlotComponent* plot = Plot();
  if (!FDrawn || !plot || !plot->SelectMode()) return false;
  const TPoint p{MouseRecord.X, MouseRecord.Y};
  return FHitRect.Contains(p) || HandleAt(p) >= 0;
}

TCursor TiPlotAnnotation::GetCursor(const TiMouseRecord& MouseRecord) {
  if (CanSize() && GetSelected()) {
    const int32_t h = HandleAt(TPoint{MouseRecord.X, MouseRecord.Y});
    if (h == 0 || h == 3) return crSizeNWSE;
    if (h == 1 || h == 2) return crSizeNESW;
  }
  return crHandPoint;
}

void TiPlotAnnotation::LeftDown(const TiMouseRecord& MouseRecord) {
  if (!FDrawn) return;
  const TPoint p{MouseRecord.X, MouseRecord.Y};
  FGrabMode = 0;
  if (CanSize()) {
    // Handle order 0..3 is top-left, top-right, bottom-left, bottom-right; top-left wins, then
    // bottom-right, where small rectangles overlap them.
    for (int32_t h : {0, 3, 1, 2})
      if (FHandles[h].Contains(p) && FHandlesValid) {
        FGrabMode = h + 2;
        break;
      }
  }
  if (FGrabMode == 0 && FUserCanMove) FGrabMode = 1;
  FPressed = true;
  FChanged = false;
  FPress = TPressState{FX, FY, FX2, FY2, FWidth, FHeight, p, PixelOf(FX, FY), FDrawnRect};
}

void TiPlotAnnotation::LeftDrag(const TiMouseRecord& MouseRecord) {
  if (!GetSelected() || !FPressed) return;
  const TPoint p{MouseRecord.X, MouseRecord.Y};
  const int32_t dx = p.X - FPress.Point.X, dy = p.Y - FPress.Point.Y;
  TRect r = FPress.Rect;
  switch (FGrabMode) {
    case 1:
      if (FStyle == ipasRectangle) {
        SetBoundsFromRect(TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy});
      } else if (FStyle == ipasEllipse) {
        const double ddx = PointToX(p) - PointToX(FPress.Point), ddy = PointToY(p) - PointToY(FPress.Point);
        StoreCoordinates(FPress.X + ddx, FPress.Y + ddy, FPress.X2 + ddx, FPress.Y2 + ddy, FWidth, FHeight);
      } else {
        const TPoint a{FPress.Anchor.X + dx, FPress.Anchor.Y + dy};
        StoreCoordinates(PointToX(a), PointToY(a), FX2, FY2, FWidth, FHeight);
      }
      break;
    case 2:
    case 3:
    case 4:
    case 5:
      if (FGrabMode == 2 || FGrabMode == 4) r.Left += dx;
      if (FGrabMode == 3 || FGrabMode == 5) r.Right += dx;
      if (FGrabMode == 2 || FGrabMode == 3) r.Top += dy;
      if (FGrabMode == 4 || FGrabMode == 5) r.Bottom += dy;
      SetBoundsFromRect(r);
      break;
    default:
      DoChange();
      break;
  }
}

void TiPlotAnnotation::LeftUp(const TiMouseRecord& MouseRecord) {
  if (FPressed) {
    FPressed = false;
    if (FHitRect.Contains(TPoint{MouseRecord.X, MouseRecord.Y}) && FDrawn)
      if (TiPlotObjectHost* host = GetOwnerHost()) host->DoObjectClick(this);
    if (FChanged)
      if (TiPlotComponent* plot = Plot()) plot->DoAnnotationCoordinatesChange(this, true);
    FChanged = false;
  }
  FGrabMode = 0;
}
