#include "fuzz/support/Pictures.h"

#include "platform/os/gdi/Gdi.h"

namespace fuzz {

TSmallDC::TSmallDC() {
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateCompatibleBitmap(dc_, 64, 48);
  old_ = SelectObject(dc_, bitmap_);
}

TSmallDC::~TSmallDC() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

}  // namespace fuzz
