// The masked edit.
#include "platform/ui/Mask.h"

#include "platform/os/kernel/Kernel.h"
#include "platform/runtime/Strings.h"

const TClassInfo& TCustomMaskEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomMaskEdit, TCustomEdit>("TCustomMaskEdit");
  return info;
}

const TClassInfo& TMaskEdit::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TMaskEdit, TCustomMaskEdit>("TMaskEdit")
          .Prop("AutoSelect", &TCustomEdit::GetAutoSelect, &TCustomEdit::SetAutoSelect)
          .Default(true)
          .Prop("BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle)
          .Default(bsSingle)
          .Prop("CharCase", &TCustomEdit::GetCharCase, &TCustomEdit::SetCharCase)
          .Default(ecNormal)
          .Prop("EditMask", &TCustomMaskEdit::GetEditMask, &TCustomMaskEdit::SetEditMask)
          .Prop("MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength)
          .Default(0)
          .Prop("PasswordChar", &TCustomEdit::GetPasswordChar, &TCustomEdit::SetPasswordChar)
          .Default(char(0))
          .Prop("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly)
          .Default(false)
          .Prop("Text", &TCustomMaskEdit::GetText, &TCustomMaskEdit::SetText)
          .Event("OnChange", &TCustomEdit::OnChange);
  return info;
}

namespace {
struct TMaskRegistration {
  TMaskRegistration() { RegisterClasses({&TMaskEdit::ClassInfo()}); }
} g_maskRegistration;

bool MaskIsLetter(char c) { return AnsiUpperChar(c) != AnsiLowerChar(c); }
bool MaskIsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

void TCustomMaskEdit::SetEditMask(const AnsiString& Value) {
  AnsiString plain = GetText();
  editMask_ = Value;
  mask_ = ParseEditMask(Value, FormatSettings);
  if (IsMasked()) {
    SetMaxLength(int32_t(mask_.Items.size()));
    SetEditText(FormatMaskText(Value, plain));
  } else {
    SetMaxLength(0);
    TCustomEdit::SetText(plain);
  }
}

void TCustomMaskEdit::SetEditText(const AnsiString& Value) {
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

AnsiString TCustomMaskEdit::GetText() {
  AnsiString shown = TCustomEdit::GetText();
  if (!IsMasked()) return shown;
  AnsiString out;
  for (size_t i = 0; i < mask_.Items.size(); ++i) {
    const TEditMaskItem& it = mask_.Items[i];
    char c = i < shown.size() ? shown[i] : mask_.Blank;
    if (it.Kind)
      out += c == mask_.Blank ? ' ' : c;
    else if (mask_.SaveLiterals)
      out += it.Literal;
  }
  return out;
}

void TCustomMaskEdit::SetText(const AnsiString& Value) {
  if (IsMasked())
    SetEditText(FormatMaskText(editMask_, Value));
  else
    TCustomEdit::SetText(Value);
}

bool TCustomMaskEdit::CharFits(int32_t Pos, char Ch) const {
  if (Pos < 0 || Pos >= int32_t(mask_.Items.size())) return false;
  switch (mask_.Items[size_t(Pos)].Kind) {
    case '0':
      return MaskIsDigit(Ch);
    case '9':
      return MaskIsDigit(Ch) || Ch == ' ';
    case '#':
      return MaskIsDigit(Ch) || Ch == '+' || Ch == '-' || Ch == ' ';
    case 'L':
      return MaskIsLetter(Ch);
    case 'l':
      return MaskIsLetter(Ch) || Ch == ' ';
    case 'A':
      return MaskIsLetter(Ch) || MaskIsDigit(Ch);
    case 'a':
      return MaskIsLetter(Ch) || MaskIsDigit(Ch) || Ch == ' ';
    case 'C':
    case 'c':
      return uint8_t(Ch) >= 32;
    default:
      return false;
  }
}

int32_t TCustomMaskEdit::NextPlaceholder(int32_t Pos) const {
  for (int32_t i = std::max(0, Pos); i < int32_t(mask_.Items.size()); ++i)
    if (mask_.Items[size_t(i)].Kind) return i;
  return -1;
}

int32_t TCustomMaskEdit::PrevPlaceholder(int32_t Pos) const {
  for (int32_t i = std::min(Pos, int32_t(mask_.Items.size()) - 1); i >= 0; --i)
    if (mask_.Items[size_t(i)].Kind) return i;
  return -1;
}

void TCustomMaskEdit::BlankRange(int32_t Start, int32_t End) {
  AnsiString s = EditBuffer().substr(size_t(Start), size_t(End - Start));
  for (int32_t i = Start; i < End && i < int32_t(mask_.Items.size()); ++i)
    if (mask_.Items[size_t(i)].Kind) s[size_t(i - Start)] = mask_.Blank;
  EditRange(Start, End, s, false);
  SetSelRange(Start, Start, true);
}

void TCustomMaskEdit::TypeChar(char Ch) {
  int32_t a = GetSelStart(), b = a + GetSelLength();
  int32_t p = NextPlaceholder(a);
  if (p < 0 || !CharFits(p, Ch)) {
    MessageBeep(0);
    return;
  }
  if (a != b) BlankRange(a, b);
  const TEditMaskItem& it = mask_.Items[size_t(p)];
  if (it.Case == '>') Ch = AnsiUpperChar(Ch);
  if (it.Case == '<') Ch = AnsiLowerChar(Ch);
  // Typing overwrites the placeholder; the caret goes on to the next one.
  EditRange(p, p + 1, AnsiString(1, Ch), true);
  int32_t next = NextPlaceholder(p + 1);
  SetSelRange(next < 0 ? p + 1 : next, next < 0 ? p + 1 : next, true);
}

void TCustomMaskEdit::KeyPress(char& Key) {
  TCustomEdit::KeyPress(Key);
  if (!IsMasked() || Key == 0 || GetReadOnly()) return;
  if (Key == '\b') {
    int32_t a = GetSelStart(), b = a + GetSelLength();
    if (a == b) {
      int32_t p = PrevPlaceholder(a - 1);
      if (p >= 0) BlankRange(p, p + 1);
    } else {
      BlankRange(a, b);
    }
    Key = 0;
  } else if (uint8_t(Key) >= 32) {
    TypeChar(Key);
    Key = 0;
  }
}

void TCustomMaskEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (!IsMasked() || Key == 0) return;
  bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_ESCAPE:
      if (GetModified()) {
        Reset();
        Key = 0;
      }
      break;
    case VK_DELETE:
      if (plain && !GetReadOnly()) {
        int32_t a = GetSelStart(), b = a + GetSelLength();
        BlankRange(a, a == b ? std::min(a + 1, int32_t(EditBuffer().size())) : b);
        Key = 0;
      }
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (plain) {
        // The caret passes over literals.
        int32_t c = CaretIndex();
        int32_t p = Key == VK_LEFT ? PrevPlaceholder(c - 1) : NextPlaceholder(c + 1);
        if (p < 0) p = Key == VK_LEFT ? c : int32_t(EditBuffer().size());
        SetSelRange(p, p, true);
        Key = 0;
      }
      break;
    default:
      break;
  }
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked()) return;
  const AnsiString& s = EditBuffer();
  for (size_t i = 0; i < mask_.Items.size(); ++i) {
    char k = mask_.Items[i].Kind;
    char c = i < s.size() ? s[i] : mask_.Blank;
    if ((k == '0' || k == 'L' || k == 'A' || k == 'C') && (c == mask_.Blank || c == ' ')) {
      SetSelRange(int32_t(i), int32_t(i), true);
      throw EDBEditError(SMaskEditErr);
    }
  }
}

void TCustomMaskEdit::Reset() {
  SetEditText(enterText_);
  SetModified(false);
  SelectAll();
}

void TCustomMaskEdit::Dispatch(TMessage& Message) {
  if (IsMasked()) {
    switch (Message.Msg) {
      case CM_ENTER:
        enterText_ = EditBuffer();
        break;
      case CM_EXIT:
        if (!ComponentState().Contains(csDesigning)) ValidateEdit();
        break;
      case WM_CUT:
      case WM_CLEAR:
        if (GetReadOnly() || GetSelLength() == 0) return;
        // Cutting leaves the placeholders blank and the literals in place.
        if (Message.Msg == WM_CUT) Perform(WM_COPY, 0, 0);
        BlankRange(GetSelStart(), GetSelStart() + GetSelLength());
        return;
      case WM_PASTE: {
        if (GetReadOnly() || !OpenClipboard(nullptr)) return;
        AnsiString pasted;
        if (HANDLE h = GetClipboardData(CF_TEXT)) {
          if (auto* p = static_cast<const char*>(GlobalLock(h))) pasted = p;
          GlobalUnlock(h);
        }
        CloseClipboard();
        for (char c : pasted)
          if (NextPlaceholder(GetSelStart()) >= 0 && CharFits(NextPlaceholder(GetSelStart()), c)) TypeChar(c);
        return;
      }
      default:
        break;
    }
  }
  TCustomEdit::Dispatch(Message);
}
