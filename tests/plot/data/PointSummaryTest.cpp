// The point lists' Y summary against a plain scan of the points: runs of plain points under an X
// limit over lists with Null, Empty and non-finite points, across a wrapped ring, and after every
// kind of write once the summary has been read; then whether X ascends.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "plot/iPlotDataCompactIntervalList.h"
#include "plot/iPlotDataCompactList.h"
#include "plot/iPlotDataFullList.h"
#include "plot/iPlotDataNullList.h"

namespace {

struct TSummaryRun {
  int32_t Last;
  double Min, Max;
  bool operator==(const TSummaryRun&) const = default;
};

std::ostream& operator<<(std::ostream& Out, const TSummaryRun& Run) {
  return Out << "{last " << Run.Last << ", " << Run.Min << " .. " << Run.Max << "}";
}

// The run as the points one by one give it.
TSummaryRun ScannedRun(TiPlotDataCustomList& List, int32_t First, int32_t Last, double XLimit) {
  TSummaryRun r{First - 1, HUGE_VAL, -HUGE_VAL};
  for (int32_t i = First; i <= Last; ++i) {
    double x, y;
    bool null, empty;
    List.GetPoint(i, x, null, empty, y);
    if (null || empty || !std::isfinite(y) || !(x <= XLimit)) break;
    r = {i, std::min(r.Min, y), std::max(r.Max, y)};
  }
  return r;
}

TSummaryRun SummaryRun(TiPlotDataCustomList& List, int32_t First, int32_t Last, double XLimit) {
  TSummaryRun r{0, 0, 0};
  r.Last = List.PlainRunY(First, Last, XLimit, r.Min, r.Max);
  return r;
}

template <class L>
class PointSummaryTest : public ::testing::Test {
 protected:
  static constexpr bool kKeepsNull =
      !std::is_same_v<L, TiPlotDataCompactList> && !std::is_same_v<L, TiPlotDataCompactIntervalList>;

  // Point i at X = i / 4 (the interval list computes the same), Y a wave of exact binary fractions.
  void Add(int32_t N) {
    for (int32_t i = 0; i < N; ++i, ++added_)
      list.AddPoint(added_ / 4.0, double((added_ * 37) % 101) / 8 - 6);
  }
  // Points that are not plain: Null and Empty where the list keeps them, and Y values no axis can
  // place, several of them in one block and at block edges.
  void Spoil(const std::vector<int32_t>& Nulls, const std::vector<int32_t>& Empties,
             const std::vector<int32_t>& NotFinite) {
    if (kKeepsNull) {
      for (int32_t i : Nulls) list.SetNull(i, true);
      for (int32_t i : Empties) list.SetEmpty(i, true);
    }
    const double bad[] = {NAN, INFINITY, -INFINITY};
    for (size_t k = 0; k < NotFinite.size(); ++k) list.SetY(NotFinite[k], bad[k % 3]);
  }
  // Every range between the indexes that matter to blocks (their edges, the ring's seam, the ends)
  // and a few X limits, summary against scan.
  void ExpectRunsAsScanned(const char* When) {
    const int32_t n = list.GetCount();
    std::vector<int32_t> at;
    for (int32_t i : {0, 1, 2, 40, 62, 63, 64, 65, 100, 127, 128, 129, 191, 192, 200, 255, 256, 299})
      if (i < n) at.push_back(i);
    for (int32_t i : {n - 65, n - 64, n - 2, n - 1})
      if (i >= 0) at.push_back(i);
    for (int32_t first : at)
      for (int32_t last : at) {
        if (last < first) continue;
        const double middle = list.GetX(first + (last - first) / 2);
        for (double limit : {HUGE_VAL, middle, list.GetX(last), list.GetX(first) - 1})
          ASSERT_EQ(SummaryRun(list, first, last, limit), ScannedRun(list, first, last, limit))
              << When << ": " << first << " .. " << last << " up to X " << limit;
      }
  }

