// The framework's control classes: TControl (bounds, visibility, enabling, text, colour, font,
// mouse input, repaint requests), TWinControl (a window of the window manager with children,
// alignment, focus, keyboard and tab order), TGraphicControl and TCustomControl (painting on a
// canvas), the hint window, and the functions that find controls.
//
// Thread contract: controls belong to the main (UI) thread.
//
// Sections: types / size constraints / control canvas / TControl / TWinControl /
// TGraphicControl and TCustomControl / hint window / free functions.
#pragma once

#include <functional>
#include <vector>

#include "platform/os/user/User.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/TypInfo.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Messages.h"

class TControl;
class TWinControl;
class TCustomForm;

// ============================================================================ types ===========

// A control's caption.
using TCaption = AnsiString;

enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem, 8>;
enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAlignSet = TSet<TAlign, 8>;
enum TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind, 4>;
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TDragMode : uint8_t { dmManual, dmAutomatic };
enum TDragKind : uint8_t { dkDrag, dkDock };
enum TDragState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
enum TBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
template <>
const EnumNames& EnumNamesOf<TMouseButton>();
template <>
const EnumNames& EnumNamesOf<TAlign>();
template <>
const EnumNames& EnumNamesOf<TAnchorKind>();
template <>
const EnumNames& EnumNamesOf<TAlignment>();
template <>
const EnumNames& EnumNamesOf<TBiDiMode>();
template <>
const EnumNames& EnumNamesOf<TDragMode>();
template <>
const EnumNames& EnumNamesOf<TDragKind>();
template <>
const EnumNames& EnumNamesOf<TBorderStyle>();

enum TControlStyleItem : uint8_t {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  // A left-button release inside the control after a press there calls Click (before MouseUp).
  csClickEvents,
  csFramed,
  // Renaming the control renames its caption while the two are equal.
  csSetCaption,
  // The control paints every pixel: the parent skips the area and nothing is erased under it.
  csOpaque,
  // Double clicks arrive as such; without it a second press is an ordinary press.
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  // The mouse and key events (OnMouseDown, OnKeyDown ...) are not raised.
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem, 32>;

enum TControlStateItem : uint8_t {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking
};
using TControlState = TSet<TControlStateItem, 16>;

// Cursors: the system's by negative number, the program's own (loaded into Screen->Cursors) by
// positive number.
using TCursor = int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;
// The type description that writes cursor properties by name ("crHandPoint").
const TTypeInfo& CursorTypeInfo();

// Positions and sizes of controls lie within +-MaxControlCoord: stored definitions outside it
// are refused (ControlCoordTypeInfo) and SetBounds cuts what code asks for, so that sums of a
// few coordinates never overflow.
constexpr int32_t MaxControlCoord = 1 << 24;
const TTypeInfo& ControlCoordTypeInfo();
// A coordinate computed in 64 bits, brought back within +-MaxControlCoord.
int32_t ClampControlCoord(int64_t Value);
// Moves each edge of Rect inwards by Inset (a border or bevel width), within those bounds.
void InsetControlRect(TRect& Rect, int64_t Inset);

// EInvalidOperation's text for focusing a control that cannot take the focus.
inline constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";

// What ShowModal and buttons answer; equal to the message-box answers IDOK ... IDNO.
using TModalResult = int32_t;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

// What CreateParams fills in for the window a TWinControl makes.
struct TCreateParams {
  AnsiString Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASS WindowClass;
  AnsiString WinClassName;
};

// The record CM_HINTSHOW carries: a control may change the text, place or colour, or refuse.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;  // screen
  int32_t HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;  // control coordinates; the hint goes when the mouse leaves it
  TPoint CursorPos;  // control coordinates
  int32_t ReshowTimeout = 0;
  int32_t HideTimeout = 0;
  AnsiString HintStr;
  void* HintData = nullptr;
};

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int32_t, int32_t>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int32_t, int32_t>;
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
// Key := #0 swallows the character.
using TKeyPressEvent = TEvent<TObject*, char&>;
using TMouseWheelEvent = TEvent<TObject*, TShiftState, int32_t, TPoint, bool&>;
using TMouseWheelUpDownEvent = TEvent<TObject*, TShiftState, TPoint, bool&>;
// Sender is the control under the mouse; Source the control being dragged.
using TDragOverEvent = TEvent<TObject*, TObject*, int32_t, int32_t, TDragState, bool&>;
using TDragDropEvent = TEvent<TObject*, TObject*, int32_t, int32_t>;
using TEndDragEvent = TEvent<TObject*, TObject*, int32_t, int32_t>;
using TStartDragEvent = TEvent<TObject*, TObject*&>;
using TContextPopupEvent = TEvent<TObject*, TPoint, bool&>;
using TCanResizeEvent = TEvent<TObject*, int32_t&, int32_t&, bool&>;

