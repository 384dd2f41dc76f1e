// The Compact point list: X and Y as single-precision floats, 8 bytes a point.  Values are rounded
// to single precision when stored; points are never Null or Empty.
#pragma once

#include "plot/iPlotDataCustomList.h"

struct TiPlotCompactElement {
  float X;
  float Y;
};
static_assert(sizeof(TiPlotCompactElement) == 8);

// A double rounded to single precision; finite values beyond the single range end at its limits.
float iPlotToSingle(double Value);

template <>
struct TiPlotElementTraits<TiPlotCompactElement> {
  static constexpr bool kHasX = true;
  static double X(const TiPlotCompactElement& E) { return E.X; }
  static double Y(const TiPlotCompactElement& E) { return E.Y; }
  static bool Plain(const TiPlotCompactElement& E) { return std::isfinite(E.Y); }
};

class TiPlotDataCompactList : public TiPlotDataBufferList<TiPlotCompactElement> {
 public:
  double GetX(int32_t Index) override { return At(Index).X; }
  double GetY(int32_t Index) override { return At(Index).Y; }
  void SetX(int32_t Index, double Value) override {
    ChangeX(Index, Value, [](TiPlotCompactElement& E, double V) { E.X = iPlotToSingle(V); });
  }
  void SetY(int32_t Index, double Value) override { Change(Index).Y = iPlotToSingle(Value); }

  int32_t AddPoint(double X, double Y) override;
  void RemoveFirst(int32_t N) override;
  void GetPoint(int32_t Index, double& X, bool& Null, bool& Empty, double& Y) override;
};
