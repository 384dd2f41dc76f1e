// Page control and tab sheets, tab control, status bar, up-down, track bar and progress bar,
// painted in the classic look.
//
// Thread contract: main thread only.
//
// Sections: tabs (TCustomTabControl, TTabControl, TTabSheet, TPageControl) / status bar /
// up-down / track bar / progress bar.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/Collection.h"
#include "platform/runtime/Lists.h"
#include "platform/ui/Controls.h"

// ============================================================================ tabs ============

enum TTabPosition : uint8_t { tpTop, tpBottom, tpLeft, tpRight };
template <>
const EnumNames& EnumNamesOf<TTabPosition>();
using TTabChangingEvent = TEvent<TObject*, bool&>;

// A row of tabs above (or beside) a display area.  A tab chosen by the user (click, arrow keys,
// Ctrl+Tab) asks OnChanging first and reports OnChange; TabIndex set by code reports nothing.
// Tabs above or below that do not fit scroll under a pair of arrow buttons at the row's right end
// or, with MultiLine, wrap into rows; the row holding the chosen tab lies next to the display area.
class TCustomTabControl : public TCustomControl {
  PL_CLASS(TCustomTabControl)
 public:
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;
  TStrings* GetTabs() const { return tabs_.get(); }
  void SetTabs(TStrings* Value) { tabs_->Assign(Value); }
  // -1: none.
  int32_t GetTabIndex() const { return tabIndex_; }
  virtual void SetTabIndex(int32_t Value);
  TTabPosition GetTabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition Value);
  bool GetMultiLine() const { return multiLine_; }
  void SetMultiLine(bool Value);
  int16_t GetTabHeight() const { return tabHeight_; }
  void SetTabHeight(int16_t Value);
  // The tab's rectangle (client coordinates), empty for a bad index.  A tab scrolled out of the
  // row lies outside the client area or under the scroll buttons.
  TRect TabRect(int32_t Index);
  // The tab at a client point, -1 when none (the scroll buttons and scrolled-out tabs are none).
  int32_t IndexOfTabAt(int32_t X, int32_t Y);
  // The scroll button that shows earlier (Forward: later) tabs, empty while the tabs fit.
  TRect ScrollButtonRect(bool Forward);
  // The area inside the frame below (beside) the tabs.
  TRect DisplayRect();
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;
  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  virtual bool CanChange();
  virtual void Change();
  // The user picks a tab: OnChanging may refuse; true when it changed.
  bool SelectTabByUser(int32_t Index);
  // The next tab after the current one (wrapping), -1 when none.
  int32_t NextTab(bool GoForward);
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void TabsChanged(TObject* Sender);
  // The depth of the tab area, every row included.
  int32_t TabBand();

 private:
  // Where the tabs lie now.
  struct TTabLayout {
    std::vector<TRect> tabs;  // client coordinates, the chosen tab not yet raised
    std::vector<int32_t> row;  // each tab's row, counted from the display area outward
    int32_t rows = 0, band = 0;
    int32_t first = 0, lastFirst = 0;  // the first tab shown, and the furthest it may scroll
    TRect back, ahead;  // the scroll buttons, empty while the tabs fit
  };
  TTabLayout Layout();
  // One tab further (Delta 1) or back (-1).
  void ScrollTabs(int32_t Delta);
  void ScrollIntoView(int32_t Index);
  // The chosen tab stands out by 2 pixels and joins the display area.
  TRect Raised(const TRect& Tab) const;

  std::unique_ptr<TStringList> tabs_;
  int32_t tabIndex_ = -1;
  int32_t firstTab_ = 0;  // scroll position of a single row
  bool scrollToChosen_ = false;
  TTabPosition tabPosition_ = tpTop;
  bool multiLine_ = false;
  int16_t tabHeight_ = 0;
};

class TTabControl : public TCustomTabControl {
  PL_CLASS(TTabControl)
 public:
  explicit TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}
};

class TPageControl;

// One page of a page control; only the active page shows.
class TTabSheet : public TCustomControl {
  PL_CLASS(TTabSheet)
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  TPageControl* GetPageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* Value);
  // Position among the page control's pages, -1 outside one.
  int32_t GetPageIndex() const;
  void SetPageIndex(int32_t Value);
  bool GetTabVisible() const { return tabVisible_; }
  void SetTabVisible(bool Value);
  // Position among the visible tabs, -1 when its tab is hidden.
  int32_t TabIndex() const;
  int32_t GetImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t Value) { imageIndex_ = Value; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int32_t imageIndex_ = -1;
};

