// Message boxes and the message form.
//
// Sections: the hook / the form's button / the message form / the boxes.
#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <vector>

namespace {

// ============================================================================ the hook ========

TMessageBoxHook& MessageBoxHookSlot() {
  static TMessageBoxHook hook;
  return hook;
}

// ============================================================================ the form's button

// A push button drawn here: the face, the caption and the focus frame.  Enter presses it while
// it is the default (or focused), Escape when it is the cancel button, its accelerator always.
class TMsgButton : public TCustomControl {
  PL_CLASS(TMsgButton)
 public:
  explicit TMsgButton(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle = {csCaptureMouse, csClickEvents, csOpaque};
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
  }
  TModalResult ModalResult = mrNone;
  bool Default = false;
  bool Cancel = false;

  void Click() override {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
    TCustomControl::Click();
  }

 protected:
  void Paint() override {
    TCanvas* c = GetCanvas();
    TRect face = DrawButtonFace(c, GetClientRect(), 1, down_, Focused() || active_);
    c->SetFont(GetFont());
    c->GetBrush()->SetStyle(bsClear);
    RECT r = face;
    if (down_) OffsetRect(&r, 1, 1);
    AnsiString text = GetCaption();
    DrawTextA(c->GetHandle(), text.c_str(), int(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
      RECT f = GetClientRect();
      InflateRect(&f, -4, -4);
      c->DrawFocusRect(f);
    }
  }

  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override {
    if (Button == mbLeft) {
      if (CanFocus()) SetFocus();
      SetDown(true);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override {
    if (Button == mbLeft) SetDown(false);
    TCustomControl::MouseUp(Button, Shift, X, Y);
  }
  void KeyDown(WORD& Key, TShiftState Shift) override {
    if (Key == VK_SPACE) SetDown(true);
    TCustomControl::KeyDown(Key, Shift);
  }
  void KeyUp(WORD& Key, TShiftState Shift) override {
    if (Key == VK_SPACE && down_) {
      SetDown(false);
      Click();
    }
    TCustomControl::KeyUp(Key, Shift);
  }

  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case CM_DIALOGKEY: {
        bool plain = (KeyDataToShiftState(Message.LParam) * TShiftState{ssShift, ssCtrl, ssAlt}).Empty();
        if (plain && ((Message.WParam == VK_RETURN && active_) || (Message.WParam == VK_ESCAPE && Cancel)) &&
            CanFocus()) {
          Click();
          Message.Result = 1;
          return;
        }
        break;
      }
      case CM_DIALOGCHAR:
        if (IsAccel(WORD(Message.WParam), GetCaption()) && CanFocus()) {
          Click();
          Message.Result = 1;
          return;
        }
        break;
      case CM_FOCUSCHANGED: {
        auto* focused = reinterpret_cast<TControl*>(Message.LParam);
        // Enter presses the focused button, or the default one while no button has the focus.
        bool active = focused == this || (Default && !Is<TMsgButton>(focused));
        if (active != active_) {
          active_ = active;
          Invalidate();
        }
        return;
      }
      case WM_GETDLGCODE:
        Message.Result = DLGC_BUTTON | (active_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        if (Message.Msg == WM_KILLFOCUS) SetDown(false);
        Invalidate();
        break;
      case CM_TEXTCHANGED:
        Invalidate();
        return;
      default:
        break;
    }
    TCustomControl::Dispatch(Message);
  }

 private:
  void SetDown(bool Value) {
    if (down_ == Value) return;
    down_ = Value;
    Invalidate();
  }
  bool down_ = false;
  bool active_ = false;
};

}  // namespace

const TClassInfo& TMsgButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TMsgButton, TCustomControl>("TMsgButton");
  return info;
}

// ============================================================================ the message form

namespace {

// The dialog of a message box: the kind's icon at the top left, the text beside it, the
// buttons centred below.
class TMessageForm : public TForm {
  PL_CLASS(TMessageForm)
 public:
  explicit TMessageForm(TComponent* AOwner) : TForm(AOwner) {}
  AnsiString Text;
  LPCSTR IconName = nullptr;
  TRect TextRect;

