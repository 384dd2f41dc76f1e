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
  void SetChannelName(const AnsiString& Value) {
    SetStringField(Value, FChannelName, &TiPlotObject::DoChange);
  }
  double GetX() const { return FX; }
  void SetX(double Value) { SetDoubleField(Value, FX, &TiPlotObject::DoChange); }
  double GetY() const { return FY; }
  void SetY(double Value) { SetDoubleField(Value, FY, &TiPlotObject::DoChange); }
  double GetX2() const { return FX2; }
  void SetX2(double Value) { SetDoubleField(Value, FX2, &TiPlotObject::DoChange); }
  double GetY2() const { return FY2; }
  void SetY2(double Value) { SetDoubleField(Value, FY2, &TiPlotObject::DoChange); }
  double GetWidth() const { return FWidth; }
  void SetWidth(double Value) { SetDoubleField(Value, FWidth, &TiPlotObject::DoChange); }
  double GetHeight() const { return FHeight; }
  void SetHeight(double Value) { SetDoubleField(Value, FHeight, &TiPlotObject::DoChange); }
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

 private:
  void FontChanged(TObject*) { DoChange(); }
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
};
