#include "plot/iPlotLayoutManager.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"
#include "plot/iPlotLabel.h"

#if __has_include("plot/iPlotAxis.h")
#include "plot/iPlotAxis.h"
#define PL_LAYOUT_HAS_AXIS 1
#endif
#if __has_include("plot/iPlotToolBar.h")
#include "plot/iPlotToolBar.h"
#define PL_LAYOUT_HAS_TOOLBAR 1
#endif
#if __has_include("plot/iPlotLegend.h")
#include "plot/iPlotLegend.h"
#define PL_LAYOUT_HAS_LEGEND 1
#endif
#if __has_include("plot/iPlotTable.h")
#include "plot/iPlotTable.h"
#define PL_LAYOUT_HAS_TABLE 1
#endif
#if __has_include("plot/iPlotDataView.h")
#include "plot/iPlotDataView.h"
#define PL_LAYOUT_HAS_DATAVIEW 1
#endif

// ============================================================================================
// checked pixel arithmetic
// ============================================================================================

int32_t PlotRoundPixel(long double Value) {
  if (!(Value >= std::numeric_limits<int32_t>::min() - 0.5L &&
        Value <= std::numeric_limits<int32_t>::max() + 0.5L))
    throw EInvalidOp("Invalid floating point operation");
  return PlotPixel(Round(Value));
}

int32_t PlotPixel(int64_t Value) {
  if (Value < std::numeric_limits<int32_t>::min() || Value > std::numeric_limits<int32_t>::max())
    RaiseIntOverflow();
  return static_cast<int32_t>(Value);
}

