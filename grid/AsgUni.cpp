// Wide text for the grid's editors.
//
// Sections: wide string routines / wide string lists / caption holder and wide text / edit /
// combo box.
#include "grid/AsgUni.h"

#include <algorithm>
#include <cstring>

#include "platform/runtime/Filer.h"

// ============================================================================ wide string routines

namespace {
// Simple upper-case mapping of the scripts the editors meet (Latin, Greek, Cyrillic).
char16_t FoldUnit(char16_t c) {
  if (c >= u'a' && c <= u'z') return char16_t(c - 32);
  if (c < 0x80) return c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return char16_t(c - 32);
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
    // Latin Extended-A pairs: even capital, odd small, except the runs 0x139-0x148 and
    // 0x179-0x17E, which pair odd capital with even small.
    const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddCapitals) return (c & 1) ? c : char16_t(c - 1);
    return (c & 1) ? char16_t(c - 1) : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return char16_t(c - 32);
  if (c >= 0x430 && c <= 0x44F) return char16_t(c - 32);
  if (c >= 0x450 && c <= 0x45F) return char16_t(c - 80);
  return c;
}
int32_t CompareFolded(const WideString& A, const WideString& B) {
  const size_t n = std::min(A.size(), B.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t a = FoldUnit(A[i]), b = FoldUnit(B[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : A.size() < B.size() ? -1 : 1;
}
}  // namespace

int32_t WideCompareTextNT(const WideString& A, const WideString& B, uint32_t) { return CompareFolded(A, B); }

int32_t WideCompareText95(const WideString& A, const WideString& B, uint32_t) {
  // The single-byte code page is the only one here.
  return CompareFolded(AnsiToWide(WideToAnsi(A)), AnsiToWide(WideToAnsi(B)));
}

int32_t (*WideCompareText)(const WideString&, const WideString&, uint32_t) = WideCompareTextNT;

size_t WideStrLen(const char16_t* Str) {
  size_t n = 0;
  if (Str)
    while (Str[n]) ++n;
  return n;
}

char16_t* WideStrMove(char16_t* Dest, const char16_t* Source, size_t Count) {
  std::memmove(Dest, Source, Count * sizeof(char16_t));
  return Dest;
}

char16_t* WideStrNew(const char16_t* Str) {
  if (!Str) return nullptr;
  const size_t n = WideStrLen(Str);
  auto* p = new char16_t[n + 1];
  WideStrMove(p, Str, n + 1);
  return p;
}

AnsiString NarrowUnits(const WideString& S) {
  AnsiString out(S.size(), '?');
  for (size_t i = 0; i < S.size(); ++i) {
    const int32_t b = WideCharToAnsi(S[i]);
    if (b >= 0) out[i] = char(uint8_t(b));
  }
  return out;
}

WideString FollowNarrowChange(const WideString& Old, const AnsiString& OldImage, const AnsiString& New,
                              char16_t Parked, int32_t Caret) {
  if (OldImage == New || OldImage.size() != Old.size()) return OldImage == New ? Old : AnsiToWide(New);
  const size_t n = OldImage.size(), m = New.size();
  // The unchanged end: what follows the caret when it is known (a '?' stands for many
  // characters, so matching alone could place the change wrongly), else the longest match.
  size_t s = 0;
  if (Caret >= 0 && size_t(Caret) <= m && m - size_t(Caret) <= n &&
      OldImage.compare(n - (m - size_t(Caret)), AnsiString::npos, New, size_t(Caret)) == 0) {
    s = m - size_t(Caret);
  } else {
    while (s < n && s < m && OldImage[n - 1 - s] == New[m - 1 - s]) ++s;
  }
  size_t p = 0;
  while (p < n - s && p < m - s && OldImage[p] == New[p]) ++p;
  WideString mid;
  for (size_t i = p; i < m - s; ++i) {
    const char c = New[i];
    if (Parked && uint8_t(c) == 0xFF) {
      mid += Parked;
      Parked = 0;
    } else {
      mid += AnsiCharToWide(c);
    }
  }
  return Old.substr(0, p) + mid + Old.substr(n - s);
}

// ============================================================================ wide string lists

const TClassInfo& TWideStrings::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TWideStrings, TPersistent>("TWideStrings");
  return info;
}

const TClassInfo& TAnsiStringsForWideStrings::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TAnsiStringsForWideStrings, TStrings>("TAnsiStringsForWideStrings");
  return info;
}

