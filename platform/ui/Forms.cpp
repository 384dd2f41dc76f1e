// Forms, the screen and the application.
//
// Sections: published types / TScrollingWinControl / TCustomForm: life / TCustomForm: showing
// and closing / TCustomForm: focus and keys / TCustomForm: messages / TMonitor and TScreen /
// TApplication: life and loop / TApplication: exceptions and boxes / TApplication: hints /
// TApplication: window.
#include "platform/ui/Forms.h"

#include <unistd.h>

#include <algorithm>
#include <climits>

#include "platform/runtime/Files.h"
#include "platform/runtime/FormText.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// The application and the screen exist from the start, as the framework's do.  Nothing here
// touches the window manager: the application window is made on first use.
struct TFormsGlobals {
  TFormsGlobals() {
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
  }
} g_formsGlobals;

constexpr UINT_PTR kHintTimer = 1;

AnsiString ListIndexError(int32_t index) { return "List index out of bounds (" + IntToStr(index) + ")"; }

bool FormIconStored(TCustomForm* f) { return !f->GetIcon()->Empty(); }

}  // namespace

// ============================================================================ published types =

PL_ENUM_NAMES(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")
PL_ENUM_NAMES(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
PL_ENUM_NAMES(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
              "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
PL_ENUM_NAMES(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")

const TClassInfo& TScrollingWinControl::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TScrollingWinControl, TWinControl>("TScrollingWinControl")
          .Prop("AutoScroll", &TScrollingWinControl::GetAutoScroll, &TScrollingWinControl::SetAutoScroll)
          .Default(true);
  return info;
}

const TClassInfo& TCustomForm::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCustomForm, TScrollingWinControl>("TCustomForm")
          // A form has no parent and starts hidden.
          .Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor)
          .Default(false)
          .Prop("ParentFont", &TControl::GetParentFont, &TControl::SetParentFont)
          .Default(false)
          .Prop("Visible", &TControl::GetVisible, &TControl::SetVisible)
          .Default(false)
          .Object("ActiveControl", &TCustomForm::GetActiveControl, &TCustomForm::SetActiveControl)
          .Prop("BorderIcons", &TCustomForm::GetBorderIcons, &TCustomForm::SetBorderIcons)
          .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize})
          .Prop("BorderStyle", &TCustomForm::GetBorderStyle, &TCustomForm::SetBorderStyle)
          .Default(bsSizeable)
          .Prop("ClientHeight", &TCustomForm::GetClientHeight, &TCustomForm::SetClientHeight)
          .Type(ControlCoordTypeInfo())
          .Prop("ClientWidth", &TCustomForm::GetClientWidth, &TCustomForm::SetClientWidth)
          .Type(ControlCoordTypeInfo())
          .Prop("FormStyle", &TCustomForm::GetFormStyle, &TCustomForm::SetFormStyle)
          .Default(fsNormal)
          .Prop("HelpFile", &TCustomForm::GetHelpFile, &TCustomForm::SetHelpFile)
          .Object("Icon", &TCustomForm::GetIcon, &TCustomForm::SetIcon)
          .Stored(&FormIconStored)
          .Prop("KeyPreview", &TCustomForm::GetKeyPreview, &TCustomForm::SetKeyPreview)
          .Default(false)
          .Object("Menu", &TCustomForm::GetMenu, &TCustomForm::SetMenu)
          .Prop("OldCreateOrder", &TCustomForm::GetOldCreateOrder, &TCustomForm::SetOldCreateOrder)
          .Prop("PixelsPerInch", &TCustomForm::GetPixelsPerInch, &TCustomForm::SetPixelsPerInch)
          .Prop("Position", &TCustomForm::GetPosition, &TCustomForm::SetPosition)
          .Default(poDesigned)
          .Prop("Scaled", &TCustomForm::GetScaled, &TCustomForm::SetScaled)
          .Default(true)
          .Prop("TextHeight", &TCustomForm::GetTextHeight, &TCustomForm::SetTextHeight)
          .Prop("WindowState", &TCustomForm::GetWindowState, &TCustomForm::SetWindowState)
          .Default(wsNormal)
          .Event("OnActivate", &TCustomForm::OnActivate)
          .Event("OnClose", &TCustomForm::OnClose)
          .Event("OnCloseQuery", &TCustomForm::OnCloseQuery)
          .Event("OnCreate", &TCustomForm::OnCreate)
          .Event("OnDeactivate", &TCustomForm::OnDeactivate)
          .Event("OnDestroy", &TCustomForm::OnDestroy)
          .Event("OnHide", &TCustomForm::OnHide)
          .Event("OnPaint", &TCustomForm::OnPaint)
          .Event("OnShortCut", &TCustomForm::OnShortCut)
          .Event("OnShow", &TCustomForm::OnShow);
  return info;
}

const TClassInfo& TForm::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TForm, TCustomForm>("TForm");
  return info;
}

namespace {
// A definition read without an instance names its root's class: a plain form too.
struct TFormsRegistration {
  TFormsRegistration() { RegisterClasses({&TForm::ClassInfo()}); }
} g_formsRegistration;
}  // namespace

const TClassInfo& TMonitor::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TMonitor, TObject>("TMonitor");
  return info;
}

const TClassInfo& TScreen::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TScreen, TComponent>("TScreen");
  return info;
}

const TClassInfo& TApplication::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TApplication, TComponent>("TApplication");
  return info;
}

// ============================================================================ TScrollingWinControl

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle.Include(csAcceptsControls);
  autoScroll_ = true;
}

// ============================================================================ TCustomForm: life

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  icon_ = std::make_unique<TIcon>();
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
  SetColor(clBtnFace);
  SetParentFont(false);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (!destroyDone_) {
    // Deleted without Free: the handlers of a derived class are gone with it; others still run.
    destroyDone_ = true;
    Destroying();
    if (OnDestroy && OnDestroy.Data() != this) DoDestroy();
  }
  // Forms owned by this one get their last events while they are still whole.
  for (int32_t i = 0; i < ComponentCount(); ++i)
    if (auto* f = dynamic_cast<TCustomForm*>(Components(i))) f->BeforeDestruction();
  if (Screen) Screen->RemoveForm(this);
  if (Application) Application->ControlDestroyed(this);
  canvas_->SetControl(nullptr);
  if (handle_) DestroyWindowHandle();
}