namespace {

// ============================================================================================
// kinds
// ============================================================================================

enum class TiLayoutKind { Other, Placeholder, DataView, XAxis, YAxis, ToolBar, Legend, Table, Label };

TiLayoutKind LayoutKindOf(const TiPlotObject* Obj) {
  if (Is<TiPlotDataViewLayout>(Obj)) return TiLayoutKind::Placeholder;
  if (Is<TiPlotLabel>(Obj)) return TiLayoutKind::Label;
#ifdef PL_LAYOUT_HAS_AXIS
  if (Is<TiPlotXAxis>(Obj)) return TiLayoutKind::XAxis;
  if (Is<TiPlotYAxis>(Obj)) return TiLayoutKind::YAxis;
#endif
#ifdef PL_LAYOUT_HAS_TOOLBAR
  if (Is<TiPlotToolBar>(Obj)) return TiLayoutKind::ToolBar;
#endif
#ifdef PL_LAYOUT_HAS_LEGEND
  if (Is<TiPlotLegend>(Obj)) return TiLayoutKind::Legend;
#endif
#ifdef PL_LAYOUT_HAS_TABLE
  if (Is<TiPlotTable>(Obj)) return TiLayoutKind::Table;
#endif
#ifdef PL_LAYOUT_HAS_DATAVIEW
  if (Is<TiPlotDataView>(Obj)) return TiLayoutKind::DataView;
#endif
  return TiLayoutKind::Other;
}

bool LayoutIsAxis(const TiPlotObject* Obj) {
  const TiLayoutKind k = LayoutKindOf(Obj);
  return k == TiLayoutKind::XAxis || k == TiLayoutKind::YAxis;
}
bool LayoutIsDataView(const TiPlotObject* Obj) { return LayoutKindOf(Obj) == TiLayoutKind::DataView; }
bool LayoutIsToolBar(const TiPlotObject* Obj) { return LayoutKindOf(Obj) == TiLayoutKind::ToolBar; }
// Neither a data view nor a placeholder: an object the bands hold.
bool LayoutIsBanded(const TiPlotObject* Obj) {
  const TiLayoutKind k = LayoutKindOf(Obj);
  return k != TiLayoutKind::DataView && k != TiLayoutKind::Placeholder;
}

// What the placement asks of axes; without the axis unit there are none.
#ifdef PL_LAYOUT_HAS_AXIS
TiPlotAxis* LayoutAxis(TiPlotLayoutObject* Obj) { return dynamic_cast<TiPlotAxis*>(Obj); }
bool LayoutIsCartesian(TiPlotLayoutObject* Obj) {
  TiPlotAxis* a = LayoutAxis(Obj);
  return a && a->GetCartesianStyle() != ipcsNone;
}
#else
bool LayoutIsCartesian(TiPlotLayoutObject*) { return false; }
#endif

// ============================================================================================
// band keys
// ============================================================================================

// StartPercent rounded for the band key; a value no key can show sorts as 0.
int64_t LayoutStartKey(const TiPlotLayoutObject* Obj) {
  const double p = Obj->GetStartPercent();
  if (!(std::fabs(p) < 1e15)) return 0;
  return Round(p);
}

// The band order: ZOrder, then rounded StartPercent, compared as numbers (the text keys of
// three digits compare alike for ZOrder 0 to 999 and stay in order beyond).
bool LayoutKeyLess(const TiPlotLayoutObject* a, const TiPlotLayoutObject* b) {
  if (a->GetZOrder() != b->GetZOrder()) return a->GetZOrder() < b->GetZOrder();
  return LayoutStartKey(a) < LayoutStartKey(b);
}

// Inserts Obj before every entry with an equal key (a later object goes first).
void LayoutInsertSorted(TiPlotLayoutBands::TObjects& List, TiPlotLayoutObject* Obj) {
  auto at = std::lower_bound(List.begin(), List.end(), Obj, LayoutKeyLess);
  List.insert(at, Obj);
}

int32_t LayoutDistinctBands(const TiPlotLayoutBands::TObjects& List) {
  std::set<int32_t> z;
  for (TiPlotLayoutObject* o : List) z.insert(o->GetZOrder());
  return static_cast<int32_t>(z.size());
}

// ZOrder moved by Delta, held inside the integer range.
int32_t LayoutShifted(int32_t Z, int32_t Delta) {
  const int64_t v = int64_t(Z) + Delta;
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// ============================================================================================
// placement helpers
// ============================================================================================

using TObjects = TiPlotLayoutBands::TObjects;

int32_t LayoutBandThickness(const TObjects& List, int32_t Z, TCanvas* Canvas) {
  int32_t t = 0;
  for (TiPlotLayoutObject* o : List)
    if (o->GetZOrder() == Z && !LayoutIsCartesian(o)) t = std::max(t, o->RequiredThickness(Canvas));
  return t;
}

int64_t LayoutStackDepth(const TObjects& List, TCanvas* Canvas) {
  std::set<int32_t> z;
  for (TiPlotLayoutObject* o : List) z.insert(o->GetZOrder());
  int64_t depth = 0;
  for (int32_t v : z) depth += LayoutBandThickness(List, v, Canvas);
  return depth;
}

// The largest end room of the list's objects without a neighbour on that side.
int32_t LayoutOverhang(const TObjects& List, bool StartSide, TCanvas* Canvas) {
  int32_t m = 0;
  for (TiPlotLayoutObject* o : List) {
    if (LayoutIsCartesian(o)) continue;
    if (StartSide ? o->GetHasPrevNeighbour() : o->GetHasNextNeighbour()) continue;
    m = std::max(m, o->RequiredEndMargin(Canvas));
  }
  return m;
}

void LayoutNeighbours(const TObjects& List) {
  for (TiPlotLayoutObject* o : List) {
    o->SetHasPrevNeighbour(false);
    o->SetHasNextNeighbour(false);
  }
  TiPlotLayoutObject* prev = nullptr;
  bool started = false;
  int32_t bandZ = 0;
  for (TiPlotLayoutObject* o : List) {
    if (LayoutIsCartesian(o)) continue;
    if (o->GetForceStacking()) {
      o->SetHasPrevNeighbour(true);
      o->SetHasNextNeighbour(true);
    } else if (!started || o->GetZOrder() != bandZ) {
      started = true;
      bandZ = o->GetZOrder();
    } else {
      o->SetHasPrevNeighbour(true);
      if (prev) prev->SetHasNextNeighbour(true);
    }
    prev = o;
  }
}

// Walks a list in the given order, calling Place(Obj, Edge, Thickness) with the band edge that
// moves by the previous band's thickness (Sign: -1 left or up, +1 right or down) at each new band.
template <class It, class F>
void LayoutStack(It First, It Last, const TObjects& List, int64_t Edge, int Sign, TCanvas* Canvas, F Place) {
  bool started = false;
  int32_t z = 0, thick = 0;
  for (It it = First; it != Last; ++it) {
    TiPlotLayoutObject* o = *it;
    if (started && o->GetZOrder() != z) Edge += int64_t(Sign) * thick;
    if (!started || o->GetZOrder() != z) {
      z = o->GetZOrder();
      thick = LayoutBandThickness(List, z, Canvas);
      started = true;
    }
    Place(o, Edge, thick);
  }
}

}  // namespace

// ============================================================================================
// placeholders
// ============================================================================================

const TClassInfo& TiPlotDataViewLayout::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiPlotDataViewLayout, TiPlotLayoutObject>("TiPlotDataViewLayout");
  return info;
}
const TClassInfo& TiPlotDataViewHorz::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiPlotDataViewHorz, TiPlotDataViewLayout>("TiPlotDataViewHorz");
  return info;
}
const TClassInfo& TiPlotDataViewVert::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiPlotDataViewVert, TiPlotDataViewLayout>("TiPlotDataViewVert");
  return info;
}