// ============================================================================ size constraints =

// Limits of a control's size; 0 means no limit.
class TSizeConstraints : public TPersistent {
  PL_CLASS(TSizeConstraints)
 public:
  explicit TSizeConstraints(TControl* Control) : control_(Control) {}
  void Assign(TPersistent* Source) override;
  int32_t GetMaxHeight() const { return maxHeight_; }
  void SetMaxHeight(int32_t Value);
  int32_t GetMaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int32_t Value);
  int32_t GetMinHeight() const { return minHeight_; }
  void SetMinHeight(int32_t Value);
  int32_t GetMinWidth() const { return minWidth_; }
  void SetMinWidth(int32_t Value);
  TControl* Control() const { return control_; }
  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  void Set(int32_t& field, int32_t value);
  TControl* control_;
  int32_t maxHeight_ = 0, maxWidth_ = 0, minHeight_ = 0, minWidth_ = 0;
};

// ============================================================================ control canvas ===

// A canvas that makes its device context from its control when drawing needs one outside a
// paint: the window's DC, or for a windowless control its parent's DC moved to the control's
// origin and clipped to it.  The DC is given back by FreeHandle (or when the program is idle).
class TControlCanvas : public TCanvas {
  PL_CLASS(TControlCanvas)
 public:
  TControlCanvas();
  ~TControlCanvas() override;
  TControl* GetControl() const { return control_; }
  void SetControl(TControl* Value);
  void FreeHandle();
  // Draws on DC (a paint's DC) until the handle is cleared.
  void BindPaintDC(HDC DC);

 protected:
  void CreateHandle() override;

 private:
  TControl* control_ = nullptr;
  HDC dc_ = nullptr;
  HWND window_ = nullptr;
};

// Gives back the device contexts control canvases made outside painting.
void FreeDeviceContexts();

// ============================================================================ TControl ========