void TCustomForm::AfterConstruction(bool ReadDefinition) {
  if (constructed_) return;
  constructed_ = true;
  formState_.Include(fsCreating);
  try {
    const TClassInfo& cls = ClassType();
    if (ReadDefinition && &cls != &TForm::ClassInfo() && &cls != &TCustomForm::ClassInfo())
      if (!InitInheritedComponent(this, TForm::ClassInfo()))
        throw EResNotFound("Resource " + ClassName() + " not found");
  } catch (...) {
    formState_.Exclude(fsCreating);
    throw;
  }
  formState_.Exclude(fsCreating);
  DoCreate();
  if (formState_.Contains(fsVisible)) {
    formState_.Exclude(fsVisible);
    SetVisible(true);
  }
}

void TCustomForm::BeforeDestruction() {
  if (destroyDone_) return;
  destroyDone_ = true;
  if (formStyle_ != fsMDIChild && GetVisible()) {
    try {
      Hide();
    } catch (...) {
      ApplicationHandleException(this);
    }
  }
  Destroying();
  DoDestroy();
}

void TCustomForm::Free() {
  BeforeDestruction();
  delete this;
}

void TCustomForm::Release() { PostMessageA(GetHandle(), CM_RELEASE, 0, 0); }

void TCustomForm::DoCreate() {
  try {
    OnCreate(this);
  } catch (...) {
    ApplicationHandleException(this);
  }
}

void TCustomForm::DoDestroy() {
  try {
    OnDestroy(this);
  } catch (...) {
    ApplicationHandleException(this);
  }
}

namespace {
// A definition made at another resolution: the positions, sizes and own fonts of the controls
// below scale by M / D, each right and bottom edge with its left and top.
// In 64 bits, halves away from zero, within the coordinates a control may have.
int32_t FormScaled(int64_t v, int32_t M, int32_t D) {
  int64_t p = v * M;
  return ClampControlCoord((p >= 0 ? p + D / 2 : p - D / 2) / D);
}

void FormScaleChildren(TWinControl* parent, int32_t M, int32_t D) {
  for (int32_t i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    int32_t l = FormScaled(c->Left(), M, D), t = FormScaled(c->Top(), M, D);
    c->SetBounds(l, t, FormScaled(int64_t(c->Left()) + c->Width(), M, D) - l,
                 FormScaled(int64_t(c->Top()) + c->Height(), M, D) - t);
    if (!c->GetParentFont()) c->GetFont()->SetHeight(FormScaled(c->GetFont()->GetHeight(), M, D));
    if (auto* w = dynamic_cast<TWinControl*>(c)) FormScaleChildren(w, M, D);
  }
}
}  // namespace

void TCustomForm::ReadState(TReader* Reader) {
  pendingClientWidth_ = pendingClientHeight_ = 0;
  TScrollingWinControl::ReadState(Reader);
  int32_t w = std::exchange(pendingClientWidth_, 0), h = std::exchange(pendingClientHeight_, 0);
  const int32_t screen = Screen ? Screen->PixelsPerInch() : 96;
  if (scaled_ && pixelsPerInch_ > 0 && pixelsPerInch_ != screen) {
    const int32_t M = screen, D = pixelsPerInch_;
    DisableAlign();
    try {
      FormScaleChildren(this, M, D);
      if (!GetParentFont()) GetFont()->SetHeight(FormScaled(GetFont()->GetHeight(), M, D));
      SetBounds(Left(), Top(), FormScaled(Width(), M, D), FormScaled(Height(), M, D));
      w = FormScaled(w, M, D);
      h = FormScaled(h, M, D);
      textHeight_ = FormScaled(textHeight_, M, D);
    } catch (...) {
      EnableAlign();
      throw;
    }
    EnableAlign();
    pixelsPerInch_ = screen;
  }
  if (w > 0) TControl::SetClientWidth(w);
  if (h > 0) TControl::SetClientHeight(h);
}

void TCustomForm::SetClientWidth(int32_t Value) {
  if (ControlState.Contains(csReadingState))
    pendingClientWidth_ = Value;
  else
    TControl::SetClientWidth(Value);
}

void TCustomForm::SetClientHeight(int32_t Value) {
  if (ControlState.Contains(csReadingState))
    pendingClientHeight_ = Value;
  else
    TControl::SetClientHeight(Value);
}

void TCustomForm::Loaded() {
  TScrollingWinControl::Loaded();
  if (TWinControl* c = std::exchange(activeControl_, nullptr))
    if (c->CanFocus()) SetActiveControl(c);
}

void TCustomForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (int32_t i = 0; i < ComponentCount(); ++i)
    if (!Components(i)->HasParent()) Proc(Components(i));
  TScrollingWinControl::GetChildren(Proc, Root);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TScrollingWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == activeControl_) activeControl_ = nullptr;
  if (AComponent == focusedControl_) focusedControl_ = nullptr;
  if (AComponent == menu_) menu_ = nullptr;
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (menu_ == Value) return;
  if (menu_) {
    menu_->SetWindowHandle(nullptr);
    menu_->RemoveFreeNotification(this);
  }
  menu_ = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  if (handle_) Value->SetWindowHandle(handle_);
}

void TCustomForm::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  if (!menu_) return;
  // The bar comes out of the window's height: the client area keeps its size.
  int32_t clientHeight = GetClientHeight();
  menu_->SetWindowHandle(nullptr);
  menu_->SetWindowHandle(handle_);
  TControl::SetClientHeight(clientHeight);
}

