// List boxes and combo boxes.  TCustomListBox holds the items (strings with objects), the
// selection, scrolling, keyboard and mouse handling and the item painting, and answers the list
// box's messages (LB_*), telling its parent LBN_SELCHANGE and LBN_DBLCLK through WM_COMMAND.
// TCustomComboBox puts a TCustomEdit child (csDropDown, csSimple) or its own text field
// (csDropDownList) over a list box that is either its child (csSimple) or a popup window of its
// own (the drop-down); it answers CB_* and tells CBN_* the same way.
//
// Indexes are 0-based; -1 is "no item".
//
// Thread contract: UI thread only.
//
// Sections: messages and types / list box / combo box.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/Lists.h"
#include "platform/ui/Controls.h"
#include "platform/ui/StdEdit.h"

// ============================================================================ messages and types

// ---- list box styles, messages and notifications -----------------------------------------------
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_MULTIPLESEL = 0x0008;
constexpr DWORD LBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD LBS_HASSTRINGS = 0x0040;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_EXTENDEDSEL = 0x0800;

constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
// LParam: the text (LPCSTR); Result its index (in order when sorted).
constexpr UINT LB_ADDSTRING = 0x0180;
// WParam: index (-1: the end); LParam: the text.
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_RESETCONTENT = 0x0184;
// WParam: select (TRUE) or not; LParam: index (-1: all).  Multiple selection only.
constexpr UINT LB_SETSEL = 0x0185;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETSEL = 0x0187;
constexpr UINT LB_GETCURSEL = 0x0188;
// WParam: index; LParam: a buffer large enough (LB_GETTEXTLEN + 1).
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_SELECTSTRING = 0x018C;
constexpr UINT LB_GETTOPINDEX = 0x018E;
// WParam: the index to start after (-1: from the start); LParam: the prefix.
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr UINT LB_GETSELCOUNT = 0x0190;
constexpr UINT LB_SETTOPINDEX = 0x0197;
// WParam: index; LParam: RECT* receiving the item's client rectangle.
constexpr UINT LB_GETITEMRECT = 0x0198;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_SETITEMHEIGHT = 0x01A0;
constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
// LParam: a client point; Result MAKELONG(index, 1 when outside any item).
constexpr UINT LB_ITEMFROMPOINT = 0x01A9;

constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD LBN_SELCANCEL = 3;
constexpr WORD LBN_SETFOCUS = 4;
constexpr WORD LBN_KILLFOCUS = 5;

// ---- combo box styles, messages and notifications ----------------------------------------------
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_HASSTRINGS = 0x0200;

constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
// Result MAKELONG(start, end) of the edit's selection.
constexpr UINT CB_GETEDITSEL = 0x0140;
constexpr UINT CB_LIMITTEXT = 0x0141;
// LParam: MAKELONG(start, end); -1 start removes the selection.
constexpr UINT CB_SETEDITSEL = 0x0142;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRING = 0x014C;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
// WParam: TRUE drops the list, FALSE closes it.
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;
// WParam: -1 the edit field, else the list's items.
constexpr UINT CB_SETITEMHEIGHT = 0x0153;
constexpr UINT CB_GETITEMHEIGHT = 0x0154;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr UINT CB_GETDROPPEDWIDTH = 0x015F;
// WParam: the drop-down's least width in pixels.
constexpr UINT CB_SETDROPPEDWIDTH = 0x0160;

constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DBLCLK = 2;
constexpr WORD CBN_SETFOCUS = 3;
constexpr WORD CBN_KILLFOCUS = 4;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_EDITUPDATE = 6;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr WORD CBN_SELENDOK = 9;
constexpr WORD CBN_SELENDCANCEL = 10;

