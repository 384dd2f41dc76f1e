// An annotation: a text, line, rectangle, ellipse or image placed in the data view by percent or
// by a channel's axes.  This unit holds its published settings; drawing, coordinate conversion and
// dragging join it with the annotation's own behaviour.
#pragma once

#include <memory>

#include "platform/runtime/TypInfo.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotObjects.h"
#include "widgets/iTypes.h"

class TiPlotDataView;
class TiPlotChannelCustom;

enum TiPlotAnnotationStyle : uint8_t {
  ipasText,
  ipasLine,
  ipasRectangle,
  ipasLineX,
  ipasLineY,
  ipasImage,
  ipasTextRectangle,
  ipasEllipse,
  ipasTextBox
};
template <>
const EnumNames& EnumNamesOf<TiPlotAnnotationStyle>();
enum TiPlotReferenceType : uint8_t {
  iprtDataView,
  iprtChannel,
  iprtXChannelYDataView,
  iprtXDataViewYChannel
};
template <>
const EnumNames& EnumNamesOf<TiPlotReferenceType>();

class TiPlotAnnotation : public TiPlotObject {
  PL_CLASS(TiPlotAnnotation)
 public:
  TiPlotAnnotation(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                   const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  ~TiPlotAnnotation() override;

  TiPlotAnnotationStyle GetStyle() const { return FStyle; }
  void SetStyle(TiPlotAnnotationStyle Value) { SetEnumField(Value, FStyle, &TiPlotObject::DoChange); }
  TiPlotReferenceType GetReference() const { return FReference; }
  void SetReference(TiPlotReferenceType Value) { SetEnumField(Value, FReference, &TiPlotObject::DoChange); }
  const AnsiString& GetChannelName() const { return FChannelName; }
  void SetChannelName(const AnsiString& Value);
  double GetX() const { return FX; }
  void SetX(double Value) { SetCoordinate(Value, FX); }
  double GetY() const { return FY; }
  void SetY(double Value) { SetCoordinate(Value, FY); }
  double GetX2() const { return FX2; }
  void SetX2(double Value) { SetCoordinate(Value, FX2); }
  double GetY2() const { return FY2; }
  void SetY2(double Value) { SetCoordinate(Value, FY2); }
  double GetWidth() const { return FWidth; }
  void SetWidth(double Value) { SetCoordinate(Value, FWidth); }
  double GetHeight() const { return FHeight; }
  void SetHeight(double Value) { SetCoordinate(Value, FHeight); }
  TColor GetPenColor() const { return FPenColor; }
  void SetPenColor(TColor Value) { SetIntField(Value, FPenColor, &TiPlotObject::DoChange); }
  TPenStyle GetPenStyle() const { return FPenStyle; }
  void SetPenStyle(TPenStyle Value) { SetEnumField(Value, FPenStyle, &TiPlotObject::DoChange); }
  int32_t GetPenWidth() const { return FPenWidth; }
  void SetPenWidth(int32_t Value) { SetIntField(Value, FPenWidth, &TiPlotObject::DoChange); }
  TColor GetBrushColor() const { return FBrushColor; }
  void SetBrushColor(TColor Value) { SetIntField(Value, FBrushColor, &TiPlotObject::DoChange); }
  TBrushStyle GetBrushStyle() const { return FBrushStyle; }
  void SetBrushStyle(TBrushStyle Value) { SetEnumField(Value, FBrushStyle, &TiPlotObject::DoChange); }
  const AnsiString& GetText() const { return FText; }
  void SetText(const AnsiString& Value) { SetStringField(Value, FText, &TiPlotObject::DoChange); }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TiRotationAngle GetTextRotation() const { return FTextRotation; }
  void SetTextRotation(TiRotationAngle Value) { SetEnumField(Value, FTextRotation, &TiPlotObject::DoChange); }
  TiAlignmentHorizontal GetTextHorzAlignment() const { return FTextHorzAlignment; }
  void SetTextHorzAlignment(TiAlignmentHorizontal Value) {
    SetEnumField(Value, FTextHorzAlignment, &TiPlotObject::DoChange);
  }
  TiAlignmentVertical GetTextVertAlignment() const { return FTextVertAlignment; }
  void SetTextVertAlignment(TiAlignmentVertical Value) {
    SetEnumField(Value, FTextVertAlignment, &TiPlotObject::DoChange);
  }
  double GetTextHorzMargin() const { return FTextHorzMargin; }
  void SetTextHorzMargin(double Value) { SetDoubleField(Value, FTextHorzMargin, &TiPlotObject::DoChange); }
  double GetTextVertMargin() const { return FTextVertMargin; }
  void SetTextVertMargin(double Value) { SetDoubleField(Value, FTextVertMargin, &TiPlotObject::DoChange); }
  int32_t GetOuterMargin() const { return FOuterMargin; }
  void SetOuterMargin(int32_t Value) { SetIntField(Value, FOuterMargin, &TiPlotObject::DoChange); }
  int32_t GetImageListIndex() const { return FImageListIndex; }
  void SetImageListIndex(int32_t Value) { SetIntField(Value, FImageListIndex, &TiPlotObject::DoChange); }
  int32_t GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int32_t Value) { SetIntField(Value, FImageIndex, &TiPlotObject::DoChange); }
  bool GetUserCanMove() const { return FUserCanMove; }
  void SetUserCanMove(bool Value) { SetBoolField(Value, FUserCanMove, &TiPlotObject::DoChange); }
  bool GetUserCanSize() const { return FUserCanSize; }
  void SetUserCanSize(bool Value) { SetBoolField(Value, FUserCanSize, &TiPlotObject::DoChange); }
  bool GetClipToAxes() const { return FClipToAxes; }
  void SetClipToAxes(bool Value) { SetBoolField(Value, FClipToAxes, &TiPlotObject::DoChange); }
  bool GetShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool Value) { SetBoolField(Value, FShowFocusRect, &TiPlotObject::DoChange); }

  // The data view percent coordinates refer to (the plot gives it data view 0 before each paint).
  TiPlotDataView* GetDataView() const { return FDataView; }
  void SetDataView(TiPlotDataView* Value) { FDataView = Value; }

  // ============================================================================================
  // behaviour: coordinates, drawing, hit test, moving and sizing
  // ============================================================================================

  // The channel named by ChannelName, looked up once; nullptr when none has the name.
  TiPlotChannelCustom* Channel();
  bool CanMove() const { return FUserCanMove; }
  // Only the rectangle kinds have corners to pull.
  bool CanSize() const;
  // The data view's edges in the frame of X and Y (exchanged with XYAxesReverse); 0 without one.
  int32_t DataViewLeft() const { return DataViewEdge(true, false); }
  int32_t DataViewRight() const { return DataViewEdge(true, true); }
  int32_t DataViewTop() const { return DataViewEdge(false, false); }
  int32_t DataViewBottom() const { return DataViewEdge(false, true); }
  // Coordinates and pixels along the X or the Y direction of the annotation (the screen's
  // vertical for X with XYAxesReverse); 0 when the channel, its axis or the data view is missing.
  int32_t XToPixel(double Value) { return ToPixel(true, Value); }
  int32_t YToPixel(double Value) { return ToPixel(false, Value); }
  double PixelToX(int32_t Pixel) { return FromPixel(true, Pixel); }
  double PixelToY(int32_t Pixel) { return FromPixel(false, Pixel); }
  double PointToX(TPoint Point);
  double PointToY(TPoint Point);
  // Takes position and size (the ellipse: its corners) from a rectangle in client pixels.
  void SetBoundsFromRect(const TRect& Rect);

  // What the last paint left: drawn in a hittable form, the hit area, the rectangle kinds' drawn
  // rectangle and corner handles (top-left, top-right, bottom-left, bottom-right).
  bool GetDrawn() const { return FDrawn; }
  const TRect& GetHitRect() const { return FHitRect; }
  const TRect& GetDrawnRect() const { return FDrawnRect; }
  bool GetHandle(int32_t Index, TRect& Rect) const;

  void NotifyObjectRemoved(TiPlotObject* Obj) override;
  void NotifyObjectRenamed(TiPlotObject* Obj) override;
  void NotifyObjectSelected(TiPlotObject* Obj) override;
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  bool HitTest(const TiMouseRecord& MouseRecord) override;
  void LeftDown(const TiMouseRecord& MouseRecord) override;
  void LeftDrag(const TiMouseRecord& MouseRecord) override;
  void LeftUp(const TiMouseRecord& MouseRecord) override;
  TCursor GetCursor(const TiMouseRecord& MouseRecord) override;

 private:
  void FontChanged(TObject*) { DoChange(); }
  bool XOnChannel() const { return FReference == iprtChannel || FReference == iprtXChannelYDataView; }
  bool YOnChannel() const { return FReference == iprtChannel || FReference == iprtXDataViewYChannel; }
  TiPlotAxis* ChannelAxis(bool X);
  // Stores a changed coordinate property: the change notification, then the coordinates event.
  void SetCoordinate(double Value, double& Field);
  void CoordinatesChanged();
  // Across: the left and right edges in the annotation's frame; Far: right or bottom.
  int32_t DataViewEdge(bool Across, bool Far) const;
  int32_t ToPixel(bool X, double Value);
  double FromPixel(bool X, int32_t Pixel);
  bool CanDraw();
  TPoint PixelOf(double AX, double AY);
  TRect CentredRect();
  void DrawKind(TCanvas* Canvas, const TRect& View);
  // The rectangle kinds' outline: remembers it, its hit area and its handles; inverts the handles
  // while selected.
  void DrawnShape(TCanvas* Canvas, const TRect& Rect, const TRect& View);
  TRect PlacedTextRect(TPoint P, int32_t W, int32_t H) const;
  // Stores changed coordinates: the changed flag, the change notification and the event; false
  // when nothing differs.
  bool StoreCoordinates(double AX, double AY, double AX2, double AY2, double AWidth, double AHeight);
  int32_t HandleAt(TPoint P) const;
  TiPlotAnnotationStyle FStyle = ipasText;
  TiPlotReferenceType FReference = iprtDataView;
  AnsiString FChannelName = "";
  double FX = 0;
  double FY = 0;
  double FX2 = 0;
  double FY2 = 0;
  double FWidth = 0;
  double FHeight = 0;
  TColor FPenColor = 0xFFFFFF;
  TPenStyle FPenStyle = psSolid;
  int32_t FPenWidth = 0;
  TColor FBrushColor = 0xFFFFFF;
  TBrushStyle FBrushStyle = bsSolid;
  AnsiString FText = "";
  std::unique_ptr<TFont> FFont;
  TiRotationAngle FTextRotation = ira000;
  TiAlignmentHorizontal FTextHorzAlignment = iahCenter;
  TiAlignmentVertical FTextVertAlignment = iavCenter;
  double FTextHorzMargin = 1.0;
  double FTextVertMargin = 1.0;
  int32_t FOuterMargin = 0;
  int32_t FImageListIndex = 0;
  int32_t FImageIndex = 0;
  bool FUserCanMove = false;
  bool FUserCanSize = false;
  bool FClipToAxes = false;
  bool FShowFocusRect = true;
  TiPlotDataView* FDataView = nullptr;

  TiPlotChannelCustom* FChannel = nullptr;
  bool FDrawn = false;
  TRect FHitRect{};
  TRect FDrawnRect{};
  bool FHandlesValid = false;
  TRect FHandles[4]{};
  int32_t FGrabMode = 0;  // 0 none, 1 move, 2 top-left, 3 top-right, 4 bottom-left, 5 bottom-right
  bool FPressed = false;
  bool FChanged = false;
  struct TPressState {
    double X = 0, Y = 0, X2 = 0, Y2 = 0, Width = 0, Height = 0;
    TPoint Point{}, Anchor{};
    TRect Rect{};
  } FPress;
};
