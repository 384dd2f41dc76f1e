#include "plot/iPlotDataCustomList.h"

#include "platform/runtime/TypInfo.h"

PL_ENUM_NAMES(TiPlotLineStyle, "iplsSolid", "iplsDash", "iplsDot", "iplsDashDot", "iplsDashDotDot")
PL_ENUM_NAMES(TiPlotMarkerStyle, "ipmsCircle", "ipmsSquare", "ipmsDiamond", "ipmsCross", "ipmsPlus",
              "ipmsTriangleUp", "ipmsTriangleDown", "ipmsTriangleLeft", "ipmsTriangleRight",
              "ipmsVerticalLine", "ipmsHorizontalLine", "ipmsCharacter")

TiPlotDataCustomList::TiPlotDataCustomList() { ListLevel.BarVisible = true; }

void TiPlotDataCustomList::SetElementSize(int32_t Size) {
  FElementSize = Size;
  FMaxCount = 2147483647 / Size;
}

int32_t TiPlotDataCustomList::PhysicalIndex(int32_t Index) const {
  if (Index < 0 || Index >= FCount) throw Exception("Index out of Bounds");
  if (FRingStart == 0) return Index;
  const int32_t p = Index + FRingStart;
  return p > FCount - 1 ? p - FCount : p;
}

void TiPlotDataCustomList::CheckCapacity(int64_t NewCapacity) const {
  // Nothing in the program means a negative size; the property editor can still type one.
  if (NewCapacity < 0) throw Exception("List Size can not be negative");
  if (NewCapacity > FMaxCount) throw Exception("Exceed Maximum List Size");
}

void TiPlotDataCustomList::RaiseDeleteSize(const char* Message) { throw Exception(Message); }

void TiPlotDataCustomList::GrowCapacity() {
  const int32_t delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
  const int64_t next = int64_t(FCapacity) + delta;
  CheckCapacity(next);
  SetCapacity(int32_t(next));
}

void TiPlotDataCustomList::ClearPoints() {
  FCount = 0;
  FRingStart = 0;
  FXFalls = 0;
  ResetSummary();
  if (!FRingMode) SetCapacity(0);
}

void TiPlotDataCustomList::ResetSummary() {
  FSummary.assign((size_t(FCapacity) + kSummaryBlock - 1) / kSummaryBlock, TSummaryBlock{});
}

int32_t TiPlotDataCustomList::LastIndexAtOrBelowX(int32_t First, int32_t Last, double Value) {
  if (Last < First) return First - 1;
  CheckIndex(First);
  CheckIndex(Last);
  if (!(GetX(First) <= Value)) return First - 1;
  int32_t lo = First, hi = Last + 1;
  for (int64_t step = 1; lo + step <= Last; step *= 2) {
    if (!(GetX(int32_t(lo + step)) <= Value)) {
      hi = int32_t(lo + step);
      break;
    }
    lo = int32_t(lo + step);
  }
  while (hi - lo > 1) {
    const int32_t mid = lo + (hi - lo) / 2;
    if (GetX(mid) <= Value)
      lo = mid;
    else
      hi = mid;
  }
  return lo;
}

void TiPlotDataCustomList::SetRingBufferSize(int32_t Size) {
  if (Size < 0) throw Exception("Ring Buffer Size can not be negative");
  CheckCapacity(Size);
  if (Size == 0) {
    if (FRingMode) {
      FRingMode = false;
      // A wrapped ring has no order an ordinary list could keep.
      if (FRingStart != 0) ClearPoints();
    }
    return;
  }
  FRingMode = true;
  if (Size == FCapacity) return;
  if (FRingStart != 0) ClearPoints();
  if (Size > FCapacity) {
    SetCapacity(Size);
  } else {
    if (Size < FCount) RemoveFirst(FCount - Size);
    SetCapacity(Size);
  }
}

// ---- defaults for what a list does not keep per point; the index is still checked

bool TiPlotDataCustomList::GetEmpty(int32_t Index) {
  CheckIndex(Index);
  return false;
}
bool TiPlotDataCustomList::GetNull(int32_t Index) {
  CheckIndex(Index);
  return false;
}
double TiPlotDataCustomList::GetHigh(int32_t Index) {
  CheckIndex(Index);
  return 0.0;
}
double TiPlotDataCustomList::GetLow(int32_t Index) {
  CheckIndex(Index);
  return 0.0;
}
double TiPlotDataCustomList::GetOpen(int32_t Index) {
  CheckIndex(Index);
  return 0.0;
}
double TiPlotDataCustomList::GetClose(int32_t Index) {
  CheckIndex(Index);
  return 0.0;
}
void TiPlotDataCustomList::SetEmpty(int32_t, bool) {}
void TiPlotDataCustomList::SetNull(int32_t, bool) {}
void TiPlotDataCustomList::SetHigh(int32_t, double) {}
void TiPlotDataCustomList::SetLow(int32_t, double) {}
void TiPlotDataCustomList::SetOpen(int32_t, double) {}
void TiPlotDataCustomList::SetClose(int32_t, double) {}

#define PL_PLOT_DEFINE_ATTRIBUTE(T, N, S)         \
  T TiPlotDataCustomList::Get##N(int32_t Index) { \
    CheckIndex(Index);                            \
    return T(ListLevel.N);                        \
  }                                               \
  void TiPlotDataCustomList::Set##N(int32_t, T) {}
PL_PLOT_POINT_ATTRIBUTES(PL_PLOT_DEFINE_ATTRIBUTE)
#undef PL_PLOT_DEFINE_ATTRIBUTE
