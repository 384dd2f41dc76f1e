// Reading back the binary PPM (P6) pictures that pdftoppm renders from printed PDF files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

struct TPpm {
  int W = 0, H = 0;
  std::string Pixels;
  // 0xRRGGBB at (x, y).
  uint32_t At(int x, int y) const {
    const auto* p = reinterpret_cast<const uint8_t*>(Pixels.data()) + (size_t(y) * W + x) * 3;
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
  }
};

inline bool ReadPpm(const std::filesystem::path& file, TPpm& ppm) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int max = 0;
  in >> magic >> ppm.W >> ppm.H >> max;
  in.get();
  if (magic != "P6" || max != 255) return false;
  ppm.Pixels.resize(size_t(ppm.W) * ppm.H * 3);
  return bool(in.read(ppm.Pixels.data(), std::streamsize(ppm.Pixels.size())));
}
