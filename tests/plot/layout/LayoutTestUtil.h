// Test support for the layout: stand-in layout objects of fixed thickness and end room, made on a
// stub host, and a set of them to number and place.
#pragma once

#include <memory>
#include <vector>

#include "plot/iPlotLayoutManager.h"
#include "tests/plot/support/PlotHostStub.h"

namespace layout_test {

// A layout object of kind Base that needs fixed room.
template <class Base>
class TSized : public Base {
 public:
  using Base::Base;
  int32_t RequiredThickness(TCanvas*) override { return Thickness; }
  int32_t RequiredEndMargin(TCanvas*) override { return EndMargin; }
  int32_t Thickness = 0;
  int32_t EndMargin = 0;
};
using TStandIn = TSized<TiPlotLayoutObject>;

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

// The master manager's part in the layout: every inserted plot object goes to the layout
// manager, every removed one leaves it.
struct TLayoutHarness {
  TLayoutHarness() {
    insert = TNotifyEvent::Lambda([this](TObject* Sender) {
      if (auto* m = dynamic_cast<TiPlotObjectManagerCustom*>(Sender)) manager = m;
      if (auto* o = dynamic_cast<TiPlotObject*>(Sender)) {
        ++inserted;
        if (manager) manager->Add(o);
      }
    });
    remove = TNotifyEvent::Lambda([this](TObject* Sender) {
      if (auto* o = dynamic_cast<TiPlotObject*>(Sender); o && manager) manager->Remove(o);
      if (Sender == manager) manager = nullptr;
    });
    layout = std::make_unique<TiPlotLayoutManager>(&host, h.OnRename, remove, insert, h.OnChange);
  }
  ~TLayoutHarness() {
    for (auto it = made.rbegin(); it != made.rend(); ++it) TiPlotObject::FreeObject(*it);
    layout.reset();
  }
  // A new object of class T inserted as the plot inserts it.
  template <class T = TStandIn>
  T* Add(bool Horizontal, double Start = 0, double Stop = 100) {
    T* o = new T(&host, h.OnRename, remove, insert, h.OnChange);
    o->SetHorizontal(Horizontal);
    o->SetPercents(Start, Stop);
    made.push_back(o);
    o->DoInserted();
    return o;
  }
  void Free(TiPlotObject* o) {
    std::erase(made, o);
    TiPlotObject::FreeObject(o);
  }
  int32_t HorzZ() const { return layout->GetDataViewHorz()->GetZOrder(); }

  TPlotHostStub host;
  TPlotHandlerCounts h;
  TNotifyEvent insert, remove;
  TiPlotObjectManagerCustom* manager = nullptr;
  std::unique_ptr<TiPlotLayoutManager> layout;
  std::vector<TiPlotObject*> made;
  int inserted = 0;
};

}  // namespace layout_test
