// Icons beyond the original interface's calls: their pixels, and icon files for the picture
// classes.
#pragma once

#include <vector>

#include "platform/os/gdi/Gdi.h"

// The icon's picture: 32-bit, alpha 255 where opaque and 0 where transparent (nullptr if none).
TSurface* GetIconSurface(HICON icon);
// An icon from non-premultiplied 0xAARRGGBB pixels.
HICON CreateIconFromPixels(const uint32_t* argb, int width, int height);
// The entry of an icon file nearest the wanted size; EInvalidGraphic when the bytes are not one.
HICON CreateIconFromIcoFile(const uint8_t* data, size_t size, int desiredSize);
// A one-entry 32-bit icon file of the icon.
std::vector<uint8_t> IconToIcoFile(HICON icon);
