#include "widgets/iClasses.h"

#include <algorithm>

#include "platform/runtime/Exceptions.h"

const TClassInfo& TiPlotMinMaxPoint::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotMinMaxPoint, TPersistent>("TiPlotMinMaxPoint");
  return info;
}

void TiPlotMinMaxPoint::Reset() {
  Empty = true;
  Max = -1e301;
  Min = 1e301;
}

void TiPlotMinMaxPoint::Accumulate(int32_t APixel, double AX, double AY) {
  if (Empty) {
    Empty = false;
    Pixel = APixel;
    X = AX;
    FirstY = AY;
  }
  if (AY > Max) Max = AY;
  if (AY < Min) Min = AY;
  LastY = AY;
}

void TiPlotMinMaxPoint::CopyFrom(const TiPlotMinMaxPoint& Other) {
  Empty = Other.Empty;
  Pixel = Other.Pixel;
  X = Other.X;
  Max = Other.Max;
  Min = Other.Min;
  FirstY = Other.FirstY;
  LastY = Other.LastY;
}

void TiLimitDataList::Add(double Position, double Line1, double Line2) {
  auto at = std::upper_bound(items_.begin(), items_.end(), Position,
                             [](double p, const TiLimitData& e) { return p < e.Position; });
  items_.insert(at, TiLimitData{Position, Line1, Line2});
}

const TiLimitData& TiLimitDataList::At(int32_t Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("Index out of Bounds");
  return items_[size_t(Index)];
}
