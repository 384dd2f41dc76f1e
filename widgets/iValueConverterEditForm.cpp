#include "widgets/iValueConverterEditForm.h"

#include <cmath>

#include "platform/runtime/Clock.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/NumText.h"

// The stored definition lives in this unit, so that it is linked wherever the form is.
#include "widgets/defs/iValueConverterEditForm_def.inc"

const TClassInfo& TiValueConverterEditForm::ClassInfo() {
  using F = TiValueConverterEditForm;
  static const TClassInfo info = TClassInfo::Of<F, TiCustomEditorForm>("TiValueConverterEditForm")
                                     .Field("PageControl", &F::PageControl)
                                     .Field("IntervalPage", &F::IntervalPage)
                                     .Field("DateTimePage", &F::DateTimePage)
                                     .Field("PricePage", &F::PricePage)
                                     .Field("ValueEdit", &F::ValueEdit)
                                     .Field("HoursEdit", &F::HoursEdit)
                                     .Field("MinutesEdit", &F::MinutesEdit)
                                     .Field("SecondsEdit", &F::SecondsEdit)
                                     .Field("MilliSecondsEdit", &F::MilliSecondsEdit)
                                     .Field("DaysEdit", &F::DaysEdit)
                                     .Field("WeeksEdit", &F::WeeksEdit)
                                     .Field("PriceIntegerEdit", &F::PriceIntegerEdit)
                                     .Field("Price32ndsEdit", &F::Price32ndsEdit)
                                     .Field("Price256thsEdit", &F::Price256thsEdit)
                                     .Field("HoursUpDown", &F::HoursUpDown)
                                     .Field("MinutesUpDown", &F::MinutesUpDown)
                                     .Field("SecondsUpDown", &F::SecondsUpDown)
                                     .Field("MilliSecondsUpDown", &F::MilliSecondsUpDown)
                                     .Field("DaysUpDown", &F::DaysUpDown)
                                     .Field("WeeksUpDown", &F::WeeksUpDown)
                                     .Field("PriceIntegerUpDown", &F::PriceIntegerUpDown)
                                     .Field("Price32ndsUpDown", &F::Price32ndsUpDown)
                                     .Field("Price256thsUpDown", &F::Price256thsUpDown)
                                     .Field("DateLabel", &F::DateLabel)
                                     .Field("TimeLabel", &F::TimeLabel)
                                     .Field("NowButton", &F::NowButton)
                                     .Field("ZeroButton", &F::ZeroButton)
                                     .Field("OkButton", &F::OkButton)
                                     .Field("CancelButton", &F::CancelButton)
                                     .Field("ButtonPanel", &F::ButtonPanel)
                                     .Method("FormCreate", &F::FormCreate)
                                     .Method("IntervalChanged", &F::IntervalChanged)
                                     .Method("WeeksChanged", &F::WeeksChanged)
                                     .Method("NowClick", &F::NowClick)
                                     .Method("ZeroClick", &F::ZeroClick)
                                     .Method("PriceChanged", &F::PriceChanged);
  return info;
}

namespace {

// The days a date picker can show: 0001-01-01 .. 9999-12-31.
constexpr double kVcFirstDay = -693593;
constexpr double kVcLastDay = 2958465;

}  // namespace

TiValueConverterEditForm::TiValueConverterEditForm(TComponent* AOwner) : TiCustomEditorForm(AOwner) {}

void TiValueConverterEditForm::FormCreate(TObject*) {
  DatePicker = AddPicker(DateLabel, dtkDate);
  TimePicker = AddPicker(TimeLabel, dtkTime);
}

TDateTimePicker* TiValueConverterEditForm::AddPicker(TLabel* Label, TDateTimeKind Kind) {
  auto* picker = new TDateTimePicker(this);
  picker->SetParent(Label->GetParent());
  picker->SetKind(Kind);
  picker->SetBounds(Label->Left() + Label->Width() + 5, Label->Top() - 3, 137, picker->Height());
  picker->SetTabStop(true);
  picker->OnChange = TNotifyEvent(this, &TiValueConverterEditForm::DateTimeChanged);
  return picker;
}

