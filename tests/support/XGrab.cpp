// Reads screen pixels from the X server (kept apart: Xlib's names clash with ours).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <vector>

bool GrabScreen(int x, int y, int width, int height, std::vector<uint32_t>& pixels) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XImage* img = XGetImage(display, DefaultRootWindow(display), x, y, unsigned(width), unsigned(height),
                          AllPlanes, ZPixmap);
  if (img) {
    pixels.resize(size_t(width) * size_t(height));
    for (int row = 0; row < height; ++row)
      for (int col = 0; col < width; ++col)
        pixels[size_t(row) * size_t(width) + size_t(col)] = uint32_t(XGetPixel(img, col, row)) & 0xFFFFFF;
    XDestroyImage(img);
  }
  XCloseDisplay(display);
  return img != nullptr;
}
