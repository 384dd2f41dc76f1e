// The point list every plot channel owns: points in the order they were added, held in one
// contiguous buffer of fixed-size elements, optionally as a ring of fixed size, plus the channel's
// list-level appearance values.  Four concrete lists trade memory per point against what a point
// can carry (iPlotDataNullList, iPlotDataCompactList, iPlotDataCompactIntervalList,
// iPlotDataFullList).
//
// Indexes are logical (0 = the oldest point held); every element access maps the index through the
// ring and raises "Index out of Bounds" outside 0 .. Count - 1.  A failing call leaves the list as
// it was.
//
// Besides the elements a list keeps a Y summary for the fast trace, so that a repaint costs per
// pixel column instead of per point: the least and greatest Y of every block of kSummaryBlock
// physical elements and whether the block holds a point that is not plain (Null, Empty or a Y that
// is not finite).  Every write marks its block stale; a query recomputes the stale blocks it meets,
// so a stream only ever recomputes the block being written.  The list also counts the places where
// X falls, which tells whether an X range is one run of indexes.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

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

  // ---- the Y summary
  // True when every X is finite and none is below the one before it: the points of an X range are
  // then one run of indexes.
  virtual bool XAscending() = 0;
  // The run of plain points (neither Null nor Empty, Y finite) from First whose X is at most XLimit
  // (+inf: any X), ending at Last at the latest: returns the run's last index (First - 1 when First
  // itself does not qualify) and its least and greatest Y (+inf and -inf for an empty run).  Both
  // indexes must lie in the list.
  virtual int32_t PlainRunY(int32_t First, int32_t Last, double XLimit, double& Min, double& Max) = 0;
  // The summary's own memory, kept apart from MemoryUsed (the element buffer).
  int64_t SummaryMemoryUsed() const { return int64_t(FSummary.capacity() * sizeof(TSummaryBlock)); }
  static constexpr int32_t kSummaryBlock = 64;

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
  // The last index in First .. Last whose X is at most Value (First - 1 when none), through GetX,
  // for X that does not change direction: doubling steps from First, then bisection.
  int32_t LastIndexAtOrBelowX(int32_t First, int32_t Last, double Value);

  struct TSummaryBlock {
    double Min = 0;
    double Max = 0;
    // The greatest X, for lists that keep X: a search on X passes whole blocks without reading them.
    double MaxX = 0;
    uint8_t State = kSummaryStale;
  };
  static constexpr uint8_t kSummaryStale = 1, kSummaryNotPlain = 2;
  // One block per kSummaryBlock elements of the buffer, all of them stale.
  void ResetSummary();
  void MarkStale(int32_t Physical) { FSummary[size_t(Physical / kSummaryBlock)].State = kSummaryStale; }

  int32_t FCount = 0;
  int32_t FCapacity = 0;
  int32_t FRingStart = 0;
  bool FRingMode = false;
  int32_t FElementSize = 1;
  int32_t FMaxCount = 0;
  std::vector<TSummaryBlock> FSummary;
  // Pairs of neighbouring points whose second X is not at least the first (a NaN counts too).
  int32_t FXFalls = 0;
};

// What the summary reads of an element: its Y, whether it is plain and, where the element keeps
// one, its X (each list specialises it for its element).
template <class TElement>
struct TiPlotElementTraits;

// The buffer mechanics shared by the concrete lists: one block of TElement, reallocated as a
// whole, logical order kept through the ring mapping, and the Y summary over it.
template <class TElement>
class TiPlotDataBufferList : public TiPlotDataCustomList {
  static_assert(std::is_trivially_copyable_v<TElement>);
  using Traits = TiPlotElementTraits<TElement>;

 public:
  TiPlotDataBufferList() { SetElementSize(int32_t(sizeof(TElement))); }
  ~TiPlotDataBufferList() override { FreeBuffer(); }

