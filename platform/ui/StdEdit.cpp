// The edit controls.
//
// Sections: published types / TCustomEdit: properties / messages / layout and geometry /
// editing / keyboard and mouse / painting / memo lines / memo.
#include "platform/ui/StdEdit.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/os/kernel/Kernel.h"
#include "platform/runtime/Strings.h"

PL_ENUM_NAMES(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase")
PL_ENUM_NAMES(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")

namespace {
// The length limit when none is set.
constexpr int32_t kEditNoLimit = 0x7FFFFFFE;
// Pixels one horizontal scroll step moves.
constexpr int32_t kEditHScrollStep = 8;

bool EditIsBlank(char c) { return c == ' ' || c == '\t'; }
bool EditIsBreak(char c) { return c == '\r' || c == '\n'; }
bool EditIsWordChar(char c) { return !EditIsBlank(c) && !EditIsBreak(c); }
}  // namespace

// ============================================================================ published types =

const TClassInfo& TCustomEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomEdit, TWinControl>("TCustomEdit");
  return info;
}

const TClassInfo& TEdit::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TEdit, TCustomEdit>("TEdit")
          .Prop("AutoSelect", &TCustomEdit::GetAutoSelect, &TCustomEdit::SetAutoSelect)
          .Default(true)
          .Prop("BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle)
          .Default(bsSingle)
          .Prop("CharCase", &TCustomEdit::GetCharCase, &TCustomEdit::SetCharCase)
          .Default(ecNormal)
          .Prop("HideSelection", &TCustomEdit::GetHideSelection, &TCustomEdit::SetHideSelection)
          .Default(true)
          .Prop("MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength)
          .Default(0)
          .Prop("PasswordChar", &TCustomEdit::GetPasswordChar, &TCustomEdit::SetPasswordChar)
          .Default(char(0))
          .Prop("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly)
          .Default(false)
          .Prop("Text", &TControl::GetText, &TControl::SetText)
          .Event("OnChange", &TCustomEdit::OnChange);
  return info;
}

const TClassInfo& TMemoStrings::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TMemoStrings, TStrings>("TMemoStrings");
  return info;
}

const TClassInfo& TCustomMemo::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomMemo, TCustomEdit>("TCustomMemo");
  return info;
}

const TClassInfo& TMemo::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TMemo, TCustomMemo>("TMemo")
          .Prop("Alignment", &TCustomMemo::GetAlignment, &TCustomMemo::SetAlignment)
          .Default(taLeftJustify)
          .Prop("BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle)
          .Default(bsSingle)
          .Prop("HideSelection", &TCustomEdit::GetHideSelection, &TCustomEdit::SetHideSelection)
          .Default(true)
          .Object("Lines", &TCustomMemo::GetLines, &TCustomMemo::SetLines)
          .Prop("MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength)
          .Default(0)
          .Prop("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly)
          .Default(false)
          .Prop("ScrollBars", &TCustomMemo::GetScrollBars, &TCustomMemo::SetScrollBars)
          .Default(ssNone)
          .Prop("WantReturns", &TCustomMemo::GetWantReturns, &TCustomMemo::SetWantReturns)
          .Default(true)
          .Prop("WantTabs", &TCustomMemo::GetWantTabs, &TCustomMemo::SetWantTabs)
          .Default(false)
          .Prop("WordWrap", &TCustomMemo::GetWordWrap, &TCustomMemo::SetWordWrap)
          .Default(true)
          .Event("OnChange", &TCustomEdit::OnChange);
  return info;
}

namespace {
// Definitions name these classes without a form field for them.
struct TStdEditRegistration {
  TStdEditRegistration() { RegisterClasses({&TEdit::ClassInfo(), &TMemo::ClassInfo()}); }
} g_stdEditRegistration;
}  // namespace

// ============================================================================ TCustomEdit: properties

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
  SetBounds(0, 0, 121, 25);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  TControl::SetAutoSize(true);
}

TCustomEdit::~TCustomEdit() {
  canvas_->SetControl(nullptr);
  if (measureDC_) DeleteDC(measureDC_);
}

void TCustomEdit::SetAutoSize(bool Value) {
  if (GetAutoSize() == Value) return;
  TControl::SetAutoSize(Value);
  if (Value) AdjustHeight();
}

void TCustomEdit::AdjustHeight() {
  if (!GetAutoSize() || ComponentState().Contains(csLoading) || MultiLine()) return;
  int32_t h = LineHeight();
  int32_t extra = borderStyle_ == bsSingle && GetCtl3D() ? GetSystemMetrics(SM_CYBORDER) * 6
                                                         : h / 4 + GetSystemMetrics(SM_CYBORDER) * 4;
  SetHeight(h + extra);
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  if (HandleAllocated()) RecreateWnd();
  AdjustHeight();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (charCase_ == Value) return;
  charCase_ = Value;
  SetStyleBit(ES_UPPERCASE, Value == ecUpperCase);
  SetStyleBit(ES_LOWERCASE, Value == ecLowerCase);
  // The text already there takes the case too.
  if (Value != ecNormal) {
    AnsiString t = Value == ecUpperCase ? AnsiUpperCase(text_) : AnsiLowerCase(text_);
    if (t != text_) SetText(t);
  }
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (hideSelection_ == Value) return;
  hideSelection_ = Value;
  SetStyleBit(ES_NOHIDESEL, !Value);
  Invalidate();
}

void TCustomEdit::SetMaxLength(int32_t Value) { maxLength_ = std::max(0, Value); }

void TCustomEdit::SetPasswordChar(char Value) {
  if (passwordChar_ == Value) return;
  Perform(EM_SETPASSWORDCHAR, WPARAM(uint8_t(Value)), 0);
}

void TCustomEdit::SetReadOnly(bool Value) { Perform(EM_SETREADONLY, Value ? 1 : 0, 0); }

int32_t TCustomEdit::GetSelStart() { return std::min(selAnchor_, selEnd_); }

void TCustomEdit::SetSelStart(int32_t Value) { Perform(EM_SETSEL, WPARAM(Value), Value); }

int32_t TCustomEdit::GetSelLength() { return std::abs(selEnd_ - selAnchor_); }

void TCustomEdit::SetSelLength(int32_t Value) {
  int32_t start = GetSelStart();
  Perform(EM_SETSEL, WPARAM(start), start + std::max(0, Value));
}

AnsiString TCustomEdit::GetSelText() {
  int32_t a = GetSelStart();
  return text_.substr(size_t(a), size_t(GetSelLength()));
}

void TCustomEdit::SetSelText(const AnsiString& Value) {
  Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomEdit::Clear() { SetText(""); }

void TCustomEdit::ClearSelection() { Perform(WM_CLEAR, 0, 0); }

void TCustomEdit::CopyToClipboard() { Perform(WM_COPY, 0, 0); }

void TCustomEdit::CutToClipboard() { Perform(WM_CUT, 0, 0); }

void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }

void TCustomEdit::Undo() { Perform(WM_UNDO, 0, 0); }

void TCustomEdit::ClearUndo() { Perform(EM_EMPTYUNDOBUFFER, 0, 0); }

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }

void TCustomEdit::Change() { OnChange(this); }

void TCustomEdit::SetStyleBit(DWORD Bit, bool On) {
  if (HandleAllocated()) {
    DWORD style = DWORD(GetWindowLongPtr(handle_, GWL_STYLE));
    DWORD next = On ? style | Bit : style & ~Bit;
    if (next != style) SetWindowLongPtr(handle_, GWL_STYLE, LONG_PTR(next));
  }
  InvalidateLayout();
  Invalidate();
}

DWORD TCustomEdit::EditStyle() {
  if (HandleAllocated()) return DWORD(GetWindowLongPtr(handle_, GWL_STYLE));
  TCreateParams params;
  CreateParams(params);
  return params.Style;
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (borderStyle_ == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  if (passwordChar_) Params.Style |= ES_PASSWORD;
  if (readOnly_) Params.Style |= ES_READONLY;
  if (!hideSelection_) Params.Style |= ES_NOHIDESEL;
  if (charCase_ == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (charCase_ == ecLowerCase) Params.Style |= ES_LOWERCASE;
  Params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomEdit::CreateWnd() {
  creating_ = true;
  struct TDone {
    bool& flag;
    ~TDone() { flag = false; }
  } done{creating_};
  TWinControl::CreateWnd();
  InvalidateLayout();
  AdjustHeight();
}

// ============================================================================ TCustomEdit: messages

void TCustomEdit::Notify(WORD Code) {
  HWND parent = HandleAllocated() ? ::GetParent(handle_) : nullptr;
  if (parent) {
    WORD id = WORD(GetWindowLongPtr(handle_, GWL_ID));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, Code), reinterpret_cast<LPARAM>(handle_));
  } else if (Code == EN_CHANGE) {
    // Without a parent window nobody reflects the notification: raise the event here.
    Change();
  }
}

void TCustomEdit::TextChanged(bool /*ByUser*/) {
  if (creating_) return;
  Notify(EN_UPDATE);
  Notify(EN_CHANGE);
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE && !creating_) Change();
      return;
    case CM_ENTER:
      // Entering by keyboard selects a single-line text; a click places the caret instead.
      if (autoSelect_ && !ControlState.Contains(csLButtonDown) && !MultiLine()) SelectAll();
      break;
    case CM_FONTCHANGED:
      TWinControl::Dispatch(Message);
      InvalidateLayout();
      AdjustHeight();
      if (hasCaret_ && HandleAllocated()) {
        caretHeight_ = CaretHeight(selEnd_);
        CreateCaret(handle_, nullptr, 0, caretHeight_);
        UpdateCaret();
        ShowCaret(handle_);
      }
      return;
    case CM_ENABLEDCHANGED:
      TWinControl::Dispatch(Message);
      Invalidate();
      return;
    case WM_SIZE:
      TWinControl::Dispatch(Message);
      InvalidateLayout();
      if (!formatRectSet_) UpdateScrollBars();
      UpdateCaret();
      return;
    default:
      break;
  }
  TWinControl::Dispatch(Message);
}