// ---- framework types ----------------------------------------------------------------------------
enum TOwnerDrawStateItem : uint8_t {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  // The item is drawn in a combo box's text field, not in its list.
  odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem, 8>;

enum TListBoxStyle : uint8_t { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
template <>
const EnumNames& EnumNamesOf<TListBoxStyle>();
enum TComboBoxStyle : uint8_t { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
template <>
const EnumNames& EnumNamesOf<TComboBoxStyle>();

// Control is the list box or combo box; the control's Canvas is set up for the item (font,
// and the selection colours in the brush and font when odSelected).
using TDrawItemEvent = TEvent<TWinControl*, int32_t, TRect, TOwnerDrawState>;
using TMeasureItemEvent = TEvent<TWinControl*, int32_t, int32_t&>;

// ============================================================================ list box ========

class TCustomListBox;
class TCustomComboBox;

// A list box's items: the strings live in the control (with or without its window).
class TListBoxStrings : public TStrings {
  PL_CLASS(TListBoxStrings)
 public:
  explicit TListBoxStrings(TCustomListBox* ListBox) : listBox_(ListBox) {}
  AnsiString Get(int32_t Index) const override;
  int32_t GetCount() const override;
  TObject* GetObject(int32_t Index) const override;
  void PutObject(int32_t Index, TObject* AObject) override;
  void Put(int32_t Index, const AnsiString& S) override;
  void Clear() override;
  void Delete(int32_t Index) override;
  // In a sorted list the string goes to its place, whatever Index says.
  void Insert(int32_t Index, const AnsiString& S) override;
  int32_t Add(const AnsiString& S) override;
  void Move(int32_t CurIndex, int32_t NewIndex) override;
  void Exchange(int32_t Index1, int32_t Index2) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  TCustomListBox* listBox_;
};

// A list of strings the user picks from: one item (ItemIndex) or, with MultiSelect, several
// (Selected).  Keys: arrows, Page Up/Down, Home, End move the current item (Shift extends with
// ExtendedSelect, Space toggles with MultiSelect), typed letters find the next item beginning
// with what was typed within the last second.  The mouse selects, follows the held button and
// double-clicks.  Owner-drawn styles paint through OnDrawItem.
class TCustomListBox : public TCustomControl {
  PL_CLASS(TCustomListBox)
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  // ---- items -------------------------------------------------------------------------------------
  TStrings* GetItems() const { return strings_.get(); }
  void SetItems(TStrings* Value) { strings_->Assign(Value); }
  int32_t Count() const { return int32_t(items_.size()); }
  void Clear() { strings_->Clear(); }
  // Added strings go to their place (case ignored); setting it sorts the items now.
  bool GetSorted() const { return sorted_; }
  void SetSorted(bool Value);

  // ---- selection ---------------------------------------------------------------------------------
  // The current item: the selected one (single selection) or the one with the focus frame.
  int32_t GetItemIndex() const { return itemIndex_; }
  // Selects Index (single selection) and scrolls it into view; out of range gives -1.  No
  // notification: the program changed it.
  void SetItemIndex(int32_t Value);
  bool GetMultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool Value);
  // With MultiSelect: Shift extends a range and Ctrl toggles (without it every click toggles).
  bool GetExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool Value) { extendedSelect_ = Value; }
  bool GetSelected(int32_t Index) const;
  void SetSelected(int32_t Index, bool Value);
  int32_t GetSelCount() const;
  void SelectAll();
  void ClearSelection();
  void DeleteSelected();

  // ---- look and geometry ---------------------------------------------------------------------------
  TListBoxStyle GetStyle() const { return style_; }
  void SetStyle(TListBoxStyle Value);
  // The height of every item (lbStandard: from the font when not set).
  int32_t GetItemHeight();
  void SetItemHeight(int32_t Value);
  int32_t GetTopIndex() const { return topIndex_; }
  void SetTopIndex(int32_t Value);
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  // The item at a client point; a point below the items gives -1 with Existing, else Count.
  int32_t ItemAtPos(TPoint Pos, bool Existing);
  // The item's client rectangle (it may lie outside the view).
  TRect ItemRect(int32_t Index);
  // Rows that fit in the client area (at least 1).
  int32_t VisibleRows();
  // Scrolls so that Index is in view.
  void MakeVisible(int32_t Index);

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void Dispatch(TMessage& Message) override;
  // The list box's own handling of input and of its messages.
  void DefaultHandler(TMessage& Message) override;
  void Loaded() override;

