// The framework's lists: TList (pointers, with change notification), TObjectList (owning),
// TStrings (the abstract list of strings with an object per string, its text forms and files)
// and TStringList (the stored, optionally sorted string list).
//
// Sections: TList / TObjectList / TStrings / TStringList.
// Thread contract: none of these classes locks; use a list from one thread at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/runtime/Events.h"
#include "platform/runtime/Persistent.h"

class TStream;

// ============================================================ TList

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Orders two items: negative, zero or positive.
using TListSortCompare = int32_t (*)(void* Item1, void* Item2);

class TList : public TObject {
  PL_CLASS(TList)
 public:
  TList() = default;
  // Derived classes that act on lnDeleted clear the list in their own destructor.
  ~TList() override = default;

  int32_t Add(void* Item);
  void Insert(int32_t Index, void* Item);
  void Delete(int32_t Index);
  // Removes the first occurrence; returns its former index or -1.
  int32_t Remove(void* Item);
  // Removes the first occurrence without deleting it (notified as lnExtracted); null if absent.
  void* Extract(void* Item);
  void Clear();
  void Exchange(int32_t Index1, int32_t Index2);
  void Move(int32_t CurIndex, int32_t NewIndex);
  int32_t IndexOf(void* Item) const;
  void* First() const { return Get(0); }
  void* Last() const { return Get(Count() - 1); }
  // Removes the null items.
  void Pack();
  void Sort(TListSortCompare Compare);

  int32_t Count() const { return int32_t(items_.size()); }
  // Growing adds null items; shrinking deletes from the end.
  void SetCount(int32_t NewCount);
  int32_t Capacity() const { return int32_t(items_.capacity()); }
  void SetCapacity(int32_t NewCapacity);
  void* Get(int32_t Index) const;
  void Put(int32_t Index, void* Item);
  void* Items(int32_t Index) const { return Get(Index); }
  void* operator[](int32_t Index) const { return Get(Index); }

 protected:
  // Called after an item was added and after one left the list; never for null items.
  virtual void Notify(void* Ptr, TListNotification Action);
  [[noreturn]] static void Error(const char* format, int32_t value);

 private:
  void CheckIndex(int32_t Index) const;
  std::vector<void*> items_;
};

// ============================================================ TObjectList

// A list of objects that, while OwnsObjects is set, frees the objects that leave it by deletion.
class TObjectList : public TList {
  PL_CLASS(TObjectList)
 public:
  explicit TObjectList(bool AOwnsObjects = true) : OwnsObjects(AOwnsObjects) {}
  ~TObjectList() override { Clear(); }

  int32_t Add(TObject* AObject) { return TList::Add(AObject); }
  void Insert(int32_t Index, TObject* AObject) { TList::Insert(Index, AObject); }
  int32_t Remove(TObject* AObject) { return TList::Remove(AObject); }
  TObject* Extract(TObject* AObject) { return static_cast<TObject*>(TList::Extract(AObject)); }
  int32_t IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }
  TObject* Get(int32_t Index) const { return static_cast<TObject*>(TList::Get(Index)); }
  TObject* Items(int32_t Index) const { return Get(Index); }
  TObject* operator[](int32_t Index) const { return Get(Index); }

  bool OwnsObjects;

 protected:
  void Notify(void* Ptr, TListNotification Action) override;
};

