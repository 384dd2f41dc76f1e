// A numeric entry field on the widget editor: a Double Value shown with a fixed number of
// decimals and a units suffix, an input filter, optional limits, and before-change events that
// may alter or veto a value (step sizes, hot-key values and scan parameters of the program).
#pragma once

#include "widgets/iEditCustom.h"

// ifisAuto lets through only what a number with its units can hold.
enum TiFilterInputStyle : uint8_t { ifisNone, ifisAuto };
template <>
const EnumNames& EnumNamesOf<TiFilterInputStyle>();

// Sender, OldValue, var NewValue, var CanChange.
using TOnBeforeChangeDouble = TEvent<TObject*, double, double&, bool&>;

// The entry's own reading of a decimal number: an optional leading "-" is the sign; the digits
// before the first other character are the integer part (32-bit; beyond it EConvertError); every
// digit after that character, in order, forms the fraction, of which the first 6 count.  So
// "12,5" and "12.5" give 12.5, "1.2.3" 1.23.  A text without any digit raises EConvertError.
double ParseNumber(const AnsiString& S);

class TiAnalogOutput : public TiEditCustom {
  PL_CLASS(TiAnalogOutput)
 public:
  explicit TiAnalogOutput(TComponent* AOwner);

  double GetValue() const { return value_; }
  void SetValue(double Value);
  // Limits apply when either is not 0.
  double GetValueMin() const { return valueMin_; }
  void SetValueMin(double Value);
  double GetValueMax() const { return valueMax_; }
  void SetValueMax(double Value);
  // Decimals shown; a negative precision shows the general format.
  int32_t GetPrecision() const { return precision_; }
  void SetPrecision(int32_t Value);
  const AnsiString& GetUnitsText() const { return unitsText_; }
  void SetUnitsText(const AnsiString& Value);
  TiFilterInputStyle GetFilterStyle() const { return filterStyle_; }
  void SetFilterStyle(TiFilterInputStyle Value) { filterStyle_ = Value; }
  bool GetUndoOnError() const { return undoOnError_; }
  void SetUndoOnError(bool Value) { undoOnError_ = Value; }
  bool GetBeepOnError() const { return beepOnError_; }
  void SetBeepOnError(bool Value) { beepOnError_ = Value; }

  // The shown text of a value: the number and UnitsText.
  AnsiString FormatValue(double V) const;
  // UnitsText removed, then ParseNumber; a failed parse with UndoOnError undoes the edit and
  // answers the present Value.
  double TextToValue(const AnsiString& S);

  void DoChange() override;
  void ApplyText() override;
  bool AcceptChar(char Key) override;
  void SelectAllText() override;

  TNotifyEvent OnChangeUser;
  TOnBeforeChangeDouble OnBeforeChange;
  TOnBeforeChangeDouble OnBeforeUserChange;

 private:
  double Limited(double V) const;
  void RefreshText() { SetEditText(FormatValue(value_)); }

  double value_ = 0;
  double valueMin_ = 0;
  double valueMax_ = 0;
  int32_t precision_ = 1;
  AnsiString unitsText_;
  TiFilterInputStyle filterStyle_ = ifisAuto;
  bool undoOnError_ = true;
  bool beepOnError_ = false;
  bool precisionChanging_ = false;
};
