// Wide (UTF-16) text for the grid's editors, whose framework works with single-byte text: the
// wide string list TWideStrings with its single-byte view, and an edit and a combo box that keep
// their text and items wide.  The wide text is held beside the control's single-byte text (one
// byte per UTF-16 unit, '?' where the code page has no byte) and follows every change of it, so a
// character typed above U+00FF survives the single-byte key handling: it is parked while that
// handling carries byte 255 in its place.
//
// Thread contract: UI thread only.
//
// Sections: wide string routines / wide string lists / caption holder and wide text / edit /
// combo box.
#pragma once

#include <memory>
#include <vector>

#include "grid/asgcombo.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/StdEdit.h"

// ============================================================================ wide string routines

// Compare ignoring letter case: -1, 0 or 1.  The NT routine compares the UTF-16 text; the other
// compares the text in the locale's code page.
int32_t WideCompareTextNT(const WideString& A, const WideString& B, uint32_t Locale);
int32_t WideCompareText95(const WideString& A, const WideString& B, uint32_t Locale);
// The comparison the module chose when it started.
extern int32_t (*WideCompareText)(const WideString& A, const WideString& B, uint32_t Locale);
// Zero-terminated wide strings.
size_t WideStrLen(const char16_t* Str);
// Copies Count characters; the ranges may overlap.
char16_t* WideStrMove(char16_t* Dest, const char16_t* Source, size_t Count);
// A copy including the terminator; nil for nil.  Free with delete[].
char16_t* WideStrNew(const char16_t* Str);
// The single-byte image of wide text: one byte per UTF-16 unit.
AnsiString NarrowUnits(const WideString& S);
// Wide text after its single-byte image changed from OldImage to New: the unchanged start and end
// keep their wide characters, the changed middle is converted, a byte 255 there standing for
// Parked when that is not 0.  Caret (-1: unknown) is where the change ended.
WideString FollowNarrowChange(const WideString& Old, const AnsiString& OldImage, const AnsiString& New,
                              char16_t Parked, int32_t Caret);

// ============================================================================ wide string lists

class TAnsiStringsForWideStrings;

// A list of wide strings with an object each.  Its stored form is the property "WideStrings".
class TWideStrings : public TPersistent {
  PL_CLASS(TWideStrings)
 public:
  TWideStrings();
  ~TWideStrings() override;
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  virtual WideString Get(int32_t Index) const = 0;
  virtual int32_t GetCapacity() const { return GetCount(); }
  virtual int32_t GetCount() const = 0;
  virtual TObject* GetObject(int32_t /*Index*/) const { return nullptr; }
  virtual WideString GetTextStr() const;
  virtual void Put(int32_t Index, const WideString& S);
  virtual void PutObject(int32_t /*Index*/, TObject* /*AObject*/) {}
  virtual void SetCapacity(int32_t /*NewCapacity*/) {}
  // Lines end at LF, VT, FF, CR, U+2028 or U+2029; CR LF is one break.
  virtual void SetTextStr(const WideString& Value);
  virtual void SetLanguage(uint32_t Language) { language_ = Language; }
  virtual int32_t Add(const WideString& S);
  virtual int32_t AddObject(const WideString& S, TObject* AObject);
  virtual void AddStrings(TStrings* Strings);
  virtual void AddStrings(TWideStrings* Strings);
  virtual void Clear() = 0;
  virtual void Delete(int32_t Index) = 0;
  virtual void Exchange(int32_t Index1, int32_t Index2);
  // A new zero-terminated copy of the text (delete[] it).
  virtual char16_t* GetText() const;
  // The first string equal to S with letter case ignored; -1 when none.
  virtual int32_t IndexOf(const WideString& S) const;
  virtual void Insert(int32_t Index, const WideString& S) = 0;
  virtual void Move(int32_t CurIndex, int32_t NewIndex);
  virtual void SetText(const char16_t* Text);

  int32_t Count() const { return GetCount(); }
  WideString Strings(int32_t Index) const { return Get(Index); }
  void BeginUpdate();
  void EndUpdate();
  uint32_t Language() const { return language_; }
  // The single-byte view: reading converts, writing goes into this list.
  TStrings* GetAnsiStrings() const;
  void SetAnsiStrings(TStrings* Value);
  // The same strings, compared exactly.
  bool Equals(const TWideStrings* Other) const;

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void SetUpdateState(bool /*Updating*/) {}

 private:
  int32_t updateCount_ = 0;
  uint32_t language_;
  std::unique_ptr<TAnsiStringsForWideStrings> ansi_;
};

