#include "plot/iPlotDataCompactList.h"

#include <cfloat>
#include <cmath>

float iPlotToSingle(double Value) {
  // The conversion of a double beyond the single range is not defined in C++; such a value keeps
  // its sign at the end of the range rather than turning into an infinity no axis can show.
  if (Value > FLT_MAX) return std::isinf(Value) ? INFINITY : FLT_MAX;
  if (Value < -FLT_MAX) return std::isinf(Value) ? -INFINITY : -FLT_MAX;
  return float(Value);
}

int32_t TiPlotDataCompactList::AddPoint(double X, double Y) {
  return Store(TiPlotCompactElement{iPlotToSingle(X), iPlotToSingle(Y)});
}

void TiPlotDataCompactList::RemoveFirst(int32_t N) {
  if (N < 0 || N >= FCount) RaiseDeleteSize("Delete size out of Range");
  DropFirst(N);
}

void TiPlotDataCompactList::GetPoint(int32_t Index, double& X, bool& Null, bool& Empty, double& Y) {
  const TiPlotCompactElement& e = At(Index);
  X = e.X;
  Y = e.Y;
  Null = false;
  Empty = false;
}