 protected:
  friend class TListBoxStrings;
  friend class TCustomComboBox;
  struct TItem {
    AnsiString Text;
    TObject* Object = nullptr;
    bool Selected = false;
    int32_t Height = 0;  // lbOwnerDrawVariable
  };

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  // Draws one item: OnDrawItem when assigned (and owner-drawn), else the text on the canvas's
  // brush.
  virtual void DrawItem(int32_t Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(int32_t Index, int32_t& Height);
  // Tells the parent window (LBN_*) and so the control itself through CN_COMMAND.
  virtual void Notify(WORD Code);
  // A selection change made by the user.
  void UserSelected();
  // Where the painted item goes and in which state; Paint and the combo's text field use it.
  void PaintItem(TCanvas* Canvas, int32_t Index, const TRect& Rect, TOwnerDrawState State);
  // Items and selection changed: scroll bar, view, repaint.
  void ItemsChanged();
  int32_t InsertItem(int32_t Index, const AnsiString& S, TObject* Object);
  void DeleteItem(int32_t Index);
  void ResetContent();
  int32_t FindItem(const AnsiString& S, int32_t After, bool Exact) const;
  // The user moves the current item to Index (Shift, Ctrl as the keys held).
  void MoveCurrent(int32_t Index, bool Extend, bool Toggle);
  // Where a sorted insertion of S goes.
  int32_t SortedPlace(const AnsiString& S) const;
  int32_t ItemTop(int32_t Index);
  bool OwnerDraw() const { return style_ != lbStandard; }

  std::vector<TItem> items_;
  int32_t itemIndex_ = -1;
  int32_t anchor_ = -1;
  int32_t topIndex_ = 0;
  // Set when the list forwards its notifications to a combo box instead of its parent.
  TCustomComboBox* combo_ = nullptr;

 private:
  void UpdateScrollBar();
  void ScrollMessage(WORD Code, int32_t Pos);
  void MouseSelect(TPoint P, TShiftState Shift, bool Down);
  void KeyDefault(WORD Key, TShiftState Shift);
  void TypeAhead(char C);

  std::unique_ptr<TListBoxStrings> strings_;
  TListBoxStyle style_ = lbStandard;
  TBorderStyle borderStyle_ = bsSingle;
  int32_t itemHeight_ = 16;
  bool itemHeightSet_ = false;
  bool sorted_ = false;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  bool tracking_ = false;
  int32_t updating_ = 0;
  AnsiString typed_;
  uint32_t typedAt_ = 0;
};

class TListBox : public TCustomListBox {
  PL_CLASS(TListBox)
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// ============================================================================ combo box =======

// A text field with a list of choices.  csDropDown: an edit with a button that drops the list;
// csSimple: an edit over a list always shown; csDropDownList (and the owner-drawn styles): the
// selected item shown in a field that only picks from the list.  Alt+Down and F4 drop (and
// close) the list, the button does with the mouse; while dropped, the keys move in the list,
// Enter takes the item, Escape closes without it, and a click outside closes.
class TCustomComboBox : public TCustomControl {
  PL_CLASS(TCustomComboBox)
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TStrings* GetItems() const { return list_->GetItems(); }
  void SetItems(TStrings* Value) { list_->SetItems(Value); }
  int32_t GetItemIndex() const { return list_->GetItemIndex(); }
  // Selects the item and shows its text; no notification.
  void SetItemIndex(int32_t Value);
  TComboBoxStyle GetStyle() const { return style_; }
  void SetStyle(TComboBoxStyle Value);
  bool GetSorted() const { return list_->GetSorted(); }
  void SetSorted(bool Value) { list_->SetSorted(Value); }
  int32_t GetDropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int32_t Value) { dropDownCount_ = Value < 1 ? 1 : Value; }
  // The least width of the drop-down (0: the control's width).
  int32_t GetDroppedWidth() const { return droppedWidth_; }
  void SetDroppedWidth(int32_t Value) { droppedWidth_ = Value; }
  bool GetDroppedDown() const { return dropped_; }
  void SetDroppedDown(bool Value);
  int32_t GetItemHeight();
  void SetItemHeight(int32_t Value);
  int32_t GetMaxLength() const { return maxLength_; }
  void SetMaxLength(int32_t Value);
  TEditCharCase GetCharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase Value);
  // The edit's selection; the whole text in csDropDownList.
  int32_t GetSelStart();
  void SetSelStart(int32_t Value);
  int32_t GetSelLength();
  void SetSelLength(int32_t Value);
  AnsiString GetSelText();
  void SetSelText(const AnsiString& Value);
  void SelectAll();
  void Clear();
  AnsiString GetText() override;
  void SetText(const AnsiString& Value) override;
  // The edit part (nullptr in csDropDownList) and the list part, for callers that talk to the
  // child windows (EM_CHARFROMPOS ...).
  TCustomEdit* EditControl() const { return edit_; }
  TCustomListBox* ListControl() const { return list_; }
  // The focus is in the combo box or its edit.
  bool Focused();
  TCanvas* GetCanvas() const { return TCustomControl::GetCanvas(); }

  TNotifyEvent OnChange, OnSelect, OnDropDown, OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  void Loaded() override;

 protected:
  friend class TCustomListBox;
  friend class TComboEdit;
  friend class TComboDropList;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  // The reflected notifications: OnChange, OnSelect, OnDropDown, OnCloseUp.
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  virtual void DrawItem(int32_t Index, TRect Rect, TOwnerDrawState State);
  void Notify(WORD Code);
  // The list told a selection by the user (key or click); Final ends a drop-down.
  void ListSelected(bool Final);
  // The edit's text changed by the user.
  void EditChanged();
  // Key handling shared by the control and its edit; true when used.
  bool ComboKey(WORD Key, TShiftState Shift);
  bool HasEdit() const { return style_ == csDropDown || style_ == csSimple; }
  TRect ButtonRect();

 private:
  void Layout();
  void ShowItemText();
  void CloseDropDown(bool Take);
  void PaintButton(TCanvas* Canvas);

  TComboBoxStyle style_ = csDropDown;
  TCustomEdit* edit_ = nullptr;
  TCustomListBox* list_ = nullptr;
  AnsiString text_;  // csDropDownList
  int32_t dropDownCount_ = 8;
  int32_t droppedWidth_ = 0;
  int32_t editHeight_ = 0;
  bool dropped_ = false;
  int32_t itemIndexAtDrop_ = -1;
  int32_t maxLength_ = 0;
  TEditCharCase charCase_ = ecNormal;
  bool settingText_ = false;
  bool buttonDown_ = false;
};

class TComboBox : public TCustomComboBox {
  PL_CLASS(TComboBox)
 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};
