// Icon files: the drawing layer's reader at several sizes, drawn; then TIcon and TPicture.
#include "fuzz/support/Pictures.h"
#include "platform/os/gdi/Icons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::TSmallDC dc;
  for (int want : {16, 32}) {
    fuzz::Expect([&] {
      HICON icon = CreateIconFromIcoFile(data, size, want);
      DrawIconEx(dc.Handle(), 1, 1, icon, 0, 0, 0, nullptr, DI_NORMAL);
      DrawIconEx(dc.Handle(), 0, 0, icon, 70, 5, 0, nullptr, DI_NORMAL);
      std::vector<uint8_t> back = IconToIcoFile(icon);
      DestroyIcon(icon);
      // What the writer made, the reader takes.
      try {
        DestroyIcon(CreateIconFromIcoFile(back.data(), back.size(), want));
      } catch (const Exception& e) {
        fuzz::Fail("a written icon file does not read back: " + e.Message);
      }
    });
  }
  fuzz::LoadGraphic<TIcon>(data, size, ".ico");
  return 0;
}