void TCustomEdit::DefaultHandler(TMessage& Message) {
  const int32_t len = int32_t(text_.size());
  switch (Message.Msg) {
    case WM_GETTEXT: {
      Message.Result = 0;
      if (!Message.WParam || !Message.LParam) return;
      auto* out = reinterpret_cast<char*>(Message.LParam);
      size_t n = std::min<size_t>(text_.size(), Message.WParam - 1);
      std::memcpy(out, text_.data(), n);
      out[n] = 0;
      Message.Result = LRESULT(n);
      return;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = len;
      return;
    case WM_SETTEXT: {
      AnsiString t = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
      // The window manager keeps a copy too (titles, drivers).
      TWinControl::DefaultHandler(Message);
      text_ = t;
      selAnchor_ = selEnd_ = 0;
      xOffset_ = topLine_ = 0;
      canUndo_ = false;
      lastEdit_ = TLastEdit::None;
      modified_ = false;
      InvalidateLayout();
      Invalidate();
      UpdateScrollBars();
      UpdateCaret();
      Message.Result = TRUE;
      TextChanged(false);
      return;
    }
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
      if (MultiLine()) Message.Result |= DLGC_WANTALLKEYS;
      return;
    case WM_SETFOCUS:
      TWinControl::DefaultHandler(Message);
      if (HandleAllocated()) {
        caretHeight_ = CaretHeight(selEnd_);
        CreateCaret(handle_, nullptr, 0, caretHeight_);
        hasCaret_ = true;
        UpdateCaret();
        ShowCaret(handle_);
      }
      Invalidate();
      Notify(EN_SETFOCUS);
      return;
    case WM_KILLFOCUS:
      TWinControl::DefaultHandler(Message);
      if (hasCaret_) {
        hasCaret_ = false;
        DestroyCaret();
      }
      if (selecting_) {
        selecting_ = false;
        if (GetCapture() == handle_) ReleaseCapture();
      }
      Invalidate();
      Notify(EN_KILLFOCUS);
      return;
    case WM_KEYDOWN:
      return KeyDownDefault(Message);
    case WM_CHAR:
      return CharDefault(Message);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      MouseDefault(Message);
      return TWinControl::DefaultHandler(Message);
    case WM_HSCROLL:
    case WM_VSCROLL:
      Scroll(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(Message.WParam),
             int16_t(HIWORD(Message.WParam)));
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_COPY:
      CopySelection();
      return;
    case WM_CUT:
      if ((EditStyle() & ES_READONLY) == 0 && CopySelection()) DeleteUser(false);
      return;
    case WM_CLEAR:
      if (selAnchor_ != selEnd_) DeleteUser(false);
      return;
    case WM_PASTE: {
      if (!OpenClipboard(HandleAllocated() ? handle_ : nullptr)) return;
      AnsiString pasted;
      if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (auto* p = static_cast<const char*>(GlobalLock(h))) {
          size_t n = GlobalSize(h);
          for (size_t i = 0; i < n && p[i]; ++i) pasted.push_back(p[i]);
          GlobalUnlock(h);
        }
      }
      CloseClipboard();
      if (!pasted.empty()) InsertUserText(pasted, false);
      return;
    }
    case WM_UNDO:
    case EM_UNDO:
      Message.Result = canUndo_ ? TRUE : FALSE;
      DoUndo();
      return;
    case EM_CANUNDO:
      Message.Result = canUndo_ ? TRUE : FALSE;
      return;
    case EM_EMPTYUNDOBUFFER:
      canUndo_ = false;
      lastEdit_ = TLastEdit::None;
      return;
    case EM_GETSEL: {
      DWORD a = DWORD(GetSelStart()), b = DWORD(GetSelStart() + GetSelLength());
      if (Message.WParam) *reinterpret_cast<DWORD*>(Message.WParam) = a;
      if (Message.LParam) *reinterpret_cast<DWORD*>(Message.LParam) = b;
      Message.Result = MAKELRESULT(WORD(std::min<DWORD>(a, 0xFFFF)), WORD(std::min<DWORD>(b, 0xFFFF)));
      return;
    }
    case EM_SETSEL: {
      int32_t a = int32_t(intptr_t(Message.WParam)), b = int32_t(Message.LParam);
      if (a == -1) {
        SetSelRange(selEnd_, selEnd_, false);
        return;
      }
      if (b == -1) b = len;
      SetSelRange(Clamp(a), Clamp(b), false);
      lastEdit_ = TLastEdit::None;
      return;
    }
    case EM_REPLACESEL: {
      AnsiString s = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
      if (!MultiLine()) {
        size_t brk = s.find_first_of("\r\n");
        if (brk != AnsiString::npos) s.resize(brk);
      }
      int32_t a = GetSelStart(), b = a + GetSelLength();
      ReplaceRange(a, b, s, false);
      if (!Message.WParam) canUndo_ = false;
      modified_ = true;
      ScrollCaret();
      TextChanged(false);
      return;
    }
    case EM_LIMITTEXT:
      maxLength_ =
          Message.WParam == 0 || Message.WParam >= WPARAM(kEditNoLimit) ? 0 : int32_t(Message.WParam);
      return;
    case EM_GETLIMITTEXT:
      Message.Result = maxLength_ > 0 ? maxLength_ : kEditNoLimit;
      return;
    case EM_SETREADONLY:
      readOnly_ = Message.WParam != 0;
      SetStyleBit(ES_READONLY, readOnly_);
      Message.Result = TRUE;
      return;
    case EM_SETPASSWORDCHAR:
      passwordChar_ = char(uint8_t(Message.WParam));
      SetStyleBit(ES_PASSWORD, passwordChar_ != 0);
      UpdateCaret();
      return;
    case EM_GETPASSWORDCHAR:
      Message.Result = uint8_t(passwordChar_);
      return;
    case EM_GETMODIFY:
      Message.Result = modified_ ? TRUE : FALSE;
      return;
    case EM_SETMODIFY:
      modified_ = Message.WParam != 0;
      return;
    case EM_GETLINECOUNT:
      Message.Result = LRESULT(Lines().size());
      return;
    case EM_LINEFROMCHAR: {
      int32_t i = int32_t(intptr_t(Message.WParam));
      Message.Result = LineOf(i < 0 ? GetSelStart() : Clamp(i));
      return;
    }
    case EM_LINEINDEX: {
      int32_t line = int32_t(intptr_t(Message.WParam));
      const auto& lines = Lines();
      if (line < 0) line = LineOf(selEnd_);
      Message.Result = line < int32_t(lines.size()) ? lines[size_t(line)].Start : -1;
      return;
    }
    case EM_LINELENGTH: {
      int32_t i = int32_t(intptr_t(Message.WParam));
      int32_t line = LineOf(i < 0 ? selEnd_ : Clamp(i));
      Message.Result = Lines()[size_t(line)].Length;
      return;
    }
    case EM_GETLINE: {
      const auto& lines = Lines();
      size_t line = size_t(Message.WParam);
      auto* buf = reinterpret_cast<char*>(Message.LParam);
      Message.Result = 0;
      if (line >= lines.size() || !buf) return;
      WORD room;
      std::memcpy(&room, buf, sizeof(room));
      size_t n = std::min<size_t>(room, size_t(lines[line].Length));
      std::memcpy(buf, text_.data() + lines[line].Start, n);
      Message.Result = LRESULT(n);
      return;
    }
    case EM_GETRECT:
      if (Message.LParam) *reinterpret_cast<RECT*>(Message.LParam) = FormatRect();
      return;
    case EM_SETRECT:
    case EM_SETRECTNP:
      formatRectSet_ = Message.LParam != 0;
      if (formatRectSet_) formatRect_ = *reinterpret_cast<const RECT*>(Message.LParam);
      InvalidateLayout();
      if (Message.Msg == EM_SETRECT) Invalidate();
      UpdateCaret();
      return;
    case EM_SETMARGINS: {
      WPARAM which = Message.WParam;
      if (which == EC_USEFONTINFO) {
        leftMargin_ = rightMargin_ = 2;
      } else {
        if (which & EC_LEFTMARGIN) leftMargin_ = std::max<int32_t>(0, int16_t(LOWORD(Message.LParam)));
        if (which & EC_RIGHTMARGIN) rightMargin_ = std::max<int32_t>(0, int16_t(HIWORD(Message.LParam)));
      }
      InvalidateLayout();
      Invalidate();
      UpdateScrollBars();
      UpdateCaret();
      return;
    }
    case EM_GETMARGINS:
      Message.Result = MAKELRESULT(WORD(leftMargin_), WORD(rightMargin_));
      return;
    case EM_SCROLLCARET:
      ScrollCaret();
      Message.Result = TRUE;
      return;
    case EM_LINESCROLL:
      if (MultiLine()) Scroll(SB_VERT, SB_THUMBPOSITION, topLine_ + int32_t(Message.LParam));
      Scroll(SB_HORZ, SB_THUMBPOSITION, xOffset_ + int32_t(intptr_t(Message.WParam)) * kEditHScrollStep);
      Message.Result = TRUE;
      return;
    case EM_GETFIRSTVISIBLELINE:
      Message.Result = MultiLine() ? topLine_ : CharFromPos({FormatRect().Left, FormatRect().Top});
      return;
    case EM_CHARFROMPOS: {
      int32_t i = CharFromPos(LParamToPoint(Message.LParam));
      Message.Result = MAKELRESULT(WORD(i), WORD(LineOf(i)));
      return;
    }
    case EM_POSFROMCHAR: {
      TPoint p = PosFromChar(Clamp(int32_t(intptr_t(Message.WParam))));
      Message.Result = MAKELRESULT(WORD(int16_t(p.X)), WORD(int16_t(p.Y)));
      return;
    }
    default:
      TWinControl::DefaultHandler(Message);
  }
}

