// Forms and the application: TCustomForm and TForm (top-level windows built from their stored
// definitions), TApplication (the message loop, exceptions, hints, the hidden application
// window), TScreen (the screen, the forms, cursors and fonts) and TMonitor.
//
// Thread contract: everything here belongs to the main (UI) thread.  The loops of TApplication
// and ShowModal also run the calls other threads queue with TThread::Synchronize, and the due
// window timers.
//
// Making a form: Application->CreateForm(Form_Main) or TCustomForm::Create<TForm_Main>(Owner)
// constructs the object, reads the definitions of its class and its ancestors, then runs
// OnCreate; TCustomForm::CreateNew<T>(Owner) does the same without a definition.  C++ cannot run
// a derived class's handlers from a base constructor or destructor, so reading waits for the
// object to be complete, and OnDestroy runs in Free (or Release) before the object goes.
//
// Sections: types / TScrollingWinControl / TCustomForm / TForm / TMonitor and TScreen /
// TApplication / TScrollBox.
#pragma once

#include <map>
#include <memory>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Lists.h"
#include "platform/ui/Controls.h"
#include "platform/ui/StdButtons.h"

class TMainMenu;

// ============================================================================ types ===========

enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon, 4>;
enum TPosition : uint8_t {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
enum TFormStateItem : uint8_t { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem, 8>;
using TFormBorderStyle = TBorderStyle;
template <>
const EnumNames& EnumNamesOf<TFormStyle>();
template <>
const EnumNames& EnumNamesOf<TBorderIcon>();
template <>
const EnumNames& EnumNamesOf<TPosition>();
template <>
const EnumNames& EnumNamesOf<TWindowState>();

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;
// A key going through the form before any control: Handled stops it there.
using TShortCutEvent = TEvent<TWMKey&, bool&>;
using TExceptionEvent = TEvent<TObject*, Exception*>;
using TIdleEvent = TEvent<TObject*, bool&>;
using TMessageEvent = TEvent<MSG&, bool&>;
using TShowHintEvent = TEvent<AnsiString&, bool&, THintInfo&>;

class TMonitor;
class TApplication;
class TScreen;

// ============================================================================ TScrollingWinControl

// A windowed control whose contents may scroll; here it keeps the AutoScroll setting.
class TScrollingWinControl : public TWinControl {
  PL_CLASS(TScrollingWinControl)
 public:
  explicit TScrollingWinControl(TComponent* AOwner);
  bool GetAutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool Value) { autoScroll_ = Value; }
  // Brings a control into view (the contents never scroll here).
  void ScrollInView(TControl*) {}

 private:
  bool autoScroll_ = false;
};

// ============================================================================ TCustomForm =====

// A top-level window of the program: its frame and state, its active control and the focus
// bookkeeping of its controls, dialog keys, showing (modally too) and closing.
class TCustomForm : public TScrollingWinControl {
  PL_CLASS(TCustomForm)
 public:
  // An empty form: no definition is read.  Use Create or CreateNew (or Application->CreateForm),
  // which finish the construction.
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Constructs a T, reads its stored definitions, runs OnCreate.  EResNotFound when a form
  // class of its own has no definition.
  template <class T>
  static T* Create(TComponent* AOwner) {
    return Finish(new T(AOwner), true);
  }
  template <class T>
  static T* CreateNew(TComponent* AOwner) {
    return Finish(new T(AOwner), false);
  }
  // Reads the definitions (when asked), runs OnCreate, shows the form when its definition made
  // it visible.  Called once, when the object is complete.
  void AfterConstruction(bool ReadDefinition = true);
  // OnDestroy and the hiding that go before the object; done once, by Free and Release.
  void BeforeDestruction();
  void Free();
  // Frees the form once the messages waiting now have been handled (from its own handlers).
  void Release();