TMonitor* TCustomForm::Monitor() const { return Screen ? Screen->Monitors(0) : nullptr; }

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  if (!ComponentState().Contains(csLoading)) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (borderIcons_ == Value) return;
  borderIcons_ = Value;
  if (!ComponentState().Contains(csLoading)) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (formStyle_ == Value) return;
  formStyle_ = Value;
  if (ComponentState().Contains(csLoading) || !handle_) return;
  SetWindowPos(handle_, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

namespace {
int FormShowCommand(TWindowState s) {
  return s == wsMaximized ? SW_SHOWMAXIMIZED : s == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
}
}  // namespace

void TCustomForm::SetWindowState(TWindowState Value) {
  if (windowState_ == Value) return;
  windowState_ = Value;
  if (!ComponentState().Contains(csDesigning) && handle_ && Showing())
    ShowWindow(handle_, FormShowCommand(Value));
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  Params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
  Params.WndParent = Application ? Application->GetHandle() : nullptr;
  TBorderIcons icons = borderIcons_;
  switch (borderStyle_) {
    case bsNone:
      Params.Style |= WS_POPUP;
      icons = {};
      break;
    case bsSingle:
    case bsToolWindow:
      Params.Style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION;
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      icons = icons * TBorderIcons{biSystemMenu, biHelp};
      break;
  }
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) {
    Params.ExStyle |= WS_EX_TOOLWINDOW;
    icons = icons * TBorderIcons{biSystemMenu};
  }
  if (icons.Contains(biSystemMenu)) Params.Style |= WS_SYSMENU;
  if (icons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
  if (icons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
  if (icons.Contains(biHelp) && !icons.Contains(biMinimize) && !icons.Contains(biMaximize))
    Params.ExStyle |= WS_EX_CONTEXTHELP;
  if (formStyle_ == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::PaintWindow(HDC DC) {
  canvas_->Lock();
  canvas_->BindPaintDC(DC);
  struct TRestore {
    TControlCanvas* c;
    ~TRestore() {
      c->SetHandle(nullptr);
      c->Unlock();
    }
  } restore{canvas_.get()};
  Paint();
}

void TCustomForm::Paint() {
  if (!ComponentState().Contains(csDestroying)) OnPaint(this);
}

// ============================================================================ TCustomForm: showing and
// closing

void TCustomForm::SetVisible(bool Value) {
  if (formState_.Contains(fsCreating)) {
    if (Value)
      formState_.Include(fsVisible);
    else
      formState_.Exclude(fsVisible);
    return;
  }
  if (GetVisible() == Value) return;
  if (formState_.Contains(fsShowing)) throw EInvalidOperation("Cannot change Visible in OnShow or OnHide");
  TScrollingWinControl::SetVisible(Value);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (handle_ && !IsIconic(handle_)) SetForegroundWindow(handle_);
}

void TCustomForm::PlaceForShow() {
  if (windowState_ != wsNormal || !Screen) return;
  auto centre = [&](TRect area) {
    SetBounds(std::max(area.Left, area.Left + (area.Width() - width_) / 2),
              std::max(area.Top, area.Top + (area.Height() - height_) / 2), width_, height_);
  };
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
      centre(Rect(0, 0, Screen->Width(), Screen->Height()));
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* ref = position_ == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
      if (!ref && Application) ref = Application->MainForm();
      if (ref && ref != this && ref->GetVisible())
        centre(ref->GetBoundsRect());
      else
        centre(Rect(0, 0, Screen->Width(), Screen->Height()));
      break;
    }
    default:
      break;
  }
}

void TCustomForm::ShowingChanged() {
  if (!handle_) return;
  formState_.Include(fsShowing);
  struct TClear {
    TFormState& s;
    ~TClear() { s.Exclude(fsShowing); }
  } clear{formState_};
  if (Showing()) {
    if (!recreating_) {
      try {
        DoShow();
      } catch (...) {
        ApplicationHandleException(this);
      }
      PlaceForShow();
    }
    ShowWindow(handle_, FormShowCommand(windowState_));
  } else {
    if (!recreating_) {
      try {
        DoHide();
      } catch (...) {
        ApplicationHandleException(this);
      }
    }
    ShowWindow(handle_, SW_HIDE);
  }
}

void TCustomForm::DoShow() {
  if (!ComponentState().Contains(csDestroying)) OnShow(this);
}

void TCustomForm::DoHide() {
  if (!ComponentState().Contains(csDestroying)) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) { OnClose(this, Action); }

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (!ComponentState().Contains(csDestroying)) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (formState_.Contains(fsModal)) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this)
    Application->Terminate();
  else if (action == caHide)
    Hide();
  else if (action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      DoClose(action);
    }
    if (action == caNone)
      modalResult_ = mrNone;
    else if (action == caFree)
      Release();
  } catch (...) {
    modalResult_ = mrNone;
    ApplicationHandleException(this);
  }
}

namespace {

// Disables every other enabled, visible top-level window of the thread while a modal form runs.
struct TTaskWindows {
  std::vector<HWND> Disabled;
  HWND Keep = nullptr;
  static BOOL Visit(HWND h, LPARAM p) {
    auto* self = reinterpret_cast<TTaskWindows*>(p);
    if (h != self->Keep && IsWindowVisible(h) && IsWindowEnabled(h)) {
      self->Disabled.push_back(h);
      EnableWindow(h, FALSE);
    }
    return TRUE;
  }
  explicit TTaskWindows(HWND keep) : Keep(keep) {
    EnumThreadWindows(GetCurrentThreadId(), &Visit, LPARAM(this));
  }
  ~TTaskWindows() {
    for (HWND h : Disabled)
      if (IsWindow(h)) EnableWindow(h, TRUE);
  }
};

}  // namespace

TModalResult TCustomForm::ShowModal() {
  if (GetVisible() || !GetEnabled() || formState_.Contains(fsModal) || formStyle_ == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  if (Application) Application->CancelHint();
  formState_.Include(fsModal);
  HWND activeWindow = GetActiveWindow();
  TModalResult result = mrNone;
  try {
    TTaskWindows disabled(GetHandle());
    Show();
    try {
      SendMessageA(handle_, CM_ACTIVATE, 0, 0);
      modalResult_ = mrNone;
      do {
        Application->HandleMessage();
        if (Application->Terminated())
          modalResult_ = mrCancel;
        else if (modalResult_ != mrNone)
          CloseModal();
      } while (modalResult_ == mrNone);
      result = modalResult_;
      if (handle_) SendMessageA(handle_, CM_DEACTIVATE, 0, 0);
      if (GetActiveWindow() != handle_) activeWindow = nullptr;
    } catch (...) {
      Hide();
      throw;
    }
    Hide();
  } catch (...) {
    formState_.Exclude(fsModal);
    throw;
  }
  if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
  formState_.Exclude(fsModal);
  return result;
}

// ============================================================================ TCustomForm: focus and keys

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (activeControl_ == Control) return;
  if (Control && !(Control != this && GetParentForm(Control) == this &&
                   (ComponentState().Contains(csLoading) || Control->CanFocus())))
    throw EInvalidOperation(SCannotFocus);
  activeControl_ = Control;
  if (ComponentState().Contains(csLoading)) return;
  if (active_) SetWindowFocus();
  ActiveChanged();
}

void TCustomForm::SetFocus() {
  if (active_) return;
  if (!GetVisible() || !GetEnabled()) throw EInvalidOperation(SCannotFocus);
  SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  HWND h = activeControl_ && activeControl_ != this ? activeControl_->GetHandle() : GetHandle();
  if (h && GetFocus() != h) ::SetFocus(h);
}

