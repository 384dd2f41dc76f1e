// A limit marks a value or a range in the data view: a line at one value, a band between two, or a
// band whose edges follow points.  This unit holds its published settings and its paint group;
// its drawing and dragging join it with the limit's own behaviour.
#pragma once

#include <memory>

#include "platform/runtime/TypInfo.h"
#include "platform/ui/Graphics.h"
#include "plot/iPlotObjects.h"
#include "widgets/iClasses.h"

class TiPlotAxis;

enum TiPlotLimitStyle : uint8_t { iplsLineX, iplsLineY, iplsBandX, iplsBandY, iplsPolyBandX, iplsPolyBandY };
template <>
const EnumNames& EnumNamesOf<TiPlotLimitStyle>();

class TiPlotLimit : public TiPlotObject {
  PL_CLASS(TiPlotLimit)
 public:
  TiPlotLimit(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
              const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  ~TiPlotLimit() override;

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
  void SetXAxisName(const AnsiString& Value);
  const AnsiString& GetYAxisName() const { return FYAxisName; }
  void SetYAxisName(const AnsiString& Value);
  double GetLine1Position() const { return FLine1Position; }
  void SetLine1Position(double Value) { SetLinePosition(1, Value, FLine1Position); }
  double GetLine2Position() const { return FLine2Position; }
  void SetLine2Position(double Value) { SetLinePosition(2, Value, FLine2Position); }
  bool GetUserCanMove() const { return FUserCanMove; }
  void SetUserCanMove(bool Value) { SetBoolField(Value, FUserCanMove, &TiPlotObject::DoChange); }

  // Filled bands and poly bands are painted behind the data view's contents, the rest in front.
  bool DrawsBehind() const;

  // ============================================================================================
  // behaviour: axes, drawing, hit test and dragging
  // ============================================================================================

  // The axes named by XAxisName and YAxisName, looked up once; nullptr when no axis has the name.
  TiPlotAxis* XAxis();
  TiPlotAxis* YAxis();
  // Values of X styles lie on the X axis, of the others on the Y axis.
  bool IsYStyle() const;
  // The points of a poly band; kept ascending by position.
  TiLimitDataList* DataList() const { return FDataList.get(); }
  void AddPolyBandPoint(double Position, double Line1, double Line2) {
    FDataList->Add(Position, Line1, Line2);
  }
  // The grab band of line 1 or 2 (client pixels) from the last paint; false when it has none.
  bool GrabBand(int32_t Line, TRect& Rect) const;

  void NotifyObjectRemoved(TiPlotObject* Obj) override;
  void NotifyObjectRenamed(TiPlotObject* Obj) override;
  void NotifyObjectSelected(TiPlotObject* Obj) override;
  void Draw(TCanvas* Canvas, TColor BackGroundColor) override;
  bool HitTest(const TiMouseRecord& MouseRecord) override;
  void LeftDown(const TiMouseRecord& MouseRecord) override;
  void LeftDrag(const TiMouseRecord& MouseRecord) override;
  void LeftUp(const TiMouseRecord& MouseRecord) override;
  TCursor GetCursor(const TiMouseRecord& MouseRecord) override;
  void BuildPopupMenu(TPopupMenu* PopupMenu) override;

 private:
  void SetLinePosition(int32_t Line, double Value, double& Field);
  bool UserMayDrag() const;
  void DrawLine(TCanvas* Canvas, TiPlotAxis* Along, TiPlotAxis* Across);
  void DrawBand(TCanvas* Canvas, TiPlotAxis* Along, TiPlotAxis* Across);
  void DrawPolyBand(TCanvas* Canvas, TiPlotAxis* Along, TiPlotAxis* Across);
  // A grab band 10 pixels wide around the pixel At of the value axis, across the other axis.
  TRect GrabRect(int32_t At, TiPlotAxis* Across) const;

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

  TiPlotAxis* FXAxis = nullptr;
  TiPlotAxis* FYAxis = nullptr;
  std::unique_ptr<TiLimitDataList> FDataList;
  TRect FGrab[2]{};
  bool FGrabValid[2]{false, false};
  int32_t FDragLine = 0;  // 0 none, else 1 or 2
  int32_t FDragStart = 0;
  double FDragStartValue = 0;
};
