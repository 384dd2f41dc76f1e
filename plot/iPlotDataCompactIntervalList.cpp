#include "plot/iPlotDataCompactIntervalList.h"

#include "plot/iPlotDataCompactList.h"

void TiPlotDataCompactIntervalList::SetX(int32_t Index, double Value) {
  if (Index != 0 || FCount == 0)
    throw Exception(
        "Data Style does not support setting individual X-Value with the exception of the first X-Value");
  FFirstX = Value;
}

void TiPlotDataCompactIntervalList::SetY(int32_t Index, double Value) {
  Change(Index) = iPlotToSingle(Value);
}

int32_t TiPlotDataCompactIntervalList::AddPoint(double X, double Y) {
  if (FCount == 0) {
    FFirstX = X;
  } else if (FCount == 1 && FInterval == -1.0) {
    FInterval = X - FFirstX;
  }
  const bool overwrites = FRingMode && FCapacity > 0 && FCount == FCapacity;
  const int32_t result = Store(iPlotToSingle(Y));
  // The oldest point went: the new point 0 is one step further on.
  if (overwrites && FCount > 1) FFirstX += FInterval;
  return result;
}

void TiPlotDataCompactIntervalList::ClearPoints() {
  TiPlotDataCustomList::ClearPoints();
  FInterval = -1.0;
}

void TiPlotDataCompactIntervalList::RemoveFirst(int32_t N) {
  if (N < 0 || N > FCount) RaiseDeleteSize("Delete size out of Range");
  FFirstX = GetX(N);
  DropFirst(N);
}

void TiPlotDataCompactIntervalList::GetPoint(int32_t Index, double& X, bool& Null, bool& Empty, double& Y) {
  Y = At(Index);
  X = GetX(Index);
  Null = false;
  Empty = false;
}

bool TiPlotDataCompactIntervalList::XAscending() {
  // Before the second point the step is unknown: one point is a run of its own.
  if (FCount < 2) return true;
  return FInterval >= 0 && std::isfinite(GetX(0)) && std::isfinite(GetX(FCount - 1));
}