// The single-byte view of a wide string list.
class TAnsiStringsForWideStrings : public TStrings {
  PL_CLASS(TAnsiStringsForWideStrings)
 public:
  explicit TAnsiStringsForWideStrings(TWideStrings* Wide) : wide_(Wide) {}
  AnsiString Get(int32_t Index) const override { return WideToAnsi(wide_->Get(Index)); }
  int32_t GetCount() const override { return wide_->GetCount(); }
  TObject* GetObject(int32_t Index) const override { return wide_->GetObject(Index); }
  void PutObject(int32_t Index, TObject* AObject) override { wide_->PutObject(Index, AObject); }
  void Clear() override { wide_->Clear(); }
  void Delete(int32_t Index) override { wide_->Delete(Index); }
  void Insert(int32_t Index, const AnsiString& S) override { wide_->Insert(Index, AnsiToWide(S)); }

 private:
  TWideStrings* wide_;
};

// ============================================================================ caption holder and wide text

// The wide text of a control, kept as a component the control owns.
class TWideCaptionHolder : public TComponent {
  PL_CLASS(TWideCaptionHolder)
 public:
  explicit TWideCaptionHolder(TComponent* AOwner) : TComponent(AOwner) {}
  WideString Caption;
  // The control's single-byte text when Caption was last brought in step with it.
  AnsiString Image;
};

// The control's first TWideCaptionHolder, or a new one holding DefaultText.
TWideCaptionHolder* GetWideCaptionHolder(TWinControl* Control, const WideString& DefaultText);
// The control's wide text, following any change of its single-byte text since it was set.
WideString GetWideText(TWinControl* Control);
// Sets the wide text and the single-byte text to its image; a change is told (CM_TEXTCHANGED).
void SetWideText(TWinControl* Control, const WideString& Text);

// ============================================================================ edit ============

// An edit whose text is wide.
class TCustomUNIEdit : public TCustomEdit {
  PL_CLASS(TCustomUNIEdit)
 public:
  explicit TCustomUNIEdit(TComponent* AOwner);
  WideString GetWideText() { return ::GetWideText(this); }
  void SetWideText(const WideString& Value) { ::SetWideText(this, Value); }
  void Dispatch(TMessage& Message) override;

 protected:
  void Change() override;

 private:
  char16_t parked_ = 0;
};

class TAsgUniEdit : public TCustomUNIEdit {
  PL_CLASS(TAsgUniEdit)
 public:
  explicit TAsgUniEdit(TComponent* AOwner) : TCustomUNIEdit(AOwner) {}
};

// ============================================================================ combo box =======

class TCustomUNIComboBox;

// The items of a wide combo box: the combo's own items hold their single-byte images, the wide
// strings are kept beside them.
class TComboBoxStrings : public TWideStrings {
  PL_CLASS(TComboBoxStrings)
 public:
  explicit TComboBoxStrings(TCustomUNIComboBox* Combo) : combo_(Combo) {}
  WideString Get(int32_t Index) const override;
  int32_t GetCount() const override;
  TObject* GetObject(int32_t Index) const override;
  void PutObject(int32_t Index, TObject* AObject) override;
  int32_t Add(const WideString& S) override;
  void Clear() override;
  void Delete(int32_t Index) override;
  int32_t IndexOf(const WideString& S) const override;
  void Insert(int32_t Index, const WideString& S) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  TCustomUNIComboBox* combo_;
  std::vector<WideString> wide_;
};

class TCustomUNIComboBox : public TCustomComboBox {
  PL_CLASS(TCustomUNIComboBox)
 public:
  explicit TCustomUNIComboBox(TComponent* AOwner);
  ~TCustomUNIComboBox() override;
  TWideStrings* GetWideItems() const { return items_.get(); }
  void SetWideItems(TWideStrings* Value) { items_->Assign(Value); }
  WideString GetWideText() { return ::GetWideText(this); }
  void SetWideText(const WideString& Value) { ::SetWideText(this, Value); }
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyPress(char& Key) override;

 private:
  // The edit's messages pass here first: a character above U+00FF is parked while the single-byte
  // key handling carries byte 255 in its place.
  void EditWndProc(TMessage& Message);
  // The first item after Index (wrapping) whose wide text starts with Prefix, letter case
  // ignored; -1 when none.
  int32_t FindWideItem(const WideString& Prefix, int32_t Index) const;

  std::unique_ptr<TComboBoxStrings> items_;
  TWndMethod editProc_;
  char16_t parked_ = 0;
};

class TASGUniCustomCombo : public TFlatComboOf<TCustomUNIComboBox> {
  PL_CLASS(TASGUniCustomCombo)
 public:
  explicit TASGUniCustomCombo(TComponent* AOwner) : TFlatComboOf<TCustomUNIComboBox>(AOwner) {}
};

class TASGUniComboBox : public TASGUniCustomCombo {
  PL_CLASS(TASGUniComboBox)
 public:
  explicit TASGUniComboBox(TComponent* AOwner) : TASGUniCustomCombo(AOwner) {}
};