// ============================================================================================
// band arithmetic
// ============================================================================================

void TiPlotLayoutBands::Clear() {
  Top.clear();
  Bottom.clear();
  Left.clear();
  Right.clear();
  TopCount = BottomCount = LeftCount = RightCount = 0;
}

void TiPlotLayoutBands::Remove(TiPlotLayoutObject* Obj) {
  for (TObjects* list : {&Top, &Bottom, &Left, &Right}) std::erase(*list, Obj);
}

void TiPlotLayoutBands::Sort(const TObjects& Objects, TiPlotLayoutObject* Horz, TiPlotLayoutObject* Vert) {
  Clear();
  for (TiPlotLayoutObject* o : Objects) {
    if (!LayoutIsBanded(o)) continue;
    if (o->IsHorizontal()) {
      const bool after = Horz && Horz->GetZOrder() < o->GetZOrder();
      o->SetAfterDataView(after);
      LayoutInsertSorted(after ? Top : Bottom, o);
    } else {
      const bool after = Vert && Vert->GetZOrder() < o->GetZOrder();
      o->SetAfterDataView(after);
      LayoutInsertSorted(after ? Right : Left, o);
    }
  }
  TopCount = LayoutDistinctBands(Top);
  BottomCount = LayoutDistinctBands(Bottom);
  LeftCount = LayoutDistinctBands(Left);
  RightCount = LayoutDistinctBands(Right);
}

void TiPlotLayoutBands::InsertAt(const TObjects& Objects, TiPlotLayoutObject* Obj, int32_t Value,
                                 int32_t Mode) {
  auto sameSide = [&](TiPlotLayoutObject* o) {
    return o != Obj && o->GetHorizontal() == Obj->GetHorizontal();
  };
  // Every other object of Obj's orientation but the data views from band From upward moves up one.
  auto openBand = [&](int64_t From) {
    for (TiPlotLayoutObject* o : Objects)
      if (sameSide(o) && !LayoutIsDataView(o) && o->GetZOrder() >= From)
        o->SetZOrder(LayoutShifted(o->GetZOrder(), 1));
  };
  switch (Mode) {
    case 0: {
      bool fits = true;
      for (TiPlotLayoutObject* o : Objects) {
        if (!sameSide(o) || LayoutIsDataView(o) || o->GetZOrder() != Value) continue;
        const bool overlaps =
            (o->GetStartPercent() < Obj->GetStopPercent() && o->GetStopPercent() > Obj->GetStartPercent()) ||
            (o->GetStartPercent() == Obj->GetStartPercent() && o->GetStopPercent() == Obj->GetStopPercent());
        if (overlaps) fits = false;
      }
      if (!fits) openBand(Value);
      Obj->SetZOrder(Value);
      break;
    }
    case 1:
      openBand(Value);
      Obj->SetZOrder(Value);
      break;
    case 2:
      openBand(int64_t(Value) + 1);
      Obj->SetZOrder(LayoutShifted(Value, 1));
      break;
    default:
      break;
  }
}

