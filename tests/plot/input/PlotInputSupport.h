// Test support for the plot's input, toolbar and data view: a plot that records its toolbar
// events and the operations its toolbar starts, and a window to put it on.
#pragma once

#include <string>
#include <vector>

#include "platform/runtime/Strings.h"
#include "plot/iPlot.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"

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

}  // namespace plot_input_test
