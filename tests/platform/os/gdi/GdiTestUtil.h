// A memory DC over a fresh 32-bit DIB section for pixel tests, and pixel helpers.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/os/gdi/Gdi.h"

struct Canvas32 {
  HDC dc = nullptr;
  HBITMAP bmp = nullptr;
  HGDIOBJ oldBmp = nullptr;
  uint32_t* bits = nullptr;
  int w, h;

  Canvas32(int width = 32, int height = 32) : w(width), h(height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biBitCount = 32;
    void* p = nullptr;
    bmp = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint32_t*>(p);
    dc = CreateCompatibleDC(nullptr);
    oldBmp = SelectObject(dc, bmp);
  }
  ~Canvas32() {
    SelectObject(dc, oldBmp);
    DeleteDC(dc);
    DeleteObject(bmp);
  }
  uint32_t& at(int x, int y) { return bits[y * w + x]; }
  // The colour of a pixel as 0x00RRGGBB, alpha ignored.
  uint32_t rgb(int x, int y) const { return bits[y * w + x] & 0xFFFFFF; }
  void Fill(uint32_t pixel) {
    for (int i = 0; i < w * h; ++i) bits[i] = pixel;
  }
  int Count(uint32_t rgbValue) const {
    int n = 0;
    for (int i = 0; i < w * h; ++i) n += (bits[i] & 0xFFFFFF) == rgbValue;
    return n;
  }
  // Rows as text: '#' where the pixel is rgbValue, '.' elsewhere (for readable failures).
  std::string Picture(uint32_t rgbValue, int x0, int y0, int x1, int y1) const {
    std::string s;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) s += rgb(x, y) == rgbValue ? '#' : '.';
      s += '\n';
    }
    return s;
  }
};

// Selects a GDI object for a scope and deletes it afterwards.
struct Selected {
  HDC dc;
  HGDIOBJ obj, old;
  Selected(HDC d, HGDIOBJ o) : dc(d), obj(o), old(SelectObject(d, o)) {}
  ~Selected() {
    SelectObject(dc, old);
    DeleteObject(obj);
  }
};