 protected:
  void Paint() override {
    TCanvas* c = GetCanvas();
    if (IconName) DrawIcon(c->GetHandle(), 10, 10, LoadIconA(nullptr, IconName));
    c->SetFont(GetFont());
    c->GetBrush()->SetStyle(bsClear);
    RECT r = TextRect;
    DrawTextA(c->GetHandle(), Text.c_str(), int(Text.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    TForm::Paint();
  }
};

}  // namespace

const TClassInfo& TMessageForm::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TMessageForm, TForm>("TMessageForm");
  return info;
}

namespace {

struct TMsgButtonKind {
  const char* Caption;
  TModalResult Result;
};

TMsgButtonKind ButtonKindOf(TMsgDlgBtn b) {
  static const TMsgButtonKind kinds[] = {{"&Yes", mrYes},
                                         {"&No", mrNo},
                                         {"OK", mrOk},
                                         {"Cancel", mrCancel},
                                         {"&Abort", mrAbort},
                                         {"&Retry", mrRetry},
                                         {"&Ignore", mrIgnore},
                                         {"&All", mrAll},
                                         {"N&o to All", mrNoToAll},
                                         {"Yes to &All", mrYesToAll},
                                         {"&Help", mrNone}};
  return kinds[b];
}

AnsiString DialogCaptionOf(TMsgDlgType t) {
  switch (t) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirmation";
    default:
      return Application ? Application->GetTitle() : AnsiString();
  }
}

LPCSTR DialogIconOf(TMsgDlgType t) {
  switch (t) {
    case mtWarning:
      return IDI_EXCLAMATION;
    case mtError:
      return IDI_HAND;
    case mtInformation:
      return IDI_ASTERISK;
    case mtConfirmation:
      return IDI_QUESTION;
    default:
      return nullptr;
  }
}

std::vector<TMsgDlgBtn> ButtonsInOrder(TMsgDlgButtons buttons) {
  std::vector<TMsgDlgBtn> order;
  for (int b = mbYes; b <= mbHelp; ++b)
    if (buttons.Contains(TMsgDlgBtn(b))) order.push_back(TMsgDlgBtn(b));
  return order;
}

TMsgDlgBtn DefaultButtonOf(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn b : {mbOK, mbYes, mbRetry})
    if (buttons.Contains(b)) return b;
  std::vector<TMsgDlgBtn> order = ButtonsInOrder(buttons);
  return order.empty() ? mbOK : order.front();
}

// The framework's cancel button: Cancel, else No, else OK.
bool CancelButtonOf(TMsgDlgButtons buttons, TMsgDlgBtn& cancel) {
  for (TMsgDlgBtn b : {mbCancel, mbNo, mbOK})
    if (buttons.Contains(b)) {
      cancel = b;
      return true;
    }
  return false;
}

TForm* BuildMessageForm(const AnsiString& text, const AnsiString& caption, TMsgDlgType type,
                        const std::vector<TMsgDlgBtn>& order, TMsgDlgBtn defaultButton, bool hasCancel,
                        TMsgDlgBtn cancelButton) {
  constexpr int32_t kMargin = 10, kIcon = 32, kGap = 8, kButtonHeight = 25;
  auto* form = TCustomForm::CreateNew<TMessageForm>(Application);
  try {
    form->SetBorderStyle(bsDialog);
    form->SetCaption(caption);
    form->SetPosition(poScreenCenter);
    form->Text = text;
    form->IconName = DialogIconOf(type);
    if (!hasCancel) form->SetBorderIcons({});
    // Measured on the screen's DC with the form's font.
    TCanvas measure;
    measure.SetHandle(Screen->ReferenceDC());
    measure.SetFont(form->GetFont());
    int32_t maxWidth = std::max(200, Screen->Width() / 2);
    RECT tr = Rect(0, 0, maxWidth, 0);
    DrawTextA(measure.GetHandle(), text.c_str(), int(text.size()), &tr,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    int32_t textLeft = kMargin + (form->IconName ? kIcon + kMargin : 0);
    form->TextRect = Bounds(textLeft, kMargin, tr.Width(), tr.Height());
    int32_t buttonWidth = 75;
    for (TMsgDlgBtn b : order)
      buttonWidth = std::max(buttonWidth, measure.TextWidth(StripHotkey(ButtonKindOf(b).Caption)) + 16);
    measure.SetHandle(nullptr);
    int32_t buttonsWidth =
        int32_t(order.size()) * buttonWidth + std::max<int32_t>(0, int32_t(order.size()) - 1) * kGap;
    int32_t top = kMargin + std::max(tr.Height(), form->IconName ? kIcon : 0) + kMargin + 4;
    int32_t clientWidth = std::max(textLeft + tr.Width() + kMargin, buttonsWidth + 2 * kMargin);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(top + kButtonHeight + kMargin);
    int32_t x = (clientWidth - buttonsWidth) / 2;
    for (TMsgDlgBtn b : order) {
      auto* button = new TMsgButton(form);
      button->SetCaption(ButtonKindOf(b).Caption);
      button->ModalResult = ButtonKindOf(b).Result;
      button->Default = b == defaultButton;
      button->Cancel = hasCancel && b == cancelButton;
      button->SetBounds(x, top, buttonWidth, kButtonHeight);
      button->SetParent(form);
      if (button->Default) form->SetActiveControl(button);
      x += buttonWidth + kGap;
    }
  } catch (...) {
    form->Free();
    throw;
  }
  return form;
}

TModalResult RunMessageBox(const TMessageBoxRequest& request, const std::vector<TMsgDlgBtn>& order,
                           bool hasCancel, TMsgDlgBtn cancel) {
  if (TMessageBoxHook hook = MessageBoxHookSlot()) return hook(request);
  TForm* form = BuildMessageForm(request.Text, request.Caption, request.DlgType, order, request.DefaultButton,
                                 hasCancel, cancel);
  TModalResult result;
  try {
    result = form->ShowModal();
  } catch (...) {
    form->Free();
    throw;
  }
  form->Free();
  return result;
}

}  // namespace

// ============================================================================ the boxes =======

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook NewHook) {
  return std::exchange(MessageBoxHookSlot(), std::move(NewHook));
}

TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                           TMsgDlgBtn DefaultButton) {
  TMsgDlgBtn cancel = mbOK;
  bool hasCancel = CancelButtonOf(Buttons, cancel);
  return BuildMessageForm(Msg, DialogCaptionOf(DlgType), DlgType, ButtonsInOrder(Buttons), DefaultButton,
                          hasCancel, cancel);
}

TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  return CreateMessageDialog(Msg, DlgType, Buttons, DefaultButtonOf(Buttons));
}

TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int32_t HelpCtx,
                        TMsgDlgBtn DefaultButton) {
  (void)HelpCtx;  // no help system on this platform
  TMsgDlgBtn cancel = mbOK;
  bool hasCancel = CancelButtonOf(Buttons, cancel);
  TMessageBoxRequest request{Msg, DialogCaptionOf(DlgType), DlgType, Buttons, DefaultButton};
  return RunMessageBox(request, ButtonsInOrder(Buttons), hasCancel, cancel);
}

TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int32_t HelpCtx) {
  return MessageDlg(Msg, DlgType, Buttons, HelpCtx, DefaultButtonOf(Buttons));
}

void ShowMessage(const AnsiString& Msg) { MessageDlg(Msg, mtCustom, {mbOK}, 0); }

int MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  std::vector<TMsgDlgBtn> order;
  switch (uType & MB_TYPEMASK) {
    case MB_OKCANCEL:
      order = {mbOK, mbCancel};
      break;
    case MB_ABORTRETRYIGNORE:
      order = {mbAbort, mbRetry, mbIgnore};
      break;
    case MB_YESNOCANCEL:
      order = {mbYes, mbNo, mbCancel};
      break;
    case MB_YESNO:
      order = {mbYes, mbNo};
      break;
    case MB_RETRYCANCEL:
      order = {mbRetry, mbCancel};
      break;
    default:
      order = {mbOK};
      break;
  }
  TMessageBoxRequest request;
  request.Text = lpText ? lpText : "";
  request.Caption = lpCaption ? lpCaption : "Error";
  switch (uType & MB_ICONMASK) {
    case MB_ICONHAND:
      request.DlgType = mtError;
      break;
    case MB_ICONQUESTION:
      request.DlgType = mtConfirmation;
      break;
    case MB_ICONEXCLAMATION:
      request.DlgType = mtWarning;
      break;
    case MB_ICONASTERISK:
      request.DlgType = mtInformation;
      break;
    default:
      request.DlgType = mtCustom;
      break;
  }
  for (TMsgDlgBtn b : order) request.Buttons.Include(b);
  size_t defaultIndex = std::min<size_t>((uType & MB_DEFMASK) >> 8, order.size() - 1);
  request.DefaultButton = order[defaultIndex];
  // The system's rule: Escape needs a Cancel button, or OK alone.
  bool hasCancel = request.Buttons.Contains(mbCancel) || order.size() == 1;
  TMsgDlgBtn cancel = request.Buttons.Contains(mbCancel) ? mbCancel : mbOK;
  return int(RunMessageBox(request, order, hasCancel, cancel));
}