void TCustomForm::FocusControl(TWinControl* Control) {
  bool wasActive = active_;
  SetActiveControl(Control);
  if (!wasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && focusedControl_ && Control->ContainsControl(focusedControl_))
    focusedControl_ = Control->Parent();
  if (activeControl_ && Control->ContainsControl(activeControl_)) {
    if (ComponentState().Contains(csDestroying))
      activeControl_ = nullptr;
    else
      SetActiveControl(nullptr);
  }
}

namespace {
// Sends a focus message; false when its handler moved the focus elsewhere.
bool SendFocusMessage(HWND h, UINT msg) {
  HWND focus = GetFocus();
  if (h) SendMessageA(h, msg, 0, 0);
  return GetFocus() == focus;
}
}  // namespace

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (ComponentState().Contains(csDestroying)) return false;
  activeControl_ = Control != this ? Control : nullptr;
  if (Screen) Screen->SetActiveControl(Control, this);
  if (Control->ControlState.Contains(csFocusing)) return false;
  Control->ControlState.Include(csFocusing);
  struct TClear {
    TWinControl* c;
    ~TClear() { c->ControlState.Exclude(csFocusing); }
  } clear{Control};
  if (Screen && Screen->focusedForm_ != this) {
    if (TCustomForm* old = Screen->focusedForm_) {
      Screen->focusedForm_ = nullptr;
      if (!SendFocusMessage(old->handle_, CM_DEACTIVATE)) return false;
    }
    Screen->focusedForm_ = this;
    if (!SendFocusMessage(handle_, CM_ACTIVATE)) return false;
  }
  if (!focusedControl_) focusedControl_ = this;
  if (focusedControl_ != Control) {
    // Exits from the old control up to the first parent holding the new one, then enters from
    // there down to it.
    while (focusedControl_ && !focusedControl_->ContainsControl(Control)) {
      HWND h = focusedControl_->handle_;
      focusedControl_ = focusedControl_->Parent();
      if (!SendFocusMessage(h, CM_EXIT)) return false;
    }
    while (focusedControl_ != Control) {
      TWinControl* step = Control;
      while (step->Parent() != focusedControl_) step = step->Parent();
      focusedControl_ = step;
      if (!SendFocusMessage(step->handle_, CM_ENTER)) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  }
  return true;
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  TWMKey key = ToWMKey(Message);
  bool handled = false;
  OnShortCut(key, handled);
  if (!handled && menu_) handled = menu_->IsShortCut(Message);
  if (!handled) handled = IsActionListShortCut(this, Message);
  return handled;
}

