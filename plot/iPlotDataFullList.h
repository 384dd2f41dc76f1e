// The Full Feature point list: X, Y, Null, Empty, high/low/open/close and every appearance value
// per point, 136 bytes a point.
#pragma once

#include "plot/iPlotDataCustomList.h"

struct TiPlotFullElement {
  double X;
  double Y;
  bool Null;
  bool Empty;
  double High;
  double Low;
  double Open;
  double Close;
  TiPlotPointAttributes Attributes;
};
static_assert(sizeof(TiPlotFullElement) == 136);

template <>
struct TiPlotElementTraits<TiPlotFullElement> {
  static constexpr bool kHasX = true;
  static double X(const TiPlotFullElement& E) { return E.X; }
  static double Y(const TiPlotFullElement& E) { return E.Y; }
  static bool Plain(const TiPlotFullElement& E) { return !E.Null && !E.Empty && std::isfinite(E.Y); }
};

class TiPlotDataFullList : public TiPlotDataBufferList<TiPlotFullElement> {
 public:
  double GetX(int32_t Index) override { return At(Index).X; }
  double GetY(int32_t Index) override { return At(Index).Y; }
  bool GetEmpty(int32_t Index) override { return At(Index).Empty; }
  bool GetNull(int32_t Index) override { return At(Index).Null; }
  double GetHigh(int32_t Index) override { return At(Index).High; }
  double GetLow(int32_t Index) override { return At(Index).Low; }
  double GetOpen(int32_t Index) override { return At(Index).Open; }
  double GetClose(int32_t Index) override { return At(Index).Close; }
  void SetX(int32_t Index, double Value) override {
    ChangeX(Index, Value, [](TiPlotFullElement& E, double V) { E.X = V; });
  }
  void SetY(int32_t Index, double Value) override { Change(Index).Y = Value; }
  void SetEmpty(int32_t Index, bool Value) override { Change(Index).Empty = Value; }
  void SetNull(int32_t Index, bool Value) override { Change(Index).Null = Value; }
  void SetHigh(int32_t Index, double Value) override { At(Index).High = Value; }
  void SetLow(int32_t Index, double Value) override { At(Index).Low = Value; }
  void SetOpen(int32_t Index, double Value) override { At(Index).Open = Value; }
  void SetClose(int32_t Index, double Value) override { At(Index).Close = Value; }

#define PL_PLOT_FULL_ATTRIBUTE(T, N, S)                                  \
  T Get##N(int32_t Index) override { return T(At(Index).Attributes.N); } \
  void Set##N(int32_t Index, T Value) override { At(Index).Attributes.N = S(Value); }
  PL_PLOT_POINT_ATTRIBUTES(PL_PLOT_FULL_ATTRIBUTE)
#undef PL_PLOT_FULL_ATTRIBUTE

  int32_t AddPoint(double X, double Y) override;
  void RemoveFirst(int32_t N) override;
  void GetPoint(int32_t Index, double& X, bool& Null, bool& Empty, double& Y) override;
};