// ============================================================================ TCustomEdit: layout and
// geometry

HDC TCustomEdit::MeasureDC() {
  if (!measureDC_) measureDC_ = CreateCompatibleDC(nullptr);
  return measureDC_;
}

int32_t TCustomEdit::LineHeight() {
  HDC dc = MeasureDC();
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  return std::max<int32_t>(1, tm.tmHeight);
}

AnsiString TCustomEdit::Shown(int32_t Start, int32_t Length) const {
  if (passwordChar_) return AnsiString(size_t(Length), passwordChar_);
  AnsiString s = text_.substr(size_t(Start), size_t(Length));
  std::replace(s.begin(), s.end(), '\t', ' ');
  return s;
}

int32_t TCustomEdit::TextWidth(int32_t Start, int32_t Length) {
  if (Length <= 0) return 0;
  AnsiString s = Shown(Start, Length);
  HDC dc = MeasureDC();
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  SIZE size{};
  GetTextExtentPoint32A(dc, s.data(), int(s.size()), &size);
  SelectObject(dc, old);
  return size.cx;
}

TRect TCustomEdit::FormatRect() {
  if (formatRectSet_) return formatRect_;
  TRect r = GetClientRect();
  r.Left = std::min(r.Left + leftMargin_, r.Right);
  r.Right = std::max(r.Left, r.Right - rightMargin_);
  r.Top += 1;
  return r;
}

