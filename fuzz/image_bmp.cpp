// BMP files: the decoder, TBitmap and TPicture.
#include "fuzz/support/Pictures.h"
#include "platform/os/gdi/ImageFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Expect([&] { ReadBmp(data, size); });
  fuzz::LoadGraphic<TBitmap>(data, size, ".bmp");
  return 0;
}
