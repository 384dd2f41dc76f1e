// Image codecs: round trips, the depths BMP readers meet, and bad input.
#include <cstdlib>
#include <cstring>

#include "GdiTestUtil.h"
#include "tests/support/TestOutput.h"
#include "platform/os/gdi/ImageFiles.h"
#include "platform/runtime/Exceptions.h"

namespace {

std::vector<uint32_t> Gradient(int w, int h) {
  std::vector<uint32_t> px(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px[size_t(y) * w + x] = uint32_t((x * 255 / w) << 16 | (y * 255 / h) << 8 | ((x + y) & 0xFF));
  return px;
}

TEST(Images, BmpRoundTrips) {
  std::vector<uint32_t> px = Gradient(13, 7);  // odd width: rows are padded
  for (int bpp : {24, 32}) {
    std::vector<uint8_t> file = WriteBmp(px.data(), 13, 7, bpp);
    TRasterImage img = ReadBmp(file.data(), file.size());
    ASSERT_EQ(img.Width, 13);
    ASSERT_EQ(img.Height, 7);
    EXPECT_EQ(img.BitsPerPixel, bpp);
    EXPECT_EQ(img.Pixels, px);
  }
  // Palette depths keep their indices and colours.
  std::vector<RGBQUAD> pal = {{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}};
  for (int bpp : {1, 4, 8}) {
    std::vector<uint8_t> idx(9 * 5);
    for (size_t i = 0; i < idx.size(); ++i) idx[i] = uint8_t(bpp == 1 ? i % 2 : i % 4);
    std::vector<uint8_t> file = WriteBmpIndexed(idx.data(), 9, 5, bpp, pal);
    TRasterImage img = ReadBmp(file.data(), file.size());
    EXPECT_EQ(img.BitsPerPixel, bpp);
    EXPECT_EQ(img.Indices, idx);
    EXPECT_EQ(img.Pixels[1], 0x0000FFu);  // index 1: blue 255 in the table's first byte
  }
}

TEST(Images, PngRoundTripsExactlyAndJpegKeepsSize) {
  std::vector<uint32_t> px = Gradient(40, 30);
  for (bool alpha : {false, true}) {
    std::vector<uint32_t> src = px;
    if (alpha) src[5] |= 0x80000000u;
    for (int level : {0, 9}) {
      std::vector<uint8_t> file = WritePng(src.data(), 40, 30, level, alpha);
      TRasterImage img = ReadPng(file.data(), file.size());
      EXPECT_EQ(img.Pixels, src);
      EXPECT_EQ(img.HasAlpha, alpha);
    }
  }
  for (bool progressive : {false, true}) {
    std::vector<uint8_t> file = WriteJpeg(px.data(), 40, 30, 100, progressive);
    // A progressive file starts its frame with the SOF2 marker.
    bool sof2 = false;
    for (size_t i = 0; i + 1 < file.size(); ++i) sof2 |= file[i] == 0xFF && file[i + 1] == 0xC2;
    EXPECT_EQ(sof2, progressive);
    TRasterImage img = ReadJpeg(file.data(), file.size());
    EXPECT_EQ(img.Width, 40);
    EXPECT_EQ(img.Height, 30);
    int worst = 0;
    for (size_t i = 0; i < px.size(); ++i)
      for (int c = 0; c < 24; c += 8)
        worst = std::max(worst, std::abs(int((img.Pixels[i] >> c) & 0xFF) - int((px[i] >> c) & 0xFF)));
    EXPECT_LT(worst, 24);
  }
  std::vector<uint8_t> low = WriteJpeg(px.data(), 40, 30, 5, false),
                       high = WriteJpeg(px.data(), 40, 30, 100, false);
  EXPECT_LT(low.size(), high.size());
}

TEST(Images, BadInputRaisesClearErrors) {
  std::vector<uint32_t> px = Gradient(16, 16);
  std::vector<uint8_t> bmp = WriteBmp(px.data(), 16, 16, 24), png = WritePng(px.data(), 16, 16, 6, false),
                       jpg = WriteJpeg(px.data(), 16, 16, 90, false);
  auto cut = [](std::vector<uint8_t> v) {
    v.resize(v.size() / 2);
    return v;
  };
  std::vector<uint8_t> b = cut(bmp), p = cut(png), j = cut(jpg), junk(100, 0x42);
  EXPECT_THROW(ReadBmp(b.data(), b.size()), EInvalidGraphic);
  EXPECT_THROW(ReadPng(p.data(), p.size()), EInvalidGraphic);
  EXPECT_THROW(ReadJpeg(j.data(), j.size()), EInvalidGraphic);
  EXPECT_THROW(ReadBmp(junk.data(), junk.size()), EInvalidGraphic);
  EXPECT_THROW(ReadPng(junk.data(), junk.size()), EInvalidGraphic);
  EXPECT_THROW(ReadJpeg(junk.data(), junk.size()), EInvalidGraphic);
  // A scan cut short but closed by an end marker is as corrupt as a file that ends early.
  for (bool progressive : {false, true}) {
    std::vector<uint8_t> closed = WriteJpeg(px.data(), 16, 16, 90, progressive);
    size_t scan = 0;
    while (scan + 4 < closed.size() && !(closed[scan] == 0xFF && closed[scan + 1] == 0xDA)) ++scan;
    ASSERT_LT(scan + 4, closed.size());
    closed.resize(scan + 2 + (closed[scan + 2] << 8 | closed[scan + 3]) + 2);
    closed.insert(closed.end(), {0xFF, 0xD9});
    EXPECT_THROW(ReadJpeg(closed.data(), closed.size()), EInvalidGraphic) << progressive;
  }
  // A header claiming a huge picture is refused before the pixels are allocated.
  std::vector<uint8_t> huge = bmp;
  uint32_t w = 100000, h = 100000;
  std::memcpy(&huge[18], &w, 4);
  std::memcpy(&huge[22], &h, 4);
  EXPECT_THROW(ReadBmp(huge.data(), huge.size()), EOutOfResources);
  EXPECT_THROW(CreateBitmap(1 << 20, 1 << 20, 1, 32, nullptr), EOutOfResources);
  EXPECT_THROW(TSurface(70000, 70000), EOutOfResources);
}

TEST(Images, ScreenshotsOfDCsAndBitmaps) {
  Canvas32 c(20, 10);
  RECT r{0, 0, 10, 10};
  FillRect(c.dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  std::string path = OutputPath("gdi_screenshot.png");
  ASSERT_TRUE(SaveDCToPng(c.dc, path));
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  TRasterImage img = ReadPng(bytes.data(), bytes.size());
  EXPECT_EQ(img.Width, 20);
  EXPECT_EQ(img.Pixels[0], 0xFFFFFFu);
  EXPECT_EQ(img.Pixels[15], 0u);
  EXPECT_TRUE(SaveBitmapToPng(c.bmp, path));
  HDC info = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  EXPECT_FALSE(SaveDCToPng(info, path));  // no pixels behind it
  DeleteDC(info);
}

}  // namespace