void TiValueConverterEditForm::ShowPage(TiValueConverterPageType Page) {
  PageControl->SetActivePageIndex(Page == ivcptDateTime ? 1 : Page == ivcptPrice32nd ? 2 : 0);
}

void TiValueConverterEditForm::SetValue(double V) {
  const double b = V <= 1e14 ? V : V - std::trunc(V);
  const double day = std::trunc(b);
  ValueEdit->SetAsFloat(V);

  // The pickers fire OnChange only for the user; a day they cannot hold leaves the page blank
  // and disabled instead of failing half-way.
  const bool dateOk = std::isfinite(b) && day >= kVcFirstDay && day <= kVcLastDay;
  DatePicker->SetEnabled(dateOk);
  TimePicker->SetEnabled(dateOk);
  NowButton->SetEnabled(true);
  if (dateOk) {
    DatePicker->SetDateTime(day);
    TimePicker->SetDateTime(day + std::fabs(b - day));
  }

  const bool intervalOk = std::isfinite(b) && std::fabs(day) < 2147483647.0;
  const int32_t days = intervalOk ? int32_t(day) : 0;
  DaysEdit->SetAsInteger(days);
  WeeksEdit->SetAsInteger(days / 7);
  WORD h = 0, m = 0, s = 0, ms = 0;
  if (intervalOk) DecodeTime(b, h, m, s, ms);
  HoursEdit->SetAsInteger(h);
  MinutesEdit->SetAsInteger(m);
  SecondsEdit->SetAsInteger(s);
  MilliSecondsEdit->SetAsInteger(ms);

  // The whole part may lie beyond 32 bits: it is shown as digits.
  const double whole = std::isfinite(V) ? std::trunc(V) : 0;
  const double frac = std::isfinite(V) ? V - whole : 0;
  PriceIntegerEdit->SetAsString(FormatFloat("0", whole));
  Price32ndsEdit->SetAsInteger(int32_t(std::trunc(frac / 0.03125)));
  const double n32 = Price32ndsEdit->GetAsInteger();
  Price256thsEdit->SetAsInteger(int32_t(std::trunc((frac - n32 / 32) / 0.00390625)));
}

TDateTime TiValueConverterEditForm::IntervalTime() {
  return EncodeTime(WORD(HoursEdit->GetAsInteger()), WORD(MinutesEdit->GetAsInteger()),
                    WORD(SecondsEdit->GetAsInteger()), WORD(MilliSecondsEdit->GetAsInteger()));
}

void TiValueConverterEditForm::IntervalChanged(TObject*) {
  const double v = DaysEdit->GetAsInteger() + IntervalTime();
  ValueEdit->SetAsFloat(v);
  SetValue(GetValue());
}

void TiValueConverterEditForm::WeeksChanged(TObject*) {
  const double v = double(WeeksEdit->GetAsInteger()) * 7 + IntervalTime();
  ValueEdit->SetAsFloat(v);
  SetValue(GetValue());
}

void TiValueConverterEditForm::DateTimeChanged(TObject*) {
  const double date = DatePicker->GetDateTime(), time = TimePicker->GetDateTime();
  ValueEdit->SetAsFloat(std::trunc(date) + time - std::trunc(time));
  SetValue(GetValue());
}

void TiValueConverterEditForm::NowClick(TObject*) {
  ValueEdit->SetAsFloat(Now());
  SetValue(GetValue());
}

void TiValueConverterEditForm::ZeroClick(TObject*) {
  ValueEdit->SetAsFloat(0);
  SetValue(GetValue());
}

void TiValueConverterEditForm::PriceChanged(TObject*) {
  ValueEdit->SetAsFloat(std::trunc(PriceIntegerEdit->GetAsFloat()) + Price32ndsEdit->GetAsInteger() / 32.0 +
                        Price256thsEdit->GetAsInteger() / 256.0);
}
