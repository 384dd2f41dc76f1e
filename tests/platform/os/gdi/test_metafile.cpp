// Enhanced metafiles: recording, the file round trip, replay (exact at scale 1, scaled into a
// rectangle), record enumeration and corrupt input.
#include <cstdlib>
#include <cstring>

#include "GdiTestUtil.h"
#include "tests/support/TestOutput.h"
#include "platform/os/gdi/ImageFiles.h"
#include "platform/runtime/Exceptions.h"

namespace {

// A drawing that exercises pens, brushes, text, regions, clipping, saved states and blits.
void Scene(HDC dc) {
  HBRUSH face = CreateSolidBrush(RGB(212, 208, 200));
  RECT all{0, 0, 120, 80};
  FillRect(dc, &all, face);
  DeleteObject(face);
  HPEN pen = CreatePen(PS_DOT, 1, RGB(200, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 160));
  HGDIOBJ oldBrush = SelectObject(dc, hatch);
  Rectangle(dc, 5, 5, 50, 40);
  Ellipse(dc, 55, 5, 100, 40);
  SelectObject(dc, oldBrush);
  DeleteObject(hatch);
  HPEN wide = CreatePen(PS_SOLID, 3, RGB(0, 128, 0));
  SelectObject(dc, wide);
  DeleteObject(pen);
  POINT line[3] = {{5, 70}, {40, 50}, {80, 75}};
  Polyline(dc, line, 3);
  SelectObject(dc, oldPen);
  DeleteObject(wide);
  int saved = SaveDC(dc);
  IntersectClipRect(dc, 60, 45, 115, 78);
  LOGFONT lf;
  lf.lfHeight = -13;
  std::strcpy(lf.lfFaceName, "Arial");
  HFONT font = CreateFontIndirect(&lf);
  SelectObject(dc, font);
  SetTextColor(dc, RGB(0, 0, 128));
  SetBkMode(dc, TRANSPARENT);
  TextOut(dc, 58, 50, "Strip Chart", 11);
  RestoreDC(dc, saved);
  DeleteObject(font);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, 8, 8);
  HGDIOBJ oldBmp = SelectObject(mem, bmp);
  for (int i = 0; i < 8; ++i) SetPixel(mem, i, i, RGB(255, 0, 255));
  BitBlt(dc, 100, 60, 8, 8, mem, 0, 0, SRCCOPY);
  SelectObject(mem, oldBmp);
  DeleteObject(bmp);
  DeleteDC(mem);
  RECT focus{2, 2, 118, 78};
  DrawFocusRect(dc, &focus);
}

HENHMETAFILE Record() {
  RECT frame{0, 0, 120 * 2540 / 96, 80 * 2540 / 96};
  HDC mdc = CreateEnhMetaFileDesc(nullptr, "", &frame, AnsiString("Tarvik\0Strip Chart\0", 19));
  EXPECT_EQ(GetDeviceCaps(mdc, TECHNOLOGY), DT_METAFILE);
  Scene(mdc);
  return CloseEnhMetaFile(mdc);
}

TEST(Metafile, ReplayFromAFileMatchesDirectDrawing) {
  Canvas32 direct(120, 80);
  Scene(direct.dc);
  HENHMETAFILE emf = Record();
  ASSERT_NE(emf, nullptr);
  std::string path = OutputPath("gdi_scene.emf");
  HENHMETAFILE copy = CopyEnhMetaFileA(emf, path.c_str());
  ASSERT_NE(copy, nullptr);
  DeleteEnhMetaFile(copy);
  DeleteEnhMetaFile(emf);
  HENHMETAFILE loaded = GetEnhMetaFileA(path.c_str());
  ASSERT_NE(loaded, nullptr);
  Canvas32 replay(120, 80);
  RECT rc{0, 0, 120, 80};
  ASSERT_TRUE(PlayEnhMetaFile(replay.dc, loaded, &rc));
  int differ = 0;
  for (int i = 0; i < 120 * 80; ++i) differ += (direct.bits[i] & 0xFFFFFF) != (replay.bits[i] & 0xFFFFFF);
  EXPECT_EQ(differ, 0);
  SaveDCToPng(replay.dc, OutputPath("gdi_scene_replay.png"));

  // Scaled into a rectangle twice the size at an offset, the picture covers that rectangle.
  Canvas32 big(260, 180);
  big.Fill(0);
  RECT twice{10, 10, 250, 170};
  PlayEnhMetaFile(big.dc, loaded, &twice);
  EXPECT_EQ(big.rgb(5, 5), 0u);
  EXPECT_NE(big.rgb(12, 12), 0u);
  EXPECT_NE(big.rgb(245, 160), 0u);
  EXPECT_EQ(big.rgb(255, 175), 0u);
  // The dotted pen and the clip survive: the text stays right of x = 60 * 2 + 10.
  DeleteEnhMetaFile(loaded);
}

