// The four point lists: growth, ring buffer, removal and the ring-size transitions, run over every
// list class; then what each class keeps per point.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

#include "plot/iPlotDataCompactIntervalList.h"
#include "plot/iPlotDataCompactList.h"
#include "plot/iPlotDataFullList.h"
#include "plot/iPlotDataNullList.h"
#include "tests/support/MessageOf.h"

namespace {

template <class L>
struct ListTraits;
template <>
struct ListTraits<TiPlotDataFullList> {
  static constexpr int32_t kElementSize = 136;
  static constexpr bool kKeepsNull = true;
  static constexpr const char* kDeleteMessage = "Delete Size Out Of Range";
};
template <>
struct ListTraits<TiPlotDataNullList> {
  static constexpr int32_t kElementSize = 24;
  static constexpr bool kKeepsNull = true;
  static constexpr const char* kDeleteMessage = "Delete size out of Range";
};
template <>
struct ListTraits<TiPlotDataCompactList> {
  static constexpr int32_t kElementSize = 8;
  static constexpr bool kKeepsNull = false;
  static constexpr const char* kDeleteMessage = "Delete size out of Range";
};
template <>
struct ListTraits<TiPlotDataCompactIntervalList> {
  static constexpr int32_t kElementSize = 4;
  static constexpr bool kKeepsNull = false;
  static constexpr const char* kDeleteMessage = "Delete size out of Range";
};

template <class F>
std::string PointListMessageOf(F&& call) {
  return MessageOf(call);
}

template <class L>
class PointListTest : public ::testing::Test {
 protected:
  // Points (i, 10 i) for i = first .. first + n - 1: X on a step of 1 for the interval list too.
  void Add(int n, int first = 0) {
    for (int i = first; i < first + n; ++i) list.AddPoint(i, 10.0 * i);
  }
  std::vector<double> Ys() {
    std::vector<double> ys;
    for (int32_t i = 0; i < list.GetCount(); ++i) ys.push_back(list.GetY(i));
    return ys;
  }
  L list;
};

using PointListClasses = ::testing::Types<TiPlotDataFullList, TiPlotDataNullList, TiPlotDataCompactList,
                                          TiPlotDataCompactIntervalList>;
TYPED_TEST_SUITE(PointListTest, PointListClasses);

TYPED_TEST(PointListTest, GrowsByTheFixedSequence) {
  auto& list = this->list;
  EXPECT_EQ(list.GetElementSize(), ListTraits<TypeParam>::kElementSize);
  EXPECT_EQ(list.GetMaxCount(), 2147483647 / ListTraits<TypeParam>::kElementSize);
  std::vector<int32_t> capacities;
  for (int i = 0; i < 229; ++i) {
    const int32_t before = list.GetCapacity();
    EXPECT_EQ(list.AddPoint(i, i), i);
    if (list.GetCapacity() != before) capacities.push_back(list.GetCapacity());
  }
  EXPECT_EQ(capacities, (std::vector<int32_t>{4, 8, 12, 28, 44, 60, 76, 95, 118, 147, 183, 228, 285}));
  EXPECT_EQ(list.MemoryUsed(), 285 * ListTraits<TypeParam>::kElementSize);
  EXPECT_EQ(list.GetRingBufferSize(), 0);  // never a ring, whatever the capacity
  list.SetCapacity(64);
  EXPECT_EQ(list.GetCount(), 64);  // the newest points went with the elements
  list.AddPoint(1, 1);
  EXPECT_EQ(list.GetCapacity(), 80);
  list.ClearPoints();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetCapacity(), 0);
}

TYPED_TEST(PointListTest, RingOverwritesTheOldestPoint) {
  auto& list = this->list;
  list.SetRingBufferSize(3);
  EXPECT_EQ(list.GetRingBufferSize(), 3);
  std::vector<int32_t> targets;
  for (int y = 1; y <= 5; ++y) targets.push_back(list.AddPoint(y, y));
  EXPECT_EQ(targets, (std::vector<int32_t>{0, 1, 2, 0, 1}));
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetCapacity(), 3);
  EXPECT_EQ(list.GetRingStart(), 2);
  EXPECT_EQ(this->Ys(), (std::vector<double>{3, 4, 5}));
  EXPECT_EQ(list.GetX(0), 3);
  EXPECT_EQ(list.GetX(2), 5);
  list.ClearPoints();  // a ring keeps its buffer
  EXPECT_EQ(list.GetCapacity(), 3);
  EXPECT_EQ(list.GetRingStart(), 0);
}

TYPED_TEST(PointListTest, IndexOutsideTheListRaises) {
  auto& list = this->list;
  this->Add(3);
  for (int32_t index : {-1, 3}) {
    EXPECT_EQ(PointListMessageOf([&] { list.GetY(index); }), "Index out of Bounds");
    EXPECT_EQ(PointListMessageOf([&] { list.GetNull(index); }), "Index out of Bounds");
    EXPECT_EQ(PointListMessageOf([&] { list.GetColor(index); }), "Index out of Bounds");
    double x, y;
    bool null, empty;
    EXPECT_EQ(PointListMessageOf([&] { list.GetPoint(index, x, null, empty, y); }), "Index out of Bounds");
  }
}

