// The date-time picker and its drop-down calendar.
//
// Sections: class descriptions / calendar / picker: properties / picker: fields / picker: input /
// picker: painting.
#include "platform/ui/DateTimePicker.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Forms.h"

PL_ENUM_NAMES(TDateTimeKind, "dtkDate", "dtkTime")
PL_ENUM_NAMES(TDTDateMode, "dmComboBox", "dmUpDown")
PL_ENUM_NAMES(TDTDateFormat, "dfShort", "dfLong")

// ============================================================================ class descriptions

const TClassInfo& TPickerCalendar::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPickerCalendar, TCustomControl>("TPickerCalendar");
  return info;
}

const TClassInfo& TDateTimePicker::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TDateTimePicker, TCustomControl>("TDateTimePicker")
          .Prop("Checked", &TDateTimePicker::GetChecked, &TDateTimePicker::SetChecked)
          .Default(true)
          .Prop("Date", &TDateTimePicker::GetDate, &TDateTimePicker::SetDate)
          .Prop("Time", &TDateTimePicker::GetTime, &TDateTimePicker::SetTime)
          .Prop("DateFormat", &TDateTimePicker::GetDateFormat, &TDateTimePicker::SetDateFormat)
          .Default(dfShort)
          .Prop("DateMode", &TDateTimePicker::GetDateMode, &TDateTimePicker::SetDateMode)
          .Default(dmComboBox)
          .Prop("Format", &TDateTimePicker::GetFormat, &TDateTimePicker::SetFormat)
          .Prop("Kind", &TDateTimePicker::GetKind, &TDateTimePicker::SetKind)
          .Default(dtkDate)
          .Prop("MaxDate", &TDateTimePicker::GetMaxDate, &TDateTimePicker::SetMaxDate)
          .Prop("MinDate", &TDateTimePicker::GetMinDate, &TDateTimePicker::SetMinDate)
          .Prop("ShowCheckbox", &TDateTimePicker::GetShowCheckbox, &TDateTimePicker::SetShowCheckbox)
          .Default(false)
          .Event("OnChange", &TDateTimePicker::OnChange)
          .Event("OnCloseUp", &TDateTimePicker::OnCloseUp)
          .Event("OnDropDown", &TDateTimePicker::OnDropDown);
  return info;
}

namespace {
struct TDateTimePickerRegistration {
  TDateTimePickerRegistration() { RegisterClasses({&TDateTimePicker::ClassInfo()}); }
} g_dateTimePickerRegistration;

struct TPickerParts {
  WORD Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0, Second = 0, MSec = 0;
};

TPickerParts PickerDecode(TDateTime v) {
  TPickerParts p;
  DecodeDate(v, p.Year, p.Month, p.Day);
  DecodeTime(v, p.Hour, p.Minute, p.Second, p.MSec);
  return p;
}

TDateTime PickerEncode(const TPickerParts& p) {
  TDateTime d = EncodeDate(p.Year, p.Month, std::min<WORD>(p.Day, DaysInAMonth(p.Year, p.Month)));
  TDateTime t = EncodeTime(p.Hour, p.Minute, p.Second, p.MSec);
  return d >= 0 ? d + t : d - t;
}

int32_t PickerWrap(int32_t v, int32_t lo, int32_t hi) {
  int32_t span = hi - lo + 1;
  return lo + ((v - lo) % span + span) % span;
}
}  // namespace

// ============================================================================ calendar ========

TPickerCalendar::TPickerCalendar(TComponent* AOwner, TDateTimePicker* Picker)
    : TCustomControl(AOwner), picker_(Picker) {
  SetVisible(false);
  SetColor(clWindow);
  ControlStyle.Include(csOpaque);
}

void TPickerCalendar::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = nullptr;
}

TSize TPickerCalendar::Extent() { return {7 * cellW_ + 2, titleH_ + 7 * cellH_ + 4}; }

TRect TPickerCalendar::CellRect(int32_t Row, int32_t Col) {
  // Row 0 holds the day names.
  return Bounds(Col * cellW_, titleH_ + Row * cellH_, cellW_, cellH_);
}

