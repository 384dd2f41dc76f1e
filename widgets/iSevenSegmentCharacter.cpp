#include "widgets/iSevenSegmentCharacter.h"

#include "platform/runtime/MathUtils.h"

PL_ENUM_NAMES(TSevenSegmentCharacter, "ssc0", "ssc1", "ssc2", "ssc3", "ssc4", "ssc5", "ssc6", "ssc7", "ssc8",
              "ssc9", "sscA", "sscB", "sscC", "sscD", "sscE", "sscF", "sscPeriod", "sscColon", "sscPlus",
              "sscMinus", "sscBlank", "sscLine", "sscUpArrow", "sscDownArrow", "sscSemiColon", "sscComma")

namespace {

constexpr uint8_t kSevenSegHexBits[16] = {63,  6,   91,  79,  102, 109, 125, 7,
                                          127, 103, 119, 124, 57,  94,  121, 113};
constexpr char kSevenSegChars[] = "0123456789abcdef.:+- _<>;,";
// Palette-relative colours carry 2 in their top byte.
constexpr uint32_t kSevenSegPaletteFlag = 0x02000000;

template <int I>
bool SevenSegGetSeg(TiSevenSegmentCharacter* c) {
  return c->GetSegOn(I);
}
template <int I>
void SevenSegSetSeg(TiSevenSegmentCharacter* c, bool v) {
  c->SetSegOn(I, v);
}

int32_t SevenSegRound(double v) { return int32_t(Round(v)); }

}  // namespace

// ============================================================================ glyph table =====

bool IsSegmentGlyph(TSevenSegmentCharacter Glyph) { return Glyph <= sscF || Glyph == sscBlank; }

uint8_t SevenSegmentBits(TSevenSegmentCharacter Glyph) { return Glyph <= sscF ? kSevenSegHexBits[Glyph] : 0; }

TSevenSegmentCharacter CharToSevenSegment(char C) {
  if (C >= '0' && C <= '9') return TSevenSegmentCharacter(ssc0 + (C - '0'));
  if (C >= 'A' && C <= 'F') return TSevenSegmentCharacter(sscA + (C - 'A'));
  if (C >= 'a' && C <= 'f') return TSevenSegmentCharacter(sscA + (C - 'a'));
  switch (C) {
    case '.':
      return sscPeriod;
    case ':':
      return sscColon;
    case '+':
      return sscPlus;
    case '-':
      return sscMinus;
    case '_':
      return sscLine;
    case '<':
      return sscUpArrow;
    case '>':
      return sscDownArrow;
    case ';':
      return sscSemiColon;
    case ',':
      return sscComma;
    default:
      return sscBlank;
  }
}

char SevenSegmentToChar(TSevenSegmentCharacter Glyph) {
  return Glyph <= sscComma ? kSevenSegChars[Glyph] : '?';
}

bool IsNarrowGlyph(TSevenSegmentCharacter Glyph) {
  return Glyph == sscPeriod || Glyph == sscColon || Glyph == sscSemiColon || Glyph == sscComma;
}

TSegmentPolygon SegmentPolygon(const TSegmentCell& c, int32_t Index) {
  const int32_t x = c.X, y = c.Y, W = c.W, H = c.H, m = c.Margin, s = c.Separation, z = c.Size, t = 2 * z;
  const int32_t h = (H - 1) / 2;
  TSegmentPolygon p;
  p.Count = 4;
  auto& q = p.Points;
  switch (Index) {
    case 0:  // A
      q = {{{x + m + s, y + m},
            {x + W - m - s - 1, y + m},
            {x + W - m - s - t - 1, y + m + t},
            {x + m + s + t, y + m + t}}};
      break;
    case 1:  // B
      q = {{{x + W - m - 1, y + m + s},
            {x + W - m - 1, y + h - s},
            {x + W - m - t - 1, y + h - s - t},
            {x + W - m - t - 1, y + m + s + t}}};
      break;
    case 2:  // C
      q = {{{x + W - m - 1, y + h + s},
            {x + W - m - 1, y + H - 1 - m - s},
            {x + W - m - t - 1, y + H - 1 - m - s - t},
            {x + W - m - t - 1, y + h + s + t}}};
      break;
    case 3:  // D
      q = {{{x + m + s, y + H - m - 1},
            {x + W - m - s - 1, y + H - m - 1},
            {x + W - m - s - t - 1, y + H - m - t - 1},
            {x + m + s + t, y + H - m - t - 1}}};
      break;
    case 4:  // E
      q = {{{x + m, y + h + s},
            {x + m, y + H - 1 - m - s},
            {x + m + t, y + H - 1 - m - s - t},
            {x + m + t, y + h + s + t}}};
      break;
    case 5:  // F
      q = {{{x + m, y + m + s}, {x + m, y + h - s}, {x + m + t, y + h - s - t}, {x + m + t, y + m + s + t}}};
      break;
    default:  // G
      p.Count = 6;
      q = {{{x + m + s, y + h},
            {x + m + s + z, y + h - z},
            {x + W - m - s - z - 1, y + h - z},
            {x + W - m - s - 1, y + h},
            {x + W - m - s - z - 1, y + h + z},
            {x + m + s + z, y + h + z}}};
      break;
  }
  return p;
}

