#include "plot/iPlotDataFullList.h"

int32_t TiPlotDataFullList::AddPoint(double X, double Y) {
  TiPlotFullElement e{X, Y, false, false, 0, 0, 0, 0, ListLevel};
  e.Attributes.MarkersCharacter = 0;
  return Store(e);
}

void TiPlotDataFullList::RemoveFirst(int32_t N) {
  if (N < 0 || N >= FCount) RaiseDeleteSize("Delete Size Out Of Range");
  DropFirst(N);
}

void TiPlotDataFullList::GetPoint(int32_t Index, double& X, bool& Null, bool& Empty, double& Y) {
  const TiPlotFullElement& e = At(Index);
  X = e.X;
  Y = e.Y;
  Null = e.Null;
  Empty = e.Empty;
}