// The base of every visual component: bounds in its parent, visibility and enabling, text,
// colour and font, mouse input and repaint requests.  It has no window of its own.
class TControl : public TComponent {
  PL_CLASS(TControl)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // ---- bounds (parent client coordinates) -----------------------------------------------------
  int32_t GetLeft() const { return left_; }
  void SetLeft(int32_t Value) { SetBounds(Value, top_, width_, height_); }
  int32_t GetTop() const { return top_; }
  void SetTop(int32_t Value) { SetBounds(left_, Value, width_, height_); }
  int32_t GetWidth() const { return width_; }
  void SetWidth(int32_t Value) { SetBounds(left_, top_, Value, height_); }
  int32_t GetHeight() const { return height_; }
  void SetHeight(int32_t Value) { SetBounds(left_, top_, width_, Value); }
  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  TRect GetBoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // Applies the constraints, moves the window, realigns the parent and raises OnResize when
  // the size changed.  Unchanged bounds do nothing.
  virtual void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight);
  // (0, 0, client width, client height).
  virtual TRect GetClientRect();
  TRect ClientRect() { return GetClientRect(); }
  int32_t GetClientWidth() { return GetClientRect().Width(); }
  void SetClientWidth(int32_t Value);
  int32_t GetClientHeight() { return GetClientRect().Height(); }
  void SetClientHeight(int32_t Value);
  // The client area's top-left corner on the screen.
  virtual TPoint GetClientOrigin();
  TPoint ClientOrigin() { return GetClientOrigin(); }
  TPoint ClientToScreen(TPoint Point);
  TPoint ScreenToClient(TPoint Point);
  TAlign GetAlign() const { return align_; }
  void SetAlign(TAlign Value);
  TAnchors GetAnchors() const { return anchors_; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* GetConstraints() const { return constraints_.get(); }
  void SetConstraints(TSizeConstraints* Value) { constraints_->Assign(Value); }
  bool GetAutoSize() const { return autoSize_; }
  virtual void SetAutoSize(bool Value);

  // ---- parent, visibility, enabling -------------------------------------------------------------
  TWinControl* GetParent() const { return parent_; }
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);
  bool GetVisible() const { return visible_; }
  virtual void SetVisible(bool Value);
  void Show();
  void Hide();
  // Visible with every parent up to a shown top-level window.
  virtual bool Showing() const;
  virtual bool GetEnabled() const { return enabled_; }
  virtual void SetEnabled(bool Value);
  bool Enabled() const { return GetEnabled(); }
  TControlStyle ControlStyle;
  TControlState ControlState;

  // ---- text, colour, font, hints, cursor ------------------------------------------------------------
  // The text goes through WM_GETTEXT / WM_SETTEXT (a window keeps its own); a change sends
  // CM_TEXTCHANGED.
  virtual AnsiString GetText();
  virtual void SetText(const AnsiString& Value);
  AnsiString GetCaption() { return GetText(); }
  void SetCaption(const AnsiString& Value) { SetText(Value); }
  TColor GetColor() const { return color_; }
  void SetColor(TColor Value);
  bool GetParentColor() const { return parentColor_; }
  void SetParentColor(bool Value);
  TFont* GetFont() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  bool GetParentFont() const { return parentFont_; }
  void SetParentFont(bool Value);
  const AnsiString& GetHint() const { return hint_; }
  void SetHint(const AnsiString& Value) { hint_ = Value; }
  bool GetShowHint() const { return showHint_; }
  void SetShowHint(bool Value);
  bool GetParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool Value);
  TCursor GetCursor() const { return cursor_; }
  void SetCursor(TCursor Value);
  int32_t GetHelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t Value) { helpContext_ = Value; }
  // The popup menu opened by a right click; the menus install the handler that opens it.
  TComponent* GetPopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TComponent* Value);
  // The action whose properties the control follows; ActionChange applies them.
  TComponent* GetAction() const { return action_; }
  void SetAction(TComponent* Value);
  TBiDiMode GetBiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode Value);
  bool GetParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool Value);
  bool IsRightToLeft() const { return biDiMode_ != bdLeftToRight; }
  bool UseRightToLeftAlignment() const { return biDiMode_ == bdRightToLeft; }
  bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }
  // DrawText flags with DT_RTLREADING (and mirrored alignment) added as the mode asks.
  int32_t DrawTextBiDiModeFlags(int32_t Flags) const;
  TDragMode GetDragMode() const { return dragMode_; }
  void SetDragMode(TDragMode Value) { dragMode_ = Value; }
  TDragKind GetDragKind() const { return dragKind_; }
  void SetDragKind(TDragKind Value) { dragKind_ = Value; }
  TCursor GetDragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor Value) { dragCursor_ = Value; }

  // ---- messages and painting -------------------------------------------------------------------------
  // The control's message handler, replaceable (hooks keep the old one and call it).
  TWndMethod WindowProc;
  // Handles the message now through WindowProc and answers its Result.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  virtual void Invalidate();
  // Paints what is invalid now.
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // ---- mouse --------------------------------------------------------------------------------------------
  bool GetMouseCapture() const;
  void SetMouseCapture(bool Value);
  // Fires OnClick; also called by code ("the Stop button is clicked").
  virtual void Click();
  virtual void DblClick();
  bool Dragging() const;
  // Starts dragging now, or once the mouse moved Threshold pixels (-1: the system's distance).
  void BeginDrag(bool Immediate, int32_t Threshold = -1);
  void EndDrag(bool Drop);

  // ---- component ------------------------------------------------------------------------------------------
  void Loaded() override;
  void SetName(const AnsiString& NewName) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TComponent* GetParentComponent() const override;
  bool HasParent() const override { return true; }
  void SetParentComponent(TComponent* Value) override;
  void ReadState(TReader* Reader) override;

  TNotifyEvent OnClick, OnDblClick, OnResize;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDrag;
  TContextPopupEvent OnContextPopup;
  TCanResizeEvent OnCanResize;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown, OnMouseWheelUp;

 protected:
  friend class TWinControl;
  friend class TControlCanvas;
  friend class TApplication;
  friend class TCustomForm;

  virtual void WndProc(TMessage& Message);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  virtual void MouseMove(TShiftState Shift, int32_t X, int32_t Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  // The wheel: OnMouseWheel, then DoMouseWheelDown / DoMouseWheelUp; true when handled.
  virtual bool DoMouseWheel(TShiftState Shift, int32_t WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  // Hands a wheel message to the form (which gives it to the focused control).
  virtual void MouseWheelHandler(TMessage& Message);
  virtual void Resize();
  virtual void Changed();
  virtual void AdjustSize();
  virtual bool CanAutoSize(int32_t& NewWidth, int32_t& NewHeight);
  virtual bool CanResize(int32_t& NewWidth, int32_t& NewHeight);
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  virtual void DoStartDrag(TObject*& DragObject);
  virtual void DoEndDrag(TObject* Target, int32_t X, int32_t Y);
  virtual void DragOver(TObject* Source, int32_t X, int32_t Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int32_t X, int32_t Y);
  // The DC a control canvas draws on outside painting; WindowHandle receives the window it
  // belongs to (for ReleaseDC).
  virtual HDC GetDeviceContext(HWND& WindowHandle);
  // Repaints the control's area in its parent (windowless controls).
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  void RequestAlign();
  void UpdateAnchorRules();
  // Applies constraints to a proposed size.
  void ConstrainedResize(int32_t& Width, int32_t& Height);
  virtual void VisibleChanging() {}
  virtual void ConstraintsChanged(TObject* Sender);
  void SendCancelMode();
  bool CheckNewSize(int32_t& NewWidth, int32_t& NewHeight);
  // The text without the message round trip.
  const AnsiString& TextField() const { return text_; }

  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TWinControl* parent_ = nullptr;

 private:
  void FontChanged(TObject* Sender);
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void ButtonDown(TMessage& Message, TMouseButton Button, bool Double);
  void ButtonUp(TMessage& Message, TMouseButton Button);
  void ParentColorChanged();
  void ParentFontChanged();
  void ParentShowHintChanged();
  void ParentBiDiModeChanged();
  void DragStep(TPoint Screen, bool Drop);
  void WMContextMenu(TMessage& Message);
  void MouseWheelMessage(TMessage& Message);

  bool visible_ = true;
  bool enabled_ = true;
  TAlign align_ = alNone;
  TAnchors anchors_{akLeft, akTop};
  std::unique_ptr<TSizeConstraints> constraints_;
  bool autoSize_ = false;
  AnsiString text_;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  AnsiString hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TCursor cursor_ = crDefault;
  int32_t helpContext_ = 0;
  TComponent* popupMenu_ = nullptr;
  TComponent* action_ = nullptr;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
  TDragMode dragMode_ = dmManual;
  TDragKind dragKind_ = dkDrag;
  TCursor dragCursor_ = crDrag;
  // Distances to the parent's client edges when the anchors were last taken, and the parent's
  // client size then.
  TRect anchorRules_;
  TSize anchorParentSize_;
  bool anchorsValid_ = false;
  bool inAnchorMove_ = false;
  int32_t wheelAccumulator_ = 0;
};

// ============================================================================ TWinControl =====

// A control with its own window.  The window is made when the control first shows (or when
// Handle is asked for) and made again, keeping its text, when its creation parameters change.
class TWinControl : public TControl {
  PL_CLASS(TWinControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // ---- window -------------------------------------------------------------------------------------
  // Makes the window (and its parents') on demand.  A control without parent or parent window
  // raises EInvalidOperation "Control 'X' has no parent window".
  HWND GetHandle();
  HWND Handle() { return GetHandle(); }
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();
  // A window of another kind to live in, for a control without a parent control.
  HWND GetParentWindow() const { return parentWindow_; }
  void SetParentWindow(HWND Value);
  // Destroys the window and makes it again when the control shows; the text is kept.
  void RecreateWnd();
  // The window procedure messages the control does not handle go to.
  WNDPROC DefWndProc = DefWindowProcA;
  bool Showing() const override { return showing_ && (!parent_ || parent_->Showing()); }
  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  TRect GetClientRect() override;
  TPoint GetClientOrigin() override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  AnsiString GetText() override;
  void SetText(const AnsiString& Value) override;

  // ---- children ---------------------------------------------------------------------------------------
  int32_t ControlCount() const { return int32_t(controls_.size() + winControls_.size()); }
  TControl* Controls(int32_t Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // Whether Control is this control or lies inside it.
  bool ContainsControl(TControl* Control) const;
  // The topmost child at Pos (client coordinates): windowless children only unless
  // AllowWinControls; nullptr when none.
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false);
  // Sends Message to every child until one answers non-zero.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int32_t Order) override;

  // ---- alignment ----------------------------------------------------------------------------------------
  void DisableAlign();
  void EnableAlign();
  bool AlignDisabled() const { return alignLevel_ != 0; }
  void Realign();
  // Places the aligned children inside Rect (the client rectangle less AdjustClientRect) and
  // moves the anchored ones; AControl is the child that just changed (nullptr: none).
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  // The part of the client area the children are aligned in.
  virtual void AdjustClientRect(TRect& Rect);
  int32_t GetBorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int32_t Value);

  // ---- focus and tab order ------------------------------------------------------------------------------
  // Visible and enabled up to its form (the form itself may still be hidden).
  virtual bool CanFocus();
  bool Focused();
  virtual void SetFocus();
  void SelectFirst();
  // Focuses the next (or previous) control after CurControl in tab order; with CheckTabStop
  // only tab stops, without it only children of this control (arrow keys).
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  // Every windowed control inside this one, depth first in tab order.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  int32_t GetTabOrder() const;
  void SetTabOrder(int32_t Value);
  bool GetTabStop() const { return tabStop_; }
  void SetTabStop(bool Value);
  bool GetCtl3D() const { return ctl3D_; }
  void SetCtl3D(bool Value);
  bool GetParentCtl3D() const { return parentCtl3D_; }
  void SetParentCtl3D(bool Value);
  // A brush of the control's colour (erasing).
  TBrush* GetBrush() const { return brush_.get(); }

  // ---- painting
  // --------------------------------------------------------------------------------------------- Draws the
  // control, its frame and its children into DC at (X, Y), window or not.
  void PaintTo(HDC DC, int32_t X, int32_t Y);
  // Paints the windowless children from First on (nullptr: all) onto DC.
  void PaintControls(HDC DC, TControl* First);
  // WM_PAINT: the window's own paint, then its windowless children, clipped to what is due.
  void PaintHandler(TMessage& Message);

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void Loaded() override;
  void ReadState(TReader* Reader) override;

  TNotifyEvent OnEnter, OnExit;
  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  friend class TControl;
  friend class TCustomForm;
  friend class TApplication;

  void WndProc(TMessage& Message) override;
  // Called by the window procedure; exceptions go to the application's handler.
  void MainWndProc(TMessage& Message);
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void CreateHandle();
  virtual void DestroyHandle();
  virtual void PaintWindow(HDC DC);
  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  // Key-message entries: the form's preview, then KeyDown/KeyUp/KeyPress; true when the key
  // was swallowed (Key set to 0).
  virtual bool DoKeyDown(TMessage& Message);
  virtual bool DoKeyUp(TMessage& Message);
  virtual bool DoKeyPress(TMessage& Message);
  // Whether the control takes the key as a menu shortcut (the form's OnShortCut).
  virtual bool IsMenuKey(TMessage& Message);
  void UpdateShowing();
  void UpdateControlState();
  HWND PrecedingWindow(TWinControl* Control) const;
  // Takes the focus away from this control (and what lies in it) before it hides or goes.
  void RemoveFocus(bool Removing);
  HDC GetDeviceContext(HWND& WindowHandle) override;
  void FixupTabList();
  // Aligns the children after AControl changed (nullptr: a general realignment).
  void AlignControl(TControl* AControl);

  HWND handle_ = nullptr;

 private:
  void UpdateBounds();
  // The form's preview through Entry, then Handler with the key.
  bool DoKey(TMessage& Message, bool (TWinControl::*Entry)(TMessage&),
             void (TWinControl::*Handler)(WORD&, TShiftState));
  void CNKeyDown(TMessage& Message);
  void CNChar(TMessage& Message);
  void CNSysChar(TMessage& Message);
  bool IsControlMouseMsg(TMessage& Message);
  void ControlsAligned(TRect& Rect, TControl* AControl);
  void AnchorControls();
  void WMSetCursor(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void WMSize(TMessage& Message);
  static LRESULT InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  std::vector<TControl*> controls_;        // windowless children, in paint order
  std::vector<TWinControl*> winControls_;  // windowed children, bottom of the z-order first
  std::vector<TWinControl*> tabList_;
  HWND parentWindow_ = nullptr;
  WNDPROC objectInstance_ = nullptr;
  bool showing_ = false;
  bool tabStop_ = false;
  int32_t pendingTabOrder_ = -1;
  bool ctl3D_ = true, parentCtl3D_ = true;
  int32_t alignLevel_ = 0;
  int32_t borderWidth_ = 0;
  std::unique_ptr<TBrush> brush_;
};

// ============================================================================ painted controls =

// A control without a window, painted by its parent: Canvas draws on the parent's DC at the
// control's origin, clipped to the control.
class TGraphicControl : public TControl {
  PL_CLASS(TGraphicControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* GetCanvas() const { return canvas_.get(); }
  TCanvas* Canvas() const { return canvas_.get(); }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

// A windowed control that paints itself: Paint runs on WM_PAINT with Canvas bound to the
// window's DC.
class TCustomControl : public TWinControl {
  PL_CLASS(TCustomControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* GetCanvas() const { return canvas_.get(); }
  TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

// ============================================================================ hint window =====

// The small popup that shows a hint: a topmost window without activation, in the info colours.
class THintWindow : public TCustomControl {
  PL_CLASS(THintWindow)
 public:
  explicit THintWindow(TComponent* AOwner);
  // Shows Hint in Rect (screen coordinates).
  virtual void ActivateHint(TRect Rect, const AnsiString& AHint);
  virtual void ActivateHintData(TRect Rect, const AnsiString& AHint, void* AData);
  // The size the hint needs, at most MaxWidth wide, as a rectangle at (0, 0).
  virtual TRect CalcHintRect(int32_t MaxWidth, const AnsiString& AHint, void* AData);
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
};

// ============================================================================ free functions ==

// The control that owns a window, or nullptr.
TWinControl* FindControl(HWND Handle);
// The control under a screen point (windowless ones included).
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
TWinControl* FindVCLWindow(TPoint Pos);
// The form a control sits on (its top-level parent when that is a form), or nullptr.
TCustomForm* GetParentForm(TControl* Control);
// As GetParentForm, raising EInvalidOperation "Control 'X' has no parent window" when none.
TCustomForm* ValidParentForm(TControl* Control);
// The control holding the mouse capture (windowless ones included), and taking it.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// Shift state of a key message: Shift and Ctrl from the keyboard state, Alt from the key data.
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState KeyboardStateToShiftState();
// Shift state of a mouse message's key flags (MK_*), with Alt from the keyboard state.
TShiftState KeysToShiftState(WORD Keys);
// Whether Str has VK as its accelerator ("&Open" has 'O'), letter case ignored.
bool IsAccel(WORD VK, const AnsiString& Str);
// Str without its accelerator marks ("&&" stays one "&").
AnsiString StripHotkey(const AnsiString& Str);
// The parts of a hint "short|long" (the whole text when there is no "|").
AnsiString GetShortHint(const AnsiString& Hint);
AnsiString GetLongHint(const AnsiString& Hint);

// Moves a DC's drawing origin so that (0, 0) lands on (DX, DY): a parent paints a child there.
void MoveWindowOrg(HDC DC, int32_t DX, int32_t DY);

// Opens a control's popup menu at a screen point; installed by the menus.  Returns true when
// the menu opened.
using TPopupMenuHandler = std::function<bool(TComponent* Menu, TControl* Control, TPoint Screen)>;
TPopupMenuHandler SetPopupMenuHandler(TPopupMenuHandler Handler);
