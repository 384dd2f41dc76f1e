// Small support classes of the plot and the value model: the accumulator of one pixel column of a
// fast trace, the pending level of a digital trace, the point list of a limit's bands, and the
// limit entry of the value model.
#pragma once

#include <vector>

#include "platform/runtime/Persistent.h"
#include "widgets/iTypes.h"

class TiPlotMinMaxPoint : public TPersistent {
  PL_CLASS(TiPlotMinMaxPoint)
 public:
  TiPlotMinMaxPoint() { Reset(); }
  // Empty again; the first point's Pixel, X and FirstY are kept until the next one.
  void Reset();
  void Accumulate(int32_t APixel, double AX, double AY);
  void CopyFrom(const TiPlotMinMaxPoint& Other);

  bool Empty = true;
  int32_t Pixel = 0;
  double X = 0;
  double Max = -1e301;
  double Min = 1e301;
  double FirstY = 0;
  double LastY = 0;
};

class TDigitalSequenceData {
 public:
  void Clear() { Started = Continued = Ended = false; }

  bool Started = false;
  double StartX = 0;
  bool Level = false;
  bool Continued = false;
  double LastX = 0;
  bool Ended = false;
  double EndX = 0;
};

// One element of a limit's band list: position along the band and the two band edges.
struct TiLimitData {
  double Position = 0;
  double Line1 = 0;
  double Line2 = 0;
};

class TiLimitDataList {
 public:
  int32_t Count() const { return int32_t(items_.size()); }
  // Each raises "Index out of Bounds" unless 0 <= Index < Count.
  double GetPosition(int32_t Index) const { return At(Index).Position; }
  double GetLine1(int32_t Index) const { return At(Index).Line1; }
  double GetLine2(int32_t Index) const { return At(Index).Line2; }
  // Inserts after every element whose position is not greater, so the list stays ascending.
  void Add(double Position, double Line1, double Line2);
  void Clear() { items_.clear(); }

 private:
  const TiLimitData& At(int32_t Index) const;
  std::vector<TiLimitData> items_;
};

// A limit of the value model: positions above Upper or below Lower raise the limit events.
class TiLimitObject {
 public:
  TiLimitObject(double ALower, double AUpper) : Lower(ALower), Upper(AUpper) {}
  double Lower = 0;
  double Upper = 0;
};