  // ---- showing and closing ------------------------------------------------------------------------
  void SetVisible(bool Value) override;
  void Show();
  // Shows the form and runs messages until ModalResult is set; returns it.  Raises
  // EInvalidOperation "Cannot make a visible window modal" for a form already showing.
  virtual TModalResult ShowModal();
  // OnCloseQuery, OnClose, then the action (hide, minimise, free); a modal form only gets
  // ModalResult mrCancel; closing the main form ends the application.
  void Close();
  virtual bool CloseQuery();
  TModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult Value) { modalResult_ = Value; }
  TFormState FormState() const { return formState_; }
  bool Active() const { return active_; }

  // ---- appearance ---------------------------------------------------------------------------------
  TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons GetBorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons Value);
  TFormStyle GetFormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle Value);
  TPosition GetPosition() const { return position_; }
  void SetPosition(TPosition Value) { position_ = Value; }
  TWindowState GetWindowState() const { return windowState_; }
  void SetWindowState(TWindowState Value);
  bool GetKeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool Value) { keyPreview_ = Value; }
  TIcon* GetIcon() const { return icon_.get(); }
  void SetIcon(TIcon* Value) { icon_->Assign(Value); }
  int32_t GetPixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int32_t Value) { pixelsPerInch_ = Value; }
  bool GetScaled() const { return scaled_; }
  void SetScaled(bool Value) { scaled_ = Value; }
  int32_t GetTextHeight() const { return textHeight_; }
  void SetTextHeight(int32_t Value) { textHeight_ = Value; }
  bool GetOldCreateOrder() const { return oldCreateOrder_; }
  void SetOldCreateOrder(bool Value) { oldCreateOrder_ = Value; }
  const AnsiString& GetHelpFile() const { return helpFile_; }
  void SetHelpFile(const AnsiString& Value) { helpFile_ = Value; }
  // While the definition is read, kept and applied once the frame is known.
  void SetClientWidth(int32_t Value);
  void SetClientHeight(int32_t Value);
  int32_t GetClientWidth() { return TControl::GetClientWidth(); }
  int32_t GetClientHeight() { return TControl::GetClientHeight(); }
  TCanvas* GetCanvas() const { return canvas_.get(); }
  TCanvas* Canvas() const { return canvas_.get(); }
  TMonitor* Monitor() const;
  // MDI is not used on this platform: no client window and no children.
  HWND ClientHandle() const { return nullptr; }
  int32_t MDIChildCount() const { return 0; }
  TCustomForm* MDIChildren(int32_t) const { return nullptr; }

  // ---- focus ----------------------------------------------------------------------------------------
  TWinControl* GetActiveControl() const { return activeControl_; }
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" for a control that
  // cannot take the focus.
  void SetActiveControl(TWinControl* Control);
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetFocus() override;
  void FocusControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  // Moves the focus bookkeeping to Control: CM_EXIT up to the common parent, CM_ENTER down to
  // Control, then CM_FOCUSCHANGED to the form.  False when a handler moved the focus meanwhile.
  virtual bool SetFocusedControl(TWinControl* Control);
  // The menu bar.
  TMainMenu* GetMenu() const { return menu_; }
  void SetMenu(TMainMenu* Value);
  // OnShortCut, then the menu bar's and the action lists' shortcuts; true when the key was taken.
  virtual bool IsShortCut(TMessage& Message);
  // Ends a drop-down or capture of the active control when another control is pressed.
  void SendCancelMode(TControl* Sender);
  void MouseWheelHandler(TMessage& Message) override;

  void Dispatch(TMessage& Message) override;
  void Loaded() override;
  void ReadState(TReader* Reader) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnActivate, OnCreate, OnDeactivate, OnDestroy, OnHide, OnPaint, OnShow;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

 protected:
  friend class TApplication;
  friend class TWinControl;

  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();
  virtual void ActiveChanged() {}
  void SetActive(bool Value);
  void SetWindowFocus();
  void CloseModal();

 private:
  template <class T>
  static T* Finish(T* form, bool readDefinition) {
    try {
      form->AfterConstruction(readDefinition);
    } catch (...) {
      form->Free();
      throw;
    }
    return form;
  }
  void ShowingChanged();
  void PlaceForShow();
  void DialogKey(TMessage& Message);

  TFormState formState_;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TMainMenu* menu_ = nullptr;
  TFormStyle formStyle_ = fsNormal;
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  bool active_ = false;
  bool destroyDone_ = false;
  bool constructed_ = false;
  bool recreating_ = false;
  TModalResult modalResult_ = mrNone;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  std::unique_ptr<TIcon> icon_;
  std::unique_ptr<TControlCanvas> canvas_;
  int32_t pixelsPerInch_ = 96;
  bool scaled_ = true;
  int32_t textHeight_ = 13;
  bool oldCreateOrder_ = false;
  AnsiString helpFile_;
  int32_t pendingClientWidth_ = 0, pendingClientHeight_ = 0;
};

