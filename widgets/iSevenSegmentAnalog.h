// A floating-point value shown on a row of seven-segment cells: a sign cell, a fixed number of
// decimals, leading zeros or blanks, and arrows when the value does not fit.
#pragma once

#include <vector>

#include "widgets/iSevenSegmentDisplay.h"

enum TiLeadingStyle : uint8_t { ilsNone, ilsZeros, ilsSpaces };
template <>
const EnumNames& EnumNamesOf<TiLeadingStyle>();

// One drawn cell: its glyph and box.
struct TSevenSegmentCell {
  TSevenSegmentCharacter Glyph = sscBlank;
  TRect Box;
};

class TiSevenSegmentAnalog : public TiSevenSegmentDisplay {
  PL_CLASS(TiSevenSegmentAnalog)
 public:
  explicit TiSevenSegmentAnalog(TComponent* AOwner);

  // Values above 1e15 and NaN are stored as 1e15, minus infinity as -1e15.
  double GetValue() const { return value_; }
  void SetValue(double Value);
  int32_t GetPrecision() const { return precision_; }
  void SetPrecision(int32_t Value);
  int32_t GetDigitCount() const { return digitCount_; }
  void SetDigitCount(int32_t Value);
  bool GetShowSign() const { return showSign_; }
  void SetShowSign(bool Value);
  TiLeadingStyle GetLeadingStyle() const { return leadingStyle_; }
  void SetLeadingStyle(TiLeadingStyle Value);

  TSize GetPreferredSize() override;
  // The cells the present value is drawn in at the present size, in drawing order.
  std::vector<TSevenSegmentCell> Cells() const;
  void PaintToCanvas(TCanvas* Canvas) override;

 private:
  double value_ = 0;
  int32_t precision_ = 2;
  int32_t digitCount_ = 4;
  bool showSign_ = true;
  TiLeadingStyle leadingStyle_ = ilsSpaces;
};
