// One seven-segment character cell, and the glyph painter the seven-segment displays draw their
// cells with: the glyph table, the segment polygons and the shapes of the other glyphs.
#pragma once

#include <array>

#include "widgets/iCustomComponent.h"

enum TSevenSegmentCharacter : uint8_t {
  ssc0,
  ssc1,
  ssc2,
  ssc3,
  ssc4,
  ssc5,
  ssc6,
  ssc7,
  ssc8,
  ssc9,
  sscA,
  sscB,
  sscC,
  sscD,
  sscE,
  sscF,
  sscPeriod,
  sscColon,
  sscPlus,
  sscMinus,
  sscBlank,
  sscLine,
  sscUpArrow,
  sscDownArrow,
  sscSemiColon,
  sscComma
};
template <>
const EnumNames& EnumNamesOf<TSevenSegmentCharacter>();

// Segment bits: A top, B upper right, C lower right, D bottom, E lower left, F upper left,
// G middle.
constexpr uint8_t ssSegA = 1, ssSegB = 2, ssSegC = 4, ssSegD = 8, ssSegE = 16, ssSegF = 32, ssSegG = 64;

// True for the glyphs drawn from the seven segments (the hexadecimal digits and the blank).
bool IsSegmentGlyph(TSevenSegmentCharacter Glyph);
// The lit segments of a segment glyph; 0 for every other glyph.
uint8_t SevenSegmentBits(TSevenSegmentCharacter Glyph);
// The glyph of a character; every character without one is the blank.
TSevenSegmentCharacter CharToSevenSegment(char C);
// The character of a glyph (lower-case hexadecimal letters, a blank for the blank); '?' for a
// value outside the enumeration.
char SevenSegmentToChar(TSevenSegmentCharacter Glyph);
// The narrow glyphs (period, colon, semicolon, comma) take a cell of two segment sizes.
bool IsNarrowGlyph(TSevenSegmentCharacter Glyph);

// The geometry of one cell: top-left corner, width and height, and the painter's margin,
// separation and segment size.
struct TSegmentCell {
  int32_t X = 0, Y = 0, W = 0, H = 0;
  int32_t Margin = 0, Separation = 0, Size = 1;
};
// The polygon of segment Index (0 = A .. 6 = G) of a cell; Count is 4, or 6 for G.
struct TSegmentPolygon {
  std::array<TPoint, 6> Points{};
  int32_t Count = 0;
};
TSegmentPolygon SegmentPolygon(const TSegmentCell& Cell, int32_t Index);

class TiSevenSegmentCharacter : public TiCustomComponent {
  PL_CLASS(TiSevenSegmentCharacter)
 public:
  explicit TiSevenSegmentCharacter(TComponent* AOwner);

  TSevenSegmentCharacter GetValue() const { return value_; }
  void SetValue(TSevenSegmentCharacter Value);
  char GetCharacter() const { return SevenSegmentToChar(value_); }
  void SetCharacter(char Value) { SetValue(CharToSevenSegment(Value)); }
  bool GetAutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value) override;
  int32_t GetSegmentSize() const { return segmentSize_; }
  void SetSegmentSize(int32_t Value);
  int32_t GetSegmentSeperation() const { return segmentSeperation_; }
  void SetSegmentSeperation(int32_t Value);
  int32_t GetSegmentMargin() const { return segmentMargin_; }
  void SetSegmentMargin(int32_t Value);
  TColor GetSegmentColor() const { return segmentColor_; }
  void SetSegmentColor(TColor Value);
  TColor GetSegmentOffColor() const { return segmentOffColor_; }
  void SetSegmentOffColor(TColor Value);
  bool GetAutoSegmentOffColor() const { return autoSegmentOffColor_; }
  void SetAutoSegmentOffColor(bool Value);
  bool GetShowOffSegments() const { return showOffSegments_; }
  void SetShowOffSegments(bool Value);
  bool GetPowerOff() const { return powerOff_; }
  void SetPowerOff(bool Value);
  bool GetUseSegmentBits() const { return useSegmentBits_; }
  void SetUseSegmentBits(bool Value);
  // Segment Index 0 (A) .. 6 (G) lit when UseSegmentBits is on.
  bool GetSegOn(int32_t Index) const { return (segmentBits_ >> Index) & 1; }
  void SetSegOn(int32_t Index, bool Value);
  uint8_t GetSegmentBits() const { return segmentBits_; }
  void SetSegmentBits(uint8_t Value);

  // Cell width and height of a glyph at the present margin and segment size.
  int32_t CellWidth(TSevenSegmentCharacter Glyph) const;
  int32_t CellHeight() const;
  // The colours the glyphs are drawn in, as given to the canvas.
  TColor OffColor() const;
  TColor LitColor() const;

  // Draws one glyph into the cell whose top-left corner is Origin, with this character's
  // colours, margin and sizes.
  void DrawSegmentCharacter(TCanvas* Canvas, TPoint Origin, TSevenSegmentCharacter Glyph, int32_t CellHeight,
                            int32_t CellWidth);
  void PaintToCanvas(TCanvas* Canvas) override;

 private:
  void Resize() override;
  void FillShape(TCanvas* Canvas, const TPoint* Points, int32_t Count, TColor Color);
  void FillBox(TCanvas* Canvas, int32_t L, int32_t T, int32_t R, int32_t B, TColor Color);
  void DrawPlus(TCanvas* Canvas, const TSegmentCell& c, TColor Color);
  void DrawMinus(TCanvas* Canvas, const TSegmentCell& c, TColor Color);

  TSevenSegmentCharacter value_ = ssc0;
  bool autoSize_ = true;
  int32_t segmentSize_ = 1;
  int32_t segmentSeperation_ = 1;
  int32_t segmentMargin_ = 2;
  TColor segmentColor_ = TColor(65280);
  TColor segmentOffColor_ = TColor(32768);
  bool autoSegmentOffColor_ = true;
  bool showOffSegments_ = true;
  bool powerOff_ = false;
  bool useSegmentBits_ = false;
  uint8_t segmentBits_ = 0;
};
