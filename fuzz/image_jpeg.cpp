// JPEG files: the decoder, TJPEGImage and TPicture.
#include "fuzz/support/Pictures.h"
#include "platform/os/gdi/ImageFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Expect([&] { ReadJpeg(data, size); });
  fuzz::LoadGraphic<TJPEGImage>(data, size, ".jpg");
  return 0;
}
