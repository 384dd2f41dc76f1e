// The Compact Interval point list: only Y, as a single-precision float, 4 bytes a point.  X is
// computed: the first point's X plus the index times the step between the first two points; later
// X values are ignored.
#pragma once

#include "plot/iPlotDataCustomList.h"

// The element is Y alone.
template <>
struct TiPlotElementTraits<float> {
  static constexpr bool kHasX = false;
  static double Y(float E) { return E; }
  static bool Plain(float E) { return std::isfinite(E); }
};

class TiPlotDataCompactIntervalList : public TiPlotDataBufferList<float> {
 public:
  // Any index gives a value: X follows from the first X and the step alone.
  double GetX(int32_t Index) override { return FFirstX + Index * FInterval; }
  double GetY(int32_t Index) override { return At(Index); }
  // Only the first point's X can be set: it moves every X.
  void SetX(int32_t Index, double Value) override;
  void SetY(int32_t Index, double Value) override;

  int32_t AddPoint(double X, double Y) override;
  void ClearPoints() override;
  // Accepts N = Count, which empties the list.
  void RemoveFirst(int32_t N) override;
  void GetPoint(int32_t Index, double& X, bool& Null, bool& Empty, double& Y) override;
  // X steps evenly: ascending with a step of at least 0 and finite ends.
  bool XAscending() override;

  // -1: the step is not known yet.
  double GetInterval() const { return FInterval; }
  double GetFirstX() const { return FFirstX; }

 private:
  double FInterval = -1.0;
  double FFirstX = 0;
};