TDateTime TPickerCalendar::FirstCell() {
  WORD y, m, d;
  DecodeDate(Date, y, m, d);
  TDateTime first = EncodeDate(y, m, 1);
  return first - (DayOfWeek(first) - 1);
}

int32_t TPickerCalendar::HitTest(TPoint P) {
  if (P.Y < titleH_) {
    if (P.X < cellW_) return -1;
    if (P.X >= 6 * cellW_) return -2;
    return 0;
  }
  int32_t row = (P.Y - titleH_) / cellH_, col = P.X / cellW_;
  if (row < 1 || row > 6 || col < 0 || col > 6) return 0;
  return (row - 1) * 7 + col + 1;
}

bool TPickerCalendar::Key(WORD Key) {
  switch (Key) {
    case VK_LEFT:
      Date -= 1;
      break;
    case VK_RIGHT:
      Date += 1;
      break;
    case VK_UP:
      Date -= 7;
      break;
    case VK_DOWN:
      Date += 7;
      break;
    case VK_PRIOR:
      Date = IncMonth(Date, -1);
      break;
    case VK_NEXT:
      Date = IncMonth(Date, 1);
      break;
    default:
      return false;
  }
  Date = picker_->Bounded(Date);
  Invalidate();
  return true;
}

void TPickerCalendar::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TPoint p = LParamToPoint(Message.LParam);
      if (!GetClientRect().Contains(p)) {
        picker_->CloseUp(false);
        return;
      }
      int32_t hit = HitTest(p);
      if (hit == -1 || hit == -2) {
        Date = picker_->Bounded(IncMonth(Date, hit == -1 ? -1 : 1));
        Invalidate();
      } else if (hit > 0) {
        TDateTime day = FirstCell() + (hit - 1);
        Date = std::trunc(day) + (Date - std::trunc(Date));
        picker_->CloseUp(true);
      }
      return;
    }
    case WM_CAPTURECHANGED:
      if (picker_->GetDroppedDown() && reinterpret_cast<HWND>(Message.LParam) != handle_)
        picker_->CloseUp(false);
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    default:
      break;
  }
  TCustomControl::DefaultHandler(Message);
}

