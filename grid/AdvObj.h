// The grid's cell checker base and the grid module's start: the grid class registered for stored
// definitions and its clipboard format registered.
#pragma once

#include <array>

#include "platform/runtime/Component.h"
#include "platform/runtime/Lists.h"
#include "platform/ui/ExtCtrls.h"

// Corrects and marks cell texts as they are validated; the base class changes nothing.
class TAdvStringGridCheck : public TComponent {
  PL_CLASS(TAdvStringGridCheck)
 public:
  explicit TAdvStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}
  virtual AnsiString MarkError(int32_t /*ACol*/, int32_t /*ARow*/, const AnsiString& Value) { return Value; }
  virtual AnsiString Correct(int32_t /*ACol*/, int32_t /*ARow*/, const AnsiString& Value) { return Value; }
  virtual void StartCheck() {}
  virtual void StopCheck() {}
  bool GotoCell = false, AutoCorrect = false, AutoMarkError = false, UseCorrect = false, UseMarkError = false;
};

// A picture known by its file name; it is read when drawn.
class TFilePicture : public TPersistent {
  PL_CLASS(TFilePicture)
 public:
  void Assign(TPersistent* Source) override;
  AnsiString GetFilename() const { return filename_; }
  // Reads the file once for its size; a file that does not load gives 0 x 0.
  void SetFilename(const AnsiString& Value);
  int32_t GetWidth() const { return width_; }
  int32_t GetHeight() const { return height_; }
  // Stretches the picture into Rect; nothing without a name.
  void Draw(TCanvas* Canvas, const TRect& Rect);

 private:
  AnsiString filename_;
  int32_t width_ = 0, height_ = 0;
};

// A small lime arrow marking where a dragged row or column would go: 0 up, 1 down, 2 right, 3
// left.  A top-level popup, hidden until shown at a place.
class TArrowWindow : public TPanel {
  PL_CLASS(TArrowWindow)
 public:
  TArrowWindow(TComponent* AOwner, int32_t Direction);
  int32_t Direction() const { return direction_; }
  // The outline the window is cut to.
  static const std::array<TPoint, 7>& Shape(int32_t Direction);
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;

 private:
  int32_t direction_;
};

// The header of a dragged column shown under the mouse: a raised (or flat) box with its caption.
class TPopupButton : public TCustomControl {
  PL_CLASS(TPopupButton)
 public:
  explicit TPopupButton(TComponent* AOwner);
  bool Flat = false;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
};

// ============================================================================ sort lists ======

using TIntListChangeEvent = TEvent<TObject*, int32_t, int32_t>;

// 32-bit integers in the pointer slots of a list, for a column and row given at construction.
// OnChange (Sender, column, row) fires after each put, add and delete; an insert fires nothing.
class TIntList : public TList {
  PL_CLASS(TIntList)
 public:
  TIntList(int32_t ACol, int32_t ARow) : col_(ACol), row_(ARow) {}
  int32_t GetItem(int32_t Index) const { return int32_t(reinterpret_cast<intptr_t>(Get(Index))); }
  void SetItem(int32_t Index, int32_t Value);
  int32_t Add(int32_t Value);
  void Insert(int32_t Index, int32_t Value) { TList::Insert(Index, Slot(Value)); }
  void Delete(int32_t Index);
  // The values joined by ","; writing clears the list and adds each item (StrToInt).
  AnsiString GetStrValue() const;
  void SetStrValue(const AnsiString& Value);
  int32_t Col() const { return col_; }
  int32_t Row() const { return row_; }
  TIntListChangeEvent OnChange;

 private:
  static void* Slot(int32_t Value) { return reinterpret_cast<void*>(intptr_t(Value)); }
  int32_t col_, row_;
};

// The columns of an indexed sort: a column number in bits 0 to 30, bit 31 set for descending.
class TSortIndexList : public TIntList {
  PL_CLASS(TSortIndexList)
 public:
  TSortIndexList() : TIntList(0, 0) {}
  static constexpr uint32_t DescendingBit = 0x80000000u;
  void AddIndex(int32_t ACol, bool Ascending);
  // The entry of ACol, -1 when absent.
  int32_t FindIndex(int32_t ACol) const;
  void ToggleIndex(int32_t ACol);
  static int32_t ColumnOf(int32_t Entry) { return int32_t(uint32_t(Entry) & ~DescendingBit); }
  static bool IsDescending(int32_t Entry) { return (uint32_t(Entry) & DescendingBit) != 0; }
};

// Registers the grid's classes and clipboard format; run once when a program links the library.
void RegisterGridClasses();