void TCustomForm::SendCancelMode(TControl* Sender) {
  if (active_ && activeControl_ && activeControl_ != Sender)
    activeControl_->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

void TCustomForm::MouseWheelHandler(TMessage& Message) {
  TControl* target = focusedControl_ && focusedControl_ != this ? focusedControl_ : this;
  Message.Result = target->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TCustomForm::DialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (Message.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        // Arrows move among the focused control's siblings.
        if (activeControl_ && activeControl_->Parent()) {
          activeControl_->Parent()->SelectNext(
              activeControl_, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
          Message.Result = 1;
        }
        return;
      default:
        break;
    }
  }
  TScrollingWinControl::Dispatch(Message);
}

void TCustomForm::SetActive(bool Value) {
  active_ = Value;
  if (!Value || ComponentState().Contains(csDestroying)) return;
  if (!activeControl_ && !ComponentState().Contains(csDesigning))
    activeControl_ = FindNextControl(nullptr, true, true, false);
  SetWindowFocus();
}

void TCustomForm::Activate() {
  formState_.Include(fsActivated);
  if (!ComponentState().Contains(csDestroying)) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (!ComponentState().Contains(csDestroying)) OnDeactivate(this);
}

// ============================================================================ TCustomForm: messages

void TCustomForm::WndProc(TMessage& Message) {
  // The form passes the focus on to its active control.
  if (Message.Msg == WM_SETFOCUS && !ComponentState().Contains(csDestroying) &&
      !ComponentState().Contains(csDesigning) && activeControl_ && activeControl_ != this &&
      activeControl_->HandleAllocated()) {
    ::SetFocus(activeControl_->handle_);
    return;
  }
  TScrollingWinControl::WndProc(Message);
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      if (formStyle_ != fsMDIForm) SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
      return;
    case WM_CLOSE:
      Close();
      return;
    case WM_QUERYENDSESSION:
      Message.Result = CloseQuery() ? 1 : 0;
      return;
    case WM_SIZE:
      if (Message.WParam == SIZE_MINIMIZED)
        windowState_ = wsMinimized;
      else if (Message.WParam == SIZE_MAXIMIZED)
        windowState_ = wsMaximized;
      else if (Message.WParam == SIZE_RESTORED && handle_ && IsWindowVisible(handle_))
        windowState_ = wsNormal;
      break;
    case WM_GETMINMAXINFO: {
      DefaultHandler(Message);
      auto* mmi = reinterpret_cast<MINMAXINFO*>(Message.LParam);
      const TSizeConstraints* c = GetConstraints();
      if (!mmi) return;
      if (c->GetMinWidth() > 0) mmi->ptMinTrackSize.X = c->GetMinWidth();
      if (c->GetMinHeight() > 0) mmi->ptMinTrackSize.Y = c->GetMinHeight();
      if (c->GetMaxWidth() > 0) mmi->ptMaxTrackSize.X = c->GetMaxWidth();
      if (c->GetMaxHeight() > 0) mmi->ptMaxTrackSize.Y = c->GetMaxHeight();
      return;
    }
    case CM_DIALOGKEY:
      return DialogKey(Message);
    case WM_COMMAND:
      // Commands of the menu bar's items.
      if (menu_ && Message.LParam == 0 && menu_->DispatchCommand(LOWORD(Message.WParam))) return;
      break;
    case WM_INITMENUPOPUP:
      if (menu_ && menu_->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return;
      break;
    case CM_SHOWINGCHANGED:
      return ShowingChanged();
    case CM_ACTIVATE:
      return Activate();
    case CM_DEACTIVATE:
      return Deactivate();
    case CM_RELEASE:
      Free();
      return;
    case CM_RECREATEWND: {
      recreating_ = true;
      struct TClear {
        bool& f;
        ~TClear() { f = false; }
      } clear{recreating_};
      TScrollingWinControl::Dispatch(Message);
      return;
    }
    default:
      break;
  }
  TScrollingWinControl::Dispatch(Message);
}

// ============================================================================ TMonitor and TScreen

TRect TMonitor::BoundsRect() const {
  return Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

TRect TMonitor::WorkareaRect() const {
  RECT r;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return BoundsRect();
  return r;
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
  hintFont_ = std::make_unique<TFont>();
  iconFont_ = std::make_unique<TFont>();
  menuFont_ = std::make_unique<TFont>();
  monitor_ = std::make_unique<TMonitor>();
}

TScreen::~TScreen() {
  if (referenceDC_) DeleteDC(referenceDC_);
}

int32_t TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }

int32_t TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const { return monitor_->WorkareaRect(); }

TMonitor* TScreen::Monitors(int32_t Index) const {
  if (Index != 0) throw EListError(ListIndexError(Index));
  return monitor_.get();
}

TCustomForm* TScreen::CustomForms(int32_t Index) const {
  if (Index < 0 || Index >= CustomFormCount()) throw EListError(ListIndexError(Index));
  return customForms_[size_t(Index)];
}

int32_t TScreen::FormCount() const {
  return int32_t(std::count_if(customForms_.begin(), customForms_.end(),
                               [](TCustomForm* f) { return dynamic_cast<TForm*>(f) != nullptr; }));
}

TForm* TScreen::Forms(int32_t Index) const {
  // Whether a form is a TForm is known once its construction is over, so the list is taken
  // when asked.
  int32_t i = 0;
  for (TCustomForm* f : customForms_)
    if (auto* form = dynamic_cast<TForm*>(f))
      if (i++ == Index) return form;
  throw EListError(ListIndexError(Index));
}

TForm* TScreen::ActiveForm() const { return dynamic_cast<TForm*>(activeCustomForm_); }

void TScreen::AddForm(TCustomForm* Form) { customForms_.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  customForms_.erase(std::remove(customForms_.begin(), customForms_.end(), Form), customForms_.end());
  if (activeCustomForm_ == Form) activeCustomForm_ = nullptr;
  if (focusedForm_ == Form) focusedForm_ = nullptr;
  if (activeControl_ && GetParentForm(activeControl_) == Form) activeControl_ = nullptr;
}

void TScreen::SetActiveControl(TWinControl* Control, TCustomForm* Form) {
  bool formChanged = activeCustomForm_ != Form, controlChanged = activeControl_ != Control;
  activeCustomForm_ = Form;
  activeControl_ = Control;
  if (formChanged) OnActiveFormChange(this);
  if (controlChanged) OnActiveControlChange(this);
}

void TScreen::Forget(TControl* Control) {
  if (activeControl_ == Control) activeControl_ = nullptr;
}

namespace {
LPCSTR SystemCursorName(int32_t index) {
  switch (index) {
    case crCross:
      return IDC_CROSS;
    case crIBeam:
      return IDC_IBEAM;
    case crSizeNESW:
      return IDC_SIZENESW;
    case crSizeNS:
    case crVSplit:
      return IDC_SIZENS;
    case crSizeNWSE:
      return IDC_SIZENWSE;
    case crSizeWE:
    case crHSplit:
      return IDC_SIZEWE;
    case crUpArrow:
      return IDC_UPARROW;
    case crHourGlass:
    case crSQLWait:
      return IDC_WAIT;
    case crNoDrop:
    case crNo:
      return IDC_NO;
    case crAppStart:
      return IDC_APPSTARTING;
    case crHelp:
      return IDC_HELP;
    case crHandPoint:
      return IDC_HAND;
    case crSizeAll:
      return IDC_SIZEALL;
    default:
      return IDC_ARROW;
  }
}
}  // namespace

HCURSOR TScreen::Cursors(int32_t Index) const {
  auto it = cursors_.find(Index);
  if (it != cursors_.end()) return it->second;
  if (Index == crNone) return nullptr;
  return LoadCursorA(nullptr, SystemCursorName(Index));
}

void TScreen::SetCursors(int32_t Index, HCURSOR Handle) {
  if (Handle)
    cursors_[Index] = Handle;
  else
    cursors_.erase(Index);
}

void TScreen::SetCursor(TCursor Value) {
  if (cursor_ == Value) return;
  cursor_ = Value;
  if (Value != crDefault) {
    ::SetCursor(Cursors(Value));
    return;
  }
  // Back to the controls' own: ask the window under the mouse.
  POINT p;
  GetCursorPos(&p);
  if (HWND h = WindowFromPoint(p))
    SendMessageA(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h),
                 MAKELPARAM(WORD(HTCLIENT), WORD(WM_MOUSEMOVE)));
  else
    ::SetCursor(Cursors(crDefault));
}

namespace {
int AddFontFamily(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM list) {
  reinterpret_cast<TStringList*>(list)->Add(lf->lfFaceName);
  return 1;
}
}  // namespace

TStrings* TScreen::Fonts() {
  if (!fonts_) {
    fonts_ = std::make_unique<TStringList>();
    fonts_->Duplicates = dupIgnore;
    fonts_->SetSorted(true);
    EnumFontFamiliesA(ReferenceDC(), nullptr, &AddFontFamily, reinterpret_cast<LPARAM>(fonts_.get()));
  }
  return fonts_.get();
}

HDC TScreen::ReferenceDC() {
  if (!referenceDC_) referenceDC_ = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  return referenceDC_;
}

// ============================================================================ TApplication: life and loop

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  icon_ = std::make_unique<TIcon>();
  HintWindowClass = [](TComponent* owner) { return new THintWindow(owner); };
}

TApplication::~TApplication() {
  for (int32_t i = 0; i < ComponentCount(); ++i)
    if (auto* f = dynamic_cast<TCustomForm*>(Components(i))) f->BeforeDestruction();
  DestroyComponents();
  if (handlerInstalled_) SetApplicationExceptionHandler({});
  if (handle_) DeallocateHWnd(handle_);
}

void TApplication::Initialize() {
  if (handlerInstalled_) return;
  handlerInstalled_ = true;
  SetApplicationExceptionHandler(
      [this](TObject* sender, std::exception_ptr e) { HandleException(sender, e); });
}

void TApplication::AdoptMainForm(TCustomForm* Form) {
  if (mainForm_ || !Is<TForm>(Form)) return;
  Form->HandleNeeded();
  mainForm_ = Form;
}