TYPED_TEST(PointListTest, RemoveFirstBoundsAndMessages) {
  auto& list = this->list;
  this->Add(5);
  const char* message = ListTraits<TypeParam>::kDeleteMessage;
  EXPECT_EQ(PointListMessageOf([&] { list.RemoveFirst(-1); }), message);
  EXPECT_EQ(PointListMessageOf([&] { list.RemoveFirst(6); }), message);
  list.RemoveFirst(0);
  EXPECT_EQ(list.GetCount(), 5);
  list.RemoveFirst(2);
  EXPECT_EQ(this->Ys(), (std::vector<double>{20, 30, 40}));
  EXPECT_EQ(list.GetX(0), 2);  // the interval list keeps the X of what remains
  if constexpr (std::is_same_v<TypeParam, TiPlotDataCompactIntervalList>) {
    list.RemoveFirst(3);
    EXPECT_EQ(list.GetCount(), 0);
  } else {
    EXPECT_EQ(PointListMessageOf([&] { list.RemoveFirst(3); }), message);
    EXPECT_EQ(list.GetCount(), 3);
  }
}

TYPED_TEST(PointListTest, RingSizeTransitions) {
  auto& list = this->list;
  // Off before the ring wrapped: the points stay, as an ordinary list.
  list.SetRingBufferSize(10);
  this->Add(6);
  list.SetRingBufferSize(4);  // shrinking keeps the newest points
  EXPECT_EQ(this->Ys(), (std::vector<double>{20, 30, 40, 50}));
  EXPECT_EQ(list.GetX(0), 2);
  EXPECT_EQ(list.GetCapacity(), 4);
  list.SetRingBufferSize(0);
  EXPECT_EQ(list.GetRingBufferSize(), 0);
  EXPECT_EQ(list.GetCount(), 4);
  EXPECT_EQ(list.GetCapacity(), 4);

  // Off after it wrapped: everything goes, the buffer too.
  list.SetRingBufferSize(4);
  this->Add(2, 6);
  ASSERT_NE(list.GetRingStart(), 0);
  list.SetRingBufferSize(0);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetCapacity(), 0);

  // Resizing a wrapped ring starts it empty.
  list.SetRingBufferSize(2);
  this->Add(3);
  list.SetRingBufferSize(5);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetCapacity(), 5);
}

TYPED_TEST(PointListTest, RefusesNegativeAndOversizedCapacities) {
  auto& list = this->list;
  list.SetRingBufferSize(4);
  this->Add(3);
  const int32_t tooBig = list.GetMaxCount() + 1;
  EXPECT_EQ(PointListMessageOf([&] { list.SetRingBufferSize(-1); }), "Ring Buffer Size can not be negative");
  EXPECT_EQ(PointListMessageOf([&] { list.SetCapacity(-5); }), "List Size can not be negative");
  EXPECT_EQ(PointListMessageOf([&] { list.SetRingBufferSize(tooBig); }), "Exceed Maximum List Size");
  EXPECT_EQ(PointListMessageOf([&] { list.SetCapacity(tooBig); }), "Exceed Maximum List Size");
  EXPECT_EQ(list.GetRingBufferSize(), 4);
  EXPECT_EQ(this->Ys(), (std::vector<double>{0, 10, 20}));
}

TYPED_TEST(PointListTest, NullAndEmptyOnlyWhereKept) {
  auto& list = this->list;
  this->Add(3);
  list.SetNull(1, true);
  list.SetEmpty(2, true);
  const bool kept = ListTraits<TypeParam>::kKeepsNull;
  EXPECT_EQ(list.GetNull(1), kept);
  EXPECT_EQ(list.GetEmpty(2), kept);
  EXPECT_FALSE(list.GetNull(0));
  double x, y;
  bool null, empty;
  list.GetPoint(1, x, null, empty, y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 10);
  EXPECT_EQ(null, kept);
  EXPECT_FALSE(empty);
  list.SetNull(1, false);
  EXPECT_FALSE(list.GetNull(1));
  EXPECT_EQ(list.GetY(1), 10);
}

// A capacity change of a ring that has wrapped keeps the points in their order.
TYPED_TEST(PointListTest, CapacityChangeOfAWrappedRingKeepsTheOrder) {
  auto& list = this->list;
  list.SetRingBufferSize(4);
  this->Add(6);
  list.SetCapacity(6);
  this->Add(1, 6);
  EXPECT_EQ(this->Ys(), (std::vector<double>{20, 30, 40, 50, 60}));
  list.SetCapacity(3);
  EXPECT_EQ(this->Ys(), (std::vector<double>{20, 30, 40}));
}

// ---- what each class keeps

