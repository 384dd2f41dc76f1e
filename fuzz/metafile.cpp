// Enhanced metafiles: read, their header and description asked for, replayed onto a small
// device context at their own size, shrunk and enlarged; then TMetafile and TPicture.
#include "fuzz/support/Pictures.h"
#include "platform/os/gdi/Gdi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  fuzz::Expect([&] {
    HENHMETAFILE emf = SetEnhMetaFileBits(UINT(size), data);
    if (!emf) return;
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(emf, sizeof header, &header);
    WCHAR description[64];
    GetEnhMetaFileDescriptionW(emf, 64, description);
    fuzz::TSmallDC dc;
    for (RECT r : {RECT{0, 0, 64, 48}, RECT{2, 2, 5, 4}, RECT{-30, -30, 200, 150}}) PlayEnhMetaFile(dc.Handle(), emf, &r);
    DeleteEnhMetaFile(emf);
  });
  fuzz::LoadGraphic<TMetafile>(data, size, ".emf");
  return 0;
}