void TiPlotLayoutBands::CloseGap(const TObjects& Objects, TiPlotLayoutObject* Obj) {
  auto sameSide = [&](TiPlotLayoutObject* o) {
    return o != Obj && o->GetHorizontal() == Obj->GetHorizontal();
  };
  for (TiPlotLayoutObject* o : Objects)
    if (sameSide(o) && !LayoutIsDataView(o) && o->GetZOrder() == Obj->GetZOrder()) return;
  for (TiPlotLayoutObject* o : Objects)
    if (sameSide(o) && o->GetZOrder() > Obj->GetZOrder()) o->SetZOrder(LayoutShifted(o->GetZOrder(), -1));
}

void TiPlotLayoutBands::Place(TCanvas* Canvas, const TiPlotPlaceArea& Area, const TiPlotLayoutBands& Bands,
                              const TObjects& All, TiPlotLayoutObject* DataView, bool ReverseAxes) {
  // 1. The pass's lists: the visible objects, in the same order.
  Clear();
  auto visible = [](const TObjects& From, TObjects& To) {
    for (TiPlotLayoutObject* o : From)
      if (o->GetVisible()) To.push_back(o);
  };
  visible(Bands.Top, Top);
  visible(Bands.Bottom, Bottom);
  visible(Bands.Left, Left);
  visible(Bands.Right, Right);
  TopCount = LayoutDistinctBands(Top);
  BottomCount = LayoutDistinctBands(Bottom);
  LeftCount = LayoutDistinctBands(Left);
  RightCount = LayoutDistinctBands(Right);

  // 2. Neighbour flags.
  for (const TObjects* list : {&Left, &Right, &Top, &Bottom}) LayoutNeighbours(*list);

  // 3.-4. Reserves around the data view.
  const int64_t d = Area.Border;
  const int64_t leftReserve =
      std::max<int64_t>({LayoutStackDepth(Left, Canvas), LayoutOverhang(Top, true, Canvas),
                         LayoutOverhang(Bottom, true, Canvas)});
  const int64_t rightReserve =
      std::max<int64_t>({LayoutStackDepth(Right, Canvas), LayoutOverhang(Top, false, Canvas),
                         LayoutOverhang(Bottom, false, Canvas)});
  const int64_t topReserve =
      std::max<int64_t>({LayoutStackDepth(Top, Canvas), LayoutOverhang(Left, false, Canvas),
                         LayoutOverhang(Right, false, Canvas)});
  const int64_t bottomReserve =
      std::max<int64_t>({LayoutStackDepth(Bottom, Canvas), LayoutOverhang(Left, true, Canvas),
                         LayoutOverhang(Right, true, Canvas)});

  // 5. A lone toolbar above leaves room for the vertical objects' upper ends below it.
  int64_t a = 0;
  if (Top.size() == 1 && LayoutIsToolBar(Top.front()))
    a = std::max(LayoutOverhang(Left, false, Canvas), LayoutOverhang(Right, false, Canvas));

  // 6. The first data-view rectangle.
  const TRect dv{PlotPixel(int64_t(Area.MarginLeft) + d + leftReserve),
                 PlotPixel(int64_t(Area.MarginTop) + d + topReserve + a),
                 PlotPixel(int64_t(Area.Width) - (int64_t(Area.MarginRight) + d + rightReserve) - 1),
                 PlotPixel(int64_t(Area.Height) - (int64_t(Area.MarginBottom) + d + bottomReserve) - 1)};

  // 7. Stacking across the bands.
  LayoutStack(Left.rbegin(), Left.rend(), Left, dv.Left, -1, Canvas,
              [](TiPlotLayoutObject* o, int64_t edge, int32_t t) {
                o->SetLayoutRectLeft(PlotPixel(edge - t));
                o->SetLayoutRectRight(PlotPixel(edge));
              });
  LayoutStack(Right.begin(), Right.end(), Right, dv.Right, +1, Canvas,
              [](TiPlotLayoutObject* o, int64_t edge, int32_t t) {
                o->SetLayoutRectLeft(PlotPixel(edge));
                o->SetLayoutRectRight(PlotPixel(edge + t));
              });
  bool movedByA = false;
  int64_t shift = 0;  // the one move by A, carried into every later band
  LayoutStack(Top.begin(), Top.end(), Top, dv.Top, -1, Canvas,
              [&](TiPlotLayoutObject* o, int64_t edge, int32_t t) {
                if (!movedByA && !LayoutIsAxis(o)) {
                  movedByA = true;
                  shift = a;
                }
                edge -= shift;
                if (LayoutIsToolBar(o)) {
                  o->SetLayoutRectTop(PlotPixel(d));
                  o->SetLayoutRectBottom(PlotPixel(d + o->RequiredThickness(Canvas)));
                } else {
                  o->SetLayoutRectTop(PlotPixel(edge - t));
                  o->SetLayoutRectBottom(PlotPixel(edge));
                }
              });
  LayoutStack(Bottom.rbegin(), Bottom.rend(), Bottom, dv.Bottom, +1, Canvas,
              [](TiPlotLayoutObject* o, int64_t edge, int32_t t) {
                o->SetLayoutRectTop(PlotPixel(edge));
                o->SetLayoutRectBottom(PlotPixel(edge + t));
              });

  // 8. The data view's first rectangle.
  if (DataView) DataView->SetLayoutRect(dv);

  // 9. Placement along the bands, for every object, visible or not.
  const long double w = int64_t(dv.Right) - dv.Left, h = int64_t(dv.Bottom) - dv.Top;
  for (TiPlotLayoutObject* o : All) {
    const TiLayoutKind kind = LayoutKindOf(o);
    if (kind == TiLayoutKind::DataView || kind == TiLayoutKind::Placeholder) continue;
    const long double start = o->GetStartPercent(), stop = o->GetStopPercent();
    if (o->IsHorizontal()) {
      if (kind == TiLayoutKind::ToolBar) {
        const long double span = int64_t(Area.Width) - 2 * d;
        o->SetLayoutRectLeft(PlotPixel(d + PlotRoundPixel(start / 100 * span)));
        o->SetLayoutRectRight(PlotPixel(d + PlotRoundPixel(stop / 100 * span) - 1));
      } else if (kind == TiLayoutKind::Label) {
        const long double span = int64_t(Area.Width) - d - Area.MarginLeft - Area.MarginRight;
        o->SetLayoutRectLeft(PlotPixel(d + Area.MarginLeft + PlotRoundPixel(start / 100 * span)));
        o->SetLayoutRectRight(PlotPixel(d + Area.MarginLeft + PlotRoundPixel(stop / 100 * span)));
      } else if (kind != TiLayoutKind::Other) {
        o->SetLayoutRectLeft(PlotPixel(dv.Left + int64_t(PlotRoundPixel(w * start / 100))));
        o->SetLayoutRectRight(PlotPixel(dv.Left + int64_t(PlotRoundPixel(w * stop / 100))));
      }
    } else if (kind != TiLayoutKind::ToolBar && kind != TiLayoutKind::Other) {
      o->SetLayoutRectTop(PlotPixel(dv.Bottom - int64_t(PlotRoundPixel(h * stop / 100))));
      o->SetLayoutRectBottom(PlotPixel(dv.Bottom - int64_t(PlotRoundPixel(h * start / 100))));
    }
  }

#ifdef PL_LAYOUT_HAS_AXIS
  // 10.-11. Cartesian axes cross the data view: masters through its middle, children at their
  // reference axis's value.
  for (TiPlotLayoutObject* o : All) {
    TiPlotAxis* axis = LayoutAxis(o);
    if (!axis) continue;
    if (axis->GetCartesianStyle() == ipcsMaster) {
      if (axis->IsHorizontal()) {
        const int32_t y = PlotPixel((int64_t(dv.Top) + dv.Bottom) / 2);
        axis->SetLayoutRect(TRect{dv.Left, y, dv.Right, y});
      } else {
        const int32_t x = PlotPixel((int64_t(dv.Left) + dv.Right) / 2);
        axis->SetLayoutRect(TRect{x, dv.Top, x, dv.Bottom});
      }
    } else if (axis->GetCartesianStyle() == ipcsChild) {
      TiPlotAxis* ref = axis->CartesianChildRefAxis();
      if (!ref) {
        axis->SetLayoutRect(TRect{0, 0, 0, 0});
      } else {
        const int32_t p = ref->ValueToPosition(axis->GetCartesianChildRefValue());
        axis->SetLayoutRect(axis->IsHorizontal() ? TRect{dv.Left, p, dv.Right, p}
                                                 : TRect{p, dv.Top, p, dv.Bottom});
      }
    }
  }

  // 12. Aligned axes take their reference's extent along the band and its neighbours.
  for (TiPlotLayoutObject* o : All) {
    TiPlotAxis* axis = LayoutAxis(o);
    if (!axis) continue;
    TiPlotAxis* ref = axis->AlignRefAxis();
    if (!ref) continue;
    if (axis->IsHorizontal()) {
      axis->SetLayoutRectLeft(ref->GetLayoutRect().Left);
      axis->SetLayoutRectRight(ref->GetLayoutRect().Right);
    } else {
      axis->SetLayoutRectTop(ref->GetLayoutRect().Top);
      axis->SetLayoutRectBottom(ref->GetLayoutRect().Bottom);
    }
    axis->SetHasPrevNeighbour(ref->GetHasPrevNeighbour());
    axis->SetHasNextNeighbour(ref->GetHasNextNeighbour());
    axis->CalcScaleGeometry(Canvas);
  }
#endif

  // 13. The data view becomes the envelope of the axes' scales (empty without axes).
  if (!DataView) return;
  int32_t top = Area.Height, bottom = 0, left = Area.Width, right = 0;
#ifdef PL_LAYOUT_HAS_AXIS
  for (TiPlotLayoutObject* o : All) {
    TiPlotAxis* axis = LayoutAxis(o);
    if (!axis) continue;
    axis->CalcScaleGeometry(Canvas);
    const TRect& s = axis->GetScaleRect();
    // Y axes give the height unless the axes are exchanged.
    if ((LayoutKindOf(o) == TiLayoutKind::YAxis) != ReverseAxes) {
      top = std::min(top, s.Top);
      bottom = std::max(bottom, s.Bottom);
    } else {
      left = std::min(left, s.Left);
      right = std::max(right, s.Right);
    }
  }
#else
  (void)ReverseAxes;
#endif
  DataView->SetLayoutRect(TRect{left, top, right, bottom});
}