TEST(Metafile, HeaderDescriptionAndRecords) {
  HENHMETAFILE emf = Record();
  ENHMETAHEADER h;
  ASSERT_EQ(GetEnhMetaFileHeader(emf, sizeof h, &h), sizeof h);
  EXPECT_EQ(h.dSignature, ENHMETA_SIGNATURE);
  EXPECT_EQ(h.nBytes, GetEnhMetaFileBits(emf, 0, nullptr));
  UINT n = GetEnhMetaFileDescriptionW(emf, 0, nullptr);
  std::u16string desc(n, u'\0');
  GetEnhMetaFileDescriptionW(emf, n, desc.data());
  EXPECT_EQ(desc, std::u16string(u"Tarvik\0Strip Chart\0", 19));
  // The text search walks the records in order: one text record, with its characters.
  struct Found {
    int records = 0;
    int text = 0;
    std::u16string chars;
  } found;
  auto proc = [](HDC, HANDLETABLE*, const ENHMETARECORD* r, int, LPARAM data) -> int {
    auto* f = reinterpret_cast<Found*>(data);
    ++f->records;
    if (r->iType == EMR_EXTTEXTOUTW || r->iType == EMR_EXTTEXTOUTA) {
      ++f->text;
      const auto* bytes = reinterpret_cast<const uint8_t*>(r);
      DWORD count, off;
      std::memcpy(&count, bytes + 44, 4);
      std::memcpy(&off, bytes + 48, 4);
      for (DWORD i = 0; i < count; ++i)
        f->chars += char16_t(r->iType == EMR_EXTTEXTOUTA ? bytes[off + i]
                                                         : bytes[off + 2 * i] | bytes[off + 2 * i + 1] << 8);
    }
    return 1;
  };
  EXPECT_TRUE(EnumEnhMetaFile(nullptr, emf, proc, &found, nullptr));
  EXPECT_EQ(found.text, 1);
  EXPECT_EQ(found.chars, u"Strip Chart");
  EXPECT_EQ(UINT(found.records), h.nRecords);
  DeleteEnhMetaFile(emf);
}

TEST(Metafile, CorruptBytesAreRefused) {
  HENHMETAFILE emf = Record();
  UINT size = GetEnhMetaFileBits(emf, 0, nullptr);
  std::vector<BYTE> bytes(size);
  GetEnhMetaFileBits(emf, size, bytes.data());
  DeleteEnhMetaFile(emf);
  std::vector<BYTE> truncated(bytes.begin(), bytes.begin() + size / 2);
  EXPECT_THROW(SetEnhMetaFileBits(UINT(truncated.size()), truncated.data()), EInvalidGraphic);
  std::vector<BYTE> badRecord = bytes;
  DWORD huge = 0x7FFFFFF0;
  DWORD headerSize;
  std::memcpy(&headerSize, &bytes[4], 4);
  std::memcpy(&badRecord[headerSize + 4], &huge, 4);  // the first record claims to be enormous
  EXPECT_THROW(SetEnhMetaFileBits(UINT(badRecord.size()), badRecord.data()), EInvalidGraphic);
  std::vector<BYTE> junk(200, 7);
  EXPECT_THROW(SetEnhMetaFileBits(UINT(junk.size()), junk.data()), EInvalidGraphic);
  EXPECT_EQ(GetEnhMetaFileA("/nonexistent/file.emf"), nullptr);
}

}  // namespace
