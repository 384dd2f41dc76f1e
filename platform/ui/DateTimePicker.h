// The date-time picker: a date or a time shown in fields (day, month, year or hour, minute,
// second) that the keys edit one at a time, with an optional check box, and either a drop-down
// month calendar (dates in dmComboBox) or up and down buttons.  Changes by the user raise
// OnChange; the parent hears DTN_DATETIMECHANGE, DTN_DROPDOWN and DTN_CLOSEUP through WM_NOTIFY,
// which comes back to the picker as CN_NOTIFY.
//
// Thread contract: UI thread only.
#pragma once

#include <vector>

#include "platform/runtime/DateTime.h"
#include "platform/ui/Controls.h"

// ---- notifications (NMHDR.code of WM_NOTIFY) ----------------------------------------------------
constexpr UINT DTN_FIRST = UINT(-760);
constexpr UINT DTN_DATETIMECHANGE = DTN_FIRST + 1;
constexpr UINT DTN_DROPDOWN = DTN_FIRST + 6;
constexpr UINT DTN_CLOSEUP = DTN_FIRST + 7;

enum TDateTimeKind : uint8_t { dtkDate, dtkTime };
enum TDTDateMode : uint8_t { dmComboBox, dmUpDown };
enum TDTDateFormat : uint8_t { dfShort, dfLong };
template <>
const EnumNames& EnumNamesOf<TDateTimeKind>();
template <>
const EnumNames& EnumNamesOf<TDTDateMode>();
template <>
const EnumNames& EnumNamesOf<TDTDateFormat>();

class TDateTimePicker;

// The drop-down month calendar of a date picker: a popup window of the month of the picker's
// date; a click on a day takes it, the arrows in its title change the month.
class TPickerCalendar : public TCustomControl {
  PL_CLASS(TPickerCalendar)
 public:
  TPickerCalendar(TComponent* AOwner, TDateTimePicker* Picker);
  // The date shown highlighted (and the month shown).
  TDateTime Date = 0;
  // The size the calendar needs.
  TSize Extent();
  // A key while dropped: arrows move by days and weeks, Page Up/Down by months.  True when used.
  bool Key(WORD Key);
  // The day cell at a client point, 0 when none; -1 and -2: the previous and next month buttons.
  int32_t HitTest(TPoint P);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void DefaultHandler(TMessage& Message) override;

 private:
  TRect CellRect(int32_t Row, int32_t Col);
  TDateTime FirstCell();
  int32_t cellW_ = 24, cellH_ = 18, titleH_ = 22;
  TDateTimePicker* picker_;
};

// The picker.  DateTime holds both parts; Date and Time read and write one of them.  MinDate and
// MaxDate (0: none) bound the date.  Format (empty: the short date or long time format of the
// locale) uses the FormatDateTime letters d, M, yy, yyyy, h, hh, H, n, m after h, s, AMPM.
class TDateTimePicker : public TCustomControl {
  PL_CLASS(TDateTimePicker)
 public:
  explicit TDateTimePicker(TComponent* AOwner);
  ~TDateTimePicker() override;

  TDateTimeKind GetKind() const { return kind_; }
  void SetKind(TDateTimeKind Value);
  TDTDateMode GetDateMode() const { return dateMode_; }
  void SetDateMode(TDTDateMode Value);
  TDTDateFormat GetDateFormat() const { return dateFormat_; }
  void SetDateFormat(TDTDateFormat Value);
  const AnsiString& GetFormat() const { return format_; }
  void SetFormat(const AnsiString& Value);
  TDateTime GetDateTime() const { return dateTime_; }
  // Brought within MinDate .. MaxDate; no OnChange (the program set it).
  void SetDateTime(TDateTime Value);
  TDateTime GetDate() const;
  void SetDate(TDateTime Value);
  TDateTime GetTime() const;
  void SetTime(TDateTime Value);
  TDateTime GetMinDate() const { return minDate_; }
  void SetMinDate(TDateTime Value);
  TDateTime GetMaxDate() const { return maxDate_; }
  void SetMaxDate(TDateTime Value);
  bool GetShowCheckbox() const { return showCheckbox_; }
  void SetShowCheckbox(bool Value);
  bool GetChecked() const { return checked_; }
  void SetChecked(bool Value);
  bool GetDroppedDown() const { return dropped_; }
  // The field that keys edit (0-based among the fields of the format).
  int32_t FocusedField() const { return field_; }
  // The text shown.
  AnsiString DisplayText();

  TNotifyEvent OnChange, OnDropDown, OnCloseUp;

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

 protected:
  friend class TPickerCalendar;
  enum class TPart : uint8_t { Year, Month, Day, Hour, Minute, Second, AmPm, Literal };
  struct TField {
    TPart Part = TPart::Literal;
    int32_t Width = 0;  // letters of the token
    AnsiString Text;    // literals
  };
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  virtual void Change();
  void Notify(UINT Code);
  // The user changed the value: bounded, shown, announced.
  void UserChange(TDateTime Value);
  void DropDown();
  void CloseUp(bool Take);

 private:
  void ParseFormat();
  AnsiString FieldText(const TField& F) const;
  int32_t FieldCount() const;
  TField* EditField(int32_t Index);
  void Step(int32_t Delta);
  void TypeDigit(int32_t Digit);
  TDateTime Bounded(TDateTime Value) const;
  TRect ButtonRect();
  TRect CheckRect();
  int32_t FieldsLeft();

  TDateTimeKind kind_ = dtkDate;
  TDTDateMode dateMode_ = dmComboBox;
  TDTDateFormat dateFormat_ = dfShort;
  AnsiString format_;
  TDateTime dateTime_ = 0;
  TDateTime minDate_ = 0, maxDate_ = 0;
  bool showCheckbox_ = false;
  bool checked_ = true;
  bool dropped_ = false;
  std::vector<TField> fields_;
  int32_t field_ = 0;
  AnsiString typed_;
  TPickerCalendar* calendar_ = nullptr;
};