TEST(PointListIntervalTest, XFollowsTheFirstTwoPoints) {
  TiPlotDataCompactIntervalList list;
  for (double x : {10.0, 12.0, 100.0}) list.AddPoint(x, 1);
  EXPECT_EQ(list.GetX(0), 10);
  EXPECT_EQ(list.GetX(1), 12);
  EXPECT_EQ(list.GetX(2), 14);
  EXPECT_EQ(list.GetX(7), 24);  // no range check
  list.ClearPoints();
  for (double x : {3.0, 3.5, 9.0}) list.AddPoint(x, 1);
  EXPECT_EQ(list.GetX(2), 4);

  EXPECT_EQ(PointListMessageOf([&] { list.SetX(1, 5); }),
            "Data Style does not support setting individual X-Value with the exception of the first X-Value");
  list.SetX(0, 5);
  EXPECT_EQ(list.GetX(2), 6);
  TiPlotDataCompactIntervalList empty;
  EXPECT_NE(PointListMessageOf([&] { empty.SetX(0, 5); }), "(nothing raised)");
}

TEST(PointListIntervalTest, RingMovesTheFirstX) {
  TiPlotDataCompactIntervalList list;
  list.SetRingBufferSize(2);
  for (double x : {0.0, 1.0, 2.0, 3.0}) list.AddPoint(x, x * 10);
  EXPECT_EQ(list.GetX(0), 2);
  EXPECT_EQ(list.GetX(1), 3);
  EXPECT_EQ(list.GetY(0), 20);
}

TEST(PointListCompactTest, StoresSinglePrecision) {
  TiPlotDataCompactList list;
  list.AddPoint(0.1, 1e300);
  list.AddPoint(-1e300, 1.0 / 3);
  list.AddPoint(INFINITY, 0);
  EXPECT_EQ(list.GetX(0), double(0.1f));
  EXPECT_EQ(list.GetY(0), double(FLT_MAX));
  EXPECT_EQ(list.GetX(1), -double(FLT_MAX));
  EXPECT_EQ(list.GetX(2), INFINITY);
  EXPECT_EQ(list.GetY(1), double(1.0f / 3));
}

TEST(PointListStandardTest, FlagWordKeepsItsBits) {
  TiPlotDataNullList list;
  list.ListLevel.MarkersStyle = ipmsTriangleRight;
  list.ListLevel.MarkersVisible = true;
  list.AddPoint(1, 2);
  list.ListLevel.MarkersVisible = false;
  list.ListLevel.MarkersStyle = ipmsSquare;
  list.AddPoint(3, 4);
  EXPECT_TRUE(list.GetMarkersVisible(0));
  EXPECT_EQ(list.GetMarkersStyle(0), ipmsTriangleRight);
  EXPECT_FALSE(list.GetMarkersVisible(1));
  EXPECT_EQ(list.GetMarkersStyle(1), ipmsSquare);

  list.SetNull(0, true);
  list.SetEmpty(0, true);
  list.SetMarkersStyle(0, ipmsCharacter);
  EXPECT_TRUE(list.GetNull(0));
  EXPECT_TRUE(list.GetEmpty(0));
  EXPECT_TRUE(list.GetMarkersVisible(0));
  EXPECT_EQ(list.GetMarkersStyle(0), ipmsCharacter);
  EXPECT_EQ(list.GetX(0), 1);
  EXPECT_EQ(list.GetY(0), 2);
  list.SetMarkersVisible(0, false);
  list.SetEmpty(0, false);
  EXPECT_TRUE(list.GetNull(0));
  EXPECT_EQ(list.GetMarkersStyle(0), ipmsCharacter);
  // What the flag word does not hold comes from the list.
  list.ListLevel.Color = 0x123456;
  EXPECT_EQ(list.GetColor(0), 0x123456);
  EXPECT_TRUE(list.GetBarVisible(0));
}

TEST(PointListFullTest, EveryPointKeepsItsAppearance) {
  TiPlotDataFullList list;
  list.ListLevel.Color = 0xFF;
  list.ListLevel.MarkersCharacter = 'x';
  list.ListLevel.BarWidth = 5;
  list.ListLevel.MarkersPenStyle = psDot;
  list.AddPoint(1, 2);
  list.ListLevel.Color = 0xFF00;
  EXPECT_EQ(list.GetColor(0), 0xFF);
  EXPECT_EQ(list.GetMarkersCharacter(0), 0);
  EXPECT_EQ(list.GetBarWidth(0), 5);
  EXPECT_EQ(list.GetMarkersPenStyle(0), psDot);
  EXPECT_TRUE(list.GetBarVisible(0));
  list.SetBarBrushStyle(0, bsCross);
  list.SetHigh(0, 7);
  list.SetClose(0, 3);
  EXPECT_EQ(list.GetBarBrushStyle(0), bsCross);
  EXPECT_EQ(list.GetHigh(0), 7);
  EXPECT_EQ(list.GetClose(0), 3);
  EXPECT_EQ(list.GetLow(0), 0);
}

}  // namespace