// ============================================================================ the control =====

const TClassInfo& TiSevenSegmentCharacter::ClassInfo() {
  using C = TiSevenSegmentCharacter;
  static const TClassInfo info =
      TClassInfo::Of<C, TiCustomComponent>("TiSevenSegmentCharacter")
          .Prop("Value", &C::GetValue, &C::SetValue)
          .Default(ssc0)
          .Prop("Character", &C::GetCharacter, &C::SetCharacter)
          .Prop("AutoSize", &C::GetAutoSize, &C::SetAutoSize)
          .Default(true)
          .Prop("SegmentSize", &C::GetSegmentSize, &C::SetSegmentSize)
          .Default(1)
          .Prop("SegmentSeperation", &C::GetSegmentSeperation, &C::SetSegmentSeperation)
          .Default(1)
          .Prop("SegmentMargin", &C::GetSegmentMargin, &C::SetSegmentMargin)
          .Default(2)
          .Prop("SegmentColor", &C::GetSegmentColor, &C::SetSegmentColor)
          .Default(65280)
          .Type(ColorTypeInfo())
          .Prop("SegmentOffColor", &C::GetSegmentOffColor, &C::SetSegmentOffColor)
          .Default(32768)
          .Type(ColorTypeInfo())
          .Prop("AutoSegmentOffColor", &C::GetAutoSegmentOffColor, &C::SetAutoSegmentOffColor)
          .Default(true)
          .Prop("ShowOffSegments", &C::GetShowOffSegments, &C::SetShowOffSegments)
          .Default(true)
          .Prop("PowerOff", &C::GetPowerOff, &C::SetPowerOff)
          .Default(false)
          .Prop("UseSegmentBits", &C::GetUseSegmentBits, &C::SetUseSegmentBits)
          .Default(false)
          .Prop("SegAOn", &SevenSegGetSeg<0>, &SevenSegSetSeg<0>)
          .Default(false)
          .Prop("SegBOn", &SevenSegGetSeg<1>, &SevenSegSetSeg<1>)
          .Default(false)
          .Prop("SegCOn", &SevenSegGetSeg<2>, &SevenSegSetSeg<2>)
          .Default(false)
          .Prop("SegDOn", &SevenSegGetSeg<3>, &SevenSegSetSeg<3>)
          .Default(false)
          .Prop("SegEOn", &SevenSegGetSeg<4>, &SevenSegSetSeg<4>)
          .Default(false)
          .Prop("SegFOn", &SevenSegGetSeg<5>, &SevenSegSetSeg<5>)
          .Default(false)
          .Prop("SegGOn", &SevenSegGetSeg<6>, &SevenSegSetSeg<6>)
          .Default(false)
          .Prop("SegmentBits", &C::GetSegmentBits, &C::SetSegmentBits)
          .Default(0)
          .Prop("BackGroundColor", &TiComponent::GetBackGroundColor, &TiComponent::SetBackGroundColor)
          .Default(0)
          .Type(ColorTypeInfo())
          .Prop("Transparent", &TiVCLComponent::GetTransparent, &TiVCLComponent::SetTransparent)
          .Default(false);
  return info;
}

TiSevenSegmentCharacter::TiSevenSegmentCharacter(TComponent* AOwner) : TiCustomComponent(AOwner) {
  SetBackGroundColor(clBlack);
  Resize();
}

void TiSevenSegmentCharacter::Resize() {
  if (!autoSize_ || IsStreaming()) return;
  SetBounds(Left(), Top(), CellWidth(value_) + 1, CellHeight() + 1);
}

