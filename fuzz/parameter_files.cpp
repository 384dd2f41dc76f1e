// "Config.dat" and ".PAR" parameter files: the input is read as an image with and without the
// settings record, and as both files; what reads writes back to the same bytes.
#include <cstring>

#include "app/Settings.h"
#include "fuzz/support/FuzzSupport.h"

namespace {

void ParameterRoundTrip(std::string_view bytes, bool withLink) {
  TLinkSettings link;
  TParameterBody body;
  try {
    ReadParameterBytes(bytes, withLink, link, body);
  } catch (const EReadError&) {
    return;
  }
  // Counts of 0 and below read as empty lists, and caption blocks as their text up to the NUL:
  // the rewritten image reads back to the same state.
  const std::string again = WriteParameterBytes(withLink ? &link : nullptr, body);
  TLinkSettings link2;
  TParameterBody body2;
  fuzz::Expect([&] { ReadParameterBytes(again, withLink, link2, body2); });
  if (withLink && std::memcmp(&link, &link2, sizeof link) != 0) fuzz::Fail("settings record changed");
  if (body2.HotKeyCaptions != body.HotKeyCaptions) fuzz::Fail("hot-key captions changed");
  if (body2.ProgramSteps.size() != body.ProgramSteps.size() ||
      body2.GoNGSteps.size() != body.GoNGSteps.size())
    fuzz::Fail("list lengths changed");
  if (WriteParameterBytes(withLink ? &link2 : nullptr, body2) != again) fuzz::Fail("image not stable");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 16) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ParameterRoundTrip(bytes, false);
  ParameterRoundTrip(bytes, true);
  for (const char* name : {"Config.dat", "Set.PAR"}) {
    const std::string path = fuzz::TempPath(name);
    fuzz::WriteTempFile(path, data, size);
    TLinkSettings link;
    TParameterBody body;
    bool hasLink = false;
    fuzz::Expect([&] { LoadParameterFile(path, link, body, hasLink); });
  }
  return 0;
}