// Tabs that switch pages (TTabSheet children).
class TPageControl : public TCustomTabControl {
  PL_CLASS(TPageControl)
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  int32_t PageCount() const { return int32_t(pages_.size()); }
  int32_t GetPageCount() const { return PageCount(); }
  // Raises EListError on a bad index.
  TTabSheet* Pages(int32_t Index) const;
  TTabSheet* GetActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* Page);
  int32_t GetActivePageIndex() const { return activePage_ ? activePage_->GetPageIndex() : -1; }
  void SetActivePageIndex(int32_t Value);
  void SetTabIndex(int32_t Value) override;
  // The page after (before) CurPage, wrapping; with CheckTabVisible only pages with a tab.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible);
  // As the user would: OnChanging, the page, OnChange.
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int32_t Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

 protected:
  void Change() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void UpdateTabs();
  void ShowActive();
  // Makes Page the active one; the focus inside the page that hides moves to the control.
  void ChangeActivePage(TTabSheet* Page);
  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};

// ============================================================================ status bar ======

enum TStatusPanelStyle : uint8_t { psText, psOwnerDraw };
enum TStatusPanelBevel : uint8_t { pbNone, pbLowered, pbRaised };
template <>
const EnumNames& EnumNamesOf<TStatusPanelStyle>();
template <>
const EnumNames& EnumNamesOf<TStatusPanelBevel>();

class TStatusBar;

class TStatusPanel : public TCollectionItem {
  PL_CLASS(TStatusPanel)
 public:
  explicit TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
  const AnsiString& GetText() const { return text_; }
  void SetText(const AnsiString& Value);
  int32_t GetWidth() const { return width_; }
  void SetWidth(int32_t Value);
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TStatusPanelBevel GetBevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel Value);
  TStatusPanelStyle GetStyle() const { return style_; }
  void SetStyle(TStatusPanelStyle Value);
  AnsiString GetDisplayName() override;

 private:
  AnsiString text_;
  int32_t width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  TStatusPanelStyle style_ = psText;
};

class TStatusPanels : public TCollection {
  PL_CLASS(TStatusPanels)
 public:
  explicit TStatusPanels(TStatusBar* StatusBar);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(int32_t Index) const { return static_cast<TStatusPanel*>(TCollection::Items(Index)); }
  TStatusPanel* operator[](int32_t Index) const { return Items(Index); }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TStatusBar* statusBar_;
};

using TDrawPanelEvent = TEvent<TStatusBar*, TStatusPanel*, const TRect&>;

// A bar at the bottom of a form: panels side by side (the last one reaches the right edge), or
// one simple text; a size grip when the form can be sized.
class TStatusBar : public TCustomControl {
  PL_CLASS(TStatusBar)
 public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;
  TStatusPanels* GetPanels() const { return panels_.get(); }
  void SetPanels(TStatusPanels* Value) { panels_->Assign(Value); }
  bool GetSimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool Value);
  const AnsiString& GetSimpleText() const { return simpleText_; }
  void SetSimpleText(const AnsiString& Value);
  bool GetSizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool Value);
  // A panel's rectangle (client coordinates).
  TRect PanelRect(int32_t Index);
  // Whether the grip shows now (set, and the form can be sized).
  bool GripShowing();
  TDrawPanelEvent OnDrawPanel;

 protected:
  void Paint() override;
  virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);

 private:
  std::unique_ptr<TStatusPanels> panels_;
  bool simplePanel_ = false;
  AnsiString simpleText_;
  bool sizeGrip_ = true;
};

// ============================================================================ up-down =========

enum TUDAlignButton : uint8_t { udLeft, udRight };
enum TUDOrientation : uint8_t { udHorizontal, udVertical };
enum TUDBtnType : uint8_t { btNext, btPrev };
template <>
const EnumNames& EnumNamesOf<TUDAlignButton>();
template <>
const EnumNames& EnumNamesOf<TUDOrientation>();
using TUDClickEvent = TEvent<TObject*, TUDBtnType>;
using TUDChangingEvent = TEvent<TObject*, bool&>;

// Two arrow buttons that step Position between Min and Max (wrapping with Wrap), repeating
// while held, and show it in the associated control's text; the associate's Up and Down keys
// step it too (ArrowKeys).
class TCustomUpDown : public TCustomControl {
  PL_CLASS(TCustomUpDown)
 public:
  explicit TCustomUpDown(TComponent* AOwner);
  ~TCustomUpDown() override;
  TWinControl* GetAssociate() const { return associate_; }
  void SetAssociate(TWinControl* Value);
  int32_t GetMin() const { return min_; }
  void SetMin(int32_t Value);
  int32_t GetMax() const { return max_; }
  void SetMax(int32_t Value);
  // Read from the associate's text when that holds a number in range.
  int32_t GetPosition();
  void SetPosition(int32_t Value);
  int32_t GetIncrement() const { return increment_; }
  void SetIncrement(int32_t Value) { increment_ = Value; }
  bool GetWrap() const { return wrap_; }
  void SetWrap(bool Value) { wrap_ = Value; }
  bool GetArrowKeys() const { return arrowKeys_; }
  void SetArrowKeys(bool Value) { arrowKeys_ = Value; }
  bool GetThousands() const { return thousands_; }
  void SetThousands(bool Value);
  TUDOrientation GetOrientation() const { return orientation_; }
  void SetOrientation(TUDOrientation Value);
  TUDAlignButton GetAlignButton() const { return alignButton_; }
  void SetAlignButton(TUDAlignButton Value);
  // One step as the buttons make it; false when OnChanging refused or nothing moved.
  bool Step(TUDBtnType Button);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  virtual bool CanChange();
  using TCustomControl::Click;
  virtual void Click(TUDBtnType Button);