// The user's default locale.
TWideStrings::TWideStrings() : language_(0x0400) {}

TWideStrings::~TWideStrings() = default;

TStrings* TWideStrings::GetAnsiStrings() const {
  if (!ansi_)
    const_cast<TWideStrings*>(this)->ansi_ =
        std::make_unique<TAnsiStringsForWideStrings>(const_cast<TWideStrings*>(this));
  return ansi_.get();
}

void TWideStrings::SetAnsiStrings(TStrings* Value) { GetAnsiStrings()->Assign(Value); }

void TWideStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TWideStrings::EndUpdate() {
  if (--updateCount_ == 0) SetUpdateState(false);
}

int32_t TWideStrings::Add(const WideString& S) {
  const int32_t i = GetCount();
  Insert(i, S);
  return i;
}

int32_t TWideStrings::AddObject(const WideString& S, TObject* AObject) {
  const int32_t i = Add(S);
  PutObject(i, AObject);
  return i;
}

void TWideStrings::AddStrings(TStrings* Strings) {
  BeginUpdate();
  for (int32_t i = 0; i < Strings->Count(); ++i)
    AddObject(AnsiToWide(Strings->Strings(i)), Strings->Objects(i));
  EndUpdate();
}

void TWideStrings::AddStrings(TWideStrings* Strings) {
  BeginUpdate();
  for (int32_t i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
  EndUpdate();
}

void TWideStrings::Put(int32_t Index, const WideString& S) {
  TObject* o = GetObject(Index);
  Delete(Index);
  Insert(Index, S);
  PutObject(Index, o);
}

void TWideStrings::Exchange(int32_t Index1, int32_t Index2) {
  BeginUpdate();
  const WideString s1 = Get(Index1), s2 = Get(Index2);
  TObject *o1 = GetObject(Index1), *o2 = GetObject(Index2);
  Put(Index1, s2);
  PutObject(Index1, o2);
  Put(Index2, s1);
  PutObject(Index2, o1);
  EndUpdate();
}

void TWideStrings::Move(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  const WideString s = Get(CurIndex);
  TObject* o = GetObject(CurIndex);
  Delete(CurIndex);
  Insert(NewIndex, s);
  PutObject(NewIndex, o);
  EndUpdate();
}

int32_t TWideStrings::IndexOf(const WideString& S) const {
  for (int32_t i = 0; i < GetCount(); ++i)
    if (WideCompareText(Get(i), S, language_) == 0) return i;
  return -1;
}

WideString TWideStrings::GetTextStr() const {
  WideString out;
  for (int32_t i = 0; i < GetCount(); ++i) out += Get(i) + u"\r\n";
  return out;
}

void TWideStrings::SetTextStr(const WideString& Value) {
  BeginUpdate();
  Clear();
  size_t start = 0, i = 0;
  auto isBreak = [](char16_t c) {
    return c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == 0x2028 || c == 0x2029;
  };
  while (i < Value.size()) {
    if (!isBreak(Value[i])) {
      ++i;
      continue;
    }
    Add(Value.substr(start, i - start));
    i += Value[i] == u'\r' && i + 1 < Value.size() && Value[i + 1] == u'\n' ? 2 : 1;
    start = i;
  }
  if (start < Value.size()) Add(Value.substr(start));
  EndUpdate();
}

char16_t* TWideStrings::GetText() const {
  const WideString s = GetTextStr();
  return WideStrNew(s.c_str());
}

void TWideStrings::SetText(const char16_t* Text) { SetTextStr(Text ? WideString(Text) : WideString()); }

bool TWideStrings::Equals(const TWideStrings* Other) const {
  if (Other->GetCount() != GetCount()) return false;
  for (int32_t i = 0; i < GetCount(); ++i)
    if (Get(i) != Other->Get(i)) return false;
  return true;
}

void TWideStrings::Assign(TPersistent* Source) {
  if (auto* w = dynamic_cast<TWideStrings*>(Source)) {
    BeginUpdate();
    Clear();
    AddStrings(w);
    EndUpdate();
  } else if (auto* s = dynamic_cast<TStrings*>(Source)) {
    BeginUpdate();
    Clear();
    AddStrings(s);
    EndUpdate();
  } else {
    TPersistent::Assign(Source);
  }
}

void TWideStrings::AssignTo(TPersistent* Dest) {
  if (auto* s = dynamic_cast<TStrings*>(Dest)) {
    s->BeginUpdate();
    s->Clear();
    for (int32_t i = 0; i < GetCount(); ++i) s->AddObject(WideToAnsi(Get(i)), GetObject(i));
    s->EndUpdate();
  } else if (auto* w = dynamic_cast<TWideStrings*>(Dest)) {
    w->BeginUpdate();
    w->Clear();
    w->AddStrings(this);
    w->EndUpdate();
  } else {
    TPersistent::AssignTo(Dest);
  }
}

void TWideStrings::DefineProperties(TFiler* Filer) {
  auto* ancestor = dynamic_cast<TWideStrings*>(Filer->GetAncestor());
  const bool hasData = ancestor ? !Equals(ancestor) : GetCount() > 0;
  Filer->DefineProperty("WideStrings", TReaderProc::Lambda([this](TReader* reader) {
                          reader->ReadListBegin();
                          BeginUpdate();
                          try {
                            Clear();
                            while (!reader->EndOfList()) {
                              const TValueType t = reader->NextValue();
                              Add(t == vaWString || t == vaUTF8String ? reader->ReadWideString()
                                                                      : AnsiToWide(reader->ReadString()));
                            }
                          } catch (...) {
                            EndUpdate();
                            throw;
                          }
                          EndUpdate();
                          reader->ReadListEnd();
                        }),
                        TWriterProc::Lambda([this](TWriter* writer) {
                          writer->WriteListBegin();
                          for (int32_t i = 0; i < GetCount(); ++i) writer->WriteWideString(Get(i));
                          writer->WriteListEnd();
                        }),
                        hasData);
}

// ============================================================================ caption holder and wide text

const TClassInfo& TWideCaptionHolder::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TWideCaptionHolder, TComponent>("TWideCaptionHolder");
  return info;
}

