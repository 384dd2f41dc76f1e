// The point list every plot channel owns: points in the order they were added, held in one
// contiguous buffer of fixed-size elements, optionally as a ring of fixed size, plus the channel's
// list-level appearance values.  Four concrete lists trade memory per point against what a point
// can carry (iPlotDataNullList, iPlotDataCompactList, iPlotDataCompactIntervalList,
// iPlotDataFullList).
//
// Indexes are logical (0 = the oldest point held); every element access maps the index through the
// ring and raises "Index out of Bounds" outside 0 .. Count - 1.  A failing call leaves the list as
// it was.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Object.h"
#include "platform/ui/Graphics.h"

enum TiPlotLineStyle : uint8_t { iplsSolid, iplsDash, iplsDot, iplsDashDot, iplsDashDotDot };
template <>
const EnumNames& EnumNamesOf<TiPlotLineStyle>();

enum TiPlotMarkerStyle : uint8_t {
  ipmsCircle,
  ipmsSquare,
  ipmsDiamond,
  ipmsCross,
  ipmsPlus,
  ipmsTriangleUp,
  ipmsTriangleDown,
  ipmsTriangleLeft,
  ipmsTriangleRight,
  ipmsVerticalLine,
  ipmsHorizontalLine,
  ipmsCharacter
};
template <>
const EnumNames& EnumNamesOf<TiPlotMarkerStyle>();

// The appearance of a point: the list-level values of a list, and the per-point copy the Full
// list keeps in every element.  Pen and brush styles are stored as bytes so that the Full element
// keeps its 136-byte layout.
struct TiPlotPointAttributes {
  TColor Color = 0;
  int32_t TraceLineWidth = 0;
  TiPlotLineStyle TraceLineStyle = iplsSolid;
  bool MarkersVisible = false;
  int32_t MarkersSize = 0;
  TiPlotMarkerStyle MarkersStyle = ipmsCircle;
  TColor MarkersPenColor = 0;
  int32_t MarkersPenWidth = 0;
  uint8_t MarkersPenStyle = 0;
  TColor MarkersBrushColor = 0;
  uint8_t MarkersBrushStyle = 0;
  char MarkersCharacter = 0;
  bool BarVisible = false;
  double BarReference = 0;
  double BarWidth = 0;
  TColor BarPenColor = 0;
  int32_t BarPenWidth = 0;
  uint8_t BarPenStyle = 0;
  TColor BarBrushColor = 0;
  uint8_t BarBrushStyle = 0;
};

// The appearance values in their fixed order: X(type, name, stored type).
#define PL_PLOT_POINT_ATTRIBUTES(X)                     \
  X(TColor, Color, TColor)                              \
  X(int32_t, TraceLineWidth, int32_t)                   \
  X(TiPlotLineStyle, TraceLineStyle, TiPlotLineStyle)   \
  X(bool, MarkersVisible, bool)                         \
  X(int32_t, MarkersSize, int32_t)                      \
  X(TiPlotMarkerStyle, MarkersStyle, TiPlotMarkerStyle) \
  X(TColor, MarkersPenColor, TColor)                    \
  X(int32_t, MarkersPenWidth, int32_t)                  \
  X(TPenStyle, MarkersPenStyle, uint8_t)                \
  X(TColor, MarkersBrushColor, TColor)                  \
  X(TBrushStyle, MarkersBrushStyle, uint8_t)            \
  X(char, MarkersCharacter, char)                       \
  X(bool, BarVisible, bool)                             \
  X(double, BarReference, double)                       \
  X(double, BarWidth, double)                           \
  X(TColor, BarPenColor, TColor)                        \
  X(int32_t, BarPenWidth, int32_t)                      \
  X(TPenStyle, BarPenStyle, uint8_t)                    \
  X(TColor, BarBrushColor, TColor)                      \
  X(TBrushStyle, BarBrushStyle, uint8_t)

class TiPlotDataCustomList : public TObject {
 public:
  TiPlotDataCustomList();
  ~TiPlotDataCustomList() override = default;

  virtual double GetX(int32_t Index) = 0;
  virtual double GetY(int32_t Index) = 0;
  virtual bool GetEmpty(int32_t Index);
  virtual bool GetNull(int32_t Index);
  virtual double GetHigh(int32_t Index);
  virtual double GetLow(int32_t Index);
  virtual double GetOpen(int32_t Index);
  virtual double GetClose(int32_t Index);
  virtual void SetX(int32_t Index, double Value) = 0;
  virtual void SetY(int32_t Index, double Value) = 0;
  virtual void SetEmpty(int32_t Index, bool Value);
  virtual void SetNull(int32_t Index, bool Value);
  virtual void SetHigh(int32_t Index, double Value);
  virtual void SetLow(int32_t Index, double Value);
  virtual void SetOpen(int32_t Index, double Value);
  virtual void SetClose(int32_t Index, double Value);