void TCustomEdit::InvalidateLayout() { layoutValid_ = false; }

const std::vector<TCustomEdit::TLine>& TCustomEdit::Lines() {
  int32_t width = FormatRect().Width();
  if (layoutValid_ && width == layoutWidth_) return lines_;
  const int32_t len = int32_t(text_.size());
  DWORD style = EditStyle();
  // Built apart and then kept: a derived editor's breaking may come back here.
  std::vector<TLine> lines;
  if (!(style & ES_MULTILINE))
    lines.push_back({0, len});
  else
    BreakLines(lines, width, !(style & ES_AUTOHSCROLL) && HandleAllocated() && width > 0);
  lines_ = std::move(lines);
  layoutWidth_ = width;
  layoutValid_ = true;
  return lines_;
}

void TCustomEdit::BreakLines(std::vector<TLine>& Out, int32_t Width, bool Wrap) {
  const int32_t len = int32_t(text_.size());
  auto widthOf = [this](int32_t S, int32_t E) { return TextWidth(S, E - S); };
  int32_t pos = 0;
  for (;;) {
    int32_t end = pos;
    while (end < len && !EditIsBreak(text_[size_t(end)])) ++end;
    int32_t start = pos;
    while (Wrap && TextWidth(start, end - start) > Width) {
      int32_t brk = WrapPoint(text_, start, end, Width, widthOf);
      Out.push_back({start, brk - start});
      start = brk;
    }
    if (start < end || start == pos) Out.push_back({start, end - start});
    if (end >= len) break;
    pos = end + (text_[size_t(end)] == '\r' && end + 1 < len && text_[size_t(end + 1)] == '\n' ? 2 : 1);
    if (pos >= len) {
      Out.push_back({len, 0});
      break;
    }
  }
}

int32_t TCustomEdit::LineOf(int32_t Index) {
  const auto& lines = Lines();
  auto it = std::upper_bound(lines.begin(), lines.end(), Index,
                             [](int32_t i, const TLine& l) { return i < l.Start; });
  return it == lines.begin() ? 0 : int32_t(it - lines.begin()) - 1;
}

int32_t TCustomEdit::LineLeft(const TLine& L) {
  TRect r = FormatRect();
  DWORD style = EditStyle();
  int32_t w = TextWidth(L.Start, L.Length);
  if (w < r.Width()) {
    if (style & ES_RIGHT) return r.Right - w - 1;
    if (style & ES_CENTER) return r.Left + (r.Width() - w) / 2;
  }
  return r.Left - xOffset_;
}

int32_t TCustomEdit::VisibleLineCount() { return std::max(1, FormatRect().Height() / LineHeight()); }

int32_t TCustomEdit::PageLines(int32_t /*First*/, bool /*Down*/) { return VisibleLineCount(); }

int32_t TCustomEdit::LineWidth(int32_t Line, int32_t Length) {
  const TLine L = Lines()[size_t(Line)];
  return TextWidth(L.Start, std::min(Length, L.Length));
}

int32_t TCustomEdit::MaxTopLine() {
  const int32_t count = int32_t(Lines().size());
  return std::max(0, count - PageLines(count, false));
}

int32_t TCustomEdit::WidestLine() {
  int32_t widest = 0;
  const auto& lines = Lines();
  for (size_t i = 0; i < lines.size(); ++i) widest = std::max(widest, LineWidth(int32_t(i), lines[i].Length));
  return widest;
}

