// The pixel memory every device context draws on: 32-bit BGRA, rows top-down without padding,
// and the bridge that lets the window manager point a device context at one.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/os/gdi/GdiTypes.h"

// A 32-bit surface: pixel (x, y) is Pixels[y * Width + x], laid out 0xAARRGGBB (bytes B, G, R, A).
// Owned surfaces allocate zeroed memory; external ones draw on memory the caller keeps alive.
class TSurface {
 public:
  // The largest surface we allocate: 2^28 pixels (1 GiB); larger raises EOutOfResources.
  static constexpr int64_t kMaxPixels = int64_t(1) << 28;

  TSurface() = default;
  // Zeroed pixels; width or height <= 0 gives an empty surface.
  TSurface(int32_t width, int32_t height);
  // Draws on the caller's memory (width * height pixels).
  TSurface(uint32_t* external, int32_t width, int32_t height);
  TSurface(const TSurface&) = delete;
  TSurface& operator=(const TSurface&) = delete;

  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Stride = 0;  // bytes per row: Width * 4
  uint32_t* Pixels = nullptr;

  bool Empty() const { return Pixels == nullptr || Width <= 0 || Height <= 0; }
  uint32_t* Row(int32_t y) const { return Pixels + int64_t(y) * Width; }
  // Discards the pixels and allocates zeroed ones (owned) at the new size.
  void Resize(int32_t width, int32_t height);

  // Bumped by every drawing call that may have changed the pixels (lets holders of converted
  // copies know when to refresh them).
  uint64_t Generation = 0;

 private:
  std::unique_ptr<uint32_t[]> owned_;
};

// Checks a requested size against TSurface::kMaxPixels; raises EOutOfResources when too large.
void CheckSurfaceSize(int64_t width, int64_t height);

// A DC drawing onto an existing surface (window backing stores, the virtual screen).  The
// surface must outlive the DC; DeleteDC releases the DC only.
HDC CreateSurfaceDC(TSurface* surface);
// Device point (0, 0) of the DC is surface point (x, y); independent of the window and viewport
// origins.  Drawing outside the surface is clipped.
void SetDCSurfaceOrigin(HDC hdc, int x, int y);
// The system clip in device coordinates of the DC (the region is copied; nullptr = no limit).
// The application's clip region intersects it.
void SetDCVisibleRegion(HDC hdc, HRGN rgn);
// The surface a DC draws on (a memory DC: its selected bitmap's), or nullptr.
TSurface* GetDCSurface(HDC hdc);
// The pixels of a bitmap, or nullptr.
TSurface* GetBitmapSurface(HBITMAP bitmap);