void TApplication::Run() {
  if (!mainForm_) return;
  if (showMainForm_) mainForm_->SetVisible(true);
  do {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  } while (!terminated_);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle(msg);
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  OnMessage(Msg, handled);
  if (!handled && !IsHintMsg(Msg) && !IsKeyMsg(Msg)) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  // Enter and leave follow the mouse.
  if (Msg.message == WM_MOUSEMOVE || Msg.message == WM_NCMOUSEMOVE || Msg.message == WM_MOUSELEAVE ||
      Msg.message == WM_NCMOUSELEAVE)
    DoMouseIdle();
  return true;
}

void TApplication::Idle(const MSG&) {
  DoMouseIdle();
  if (showHint_ && !mouseControl_) CancelHint();
  bool done = true;
  try {
    OnIdle(this, done);
  } catch (...) {
    HandleException(this);
  }
  UpdateActionsOnIdle();
  FreeDeviceContexts();
  if (done) WaitMessage();
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  UINT m = Msg.message;
  if (m < WM_KEYFIRST || m > WM_KEYLAST) return false;
  if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
    TWMKey key{m, WORD(Msg.wParam), Msg.lParam, 0};
    bool handled = false;
    OnShortCut(key, handled);
    if (handled) return true;
  }
  // The framework's control nearest to the window the key went to (or the captor) sees it
  // first, as a CN_ message.
  HWND wnd = GetCapture();
  if (!wnd) {
    wnd = Msg.hwnd;
    while (wnd && !FindControl(wnd)) wnd = GetParent(wnd);
    if (!wnd) return false;
  } else if (!FindControl(wnd)) {
    return false;
  }
  return SendMessageA(wnd, CN_BASE + m, Msg.wParam, Msg.lParam) != 0;
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::DoMouseIdle() {
  POINT p;
  GetCursorPos(&p);
  TControl* target = FindDragTarget(p, true);
  if (target != mouseControl_) {
    TControl* old = mouseControl_;
    mouseControl_ = target;
    if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
    if (target && mouseControl_ == target) target->Perform(CM_MOUSEENTER, 0, 0);
  }
  AnsiString hint;
  for (TControl* c = mouseControl_; c; c = c->Parent())
    if (!c->GetHint().empty()) {
      hint = c->GetHint();
      break;
    }
  SetHint(GetLongHint(hint));
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (Control == mainForm_) mainForm_ = nullptr;
  if (Control == mouseControl_) mouseControl_ = nullptr;
  if (Control == hintControl_) CancelHint();
  if (Control == hintWindow_) hintWindow_ = nullptr;
  if (Screen) Screen->Forget(Control);
}

void TApplication::Minimize() {
  if (minimized_) return;
  minimized_ = true;
  hiddenByMinimize_.clear();
  for (int32_t i = 0; Screen && i < Screen->CustomFormCount(); ++i) {
    TCustomForm* f = Screen->CustomForms(i);
    if (f == mainForm_ || !f->HandleAllocated() || !IsWindowVisible(f->Handle())) continue;
    hiddenByMinimize_.push_back(f);
    ShowWindow(f->Handle(), SW_HIDE);
  }
  if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
  OnMinimize(this);
}

void TApplication::Restore() {
  if (!minimized_) return;
  minimized_ = false;
  if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_RESTORE);
  for (TCustomForm* f : std::exchange(hiddenByMinimize_, {}))
    for (int32_t i = 0; Screen && i < Screen->CustomFormCount(); ++i)
      if (Screen->CustomForms(i) == f && f->HandleAllocated()) ShowWindow(f->Handle(), SW_SHOWNA);
  OnRestore(this);
}

const AnsiString& TApplication::GetTitle() const {
  if (!titleSet_) {
    title_ = ChangeFileExt(ExtractFileName(ExeName()), "");
    titleSet_ = true;
  }
  return title_;
}

void TApplication::SetTitle(const AnsiString& Value) {
  title_ = Value;
  titleSet_ = true;
  if (handle_) SetWindowTextA(handle_, Value.c_str());
}

AnsiString TApplication::ExeName() const {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? AnsiString(path, size_t(n)) : AnsiString();
}

// ============================================================================ TApplication: exceptions and
// boxes

void TApplication::HandleException(TObject* Sender) { HandleException(Sender, std::current_exception()); }

void TApplication::HandleException(TObject* Sender, std::exception_ptr E) {
  if (!E) return;
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  auto report = [&](Exception& e) {
    if (OnException)
      OnException(Sender, &e);
    else
      ShowException(&e);
  };
  try {
    std::rethrow_exception(E);
  } catch (EAbort&) {
  } catch (Exception& e) {
    report(e);
  } catch (std::exception& e) {
    Exception wrapped(e.what());
    report(wrapped);
  } catch (...) {
    Exception wrapped("Unknown exception");
    report(wrapped);
  }
}

void TApplication::ShowException(Exception* E) {
  AnsiString msg = E->Message;
  if (!msg.empty() && msg.back() > '.') msg += '.';
  MessageBox(msg, GetTitle(), MB_OK | MB_ICONSTOP);
}

int32_t TApplication::MessageBox(const AnsiString& Text, const AnsiString& Caption, int32_t Flags) {
  HWND owner = nullptr;
  if (Screen && Screen->ActiveCustomForm() && Screen->ActiveCustomForm()->HandleAllocated())
    owner = Screen->ActiveCustomForm()->Handle();
  return MessageBoxA(owner ? owner : GetHandle(), Text.c_str(), Caption.c_str(), UINT(Flags));
}

// ============================================================================ TApplication: hints

void TApplication::SetHint(const AnsiString& Value) {
  if (hint_ == Value) return;
  hint_ = Value;
  try {
    OnHint(this);
  } catch (...) {
    HandleException(this);
  }
}

void TApplication::SetShowHint(bool Value) {
  if (showHint_ == Value) return;
  showHint_ = Value;
  if (!Value) CancelHint();
}

