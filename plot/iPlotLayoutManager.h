// The plot's layout: where every layout object (axes, toolbars, legends, labels, tables) sits
// around the data view.  Objects of one orientation are stacked in bands numbered by ZOrder; all
// objects of a band share it, side by side along it by StartPercent and StopPercent, and the band
// is as thick as its thickest object.  Two placeholders hold the data view's own place in the
// sequence of each orientation.
//
// TiPlotLayoutBands is the band arithmetic on a set of objects (numbering, band lists, the
// placement pass into pixel rectangles); TiPlotLayoutManager is the plot's manager of layout
// objects that keeps their band numbers consistent through it.
//
// Sections: checked pixel arithmetic / placeholders / band arithmetic / layout manager.
//
// Thread contract: UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "plot/iPlotManagers.h"
#include "plot/iPlotObjects.h"

// ============================================================================================
// checked pixel arithmetic
// ============================================================================================

// A pixel from a float: nearest, halves to even.  NaN, infinities and values beyond 32 bits raise
// EInvalidOp, so a broken size ends a layout with an error instead of undefined behaviour.
int32_t PlotRoundPixel(long double Value);
// A pixel from a wider sum; beyond 32 bits raises EIntOverflow.
int32_t PlotPixel(int64_t Value);

// ============================================================================================
// placeholders
// ============================================================================================

// The data view's place in the band sequence of one orientation: spans 0 to 100, so no object
// shares its band.  Never enters the band lists.
class TiPlotDataViewLayout : public TiPlotLayoutObject {
  PL_CLASS(TiPlotDataViewLayout)
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
};

class TiPlotDataViewHorz : public TiPlotDataViewLayout {
  PL_CLASS(TiPlotDataViewHorz)
 public:
  using TiPlotDataViewLayout::TiPlotDataViewLayout;
};

class TiPlotDataViewVert : public TiPlotDataViewLayout {
  PL_CLASS(TiPlotDataViewVert)
 public:
  using TiPlotDataViewLayout::TiPlotDataViewLayout;
};

// ============================================================================================
// band arithmetic
// ============================================================================================

// What the placement pass needs of the plot: its client size, the border width D (2 with a
// border, else 0) and the four outer margins.
struct TiPlotPlaceArea {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Border = 0;
  int32_t MarginLeft = 0;
  int32_t MarginTop = 0;
  int32_t MarginRight = 0;
  int32_t MarginBottom = 0;
};

// Four band lists over a set of layout objects and the operations on band numbers.  A band list
// runs by ZOrder and, within a band, by StartPercent rounded; an object later in the set with an
// equal key goes before the earlier ones.
class TiPlotLayoutBands {
 public:
  using TObjects = std::vector<TiPlotLayoutObject*>;

  // Horizontal objects above the data view, below it, vertical ones left and right of it.
  TObjects Top, Bottom, Left, Right;
  // Number of distinct ZOrder values of each list.
  int32_t TopCount = 0, BottomCount = 0, LeftCount = 0, RightCount = 0;

  void Clear();
  // Takes Obj out of the four lists where present.
  void Remove(TiPlotLayoutObject* Obj);
  // Sorts Objects into the four lists by the placeholders' ZOrder, setting each one's
  // AfterDataView; data views and placeholders stay out.
  void Sort(const TObjects& Objects, TiPlotLayoutObject* Horz, TiPlotLayoutObject* Vert);

  // Gives Obj band Value among Objects (the manager's set, Obj among them): mode 0 shares band
  // Value when Obj fits beside its objects, else opens a new band at Value; mode 1 opens a band
  // at Value; mode 2 opens a band just above Value.  Other modes change nothing.
  static void InsertAt(const TObjects& Objects, TiPlotLayoutObject* Obj, int32_t Value, int32_t Mode);
  // When Obj was alone in its band, every band above it moves down by one.
  static void CloseGap(const TObjects& Objects, TiPlotLayoutObject* Obj);

  // The placement pass: the visible objects of Bands are stacked around the data view; writes
  // every object's LayoutRect and neighbour flags (visible or not, data views and placeholders
  // excepted) and DataView's.  All holds every object of the manager in list order; ReverseAxes
  // says which axes give the data view's height.  The lists of this object become the pass's.
  void Place(TCanvas* Canvas, const TiPlotPlaceArea& Area, const TiPlotLayoutBands& Bands,
             const TObjects& All, TiPlotLayoutObject* DataView, bool ReverseAxes);
};

// ============================================================================================
// layout manager
// ============================================================================================

// Holds every layout object of the plot (not owning them) and keeps their band numbers
// consistent as objects come, go and turn.
class TiPlotLayoutManager : public TiPlotObjectManagerCustom {
  PL_CLASS(TiPlotLayoutManager)
 public:
  TiPlotLayoutManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename, const TNotifyEvent& AOnRemove,
                      const TNotifyEvent& AOnInsert, const TNotifyEvent& AOnChange);
  ~TiPlotLayoutManager() override;

  AnsiString GetBaseName() override { return "Layout Object"; }
  // The layout manager never creates objects.
  TiPlotObject* CreateObject() override;
  void Add(TiPlotObject* Obj) override;
  void AfterRemove(TiPlotObject* Obj) override;

  bool GetActive() const { return FActive; }
  void SetActive(bool Value);
  bool GetXYAxesReverse() const { return FXYAxesReverse; }
  void SetXYAxesReverse(bool Value);

  void InsertAt(TiPlotLayoutObject* Obj, int32_t Value, int32_t Mode);
  void CloseGap(TiPlotLayoutObject* Obj);
  // Sorts the objects into the band lists again (only while active).
  void Relayout();
  // After XYAxesReverse changed: each axis leaves its band and joins band 0 of its new orientation.
  void ReorientAxes();

  // The placement pass of the plot (run twice at the start of every paint).
  void PlaceObjects(TCanvas* Canvas, const TiPlotPlaceArea& Area, TiPlotLayoutObject* DataView);

  TiPlotDataViewHorz* GetDataViewHorz() const { return FDataViewHorz; }
  TiPlotDataViewVert* GetDataViewVert() const { return FDataViewVert; }
  const TiPlotLayoutBands& Bands() const { return FBands; }
  // The last placement pass's lists (visible objects only).
  const TiPlotLayoutBands& PlacedBands() const { return FPlaced; }
  int32_t LeftBandCount() const { return FBands.LeftCount; }
  int32_t RightBandCount() const { return FBands.RightCount; }
  int32_t TopBandCount() const { return FBands.TopCount; }
  int32_t BottomBandCount() const { return FBands.BottomCount; }

  // The manager's layout objects in list order.
  TiPlotLayoutBands::TObjects LayoutObjects() const;

 private:
  void LayoutChanged(TObject*) { Relayout(); }

  bool FXYAxesReverse = false;
  bool FActive = false;
  TiPlotDataViewHorz* FDataViewHorz = nullptr;
  TiPlotDataViewVert* FDataViewVert = nullptr;
  TiPlotLayoutBands FBands;
  TiPlotLayoutBands FPlaced;
};
