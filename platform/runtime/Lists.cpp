// Sections: shared helpers / TList / TObjectList / TStrings / TStringList.
#include "platform/runtime/Lists.h"

#include <algorithm>
#include <utility>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"

// ============================================================ shared helpers

namespace {

constexpr const char* kListIndexError = "List index out of bounds (%d)";
constexpr const char* kListCapacityError = "List capacity out of bounds (%d)";
constexpr const char* kListCountError = "List count out of bounds (%d)";
constexpr const char* kDuplicateString = "String list does not allow duplicates";
constexpr const char* kSortedListError = "Operation not allowed on sorted list";

AnsiString FormatValue(const char* format, int32_t value) {
  AnsiString s(format);
  size_t at = s.find("%d");
  if (at != AnsiString::npos) s.replace(at, 2, std::to_string(value));
  return s;
}

// The framework's quicksort over positions: compare(i, pivot) sees the items where they are at
// that moment, and exchange swaps two positions.  The bounds checks keep an inconsistent
// comparison from running off the range.
template <class Compare, class Exchange>
void QuickSort(int32_t l, int32_t r, Compare compare, Exchange exchange) {
  int32_t i;
  do {
    i = l;
    int32_t j = r;
    int32_t p = l + (r - l) / 2;
    do {
      while (i < r && compare(i, p) < 0) i++;
      while (j > l && compare(j, p) > 0) j--;
      if (i <= j) {
        if (i != j) exchange(i, j);
        if (p == i)
          p = j;
        else if (p == j)
          p = i;
        i++;
        j--;
      }
    } while (i <= j);
    if (l < j) QuickSort(l, j, compare, exchange);
    l = i;
  } while (i < r);
}

}  // namespace

// ============================================================ TList

const TClassInfo& TList::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TList, TObject>("TList");
  return info;
}

void TList::Error(const char* format, int32_t value) { throw EListError(FormatValue(format, value)); }

void TList::CheckIndex(int32_t Index) const {
  if (Index < 0 || Index >= Count()) Error(kListIndexError, Index);
}

void TList::Notify(void*, TListNotification) {}

int32_t TList::Add(void* Item) {
  int32_t index = Count();
  items_.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return index;
}