int32_t TiSevenSegmentCharacter::CellWidth(TSevenSegmentCharacter Glyph) const {
  return 2 * segmentMargin_ + (IsNarrowGlyph(Glyph) ? 2 : 10) * segmentSize_;
}

int32_t TiSevenSegmentCharacter::CellHeight() const { return 2 * segmentMargin_ + 18 * segmentSize_; }

void TiSevenSegmentCharacter::SetValue(TSevenSegmentCharacter Value) {
  if (Value == value_) return;
  bool allow = true;
  if (!IsStreaming()) OnPropertyChanging(this, "Value", allow);
  if (!allow) return;
  value_ = Value;
  RequestRepaint();
  Resize();
  if (!IsStreaming()) OnPropertyChanged(this, "Value");
}

void TiSevenSegmentCharacter::SetAutoSize(bool Value) {
  if (Value == autoSize_) return;
  autoSize_ = Value;
  Resize();
  RequestRepaint();
}

void TiSevenSegmentCharacter::SetSegmentSize(int32_t Value) {
  if (Value <= 0) Value = 1;
  if (Value == segmentSize_) return;
  segmentSize_ = Value;
  Resize();
  RequestRepaint();
}

void TiSevenSegmentCharacter::SetSegmentSeperation(int32_t Value) {
  SetIntProperty(Value < 0 ? 0 : Value, segmentSeperation_, 0);
}

void TiSevenSegmentCharacter::SetSegmentMargin(int32_t Value) {
  if (Value < 0) Value = 0;
  if (Value == segmentMargin_) return;
  segmentMargin_ = Value;
  Resize();
  RequestRepaint();
}

void TiSevenSegmentCharacter::SetSegmentColor(TColor Value) { SetColorProperty(Value, segmentColor_, 0); }
void TiSevenSegmentCharacter::SetSegmentOffColor(TColor Value) {
  SetColorProperty(Value, segmentOffColor_, 0);
}
void TiSevenSegmentCharacter::SetAutoSegmentOffColor(bool Value) {
  SetBoolProperty(Value, autoSegmentOffColor_, 0);
}
void TiSevenSegmentCharacter::SetShowOffSegments(bool Value) { SetBoolProperty(Value, showOffSegments_, 0); }
void TiSevenSegmentCharacter::SetPowerOff(bool Value) { SetBoolProperty(Value, powerOff_, 0); }
void TiSevenSegmentCharacter::SetUseSegmentBits(bool Value) { SetBoolProperty(Value, useSegmentBits_, 0); }

void TiSevenSegmentCharacter::SetSegOn(int32_t Index, bool Value) {
  const uint8_t bit = uint8_t(1u << Index);
  SetSegmentBits(Value ? uint8_t(segmentBits_ | bit) : uint8_t(segmentBits_ & ~bit));
}

void TiSevenSegmentCharacter::SetSegmentBits(uint8_t Value) {
  Value &= 0x7F;
  if (Value == segmentBits_) return;
  segmentBits_ = Value;
  RequestRepaint();
}

// ============================================================================ painting ========

TColor TiSevenSegmentCharacter::OffColor() const {
  if (!autoSegmentOffColor_) return segmentOffColor_;
  return TColor(uint32_t(DimColor(segmentColor_, 3)) | kSevenSegPaletteFlag);
}

TColor TiSevenSegmentCharacter::LitColor() const {
  if (powerOff_) return OffColor();
  // A system colour keeps its own top byte.
  return int32_t(segmentColor_) < 0 ? segmentColor_ : TColor(uint32_t(segmentColor_) | kSevenSegPaletteFlag);
}

void TiSevenSegmentCharacter::FillShape(TCanvas* Canvas, const TPoint* Points, int32_t Count, TColor Color) {
  Canvas->GetPen()->SetStyle(psSolid);
  Canvas->GetPen()->SetColor(Color);
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(Color);
  Canvas->Polygon(Points, Count);
}

void TiSevenSegmentCharacter::FillBox(TCanvas* Canvas, int32_t L, int32_t T, int32_t R, int32_t B,
                                      TColor Color) {
  const TPoint box[4] = {{L, T}, {R, T}, {R, B}, {L, B}};
  FillShape(Canvas, box, 4, Color);
}