  // Per-point appearance: a list that does not keep a value per point answers the list-level one
  // and ignores the setter.
#define PL_PLOT_DECLARE_ATTRIBUTE(T, N, S) \
  virtual T Get##N(int32_t Index);         \
  virtual void Set##N(int32_t Index, T Value);
  PL_PLOT_POINT_ATTRIBUTES(PL_PLOT_DECLARE_ATTRIBUTE)
#undef PL_PLOT_DECLARE_ATTRIBUTE

  virtual void FreeBuffer() = 0;
  // Appends a point; returns the physical index of the element it went to.
  virtual int32_t AddPoint(double X, double Y) = 0;
  virtual void ClearPoints();
  virtual void SetCapacity(int32_t NewCapacity) = 0;
  // Drops the N oldest points.
  virtual void RemoveFirst(int32_t N) = 0;
  virtual void GetPoint(int32_t Index, double& X, bool& Null, bool& Empty, double& Y) = 0;

  void GrowCapacity();
  int32_t PhysicalIndex(int32_t Index) const;
  // Raises "Index out of Bounds" unless 0 <= Index < Count.
  void CheckIndex(int32_t Index) const { PhysicalIndex(Index); }
  // 0: a growable list; N > 0: a ring of N points.
  int32_t GetRingBufferSize() const { return FRingMode ? FCapacity : 0; }
  void SetRingBufferSize(int32_t Size);
  int32_t MemoryUsed() const { return FElementSize * FCapacity; }

  int32_t GetCount() const { return FCount; }
  int32_t GetCapacity() const { return FCapacity; }
  int32_t GetRingStart() const { return FRingStart; }
  bool GetRingMode() const { return FRingMode; }
  int32_t GetElementSize() const { return FElementSize; }
  int32_t GetMaxCount() const { return FMaxCount; }

  // The list-level appearance values; the channel reads and writes them directly.
  TiPlotPointAttributes ListLevel;

 protected:
  void SetElementSize(int32_t Size);
  // Raises unless 0 <= NewCapacity <= MaxCount.
  void CheckCapacity(int64_t NewCapacity) const;
  [[noreturn]] static void RaiseDeleteSize(const char* Message);

  int32_t FCount = 0;
  int32_t FCapacity = 0;
  int32_t FRingStart = 0;
  bool FRingMode = false;
  int32_t FElementSize = 1;
  int32_t FMaxCount = 0;
};

// The buffer mechanics shared by the concrete lists: one block of TElement, reallocated as a
// whole, logical order kept through the ring mapping.
template <class TElement>
class TiPlotDataBufferList : public TiPlotDataCustomList {
  static_assert(std::is_trivially_copyable_v<TElement>);

 public:
  TiPlotDataBufferList() { SetElementSize(int32_t(sizeof(TElement))); }
  ~TiPlotDataBufferList() override { FreeBuffer(); }

  void FreeBuffer() override {
    std::free(FData);
    FData = nullptr;
  }

  void SetCapacity(int32_t NewCapacity) override {
    CheckCapacity(NewCapacity);
    if (NewCapacity == FCapacity) return;
    // A capacity change while the ring has wrapped would break the logical order: unroll first.
    Unroll();
    if (NewCapacity == 0) {
      FreeBuffer();
    } else {
      void* block = std::realloc(FData, size_t(NewCapacity) * sizeof(TElement));
      if (!block) throw EOutOfMemory("Out of memory");
      FData = static_cast<TElement*>(block);
    }
    FCapacity = NewCapacity;
    if (FCount > NewCapacity) FCount = NewCapacity;
  }

 protected:
  TElement& At(int32_t Index) { return FData[PhysicalIndex(Index)]; }

  // Stores a new element as the newest point; returns its physical index.
  int32_t Store(const TElement& Element) {
    if (!FRingMode || FCapacity == 0) {
      if (FCount == FCapacity) GrowCapacity();
      FData[FCount] = Element;
      return FCount++;
    }
    if (FCount < FCapacity) {
      FData[FCount] = Element;
      return FCount++;
    }
    if (++FRingStart == FCount) FRingStart = 0;
    const int32_t target = FRingStart == 0 ? FCount - 1 : FRingStart - 1;
    FData[target] = Element;
    return target;
  }

  // Drops the N oldest points; the caller has checked N.
  void DropFirst(int32_t N) {
    if (N <= 0) return;
    Unroll();
    std::memmove(static_cast<void*>(FData), static_cast<const void*>(FData + N),
                 size_t(FCount - N) * sizeof(TElement));
    FCount -= N;
  }

  TElement* FData = nullptr;

 private:
  // Brings logical point 0 to physical element 0 (a wrapped ring only).
  void Unroll() {
    if (FRingStart == 0 || !FData) return;
    std::rotate(FData, FData + FRingStart, FData + FCount);
    FRingStart = 0;
  }
};
