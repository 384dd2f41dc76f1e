#include "widgets/iAnalogOutput.h"

#include <cctype>

#include "platform/os/user/User.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Variants.h"

PL_ENUM_NAMES(TiFilterInputStyle, "ifisNone", "ifisAuto")

// ============================================================================ number text =====

double ParseNumber(const AnsiString& S) {
  const AnsiString s = Trim(S);
  size_t i = 0;
  const bool negative = !s.empty() && s[0] == '-';
  if (negative) i = 1;
  AnsiString whole, fraction;
  bool inFraction = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9')
      (inFraction ? fraction : whole).push_back(c);
    else
      inFraction = true;
  }
  if (whole.empty() && fraction.empty()) throw EConvertError("'" + S + "' is not a valid number");
  double result = 0;
  if (!whole.empty()) result = StrToInt(negative ? "-" + whole : whole);
  if (!fraction.empty()) {
    const AnsiString kept = fraction.substr(0, 6);
    double scale = 1;
    for (size_t k = 0; k < kept.size(); ++k) scale *= 10;
    const double part = StrToInt(kept) / scale;
    result += negative ? -part : part;
  }
  return result;
}

// ============================================================================ the entry =======

const TClassInfo& TiAnalogOutput::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiAnalogOutput, TiEditCustom>("TiAnalogOutput")
          .Prop("Value", &TiAnalogOutput::GetValue, &TiAnalogOutput::SetValue)
          .Prop("ValueMin", &TiAnalogOutput::GetValueMin, &TiAnalogOutput::SetValueMin)
          .Prop("ValueMax", &TiAnalogOutput::GetValueMax, &TiAnalogOutput::SetValueMax)
          .Prop("Precision", &TiAnalogOutput::GetPrecision, &TiAnalogOutput::SetPrecision)
          .Default(1)
          .Prop("UnitsText", &TiAnalogOutput::GetUnitsText, &TiAnalogOutput::SetUnitsText)
          .Prop("FilterStyle", &TiAnalogOutput::GetFilterStyle, &TiAnalogOutput::SetFilterStyle)
          .Default(ifisAuto)
          .Prop("UndoOnError", &TiAnalogOutput::GetUndoOnError, &TiAnalogOutput::SetUndoOnError)
          .Default(true)
          .Prop("BeepOnError", &TiAnalogOutput::GetBeepOnError, &TiAnalogOutput::SetBeepOnError)
          .Default(false)
          .Event("OnChangeUser", &TiAnalogOutput::OnChangeUser)
          .Event("OnBeforeChange", &TiAnalogOutput::OnBeforeChange)
          .Event("OnBeforeUserChange", &TiAnalogOutput::OnBeforeUserChange)
          .Prop("Alignment", &TiEditCustom::GetAlignment, &TiEditCustom::SetAlignment)
          .Default(taCenter)
          .Prop("ErrorActive", &TiComponent::GetErrorActive, &TiComponent::SetErrorActive)
          .Default(false)
          .Prop("ErrorText", &TiComponent::GetErrorText, &TiComponent::SetErrorText)
          .Object("ErrorFont", &TiComponent::GetErrorFont, &TiComponent::SetErrorFont)
          .Prop("ErrorBackGroundColor", &TiComponent::GetErrorBackGroundColor,
                &TiComponent::SetErrorBackGroundColor)
          .Default(clBlack)
          .Type(ColorTypeInfo());
  return info;
}

TiAnalogOutput::TiAnalogOutput(TComponent* AOwner) : TiEditCustom(AOwner) {
  SetAlignment(taCenter);
  GetFont()->SetStyle(TFontStyles{fsBold});
  // Value 0 over the empty text: the field shows "0.0".
  SetValue(0);
}

AnsiString TiAnalogOutput::FormatValue(double V) const {
  const AnsiString number =
      precision_ >= 0 ? Format("%." + IntToStr(precision_) + "f", {V}) : Format("%g", {V});
  return Trim(number) + unitsText_;
}

double TiAnalogOutput::TextToValue(const AnsiString& S) {
  const AnsiString units = Trim(unitsText_);
  const AnsiString number =
      units.empty() ? S : StringReplace(S, units, "", TReplaceFlags{rfReplaceAll, rfIgnoreCase});
  try {
    return ParseNumber(number);
  } catch (const Exception&) {
    if (!undoOnError_) throw;
    UndoEdit();
    if (beepOnError_) MessageBeep(0);
    return value_;
  }
}

double TiAnalogOutput::Limited(double V) const {
  if (valueMax_ == 0 && valueMin_ == 0) return V;
  if (V > valueMax_) V = valueMax_;
  if (V < valueMin_) V = valueMin_;
  return V;
}

void TiAnalogOutput::SetValue(double Value) {
  const bool streaming = IsStreaming();
  double v = streaming ? Value : Limited(Value);
  if (v == value_) {
    RefreshText();
    return;
  }
  bool canChange = true;
  // No change event while a definition is read, the before-change ones included.
  if (!streaming) {
    if (InsideUserInput()) OnBeforeUserChange(this, value_, v, canChange);
    OnBeforeChange(this, value_, v, canChange);
    if (canChange) OnPropertyChanging(this, "Value", canChange);
  }
  if (canChange) {
    v = Limited(v);
    if (!SendPropertyToOPC("Value", Variant(v))) {
      value_ = v;
      SetAppliedText(FormatValue(v));
      RefreshText();
      DoChange();
    }
  }
  // A refused or altered value puts the shown text back in step with Value.
  RefreshText();
}

void TiAnalogOutput::SetValueMin(double Value) {
  if (Value == valueMin_) return;
  valueMin_ = Value;
  SetValue(value_);
}

void TiAnalogOutput::SetValueMax(double Value) {
  if (Value == valueMax_) return;
  valueMax_ = Value;
  SetValue(value_);
}

void TiAnalogOutput::SetPrecision(int32_t Value) {
  if (Value == precision_) return;
  precision_ = Value;
  // Re-format only: the shown text must not be read back at the new precision.
  precisionChanging_ = true;
  try {
    RefreshText();
  } catch (...) {
    precisionChanging_ = false;
    throw;
  }
  precisionChanging_ = false;
}

void TiAnalogOutput::SetUnitsText(const AnsiString& Value) {
  const AnsiString units = Trim(Value).empty() ? AnsiString() : Value;
  if (units == unitsText_) return;
  unitsText_ = units;
  SetAppliedText(FormatValue(value_));
  RefreshText();
}

void TiAnalogOutput::DoChange() {
  if (IsStreaming()) return;
  TiEditCustom::DoChange();
  if (InsideUserInput()) OnChangeUser(this);
}

void TiAnalogOutput::ApplyText() {
  if (GetEditText() != AppliedText()) {
    if (!precisionChanging_) SetValue(TextToValue(GetEditText()));
    SetAppliedText(FormatValue(value_));
  }
  SelectAllText();
}

bool TiAnalogOutput::AcceptChar(char Key) {
  if (filterStyle_ == ifisNone) return true;
  bool ok = Key == '-' || (Key >= '0' && Key <= '9') || ((Key == '.' || Key == ',') && precision_ != 0);
  if (!ok) {
    const char up = char(std::toupper(uint8_t(Key)));
    for (char c : unitsText_)
      if (char(std::toupper(uint8_t(c))) == up) ok = true;
  }
  if (!ok && beepOnError_) MessageBeep(0);
  return ok;
}

void TiAnalogOutput::SelectAllText() {
  const int32_t len = int32_t(GetEditText().size());
  SetSelStart(0);
  SetSelLength(std::max(0, len - int32_t(unitsText_.size())));
}
