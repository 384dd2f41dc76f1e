// Test support for the layout: stand-in layout objects of fixed thickness and end room, made on a
// stub host, and a set of them to number and place.
#pragma once

#include <memory>
#include <vector>

#include "plot/iPlotLayoutManager.h"
#include "tests/plot/support/PlotHostStub.h"

namespace layout_test {

// A layout object that needs fixed room.
class TStandIn : public TiPlotLayoutObject {
 public:
  using TiPlotLayoutObject::TiPlotLayoutObject;
  int32_t RequiredThickness(TCanvas*) override { return Thickness; }
  int32_t RequiredEndMargin(TCanvas*) override { return EndMargin; }
  int32_t Thickness = 0;
  int32_t EndMargin = 0;
};

// Objects made on one stub host, freed with it; All() lists them in creation order.
class TObjectSet {
 public:
  ~TObjectSet() {
    for (auto it = owned_.rbegin(); it != owned_.rend(); ++it) TiPlotObject::FreeObject(*it);
  }
  template <class T = TStandIn>
  T* Make(bool Horizontal, int32_t ZOrder, double Start = 0, double Stop = 100) {
    T* o = new T(&Host, H.OnRename, H.OnRemove, H.OnInsert, H.OnChange);
    o->SetHorizontal(Horizontal);
    o->SetZOrder(ZOrder);
    o->SetPercents(Start, Stop);
    owned_.push_back(o);
    all_.push_back(o);
    return o;
  }
  // The two data-view placeholders at band 1.
  void MakePlaceholders() {
    Horz = Make<TiPlotDataViewHorz>(true, 1);
    Vert = Make<TiPlotDataViewVert>(false, 1);
  }
  const TiPlotLayoutBands::TObjects& All() const { return all_; }

  TPlotHostStub Host;
  TPlotHandlerCounts H;
  TiPlotLayoutObject* Horz = nullptr;
  TiPlotLayoutObject* Vert = nullptr;

 private:
  std::vector<TiPlotObject*> owned_;
  TiPlotLayoutBands::TObjects all_;
};

}  // namespace layout_test