// ============================================================ TStrings

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  PL_CLASS(TStrings)
 public:
  // --- what a concrete list provides
  virtual AnsiString Get(int32_t Index) const = 0;
  virtual int32_t GetCount() const = 0;
  virtual TObject* GetObject(int32_t Index) const;
  virtual void Put(int32_t Index, const AnsiString& S);
  virtual void PutObject(int32_t Index, TObject* AObject);
  virtual void Clear() = 0;
  virtual void Delete(int32_t Index) = 0;
  virtual void Insert(int32_t Index, const AnsiString& S) = 0;

  // --- built on the above
  int32_t Count() const { return GetCount(); }
  AnsiString Strings(int32_t Index) const { return Get(Index); }
  AnsiString operator[](int32_t Index) const { return Get(Index); }
  TObject* Objects(int32_t Index) const { return GetObject(Index); }

  virtual int32_t Add(const AnsiString& S);
  virtual int32_t AddObject(const AnsiString& S, TObject* AObject);
  void Append(const AnsiString& S) { Add(S); }
  virtual void AddStrings(TStrings* Strings);
  virtual void InsertObject(int32_t Index, const AnsiString& S, TObject* AObject);
  virtual void Exchange(int32_t Index1, int32_t Index2);
  virtual void Move(int32_t CurIndex, int32_t NewIndex);
  // Compared as CompareStrings compares (without regard to case here).
  virtual int32_t IndexOf(const AnsiString& S) const;
  int32_t IndexOfName(const AnsiString& Name) const;
  int32_t IndexOfObject(TObject* AObject) const;
  // Same count and the same strings, case counting.
  bool Equals(TStrings* Strings) const;
  void Assign(TPersistent* Source) override;
  // The stored "Strings" list of a string-list property (defined with the filer, in Filer.cpp).
  void DefineProperties(TFiler* Filer) override;

  // "Name=Value" entries.
  AnsiString Names(int32_t Index) const;
  AnsiString Values(const AnsiString& Name) const;
  // An empty value removes the entry; a missing entry is added.
  void SetValue(const AnsiString& Name, const AnsiString& Value);
  AnsiString ValueFromIndex(int32_t Index) const;

  // Every string followed by CR LF.
  virtual AnsiString GetText() const;
  // Lines end at CR LF, LF or CR; a line end at the very end adds no empty string.
  virtual void SetText(const AnsiString& Text);
  AnsiString Text() const { return GetText(); }
  // Strings joined by Delimiter; one holding a blank, a control character, the quote or the
  // delimiter is quoted with QuoteChar (inner quotes doubled).  Reading splits at the delimiter
  // and, outside quotes, at blanks.
  AnsiString GetDelimitedText() const;
  void SetDelimitedText(const AnsiString& Value);
  AnsiString GetCommaText() const;
  void SetCommaText(const AnsiString& Value);
  char Delimiter = ',';
  char QuoteChar = '"';
  char NameValueSeparator = '=';

  // Changes between BeginUpdate and the matching EndUpdate notify once, at the end.
  void BeginUpdate();
  void EndUpdate();
  int32_t UpdateCount() const { return updateCount_; }
  // Runs change between BeginUpdate and EndUpdate, also when it raises.
  template <class F>
  void Updating(F&& change) {
    BeginUpdate();
    try {
      change();
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  }

  // Single-byte lines with CR LF; SaveToFile replaces the file.
  virtual void LoadFromFile(const AnsiString& FileName);
  virtual void SaveToFile(const AnsiString& FileName);
  // Reads from the stream's position to its end.
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToStream(TStream* Stream);

 protected:
  // Called with true when the first BeginUpdate starts and false when the last EndUpdate ends.
  virtual void SetUpdateState(bool Updating);
  virtual int32_t CompareStrings(const AnsiString& S1, const AnsiString& S2) const;
  [[noreturn]] void Error(const char* format, int32_t value) const;

 private:
  AnsiString JoinDelimited(char delimiter, char quote) const;
  void SplitDelimited(const AnsiString& value, char delimiter, char quote);

  int32_t updateCount_ = 0;
};

// ============================================================ TStringList

class TStringList;
// Orders the strings at Index1 and Index2 of List: negative, zero or positive.
using TStringListSortCompare = int32_t (*)(TStringList* List, int32_t Index1, int32_t Index2);

class TStringList : public TStrings {
  PL_CLASS(TStringList)
 public:
  TStringList() = default;
  explicit TStringList(bool AOwnsObjects) : ownsObjects_(AOwnsObjects) {}
  ~TStringList() override;

  AnsiString Get(int32_t Index) const override;
  int32_t GetCount() const override { return int32_t(items_.size()); }
  TObject* GetObject(int32_t Index) const override;
  // Refused on a sorted list (EStringListError).
  void Put(int32_t Index, const AnsiString& S) override;
  void PutObject(int32_t Index, TObject* AObject) override;
  void Clear() override;
  void Delete(int32_t Index) override;
  // Refused on a sorted list (EStringListError).
  void Insert(int32_t Index, const AnsiString& S) override;
  void InsertObject(int32_t Index, const AnsiString& S, TObject* AObject) override;
  // On a sorted list the string goes to its place; an equal string follows Duplicates, and with
  // dupAccept the new string goes before the equal ones.
  int32_t Add(const AnsiString& S) override;
  int32_t AddObject(const AnsiString& S, TObject* AObject) override;
  void Exchange(int32_t Index1, int32_t Index2) override;
  // Refused on a sorted list (EStringListError) before anything moves.
  void Move(int32_t CurIndex, int32_t NewIndex) override;
  int32_t IndexOf(const AnsiString& S) const override;

  // Binary search of a sorted list: true when S is there; Index is its place (with dupAccept the
  // first of the equal strings), or where S would go.
  virtual bool Find(const AnsiString& S, int32_t& Index) const;
  virtual void Sort();
  virtual void CustomSort(TStringListSortCompare Compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  TDuplicates Duplicates = dupIgnore;
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool Value);
  // While set, the list frees the objects of the strings it deletes.
  bool OwnsObjects() const { return ownsObjects_; }
  void SetOwnsObjects(bool Value) { ownsObjects_ = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool Updating) override;
  int32_t CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;

 private:
  struct Item {
    AnsiString string;
    TObject* object = nullptr;
  };
  void InsertItem(int32_t Index, const AnsiString& S, TObject* AObject);
  void CheckIndex(int32_t Index) const;

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  bool ownsObjects_ = false;
};