// ============================================================================================
// layout manager
// ============================================================================================

const TClassInfo& TiPlotLayoutManager::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiPlotLayoutManager, TiPlotObjectManagerCustom>("TiPlotLayoutManager");
  return info;
}

TiPlotLayoutManager::TiPlotLayoutManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                         const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                         const TNotifyEvent& AOnChange)
    : TiPlotObjectManagerCustom(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange) {
  FActive = false;
  // The placeholders enter this manager through the insert handler, which must know it first.
  AfterConstruction();
  FDataViewHorz = new TiPlotDataViewHorz(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange);
  FDataViewHorz->SetHorizontal(true);
  FDataViewHorz->SetZOrder(1);
  FDataViewHorz->SetName("Data View");
  FDataViewVert = new TiPlotDataViewVert(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange);
  FDataViewVert->SetHorizontal(false);
  FDataViewVert->SetZOrder(1);
  FDataViewVert->SetName("Data View");
  FDataViewHorz->DoInserted();
  FDataViewVert->DoInserted();
  AddToList(FDataViewHorz);
  AddToList(FDataViewVert);
  FActive = true;
}

TiPlotLayoutManager::~TiPlotLayoutManager() {
  // Freeing the placeholders reaches this manager again through the remove handler.
  FActive = false;
  TiPlotObject::FreeObject(FDataViewHorz);
  FDataViewHorz = nullptr;
  TiPlotObject::FreeObject(FDataViewVert);
  FDataViewVert = nullptr;
  FBands.Clear();
  FPlaced.Clear();
}