namespace {
// The control whose hint shows for Control: itself or the nearest parent with ShowHint.
TControl* HintControlOf(TControl* c) {
  while (c && !c->GetShowHint()) c = c->Parent();
  return c;
}

AnsiString HintTextOf(TControl* c) {
  for (; c; c = c->Parent())
    if (!c->GetHint().empty()) return c->GetHint();
  return {};
}

TRect ScreenRectOf(TControl* c, const TRect& r) {
  TPoint a = c->ClientToScreen(r.TopLeft()), b = c->ClientToScreen(r.BottomRight());
  return Rect(a.X, a.Y, b.X, b.Y);
}
}  // namespace

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
  TPoint screen = Control->ClientToScreen(LParamToPoint(Message.LParam));
  TControl* target = HintControlOf(FindDragTarget(screen, true));
  if (!target || !showHint_) {
    CancelHint();
    return;
  }
  if (target == hintControl_ && hintCursorRect_.Contains(screen)) return;
  int32_t pause = hintShown_ ? HintShortPause : HintPause;
  hintControl_ = target;
  hintCursorRect_ = ScreenRectOf(target, target->GetClientRect());
  StartHintTimer(pause);
}

void TApplication::ActivateHint(TPoint CursorPos) {
  if (!hintControl_) return;
  if (HintControlOf(FindDragTarget(CursorPos, true)) != hintControl_) {
    CancelHint();
    return;
  }
  THintInfo info;
  info.HintControl = hintControl_;
  info.HintPos = {CursorPos.X, CursorPos.Y + GetSystemMetrics(SM_CYCURSOR) * 3 / 4};
  info.HintMaxWidth = Screen ? Screen->Width() : 1024;
  info.HintColor = HintColor;
  info.CursorRect = hintControl_->GetClientRect();
  info.CursorPos = hintControl_->ScreenToClient(CursorPos);
  info.HintStr = GetShortHint(HintTextOf(hintControl_));
  info.HideTimeout = HintHidePause;
  bool canShow = hintControl_->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (canShow) OnShowHint(info.HintStr, canShow, info);
  hintCursorRect_ = ScreenRectOf(hintControl_, info.CursorRect);
  if (!canShow || info.HintStr.empty()) {
    HideHint();
    return;
  }
  if (!hintWindow_) hintWindow_ = HintWindowClass(this);
  hintWindow_->SetColor(info.HintColor);
  TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  hintWindow_->ActivateHintData(Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height()), info.HintStr,
                                info.HintData);
  hintShown_ = true;
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout);
}

void TApplication::HideHint() {
  hintShown_ = false;
  if (hintWindow_ && hintWindow_->HandleAllocated() && IsWindowVisible(hintWindow_->Handle()))
    ShowWindow(hintWindow_->Handle(), SW_HIDE);
}

void TApplication::CancelHint() {
  StopHintTimer();
  HideHint();
  hintControl_ = nullptr;
}

void TApplication::StartHintTimer(int32_t Delay) {
  StopHintTimer();
  if (SetTimer(GetHandle(), kHintTimer, UINT(std::max(Delay, 1)), nullptr)) hintTimerRunning_ = true;
}

void TApplication::StopHintTimer() {
  if (!hintTimerRunning_) return;
  hintTimerRunning_ = false;
  KillTimer(handle_, kHintTimer);
}

void TApplication::HintTimerExpired() {
  StopHintTimer();
  // A hint that timed out stays away until the mouse moves to another control.
  if (hintShown_) {
    HideHint();
    return;
  }
  POINT p;
  GetCursorPos(&p);
  ActivateHint(p);
}

bool TApplication::IsHintMsg(const MSG& Msg) {
  if (!hintShown_) return false;
  switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_ACTIVATEAPP:
      CancelHint();
      break;
    default:
      break;
  }
  return false;
}

// ============================================================================ TApplication: window

HWND TApplication::GetHandle() {
  if (!handle_) {
    handle_ = AllocateHWnd(TWndMethod(this, &TApplication::WndProc));
    SetWindowTextA(handle_, GetTitle().c_str());
  }
  return handle_;
}

void TApplication::WndProc(TMessage& Message) {
  try {
    switch (Message.Msg) {
      case WM_TIMER:
        if (Message.WParam == kHintTimer) {
          HintTimerExpired();
          return;
        }
        break;
      case WM_ACTIVATEAPP:
        active_ = Message.WParam != 0;
        if (active_) {
          OnActivate(this);
        } else {
          CancelHint();
          OnDeactivate(this);
        }
        break;
      case WM_CLOSE:
        if (mainForm_) mainForm_->Close();
        return;
      case WM_SYSCOMMAND:
        switch (Message.WParam & 0xFFF0) {
          case SC_MINIMIZE:
            Minimize();
            return;
          case SC_RESTORE:
            Restore();
            return;
          default:
            break;
        }
        break;
      default:
        break;
    }
    Message.Result = DefWindowProcA(handle_, Message.Msg, Message.WParam, Message.LParam);
  } catch (...) {
    HandleException(this);
  }
}

// ============================================================================ TScrollBox ======

namespace {
bool FormsScrollBoxAutoScroll(TScrollBox* b) { return !b->GetAutoScroll(); }
}  // namespace

const TClassInfo& TControlScrollBar::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TControlScrollBar, TPersistent>("TControlScrollBar")
          .Prop("Increment", &TControlScrollBar::GetIncrement, &TControlScrollBar::SetIncrement)
          .Default(8)
          .Prop("Margin", &TControlScrollBar::GetMargin, &TControlScrollBar::SetMargin)
          .Default(0)
          .Prop("Position", &TControlScrollBar::GetPosition, &TControlScrollBar::SetPosition)
          .Default(0)
          .Prop("Range", &TControlScrollBar::GetRange, &TControlScrollBar::SetRange)
          .Default(0)
          .Prop("Tracking", &TControlScrollBar::GetTracking, &TControlScrollBar::SetTracking)
          .Default(false)
          .Prop("Visible", &TControlScrollBar::GetVisible, &TControlScrollBar::SetVisible)
          .Default(true);
  return info;
}

const TClassInfo& TScrollBox::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TScrollBox, TScrollingWinControl>("TScrollBox")
          .Prop("BorderStyle", &TScrollBox::GetBorderStyle, &TScrollBox::SetBorderStyle)
          .Default(bsSingle)
          .Object("HorzScrollBar", &TScrollBox::GetHorzScrollBar, &TScrollBox::SetHorzScrollBar)
          .Stored(&FormsScrollBoxAutoScroll)
          .Object("VertScrollBar", &TScrollBox::GetVertScrollBar, &TScrollBox::SetVertScrollBar)
          .Stored(&FormsScrollBoxAutoScroll);
  return info;
}

namespace {
struct TFormsScrollBoxRegistration {
  TFormsScrollBoxRegistration() { RegisterClasses({&TScrollBox::ClassInfo()}); }
} g_formsScrollBoxRegistration;
}  // namespace