  void FreeBuffer() override {
    std::free(FData);
    FData = nullptr;
    FSummary.clear();
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
    const bool cut = FCount > NewCapacity;
    if (cut) FCount = NewCapacity;
    // Growing keeps the computed blocks (the elements stay where they were); anything else starts
    // the summary afresh.
    const size_t blocks = (size_t(NewCapacity) + kSummaryBlock - 1) / kSummaryBlock;
    if (cut || FRotated || blocks < FSummary.size()) {
      ResetSummary();
    } else {
      if (!FSummary.empty()) FSummary.back().State = kSummaryStale;
      FSummary.resize(blocks);
    }
    FRotated = false;
    if (cut) CountXFalls();
  }

  bool XAscending() override {
    if constexpr (Traits::kHasX) {
      return FCount == 0 || (FXFalls == 0 && std::isfinite(XAt(0)) && std::isfinite(XAt(FCount - 1)));
    } else {
      return false;
    }
  }

  int32_t PlainRunY(int32_t First, int32_t Last, double XLimit, double& Min, double& Max) override {
    Min = HUGE_VAL;
    Max = -HUGE_VAL;
    // Without X in the elements the limit becomes an index, from the X the list computes.
    if constexpr (!Traits::kHasX)
      if (Last >= First && !(XLimit >= HUGE_VAL)) Last = LastIndexAtOrBelowX(First, Last, XLimit);
    return First - 1 +
           OverStretches(First, Last, [&](int32_t P, int32_t N) { return ScanRun(P, N, XLimit, Min, Max); });
  }

 protected:
  TElement& At(int32_t Index) { return FData[PhysicalIndex(Index)]; }
  // The element of a point about to change its Y or flags: its block goes stale.
  TElement& Change(int32_t Index) {
    const int32_t physical = PhysicalIndex(Index);
    MarkStale(physical);
    return FData[physical];
  }
  // Sets a point's X through Assign (element, value), keeping the count of falls.
  template <class TAssign>
  void ChangeX(int32_t Index, double Value, TAssign Assign) {
    TElement& e = Change(Index);
    FXFalls -= Falls(Index);
    Assign(e, Value);
    FXFalls += Falls(Index);
  }

  // Stores a new element as the newest point; returns its physical index.
  int32_t Store(const TElement& Element) {
    int32_t target;
    if (!FRingMode || FCapacity == 0 || FCount < FCapacity) {
      if (FCount == FCapacity) GrowCapacity();
      target = FCount++;
    } else {
      // The oldest point goes, and with it the step to the second oldest.
      if constexpr (Traits::kHasX)
        if (FCount > 1 && !(XAt(0) <= XAt(1))) --FXFalls;
      if (++FRingStart == FCount) FRingStart = 0;
      target = FRingStart == 0 ? FCount - 1 : FRingStart - 1;
    }
    FData[target] = Element;
    MarkStale(target);
    if constexpr (Traits::kHasX)
      if (FCount > 1 && !(XAt(FCount - 2) <= XAt(FCount - 1))) ++FXFalls;
    return target;
  }

  // Drops the N oldest points; the caller has checked N.
  void DropFirst(int32_t N) {
    if (N <= 0) return;
    Unroll();
    FRotated = false;
    std::memmove(static_cast<void*>(FData), static_cast<const void*>(FData + N),
                 size_t(FCount - N) * sizeof(TElement));
    FCount -= N;
    ResetSummary();
    CountXFalls();
  }

  TElement* FData = nullptr;

 private:
  // Brings logical point 0 to physical element 0 (a wrapped ring only).
  void Unroll() {
    if (FRingStart == 0 || !FData) return;
    std::rotate(FData, FData + FRingStart, FData + FCount);
    FRingStart = 0;
    FRotated = true;
  }

  // The X of point Index (in the list); lists that keep no X never ask.
  double XAt(int32_t Index) const {
    int32_t p = Index + FRingStart;
    if (p >= FCount) p -= FCount;
    return Traits::X(FData[p]);
  }
  // The falls (0 to 2) at the two steps next to point Index.
  int32_t Falls(int32_t Index) const {
    const double x = XAt(Index);
    return int32_t(Index > 0 && !(XAt(Index - 1) <= x)) +
           int32_t(Index + 1 < FCount && !(x <= XAt(Index + 1)));
  }
  void CountXFalls() {
    FXFalls = 0;
    if constexpr (Traits::kHasX)
      for (int32_t i = 1; i < FCount; ++i) FXFalls += int32_t(!(XAt(i - 1) <= XAt(i)));
  }