int32_t TCustomEdit::CharFromPos(TPoint P) {
  const auto& lines = Lines();
  TRect r = FormatRect();
  int32_t line = topLine_ + (P.Y >= r.Top ? (P.Y - r.Top) / LineHeight() : -1);
  line = std::clamp(line, 0, int32_t(lines.size()) - 1);
  const TLine L = lines[size_t(line)];
  int32_t x = P.X - LineLeft(L);
  return L.Start + NearestBoundary(x, L.Length, [&](int32_t i) { return TextWidth(L.Start, i); });
}

TPoint TCustomEdit::PosFromChar(int32_t Index) {
  int32_t line = LineOf(Index);
  const TLine L = Lines()[size_t(line)];
  TRect r = FormatRect();
  return {LineLeft(L) + TextWidth(L.Start, std::min(Index - L.Start, L.Length)),
          r.Top + (line - topLine_) * LineHeight()};
}

int32_t TCustomEdit::CaretHeight(int32_t /*Index*/) { return LineHeight(); }

int32_t TCustomEdit::Clamp(int32_t Index) const { return std::clamp(Index, 0, int32_t(text_.size())); }

void TCustomEdit::UpdateCaret() {
  if (!hasCaret_ || !HandleAllocated()) return;
  // Lines of their own heights give the caret a new height as it moves between them.
  int32_t h = CaretHeight(selEnd_);
  bool remade = h != caretHeight_;
  if (remade) {
    caretHeight_ = h;
    CreateCaret(handle_, nullptr, 0, h);
  }
  TPoint p = PosFromChar(selEnd_);
  SetCaretPos(p.X, p.Y);
  if (remade) ShowCaret(handle_);
}

void TCustomEdit::ScrollCaret() {
  if (!HandleAllocated()) return;
  const auto& lines = Lines();
  int32_t line = LineOf(selEnd_);
  int32_t oldTop = topLine_, oldX = xOffset_;
  if (MultiLine()) {
    if (line < topLine_) topLine_ = line;
    // The caret's line last in view: the page that ends with it.
    if (line > topLine_) topLine_ = std::max(topLine_, line - PageLines(line + 1, false) + 1);
    topLine_ = std::clamp(topLine_, 0, std::max(0, int32_t(lines.size()) - 1));
    // Lines taller than the font's (a derived editor's formats): on until the caret's line shows.
    while (topLine_ < line && PosFromChar(selEnd_).Y + CaretHeight(selEnd_) > FormatRect().Bottom) ++topLine_;
  }
  if (EditStyle() & ES_AUTOHSCROLL) {
    const TLine L = lines[size_t(line)];
    int32_t w = FormatRect().Width();
    int32_t caretX = LineWidth(line, selEnd_ - L.Start);
    int32_t lineW = LineWidth(line, L.Length);
    if (caretX < xOffset_) xOffset_ = std::max(0, caretX - w / 4);
    if (caretX > xOffset_ + w - 1) xOffset_ = std::min(caretX - w + 1 + w / 4, std::max(0, lineW + 1 - w));
    if (!MultiLine()) xOffset_ = std::clamp(xOffset_, 0, std::max(0, lineW + 1 - w));
  } else {
    xOffset_ = 0;
  }
  if (oldTop != topLine_ || oldX != xOffset_) {
    Invalidate();
    UpdateScrollBars();
  }
  UpdateCaret();
}

void TCustomEdit::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  DWORD style = EditStyle();
  if (!(style & (WS_VSCROLL | WS_HSCROLL))) return;
  static bool s_updating = false;
  if (s_updating) return;
  s_updating = true;
  struct TDone {
    ~TDone() { s_updating = false; }
  } done;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  if (style & WS_VSCROLL) {
    si.nMin = 0;
    // The page is the last one, so the bar's end shows the last line.
    const int32_t count = int32_t(Lines().size());
    si.nMax = count - 1;
    si.nPage = UINT(PageLines(count, false));
    si.nPos = topLine_;
    SetScrollInfo(handle_, SB_VERT, &si, TRUE);
  }
  if (style & WS_HSCROLL) {
    si.nMin = 0;
    si.nMax = WidestLine();
    si.nPage = UINT(std::max(1, FormatRect().Width()));
    si.nPos = xOffset_;
    SetScrollInfo(handle_, SB_HORZ, &si, TRUE);
  }
}

void TCustomEdit::Scroll(int32_t Bar, int32_t Code, int32_t Pos) {
  bool vert = Bar == SB_VERT;
  if (vert && !MultiLine()) return;
  int32_t step = vert ? 1 : kEditHScrollStep;
  int32_t max = vert ? MaxTopLine() : std::max(0, WidestLine() + 1 - FormatRect().Width());
  int32_t& value = vert ? topLine_ : xOffset_;
  // A page of lines from the first in view, in the direction it goes.
  auto page = [&](bool Down) {
    return vert ? PageLines(value, Down) : std::max(1, FormatRect().Width() - kEditHScrollStep);
  };
  int32_t next = value;
  switch (Code) {
    case SB_LINEUP:
      next -= step;
      break;
    case SB_LINEDOWN:
      next += step;
      break;
    case SB_PAGEUP:
      next -= page(false);
      break;
    case SB_PAGEDOWN:
      next += page(true);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      next = Pos;
      break;
    case SB_TOP:
      next = 0;
      break;
    case SB_BOTTOM:
      next = max;
      break;
    default:
      return;
  }
  next = std::clamp(next, 0, max);
  if (next == value) return;
  value = next;
  Invalidate();
  UpdateScrollBars();
  UpdateCaret();
}

bool TCustomEdit::WheelScroll(bool Down) {
  if (!MultiLine()) return false;
  UINT lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  // A setting beyond a page (the "one page per notch" setting among them) scrolls a page.
  int32_t step = int32_t(std::min<UINT>(lines, UINT(PageLines(topLine_, Down))));
  if (step > 0) Scroll(SB_VERT, SB_THUMBPOSITION, topLine_ + (Down ? step : -step));
  return true;
}

bool TCustomEdit::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  return TWinControl::DoMouseWheelDown(Shift, MousePos) || WheelScroll(true);
}

