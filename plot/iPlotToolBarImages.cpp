#include "plot/iPlotToolBarImages.h"

#include <array>
#include <string>

#include "platform/runtime/Resources.h"

namespace {

// The drawings at 16 x 16, one character a pixel; kPlotToolBarInks names the colours.
struct TPlotToolBarDrawing {
  const char* Name;
  const char* Rows[16];
};

const TPlotToolBarDrawing kPlotToolBarDrawings[] = {
    {"AUTO",
     {"................", "................", "...d............", "...dd...........", "...dGd..........",
      "...dGGd.........", "...dGGGd........", "...dGGGGd.......", "...dGGGGGd......", "...dGGGGd.......",
      "...dGGGd........", "...dGGd.........", "...dGd..........", "...dd...........", "...d............",
      "................"}},
    {"PAUSE",
     {"................", "................", "...nnnn..nnnn...", "...nbbn..nbbn...", "...nbbn..nbbn...",
      "...nbbn..nbbn...", "...nbbn..nbbn...", "...nbbn..nbbn...", "...nbbn..nbbn...", "...nbbn..nbbn...",
      "...nbbn..nbbn...", "...nbbn..nbbn...", "...nbbn..nbbn...", "...nnnn..nnnn...", "................",
      "................"}},
    {"SCROLL",
     {"................", ".......k........", "......kkk.......", ".....kkkkk......", ".......k........",
      "...k...k...k....", "..kk...k...kk...", ".kkkkkkkkkkkkk..", "..kk...k...kk...", "...k...k...k....",
      ".......k........", ".....kkkkk......", "......kkk.......", ".......k........", "................",
      "................"}},
    {"ZOOM",
     {"................", "................", "....kkkkk.......", "...kcwccck......", "..kcwccccck.....",
      "..kccccccck.....", "..kccccccck.....", "..kccccccck.....", "..kccccccck.....", "...kcccccoo.....",
      "....kkkkk.oo....", "...........oo...", "............oo..", ".............k..", "................",
      "................"}},
    {"ZOOMOUT",
     {"................", "................", "....kkkkk.......", "...kcwccck......", "..kcwccccck.....",
      "..kccccccck.....", "..kckkkkkck.....", "..kccccccck.....", "..kccccccck.....", "...kcccccoo.....",
      "....kkkkk.oo....", "...........oo...", "............oo..", ".............k..", "................",
      "................"}},
    {"ZOOMIN",
     {"................", "................", "....kkkkk.......", "...kcwccck......", "..kcwckccck.....",
      "..kccckccck.....", "..kckkkkkck.....", "..kccckccck.....", "..kccckccck.....", "...kcccccoo.....",
      "....kkkkk.oo....", "...........oo...", "............oo..", ".............k..", "................",
      "................"}},
    {"SELECT",
     {"................", "...kk...........", "...kwk..........", "...kwwk.........", "...kwwwk........",
      "...kwwwwk.......", "...kwwwwwk......", "...kwwwwwwk.....", "...kwwwwwwwk....", "...kwwwwkkkkk...",
      "...kwkkwwk......", "...kk..kwwk.....", "...k....kwwk....", ".........kwk....", "..........k.....",
      "................"}},
    {"SCROLLBOX",
     {"................", "................", ".k.k.k.k.k.k.k..", "................", ".k...........k..",
      "................", ".k...........k..", "................", ".k...........k..", "...........bb...",
      ".k..........bb..", "...k.k.k.k.k.bb.", "..............n.", "................", "................",
      "................"}},
    {"CURSOR",
     {".......r........", ".......r........", ".......r........", ".......r........", ".......r........",
      ".....RRRRR......", ".....R.r.R......", "rrrrrRrrrRrrrrr.", ".....R.r.R......", ".....RRRRR......",
      ".......r........", ".......r........", ".......r........", ".......r........", ".......r........",
      "................"}},
    {"PROPERTIES",
     {"................", "..kkkkkkkkkkk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwnnnngggwk...",
      "..kwwwwwwwwwk...", "..kwgggggggwk...", "..kwwwwwwwwwk...", "..kwgggggggwk...", "..kwwwwwwwwwk...",
      "..kwgggggggwk...", "..kwwwwwwwwwk...", "..kwgggggggwk...", "..kwwwwwwwwwk...", "..kkkkkkkkkkk...",
      "................"}},
    {"COPY",
     {"................", ".kkkkkkkk.......", ".kwwwwwwk.......", ".kwggggwk.......", ".kwwwwwwk.......",
      ".kwggggkkkkkkk..", ".kwwwwkwwwwwwk..", ".kwggggwwwwwwk..", ".kwwwwkwnnnnwk..", ".kwwwwkwwwwwwk..",
      ".kkkkkkwnnnnwk..", "......kwwwwwwk..", "......kwnnnnwk..", "......kwwwwwwk..", "......kkkkkkkk..",
      "................"}},
    {"SAVE",
     {"................", ".kkkkkkkkkkkkkk.", ".knnkwwwnnnknnk.", ".knnkwwwnnnknnk.", ".knnkwwwnnnknnk.",
      ".knnkwwwnnnknnk.", ".knnkkkkkkkknnk.", ".knnnnnnnnnnnnk.", ".knnnnnnnnnnnnk.", ".knkkkkkkkkkknk.",
      ".knkssssssssknk.", ".knkssssssssknk.", ".knkssssssssknk.", ".knkssssssssknk.", ".kkkkkkkkkkkkkk.",
      "................"}},
    {"PRINTER",
     {"................", "....kkkkkkkk....", "....kwwwwwwk....", "....kwwwwwwk....", "....kwwwwwwk....",
      ".kkkkkkkkkkkkkk.", ".kssssssssssssk.", ".kssssssssssGsk.", ".kssssssssssssk.", ".ksskkkkkkkkssk.",
      ".ksskwwwwwwkssk.", ".kkkkwggggwkkkk.", "....kwwwwwwk....", "....kwggggwk....", "....kkkkkkkk....",
      "................"}},
    {"PREVIEW",
     {"................", ".kkkkkkkkkk.....", ".kwwwwwwwwk.....", ".kwwwwwwwwk.....", ".kwggggggwk.....",
      ".kwwwwwwwwk.....", ".kwgggggkkk.....", ".kwwwwwkkckk....", ".kwgggkkccckk...", ".kwwwwkccccck...",
      ".kwwwwkkccckk...", ".kwwwwwkkckk....", ".kwwwwwwkkk.ko..", ".kwwwwwwwwk..ko.", ".kkkkkkkkkk...ko",
      "................"}},
};

// Character, then the colour as red, green, blue; "." is the transparent olive.
struct TPlotToolBarInk {
  char Key;
  uint8_t R, G, B;
};
const TPlotToolBarInk kPlotToolBarInks[16] = {
    {'.', 0x00, 0x80, 0x80}, {'k', 0x00, 0x00, 0x00}, {'w', 0xFF, 0xFF, 0xFF}, {'g', 0x80, 0x80, 0x80},
    {'s', 0xC0, 0xC0, 0xC0}, {'r', 0xFF, 0x00, 0x00}, {'R', 0x80, 0x00, 0x00}, {'G', 0x00, 0xFF, 0x00},
    {'d', 0x00, 0x80, 0x00}, {'b', 0x00, 0x00, 0xFF}, {'n', 0x00, 0x00, 0x80}, {'y', 0xFF, 0xFF, 0x00},
    {'o', 0x80, 0x80, 0x00}, {'c', 0x00, 0xFF, 0xFF}, {'m', 0xFF, 0x00, 0xFF}, {'p', 0x80, 0x00, 0x80}};

uint8_t PlotToolBarInkIndex(char Key) {
  for (uint8_t i = 0; i < 16; ++i)
    if (kPlotToolBarInks[i].Key == Key) return i;
  return 0;
}

void PlotToolBarPut32(std::string& Out, uint32_t Value) {
  for (int i = 0; i < 4; ++i) Out.push_back(char(Value >> (8 * i)));
}

// A 4-bit bitmap resource (header, palette, bottom-up rows) of the drawing scaled to Size.
std::string PlotToolBarDib(const TPlotToolBarDrawing& Drawing, int Size) {
  const int stride = (Size * 4 + 31) / 32 * 4;
  std::string out;
  PlotToolBarPut32(out, 40);
  PlotToolBarPut32(out, uint32_t(Size));
  PlotToolBarPut32(out, uint32_t(Size));
  out.push_back(1), out.push_back(0);  // planes
  out.push_back(4), out.push_back(0);  // bits per pixel
  PlotToolBarPut32(out, 0);            // no compression
  PlotToolBarPut32(out, uint32_t(stride * Size));
  PlotToolBarPut32(out, 0);
  PlotToolBarPut32(out, 0);
  PlotToolBarPut32(out, 16);
  PlotToolBarPut32(out, 0);
  for (const TPlotToolBarInk& ink : kPlotToolBarInks) {
    out.push_back(char(ink.B)), out.push_back(char(ink.G)), out.push_back(char(ink.R));
    out.push_back(0);
  }
  for (int y = Size - 1; y >= 0; --y) {
    std::string row(size_t(stride), '\0');
    for (int x = 0; x < Size; ++x) {
      const uint8_t v = PlotToolBarInkIndex(Drawing.Rows[y * 16 / Size][x * 16 / Size]);
      row[size_t(x / 2)] = char(uint8_t(row[size_t(x / 2)]) | (x % 2 ? v : uint8_t(v << 4)));
    }
    out += row;
  }
  return out;
}

}  // namespace

void RegisterPlotToolBarImages() {
  constexpr size_t count = std::size(kPlotToolBarDrawings);
  // The bytes stay where they are for the life of the program; the registry does not copy them.
  static const std::array<std::string, 2 * count> bytes = [] {
    std::array<std::string, 2 * count> b;
    for (size_t i = 0; i < count; ++i) {
      b[2 * i] = PlotToolBarDib(kPlotToolBarDrawings[i], 24);
      b[2 * i + 1] = PlotToolBarDib(kPlotToolBarDrawings[i], 16);
    }
    return b;
  }();
  static const bool registered = [] {
    for (size_t i = 0; i < count; ++i) {
      const std::string name = kPlotToolBarDrawings[i].Name;
      TResourceRegistration(RT_BITMAP, name, bytes[2 * i].data(), bytes[2 * i].size());
      TResourceRegistration(RT_BITMAP, "SMALL" + name, bytes[2 * i + 1].data(), bytes[2 * i + 1].size());
    }
    return true;
  }();
  (void)registered;
}
