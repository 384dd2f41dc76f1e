// One plot holding an object of every kind the plot offers, painted for people to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/runtime/SysUtils.h"
#include "plot/iPlot.h"
#include "plot/iPlotAnnotation.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotManagers.h"
#include "plot/iPlotMasterManager.h"
#include "plot/iPlotTable.h"
#include "plot/iXYPlotChannel.h"
#include "tests/plot/support/PlotTestCanvas.h"
#include "tests/support/TestOutput.h"
#include "widgets/iVCLComponent.h"

namespace {

TEST(PlotEveryKind, OnePlotHoldsAnObjectOfEachKind) {
  TiPlot plot(nullptr);
  plot.SetBounds(0, 0, 800, 480);
  TiPlotChannel* trace = plot.GetChannel(0);
  for (int i = 0; i <= 200; ++i) trace->AddPointXY(i / 2.0, 50 + 30 * std::sin(i / 16.0));
  plot.Master()->SetChannelClass(&PlotClassOf<TiXYPlotChannel>());
  auto* xy = dynamic_cast<TiXYPlotChannel*>(plot.TiPlotComponent::GetChannel(plot.AddChannel()));
  ASSERT_NE(xy, nullptr);
  for (double t = 0; t <= 6.3; t += 0.3) xy->AddPointXY(70 + 15 * std::cos(t), 40 + 20 * std::sin(t));

  plot.GetLimit(plot.AddLimit());  // the default: a line at 50
  TiPlotAnnotation* note = plot.GetAnnotation(plot.AddAnnotation());
  note->SetStyle(ipasTextBox);
  note->SetText("Annotation");
  note->SetBrushColor(TColor(0x404000));
  note->GetFont()->SetColor(clWhite);
  note->SetX(20);
  note->SetY(85);
  TiPlotAnnotation* box = plot.GetAnnotation(plot.AddAnnotation());
  box->SetStyle(ipasEllipse);
  box->SetReference(iprtChannel);
  box->SetChannelName(trace->GetName());
  box->SetX(30);
  box->SetY(25);
  box->SetWidth(8);
  box->SetHeight(10);
  box->SetBrushColor(TColor(0x800000));
  box->SetPenColor(clYellow);

  TiPlotTable* table = plot.GetTable(plot.AddTable());
  table->AddColumn("Name");
  table->AddColumn("Value");
  for (int i = 1; i <= 8; ++i) table->AddRow("Row " + IntToStr(i) + "\r\n" + IntToStr(i * 11));
  table->SetRowsMax(5);

  TiPlotDataCursor* cursor = plot.GetDataCursor(0);
  cursor->SetChannelName(trace->GetName());
  cursor->SetVisible(true);

  plot_test::TPlotTestCanvas canvas(800, 480);
  ASSERT_NO_THROW(plot.PaintToCanvas(canvas.Canvas()));
  EXPECT_TRUE(xy->GetPaintEnabled());
  EXPECT_FALSE(cursor->GetText().empty());
  EXPECT_TRUE(table->GetDownButton()->GetVisible());
  const std::string file = OutputPath("plot_every_kind.png");
  ExportPngFile(&plot, file, 9);
  EXPECT_GT(std::filesystem::file_size(file), 1000u);
}

}  // namespace
