// An owner-drawn, framed group of captioned radio marks laid out in columns, in the desktop's
// 3-D button colours (the plot's property editor stands on it).
#pragma once

#include <memory>

#include "platform/runtime/Classes.h"
#include "widgets/iCustomComponent.h"

// The layout of n items in columns inside a client of the given size, th being the text height
// of the group's font: rows, row height, column width and the first row's centre.  rows is 0
// when there is nothing to lay out (no items).
struct TiRadioGroupLayout {
  int32_t Rows = 0;
  double RowHeight = 0;
  double ColumnWidth = 0;
  int32_t FirstRowY = 0;
};
TiRadioGroupLayout RadioGroupLayout(int32_t Count, int32_t Columns, int32_t Width, int32_t Height,
                                    int32_t TextHeight);
// The item whose row and column hold a client point (-1 without a layout); items fill the first
// column from top to bottom, then the next.
int32_t RadioGroupItemAt(const TiRadioGroupLayout& Layout, int32_t Columns, int32_t X, int32_t Y);
// The centre of item Index's mark.
TPoint RadioGroupItemCenter(const TiRadioGroupLayout& Layout, int32_t Index);

class TiRadioGroup : public TiCustomComponent {
  PL_CLASS(TiRadioGroup)
 public:
  explicit TiRadioGroup(TComponent* AOwner);
  ~TiRadioGroup() override;

  const AnsiString& GetCaption() const { return caption_; }
  void SetCaption(const AnsiString& Value);
  TStrings* GetItems() const { return items_.get(); }
  // Copies the lines.
  void SetItems(TStrings* Value) { items_->Assign(Value); }
  // Clamped to -1 .. count - 1.
  int32_t GetItemIndex() const { return itemIndex_; }
  void SetItemIndex(int32_t Value);
  // Only values above 0 are taken.
  int32_t GetColumns() const { return columns_; }
  void SetColumns(int32_t Value);
  TFont* GetFont() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }

  // The item under a client point, by the layout of the last paint; may lie outside
  // 0 .. count - 1, and is -1 while there is no layout (nothing painted, no items, no room).
  int32_t ItemAt(int32_t X, int32_t Y) const;
  // The centre of an item's mark in the last paint's layout, and the layout's row count.
  TPoint ItemCenter(int32_t Index) const;
  const TiRadioGroupLayout& Layout() const { return layout_; }

  void PaintToCanvas(TCanvas* Canvas) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChangeUser;  // only for mouse selections

 protected:
  virtual void DoChange();
  void DoGotFocus() override;
  void DoLostFocus() override;
  void WantSpecialKey(WORD& CharCode, LRESULT& Result) override;
  void HandleKeyDown(WORD& Key, TShiftState Shift) override;
  void HandleKeyUp(WORD& Key, TShiftState Shift) override;
  void HandleMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;

 private:
  void ItemsChanged(TObject* Sender);
  void FontChanged(TObject* Sender);
  // Keeps ItemIndex inside the list without raising anything.
  void ClampItemIndex();
  void DrawMark(TCanvas* Canvas, TPoint Center, bool Pressed);

  AnsiString caption_ = "Radio Group";
  std::unique_ptr<TStringList> items_;
  int32_t itemIndex_ = 0;
  int32_t columns_ = 1;
  std::unique_ptr<TFont> font_;
  bool pressed_ = false;
  int32_t pressedItem_ = 0;
  bool keyHeld_ = false;
  bool userChange_ = false;
  TiRadioGroupLayout layout_;  // of the last paint
};