void TControlScrollBar::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TControlScrollBar*>(Source)) {
    increment_ = s->increment_;
    margin_ = s->margin_;
    range_ = s->range_;
    visible_ = s->visible_;
    tracking_ = s->tracking_;
    SetPosition(s->position_);
    Update();
    return;
  }
  TPersistent::Assign(Source);
}

int32_t TControlScrollBar::ClientSize() const {
  TRect r = control_->GetClientRect();
  return kind_ == sbHorizontal ? r.Width() : r.Height();
}

bool TControlScrollBar::IsScrollBarVisible() const { return visible_ && range_ > ClientSize(); }

void TControlScrollBar::SetMargin(int32_t Value) {
  margin_ = std::max(Value, 0);
  control_->Realign();
}

void TControlScrollBar::SetRange(int32_t Value) {
  range_ = std::max(Value, 0);
  Update();
}

void TControlScrollBar::SetVisible(bool Value) {
  visible_ = Value;
  Update();
}

void TControlScrollBar::SetPosition(int32_t Value) {
  if (control_->ComponentState().Contains(csLoading)) {
    position_ = Value;
    return;
  }
  int32_t top = std::max(range_ - ClientSize(), 0);
  Value = std::clamp(Value, 0, top);
  if (Value == position_) return;
  int32_t delta = position_ - Value;
  position_ = Value;
  if (kind_ == sbHorizontal)
    control_->ScrollBy(delta, 0);
  else
    control_->ScrollBy(0, delta);
  if (control_->HandleAllocated())
    SetScrollPos(control_->Handle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, position_, TRUE);
}

void TControlScrollBar::Update() {
  if (control_->ComponentState().Contains(csLoading)) return;
  bool show = IsScrollBarVisible();
  if (!show && position_ != 0) SetPosition(0);
  showing_ = show;
  if (!control_->HandleAllocated()) return;
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = show ? range_ - 1 : 0;
  si.nPage = show ? UINT(ClientSize() + 1) : 0;
  si.nPos = position_;
  SetScrollInfo(control_->Handle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &si, TRUE);
  if (show) {
    // Keep the position inside the new range.
    SetPosition(position_);
  }
}

void TControlScrollBar::ScrollMessage(WORD Code, int32_t TrackPos) {
  int32_t page = std::max(ClientSize() * 9 / 10, 1);
  switch (Code) {
    case SB_LINEUP:
      SetPosition(position_ - increment_);
      break;
    case SB_LINEDOWN:
      SetPosition(position_ + increment_);
      break;
    case SB_PAGEUP:
      SetPosition(position_ - page);
      break;
    case SB_PAGEDOWN:
      SetPosition(position_ + page);
      break;
    case SB_THUMBTRACK:
      if (tracking_) SetPosition(TrackPos);
      break;
    case SB_THUMBPOSITION:
      SetPosition(TrackPos);
      break;
    case SB_TOP:
      SetPosition(0);
      break;
    case SB_BOTTOM:
      SetPosition(range_);
      break;
    default:
      break;
  }
}

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  horz_ = std::make_unique<TControlScrollBar>(this, sbHorizontal);
  vert_ = std::make_unique<TControlScrollBar>(this, sbVertical);
  SetBounds(0, 0, 185, 41);
}

TScrollBox::~TScrollBox() = default;

void TScrollBox::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  if (borderStyle_ == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
}

void TScrollBox::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  UpdateScrollBars();
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  RecreateWnd();
}

void TScrollBox::ScrollBy(int32_t DeltaX, int32_t DeltaY) {
  if (DeltaX == 0 && DeltaY == 0) return;
  DisableAlign();
  for (int32_t i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
  }
  EnableAlign();
  Invalidate();
}

void TScrollBox::ScrollInView(TControl* AControl) {
  if (!AControl || AControl->Parent() != this) return;
  TRect client = GetClientRect();
  TRect r = AControl->GetBoundsRect();
  if (r.Left < 0)
    horz_->SetPosition(horz_->GetPosition() + r.Left);
  else if (r.Right > client.Right)
    horz_->SetPosition(horz_->GetPosition() + std::min(r.Right - client.Right, r.Left));
  if (r.Top < 0)
    vert_->SetPosition(vert_->GetPosition() + r.Top);
  else if (r.Bottom > client.Bottom)
    vert_->SetPosition(vert_->GetPosition() + std::min(r.Bottom - client.Bottom, r.Top));
}

void TScrollBox::UpdateScrollBars() {
  if (updatingBars_ || ComponentState().Contains(csLoading)) return;
  updatingBars_ = true;
  struct TClear {
    bool& f;
    ~TClear() { f = false; }
  } clear{updatingBars_};
  if (GetAutoScroll()) {
    // The contents reach as far as the children that do not follow the client size.
    int32_t right = 0, bottom = 0;
    for (int32_t i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (!c->GetVisible()) continue;
      TAlign a = c->GetAlign();
      if (a == alNone || a == alLeft) right = std::max(right, c->Left() + c->Width() + horz_->position_);
      if (a == alNone || a == alTop) bottom = std::max(bottom, c->Top() + c->Height() + vert_->position_);
    }
    horz_->range_ = right > 0 ? right + horz_->margin_ : 0;
    vert_->range_ = bottom > 0 ? bottom + vert_->margin_ : 0;
  }
  // Showing one bar narrows the client: the other is decided again.
  for (int pass = 0; pass < 2; ++pass) {
    horz_->Update();
    vert_->Update();
  }
}

void TScrollBox::AlignControls(TControl* AControl, TRect& Rect) {
  TScrollingWinControl::AlignControls(AControl, Rect);
  UpdateScrollBars();
}

void TScrollBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Message.LParam == 0) {
        // The 16 bits of the message cannot carry a long range: the track position is asked for.
        SCROLLINFO si;
        si.fMask = SIF_TRACKPOS;
        si.nTrackPos = 0;
        GetScrollInfo(Handle(), Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, &si);
        (Message.Msg == WM_HSCROLL ? horz_ : vert_)->ScrollMessage(LOWORD(Message.WParam), si.nTrackPos);
        return;
      }
      break;
    case WM_SIZE:
      TScrollingWinControl::Dispatch(Message);
      UpdateScrollBars();
      return;
    default:
      break;
  }
  TScrollingWinControl::Dispatch(Message);
}