TWideCaptionHolder* GetWideCaptionHolder(TWinControl* Control, const WideString& DefaultText) {
  for (int32_t i = 0; i < Control->ComponentCount(); ++i)
    if (auto* h = dynamic_cast<TWideCaptionHolder*>(Control->Components(i))) return h;
  auto* h = new TWideCaptionHolder(Control);
  h->Caption = DefaultText;
  h->Image = NarrowUnits(DefaultText);
  return h;
}

namespace {
// Brings the holder in step with the control's single-byte text.
TWideCaptionHolder* SyncedHolder(TWinControl* Control, char16_t Parked, int32_t Caret) {
  const AnsiString text = Control->GetText();
  TWideCaptionHolder* h = GetWideCaptionHolder(Control, AnsiToWide(text));
  if (h->Image != text) {
    h->Caption = FollowNarrowChange(h->Caption, h->Image, text, Parked, Caret);
    h->Image = text;
  }
  return h;
}

// A character above U+00FF is kept in Parked while Handle runs the single-byte key handling with
// byte 255 in its place; false for any other message.
template <class THandle>
bool HandleParked(TMessage& Message, char16_t& Parked, THandle&& Handle) {
  if (Message.Msg != WM_CHAR || Message.WParam <= 255) return false;
  Parked = char16_t(Message.WParam);
  Message.WParam = 255;
  Handle();
  Parked = 0;
  return true;
}
}  // namespace

