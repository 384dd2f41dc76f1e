// The Standard point list: X and Y as doubles and a flag word (Null, Empty and the point's marker
// visibility and style), 24 bytes a point.
#pragma once

#include "plot/iPlotDataCustomList.h"

struct TiPlotNullElement {
  double X;
  double Y;
  // bit 0 Null, bit 1 Empty, bit 2 markers visible, bits 3-6 marker style
  uint16_t Flags;
};
static_assert(sizeof(TiPlotNullElement) == 24);

template <>
struct TiPlotElementTraits<TiPlotNullElement> {
  static constexpr bool kHasX = true;
  // The Null and Empty bits of Flags.
  static constexpr uint16_t kNullOrEmpty = 3;
  static double X(const TiPlotNullElement& E) { return E.X; }
  static double Y(const TiPlotNullElement& E) { return E.Y; }
  static bool Plain(const TiPlotNullElement& E) {
    return (E.Flags & kNullOrEmpty) == 0 && std::isfinite(E.Y);
  }
};

class TiPlotDataNullList : public TiPlotDataBufferList<TiPlotNullElement> {
 public:
  double GetX(int32_t Index) override { return At(Index).X; }
  double GetY(int32_t Index) override { return At(Index).Y; }
  bool GetEmpty(int32_t Index) override { return (At(Index).Flags & kEmpty) != 0; }
  bool GetNull(int32_t Index) override { return (At(Index).Flags & kNull) != 0; }
  void SetX(int32_t Index, double Value) override {
    ChangeX(Index, Value, [](TiPlotNullElement& E, double V) { E.X = V; });
  }
  void SetY(int32_t Index, double Value) override { Change(Index).Y = Value; }
  void SetEmpty(int32_t Index, bool Value) override { SetFlag(Index, kEmpty, Value); }
  void SetNull(int32_t Index, bool Value) override { SetFlag(Index, kNull, Value); }
  bool GetMarkersVisible(int32_t Index) override { return (At(Index).Flags & kMarkersVisible) != 0; }
  void SetMarkersVisible(int32_t Index, bool Value) override { SetFlag(Index, kMarkersVisible, Value); }
  TiPlotMarkerStyle GetMarkersStyle(int32_t Index) override;
  void SetMarkersStyle(int32_t Index, TiPlotMarkerStyle Value) override;

  int32_t AddPoint(double X, double Y) override;
  void RemoveFirst(int32_t N) override;
  void GetPoint(int32_t Index, double& X, bool& Null, bool& Empty, double& Y) override;

  static constexpr uint16_t kNull = 1, kEmpty = 2, kMarkersVisible = 4, kStyleShift = 3,
                            kStyleMask = 15 << kStyleShift;
  static_assert((kNull | kEmpty) == TiPlotElementTraits<TiPlotNullElement>::kNullOrEmpty);

 private:
  void SetFlag(int32_t Index, uint16_t Bit, bool Value);
};
