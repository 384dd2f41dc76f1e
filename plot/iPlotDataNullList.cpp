#include "plot/iPlotDataNullList.h"

TiPlotMarkerStyle TiPlotDataNullList::GetMarkersStyle(int32_t Index) {
  const int32_t style = (At(Index).Flags & kStyleMask) >> kStyleShift;
  return style <= ipmsCharacter ? TiPlotMarkerStyle(style) : ipmsCircle;
}

void TiPlotDataNullList::SetMarkersStyle(int32_t Index, TiPlotMarkerStyle Value) {
  TiPlotNullElement& e = At(Index);
  e.Flags = uint16_t((e.Flags & ~kStyleMask) | ((Value & 15) << kStyleShift));
}

void TiPlotDataNullList::SetFlag(int32_t Index, uint16_t Bit, bool Value) {
  TiPlotNullElement& e = Change(Index);
  e.Flags = uint16_t(Value ? e.Flags | Bit : e.Flags & ~Bit);
}

int32_t TiPlotDataNullList::AddPoint(double X, double Y) {
  uint16_t flags = uint16_t((ListLevel.MarkersStyle & 15) << kStyleShift);
  if (ListLevel.MarkersVisible) flags |= kMarkersVisible;
  return Store(TiPlotNullElement{X, Y, flags});
}

void TiPlotDataNullList::RemoveFirst(int32_t N) {
  if (N < 0 || N >= FCount) RaiseDeleteSize("Delete size out of Range");
  DropFirst(N);
}

void TiPlotDataNullList::GetPoint(int32_t Index, double& X, bool& Null, bool& Empty, double& Y) {
  const TiPlotNullElement& e = At(Index);
  X = e.X;
  Y = e.Y;
  Null = (e.Flags & kNull) != 0;
  Empty = (e.Flags & kEmpty) != 0;
}
