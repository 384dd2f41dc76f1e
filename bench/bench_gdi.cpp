// Drawing speed: a full-screen blit against memcpy of the same bytes (measured in the same run),
// fills (also against pixman's fill of the same rectangle, as a ratio timed interleaved), lines, DrawText,
// shapes far larger than the surface, and a full repaint with 10,000 short text runs.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "bench/Ratio.h"
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

// FillRect with a solid brush against pixman_fill of the same rectangle on the same pixels
// ("x_pixman": FillRect's time over pixman's). Small squares are filled many times a batch so
// that each batch is long enough to time.
void BM_FillRectVsPixmanFill(benchmark::State& state) {
  Mem m(kW, kH);
  BITMAP bm;
  GetObject(m.bmp, sizeof bm, &bm);
  auto* bits = static_cast<uint32_t*>(bm.bmBits);
  HBRUSH b = CreateSolidBrush(RGB(10, 20, 30));
  const int side = int(state.range(0));
  const int fills = std::max(1, 100000 / (side * side));
  RECT r{(kW - side) / 2, (kH - side) / 2, (kW + side) / 2, (kH + side) / 2};
  bench_ratio::Compare(
      state,
      {[&] {
         for (int i = 0; i < fills; ++i) FillRect(m.dc, &r, b);
         benchmark::ClobberMemory();
       },
       double(fills)},
      {{"x_pixman",
        {[&] {
           for (int i = 0; i < fills; ++i) pixman_fill(bits, kW, 32, r.Left, r.Top, side, side, 0x000A141E);
           benchmark::ClobberMemory();
         },
         double(fills)}}});
  DeleteObject(b);
}
BENCHMARK(BM_FillRectVsPixmanFill)->Arg(16)->Arg(200)->Arg(1080)->UseManualTime();

// Shapes whose nominal size dwarfs the surface: the work follows the clip (a 1920 x 1080 DIB).
void BM_HugeShapes(benchmark::State& state) {
  Mem m(kW, kH);
  const int r = int(state.range(1));
  LOGBRUSH lb{BS_SOLID, RGB(0, 0, 255), 0};
  HPEN wide = ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 20, &lb, 0, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(200, 0, 0));
  SelectObject(m.dc, brush);
  SelectObject(m.dc, state.range(0) == 0 ? GetStockObject(BLACK_PEN) : static_cast<HGDIOBJ>(wide));
  int cx = kW / 2, cy = kH / 2;
  for (auto _ : state) {
    if (state.range(0) == 0)
      Pie(m.dc, cx - r, cy - r, cx + r, cy + r, cx + r, cy, cx, cy - r);
    else
      Ellipse(m.dc, cx - r, cy - r, cx + r, cy + r);
  }
  SelectObject(m.dc, GetStockObject(BLACK_PEN));
  SelectObject(m.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(wide);
  DeleteObject(brush);
}
// (0: pie with a thin pen, 1: ellipse with a 20-pixel pen) x radius
BENCHMARK(BM_HugeShapes)
    ->Args({0, 15000})
    ->Args({0, 50000000})
    ->Args({1, 15000})
    ->Args({1, 50000000})
    ->Unit(benchmark::kMillisecond);

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