TiPlotObject* TiPlotLayoutManager::CreateObject() {
  // A call reaches the abstract slot: the framework's abstract-call error.
  throw Exception("Abstract Error");
}

TiPlotLayoutBands::TObjects TiPlotLayoutManager::LayoutObjects() const {
  TiPlotLayoutBands::TObjects out;
  for (TiPlotObject* obj : List())
    if (auto* o = dynamic_cast<TiPlotLayoutObject*>(obj)) out.push_back(o);
  return out;
}

void TiPlotLayoutManager::Add(TiPlotObject* Obj) {
  auto* o = dynamic_cast<TiPlotLayoutObject*>(Obj);
  if (!o) return;
  AddToList(o);
  const TiLayoutKind kind = LayoutKindOf(o);
  // Every kind the layout places follows its own changes; the placeholders wait for the next
  // re-layout.
  if (kind != TiLayoutKind::Placeholder)
    o->SetOnLayoutChange(TNotifyEvent(this, &TiPlotLayoutManager::LayoutChanged));
  if (kind == TiLayoutKind::XAxis) o->SetHorizontal(!FXYAxesReverse);
  if (kind == TiLayoutKind::YAxis) o->SetHorizontal(FXYAxesReverse);
  if (FActive) InsertAt(o, 0, 0);
}

