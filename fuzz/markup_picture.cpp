// Pictures of cell markup: the GIF reader and THTMLPicture over the input, every frame selected
// in turn and drawn.
#include "fuzz/support/FuzzSupport.h"
#include "grid/PictureContainer.h"
#include "platform/os/gdi/ImageFiles.h"
#include "platform/runtime/Streams.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  fuzz::Expect([&] { ReadGif(data, size); });
  THTMLPicture p;
  TMemoryStream s;
  if (size) s.WriteBuffer(data, int32_t(size));
  s.SetPosition(0);
  fuzz::Expect([&] { p.LoadFromStream(&s); });
  TBitmap bmp;
  bmp.SetSize(32, 32);
  const int32_t frames = p.FrameCount();
  if (frames < -1) fuzz::Fail("negative frame count");
  for (int32_t f = 1; f <= std::min(frames, 8); ++f)
    fuzz::Expect([&] {
      p.SetFrame(f);
      p.Draw(bmp.GetCanvas(), TRect{0, 0, 32, 32});
    });
  p.SetStretch(true);
  p.Draw(bmp.GetCanvas(), TRect{0, 0, 32, 32});
  return 0;
}