bool TCustomEdit::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  return TWinControl::DoMouseWheelUp(Shift, MousePos) || WheelScroll(false);
}

// ============================================================================ TCustomEdit: editing

void TCustomEdit::SetSelRange(int32_t Anchor, int32_t CaretEnd, bool Show) {
  Anchor = Clamp(Anchor);
  CaretEnd = Clamp(CaretEnd);
  if (Anchor != selAnchor_ || CaretEnd != selEnd_) {
    selAnchor_ = Anchor;
    selEnd_ = CaretEnd;
    Invalidate();
  }
  if (Show)
    ScrollCaret();
  else
    UpdateCaret();
}

void TCustomEdit::MoveCaret(int32_t Index, bool Extend) {
  lastEdit_ = TLastEdit::None;
  SetSelRange(Extend ? selAnchor_ : Index, Index, true);
}

void TCustomEdit::ReplaceRange(int32_t Start, int32_t End, const AnsiString& S, bool Typing) {
  Start = Clamp(Start);
  End = std::clamp(End, Start, int32_t(text_.size()));
  // Typing on from where the last typed character went in undoes as one step.
  bool merge = Typing && lastEdit_ == TLastEdit::Typing && Start == End && Start == selEnd_ && canUndo_;
  if (!merge) {
    undo_ = {text_, selAnchor_, selEnd_};
    canUndo_ = true;
  }
  text_.replace(size_t(Start), size_t(End - Start), S);
  selAnchor_ = selEnd_ = Start + int32_t(S.size());
  lastEdit_ = Typing ? TLastEdit::Typing : TLastEdit::Other;
  InvalidateLayout();
  Invalidate();
  UpdateScrollBars();
}

void TCustomEdit::EditRange(int32_t Start, int32_t End, const AnsiString& S, bool Typing) {
  ReplaceRange(Start, End, S, Typing);
  modified_ = true;
  ScrollCaret();
  TextChanged(true);
}

bool TCustomEdit::InsertUserText(AnsiString S, bool Typing) {
  DWORD style = EditStyle();
  if (style & ES_READONLY) {
    MessageBeep(0);
    return false;
  }
  if ((style & ES_NUMBER) && Typing &&
      !std::all_of(S.begin(), S.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    MessageBeep(0);
    return false;
  }
  if (style & ES_UPPERCASE) S = AnsiUpperCase(S);
  if (style & ES_LOWERCASE) S = AnsiLowerCase(S);
  if (!(style & ES_MULTILINE)) {
    size_t brk = S.find_first_of("\r\n");
    if (brk != AnsiString::npos) S.resize(brk);
  }
  int32_t a = GetSelStart(), b = a + GetSelLength();
  int32_t limit = maxLength_ > 0 ? maxLength_ : kEditNoLimit;
  // Room left after the selection goes; a limit lowered below the length leaves none.
  int64_t room = int64_t(limit) - (int64_t(text_.size()) - (b - a));
  if (room < int64_t(S.size())) {
    Notify(EN_MAXTEXT);
    if (Typing || room <= 0) {
      if (Typing || a == b) {
        MessageBeep(0);
        return false;
      }
      S.clear();
    } else {
      S.resize(size_t(room));
      if (!S.empty() && S.back() == '\r') S.pop_back();
    }
  }
  if (S.empty() && a == b) return false;
  if (!(style & (ES_MULTILINE | ES_AUTOHSCROLL)) && HandleAllocated()) {
    // Without horizontal scrolling the text must fit the box.
    AnsiString next = text_;
    next.replace(size_t(a), size_t(b - a), S);
    std::swap(next, text_);
    int32_t w = TextWidth(0, int32_t(text_.size()));
    std::swap(next, text_);
    if (w > FormatRect().Width()) {
      MessageBeep(0);
      return false;
    }
  }
  EditRange(a, b, S, Typing);
  return true;
}

bool TCustomEdit::DeleteUser(bool Forward) {
  if (EditStyle() & ES_READONLY) {
    MessageBeep(0);
    return false;
  }
  int32_t a = GetSelStart(), b = a + GetSelLength();
  if (a == b) {
    if (Forward) {
      if (b >= int32_t(text_.size())) return false;
      b = NextChar(b);
    } else {
      if (a == 0) return false;
      a = PrevChar(a);
    }
  }
  EditRange(a, b, "", false);
  return true;
}

int32_t TCustomEdit::NextChar(int32_t Index) const {
  const int32_t len = int32_t(text_.size());
  if (Index >= len) return len;
  if (text_[size_t(Index)] == '\r' && Index + 1 < len && text_[size_t(Index + 1)] == '\n') return Index + 2;
  return Index + 1;
}

int32_t TCustomEdit::PrevChar(int32_t Index) const {
  if (Index <= 0) return 0;
  if (Index >= 2 && text_[size_t(Index - 1)] == '\n' && text_[size_t(Index - 2)] == '\r') return Index - 2;
  return Index - 1;
}

int32_t TCustomEdit::WordLeft(int32_t Index) const {
  while (Index > 0 && !EditIsWordChar(text_[size_t(Index - 1)])) --Index;
  while (Index > 0 && EditIsWordChar(text_[size_t(Index - 1)])) --Index;
  return Index;
}

int32_t TCustomEdit::WordRight(int32_t Index) const {
  const int32_t len = int32_t(text_.size());
  while (Index < len && EditIsWordChar(text_[size_t(Index)])) ++Index;
  while (Index < len && !EditIsWordChar(text_[size_t(Index)])) ++Index;
  return Index;
}

bool TCustomEdit::CopySelection() {
  if (selAnchor_ == selEnd_ || (EditStyle() & ES_PASSWORD) || passwordChar_) return false;
  AnsiString s = GetSelText();
  if (!OpenClipboard(HandleAllocated() ? handle_ : nullptr)) return false;
  EmptyClipboard();
  if (HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1)) {
    if (auto* p = static_cast<char*>(GlobalLock(h))) {
      std::memcpy(p, s.c_str(), s.size() + 1);
      GlobalUnlock(h);
    }
    SetClipboardData(CF_TEXT, h);
  }
  CloseClipboard();
  return true;
}

