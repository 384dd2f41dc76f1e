// Small helpers shared by the graphics-class tests.
#pragma once

#include "platform/ui/Graphics.h"

// The colour of one pixel of a bitmap.
inline TColor At(TBitmap& b, int x, int y) { return b.GetCanvas()->GetPixel(x, y); }