// ============================================================================ TForm ===========

// The form class the program's windows derive from.
class TForm : public TCustomForm {
  PL_CLASS(TForm)
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// ============================================================================ TMonitor and TScreen

// A display of the desktop; here there is one.
class TMonitor : public TObject {
  PL_CLASS(TMonitor)
 public:
  int32_t MonitorNum() const { return 0; }
  bool Primary() const { return true; }
  TRect BoundsRect() const;
  TRect WorkareaRect() const;
  int32_t Left() const { return BoundsRect().Left; }
  int32_t Top() const { return BoundsRect().Top; }
  int32_t Width() const { return BoundsRect().Width(); }
  int32_t Height() const { return BoundsRect().Height(); }
};

// What the program sees of the desktop: its size and work area, the forms, the active form and
// control, the cursors and the fonts.
class TScreen : public TComponent {
  PL_CLASS(TScreen)
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  int32_t Width() const;
  int32_t Height() const;
  int32_t PixelsPerInch() const { return 96; }
  TRect WorkAreaRect() const;
  int32_t WorkAreaLeft() const { return WorkAreaRect().Left; }
  int32_t WorkAreaTop() const { return WorkAreaRect().Top; }
  int32_t WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int32_t WorkAreaHeight() const { return WorkAreaRect().Height(); }
  int32_t MonitorCount() const { return 1; }
  TMonitor* Monitors(int32_t Index) const;
  TMonitor* MonitorFromWindow(HWND) const { return monitor_.get(); }
  TMonitor* MonitorFromPoint(TPoint) const { return monitor_.get(); }

  // Every form, in creation order, from the moment its construction begins (a form whose
  // definition is being read is there).
  int32_t CustomFormCount() const { return int32_t(customForms_.size()); }
  TCustomForm* CustomForms(int32_t Index) const;
  int32_t FormCount() const;
  TForm* Forms(int32_t Index) const;
  TCustomForm* ActiveCustomForm() const { return activeCustomForm_; }
  TForm* ActiveForm() const;
  TWinControl* ActiveControl() const { return activeControl_; }
  TCustomForm* FocusedForm() const { return focusedForm_; }

  // crDefault lets every control show its own; another value shows everywhere at once.
  TCursor GetCursor() const { return cursor_; }
  void SetCursor(TCursor Value);
  // The cursor of a cursor number: system cursors by their negative numbers, the program's
  // own as set; crDefault and unknown numbers give the arrow.
  HCURSOR Cursors(int32_t Index) const;
  void SetCursors(int32_t Index, HCURSOR Handle);
  // The installed font families, sorted.
  TStrings* Fonts();
  TFont* GetHintFont() const { return hintFont_.get(); }
  TFont* GetIconFont() const { return iconFont_.get(); }
  TFont* GetMenuFont() const { return menuFont_.get(); }
  // A device context of the screen for measuring and as the reference of metafiles.
  HDC ReferenceDC();

  TNotifyEvent OnActiveControlChange, OnActiveFormChange;

 private:
  friend class TCustomForm;
  friend class TApplication;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetFocusedForm(TCustomForm* Form);
  void SetActiveControl(TWinControl* Control, TCustomForm* Form);
  void Forget(TControl* Control);