WideString GetWideText(TWinControl* Control) { return SyncedHolder(Control, 0, -1)->Caption; }

void SetWideText(TWinControl* Control, const WideString& Text) {
  TWideCaptionHolder* h = SyncedHolder(Control, 0, -1);
  if (h->Caption == Text) return;
  h->Caption = Text;
  h->Image = NarrowUnits(Text);
  Control->SetText(h->Image);
  Control->Perform(CM_TEXTCHANGED, 0, 0);
}

// ============================================================================ edit ============

const TClassInfo& TCustomUNIEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomUNIEdit, TCustomEdit>("TCustomUNIEdit");
  return info;
}

const TClassInfo& TAsgUniEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TAsgUniEdit, TCustomUNIEdit>("TAsgUniEdit")
                                     .Prop("Text", &TAsgUniEdit::GetWideText, &TAsgUniEdit::SetWideText);
  return info;
}

TCustomUNIEdit::TCustomUNIEdit(TComponent* AOwner) : TCustomEdit(AOwner) { GetFont()->SetCharset(255); }

void TCustomUNIEdit::Dispatch(TMessage& Message) {
  if (!HandleParked(Message, parked_, [&] { TCustomEdit::Dispatch(Message); }))
    TCustomEdit::Dispatch(Message);
}

void TCustomUNIEdit::Change() {
  SyncedHolder(this, parked_, CaretIndex());
  parked_ = 0;
  TCustomEdit::Change();
}

// ============================================================================ combo box =======

const TClassInfo& TComboBoxStrings::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TComboBoxStrings, TWideStrings>("TComboBoxStrings");
  return info;
}

WideString TComboBoxStrings::Get(int32_t Index) const {
  TStrings* items = combo_->GetItems();
  if (Index < 0 || Index >= items->Count()) return {};
  const AnsiString narrow = items->Strings(Index);
  if (size_t(Index) < wide_.size() && NarrowUnits(wide_[size_t(Index)]) == narrow)
    return wide_[size_t(Index)];
  return AnsiToWide(narrow);
}

int32_t TComboBoxStrings::GetCount() const { return combo_->GetItems()->Count(); }

TObject* TComboBoxStrings::GetObject(int32_t Index) const { return combo_->GetItems()->Objects(Index); }

void TComboBoxStrings::PutObject(int32_t Index, TObject* AObject) {
  combo_->GetItems()->PutObject(Index, AObject);
}

int32_t TComboBoxStrings::Add(const WideString& S) {
  const int32_t i = GetCount();
  Insert(i, S);
  return i;
}

void TComboBoxStrings::Insert(int32_t Index, const WideString& S) {
  std::vector<WideString> now;
  for (int32_t i = 0; i < GetCount(); ++i) now.push_back(Get(i));
  combo_->GetItems()->Insert(Index, NarrowUnits(S));
  now.insert(now.begin() + std::clamp<ptrdiff_t>(Index, 0, ptrdiff_t(now.size())), S);
  wide_ = std::move(now);
}

void TComboBoxStrings::Delete(int32_t Index) {
  std::vector<WideString> now;
  for (int32_t i = 0; i < GetCount(); ++i)
    if (i != Index) now.push_back(Get(i));
  combo_->GetItems()->Delete(Index);
  wide_ = std::move(now);
}

void TComboBoxStrings::Clear() {
  // The text shown stays.
  const WideString text = combo_->GetWideText();
  combo_->GetItems()->Clear();
  wide_.clear();
  combo_->SetWideText(text);
  combo_->Invalidate();
}

int32_t TComboBoxStrings::IndexOf(const WideString& S) const { return TWideStrings::IndexOf(S); }

void TComboBoxStrings::SetUpdateState(bool Updating) {
  if (Updating)
    combo_->GetItems()->BeginUpdate();
  else
    combo_->GetItems()->EndUpdate();
}

