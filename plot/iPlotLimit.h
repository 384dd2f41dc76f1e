// A limit marks a value or a range in the data view: a line at one value, a band between two, or a
// band whose edges follow points.  This unit holds its published settings and its paint group;
// its drawing and dragging join it with the limit's own behaviour.
#pragma once

#include <memory>

#include "platform/runtime/TypInfo.h"
#include "platform/ui/Graphics.h"
#include "plot/iPlotObjects.h"

enum TiPlotLimitStyle : uint8_t { iplsLineX, iplsLineY, iplsBandX, iplsBandY, iplsPolyBandX, iplsPolyBandY };
template <>
const EnumNames& EnumNamesOf<TiPlotLimitStyle>();

class TiPlotLimit : public TiPlotObject {
  PL_CLASS(TiPlotLimit)
 public:
  TiPlotLimit(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
              const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);

  TiPlotLimitStyle GetStyle() const { return FStyle; }
  void SetStyle(TiPlotLimitStyle Value) { SetEnumField(Value, FStyle, &TiPlotObject::DoChange); }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value) { SetIntField(Value, FColor, &TiPlotObject::DoChange); }
  TPenStyle GetLineStyle() const { return FLineStyle; }
  void SetLineStyle(TPenStyle Value) { SetEnumField(Value, FLineStyle, &TiPlotObject::DoChange); }
  int32_t GetLineWidth() const { return FLineWidth; }
  void SetLineWidth(int32_t Value) { SetIntField(Value, FLineWidth, &TiPlotObject::DoChange); }
  TBrushStyle GetFillStyle() const { return FFillStyle; }
  void SetFillStyle(TBrushStyle Value) { SetEnumField(Value, FFillStyle, &TiPlotObject::DoChange); }
  const AnsiString& GetXAxisName() const { return FXAxisName; }
  void SetXAxisName(const AnsiString& Value) { SetStringField(Value, FXAxisName, &TiPlotObject::DoChange); }
  const AnsiString& GetYAxisName() const { return FYAxisName; }
  void SetYAxisName(const AnsiString& Value) { SetStringField(Value, FYAxisName, &TiPlotObject::DoChange); }
  double GetLine1Position() const { return FLine1Position; }
  void SetLine1Position(double Value) { SetDoubleField(Value, FLine1Position, &TiPlotObject::DoChange); }
  double GetLine2Position() const { return FLine2Position; }
  void SetLine2Position(double Value) { SetDoubleField(Value, FLine2Position, &TiPlotObject::DoChange); }
  bool GetUserCanMove() const { return FUserCanMove; }
  void SetUserCanMove(bool Value) { SetBoolField(Value, FUserCanMove, &TiPlotObject::DoChange); }

  // Filled bands and poly bands are painted behind the data view's contents, the rest in front.
  bool DrawsBehind() const;

 private:
  TiPlotLimitStyle FStyle = iplsLineY;
  TColor FColor = 0x0000FF;
  TPenStyle FLineStyle = psSolid;
  int32_t FLineWidth = 0;
  TBrushStyle FFillStyle = bsSolid;
  AnsiString FXAxisName = "";
  AnsiString FYAxisName = "";
  double FLine1Position = 50;
  double FLine2Position = 50;
  bool FUserCanMove = false;
};
