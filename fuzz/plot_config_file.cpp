// A plot's "Plot Config" property file and its annotation file: any file either loads or ends in
// the reader's own error, and what the plot then saves loads back.  The first input byte picks the
// reader (bit 0: annotations); the rest is the file.
#include "fuzz/support/FuzzSupport.h"
#include "plot/iPlot.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 1 << 14) return 0;
  const bool annotations = data[0] & 1;
  const std::string in = fuzz::TempPath("plot.cfg"), out = fuzz::TempPath("plot-saved.cfg");
  fuzz::WriteTempFile(in, data + 1, size - 1);
  TiPlot plot(nullptr);
  if (annotations) {
    fuzz::Expect([&] { plot.LoadAnnotationsFromFile(in); });
    plot.SaveAnnotationsToFile(out);
  } else {
    fuzz::Expect([&] { plot.LoadPropertyFile(in); });
    plot.SavePropertyFile(out);
  }
  TiPlot back(nullptr);
  try {
    if (annotations)
      back.LoadAnnotationsFromFile(out);
    else
      back.LoadPropertyFile(out);
  } catch (const Exception& e) {
    fuzz::Fail("a saved file does not load back: " + e.Message);
  }
  if (back.ChannelCount() != plot.ChannelCount() || back.AnnotationCount() != plot.AnnotationCount() ||
      back.LimitCount() != plot.LimitCount() || back.XAxisCount() != plot.XAxisCount())
    fuzz::Fail("a saved file loads back other counts");
  for (int32_t i = 0; i < plot.ChannelCount(); ++i)
    if (back.TiPlotComponent::GetChannel(i)->ClassType().Name() !=
        plot.TiPlotComponent::GetChannel(i)->ClassType().Name())
      fuzz::Fail("a saved file loads back a channel of another class");
  return 0;
}