const TClassInfo& TCustomUNIComboBox::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomUNIComboBox, TCustomComboBox>("TCustomUNIComboBox");
  return info;
}

TCustomUNIComboBox::TCustomUNIComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), items_(std::make_unique<TComboBoxStrings>(this)) {
  GetFont()->SetCharset(255);
  TCustomEdit* edit = EditControl();
  editProc_ = edit->WindowProc;
  edit->WindowProc = TWndMethod(this, &TCustomUNIComboBox::EditWndProc);
}

TCustomUNIComboBox::~TCustomUNIComboBox() {
  if (TCustomEdit* edit = EditControl()) edit->WindowProc = editProc_;
}

void TCustomUNIComboBox::EditWndProc(TMessage& Message) {
  if (!HandleParked(Message, parked_, [&] { editProc_(Message); })) editProc_(Message);
}

void TCustomUNIComboBox::Dispatch(TMessage& Message) {
  // Typed to the combo itself (no edit): the type-ahead below looks for the parked character.
  if (HandleParked(Message, parked_, [&] { TCustomComboBox::Dispatch(Message); })) return;
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == CBN_SELCHANGE && GetItemIndex() >= 0) {
    // The chosen item's wide text is the text before anyone hears of the change.  The shown
    // single-byte text is already the item's: setting it again could pick another item with the
    // same image.
    TWideCaptionHolder* h = GetWideCaptionHolder(this, {});
    h->Caption = items_->Get(GetItemIndex());
    h->Image = GetText();
  } else if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == CBN_EDITCHANGE) {
    // The edit's change brings the parked character in; a dropped list follows the wide text,
    // as the single-byte images would match wrongly.
    const WideString text = SyncedHolder(this, parked_, GetSelStart())->Caption;
    parked_ = 0;
    if (GetDroppedDown() && !text.empty()) ListControl()->SetItemIndex(FindWideItem(text, -1));
  }
  TCustomComboBox::Dispatch(Message);
}

int32_t TCustomUNIComboBox::FindWideItem(const WideString& Prefix, int32_t Index) const {
  const int32_t n = items_->Count();
  for (int32_t k = 1; k <= n; ++k) {
    const int32_t i = ((Index < 0 ? -1 : Index) + k) % n;
    const WideString item = items_->Get(i);
    if (item.size() >= Prefix.size() &&
        WideCompareText(item.substr(0, Prefix.size()), Prefix, items_->Language()) == 0)
      return i;
  }
  return -1;
}

void TCustomUNIComboBox::KeyPress(char& Key) {
  if (parked_ && uint8_t(Key) == 0xFF && !HasEdit()) {
    // The framework's type-ahead knows only the single-byte images, where the character is gone.
    TCustomControl::KeyPress(Key);
    if (!Key) return;
    const int32_t found = FindWideItem(WideString(1, parked_), GetItemIndex());
    if (found >= 0 && found != GetItemIndex()) {
      SetItemIndex(found);
      Notify(CBN_SELCHANGE);
    }
    Key = 0;
    return;
  }
  TCustomComboBox::KeyPress(Key);
}

const TClassInfo& TASGUniCustomCombo::ClassInfo() {
  using C = TASGUniCustomCombo;
  static const TClassInfo info = TClassInfo::Of<C, TCustomUNIComboBox>("TASGUniCustomCombo")
                                     .Prop("Flat", &C::GetFlat, &C::SetFlat)
                                     .Default(true)
                                     .Prop("Etched", &C::GetEtched, &C::SetEtched)
                                     .Default(false)
                                     .Prop("ButtonWidth", &C::GetButtonWidth, &C::SetButtonWidth);
  return info;
}

const TClassInfo& TASGUniComboBox::ClassInfo() {
  using C = TASGUniComboBox;
  static const TClassInfo info = TClassInfo::Of<C, TASGUniCustomCombo>("TASGUniComboBox")
                                     .Prop("Items", &C::GetWideItems, &C::SetWideItems)
                                     .Prop("Text", &C::GetWideText, &C::SetWideText);
  return info;
}
