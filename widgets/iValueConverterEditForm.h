// The value converter: one floating-point value shown as a time interval, as a date and time and
// as a price in 32nds; editing any page recomputes the value (and, but for the price page, the
// other pages).  Its components come from its stored definition (forms/iValueConverterEditForm.dfm):
// create it with TCustomForm::Create.
#pragma once

#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "widgets/iEditorBasicComponents.h"

class TiValueConverterEditForm : public TiCustomEditorForm {
  PL_CLASS(TiValueConverterEditForm)
 public:
  explicit TiValueConverterEditForm(TComponent* AOwner);

  // The value edit's number.
  double GetValue() { return ValueEdit->GetAsFloat(); }
  // Fills every page from V without firing any change handler.  Values above 1e14 show only
  // their fraction on the interval and date pages; dates the pickers cannot hold leave the date
  // page disabled.
  void SetValue(double V);
  void ShowPage(TiValueConverterPageType Page);

  TiComponentEditorPageControl* PageControl = nullptr;
  TTabSheet *IntervalPage = nullptr, *DateTimePage = nullptr, *PricePage = nullptr;
  TiComponentEditorEdit* ValueEdit = nullptr;
  TiComponentEditorEdit *HoursEdit = nullptr, *MinutesEdit = nullptr, *SecondsEdit = nullptr,
                        *MilliSecondsEdit = nullptr, *DaysEdit = nullptr, *WeeksEdit = nullptr;
  TiComponentEditorEdit *PriceIntegerEdit = nullptr, *Price32ndsEdit = nullptr, *Price256thsEdit = nullptr;
  TiUpDown *HoursUpDown = nullptr, *MinutesUpDown = nullptr, *SecondsUpDown = nullptr,
           *MilliSecondsUpDown = nullptr, *DaysUpDown = nullptr, *WeeksUpDown = nullptr;
  TiUpDown *PriceIntegerUpDown = nullptr, *Price32ndsUpDown = nullptr, *Price256thsUpDown = nullptr;
  TLabel *DateLabel = nullptr, *TimeLabel = nullptr;
  // Created with the form, beside their labels.
  TDateTimePicker *DatePicker = nullptr, *TimePicker = nullptr;
  TButton *NowButton = nullptr, *ZeroButton = nullptr, *OkButton = nullptr, *CancelButton = nullptr;
  TPanel* ButtonPanel = nullptr;

 private:
  void FormCreate(TObject* Sender);
  TDateTimePicker* AddPicker(TLabel* Label, TDateTimeKind Kind);
  TDateTime IntervalTime();
  void IntervalChanged(TObject* Sender);
  void WeeksChanged(TObject* Sender);
  void DateTimeChanged(TObject* Sender);
  void NowClick(TObject* Sender);
  void ZeroClick(TObject* Sender);
  void PriceChanged(TObject* Sender);
};