 private:
  void UpdateAssociate();
  void PlaceBesideAssociate();
  void UnhookAssociate(bool Restore);
  void AssociateProc(TMessage& Message);
  TUDBtnType ButtonAt(int32_t X, int32_t Y);

  TWinControl* associate_ = nullptr;
  TWndMethod associateProc_;
  int32_t min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  bool wrap_ = false, arrowKeys_ = true, thousands_ = true;
  TUDOrientation orientation_ = udVertical;
  TUDAlignButton alignButton_ = udRight;
  int pressed_ = -1;  // the button held (TUDBtnType), -1 none
};

class TUpDown : public TCustomUpDown {
  PL_CLASS(TUpDown)
 public:
  explicit TUpDown(TComponent* AOwner) : TCustomUpDown(AOwner) {}
};

// ============================================================================ track bar =======

enum TTrackBarOrientation : uint8_t { trHorizontal, trVertical };
enum TTickMark : uint8_t { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle : uint8_t { tsNone, tsAuto, tsManual };
template <>
const EnumNames& EnumNamesOf<TTrackBarOrientation>();
template <>
const EnumNames& EnumNamesOf<TTickMark>();
template <>
const EnumNames& EnumNamesOf<TTickStyle>();

// A thumb on a channel between Min and Max: arrow keys move it by LineSize, Page Up and Down by
// PageSize, Home and End to the ends; a click on the channel pages toward the mouse, the thumb
// drags.
class TTrackBar : public TCustomControl {
  PL_CLASS(TTrackBar)
 public:
  explicit TTrackBar(TComponent* AOwner);
  int32_t GetMin() const { return min_; }
  void SetMin(int32_t Value);
  int32_t GetMax() const { return max_; }
  void SetMax(int32_t Value);
  int32_t GetPosition() const { return position_; }
  void SetPosition(int32_t Value);
  int32_t GetFrequency() const { return frequency_; }
  void SetFrequency(int32_t Value);
  int32_t GetLineSize() const { return lineSize_; }
  void SetLineSize(int32_t Value) { lineSize_ = Value; }
  int32_t GetPageSize() const { return pageSize_; }
  void SetPageSize(int32_t Value) { pageSize_ = Value; }
  TTrackBarOrientation GetOrientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation Value);
  TTickMark GetTickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark Value);
  TTickStyle GetTickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle Value);
  // The thumb's rectangle (client coordinates).
  TRect ThumbRect();
  void Dispatch(TMessage& Message) override;
  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void Changed() override;

 private:
  TRect ChannelRect();
  int32_t PositionAt(int32_t X, int32_t Y);
  int32_t PixelOf(int32_t Value);
  void MoveTo(int32_t Value);
  int32_t min_ = 0, max_ = 10, position_ = 0, frequency_ = 1, lineSize_ = 1, pageSize_ = 2;
  TTrackBarOrientation orientation_ = trHorizontal;
  TTickMark tickMarks_ = tmBottomRight;
  TTickStyle tickStyle_ = tsAuto;
  bool dragging_ = false;
  int32_t dragOffset_ = 0;
};

// ============================================================================ progress bar ====

enum TProgressBarOrientation : uint8_t { pbHorizontal, pbVertical };
template <>
const EnumNames& EnumNamesOf<TProgressBarOrientation>();

// Shows Position between Min and Max as blocks (or a smooth bar).
class TProgressBar : public TCustomControl {
  PL_CLASS(TProgressBar)
 public:
  explicit TProgressBar(TComponent* AOwner);
  int32_t GetMin() const { return min_; }
  void SetMin(int32_t Value);
  int32_t GetMax() const { return max_; }
  void SetMax(int32_t Value);
  int32_t GetPosition() const { return position_; }
  // Kept within Min..Max.
  void SetPosition(int32_t Value);
  int32_t GetStep() const { return step_; }
  void SetStep(int32_t Value) { step_ = Value; }
  bool GetSmooth() const { return smooth_; }
  void SetSmooth(bool Value);
  TProgressBarOrientation GetOrientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation Value);
  // Advances by Step; passing Max starts again from Min.
  void StepIt();
  // Advances by Delta, kept within Min..Max.
  void StepBy(int32_t Delta);

 protected:
  void Paint() override;

 private:
  int32_t min_ = 0, max_ = 100, position_ = 0, step_ = 10;
  bool smooth_ = false;
  TProgressBarOrientation orientation_ = pbHorizontal;
};
