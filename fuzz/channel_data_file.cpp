// A plot channel's data text file: any file loads into every point-list style without a crash,
// and what the channel then saves loads back to the same points.  The first input byte picks the
// style, whether the channel is a ring, whether loading clears it and the column separator its
// saving uses; the rest is the file.
#include "fuzz/support/FuzzSupport.h"
#include "fuzz/support/PlotChannel.h"
#include "platform/runtime/Streams.h"

namespace {

std::string ChannelFuzzFile(const std::string& path) {
  TFileStream f(path, fmOpenRead);
  std::string text(size_t(f.GetSize()), '\0');
  if (!text.empty()) f.ReadBuffer(text.data(), int32_t(text.size()));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 1 << 16) return 0;
  const uint8_t mode = data[0];
  const std::string in = fuzz::TempPath("channel.txt"), out = fuzz::TempPath("channel-saved.txt");
  fuzz::WriteTempFile(in, data + 1, size - 1);
  fuzz::TPlotChannelHost host;
  host.Separator = mode & 16 ? ',' : '\t';
  auto channel = fuzz::MakePlotChannel(host);
  const TiPlotDataStyle style = TiPlotDataStyle(mode & 3);
  channel->SetDataStyle(style);
  if (mode & 4) channel->SetRingBufferSize(16);
  channel->AddPointXY(-1, -1);
  fuzz::Expect([&] { channel->LoadDataFromFile(in, (mode & 8) != 0); });
  if (channel->GetCount() > 0 && channel->GetRunningCount() < channel->GetCount())
    fuzz::Fail("statistics missed points");

  channel->SaveDataToFile(out);
  auto back = fuzz::MakePlotChannel(host);
  back->SetDataStyle(style);
  try {
    back->LoadDataFromFile(out, true);
  } catch (const Exception& e) {
    fuzz::Fail("a saved file does not load back: " + e.Message);
  }
  if (back->GetCount() != channel->GetCount()) fuzz::Fail("a saved file loads back another count");
  for (int32_t i = 0; i < back->GetCount(); ++i)
    if (back->GetPointNull(i) != channel->GetPointNull(i)) fuzz::Fail("a Null point changed");
  // The interval style recomputes X from the first two points, which the text rounds; the others
  // keep their numbers exactly through a second save.
  if (style != ipdsCompactInterval) {
    const std::string again = fuzz::TempPath("channel-again.txt");
    back->SaveDataToFile(again);
    if (ChannelFuzzFile(again) != ChannelFuzzFile(out)) fuzz::Fail("a saved file changed on reloading");
  }
  return 0;
}
