#include "widgets/iValueConverterEditForm.h"

#include <cmath>

#include "platform/runtime/Clock.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/NumText.h"

const TClassInfo& TiValueConverterEditForm::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiValueConverterEditForm, TiCustomEditorForm>("TiValueConverterEditForm");
  return info;
}

namespace {

// The days a date picker can show: 0001-01-01 .. 9999-12-31.
constexpr double kVcFirstDay = -693593;
constexpr double kVcLastDay = 2958465;

}  // namespace

TiValueConverterEditForm::TiValueConverterEditForm(TComponent* AOwner) : TiCustomEditorForm(AOwner) {
  SetCaption("Value Converter");
  SetBorderStyle(bsDialog);
  SetBounds(Left(), Top(), 269, 264);

  PageControl = new TiComponentEditorPageControl(this);
  PageControl->SetName("PageControl");
  PageControl->SetParent(this);
  PageControl->SetBounds(4, 2, 253, 167);
  auto addPage = [&](const char* name, const char* caption) {
    auto* page = new TTabSheet(this);
    page->SetName(name);
    page->SetCaption(caption);
    page->SetPageControl(PageControl);
    return page;
  };
  IntervalPage = addPage("IntervalPage", "Interval");
  DateTimePage = addPage("DateTimePage", "Date/Time");
  PricePage = addPage("PricePage", "Price 32nds");

  ValueEdit = new TiComponentEditorEdit(this);
  ValueEdit->SetName("ValueEdit");
  ValueEdit->SetParent(this);
  ValueEdit->SetBounds(4, 176, 253, 21);
  ValueEdit->SetTabStop(true);

  // Interval: two columns of three.
  HoursEdit = AddEdit(IntervalPage, "HoursEdit", "Hours", 0, 0, 23);
  MinutesEdit = AddEdit(IntervalPage, "MinutesEdit", "Minutes", 1, 0, 59);
  SecondsEdit = AddEdit(IntervalPage, "SecondsEdit", "Seconds", 2, 0, 59);
  MilliSecondsEdit = AddEdit(IntervalPage, "MilliSecondsEdit", "mSec", 0, 1, 999, 100);
  DaysEdit = AddEdit(IntervalPage, "DaysEdit", "Days", 1, 1, 0);
  WeeksEdit = AddEdit(IntervalPage, "WeeksEdit", "Weeks", 2, 1, 0);
  for (TiComponentEditorEdit* e : {HoursEdit, MinutesEdit, SecondsEdit, MilliSecondsEdit, DaysEdit})
    e->OnUpdate = TNotifyEvent(this, &TiValueConverterEditForm::IntervalChanged);
  WeeksEdit->OnUpdate = TNotifyEvent(this, &TiValueConverterEditForm::WeeksChanged);
  ZeroButton = new TButton(this);
  ZeroButton->SetName("ZeroButton");
  ZeroButton->SetCaption("Set All To 0");
  ZeroButton->SetParent(IntervalPage);
  ZeroButton->SetBounds(8, 104, 100, 25);
  ZeroButton->OnClick = TNotifyEvent(this, &TiValueConverterEditForm::ZeroClick);

  // Date and time.
  DatePicker = AddPicker(DateTimePage, "Date", 0, dtkDate);
  TimePicker = AddPicker(DateTimePage, "Time", 1, dtkTime);
  NowButton = new TButton(this);
  NowButton->SetName("NowButton");
  NowButton->SetCaption("Now");
  NowButton->SetParent(DateTimePage);
  NowButton->SetBounds(8, 76, 75, 25);
  NowButton->OnClick = TNotifyEvent(this, &TiValueConverterEditForm::NowClick);

  // Price.
  PriceIntegerEdit = AddEdit(PricePage, "PriceIntegerEdit", "Integer", 0, 0, 10000);
  Price32ndsEdit = AddEdit(PricePage, "Price32ndsEdit", "32nds", 1, 0, 31);
  Price256thsEdit = AddEdit(PricePage, "Price256thsEdit", "256ths", 2, 0, 7);
  for (TiComponentEditorEdit* e : {PriceIntegerEdit, Price32ndsEdit, Price256thsEdit})
    e->OnUpdate = TNotifyEvent(this, &TiValueConverterEditForm::PriceChanged);

  auto* panel = new TPanel(this);
  panel->SetName("ButtonPanel");
  panel->SetCaption("");
  panel->SetParent(this);
  panel->SetBounds(0, 0, 0, 39);
  panel->SetAlign(alBottom);
  auto addButton = [&](const char* name, const char* caption, TModalResult result, int32_t left) {
    auto* b = new TButton(this);
    b->SetName(name);
    b->SetCaption(caption);
    b->SetModalResult(result);
    b->SetParent(panel);
    b->SetBounds(left, 7, 80, 25);
    return b;
  };
  OkButton = addButton("OkButton", "OK", mrOk, 88);
  CancelButton = addButton("CancelButton", "Cancel", mrCancel, 174);
  PageControl->SetActivePageIndex(0);
}

TiComponentEditorEdit* TiValueConverterEditForm::AddEdit(TTabSheet* Page, const char* Name,
                                                         const char* Caption, int32_t Row, int32_t Column,
                                                         int16_t Max, int32_t Increment) {
  const int32_t x = 8 + Column * 120, y = 10 + Row * 30;
  auto* label = new TLabel(this);
  label->SetCaption(Caption);
  label->SetParent(Page);
  label->SetBounds(x, y + 3, 48, 13);
  auto* edit = new TiComponentEditorEdit(this);
  edit->SetName(Name);
  edit->SetParent(Page);
  edit->SetBounds(x + 50, y, 50, 21);
  edit->SetTabStop(true);
  auto* upDown = new TiUpDown(this);
  upDown->SetParent(Page);
  upDown->SetMin(0);
  upDown->SetMax(Max);
  upDown->SetIncrement(Increment);
  upDown->SetAssociate(edit);
  return edit;
}

TDateTimePicker* TiValueConverterEditForm::AddPicker(TTabSheet* Page, const char* Caption, int32_t Row,
                                                     TDateTimeKind Kind) {
  auto* label = new TLabel(this);
  label->SetCaption(Caption);
  label->SetParent(Page);
  label->SetBounds(8, 13 + Row * 30, 30, 13);
  auto* picker = new TDateTimePicker(this);
  picker->SetParent(Page);
  picker->SetKind(Kind);
  picker->SetBounds(label->Left() + label->Width() + 5, label->Top() - 3, 137, 21);
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