void TPickerCalendar::Paint() {
  TCanvas* c = GetCanvas();
  const TFormatSettings& fs = FormatSettings;
  TRect client = GetClientRect();
  c->GetBrush()->SetColor(clWindow);
  c->FillRect(client);
  c->SetFont(picker_->GetFont());
  WORD y, m, d;
  DecodeDate(Date, y, m, d);
  TRect title{0, 0, client.Right, titleH_ - 2};
  c->GetBrush()->SetColor(clActiveCaption);
  c->FillRect(title);
  c->GetBrush()->SetStyle(bsClear);
  c->GetFont()->SetColor(clCaptionText);
  RECT tr = title;
  AnsiString head = fs.LongMonthNames[m - 1] + " " + IntToStr(y);
  DrawTextA(c->GetHandle(), head.c_str(), int(head.size()), &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT prev = Bounds(2, 2, cellW_ - 4, titleH_ - 6),
       next = Bounds(6 * cellW_ + 2, 2, cellW_ - 4, titleH_ - 6);
  DrawFrameControl(c->GetHandle(), &prev, DFC_SCROLL, DFCS_SCROLLLEFT);
  DrawFrameControl(c->GetHandle(), &next, DFC_SCROLL, DFCS_SCROLLRIGHT);
  c->GetFont()->SetColor(clWindowText);
  for (int32_t col = 0; col < 7; ++col) {
    RECT r = CellRect(0, col);
    AnsiString name = fs.ShortDayNames[size_t(col)].substr(0, 2);
    DrawTextA(c->GetHandle(), name.c_str(), int(name.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  TDateTime day = FirstCell();
  for (int32_t row = 1; row <= 6; ++row)
    for (int32_t col = 0; col < 7; ++col, day += 1) {
      WORD dy, dm, dd;
      DecodeDate(day, dy, dm, dd);
      RECT r = CellRect(row, col);
      bool current = std::trunc(day) == std::trunc(Date);
      if (current) {
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(clHighlight);
        c->FillRect(r);
        c->GetBrush()->SetStyle(bsClear);
      }
      c->GetFont()->SetColor(current ? clHighlightText : dm == m ? clWindowText : clGrayText);
      AnsiString t = IntToStr(dd);
      DrawTextA(c->GetHandle(), t.c_str(), int(t.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  c->GetBrush()->SetStyle(bsSolid);
}

// ============================================================================ picker: properties

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csOpaque, csFixedHeight, csSetCaption};
  SetBounds(0, 0, 186, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  dateTime_ = Now();
  calendar_ = new TPickerCalendar(nullptr, this);
  ParseFormat();
}

TDateTimePicker::~TDateTimePicker() {
  if (dropped_ && calendar_->HandleAllocated() && GetCapture() == calendar_->Handle()) ReleaseCapture();
  delete calendar_;
}

void TDateTimePicker::SetKind(TDateTimeKind Value) {
  if (kind_ == Value) return;
  if (dropped_) CloseUp(false);
  kind_ = Value;
  ParseFormat();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
  dateMode_ = Value;
  Invalidate();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value) {
  dateFormat_ = Value;
  ParseFormat();
}

void TDateTimePicker::SetFormat(const AnsiString& Value) {
  format_ = Value;
  ParseFormat();
}

TDateTime TDateTimePicker::Bounded(TDateTime Value) const {
  if (minDate_ != 0 && std::trunc(Value) < std::trunc(minDate_))
    Value = std::trunc(minDate_) + (Value - std::trunc(Value));
  if (maxDate_ != 0 && std::trunc(Value) > std::trunc(maxDate_))
    Value = std::trunc(maxDate_) + (Value - std::trunc(Value));
  return Value;
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
  if (!std::isfinite(Value) || Value < -693593 || Value > 2958466) throw EConvertError("Invalid date");
  dateTime_ = Bounded(Value);
  Invalidate();
}

TDateTime TDateTimePicker::GetDate() const { return std::trunc(dateTime_); }
void TDateTimePicker::SetDate(TDateTime Value) { SetDateTime(std::trunc(Value) + std::fabs(GetTime())); }
TDateTime TDateTimePicker::GetTime() const { return std::fabs(dateTime_ - std::trunc(dateTime_)); }
void TDateTimePicker::SetTime(TDateTime Value) {
  double t = std::fabs(Value - std::trunc(Value));
  SetDateTime(dateTime_ >= 0 ? GetDate() + t : GetDate() - t);
}

void TDateTimePicker::SetMinDate(TDateTime Value) {
  if (Value != 0 && maxDate_ != 0 && Value > maxDate_)
    throw EInvalidOperation("Date exceeds maximum of " + DateToStr(maxDate_));
  minDate_ = Value;
  dateTime_ = Bounded(dateTime_);
  Invalidate();
}

void TDateTimePicker::SetMaxDate(TDateTime Value) {
  if (Value != 0 && minDate_ != 0 && Value < minDate_)
    throw EInvalidOperation("Date is less than minimum of " + DateToStr(minDate_));
  maxDate_ = Value;
  dateTime_ = Bounded(dateTime_);
  Invalidate();
}

void TDateTimePicker::SetShowCheckbox(bool Value) {
  showCheckbox_ = Value;
  Invalidate();
}

void TDateTimePicker::SetChecked(bool Value) {
  checked_ = Value;
  Invalidate();
}

// ============================================================================ picker: fields ==

void TDateTimePicker::ParseFormat() {
  const TFormatSettings& fs = FormatSettings;
  AnsiString f = format_;
  if (f.empty())
    f = kind_ == dtkTime ? fs.LongTimeFormat : dateFormat_ == dfLong ? fs.LongDateFormat : fs.ShortDateFormat;
  fields_.clear();
  bool afterHour = false;
  auto literal = [&](const AnsiString& s) {
    if (!fields_.empty() && fields_.back().Part == TPart::Literal)
      fields_.back().Text += s;
    else
      fields_.push_back({TPart::Literal, 0, s});
  };
  for (size_t i = 0; i < f.size();) {
    char ch = f[i];
    char lower = char(std::tolower(uint8_t(ch)));
    size_t run = 1;
    while (i + run < f.size() && std::tolower(uint8_t(f[i + run])) == lower) ++run;
    if (f.compare(i, 4, "AMPM") == 0 || f.compare(i, 4, "ampm") == 0) {
      fields_.push_back({TPart::AmPm, 4, {}});
      i += 4;
      continue;
    }
    TPart part = TPart::Literal;
    switch (lower) {
      case 'y':
        part = TPart::Year;
        break;
      case 'd':
        part = TPart::Day;
        break;
      case 'h':
        part = TPart::Hour;
        afterHour = true;
        break;
      case 'n':
        part = TPart::Minute;
        break;
      case 's':
        part = TPart::Second;
        break;
      case 'm':
        part = ch == 'm' && afterHour ? TPart::Minute : TPart::Month;
        break;
      default:
        break;
    }
    if (part == TPart::Literal) {
      literal(ch == '/'   ? AnsiString(1, fs.DateSeparator)
              : ch == ':' ? AnsiString(1, fs.TimeSeparator)
                          : AnsiString(1, ch));
      ++i;
      continue;
    }
    fields_.push_back({part, int32_t(run), {}});
    i += run;
  }
  field_ = 0;
  typed_.clear();
  Invalidate();
}

int32_t TDateTimePicker::FieldCount() const {
  return int32_t(std::count_if(fields_.begin(), fields_.end(),
                               [](const TField& f) { return f.Part != TPart::Literal; }));
}

TDateTimePicker::TField* TDateTimePicker::EditField(int32_t Index) {
  for (TField& f : fields_)
    if (f.Part != TPart::Literal && Index-- == 0) return &f;
  return nullptr;
}

AnsiString TDateTimePicker::FieldText(const TField& F) const {
  const TFormatSettings& fs = FormatSettings;
  TPickerParts p = PickerDecode(dateTime_);
  bool twelve =
      std::any_of(fields_.begin(), fields_.end(), [](const TField& f) { return f.Part == TPart::AmPm; });
  auto num = [&](int32_t v, int32_t width) {
    AnsiString s = IntToStr(v);
    while (int32_t(s.size()) < width) s = "0" + s;
    return s;
  };
  switch (F.Part) {
    case TPart::Year:
      return F.Width <= 2 ? num(p.Year % 100, 2) : num(p.Year, 4);
    case TPart::Month:
      if (F.Width == 3) return fs.ShortMonthNames[p.Month - 1];
      if (F.Width >= 4) return fs.LongMonthNames[p.Month - 1];
      return num(p.Month, F.Width);
    case TPart::Day:
      if (F.Width == 3) return fs.ShortDayNames[size_t(DayOfWeek(dateTime_) - 1)];
      if (F.Width >= 4) return fs.LongDayNames[size_t(DayOfWeek(dateTime_) - 1)];
      return num(p.Day, F.Width);
    case TPart::Hour: {
      int32_t h = p.Hour;
      if (twelve) h = h % 12 == 0 ? 12 : h % 12;
      return num(h, F.Width);
    }
    case TPart::Minute:
      return num(p.Minute, F.Width);
    case TPart::Second:
      return num(p.Second, F.Width);
    case TPart::AmPm:
      return p.Hour < 12 ? fs.TimeAMString : fs.TimePMString;
    case TPart::Literal:
      return F.Text;
  }
  return {};
}

AnsiString TDateTimePicker::DisplayText() {
  AnsiString s;
  for (const TField& f : fields_) s += FieldText(f);
  return s;
}

void TDateTimePicker::Step(int32_t Delta) {
  TField* f = EditField(field_);
  if (!f) return;
  TPickerParts p = PickerDecode(dateTime_);
  switch (f->Part) {
    case TPart::Year:
      p.Year = WORD(std::clamp<int32_t>(p.Year + Delta, 1, 9999));
      break;
    case TPart::Month:
      p.Month = WORD(PickerWrap(p.Month + Delta, 1, 12));
      break;
    case TPart::Day:
      if (f->Width >= 3) {
        // A day name steps the date by days.
        UserChange(dateTime_ + Delta);
        return;
      }
      p.Day = WORD(PickerWrap(p.Day + Delta, 1, DaysInAMonth(p.Year, p.Month)));
      break;
    case TPart::Hour:
      p.Hour = WORD(PickerWrap(p.Hour + Delta, 0, 23));
      break;
    case TPart::Minute:
      p.Minute = WORD(PickerWrap(p.Minute + Delta, 0, 59));
      break;
    case TPart::Second:
      p.Second = WORD(PickerWrap(p.Second + Delta, 0, 59));
      break;
    case TPart::AmPm:
      p.Hour = WORD((p.Hour + 12) % 24);
      break;
    case TPart::Literal:
      return;
  }
  UserChange(PickerEncode(p));
}

void TDateTimePicker::TypeDigit(int32_t Digit) {
  TField* f = EditField(field_);
  if (!f || f->Part == TPart::AmPm || (f->Part == TPart::Day && f->Width >= 3)) return;
  typed_ += char('0' + Digit);
  int32_t v = StrToInt(typed_);
  TPickerParts p = PickerDecode(dateTime_);
  bool twelve =
      std::any_of(fields_.begin(), fields_.end(), [](const TField& x) { return x.Part == TPart::AmPm; });
  int32_t digits = f->Part == TPart::Year ? (f->Width <= 2 ? 2 : 4) : 2;
  int32_t most = 0;
  switch (f->Part) {
    case TPart::Year:
      most = 9999;
      if (int32_t(typed_.size()) == digits) {
        int32_t year = digits == 2 ? (v < 50 ? 2000 + v : 1900 + v) : std::max(1, v);
        p.Year = WORD(year);
      }
      break;
    case TPart::Month:
      most = 12;
      if (v >= 1 && v <= 12) p.Month = WORD(v);
      break;
    case TPart::Day:
      most = DaysInAMonth(p.Year, p.Month);
      if (v >= 1 && v <= most) p.Day = WORD(v);
      break;
    case TPart::Hour:
      most = twelve ? 12 : 23;
      if (v <= most) p.Hour = WORD(twelve ? (v % 12) + (p.Hour >= 12 ? 12 : 0) : v);
      break;
    case TPart::Minute:
    case TPart::Second:
      most = 59;
      if (v <= 59) (f->Part == TPart::Minute ? p.Minute : p.Second) = WORD(v);
      break;
    default:
      return;
  }
  // A field that cannot take another digit is done: the next one is edited.
  bool done = int32_t(typed_.size()) >= digits || v * 10 > most;
  UserChange(PickerEncode(p));
  if (done) {
    typed_.clear();
    if (field_ + 1 < FieldCount()) ++field_;
    Invalidate();
  }
}

// ============================================================================ picker: input ===

void TDateTimePicker::Change() { OnChange(this); }

void TDateTimePicker::Notify(UINT Code) {
  NMHDR nm;
  nm.hwndFrom = HandleAllocated() ? handle_ : nullptr;
  nm.idFrom = HandleAllocated() ? UINT_PTR(GetWindowLongPtrA(handle_, GWL_ID)) : 0;
  nm.code = Code;
  HWND parent = HandleAllocated() ? ::GetParent(handle_) : nullptr;
  if (parent)
    SendMessageA(parent, WM_NOTIFY, WPARAM(nm.idFrom), reinterpret_cast<LPARAM>(&nm));
  else
    Perform(CN_NOTIFY, WPARAM(nm.idFrom), reinterpret_cast<LPARAM>(&nm));
}

void TDateTimePicker::UserChange(TDateTime Value) {
  Value = Bounded(Value);
  if (Value == dateTime_) return;
  dateTime_ = Value;
  if (showCheckbox_) checked_ = true;
  Invalidate();
  Notify(DTN_DATETIMECHANGE);
}

void TDateTimePicker::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: {
      auto* nm = reinterpret_cast<const NMHDR*>(Message.LParam);
      Message.Result = 0;
      if (!nm) return;
      if (nm->code == DTN_DATETIMECHANGE) Change();
      if (nm->code == DTN_DROPDOWN) OnDropDown(this);
      if (nm->code == DTN_CLOSEUP) OnCloseUp(this);
      return;
    }
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (dropped_ ? DLGC_WANTALLKEYS : 0);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      typed_.clear();
      if (Message.Msg == WM_KILLFOCUS && dropped_) CloseUp(false);
      Invalidate();
      break;
    case CM_EXIT:
      if (dropped_) CloseUp(false);
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TDateTimePicker::DefaultHandler(TMessage& Message) { TCustomControl::DefaultHandler(Message); }

void TDateTimePicker::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (!Key) return;
  bool alt = Shift.Contains(ssAlt);
  bool calendar = kind_ == dtkDate && dateMode_ == dmComboBox;
  if (calendar && ((Key == VK_F4 && !alt) || (alt && Key == VK_DOWN))) {
    if (dropped_)
      CloseUp(true);
    else
      DropDown();
    Key = 0;
    return;
  }
  if (dropped_) {
    if (Key == VK_RETURN || Key == VK_ESCAPE)
      CloseUp(Key == VK_RETURN);
    else
      calendar_->Key(Key);
    Key = 0;
    return;
  }
  switch (Key) {
    case VK_LEFT:
    case VK_RIGHT: {
      int32_t n = FieldCount();
      if (n > 0) field_ = PickerWrap(field_ + (Key == VK_LEFT ? -1 : 1), 0, n - 1);
      typed_.clear();
      Invalidate();
      break;
    }
    case VK_HOME:
      field_ = 0;
      Invalidate();
      break;
    case VK_END:
      field_ = std::max(0, FieldCount() - 1);
      Invalidate();
      break;
    case VK_UP:
    case VK_DOWN:
      typed_.clear();
      Step(Key == VK_UP ? 1 : -1);
      break;
    case VK_SPACE:
      if (showCheckbox_) {
        checked_ = !checked_;
        Invalidate();
        Notify(DTN_DATETIMECHANGE);
      }
      break;
    default:
      return;
  }
  Key = 0;
}

void TDateTimePicker::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  if (Key >= '0' && Key <= '9' && !dropped_) {
    TypeDigit(Key - '0');
    Key = 0;
  } else if (uint8_t(Key) >= ' ') {
    // A separator ends the field.
    TField* f = EditField(field_);
    if (f && !typed_.empty()) {
      typed_.clear();
      if (field_ + 1 < FieldCount()) ++field_;
      Invalidate();
    }
    Key = 0;
  }
}

TRect TDateTimePicker::ButtonRect() {
  TRect c = GetClientRect();
  return TRect{c.Right - GetSystemMetrics(SM_CXVSCROLL), c.Top, c.Right, c.Bottom};
}

TRect TDateTimePicker::CheckRect() {
  TRect c = GetClientRect();
  int32_t s = std::min(13, c.Height() - 2);
  return Bounds(2, (c.Height() - s) / 2, s, s);
}

int32_t TDateTimePicker::FieldsLeft() { return showCheckbox_ ? CheckRect().Right + 4 : 2; }

void TDateTimePicker::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    TPoint p{X, Y};
    if (showCheckbox_ && CheckRect().Contains(p)) {
      checked_ = !checked_;
      Invalidate();
      Notify(DTN_DATETIMECHANGE);
    } else if (ButtonRect().Contains(p)) {
      if (kind_ == dtkDate && dateMode_ == dmComboBox) {
        if (dropped_)
          CloseUp(false);
        else
          DropDown();
      } else {
        Step(Y < ButtonRect().Height() / 2 ? 1 : -1);
      }
    } else {
      // The field under the mouse becomes the one the keys edit.
      TCanvas* c = GetCanvas();
      c->SetFont(GetFont());
      int32_t x = FieldsLeft(), index = 0;
      for (const TField& f : fields_) {
        int32_t w = c->TextWidth(FieldText(f));
        if (f.Part != TPart::Literal) {
          if (X < x + w) {
            field_ = index;
            break;
          }
          field_ = index++;
        }
        x += w;
      }
      typed_.clear();
      Invalidate();
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TDateTimePicker::DropDown() {
  if (dropped_ || !HandleAllocated() || !Showing()) return;
  Notify(DTN_DROPDOWN);
  calendar_->Date = dateTime_;
  calendar_->SetFont(GetFont());
  calendar_->HandleNeeded();
  TSize e = calendar_->Extent();
  TPoint o = ClientToScreen({0, GetClientHeight()});
  int32_t x = std::max(0, std::min(o.X, GetSystemMetrics(SM_CXSCREEN) - e.cx));
  int32_t y = o.Y + 2;
  if (y + e.cy > GetSystemMetrics(SM_CYSCREEN)) y = std::max(0, ClientToScreen({0, 0}).Y - e.cy - 2);
  dropped_ = true;
  SetWindowPos(calendar_->Handle(), HWND_TOPMOST, x, y, e.cx, e.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  calendar_->SetBounds(x, y, e.cx, e.cy);
  calendar_->Invalidate();
  SetCapture(calendar_->Handle());
  Invalidate();
}

void TDateTimePicker::CloseUp(bool Take) {
  if (!dropped_) return;
  dropped_ = false;
  if (calendar_->HandleAllocated()) {
    if (GetCapture() == calendar_->Handle()) ReleaseCapture();
    SetWindowPos(calendar_->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Invalidate();
  if (Take) UserChange(std::trunc(calendar_->Date) + (dateTime_ >= 0 ? GetTime() : -GetTime()));
  Notify(DTN_CLOSEUP);
}

// ============================================================================ picker: painting

void TDateTimePicker::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::Paint() {
  TCanvas* c = GetCanvas();
  TRect client = GetClientRect();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(client);
  if (showCheckbox_) {
    RECT r = CheckRect();
    DrawFrameControl(c->GetHandle(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | (checked_ ? DFCS_CHECKED : 0));
  }
  TRect b = ButtonRect();
  if (kind_ == dtkDate && dateMode_ == dmComboBox) {
    RECT r = b;
    DrawFrameControl(c->GetHandle(), &r, DFC_SCROLL,
                     DFCS_SCROLLCOMBOBOX | (dropped_ ? DFCS_PUSHED | DFCS_FLAT : 0));
  } else {
    RECT up = TRect{b.Left, b.Top, b.Right, b.Top + b.Height() / 2};
    RECT down = TRect{b.Left, b.Top + b.Height() / 2, b.Right, b.Bottom};
    DrawFrameControl(c->GetHandle(), &up, DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(c->GetHandle(), &down, DFC_SCROLL, DFCS_SCROLLDOWN);
  }
  c->SetFont(GetFont());
  bool greyed = !GetEnabled() || (showCheckbox_ && !checked_);
  int32_t th = c->TextHeight("Ag");
  int32_t x = FieldsLeft(), y = (client.Height() - th) / 2, index = 0;
  for (const TField& f : fields_) {
    AnsiString t = FieldText(f);
    int32_t w = c->TextWidth(t);
    bool current = f.Part != TPart::Literal && index == field_ && Focused() && !greyed;
    c->GetBrush()->SetColor(current ? clHighlight : GetColor());
    c->GetFont()->SetColor(greyed ? clGrayText : current ? clHighlightText : GetFont()->GetColor());
    c->TextOut(x, y, t);
    if (f.Part != TPart::Literal) ++index;
    x += w;
  }
}