void TCustomEdit::DoUndo() {
  if (!canUndo_) return;
  // Undoing twice redoes: the state undone becomes the one to go back to.
  TSnapshot current{text_, selAnchor_, selEnd_};
  text_ = undo_.Text;
  selAnchor_ = Clamp(undo_.Anchor);
  selEnd_ = Clamp(undo_.End);
  undo_ = std::move(current);
  lastEdit_ = TLastEdit::None;
  modified_ = true;
  InvalidateLayout();
  Invalidate();
  UpdateScrollBars();
  ScrollCaret();
  TextChanged(true);
}

// ============================================================================ TCustomEdit: keyboard and
// mouse

void TCustomEdit::KeyDownDefault(TMessage& Message) {
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  bool multi = MultiLine();
  int32_t a = GetSelStart(), b = a + GetSelLength();
  const int32_t len = int32_t(text_.size());
  auto vertical = [&](int32_t lines) {
    int32_t line = std::clamp(LineOf(selEnd_) + lines, 0, int32_t(Lines().size()) - 1);
    TPoint p = PosFromChar(selEnd_);
    if (lines != 1 && lines != -1) Scroll(SB_VERT, SB_THUMBPOSITION, topLine_ + lines);
    int32_t target = CharFromPos({p.X, PosFromChar(Lines()[size_t(line)].Start).Y});
    MoveCaret(target, shift);
  };
  switch (Message.WParam) {
    case VK_LEFT:
    case VK_RIGHT: {
      bool left = Message.WParam == VK_LEFT;
      int32_t target;
      if (ctrl)
        target = left ? WordLeft(selEnd_) : WordRight(selEnd_);
      else if (!shift && a != b)
        target = left ? a : b;
      else
        target = left ? PrevChar(selEnd_) : NextChar(selEnd_);
      MoveCaret(target, shift);
      return;
    }
    case VK_UP:
    case VK_DOWN:
      if (!multi) {
        MoveCaret(Message.WParam == VK_UP ? PrevChar(selEnd_) : NextChar(selEnd_), shift);
        return;
      }
      vertical(Message.WParam == VK_UP ? -1 : 1);
      return;
    case VK_PRIOR:
    case VK_NEXT:
      if (multi) {
        bool down = Message.WParam == VK_NEXT;
        vertical((down ? 1 : -1) * PageLines(topLine_, down));
      }
      return;
    case VK_HOME:
    case VK_END: {
      bool home = Message.WParam == VK_HOME;
      int32_t target = home ? 0 : len;
      if (multi && !ctrl) {
        const TLine L = Lines()[size_t(LineOf(selEnd_))];
        target = home ? L.Start : L.Start + L.Length;
      }
      MoveCaret(target, shift);
      return;
    }
    case VK_DELETE:
      if (shift)
        Perform(WM_CUT, 0, 0);
      else
        DeleteUser(true);
      return;
    case VK_INSERT:
      if (ctrl)
        Perform(WM_COPY, 0, 0);
      else if (shift)
        Perform(WM_PASTE, 0, 0);
      return;
    default:
      TWinControl::DefaultHandler(Message);
  }
}

void TCustomEdit::CharDefault(TMessage& Message) {
  int32_t code = WideCharToAnsi(char32_t(Message.WParam));
  char ch = code >= 0 ? char(code) : '?';
  switch (ch) {
    case 0x01:
      SelectAll();
      return;
    case 0x03:
      Perform(WM_COPY, 0, 0);
      return;
    case 0x16:
      Perform(WM_PASTE, 0, 0);
      return;
    case 0x18:
      Perform(WM_CUT, 0, 0);
      return;
    case 0x1A:
      if (!(EditStyle() & ES_READONLY)) Perform(WM_UNDO, 0, 0);
      return;
    case '\b':
      DeleteUser(false);
      return;
    case '\r':
    case '\n':
      if (MultiLine()) InsertUserText("\r\n", false);
      return;
    case '\t':
      if (MultiLine()) InsertUserText("\t", true);
      return;
    default:
      if (uint8_t(ch) < 32 || ch == 0x7F) return;
      InsertUserText(AnsiString(1, ch), true);
  }
}

void TCustomEdit::MouseDefault(TMessage& Message) {
  if (!HandleAllocated()) return;
  TPoint p = LParamToPoint(Message.LParam);
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: {
      if (::GetFocus() != handle_) ::SetFocus(handle_);
      if (::GetFocus() != handle_) return;
      int32_t i = CharFromPos(p);
      MoveCaret(i, (Message.WParam & MK_SHIFT) != 0);
      selecting_ = true;
      SetCapture(handle_);
      return;
    }
    case WM_LBUTTONDBLCLK: {
      // The word under the mouse with the blanks after it.
      int32_t i = CharFromPos(p);
      const int32_t len = int32_t(text_.size());
      int32_t s = i, e = i;
      while (s > 0 && EditIsWordChar(text_[size_t(s - 1)])) --s;
      while (e < len && EditIsWordChar(text_[size_t(e)])) ++e;
      while (e < len && EditIsBlank(text_[size_t(e)])) ++e;
      lastEdit_ = TLastEdit::None;
      SetSelRange(s, e, true);
      return;
    }
    case WM_MOUSEMOVE:
      if (selecting_ && GetCapture() == handle_) MoveCaret(CharFromPos(p), true);
      return;
    case WM_LBUTTONUP:
      if (selecting_) {
        selecting_ = false;
        if (GetCapture() == handle_) ReleaseCapture();
      }
      return;
    default:
      return;
  }
}

// ============================================================================ TCustomEdit: painting