void TiSevenSegmentCharacter::DrawPlus(TCanvas* Canvas, const TSegmentCell& c, TColor Color) {
  const double W = c.W, H = c.H, z = c.Size;
  FillBox(Canvas, c.X + SevenSegRound(2.5 * W / 10), c.Y + SevenSegRound(4.5 * H / 18 - z / 2),
          c.X + SevenSegRound(7.5 * W / 10), c.Y + SevenSegRound(4.5 * H / 18 + z / 2), Color);
  FillBox(Canvas, c.X + SevenSegRound(W / 2 - z / 2), c.Y + SevenSegRound(2 * H / 18),
          c.X + SevenSegRound(W / 2 + z / 2), c.Y + SevenSegRound(7 * H / 18), Color);
}

void TiSevenSegmentCharacter::DrawMinus(TCanvas* Canvas, const TSegmentCell& c, TColor Color) {
  const double W = c.W, H = c.H, z = c.Size;
  FillBox(Canvas, c.X + SevenSegRound(2.5 * W / 10), c.Y + SevenSegRound(13.5 * H / 18 - z / 2),
          c.X + SevenSegRound(7.5 * W / 10), c.Y + SevenSegRound(13.5 * H / 18 + z / 2), Color);
}

void TiSevenSegmentCharacter::DrawSegmentCharacter(TCanvas* Canvas, TPoint Origin,
                                                   TSevenSegmentCharacter Glyph, int32_t CellHeight,
                                                   int32_t CellWidth) {
  const TSegmentCell c{Origin.X,       Origin.Y,           CellWidth,   CellHeight,
                       segmentMargin_, segmentSeperation_, segmentSize_};
  const TColor off = OffColor(), lit = LitColor();
  if (useSegmentBits_ || IsSegmentGlyph(Glyph)) {
    const uint8_t bits = useSegmentBits_ ? segmentBits_ : SevenSegmentBits(Glyph);
    for (int32_t i = 0; i < 7; ++i) {
      const bool on = (bits >> i) & 1;
      if (!on && !showOffSegments_) continue;
      const TSegmentPolygon p = SegmentPolygon(c, i);
      FillShape(Canvas, p.Points.data(), p.Count, on ? lit : off);
    }
    return;
  }
  const int32_t x = c.X, y = c.Y, W = c.W, H = c.H, m = c.Margin, z = c.Size;
  const int32_t cx = x + W / 2;
  auto R = [&](int32_t k) { return y + SevenSegRound(double(k) * H / 18); };
  switch (Glyph) {
    case sscPeriod:
      FillBox(Canvas, cx - z, y + H - 2 * z, cx + z, y + H, lit);
      break;
    case sscColon:
    case sscSemiColon:
      FillBox(Canvas, cx - z, R(5), cx + z, R(7), lit);
      FillBox(Canvas, cx - z, R(11), cx + z, R(13), lit);
      if (Glyph == sscSemiColon) FillBox(Canvas, cx, R(13), cx + z, R(16), lit);
      break;
    case sscComma:
      FillBox(Canvas, cx - z, R(11), cx + z, R(13), lit);
      FillBox(Canvas, cx, R(13), cx + z, R(16), lit);
      break;
    case sscPlus:
      DrawPlus(Canvas, c, lit);
      if (showOffSegments_) DrawMinus(Canvas, c, off);
      break;
    case sscMinus:
      DrawMinus(Canvas, c, lit);
      if (showOffSegments_) DrawPlus(Canvas, c, off);
      break;
    case sscLine: {
      const int32_t h = (H - 1) / 2;
      FillBox(Canvas, x + m, y + h - z / 2, x + W - m - 1, y + h + z / 2, lit);
      break;
    }
    case sscUpArrow:
    case sscDownArrow: {
      const int32_t r = (W - 1 - 2 * m) / 2, q = x + (W - 1) / 2, base = y + H / 2;
      const int32_t apex =
          Glyph == sscUpArrow ? y + std::max(H / 2 - r, m) : y + std::min(H / 2 + r, H - m - 1);
      const TPoint tri[3] = {{q + r, base}, {q - r, base}, {q, apex}};
      FillShape(Canvas, tri, 3, lit);
      break;
    }
    default:
      break;
  }
}

void TiSevenSegmentCharacter::PaintToCanvas(TCanvas* Canvas) {
  DrawBackGround(Canvas, GetBackGroundColor());
  DrawSegmentCharacter(Canvas, TPoint{0, 0}, value_, Height(), Width());
}