void TiPlotLayoutManager::AfterRemove(TiPlotObject* Obj) {
  auto* o = dynamic_cast<TiPlotLayoutObject*>(Obj);
  if (!o) return;
  FBands.Remove(o);
  FPlaced.Remove(o);
  if (FActive) CloseGap(o);
}

void TiPlotLayoutManager::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (FActive) Relayout();
}

void TiPlotLayoutManager::SetXYAxesReverse(bool Value) {
  if (FXYAxesReverse == Value) return;
  FXYAxesReverse = Value;
  if (FActive) ReorientAxes();
}

void TiPlotLayoutManager::InsertAt(TiPlotLayoutObject* Obj, int32_t Value, int32_t Mode) {
  TiPlotLayoutBands::InsertAt(LayoutObjects(), Obj, Value, Mode);
  Relayout();
}

void TiPlotLayoutManager::CloseGap(TiPlotLayoutObject* Obj) {
  TiPlotLayoutBands::CloseGap(LayoutObjects(), Obj);
  Relayout();
}

void TiPlotLayoutManager::Relayout() {
  if (!FActive) return;
  FBands.Sort(LayoutObjects(), FDataViewHorz, FDataViewVert);
}

void TiPlotLayoutManager::ReorientAxes() {
  // In the order of each ZOrder as unpadded text, a later axis first among equal keys.
  std::vector<std::pair<AnsiString, TiPlotLayoutObject*>> axes;
  for (TiPlotLayoutObject* o : LayoutObjects()) {
    if (!LayoutIsAxis(o)) continue;
    std::pair<AnsiString, TiPlotLayoutObject*> entry{IntToStr(o->GetZOrder()), o};
    auto at = std::lower_bound(axes.begin(), axes.end(), entry,
                               [](const auto& a, const auto& b) { return a.first < b.first; });
    axes.insert(at, entry);
  }
  for (auto& [key, axis] : axes) {
    CloseGap(axis);
    axis->SetHorizontal(LayoutKindOf(axis) == TiLayoutKind::XAxis ? !FXYAxesReverse : FXYAxesReverse);
    InsertAt(axis, 0, 0);
  }
}

void TiPlotLayoutManager::PlaceObjects(TCanvas* Canvas, const TiPlotPlaceArea& Area,
                                       TiPlotLayoutObject* DataView) {
  FPlaced.Place(Canvas, Area, FBands, LayoutObjects(), DataView, FXYAxesReverse);
}