void TList::Insert(int32_t Index, void* Item) {
  if (Index < 0 || Index > Count()) Error(kListIndexError, Index);
  items_.insert(items_.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int32_t Index) {
  CheckIndex(Index);
  void* item = items_[size_t(Index)];
  items_.erase(items_.begin() + Index);
  if (item) Notify(item, lnDeleted);
}

int32_t TList::Remove(void* Item) {
  int32_t index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* Item) {
  int32_t index = IndexOf(Item);
  if (index < 0) return nullptr;
  items_.erase(items_.begin() + index);
  if (Item) Notify(Item, lnExtracted);
  return Item;
}

void TList::Clear() {
  SetCount(0);
  items_.shrink_to_fit();
}

void TList::Exchange(int32_t Index1, int32_t Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(items_[size_t(Index1)], items_[size_t(Index2)]);
}

void TList::Move(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  void* item = items_[size_t(CurIndex)];
  items_.erase(items_.begin() + CurIndex);
  items_.insert(items_.begin() + NewIndex, item);
}

int32_t TList::IndexOf(void* Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : int32_t(it - items_.begin());
}

void TList::Pack() {
  // Null items are never notified, so they can simply go.
  items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

void TList::Sort(TListSortCompare Compare) {
  if (Count() < 2 || !Compare) return;
  QuickSort(
      0, Count() - 1, [&](int32_t a, int32_t b) { return Compare(items_[size_t(a)], items_[size_t(b)]); },
      [&](int32_t a, int32_t b) { std::swap(items_[size_t(a)], items_[size_t(b)]); });
}

void TList::SetCount(int32_t NewCount) {
  if (NewCount < 0) Error(kListCountError, NewCount);
  if (NewCount >= Count()) {
    items_.resize(size_t(NewCount), nullptr);
    return;
  }
  // Item by item from the end, so that every deleted item is notified.
  for (int32_t i = Count() - 1; i >= NewCount; --i) Delete(i);
}

void TList::SetCapacity(int32_t NewCapacity) {
  if (NewCapacity < Count()) Error(kListCapacityError, NewCapacity);
  if (size_t(NewCapacity) > items_.capacity())
    items_.reserve(size_t(NewCapacity));
  else
    items_.shrink_to_fit();
}

void* TList::Get(int32_t Index) const {
  CheckIndex(Index);
  return items_[size_t(Index)];
}

void TList::Put(int32_t Index, void* Item) {
  CheckIndex(Index);
  void* old = items_[size_t(Index)];
  if (old == Item) return;
  items_[size_t(Index)] = Item;
  if (old) Notify(old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

// ============================================================ TObjectList

const TClassInfo& TObjectList::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TObjectList, TList>("TObjectList");
  return info;
}

void TObjectList::Notify(void* Ptr, TListNotification Action) {
  if (OwnsObjects && Action == lnDeleted) delete static_cast<TObject*>(Ptr);
  TList::Notify(Ptr, Action);
}

// ============================================================ TStrings

const TClassInfo& TStrings::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TStrings, TPersistent>("TStrings");
  return info;
}

void TStrings::Error(const char* format, int32_t value) const {
  throw EStringListError(FormatValue(format, value));
}

TObject* TStrings::GetObject(int32_t) const { return nullptr; }

void TStrings::Put(int32_t Index, const AnsiString& S) {
  TObject* object = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, object);
}

void TStrings::PutObject(int32_t, TObject*) {}

int32_t TStrings::Add(const AnsiString& S) {
  int32_t index = GetCount();
  Insert(index, S);
  return index;
}

int32_t TStrings::AddObject(const AnsiString& S, TObject* AObject) {
  int32_t index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::AddStrings(TStrings* Strings) {
  if (!Strings) return;
  Updating([&] {
    for (int32_t i = 0, n = Strings->GetCount(); i < n; ++i)
      AddObject(Strings->Get(i), Strings->GetObject(i));
  });
}

void TStrings::InsertObject(int32_t Index, const AnsiString& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Exchange(int32_t Index1, int32_t Index2) {
  Updating([&] {
    AnsiString s = Get(Index1);
    TObject* o = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s);
    PutObject(Index2, o);
  });
}

void TStrings::Move(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex == NewIndex) return;
  Updating([&] {
    AnsiString s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
  });
}

int32_t TStrings::IndexOf(const AnsiString& S) const {
  for (int32_t i = 0, n = GetCount(); i < n; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int32_t TStrings::IndexOfName(const AnsiString& Name) const {
  for (int32_t i = 0, n = GetCount(); i < n; ++i) {
    AnsiString s = Get(i);
    size_t at = s.find(NameValueSeparator);
    if (at != AnsiString::npos && CompareStrings(s.substr(0, at), Name) == 0) return i;
  }
  return -1;
}

int32_t TStrings::IndexOfObject(TObject* AObject) const {
  for (int32_t i = 0, n = GetCount(); i < n; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

bool TStrings::Equals(TStrings* Strings) const {
  if (!Strings || Strings->GetCount() != GetCount()) return false;
  for (int32_t i = 0, n = GetCount(); i < n; ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

void TStrings::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TStrings*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this) return;  // clearing first would lose the very strings to copy
  Updating([&] {
    Clear();
    Delimiter = source->Delimiter;
    QuoteChar = source->QuoteChar;
    NameValueSeparator = source->NameValueSeparator;
    AddStrings(source);
  });
}

AnsiString TStrings::Names(int32_t Index) const {
  AnsiString s = Get(Index);
  size_t at = s.find(NameValueSeparator);
  return at == AnsiString::npos ? AnsiString() : s.substr(0, at);
}

AnsiString TStrings::Values(const AnsiString& Name) const {
  int32_t index = IndexOfName(Name);
  return index < 0 ? AnsiString() : ValueFromIndex(index);
}

AnsiString TStrings::ValueFromIndex(int32_t Index) const {
  AnsiString s = Get(Index);
  size_t at = s.find(NameValueSeparator);
  return at == AnsiString::npos ? AnsiString() : s.substr(at + 1);
}

void TStrings::SetValue(const AnsiString& Name, const AnsiString& Value) {
  int32_t index = IndexOfName(Name);
  AnsiString entry = Name + NameValueSeparator + Value;
  if (!Value.empty()) {
    if (index < 0)
      Add(entry);
    else
      Put(index, entry);
  } else if (index >= 0) {
    Delete(index);
  }
}

AnsiString TStrings::GetText() const {
  AnsiString text;
  for (int32_t i = 0, n = GetCount(); i < n; ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(const AnsiString& Text) {
  Updating([&] {
    Clear();
    size_t p = 0, n = Text.size();
    while (p < n) {
      size_t end = Text.find_first_of("\r\n", p);
      if (end == AnsiString::npos) end = n;
      Add(Text.substr(p, end - p));
      p = end;
      if (p < n && Text[p] == '\r') p++;
      if (p < n && Text[p] == '\n') p++;
    }
  });
}

AnsiString TStrings::GetDelimitedText() const { return JoinDelimited(Delimiter, QuoteChar); }
void TStrings::SetDelimitedText(const AnsiString& Value) { SplitDelimited(Value, Delimiter, QuoteChar); }
AnsiString TStrings::GetCommaText() const { return JoinDelimited(',', '"'); }
void TStrings::SetCommaText(const AnsiString& Value) { SplitDelimited(Value, ',', '"'); }

AnsiString TStrings::JoinDelimited(char delimiter, char quote) const {
  int32_t n = GetCount();
  if (n == 1 && Get(0).empty()) return AnsiString(2, quote);
  AnsiString result;
  for (int32_t i = 0; i < n; ++i) {
    AnsiString s = Get(i);
    bool quoted = std::any_of(s.begin(), s.end(), [&](char c) {
      return static_cast<unsigned char>(c) <= ' ' || c == quote || c == delimiter;
    });
    if (i > 0) result += delimiter;
    result += quoted ? AnsiQuotedStr(s, quote) : s;
  }
  return result;
}

void TStrings::SplitDelimited(const AnsiString& value, char delimiter, char quote) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  Updating([&] {
    Clear();
    size_t p = 0, n = value.size();
    while (p < n && blank(value[p])) p++;
    while (p < n) {
      AnsiString s;
      if (value[p] == quote) {
        // A quoted item: doubled quotes stand for one; an unclosed quote runs to the end.
        for (p++; p < n; p++) {
          if (value[p] != quote) {
            s += value[p];
          } else if (p + 1 < n && value[p + 1] == quote) {
            s += quote;
            p++;
          } else {
            p++;
            break;
          }
        }
      } else {
        size_t start = p;
        while (p < n && !blank(value[p]) && value[p] != delimiter) p++;
        s = value.substr(start, p - start);
      }
      Add(s);
      while (p < n && blank(value[p])) p++;
      if (p < n && value[p] == delimiter) {
        if (p + 1 == n) Add(AnsiString());
        do p++;
        while (p < n && blank(value[p]));
      }
    }
  });
}

void TStrings::BeginUpdate() {
  // Counted after the call, so that the hook may still notify.
  if (updateCount_ == 0) SetUpdateState(true);
  updateCount_++;
}

void TStrings::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

int32_t TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
  return AnsiCompareText(S1, S2);
}

void TStrings::LoadFromFile(const AnsiString& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TStrings::SaveToFile(const AnsiString& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TStrings::LoadFromStream(TStream* Stream) {
  int64_t size = Stream->GetSize() - Stream->GetPosition();
  AnsiString text(size_t(std::max<int64_t>(size, 0)), '\0');
  size_t got = 0;
  while (got < text.size()) {
    int32_t n = Stream->Read(text.data() + got, int32_t(std::min<size_t>(text.size() - got, 1u << 30)));
    if (n <= 0) break;
    got += size_t(n);
  }
  text.resize(got);
  SetText(text);
}

void TStrings::SaveToStream(TStream* Stream) {
  AnsiString text = GetText();
  Stream->WriteBuffer(text.data(), int32_t(text.size()));
}

// ============================================================ TStringList

const TClassInfo& TStringList::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TStringList, TStrings>("TStringList");
  return info;
}

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (ownsObjects_)
    for (Item& item : items_) delete item.object;
}

void TStringList::CheckIndex(int32_t Index) const {
  if (Index < 0 || Index >= GetCount()) Error(kListIndexError, Index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

int32_t TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
  return caseSensitive_ ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

AnsiString TStringList::Get(int32_t Index) const {
  CheckIndex(Index);
  return items_[size_t(Index)].string;
}

TObject* TStringList::GetObject(int32_t Index) const {
  CheckIndex(Index);
  return items_[size_t(Index)].object;
}

void TStringList::Put(int32_t Index, const AnsiString& S) {
  if (sorted_) throw EStringListError(kSortedListError);
  CheckIndex(Index);
  Changing();
  items_[size_t(Index)].string = S;
  Changed();
}

void TStringList::PutObject(int32_t Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  items_[size_t(Index)].object = AObject;
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  std::vector<Item> old;
  old.swap(items_);
  if (ownsObjects_)
    for (Item& item : old) delete item.object;
  Changed();
}

void TStringList::Delete(int32_t Index) {
  CheckIndex(Index);
  Changing();
  TObject* object = items_[size_t(Index)].object;
  items_.erase(items_.begin() + Index);
  if (ownsObjects_) delete object;
  Changed();
}

void TStringList::Insert(int32_t Index, const AnsiString& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int32_t Index, const AnsiString& S, TObject* AObject) {
  if (sorted_) throw EStringListError(kSortedListError);
  if (Index < 0 || Index > GetCount()) Error(kListIndexError, Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int32_t Index, const AnsiString& S, TObject* AObject) {
  Changing();
  items_.insert(items_.begin() + Index, Item{S, AObject});
  Changed();
}

int32_t TStringList::Add(const AnsiString& S) { return AddObject(S, nullptr); }

int32_t TStringList::AddObject(const AnsiString& S, TObject* AObject) {
  int32_t index = GetCount();
  if (sorted_ && Find(S, index)) {
    if (Duplicates == dupIgnore) return index;
    if (Duplicates == dupError) throw EStringListError(kDuplicateString);
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Exchange(int32_t Index1, int32_t Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(items_[size_t(Index1)], items_[size_t(Index2)]);
  Changed();
}

void TStringList::Move(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex == NewIndex) return;
  if (sorted_) throw EStringListError(kSortedListError);
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  // Moved as one item, so an owned object is not freed on the way.
  Changing();
  Item item = std::move(items_[size_t(CurIndex)]);
  items_.erase(items_.begin() + CurIndex);
  items_.insert(items_.begin() + NewIndex, std::move(item));
  Changed();
}

int32_t TStringList::IndexOf(const AnsiString& S) const {
  if (!sorted_) return TStrings::IndexOf(S);
  int32_t index;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& S, int32_t& Index) const {
  bool found = false;
  int32_t l = 0, h = GetCount() - 1;
  while (l <= h) {
    int32_t i = l + (h - l) / 2;
    int32_t c = CompareStrings(items_[size_t(i)].string, S);
    if (c < 0) {
      l = i + 1;
    } else {
      h = i - 1;
      if (c == 0) {
        found = true;
        if (Duplicates != dupAccept) l = i;
      }
    }
  }
  Index = l;
  return found;
}

void TStringList::Sort() {
  CustomSort([](TStringList* list, int32_t a, int32_t b) {
    return list->CompareStrings(list->items_[size_t(a)].string, list->items_[size_t(b)].string);
  });
}

void TStringList::CustomSort(TStringListSortCompare Compare) {
  if (sorted_ || GetCount() < 2 || !Compare) return;
  Changing();
  QuickSort(
      0, GetCount() - 1, [&](int32_t a, int32_t b) { return Compare(this, a, b); },
      [&](int32_t a, int32_t b) { std::swap(items_[size_t(a)], items_[size_t(b)]); });
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (sorted_ == Value) return;
  if (Value) Sort();
  sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (caseSensitive_ == Value) return;
  caseSensitive_ = Value;
  if (sorted_) {
    sorted_ = false;
    Sort();
    sorted_ = true;
  }
}
