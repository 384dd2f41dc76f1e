// PNG files: the decoder, TPngImage and TPicture.
#include "fuzz/support/Pictures.h"
#include "platform/os/gdi/ImageFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Expect([&] { ReadPng(data, size); });
  fuzz::LoadGraphic<TPngImage>(data, size, ".png");
  return 0;
}