void TCustomEdit::PaintWindow(HDC DC) {
  canvas_->Lock();
  canvas_->BindPaintDC(DC);
  struct TUnbind {
    TControlCanvas* c;
    ~TUnbind() {
      c->SetHandle(nullptr);
      c->Unlock();
    }
  } unbind{canvas_.get()};
  TCanvas* c = canvas_.get();
  c->GetFont()->Assign(GetFont());
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  TRect fr = FormatRect();
  int save = SaveDC(DC);
  IntersectClipRect(DC, fr.Left, fr.Top, fr.Right, fr.Bottom);
  bool showSel = selAnchor_ != selEnd_ && (hasCaret_ || (EditStyle() & ES_NOHIDESEL));
  int32_t a = GetSelStart(), b = a + GetSelLength();
  TColor textColor = Enabled() ? GetFont()->GetColor() : clGrayText;
  int32_t lh = LineHeight();
  const auto& lines = Lines();
  for (size_t i = size_t(std::max(0, topLine_)); i < lines.size(); ++i) {
    int32_t y = fr.Top + (int32_t(i) - topLine_) * lh;
    if (y >= fr.Bottom) break;
    const TLine L = lines[i];
    int32_t x = LineLeft(L);
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetColor(textColor);
    c->TextOut(x, y, Shown(L.Start, L.Length));
    int32_t s = std::max(a, L.Start), e = std::min(b, L.Start + L.Length);
    if (showSel && s < e) {
      int32_t x1 = x + TextWidth(L.Start, s - L.Start), x2 = x + TextWidth(L.Start, e - L.Start);
      c->GetBrush()->SetStyle(bsSolid);
      c->GetBrush()->SetColor(clHighlight);
      c->FillRect(TRect{x1, y, x2, y + lh});
      c->GetBrush()->SetStyle(bsClear);
      c->GetFont()->SetColor(clHighlightText);
      c->TextOut(x1, y, Shown(s, e - s));
    }
  }
  RestoreDC(DC, save);
}

// ============================================================================ memo lines ======

AnsiString TMemoStrings::Get(int32_t Index) const {
  LRESULT start = memo_->Perform(EM_LINEINDEX, WPARAM(Index), 0);
  if (Index < 0 || Index >= GetCount() || start < 0) Error("List index out of bounds (%d)", Index);
  LRESULT len = memo_->Perform(EM_LINELENGTH, WPARAM(start), 0);
  return memo_->GetText().substr(size_t(start), size_t(len));
}

int32_t TMemoStrings::GetCount() const {
  int32_t count = int32_t(memo_->Perform(EM_GETLINECOUNT, 0, 0));
  // A last empty line (after a final line break, or of an empty memo) is not a line.
  LRESULT last = memo_->Perform(EM_LINEINDEX, WPARAM(count - 1), 0);
  if (memo_->Perform(EM_LINELENGTH, WPARAM(last), 0) == 0) --count;
  return count;
}

void TMemoStrings::Put(int32_t Index, const AnsiString& S) {
  LRESULT start = memo_->Perform(EM_LINEINDEX, WPARAM(Index), 0);
  if (Index < 0 || start < 0) Error("List index out of bounds (%d)", Index);
  LRESULT len = memo_->Perform(EM_LINELENGTH, WPARAM(start), 0);
  memo_->Perform(EM_SETSEL, WPARAM(start), start + len);
  memo_->Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(S.c_str()));
}

void TMemoStrings::Clear() { memo_->Clear(); }

void TMemoStrings::Delete(int32_t Index) {
  LRESULT start = memo_->Perform(EM_LINEINDEX, WPARAM(Index), 0);
  if (Index < 0 || start < 0) Error("List index out of bounds (%d)", Index);
  LRESULT end = memo_->Perform(EM_LINEINDEX, WPARAM(Index + 1), 0);
  if (end < 0) end = start + memo_->Perform(EM_LINELENGTH, WPARAM(start), 0);
  memo_->Perform(EM_SETSEL, WPARAM(start), end);
  memo_->Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
}

void TMemoStrings::Insert(int32_t Index, const AnsiString& S) {
  if (Index < 0) Error("List index out of bounds (%d)", Index);
  LRESULT at = memo_->Perform(EM_LINEINDEX, WPARAM(Index), 0);
  AnsiString line = S + "\r\n";
  if (at < 0) {
    // After the last line, which has no line break yet.
    at = memo_->Perform(EM_LINEINDEX, WPARAM(Index - 1), 0);
    if (at < 0) Error("List index out of bounds (%d)", Index);
    LRESULT len = memo_->Perform(EM_LINELENGTH, WPARAM(at), 0);
    if (len == 0) Error("List index out of bounds (%d)", Index);
    at += len;
    line = "\r\n" + S;
  }
  memo_->Perform(EM_SETSEL, WPARAM(at), at);
  memo_->Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

AnsiString TMemoStrings::GetText() const { return memo_->GetText(); }

void TMemoStrings::SetText(const AnsiString& Text) {
  // Line ends become CR LF, as the memo writes them.
  AnsiString t;
  t.reserve(Text.size());
  for (size_t i = 0; i < Text.size(); ++i) {
    char c = Text[i];
    if (c == '\r' || c == '\n') {
      t += "\r\n";
      if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    } else {
      t += c;
    }
  }
  memo_->SetText(t);
}

// ============================================================================ memo ============

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetBounds(GetLeft(), GetTop(), 185, 89);
  SetAutoSize(false);
  ControlStyle.Exclude(csFixedHeight);
  lines_ = std::make_unique<TMemoStrings>(this);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
  Params.Style &= ~(ES_LEFT | ES_RIGHT | ES_CENTER);
  if (alignment_ == taRightJustify) Params.Style |= ES_RIGHT;
  if (alignment_ == taCenter) Params.Style |= ES_CENTER;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) Params.Style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) Params.Style |= WS_HSCROLL;
  // Wrapping lines never scroll sideways.
  if (wordWrap_ && scrollBars_ != ssHorizontal && scrollBars_ != ssBoth) Params.Style &= ~ES_AUTOHSCROLL;
}

void TCustomMemo::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (scrollBars_ == Value) return;
  scrollBars_ = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (wordWrap_ == Value) return;
  wordWrap_ = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::KeyPress(char& Key) {
  TCustomEdit::KeyPress(Key);
  if ((Key == '\r' && !wantReturns_) || (Key == '\t' && !wantTabs_)) Key = 0;
}

void TCustomMemo::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    TCustomEdit::Dispatch(Message);
    if (wantTabs_)
      Message.Result |= DLGC_WANTTAB;
    else
      Message.Result &= ~DLGC_WANTTAB;
    if (!wantReturns_) Message.Result &= ~DLGC_WANTALLKEYS;
    return;
  }
  TCustomEdit::Dispatch(Message);
}
