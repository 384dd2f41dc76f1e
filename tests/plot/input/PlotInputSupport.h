// Test support for the plot's input, toolbar and data view: a plot that records its toolbar
// events and the operations its toolbar starts, and a window to put it on.
#pragma once

#include <string>
#include <vector>

#include "platform/runtime/Strings.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotTable.h"
#include "tests/platform/ui/controls/UiHarness.h"
#include "tests/support/UiPump.h"

namespace plot_input_test {

// A default plot whose toolbar events and started operations are logged as text
// ("Button 7", "Print"); an operation named in Failing raises instead.
class TRecordingPlot : public TiPlot {
 public:
  explicit TRecordingPlot(TComponent* AOwner) : TiPlot(AOwner) {
    OnToolBarButtonClick = TiPlotToolBarButtonEvent::Lambda([this](int32_t Index,
                                                                   TiPlotToolBarButtonType Type) {
      Log.push_back("Button " + std::to_string(int(Type)) + (Index ? " of " + std::to_string(Index) : ""));
    });
  }
  void CopyToClipboard() override { Operation("Copy"); }
  void SaveImageDialog() override { Operation("Save"); }
  void Print() override { Operation("Print"); }
  void PrintPreview() override { Operation("Preview"); }
  // The menu an object built, instead of a menu on the screen.
  void ShowPopupMenu(TPopupMenu* Menu, int32_t, int32_t) override {
    std::string items;
    for (int32_t i = 0; i < Menu->Items()->Count(); ++i)
      items += (i ? "|" : "") + Menu->Items()->Items(i)->GetCaption();
    Log.push_back("Menu " + items);
  }

  // The button-click values only, in order.
  std::vector<int> Buttons() const {
    std::vector<int> out;
    for (const auto& e : Log)
      if (e.compare(0, 7, "Button ") == 0) out.push_back(std::stoi(e.substr(7)));
    return out;
  }

  std::vector<std::string> Log;
  std::string Failing;

 private:
  void Operation(const std::string& name) {
    if (name == Failing) throw Exception("Error Printing : no printer");
    Log.push_back(name);
  }
};

// A plot of 500 x 200 pixels on a shown window, laid out by its first paint, and the mouse and
// keys that reach it.
class PlotWindow : public ui_test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = NewForm(520, 240);
    plot = ui_test::Make<TRecordingPlot>(form, form, "Plot", Rect(0, 0, 500, 200));
    ShowForm(form);
    Paint();
    x = plot->GetXAxis(0);
    y = plot->GetYAxis(0);
    view = plot->GetDataView(0);
  }
  // Paints now, so that the layout and the toolbar's buttons follow the latest changes.
  void Paint() {
    plot->RepaintNow();
    ui_test::Pump();
  }
  TPoint Screen(TPoint p) { return At(plot, p.X, p.Y); }
  static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  void Move(TPoint p) { ui_test::MoveTo(Screen(p)); }
  void Press(TPoint p, int button = VK_LBUTTON) { ui_test::Press(Screen(p), button); }
  void Release(TPoint p, int button = VK_LBUTTON) { ui_test::Release(Screen(p), button); }
  void Click(TPoint p, int button = VK_LBUTTON) {
    Press(p, button);
    Release(p, button);
  }
  // Press at From, move there in a few steps, release at To.
  void Drag(TPoint From, TPoint To) {
    Press(From);
    for (int i = 1; i <= 4; ++i) Move({From.X + (To.X - From.X) * i / 4, From.Y + (To.Y - From.Y) * i / 4});
    Release(To);
  }
  // Runs Action with a modifier key held.
  template <class F>
  void With(UINT Vk, F Action) {
    InputKey(Vk, true);
    Action();
    InputKey(Vk, false);
    ui_test::Pump();
  }
  // Moves the fake clock in steps of 10 ms with the messages they bring.
  void Wait(uint32_t Ms) { ui_pump::Run(clock_, Ms); }

  TForm* form = nullptr;
  TRecordingPlot* plot = nullptr;
  TiPlotAxis* x = nullptr;
  TiPlotAxis* y = nullptr;
  TiPlotDataView* view = nullptr;
};

}  // namespace plot_input_test