  // Scan (physical element, count) over the physical stretches of points First .. Last (one, or two
  // where the ring wraps), in order, as long as it takes whole stretches: the number of points it
  // took.  Raises unless both indexes lie in the list.
  template <class TScan>
  int32_t OverStretches(int32_t First, int32_t Last, TScan Scan) {
    if (Last < First) return 0;
    CheckIndex(First);
    CheckIndex(Last);
    int32_t physical = PhysicalIndex(First), left = Last - First + 1, done = 0;
    while (left > 0) {
      const int32_t n = std::min(left, FCount - physical);
      const int32_t taken = Scan(physical, n);
      done += taken;
      if (taken < n) break;
      left -= n;
      physical = 0;
    }
    return done;
  }

  // Summary block Index, recomputed first when stale.
  const TSummaryBlock& Block(int32_t Index) {
    TSummaryBlock& b = FSummary[size_t(Index)];
    if (b.State & kSummaryStale) {
      const int32_t first = Index * kSummaryBlock, end = std::min(first + kSummaryBlock, FCount);
      double min = HUGE_VAL, max = -HUGE_VAL, maxX = -HUGE_VAL;
      uint8_t state = 0;
      for (int32_t p = first; p < end; ++p) {
        const TElement& e = FData[p];
        // A NaN X is at or below no limit: it keeps the block from being passed whole.
        if constexpr (Traits::kHasX)
          maxX = std::isnan(Traits::X(e)) || std::isnan(maxX) ? NAN : std::max(maxX, Traits::X(e));
        if (!Traits::Plain(e)) {
          state = kSummaryNotPlain;
          continue;
        }
        const double y = Traits::Y(e);
        if (y < min) min = y;
        if (y > max) max = y;
      }
      b.Min = min;
      b.Max = max;
      b.MaxX = maxX;
      b.State = state;
    }
    return b;
  }

  // Points from physical element P on, N at most, up to the first that is not plain or whose X is
  // above XLimit: their number, the extremes of their Y merged into Min and Max.  Whole blocks of
  // plain points at or below the limit are read from the summary, parts of them without checking
  // each point; only the block where the run ends is checked point by point.
  int32_t ScanRun(int32_t P, int32_t N, double XLimit, double& Min, double& Max) {
    double lo = Min, hi = Max;
    const int32_t end = P + N;
    int32_t p = P, taken = N;
    while (p < end) {
      const int32_t blockFirst = p / kSummaryBlock * kSummaryBlock;
      int32_t blockEnd = std::min(blockFirst + kSummaryBlock, FCount);
      const TSummaryBlock* b = &Block(p / kSummaryBlock);
      const auto passes = [&] {
        return !(b->State & kSummaryNotPlain) && (!Traits::kHasX || b->MaxX <= XLimit);
      };
      if (p == blockFirst) {
        // Whole blocks in a row.
        while (blockEnd <= end && passes()) {
          lo = std::min(lo, b->Min);
          hi = std::max(hi, b->Max);
          p = blockEnd;
          if (p >= end) break;
          blockEnd = std::min(p + kSummaryBlock, FCount);
          b = &Block(p / kSummaryBlock);
        }
        if (p >= end) break;
      }
      const int32_t stop = std::min(blockEnd, end);
      if (passes()) {
        for (; p < stop; ++p) {
          const double y = Traits::Y(FData[p]);
          lo = std::min(lo, y);
          hi = std::max(hi, y);
        }
        continue;
      }
      for (; p < stop; ++p) {
        const TElement& e = FData[p];
        bool stops = !Traits::Plain(e);
        if constexpr (Traits::kHasX) stops = stops || !(Traits::X(e) <= XLimit);
        if (stops) break;
        const double y = Traits::Y(e);
        lo = std::min(lo, y);
        hi = std::max(hi, y);
      }
      if (p < stop) {
        taken = p - P;
        break;
      }
    }
    Min = lo;
    Max = hi;
    return taken;
  }

  // The last Unroll moved elements, so the summary's blocks no longer describe them.
  bool FRotated = false;
};