  L list;
  int32_t added_ = 0;
};

using PointSummaryClasses = ::testing::Types<TiPlotDataFullList, TiPlotDataNullList, TiPlotDataCompactList,
                                             TiPlotDataCompactIntervalList>;
TYPED_TEST_SUITE(PointSummaryTest, PointSummaryClasses);

TYPED_TEST(PointSummaryTest, RunsMatchAScanOfThePoints) {
  auto& list = this->list;
  this->Add(300);
  this->ExpectRunsAsScanned("plain points");
  // Whole blocks, blocks with one spoilt point at an edge, a block with many.
  this->Spoil({64, 130, 131}, {127, 200}, {0, 140, 141, 142, 255, 299});
  this->ExpectRunsAsScanned("spoilt points");
  // A run stops at the first point that is not plain, or above the X limit; none from such a point.
  EXPECT_EQ(SummaryRun(list, 0, 10, HUGE_VAL).Last, -1);
  EXPECT_EQ(SummaryRun(list, 1, 299, HUGE_VAL).Last, this->kKeepsNull ? 63 : 139);
  EXPECT_EQ(SummaryRun(list, 1, 100, 5.0).Last, 20);
  // The summary lies beside the elements, under a byte a point.
  EXPECT_EQ(list.MemoryUsed(), list.GetCapacity() * list.GetElementSize());
  EXPECT_LE(list.SummaryMemoryUsed(), list.GetCapacity());
  EXPECT_THROW(SummaryRun(list, 0, 300, HUGE_VAL), Exception);
}

TYPED_TEST(PointSummaryTest, EveryWriteIsSeenByTheNextRead) {
  using L = TypeParam;
  const bool nulls = this->kKeepsNull;
  struct Write {
    const char* name;
    std::function<void(L&)> apply;
  };
  // Each write lands in blocks the summary has just read (the ring of 200 has wrapped: point 0 is
  // element 117).
  const std::vector<Write> writes = {
      {"overwriting points",
       [](L& l) {
         for (int i = 0; i < 70; ++i) l.AddPoint(1000 + i, i % 2 ? 40.0 : -40.0);
       }},
      {"SetY",
       [](L& l) {
         l.SetY(5, 99);
         l.SetY(100, -99);
         l.SetY(199, 77);
       }},
      {"SetY not finite",
       [](L& l) {
         l.SetY(70, NAN);
         l.SetY(82, INFINITY);
       }},
      {"SetY finite again",
       [](L& l) {
         l.SetY(70, NAN);
         l.SetY(70, 3);
       }},
      {"SetNull",
       [nulls](L& l) {
         if (nulls) {
           l.SetNull(3, true);
           l.SetNull(150, true);
         }
       }},
      {"SetNull off",
       [nulls](L& l) {
         if (nulls) {
           l.SetNull(3, true);
           l.SetNull(3, false);
         }
       }},
      {"SetEmpty",
       [nulls](L& l) {
         if (nulls) l.SetEmpty(90, true);
       }},
      {"SetX",
       [](L& l) {
         if (!std::is_same_v<L, TiPlotDataCompactIntervalList>) l.SetX(120, 10);
       }},
      {"RemoveFirst", [](L& l) { l.RemoveFirst(33); }},
      {"capacity change", [](L& l) { l.SetCapacity(260); }},
      {"smaller ring", [](L& l) { l.SetRingBufferSize(150); }},
      {"cleared and refilled",
       [](L& l) {
         l.ClearPoints();
         for (int i = 0; i < 90; ++i) l.AddPoint(i, -i);
       }},
  };
  for (const Write& w : writes) {
    L& list = this->list;
    list.ClearPoints();
    list.SetRingBufferSize(200);
    this->added_ = 0;
    this->Add(317);
    ASSERT_EQ(list.GetRingStart(), 117);
    this->ExpectRunsAsScanned("before");
    w.apply(list);
    this->ExpectRunsAsScanned(w.name);
  }
}

TYPED_TEST(PointSummaryTest, XAscendsUntilAStepFalls) {
  auto& list = this->list;
  EXPECT_TRUE(list.XAscending());
  this->Add(150);
  list.AddPoint(37.25, 0);  // the same X again: still ascending
  EXPECT_TRUE(list.XAscending());
  if constexpr (std::is_same_v<TypeParam, TiPlotDataCompactIntervalList>) {
    // X steps evenly from the first two points: it falls where they do.
    TypeParam falling;
    falling.AddPoint(5, 0);
    falling.AddPoint(3, 0);
    falling.AddPoint(9, 0);
    EXPECT_FALSE(falling.XAscending());
    list.SetX(0, INFINITY);
    EXPECT_FALSE(list.XAscending());
    return;
  }
  struct Case {
    const char* name;
    std::function<void(TypeParam&)> apply;
    bool ascending;
  };
  const Case cases[] = {
      {"a step falls", [](TypeParam& l) { l.SetX(70, 1); }, false},
      {"and rises again", [](TypeParam& l) { l.SetX(70, 17.5); }, true},
      {"a NaN X", [](TypeParam& l) { l.SetX(20, NAN); }, false},
      {"the NaN gone", [](TypeParam& l) { l.SetX(20, 5); }, true},
      {"an infinite last X", [](TypeParam& l) { l.SetX(150, INFINITY); }, false},
      {"the last X back", [](TypeParam& l) { l.SetX(150, 37.25); }, true},
      {"a lower X added", [](TypeParam& l) { l.AddPoint(1, 0); }, false},
      {"the fall removed", [](TypeParam& l) { l.RemoveFirst(l.GetCount() - 1); }, true},
  };
  for (const Case& c : cases) {
    c.apply(list);
    EXPECT_EQ(list.XAscending(), c.ascending) << c.name;
  }
  // In a ring the fall leaves with the oldest point.
  list.ClearPoints();
  list.SetRingBufferSize(4);
  for (double x : {5.0, 1.0, 2.0, 3.0}) list.AddPoint(x, 0);
  EXPECT_FALSE(list.XAscending());
  list.AddPoint(4, 0);
  EXPECT_TRUE(list.XAscending());
  list.AddPoint(0, 0);
  EXPECT_FALSE(list.XAscending());
}

}  // namespace
