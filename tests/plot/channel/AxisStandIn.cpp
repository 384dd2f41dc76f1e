// The axis operations the channels use, answered by the stand-in axis of ChannelTestSupport.h.
#include <cmath>

#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "tests/plot/channel/ChannelTestSupport.h"

namespace iPlotChannelAxes {
void TrackValue(TiPlotAxis* Axis, double Value) { Axis->Tracked.push_back(Value); }
double PositionToValue(TiPlotAxis* Axis, double Position) {
  return Axis->Min + (Position - Axis->P0) / (Axis->P1 - Axis->P0) * Axis->Span;
}
int32_t ValueToPosition(TiPlotAxis* Axis, double Value) {
  return int32_t(Round(Axis->P0 + (Value - Axis->Min) / Axis->Span * (Axis->P1 - Axis->P0)));
}
bool IsValueVisible(TiPlotAxis* Axis, double Value) {
  return Value >= Axis->Min && Value <= Axis->Min + Axis->Span;
}
double Min(TiPlotAxis* Axis) { return Axis->Min; }
double Max(TiPlotAxis* Axis) { return Axis->Min + Axis->Span; }
int32_t PixelFirst(TiPlotAxis* Axis) { return std::min(Axis->P0, Axis->P1); }
int32_t PixelLast(TiPlotAxis* Axis) { return std::max(Axis->P0, Axis->P1); }
double CursorScaler(TiPlotAxis* Axis) { return Axis->CursorScaler; }
AnsiString CursorText(TiPlotAxis* Axis, double Value) { return Axis->Name + ":" + FloatToStr(Value); }
AnsiString CursorValueText(TiPlotAxis*, double Value) { return FloatToStr(Value); }
const AnsiString& Name(TiPlotAxis* Axis) { return Axis->Name; }
TiPlotObject* AsObject(TiPlotAxis* Axis) { return Axis->Object; }
}  // namespace iPlotChannelAxes
