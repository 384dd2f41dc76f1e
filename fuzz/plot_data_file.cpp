// A plot's ".plt" data file, text or compact binary: any file either loads or is refused whole
// (the plot keeps exactly the points it had), and what the plot then saves loads back.  The first
// input byte picks the channel count (0 to 3), the point-list style and the column separator the
// plot saves with; the rest is the file.
#include <cmath>

#include "fuzz/support/FuzzSupport.h"
#include "plot/iPlot.h"
#include "plot/iPlotChannel.h"

namespace {

// What a harness's own file holds (at most a few hundred kilobytes).
std::string PlotFuzzFile(const std::string& path) { return PlotReadFileText(path, 1 << 24); }

std::vector<int32_t> PlotFuzzCounts(TiPlot& plot) {
  std::vector<int32_t> counts;
  for (int32_t c = 0; c < plot.ChannelCount(); ++c) counts.push_back(plot.GetChannel(c)->GetCount());
  return counts;
}

void PlotFuzzSetUp(TiPlot& plot, uint8_t mode) {
  plot.RemoveAllChannels();
  for (int c = 0; c < (mode & 3); ++c)
    plot.GetChannel(plot.AddChannel())->SetDataStyle(TiPlotDataStyle((mode >> 2) & 3));
  plot.SetDataFileColumnSeparator(mode & 16 ? ipdfcsComma : ipdfcsTab);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 1 << 16) return 0;
  const uint8_t mode = data[0];
  const std::string in = fuzz::TempPath("plot.plt");
  fuzz::WriteTempFile(in, data + 1, size - 1);
  TiPlot plot(nullptr);
  PlotFuzzSetUp(plot, mode);
  if (plot.ChannelCount() > 0) plot.GetChannel(0)->AddPointXY(0, 1);
  const std::vector<int32_t> before = PlotFuzzCounts(plot);
  bool loaded = false;
  fuzz::Expect([&] {
    plot.LoadDataFromFile(in);
    loaded = true;
  });
  if (!loaded && PlotFuzzCounts(plot) != before) fuzz::Fail("a refused file changed the points");
  for (int32_t c = 0; c < plot.ChannelCount(); ++c)
    for (int32_t i = 0; i < plot.GetChannel(c)->GetCount(); ++i)
      if (!std::isfinite(plot.GetChannel(c)->GetPointX(i)) ||
          !std::isfinite(plot.GetChannel(c)->GetPointY(i)))
        fuzz::Fail("a loaded point is not finite");

  // Saved as text, the points read back and save again to the same text.
  const std::string out = fuzz::TempPath("plot-saved.plt"), again = fuzz::TempPath("plot-again.plt");
  plot.SetDataFileFormat(ipdffText);
  plot.SaveDataToFile(out);
  TiPlot back(nullptr);
  PlotFuzzSetUp(back, mode);
  try {
    back.LoadDataFromFile(out);
  } catch (const Exception& e) {
    fuzz::Fail("a saved text file does not load back: " + e.Message);
  }
  if (PlotFuzzCounts(back) != PlotFuzzCounts(plot)) fuzz::Fail("a saved text file loads back other counts");
  back.SaveDataToFile(again);
  if ((mode >> 2 & 3) != ipdsCompactInterval && PlotFuzzFile(again) != PlotFuzzFile(out))
    fuzz::Fail("a saved text file changed on reloading");

  // The binary form either refuses a value it cannot carry or reads back as many points (Null and
  // Empty points keep their stored Y there).
  plot.SetDataFileFormat(ipdffCompactInterval);
  bool saved = false;
  fuzz::Expect([&] {
    plot.SaveDataToFile(out);
    saved = true;
  });
  if (saved) {
    PlotFuzzSetUp(back, mode);
    try {
      back.LoadDataFromFile(out);
    } catch (const Exception& e) {
      fuzz::Fail("a saved binary file does not load back: " + e.Message);
    }
    if (PlotFuzzCounts(back) != PlotFuzzCounts(plot))
      fuzz::Fail("a saved binary file loads back other counts");
  }
  return 0;
}
