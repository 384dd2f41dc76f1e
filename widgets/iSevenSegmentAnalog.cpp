#include "widgets/iSevenSegmentAnalog.h"

#include <cmath>

#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"

PL_ENUM_NAMES(TiLeadingStyle, "ilsNone", "ilsZeros", "ilsSpaces")

const TClassInfo& TiSevenSegmentAnalog::ClassInfo() {
  using C = TiSevenSegmentAnalog;
  static const TClassInfo info = TClassInfo::Of<C, TiSevenSegmentDisplay>("TiSevenSegmentAnalog")
                                     .Prop("Value", &C::GetValue, &C::SetValue)
                                     .Prop("Precision", &C::GetPrecision, &C::SetPrecision)
                                     .Default(2)
                                     .Prop("DigitCount", &C::GetDigitCount, &C::SetDigitCount)
                                     .Default(4)
                                     .Prop("ShowSign", &C::GetShowSign, &C::SetShowSign)
                                     .Default(true)
                                     .Prop("LeadingStyle", &C::GetLeadingStyle, &C::SetLeadingStyle)
                                     .Default(ilsSpaces);
  return info;
}

TiSevenSegmentAnalog::TiSevenSegmentAnalog(TComponent* AOwner) : TiSevenSegmentDisplay(AOwner) { Resize(); }

void TiSevenSegmentAnalog::SetValue(double Value) {
  // Infinity and NaN would format as letters that fit the cells: both ends show as overflow.
  if (std::isnan(Value) || Value > 1e15)
    Value = 1e15;
  else if (std::isinf(Value))
    Value = -1e15;
  if (Value == value_) return;
  if (IsStreaming()) {
    value_ = Value;
    return;
  }
  bool allow = true;
  OnPropertyChanging(this, "Value", allow);
  if (!allow) return;
  value_ = Value;
  RequestRepaint();
  OnPropertyChanged(this, "Value");
  OnValueChange(this);
}

void TiSevenSegmentAnalog::SetPrecision(int32_t Value) {
  if (Value > 13) Value = 13;
  if (Value == precision_) return;
  precision_ = Value < 0 ? 0 : Value;
  Resize();
  RequestRepaint();
}

void TiSevenSegmentAnalog::SetDigitCount(int32_t Value) {
  Value = std::clamp(Value, 1, 32);
  if (Value == digitCount_) return;
  digitCount_ = Value;
  Resize();
  RequestRepaint();
}

void TiSevenSegmentAnalog::SetShowSign(bool Value) {
  if (Value == showSign_) return;
  showSign_ = Value;
  RequestRepaint();
  Resize();
}

void TiSevenSegmentAnalog::SetLeadingStyle(TiLeadingStyle Value) {
  if (Value == leadingStyle_) return;
  leadingStyle_ = Value;
  RequestRepaint();
}

TSize TiSevenSegmentAnalog::GetPreferredSize() {
  SyncPainter();
  Painter()->SetCharacter('0');
  const int32_t w = Painter()->CellWidth(ssc0);
  const int32_t n = digitCount_ + (showSign_ ? 1 : 0);
  return TSize{(w + GetDigitSpacing()) * n + 2 * GetSegmentMargin() - GetDigitSpacing(),
               18 * GetSegmentSize() + 2 * GetSegmentMargin()};
}

std::vector<TSevenSegmentCell> TiSevenSegmentAnalog::Cells() const {
  std::vector<TSevenSegmentCell> cells;
  const int32_t m = GetSegmentMargin(), sp = GetDigitSpacing();
  const int32_t n = digitCount_ + (showSign_ ? 1 : 0);
  const int32_t w = int32_t(Trunc(double(Width() - 2 * m - (n - 1) * sp) / n));
  const int32_t H = Height() - 2 * m;
  int32_t x = (Width() + sp - n * (w + sp)) / 2;
  const int32_t y = m;
  auto put = [&](TSevenSegmentCharacter g) {
    cells.push_back({g, TRect{x, y, x + w, y + H}});
    x += w + sp;
  };

  const AnsiString text = Format("%." + IntToStr(precision_) + "f", {std::fabs(value_)});
  AnsiString intPart = text, fracPart;
  bool period = true;
  size_t sep = text.find('.');
  if (sep == AnsiString::npos) {
    sep = text.find(',');
    period = false;
  }
  if (sep != AnsiString::npos) {
    intPart = text.substr(0, sep);
    fracPart = text.substr(sep + 1);
  }

  if (showSign_) put(value_ >= 0 ? sscPlus : sscMinus);
  const size_t room = size_t(digitCount_) + (precision_ > 0 ? 1 : 0);
  // Beyond 18 digits the fixed format falls back to exponent form ("1E20"), whose letters would
  // fit the cells: such a value does not fit either.
  if (text.size() > room || text.find('E') != AnsiString::npos) {
    for (int32_t i = 0; i < digitCount_; ++i) put(value_ >= 0 ? sscUpArrow : sscDownArrow);
    return cells;
  }
  const size_t width = size_t(std::max(digitCount_ - precision_, 0));
  if (leadingStyle_ != ilsNone && intPart.size() < width)
    intPart.insert(0, width - intPart.size(), leadingStyle_ == ilsZeros ? '0' : ' ');
  for (char ch : intPart) put(CharToSevenSegment(ch));
  if (precision_ > 0 && digitCount_ > 1) {
    const int32_t markX = x - int32_t(Round(w / 10.0 + sp / 2.0));
    cells.push_back({period ? sscPeriod : sscComma, TRect{markX, y, markX + w / 5, y + H}});
    if (fracPart.size() > size_t(precision_)) fracPart.resize(size_t(precision_));
    if (fracPart.size() < size_t(precision_)) fracPart.insert(0, size_t(precision_) - fracPart.size(), '0');
    const int32_t shown = std::min(precision_, digitCount_ - 1);
    for (int32_t i = 0; i < shown; ++i) put(CharToSevenSegment(fracPart[size_t(i)]));
  }
  return cells;
}

void TiSevenSegmentAnalog::PaintToCanvas(TCanvas* Canvas) {
  SyncPainter();
  DrawBackGround(Canvas, GetBackGroundColor());
  for (const TSevenSegmentCell& c : Cells())
    Painter()->DrawSegmentCharacter(Canvas, c.Box.TopLeft(), c.Glyph, c.Box.Height(), c.Box.Width());
}