  std::vector<TCustomForm*> customForms_;
  TCustomForm* activeCustomForm_ = nullptr;
  TCustomForm* focusedForm_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  TCursor cursor_ = crDefault;
  std::map<int32_t, HCURSOR> cursors_;
  std::unique_ptr<TStringList> fonts_;
  std::unique_ptr<TFont> hintFont_, iconFont_, menuFont_;
  std::unique_ptr<TMonitor> monitor_;
  HDC referenceDC_ = nullptr;
};

// ============================================================================ TApplication ====

// The program: its message loop, main form, hidden window, title, hints and the handling of
// exceptions no caller took.
class TApplication : public TComponent {
  PL_CLASS(TApplication)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Sets the application's exception handler in place of the default (standard error).
  void Initialize();
  // Constructs a form owned by the application (Reference is set before its definition is
  // read); the first TForm made becomes the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    T* form = new T(this);
    Reference = form;
    try {
      form->AfterConstruction(true);
    } catch (...) {
      Reference = nullptr;
      form->Free();
      throw;
    }
    AdoptMainForm(form);
  }
  // Shows the main form and runs the message loop until the application is terminated.
  void Run();
  // Handles every waiting message (timers that are due and calls queued by other threads
  // included), then returns.
  void ProcessMessages();
  // Handles one message, or idles (waiting for the next) when there is none.
  void HandleMessage();
  bool ProcessMessage(MSG& Msg);
  // Ends Run (and any modal loop) once the current message is done.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Tests: a new run after a terminated one.
  void ClearTerminated() { terminated_ = false; }

  // The exception being handled (or E) goes to OnException, else to a message box with the
  // application's title; EAbort is silent.
  void HandleException(TObject* Sender);
  void HandleException(TObject* Sender, std::exception_ptr E);
  void ShowException(Exception* E);
  // A message box owned by the active form.
  int32_t MessageBox(const AnsiString& Text, const AnsiString& Caption, int32_t Flags);

  void Minimize();
  void Restore();
  bool IsMinimized() const { return minimized_; }

  // The hidden application window (owner of the forms), made on demand.
  HWND GetHandle();
  HWND Handle() { return GetHandle(); }
  TCustomForm* MainForm() const { return mainForm_; }
  bool Active() const { return active_; }
  const AnsiString& GetTitle() const;
  void SetTitle(const AnsiString& Value);
  AnsiString ExeName() const;
  const AnsiString& GetHelpFile() const { return helpFile_; }
  void SetHelpFile(const AnsiString& Value) { helpFile_ = Value; }
  TIcon* GetIcon() const { return icon_.get(); }
  void SetIcon(TIcon* Value) { icon_->Assign(Value); }
  bool GetShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool Value) { showMainForm_ = Value; }

  // ---- hints ---------------------------------------------------------------------------------------
  // The long hint of the control under the mouse (OnHint on a change).
  const AnsiString& GetHint() const { return hint_; }
  void SetHint(const AnsiString& Value);
  bool GetShowHint() const { return showHint_; }
  void SetShowHint(bool Value);
  TColor HintColor = clInfoBk;
  // Milliseconds before a hint shows, before it goes, and between hints of neighbours.
  int32_t HintPause = 500;
  int32_t HintHidePause = 2500;
  int32_t HintShortPause = 50;
  // Makes the hint window (THintWindow unless replaced).
  std::function<THintWindow*(TComponent* Owner)> HintWindowClass;
  // The mouse moved over Control: starts or restarts the hint timer.
  void HintMouseMessage(TControl* Control, TMessage& Message);
  void ActivateHint(TPoint CursorPos);
  void CancelHint();
  void HideHint();
  THintWindow* HintWindow() const { return hintWindow_; }

  // A control is going: forget it wherever it is remembered.
  void ControlDestroyed(TControl* Control);

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TNotifyEvent OnHint, OnActivate, OnDeactivate, OnMinimize, OnRestore;
  TShortCutEvent OnShortCut;
  TShowHintEvent OnShowHint;

 private:
  void AdoptMainForm(TCustomForm* Form);
  void Idle(const MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  bool IsHintMsg(const MSG& Msg);
  void DoMouseIdle();
  void WndProc(TMessage& Message);
  void StartHintTimer(int32_t Delay);
  void StopHintTimer();
  void HintTimerExpired();

  HWND handle_ = nullptr;
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool active_ = false;
  bool minimized_ = false;
  bool showMainForm_ = true;
  bool handlerInstalled_ = false;
  mutable AnsiString title_;
  mutable bool titleSet_ = false;
  AnsiString helpFile_;
  std::unique_ptr<TIcon> icon_;
  std::vector<TCustomForm*> hiddenByMinimize_;
  // Hints.
  AnsiString hint_;
  bool showHint_ = true;
  TControl* mouseControl_ = nullptr;
  TControl* hintControl_ = nullptr;
  THintWindow* hintWindow_ = nullptr;
  bool hintShown_ = false;
  bool hintTimerRunning_ = false;
  TRect hintCursorRect_;  // screen
};

