// Drawing speed: a full-screen blit against memcpy of the same bytes (measured in the same run),
// fills, lines, DrawText, and a full repaint with 10,000 short text runs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/os/gdi/Gdi.h"

namespace {

constexpr int kW = 1920, kH = 1080;

// A memory DC over a fresh 32-bit DIB section.
struct Mem {
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  Mem(int w, int h) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biBitCount = 32;
    void* bits;
    bmp = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bmp);
  }
  ~Mem() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
  }
};

// Seconds per memcpy of one full-screen surface, best of several rounds.
double MemcpySeconds() {
  static double best = [] {
    std::vector<uint32_t> a(size_t(kW) * kH, 1), b(size_t(kW) * kH);
    double t = 1e9;
    for (int round = 0; round < 30; ++round) {
      auto t0 = std::chrono::steady_clock::now();
      std::memcpy(b.data(), a.data(), a.size() * 4);
      benchmark::DoNotOptimize(b.data());
      auto t1 = std::chrono::steady_clock::now();
      t = std::min(t, std::chrono::duration<double>(t1 - t0).count());
    }
    return t;
  }();
  return best;
}

void BM_Memcpy1080p(benchmark::State& state) {
  std::vector<uint32_t> a(size_t(kW) * kH, 1), b(size_t(kW) * kH);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
}
BENCHMARK(BM_Memcpy1080p);

void BM_BitBltSrcCopy1080p(benchmark::State& state) {
  Mem src(kW, kH), dst(kW, kH);
  double best = 1e9;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    BitBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, SRCCOPY);
    auto t1 = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
  // Speed relative to memcpy of the same bytes (1.0 = as fast; the target is at least 0.5).
  state.counters["speed_vs_memcpy"] = MemcpySeconds() / best;
}
BENCHMARK(BM_BitBltSrcCopy1080p);

void BM_FillRect(benchmark::State& state) {
  Mem m(kW, kH);
  HBRUSH b = CreateSolidBrush(RGB(10, 20, 30));
  int side = int(state.range(0));
  int i = 0;
  for (auto _ : state) {
    RECT r{(i * 37) % (kW - side + 1), (i * 53) % (kH - side + 1), 0, 0};
    r.Right = r.Left + side, r.Bottom = r.Top + side;
    FillRect(m.dc, &r, b);
    ++i;
  }
  state.counters["pixels_per_s"] =
      benchmark::Counter(double(side) * side, benchmark::Counter::kIsIterationInvariantRate);
  DeleteObject(b);
}
BENCHMARK(BM_FillRect)->Arg(16)->Arg(200)->Arg(1080);

void BM_LineTo(benchmark::State& state) {
  Mem m(kW, kH);
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(200, 0, 0));
  SelectObject(m.dc, pen);
  int i = 0;
  for (auto _ : state) {
    MoveToEx(m.dc, (i * 37) % kW, (i * 53) % kH, nullptr);
    LineTo(m.dc, (i * 91) % kW, (i * 13) % kH);
    ++i;
  }
  SelectObject(m.dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}
BENCHMARK(BM_LineTo);

HFONT UiFont() {
  LOGFONT lf;
  lf.lfHeight = -11;
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  return CreateFontIndirect(&lf);
}

void BM_DrawText(benchmark::State& state) {
  Mem m(400, 100);
  HFONT f = UiFont();
  SelectObject(m.dc, f);
  SetBkMode(m.dc, TRANSPARENT);
  RECT r{0, 0, 200, 24};
  for (auto _ : state) {
    RECT rr = r;
    DrawText(m.dc, "Voltage 12.345 V", -1, &rr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  SelectObject(m.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(f);
}
BENCHMARK(BM_DrawText);

// A whole screen repainted: background, then 10,000 short text runs.
void BM_Repaint1080pWith10kTextRuns(benchmark::State& state) {
  Mem m(kW, kH);
  HFONT f = UiFont();
  SelectObject(m.dc, f);
  SetBkMode(m.dc, TRANSPARENT);
  HBRUSH bg = GetSysColorBrush(COLOR_BTNFACE);
  std::vector<std::string> runs;
  for (int i = 0; i < 10000; ++i) runs.push_back(std::to_string(i * 7919 % 100000) + " mV");
  for (auto _ : state) {
    RECT all{0, 0, kW, kH};
    FillRect(m.dc, &all, bg);
    for (int i = 0; i < 10000; ++i) {
      const std::string& s = runs[size_t(i)];
      TextOut(m.dc, (i % 100) * 19, (i / 100) * 10, s.c_str(), int(s.size()));
    }
  }
  SelectObject(m.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(f);
}
BENCHMARK(BM_Repaint1080pWith10kTextRuns)->Unit(benchmark::kMillisecond);

}  // namespace