// The application and the screen, made when the program starts.
extern TApplication* Application;
extern TScreen* Screen;

// ============================================================================ TScrollBox ======

class TScrollBox;

// One scroll bar of a scroll box: the window's own bar, shown while Range exceeds the client
// size.  Position is how far the contents have moved.
class TControlScrollBar : public TPersistent {
  PL_CLASS(TControlScrollBar)
 public:
  TControlScrollBar(TScrollBox* Control, TScrollBarKind Kind) : control_(Control), kind_(Kind) {}
  void Assign(TPersistent* Source) override;
  TScrollBarKind Kind() const { return kind_; }
  int32_t GetIncrement() const { return increment_; }
  void SetIncrement(int32_t Value) { increment_ = std::max(Value, 1); }
  int32_t GetMargin() const { return margin_; }
  void SetMargin(int32_t Value);
  int32_t GetPosition() const { return position_; }
  void SetPosition(int32_t Value);
  // The size of the contents; with AutoScroll the box computes it from its children.
  int32_t GetRange() const { return range_; }
  void SetRange(int32_t Value);
  bool GetVisible() const { return visible_; }
  void SetVisible(bool Value);
  bool GetTracking() const { return tracking_; }
  void SetTracking(bool Value) { tracking_ = Value; }
  // Whether the bar shows now.
  bool IsScrollBarVisible() const;

 private:
  friend class TScrollBox;
  int32_t ClientSize() const;
  void Update();
  void ScrollMessage(WORD Code, int32_t TrackPos);
  TScrollBox* control_;
  TScrollBarKind kind_;
  int32_t increment_ = 8, margin_ = 0, position_ = 0, range_ = 0;
  bool visible_ = true, tracking_ = false;
  bool showing_ = false;
};

// A bordered area whose children scroll under its two scroll bars.
class TScrollBox : public TScrollingWinControl {
  PL_CLASS(TScrollBox)
 public:
  explicit TScrollBox(TComponent* AOwner);
  ~TScrollBox() override;
  TControlScrollBar* GetHorzScrollBar() const { return horz_.get(); }
  void SetHorzScrollBar(TControlScrollBar* Value) { horz_->Assign(Value); }
  TControlScrollBar* GetVertScrollBar() const { return vert_.get(); }
  void SetVertScrollBar(TControlScrollBar* Value) { vert_->Assign(Value); }
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  // Moves every child by (DeltaX, DeltaY).
  void ScrollBy(int32_t DeltaX, int32_t DeltaY);
  // Scrolls so that AControl lies inside the client area.
  void ScrollInView(TControl* AControl);
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  friend class TControlScrollBar;
  void UpdateScrollBars();
  std::unique_ptr<TControlScrollBar> horz_, vert_;
  TBorderStyle borderStyle_ = bsSingle;
  bool updatingBars_ = false;
};
