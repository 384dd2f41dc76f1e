// Message boxes, the input query, the common dialogs and the system's dialog calls.
//
// Sections: the responder / the message form / the boxes / input query / common dialog /
// file dialogs / colour dialog / font dialog / printer dialogs / the system's calls.
#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/os/kernel/Kernel.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Printers.h"

// ============================================================================ the responder ===

namespace {
TDialogResponder& DialogResponderSlot() {
  static TDialogResponder responder;
  return responder;
}
}  // namespace

TDialogResponder SetDialogResponder(TDialogResponder Responder) {
  return std::exchange(DialogResponderSlot(), std::move(Responder));
}

TModalResult AskDialogResponder(TObject* Dialog) {
  // A copy: the responder may replace itself while it runs.
  if (TDialogResponder responder = DialogResponderSlot()) return responder(Dialog);
  return mrNone;
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
      auto* button = new TButton(form);
      button->SetCaption(ButtonKindOf(b).Caption);
      button->SetModalResult(ButtonKindOf(b).Result);
      button->SetDefault(b == defaultButton);
      button->SetCancel(hasCancel && b == cancelButton);
      button->SetBounds(x, top, buttonWidth, kButtonHeight);
      button->SetParent(form);
      if (b == defaultButton) form->SetActiveControl(button);
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
  TMessageBoxDialog asked(request);
  if (TModalResult answer = AskDialogResponder(&asked); answer != mrNone) return answer;
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
  TMessageBoxRequest request;
  request.Text = Msg;
  request.Caption = DialogCaptionOf(DlgType);
  request.DlgType = DlgType;
  request.Buttons = Buttons;
  request.DefaultButton = DefaultButton;
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

// ============================================================================ input query =====

namespace {

// Places a control of class T named Name on Parent.
template <class T>
T* DlgMake(TForm* Form, TWinControl* Parent, const char* Name, int32_t X, int32_t Y, int32_t W, int32_t H) {
  auto* c = new T(Form);
  c->SetName(Name);
  c->SetBounds(X, Y, W, H);
  c->SetParent(Parent);
  return c;
}

TLabel* DlgLabel(TForm* Form, const char* Name, const AnsiString& Caption, int32_t X, int32_t Y,
                 TWinControl* Focus = nullptr) {
  auto* l = DlgMake<TLabel>(Form, Form, Name, X, Y, 10, 13);
  l->SetCaption(Caption);
  l->SetFocusControl(Focus);
  return l;
}

TForm* DlgNewForm(const AnsiString& Caption, int32_t Width, int32_t Height) {
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  form->SetBorderStyle(bsDialog);
  form->SetCaption(Caption);
  form->SetPosition(poScreenCenter);
  form->SetClientWidth(Width);
  form->SetClientHeight(Height);
  return form;
}

// OK (default) and Cancel at the bottom right; OK's click is left to the caller.
TButton* DlgButtons(TForm* Form, const AnsiString& OkCaption) {
  int32_t w = Form->GetClientWidth(), h = Form->GetClientHeight();
  auto* ok = DlgMake<TButton>(Form, Form, "OkButton", w - 166, h - 33, 75, 25);
  ok->SetCaption(OkCaption);
  ok->SetDefault(true);
  auto* cancel = DlgMake<TButton>(Form, Form, "CancelButton", w - 83, h - 33, 75, 25);
  cancel->SetCaption("Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  return ok;
}

}  // namespace

bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value) {
  TInputQueryDialog asked;
  asked.Caption = ACaption;
  asked.Prompt = APrompt;
  asked.Value = Value;
  if (TModalResult answer = AskDialogResponder(&asked); answer != mrNone) {
    if (answer != mrOk) return false;
    Value = asked.Value;
    return true;
  }
  TForm* form = DlgNewForm(ACaption, 300, 100);
  auto* edit = DlgMake<TEdit>(form, form, "ValueEdit", 8, 28, 284, 24);
  edit->SetText(Value);
  DlgLabel(form, "PromptLabel", APrompt, 8, 8, edit);
  DlgButtons(form, "OK")->SetModalResult(mrOk);
  form->SetActiveControl(edit);
  edit->SelectAll();
  TModalResult r;
  AnsiString typed;
  try {
    r = form->ShowModal();
    typed = edit->GetText();
  } catch (...) {
    form->Free();
    throw;
  }
  form->Free();
  if (r != mrOk) return false;
  Value = typed;
  return true;
}

AnsiString InputBox(const AnsiString& ACaption, const AnsiString& APrompt, const AnsiString& ADefault) {
  AnsiString value = ADefault;
  InputQuery(ACaption, APrompt, value);
  return value;
}

// ============================================================================ common dialog ===

const TClassInfo& TCommonDialog::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCommonDialog, TComponent>("TCommonDialog")
                                     .Event("OnClose", &TCommonDialog::OnClose)
                                     .Event("OnShow", &TCommonDialog::OnShow);
  return info;
}

TForm* TCommonDialog::NewDialogForm(const AnsiString& Caption, int32_t Width, int32_t Height,
                                    const AnsiString& OkCaption) {
  TForm* form = DlgNewForm(title_.empty() ? Caption : title_, Width, Height);
  TButton* ok = DlgButtons(form, OkCaption);
  ok->OnClick = TNotifyEvent::Lambda([this, form](TObject*) {
    if (AcceptForm(form)) form->SetModalResult(mrOk);
  });
  return form;
}

bool TCommonDialog::Execute() {
  TModalResult answer = AskDialogResponder(this);
  if (answer != mrNone) return answer == mrOk && AcceptResponse();
  TForm* form = CreateDialogForm();
  form_ = form;
  TModalResult r = mrCancel;
  try {
    OnShow(this);
    r = form->ShowModal();
  } catch (...) {
    form_ = nullptr;
    form->Free();
    throw;
  }
  form_ = nullptr;
  form->Free();
  OnClose(this);
  return r == mrOk;
}

// ============================================================================ file dialogs ====

PL_ENUM_NAMES(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
              "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",
              "ofFileMustExist", "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate",
              "ofNoNetworkButton", "ofNoLongNames", "ofOldStyleDialog", "ofNoDereferenceLinks",
              "ofEnableIncludeNotify", "ofEnableSizing", "ofDontAddToRecent", "ofForceShowHidden")

const TClassInfo& TOpenDialog::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TOpenDialog, TCommonDialog>("TOpenDialog")
          .Prop("DefaultExt", &TOpenDialog::GetDefaultExt, &TOpenDialog::SetDefaultExt)
          .Prop("FileName", &TOpenDialog::GetFileName, &TOpenDialog::SetFileName)
          .Prop("Filter", &TOpenDialog::GetFilter, &TOpenDialog::SetFilter)
          .Prop("FilterIndex", &TOpenDialog::GetFilterIndex, &TOpenDialog::SetFilterIndex)
          .Default(1)
          .Prop("InitialDir", &TOpenDialog::GetInitialDir, &TOpenDialog::SetInitialDir)
          .Prop("Options", &TOpenDialog::GetOptions, &TOpenDialog::SetOptions)
          .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing})
          .Prop("Title", &TCommonDialog::GetTitle, &TCommonDialog::SetTitle);
  return info;
}

const TClassInfo& TSaveDialog::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TSaveDialog, TOpenDialog>("TSaveDialog");
  return info;
}

namespace {
// Windows keep their file dialogs in their stored definitions.
struct TDialogsRegistration {
  TDialogsRegistration() { RegisterClasses({&TOpenDialog::ClassInfo(), &TSaveDialog::ClassInfo()}); }
} g_dialogsRegistration;
}  // namespace

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), files_(std::make_unique<TStringList>()) {}
TOpenDialog::~TOpenDialog() = default;

std::vector<TOpenDialog::TFilterEntry> TOpenDialog::FilterEntries() const {
  std::vector<TFilterEntry> out;
  std::vector<AnsiString> parts;
  size_t start = 0;
  while (start <= filter_.size() && !filter_.empty()) {
    size_t bar = filter_.find('|', start);
    parts.push_back(filter_.substr(start, bar == AnsiString::npos ? AnsiString::npos : bar - start));
    if (bar == AnsiString::npos) break;
    start = bar + 1;
  }
  // A description without its pattern is left out.
  for (size_t i = 0; i + 1 < parts.size(); i += 2)
    if (!Trim(parts[i + 1]).empty()) out.push_back({parts[i], Trim(parts[i + 1])});
  return out;
}

AnsiString TOpenDialog::StartFolder() const {
  if (!initialDir_.empty() && DirectoryExists(ExpandFileName(initialDir_)))
    return ExpandFileName(initialDir_);
  AnsiString dir = ExtractFileDir(fileName_);
  if (!dir.empty() && DirectoryExists(ExpandFileName(dir))) return ExpandFileName(dir);
  return GetCurrentDir();
}

namespace {
bool FileDlgMatches(const AnsiString& Name, const AnsiString& Patterns) {
  if (Patterns.empty()) return true;
  size_t start = 0;
  while (start <= Patterns.size()) {
    size_t semi = Patterns.find(';', start);
    AnsiString p = Trim(Patterns.substr(start, semi == AnsiString::npos ? AnsiString::npos : semi - start));
    if (!p.empty() && MatchesFileMask(Name, p)) return true;
    if (semi == AnsiString::npos) break;
    start = semi + 1;
  }
  return false;
}

AnsiString FileDlgJoin(const AnsiString& Folder, const AnsiString& Name) {
  if (!Name.empty() && Name[0] == '/') return ExpandFileName(Name);
  return ExpandFileName(IncludeTrailingPathDelimiter(Folder) + Name);
}

// "a" "b c" d -> a, b c, d
std::vector<AnsiString> FileDlgSplitNames(const AnsiString& Text) {
  std::vector<AnsiString> out;
  if (Text.find('"') == AnsiString::npos) {
    if (!Trim(Text).empty()) out.push_back(Trim(Text));
    return out;
  }
  for (size_t i = 0; i < Text.size();) {
    if (Text[i] == ' ') {
      ++i;
      continue;
    }
    size_t end;
    if (Text[i] == '"') {
      end = Text.find('"', i + 1);
      if (end == AnsiString::npos) end = Text.size();
      if (end > i + 1) out.push_back(Text.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      end = Text.find(' ', i);
      if (end == AnsiString::npos) end = Text.size();
      out.push_back(Text.substr(i, end - i));
      i = end;
    }
  }
  return out;
}
}  // namespace

bool TOpenDialog::ResolveChoice(const AnsiString& Folder, const std::vector<AnsiString>& Names) {
  std::vector<AnsiString> paths;
  for (const AnsiString& name : Names) {
    if (Trim(name).empty()) continue;
    AnsiString path = FileDlgJoin(Folder, Trim(name));
    if (ExtractFileExt(path).empty() && !defaultExt_.empty() && !FileExists(path)) {
      AnsiString ext = defaultExt_[0] == '.' ? defaultExt_.substr(1) : defaultExt_;
      path += "." + ext;
    }
    if (!options_.Contains(ofNoValidate)) {
      if (options_.Contains(ofPathMustExist) && !DirectoryExists(ExtractFileDir(path))) {
        MessageDlg(path + "\nPath does not exist.\nCheck the path and try again.", mtWarning, {mbOK}, 0);
        return false;
      }
      if (!IsSave() && options_.Contains(ofFileMustExist) && !FileExists(path)) {
        MessageDlg(path + "\nFile not found.\nCheck the file name and try again.", mtWarning, {mbOK}, 0);
        return false;
      }
      if (IsSave() && options_.Contains(ofOverwritePrompt) && FileExists(path) &&
          MessageDlg(path + " already exists.\nDo you want to replace it?", mtWarning, {mbYes, mbNo}, 0,
                     mbNo) != mrYes)
        return false;
    }
    paths.push_back(path);
    if (!options_.Contains(ofAllowMultiSelect)) break;
  }
  if (paths.empty()) return false;
  files_->Clear();
  for (const AnsiString& p : paths) files_->Add(p);
  fileName_ = paths.front();
  return true;
}

bool TOpenDialog::AcceptResponse() {
  std::vector<AnsiString> names;
  if (options_.Contains(ofAllowMultiSelect) && files_->Count() > 0)
    for (int32_t i = 0; i < files_->Count(); ++i) names.push_back(files_->Strings(i));
  else
    names.push_back(fileName_);
  return ResolveChoice(StartFolder(), names);
}

namespace {

// The file dialog's form: the folder path, the folder's contents, the name and the filter.
class TFileDialogForm : public TForm {
  PL_CLASS(TFileDialogForm)
 public:
  explicit TFileDialogForm(TComponent* AOwner) : TForm(AOwner) {}
  TOpenDialog* Dialog = nullptr;
  AnsiString Folder;
  AnsiString Mask;  // a pattern typed as the name, used in place of the filter
  TComboBox* PathCombo = nullptr;
  TListBox* List = nullptr;
  TEdit* NameEdit = nullptr;
  TComboBox* FilterCombo = nullptr;

  void Navigate(const AnsiString& To) {
    AnsiString dir = ExpandFileName(To);
    if (!DirectoryExists(dir)) {
      MessageDlg(To + "\nPath does not exist.", mtWarning, {mbOK}, 0);
      return;
    }
    Folder = dir;
    PathCombo->GetItems()->BeginUpdate();
    PathCombo->GetItems()->Clear();
    AnsiString step = Folder;
    std::vector<AnsiString> chain;
    while (true) {
      chain.push_back(step);
      if (step == "/" || step.empty()) break;
      step = ExtractFileDir(step);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) PathCombo->GetItems()->Add(*it);
    PathCombo->GetItems()->EndUpdate();
    PathCombo->SetItemIndex(PathCombo->GetItems()->Count() - 1);
    Refill();
  }

  void Refill() {
    std::vector<AnsiString> folders, files;
    AnsiString patterns = Mask;
    if (patterns.empty()) {
      auto entries = Dialog->FilterEntries();
      int32_t i = FilterCombo->GetItemIndex();
      if (i >= 0 && i < int32_t(entries.size())) patterns = entries[size_t(i)].Patterns;
    }
    bool hidden = Dialog->GetOptions().Contains(ofForceShowHidden);
    TSearchRec rec;
    if (FindFirst(IncludeTrailingPathDelimiter(Folder) + "*", faAnyFile, rec) == 0) {
      do {
        if (rec.Name == "." || rec.Name == "..") continue;
        if (!hidden && !rec.Name.empty() && rec.Name[0] == '.') continue;
        if (rec.Attr & faDirectory)
          folders.push_back(rec.Name);
        else if (FileDlgMatches(rec.Name, patterns))
          files.push_back(rec.Name);
      } while (FindNext(rec) == 0);
      FindClose(rec);
    }
    auto byName = [](const AnsiString& a, const AnsiString& b) { return CompareText(a, b) < 0; };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    TStrings* items = List->GetItems();
    items->BeginUpdate();
    items->Clear();
    if (Folder != "/") items->Add("../");
    for (const AnsiString& f : folders) items->Add(f + "/");
    for (const AnsiString& f : files) items->Add(f);
    items->EndUpdate();
  }

  static bool IsFolderItem(const AnsiString& s) { return !s.empty() && s.back() == '/'; }

  void ListClicked(TObject*) {
    AnsiString names;
    int32_t count = 0;
    for (int32_t i = 0; i < List->Count(); ++i) {
      bool selected = List->GetMultiSelect() ? List->GetSelected(i) : i == List->GetItemIndex();
      AnsiString s = List->GetItems()->Strings(i);
      if (!selected || IsFolderItem(s)) continue;
      names += (count ? " \"" : "\"") + s + "\"";
      ++count;
    }
    if (count == 1) names = names.substr(1, names.size() - 2);
    if (count > 0) NameEdit->SetText(names);
  }

  // Opens the current folder item; true when there was one.
  bool OpenFolderItem() {
    int32_t i = List->GetItemIndex();
    if (i < 0) return false;
    AnsiString s = List->GetItems()->Strings(i);
    if (!IsFolderItem(s)) return false;
    Navigate(s == "../" ? ExtractFileDir(Folder)
                        : IncludeTrailingPathDelimiter(Folder) + s.substr(0, s.size() - 1));
    return true;
  }

  void ListDblClicked(TObject*) {
    if (!OpenFolderItem()) OkClicked(nullptr);
  }

  void OkClicked(TObject*) {
    if (GetActiveControl() == PathCombo) return Navigate(PathCombo->GetText());
    if (GetActiveControl() == List && OpenFolderItem()) return;
    AnsiString text = Trim(NameEdit->GetText());
    if (text.empty()) {
      OpenFolderItem();
      return;
    }
    if (text.find_first_of("*?") != AnsiString::npos) {
      Mask = text;
      Refill();
      return;
    }
    std::vector<AnsiString> names = FileDlgSplitNames(text);
    if (names.size() == 1) {
      AnsiString path = FileDlgJoin(Folder, names[0]);
      if (DirectoryExists(path)) {
        NameEdit->SetText("");
        return Navigate(path);
      }
    }
    if (Dialog->ResolveChoice(Folder, names)) SetModalResult(mrOk);
  }

  void FilterChanged(TObject*) {
    Mask.clear();
    Dialog->SetFilterIndex(FilterCombo->GetItemIndex() + 1);
    Refill();
    Dialog->OnTypeChange(Dialog);
  }
  void PathSelected(TObject*) { Navigate(PathCombo->GetText()); }
  void UpClicked(TObject*) { Navigate(ExtractFileDir(Folder)); }
};

}  // namespace

const TClassInfo& TFileDialogForm::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFileDialogForm, TForm>("TFileDialogForm");
  return info;
}

TForm* TOpenDialog::CreateDialogForm() {
  auto* form = TCustomForm::CreateNew<TFileDialogForm>(Application);
  form->Dialog = this;
  form->SetBorderStyle(bsDialog);
  form->SetCaption(title_.empty() ? AnsiString(IsSave() ? "Save As" : "Open") : title_);
  form->SetPosition(poScreenCenter);
  form->SetClientWidth(440);
  form->SetClientHeight(300);
  form->PathCombo = DlgMake<TComboBox>(form, form, "PathCombo", 80, 8, 290, 24);
  DlgLabel(form, "PathLabel", IsSave() ? "Save &in:" : "Look &in:", 8, 12, form->PathCombo);
  auto* up = DlgMake<TButton>(form, form, "UpButton", 376, 7, 56, 25);
  up->SetCaption("&Up");
  form->List = DlgMake<TListBox>(form, form, "FileList", 8, 40, 424, 170);
  form->List->SetMultiSelect(options_.Contains(ofAllowMultiSelect));
  form->NameEdit = DlgMake<TEdit>(form, form, "NameEdit", 100, 220, 170, 24);
  DlgLabel(form, "NameLabel", "File &name:", 8, 224, form->NameEdit);
  form->FilterCombo = DlgMake<TComboBox>(form, form, "FilterCombo", 100, 256, 170, 24);
  form->FilterCombo->SetStyle(csDropDownList);
  DlgLabel(form, "FilterLabel", "Files of &type:", 8, 260, form->FilterCombo);
  auto* ok = DlgMake<TButton>(form, form, "OkButton", 357, 220, 75, 25);
  ok->SetCaption(IsSave() ? "&Save" : "&Open");
  ok->SetDefault(true);
  auto* cancel = DlgMake<TButton>(form, form, "CancelButton", 357, 255, 75, 25);
  cancel->SetCaption("Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  for (const TFilterEntry& e : FilterEntries()) form->FilterCombo->GetItems()->Add(e.Description);
  int32_t count = form->FilterCombo->GetItems()->Count();
  if (count > 0) form->FilterCombo->SetItemIndex(std::clamp(filterIndex_, 1, count) - 1);
  form->NameEdit->SetText(ExtractFileName(fileName_));
  ok->OnClick = TNotifyEvent(form, &TFileDialogForm::OkClicked);
  up->OnClick = TNotifyEvent(form, &TFileDialogForm::UpClicked);
  form->List->OnClick = TNotifyEvent(form, &TFileDialogForm::ListClicked);
  form->List->OnDblClick = TNotifyEvent(form, &TFileDialogForm::ListDblClicked);
  form->FilterCombo->OnSelect = TNotifyEvent(form, &TFileDialogForm::FilterChanged);
  form->PathCombo->OnSelect = TNotifyEvent(form, &TFileDialogForm::PathSelected);
  form->Navigate(StartFolder());
  form->SetActiveControl(form->NameEdit);
  return form;
}

bool TOpenDialog::AcceptForm(TForm*) { return false; }

// ============================================================================ colour dialog ===

namespace {
// The basic colours, in rows of eight.
const COLORREF kBasicColors[48] = {
    RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(0, 255, 128),   RGB(128, 255, 255),
    RGB(0, 128, 255),   RGB(255, 128, 192), RGB(255, 128, 255), RGB(255, 0, 0),     RGB(255, 255, 0),
    RGB(128, 255, 0),   RGB(0, 255, 64),    RGB(0, 255, 255),   RGB(0, 128, 192),   RGB(128, 128, 192),
    RGB(255, 0, 255),   RGB(128, 64, 64),   RGB(255, 128, 64),  RGB(0, 255, 0),     RGB(0, 128, 128),
    RGB(0, 64, 128),    RGB(128, 128, 255), RGB(128, 0, 64),    RGB(255, 0, 128),   RGB(128, 0, 0),
    RGB(255, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 64),    RGB(0, 0, 255),     RGB(0, 0, 160),
    RGB(128, 0, 128),   RGB(128, 0, 255),   RGB(64, 0, 0),      RGB(128, 64, 0),    RGB(0, 64, 0),
    RGB(0, 64, 64),     RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(64, 0, 64),     RGB(64, 0, 128),
    RGB(0, 0, 0),       RGB(128, 128, 0),   RGB(128, 128, 64),  RGB(128, 128, 128), RGB(64, 128, 128),
    RGB(192, 192, 192), RGB(64, 0, 64),     RGB(255, 255, 255)};

// A grid of colour swatches; a click or the arrows choose one.
class TColorSwatches : public TCustomControl {
  PL_CLASS(TColorSwatches)
 public:
  explicit TColorSwatches(TComponent* AOwner) : TCustomControl(AOwner) {
    SetTabStop(true);
    ControlStyle.Include(csOpaque);
  }
  std::vector<COLORREF> Colors;
  int32_t Columns = 8;
  int32_t Current = -1;
  TNotifyEvent OnPick;
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_GETDLGCODE) {
      m.Result = DLGC_WANTARROWS;
      return;
    }
    if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) Invalidate();
    TCustomControl::Dispatch(m);
  }

 protected:
  TRect Cell(int32_t i) {
    int32_t rows = (int32_t(Colors.size()) + Columns - 1) / Columns;
    int32_t w = GetClientWidth() / Columns, h = GetClientHeight() / std::max(1, rows);
    return Bounds((i % Columns) * w, (i / Columns) * h, w, h);
  }
  void Pick(int32_t i) {
    if (i < 0 || i >= int32_t(Colors.size())) return;
    Current = i;
    Invalidate();
    OnPick(this);
  }
  void Paint() override {
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(GetClientRect());
    for (int32_t i = 0; i < int32_t(Colors.size()); ++i) {
      RECT r = Cell(i);
      InflateRect(&r, -2, -2);
      DrawEdge(c->GetHandle(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
      c->GetBrush()->SetColor(TColor(Colors[size_t(i)]));
      c->FillRect(r);
      if (i == Current) {
        RECT f = Cell(i);
        c->GetBrush()->SetColor(clBtnFace);
        c->DrawFocusRect(f);
      }
    }
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override {
    if (CanFocus()) SetFocus();
    for (int32_t i = 0; i < int32_t(Colors.size()); ++i)
      if (Cell(i).Contains({X, Y})) Pick(i);
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void KeyDown(WORD& Key, TShiftState Shift) override {
    int32_t step = Key == VK_LEFT    ? -1
                   : Key == VK_RIGHT ? 1
                   : Key == VK_UP    ? -Columns
                   : Key == VK_DOWN  ? Columns
                                     : 0;
    if (step) {
      Pick(std::clamp(std::max(0, Current) + (Current < 0 ? 0 : step), 0, int32_t(Colors.size()) - 1));
      Key = 0;
    }
    TCustomControl::KeyDown(Key, Shift);
  }
};

// The colour dialog's form: the swatches feed the red, green and blue edits, which make the colour.
class TColorDialogForm : public TForm {
  PL_CLASS(TColorDialogForm)
 public:
  explicit TColorDialogForm(TComponent* AOwner) : TForm(AOwner) {}
  TColorSwatches *Basic = nullptr, *Custom = nullptr;
  TEdit *Red = nullptr, *Green = nullptr, *Blue = nullptr;
  TShape* Preview = nullptr;
  bool settingEdits = false;

  void Show(COLORREF c) {
    settingEdits = true;
    Red->SetText(IntToStr(GetRValue(c)));
    Green->SetText(IntToStr(GetGValue(c)));
    Blue->SetText(IntToStr(GetBValue(c)));
    settingEdits = false;
    Preview->GetBrush()->SetColor(TColor(c));
  }
  // The colour of the edits; false (and a message) when one holds no number from 0 to 255.
  bool Read(COLORREF& c, bool Complain) {
    int32_t v[3];
    TEdit* edits[3] = {Red, Green, Blue};
    for (int k = 0; k < 3; ++k) {
      if (!TryStrToInt(Trim(edits[k]->GetText()), v[k]) || v[k] < 0 || v[k] > 255) {
        if (Complain) {
          MessageDlg("Enter a number from 0 to 255.", mtError, {mbOK}, 0);
          if (edits[k]->CanFocus()) edits[k]->SetFocus();
        }
        return false;
      }
    }
    c = RGB(uint8_t(v[0]), uint8_t(v[1]), uint8_t(v[2]));
    return true;
  }
  void SwatchPicked(TObject* Sender) {
    auto* s = static_cast<TColorSwatches*>(Sender);
    if (s->Current >= 0) Show(s->Colors[size_t(s->Current)]);
    (s == Basic ? Custom : Basic)->Current = -1;
    (s == Basic ? Custom : Basic)->Invalidate();
  }
  void EditChanged(TObject*) {
    COLORREF c;
    if (!settingEdits && Read(c, false)) Preview->GetBrush()->SetColor(TColor(c));
  }
  void AddCustom(TObject*) {
    COLORREF c;
    if (!Read(c, true)) return;
    // Into the chosen custom slot, else the first white one, else the first.
    int32_t slot = Custom->Current;
    if (slot < 0) {
      auto it = std::find(Custom->Colors.begin(), Custom->Colors.end(), RGB(255, 255, 255));
      slot = it == Custom->Colors.end() ? 0 : int32_t(it - Custom->Colors.begin());
    }
    Custom->Colors[size_t(slot)] = c;
    Custom->Invalidate();
  }
};

}  // namespace

const TClassInfo& TColorSwatches::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TColorSwatches, TCustomControl>("TColorSwatches");
  return info;
}
const TClassInfo& TColorDialogForm::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TColorDialogForm, TForm>("TColorDialogForm");
  return info;
}

const TClassInfo& TColorDialog::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TColorDialog, TCommonDialog>("TColorDialog")
          .Prop("Color", &TColorDialog::GetColor, &TColorDialog::SetColor)
          .Default(clBlack)
          .Object("CustomColors", &TColorDialog::GetCustomColors, &TColorDialog::SetCustomColors);
  return info;
}

TColorDialog::TColorDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), customColors_(std::make_unique<TStringList>()) {}
TColorDialog::~TColorDialog() = default;

std::array<COLORREF, 16> TColorDialog::CustomColorValues() const {
  std::array<COLORREF, 16> out;
  out.fill(RGB(255, 255, 255));
  for (int32_t i = 0; i < 16; ++i) {
    AnsiString v = customColors_->Values(AnsiString("Color") + char('A' + i));
    int32_t n = 0;
    if (v.size() == 6 && TryStrToInt("$" + v, n))
      out[size_t(i)] = RGB(uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n));
  }
  return out;
}

void TColorDialog::SetCustomColorValues(const std::array<COLORREF, 16>& Values) {
  customColors_->Clear();
  for (int32_t i = 0; i < 16; ++i) {
    COLORREF c = Values[size_t(i)];
    customColors_->Add(
        AnsiString("Color") + char('A' + i) + "=" +
        IntToHex((int32_t(GetRValue(c)) << 16) | (int32_t(GetGValue(c)) << 8) | GetBValue(c), 6));
  }
}

TForm* TColorDialog::CreateDialogForm() {
  TForm* base = TCustomForm::CreateNew<TColorDialogForm>(Application);
  auto* form = static_cast<TColorDialogForm*>(base);
  form->SetBorderStyle(bsDialog);
  form->SetCaption(title_.empty() ? AnsiString("Color") : title_);
  form->SetPosition(poScreenCenter);
  form->SetClientWidth(420);
  form->SetClientHeight(260);
  form->Basic = DlgMake<TColorSwatches>(form, form, "BasicColors", 8, 24, 224, 132);
  form->Basic->Colors.assign(std::begin(kBasicColors), std::end(kBasicColors));
  DlgLabel(form, "BasicLabel", "&Basic colors:", 8, 6, form->Basic);
  form->Custom = DlgMake<TColorSwatches>(form, form, "CustomColors", 8, 182, 224, 44);
  auto custom = CustomColorValues();
  form->Custom->Colors.assign(custom.begin(), custom.end());
  DlgLabel(form, "CustomLabel", "&Custom colors:", 8, 164, form->Custom);
  form->Preview = DlgMake<TShape>(form, form, "Preview", 248, 24, 164, 60);
  const char* names[3] = {"&Red:", "&Green:", "Bl&ue:"};
  TEdit** edits[3] = {&form->Red, &form->Green, &form->Blue};
  for (int k = 0; k < 3; ++k) {
    *edits[k] = DlgMake<TEdit>(form, form,
                               k == 0   ? "RedEdit"
                               : k == 1 ? "GreenEdit"
                                        : "BlueEdit",
                               310, 96 + 30 * k, 60, 24);
    DlgLabel(form,
             k == 0   ? "RedLabel"
             : k == 1 ? "GreenLabel"
                      : "BlueLabel",
             names[k], 248, 100 + 30 * k, *edits[k]);
    (*edits[k])->OnChange = TNotifyEvent(form, &TColorDialogForm::EditChanged);
  }
  auto* add = DlgMake<TButton>(form, form, "AddButton", 248, 190, 164, 25);
  add->SetCaption("&Add to Custom Colors");
  add->OnClick = TNotifyEvent(form, &TColorDialogForm::AddCustom);
  form->Basic->OnPick = TNotifyEvent(form, &TColorDialogForm::SwatchPicked);
  form->Custom->OnPick = TNotifyEvent(form, &TColorDialogForm::SwatchPicked);
  TButton* ok = DlgButtons(form, "OK");
  ok->OnClick = TNotifyEvent::Lambda([this, form](TObject*) {
    if (AcceptForm(form)) form->SetModalResult(mrOk);
  });
  COLORREF c = COLORREF(ColorToRGB(color_));
  for (int32_t i = 0; i < 48; ++i)
    if (kBasicColors[i] == c) form->Basic->Current = i;
  form->Show(c);
  form->SetActiveControl(form->Basic);
  return form;
}

bool TColorDialog::AcceptForm(TForm* Form) {
  auto* form = static_cast<TColorDialogForm*>(Form);
  COLORREF c;
  if (!form->Read(c, true)) return false;
  color_ = TColor(c);
  std::array<COLORREF, 16> custom;
  for (size_t i = 0; i < 16; ++i) custom[i] = form->Custom->Colors[i];
  SetCustomColorValues(custom);
  return true;
}

// ============================================================================ font dialog =====

namespace {
const int32_t kFontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const struct {
  const char* Name;
  TColor Color;
} kFontColors[] = {{"Black", clBlack},   {"Maroon", clMaroon},   {"Green", clGreen}, {"Olive", clOlive},
                   {"Navy", clNavy},     {"Purple", clPurple},   {"Teal", clTeal},   {"Gray", clGray},
                   {"Silver", clSilver}, {"Red", clRed},         {"Lime", clLime},   {"Yellow", clYellow},
                   {"Blue", clBlue},     {"Fuchsia", clFuchsia}, {"Aqua", clAqua},   {"White", clWhite}};
const char* const kFontStyles[] = {"Regular", "Italic", "Bold", "Bold Italic"};
}  // namespace

const TClassInfo& TFontDialog::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFontDialog, TCommonDialog>("TFontDialog")
                                     .Object("Font", &TFontDialog::GetFont, &TFontDialog::SetFont);
  return info;
}

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), font_(std::make_unique<TFont>()) {}
TFontDialog::~TFontDialog() = default;

std::vector<AnsiString> TFontDialog::FaceNames() {
  return {"Arial",           "Courier New",     "DejaVu Sans",
          "Liberation Mono", "Liberation Sans", "Liberation Serif",
          "MS Sans Serif",   "Tahoma",          "Times New Roman"};
}

TForm* TFontDialog::CreateDialogForm() {
  TForm* form = NewDialogForm("Font", 420, 290);
  auto* faces = DlgMake<TListBox>(form, form, "FaceList", 8, 24, 170, 120);
  DlgLabel(form, "FaceLabel", "&Font:", 8, 6, faces);
  for (const AnsiString& f : FaceNames()) faces->GetItems()->Add(f);
  if (faces->GetItems()->IndexOf(font_->GetName()) < 0) faces->GetItems()->Add(font_->GetName());
  faces->SetItemIndex(faces->GetItems()->IndexOf(font_->GetName()));
  auto* styles = DlgMake<TListBox>(form, form, "StyleList", 186, 24, 120, 120);
  DlgLabel(form, "StyleLabel", "Font st&yle:", 186, 6, styles);
  for (const char* s : kFontStyles) styles->GetItems()->Add(s);
  TFontStyles st = font_->GetStyle();
  styles->SetItemIndex((st.Contains(fsBold) ? 2 : 0) + (st.Contains(fsItalic) ? 1 : 0));
  auto* size = DlgMake<TComboBox>(form, form, "SizeCombo", 314, 24, 98, 24);
  DlgLabel(form, "SizeLabel", "&Size:", 314, 6, size);
  for (int32_t s : kFontSizes)
    if ((MinFontSize <= 0 || s >= MinFontSize) && (MaxFontSize <= 0 || s <= MaxFontSize))
      size->GetItems()->Add(IntToStr(s));
  size->SetText(IntToStr(font_->GetSize()));
  auto* effects = DlgMake<TGroupBox>(form, form, "Effects", 8, 152, 170, 95);
  effects->SetCaption("Effects");
  effects->SetVisible(Options.Contains(fdEffects));
  auto* strike = DlgMake<TCheckBox>(form, effects, "StrikeOut", 8, 18, 150, 17);
  strike->SetCaption("Stri&keout");
  strike->SetChecked(st.Contains(fsStrikeOut));
  auto* under = DlgMake<TCheckBox>(form, effects, "Underline", 8, 38, 150, 17);
  under->SetCaption("&Underline");
  under->SetChecked(st.Contains(fsUnderline));
  auto* color = DlgMake<TComboBox>(form, effects, "ColorCombo", 8, 62, 150, 24);
  color->SetStyle(csDropDownList);
  for (const auto& k : kFontColors) color->GetItems()->Add(k.Name);
  for (int32_t i = 0; i < 16; ++i)
    if (kFontColors[i].Color == font_->GetColor()) color->SetItemIndex(i);
  if (color->GetItemIndex() < 0) color->SetItemIndex(0);
  auto* sample = DlgMake<TPanel>(form, form, "Sample", 186, 152, 226, 95);
  sample->SetCaption("AaBbYyZz");
  sample->SetBevelOuter(bvLowered);
  sample->GetFont()->Assign(font_.get());
  form->SetActiveControl(faces);
  return form;
}

bool TFontDialog::AcceptForm(TForm* Form) {
  auto* faces = static_cast<TListBox*>(Form->FindComponent("FaceList"));
  auto* styles = static_cast<TListBox*>(Form->FindComponent("StyleList"));
  auto* size = static_cast<TComboBox*>(Form->FindComponent("SizeCombo"));
  int32_t points = 0;
  if (!TryStrToInt(Trim(size->GetText()), points) || points <= 0 || points > 1638 ||
      (Options.Contains(fdLimitSize) &&
       ((MinFontSize > 0 && points < MinFontSize) || (MaxFontSize > 0 && points > MaxFontSize)))) {
    MessageDlg("Size must be a number" +
                   (Options.Contains(fdLimitSize)
                        ? " between " + IntToStr(MinFontSize) + " and " + IntToStr(MaxFontSize)
                        : AnsiString()) +
                   ".",
               mtError, {mbOK}, 0);
    return false;
  }
  if (faces->GetItemIndex() >= 0) font_->SetName(faces->GetItems()->Strings(faces->GetItemIndex()));
  font_->SetSize(points);
  TFontStyles st;
  int32_t s = std::max(0, styles->GetItemIndex());
  if (s & 1) st.Include(fsItalic);
  if (s & 2) st.Include(fsBold);
  if (Options.Contains(fdEffects)) {
    if (static_cast<TCheckBox*>(Form->FindComponent("StrikeOut"))->GetChecked()) st.Include(fsStrikeOut);
    if (static_cast<TCheckBox*>(Form->FindComponent("Underline"))->GetChecked()) st.Include(fsUnderline);
    int32_t c = static_cast<TComboBox*>(Form->FindComponent("ColorCombo"))->GetItemIndex();
    if (c >= 0) font_->SetColor(kFontColors[c].Color);
  } else {
    TFontStyles old = font_->GetStyle();
    if (old.Contains(fsStrikeOut)) st.Include(fsStrikeOut);
    if (old.Contains(fsUnderline)) st.Include(fsUnderline);
  }
  font_->SetStyle(st);
  return true;
}

// ============================================================================ printer dialogs =

const std::vector<TPaperKind>& PaperKinds() {
  static const std::vector<TPaperKind> kinds = {{DMPAPER_A4, "A4", 2100, 2970},
                                                {DMPAPER_A3, "A3", 2970, 4200},
                                                {DMPAPER_A5, "A5", 1480, 2100},
                                                {DMPAPER_LETTER, "Letter", 2159, 2794},
                                                {DMPAPER_LEGAL, "Legal", 2159, 3556}};
  return kinds;
}

namespace {
int32_t PaperIndexOf(int16_t code) {
  const auto& kinds = PaperKinds();
  for (size_t i = 0; i < kinds.size(); ++i)
    if (kinds[i].Code == code) return int32_t(i);
  return 0;
}

TComboBox* DlgPrinterCombo(TForm* form, TWinControl* parent, int32_t x, int32_t y, int32_t w, int32_t index) {
  auto* c = DlgMake<TComboBox>(form, parent, "PrinterCombo", x, y, w, 24);
  c->SetStyle(csDropDownList);
  c->GetItems()->Assign(Printer()->GetPrinters());
  c->SetItemIndex(index >= 0 ? index : Printer()->GetPrinterIndex());
  return c;
}

TComboBox* DlgPaperCombo(TForm* form, TWinControl* parent, int32_t x, int32_t y, int32_t w, int16_t code) {
  auto* c = DlgMake<TComboBox>(form, parent, "PaperCombo", x, y, w, 24);
  c->SetStyle(csDropDownList);
  for (const TPaperKind& k : PaperKinds()) c->GetItems()->Add(k.Name);
  c->SetItemIndex(PaperIndexOf(code));
  return c;
}

void DlgOrientation(TForm* form, TWinControl* parent, int32_t x, int32_t y, TPrinterOrientation o) {
  auto* g = DlgMake<TGroupBox>(form, parent, "OrientationBox", x, y, 150, 70);
  g->SetCaption("Orientation");
  auto* p = DlgMake<TRadioButton>(form, g, "Portrait", 10, 20, 120, 17);
  p->SetCaption("P&ortrait");
  auto* l = DlgMake<TRadioButton>(form, g, "Landscape", 10, 42, 120, 17);
  l->SetCaption("L&andscape");
  (o == poLandscape ? l : p)->SetChecked(true);
}

TPrinterOrientation DlgOrientationOf(TForm* form) {
  return static_cast<TRadioButton*>(form->FindComponent("Landscape"))->GetChecked() ? poLandscape
                                                                                    : poPortrait;
}

// Gives the printer the paper size through its device mode.
void DlgApplyPaper(int16_t code) {
  char device[256] = {}, driver[256] = {}, port[256] = {};
  HGLOBAL mode = nullptr;
  Printer()->GetPrinter(device, driver, port, mode);
  if (!mode) return;
  auto* dm = static_cast<DEVMODEA*>(GlobalLock(mode));
  if (!dm) return;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVMODEA));
  auto* out = static_cast<DEVMODEA*>(GlobalLock(copy));
  *out = *dm;
  GlobalUnlock(mode);
  out->dmPaperSize = code;
  out->dmFields |= DM_PAPERSIZE;
  GlobalUnlock(copy);
  Printer()->SetPrinter(device, driver, port, copy);
}

bool DlgSelectPrinter(int32_t index) {
  if (index < 0) return true;
  if (index >= Printer()->GetPrinters()->Count()) return false;
  Printer()->SetPrinterIndex(index);
  return true;
}
}  // namespace

const TClassInfo& TPrintDialog::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPrintDialog, TCommonDialog>("TPrintDialog");
  return info;
}

TForm* TPrintDialog::CreateDialogForm() {
  TForm* form = NewDialogForm("Print", 400, 230);
  auto* printer = DlgPrinterCombo(form, form, 80, 8, 312, PrinterIndex);
  DlgLabel(form, "PrinterLabel", "&Name:", 8, 12, printer);
  auto* range = DlgMake<TGroupBox>(form, form, "RangeBox", 8, 44, 200, 140);
  range->SetCaption("Page range");
  auto* all = DlgMake<TRadioButton>(form, range, "AllPages", 10, 20, 170, 17);
  all->SetCaption("&All");
  auto* sel = DlgMake<TRadioButton>(form, range, "Selection", 10, 42, 170, 17);
  sel->SetCaption("&Selection");
  sel->SetEnabled(Options.Contains(poSelection));
  auto* pages = DlgMake<TRadioButton>(form, range, "PageNums", 10, 64, 170, 17);
  pages->SetCaption("&Pages");
  pages->SetEnabled(Options.Contains(poPageNums));
  (PrintRange == prSelection ? sel : PrintRange == prPageNums ? pages : all)->SetChecked(true);
  auto* from = DlgMake<TEdit>(form, range, "FromEdit", 40, 90, 50, 24);
  from->SetText(IntToStr(FromPage));
  auto* to = DlgMake<TEdit>(form, range, "ToEdit", 120, 90, 50, 24);
  to->SetText(IntToStr(ToPage));
  auto* copies = DlgMake<TEdit>(form, form, "CopiesEdit", 320, 52, 72, 24);
  copies->SetText(IntToStr(Copies));
  DlgLabel(form, "CopiesLabel", "Number of &copies:", 216, 56, copies);
  auto* collate = DlgMake<TCheckBox>(form, form, "CollateCheck", 216, 86, 150, 17);
  collate->SetCaption("C&ollate");
  collate->SetChecked(Collate);
  form->SetActiveControl(copies);
  return form;
}

bool TPrintDialog::AcceptForm(TForm* Form) {
  int32_t copies = 0, from = 0, to = 0;
  if (!TryStrToInt(Trim(static_cast<TEdit*>(Form->FindComponent("CopiesEdit"))->GetText()), copies) ||
      copies < 1 || copies > 9999) {
    MessageDlg("The number of copies must be from 1 to 9999.", mtError, {mbOK}, 0);
    return false;
  }
  TPrintRange range = static_cast<TRadioButton*>(Form->FindComponent("PageNums"))->GetChecked() ? prPageNums
                      : static_cast<TRadioButton*>(Form->FindComponent("Selection"))->GetChecked()
                          ? prSelection
                          : prAllPages;
  if (range == prPageNums) {
    bool ok = TryStrToInt(Trim(static_cast<TEdit*>(Form->FindComponent("FromEdit"))->GetText()), from) &&
              TryStrToInt(Trim(static_cast<TEdit*>(Form->FindComponent("ToEdit"))->GetText()), to) &&
              from >= 1 && to >= from && (MaxPage <= 0 || to <= MaxPage) && from >= MinPage;
    if (!ok) {
      MessageDlg("The page range is not valid.", mtError, {mbOK}, 0);
      return false;
    }
    FromPage = from;
    ToPage = to;
  }
  Copies = copies;
  PrintRange = range;
  Collate = static_cast<TCheckBox*>(Form->FindComponent("CollateCheck"))->GetChecked();
  PrinterIndex = static_cast<TComboBox*>(Form->FindComponent("PrinterCombo"))->GetItemIndex();
  return AcceptResponse();
}

bool TPrintDialog::AcceptResponse() {
  if (!DlgSelectPrinter(PrinterIndex)) return false;
  Printer()->SetCopies(std::max(1, Copies));
  return true;
}

const TClassInfo& TPrinterSetupDialog::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPrinterSetupDialog, TCommonDialog>("TPrinterSetupDialog");
  return info;
}

TForm* TPrinterSetupDialog::CreateDialogForm() {
  TForm* form = NewDialogForm("Print Setup", 400, 170);
  auto* printer = DlgPrinterCombo(form, form, 80, 8, 312, PrinterIndex);
  DlgLabel(form, "PrinterLabel", "&Name:", 8, 12, printer);
  auto* paper = DlgPaperCombo(form, form, 80, 44, 130, PaperSize);
  DlgLabel(form, "PaperLabel", "Si&ze:", 8, 48, paper);
  DlgOrientation(form, form, 240, 40, Orientation);
  form->SetActiveControl(printer);
  return form;
}

bool TPrinterSetupDialog::AcceptForm(TForm* Form) {
  PrinterIndex = static_cast<TComboBox*>(Form->FindComponent("PrinterCombo"))->GetItemIndex();
  PaperSize =
      PaperKinds()[size_t(std::max(
                       0, static_cast<TComboBox*>(Form->FindComponent("PaperCombo"))->GetItemIndex()))]
          .Code;
  Orientation = DlgOrientationOf(Form);
  return AcceptResponse();
}

bool TPrinterSetupDialog::AcceptResponse() {
  if (!DlgSelectPrinter(PrinterIndex)) return false;
  Printer()->SetOrientation(Orientation);
  DlgApplyPaper(PaperSize);
  return true;
}

const TClassInfo& TPageSetupDialog::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPageSetupDialog, TCommonDialog>("TPageSetupDialog");
  return info;
}

TForm* TPageSetupDialog::CreateDialogForm() {
  TForm* form = NewDialogForm("Page Setup", 400, 200);
  auto* paper = DlgPaperCombo(form, form, 80, 8, 130, PaperSize);
  DlgLabel(form, "PaperLabel", "Si&ze:", 8, 12, paper);
  DlgOrientation(form, form, 240, 4, Orientation);
  auto* margins = DlgMake<TGroupBox>(form, form, "MarginsBox", 8, 80, 384, 76);
  bool inches = Units == pmInches;
  margins->SetCaption(inches ? "Margins (inches)" : "Margins (millimeters)");
  const char* names[4] = {"&Left:", "&Right:", "&Top:", "&Bottom:"};
  const char* edits[4] = {"LeftEdit", "RightEdit", "TopEdit", "BottomEdit"};
  int32_t values[4] = {MarginLeft, MarginRight, MarginTop, MarginBottom};
  for (int k = 0; k < 4; ++k) {
    auto* e = DlgMake<TEdit>(form, margins, edits[k], 70 + (k % 2) * 190, 18 + (k / 2) * 28, 80, 24);
    e->SetText(FloatToStr(values[k] / (inches ? 1000.0 : 100.0)));
    auto* l = DlgMake<TLabel>(form, margins, (AnsiString(edits[k]) + "Label").c_str(), 10 + (k % 2) * 190,
                              22 + (k / 2) * 28, 10, 13);
    l->SetCaption(names[k]);
    l->SetFocusControl(e);
  }
  form->SetActiveControl(paper);
  return form;
}

bool TPageSetupDialog::AcceptForm(TForm* Form) {
  bool inches = Units == pmInches;
  const char* edits[4] = {"LeftEdit", "RightEdit", "TopEdit", "BottomEdit"};
  int32_t values[4];
  for (int k = 0; k < 4; ++k) {
    double v = 0;
    if (!TryStrToFloat(Trim(static_cast<TEdit*>(Form->FindComponent(edits[k]))->GetText()), v) || v < 0 ||
        v > 1000) {
      MessageDlg("The margins must be numbers from 0 to 1000.", mtError, {mbOK}, 0);
      return false;
    }
    values[k] = int32_t(Round(v * (inches ? 1000.0 : 100.0)));
  }
  MarginLeft = values[0];
  MarginRight = values[1];
  MarginTop = values[2];
  MarginBottom = values[3];
  PaperSize =
      PaperKinds()[size_t(std::max(
                       0, static_cast<TComboBox*>(Form->FindComponent("PaperCombo"))->GetItemIndex()))]
          .Code;
  Orientation = DlgOrientationOf(Form);
  return true;
}

// ============================================================================ the system's calls

namespace {
thread_local DWORD g_commDlgError = 0;

BOOL DlgFail(DWORD error) {
  g_commDlgError = error;
  return FALSE;
}

BOOL RunFileDialog(OPENFILENAMEA* ofn, bool save) {
  g_commDlgError = 0;
  if (!ofn) return DlgFail(CDERR_INITIALIZATION);
  if (ofn->lStructSize != sizeof(OPENFILENAMEA) && ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400)
    return DlgFail(CDERR_STRUCTSIZE);
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) return DlgFail(CDERR_INITIALIZATION);
  std::unique_ptr<TOpenDialog> dlg(save ? new TSaveDialog(nullptr) : new TOpenDialog(nullptr));
  // "desc\0pattern\0...\0\0" becomes "desc|pattern|...".
  AnsiString filter;
  if (const char* f = ofn->lpstrFilter) {
    for (size_t guard = 0; *f && guard < 512; ++guard) {
      if (!filter.empty()) filter += "|";
      size_t n = strnlen(f, 4096);
      filter.append(f, n);
      f += n + 1;
    }
  }
  dlg->SetFilter(filter);
  dlg->SetFilterIndex(ofn->nFilterIndex ? int32_t(ofn->nFilterIndex) : 1);
  dlg->SetFileName(AnsiString(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile)));
  if (ofn->lpstrInitialDir) dlg->SetInitialDir(ofn->lpstrInitialDir);
  if (ofn->lpstrDefExt) dlg->SetDefaultExt(ofn->lpstrDefExt);
  if (ofn->lpstrTitle) dlg->SetTitle(ofn->lpstrTitle);
  TOpenOptions o;
  const struct {
    DWORD Flag;
    TOpenOption Option;
  } map[] = {{OFN_READONLY, ofReadOnly},           {OFN_OVERWRITEPROMPT, ofOverwritePrompt},
             {OFN_HIDEREADONLY, ofHideReadOnly},   {OFN_NOCHANGEDIR, ofNoChangeDir},
             {OFN_NOVALIDATE, ofNoValidate},       {OFN_ALLOWMULTISELECT, ofAllowMultiSelect},
             {OFN_PATHMUSTEXIST, ofPathMustExist}, {OFN_FILEMUSTEXIST, ofFileMustExist},
             {OFN_CREATEPROMPT, ofCreatePrompt},   {OFN_ENABLESIZING, ofEnableSizing}};
  for (const auto& m : map)
    if (ofn->Flags & m.Flag) o.Include(m.Option);
  dlg->SetOptions(o);
  if (!dlg->Execute()) return FALSE;
  // One file: its path; several: the folder and the names, each ended by a NUL, then a NUL.
  AnsiString out;
  TStrings* files = dlg->GetFiles();
  WORD offset = 0;
  if (files->Count() > 1) {
    AnsiString dir = ExtractFileDir(files->Strings(0));
    out = dir + '\0';
    offset = WORD(out.size());
    for (int32_t i = 0; i < files->Count(); ++i) out += ExtractFileName(files->Strings(i)) + '\0';
  } else {
    out = dlg->GetFileName();
    offset = WORD(ExtractFilePath(out).size());
  }
  out += '\0';
  if (out.size() > ofn->nMaxFile) {
    // The first two bytes tell the size needed.
    if (ofn->nMaxFile >= 2) {
      WORD need = WORD(std::min<size_t>(out.size(), 0xFFFF));
      std::memcpy(ofn->lpstrFile, &need, sizeof need);
    }
    return DlgFail(FNERR_BUFFERTOOSMALL);
  }
  std::memcpy(ofn->lpstrFile, out.data(), out.size());
  ofn->nFileOffset = offset;
  AnsiString first = files->Count() > 0 ? files->Strings(0) : dlg->GetFileName();
  AnsiString ext = ExtractFileExt(first);
  ofn->nFileExtension =
      files->Count() > 1 || ext.empty() ? 0 : WORD(dlg->GetFileName().size() - ext.size() + 1);
  ofn->nFilterIndex = DWORD(dlg->GetFilterIndex());
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
    AnsiString title = ExtractFileName(first);
    size_t n = std::min<size_t>(title.size(), ofn->nMaxFileTitle - 1);
    std::memcpy(ofn->lpstrFileTitle, title.data(), n);
    ofn->lpstrFileTitle[n] = 0;
  }
  return TRUE;
}
}  // namespace

DWORD CommDlgExtendedError() { return g_commDlgError; }

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) { return RunFileDialog(ofn, false); }
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) { return RunFileDialog(ofn, true); }

BOOL ChooseColorA(CHOOSECOLORA* cc) {
  g_commDlgError = 0;
  if (!cc) return DlgFail(CDERR_INITIALIZATION);
  if (cc->lStructSize != sizeof(CHOOSECOLORA)) return DlgFail(CDERR_STRUCTSIZE);
  if (!cc->lpCustColors) return DlgFail(CDERR_INITIALIZATION);
  TColorDialog dlg(nullptr);
  dlg.SetColor(cc->Flags & CC_RGBINIT ? TColor(cc->rgbResult) : clBlack);
  std::array<COLORREF, 16> custom;
  std::copy(cc->lpCustColors, cc->lpCustColors + 16, custom.begin());
  dlg.SetCustomColorValues(custom);
  if (!dlg.Execute()) return FALSE;
  cc->rgbResult = COLORREF(ColorToRGB(dlg.GetColor()));
  custom = dlg.CustomColorValues();
  std::copy(custom.begin(), custom.end(), cc->lpCustColors);
  return TRUE;
}

BOOL ChooseFontA(CHOOSEFONTA* cf) {
  g_commDlgError = 0;
  if (!cf) return DlgFail(CDERR_INITIALIZATION);
  if (cf->lStructSize != sizeof(CHOOSEFONTA)) return DlgFail(CDERR_STRUCTSIZE);
  if (!cf->lpLogFont) return DlgFail(CDERR_INITIALIZATION);
  TFontDialog dlg(nullptr);
  if (cf->Flags & CF_INITTOLOGFONTSTRUCT) {
    LOGFONTA lf = *cf->lpLogFont;
    lf.lfFaceName[sizeof lf.lfFaceName - 1] = 0;
    dlg.GetFont()->SetHandle(CreateFontIndirectA(&lf));
  }
  dlg.Options = {};
  if (cf->Flags & CF_EFFECTS) {
    dlg.Options.Include(fdEffects);
    dlg.GetFont()->SetColor(TColor(cf->rgbColors));
  }
  if (cf->Flags & CF_LIMITSIZE) {
    dlg.Options.Include(fdLimitSize);
    dlg.MinFontSize = cf->nSizeMin;
    dlg.MaxFontSize = cf->nSizeMax;
  }
  if (!dlg.Execute()) return FALSE;
  *cf->lpLogFont = dlg.GetFont()->LogFont();
  cf->iPointSize = dlg.GetFont()->GetSize() * 10;
  if (cf->Flags & CF_EFFECTS) cf->rgbColors = COLORREF(ColorToRGB(dlg.GetFont()->GetColor()));
  return TRUE;
}

BOOL PageSetupDlgA(PAGESETUPDLGA* psd) {
  g_commDlgError = 0;
  if (!psd) return DlgFail(CDERR_INITIALIZATION);
  if (psd->lStructSize != sizeof(PAGESETUPDLGA)) return DlgFail(CDERR_STRUCTSIZE);
  bool mm = (psd->Flags & PSD_INHUNDREDTHSOFMILLIMETERS) != 0 || !(psd->Flags & PSD_INTHOUSANDTHSOFINCHES);
  TPageSetupDialog dlg(nullptr);
  dlg.Units = mm ? pmMillimeters : pmInches;
  // The device mode given, else the printer's.
  DEVMODEA mode;
  bool haveMode = false;
  if (psd->hDevMode && GlobalSize(psd->hDevMode) >= sizeof(DEVMODEA)) {
    if (auto* dm = static_cast<DEVMODEA*>(GlobalLock(psd->hDevMode))) {
      mode = *dm;
      haveMode = true;
      GlobalUnlock(psd->hDevMode);
    }
  }
  char device[256] = {}, driver[256] = {}, port[256] = {};
  HGLOBAL printerMode = nullptr;
  try {
    Printer()->GetPrinter(device, driver, port, printerMode);
  } catch (const Exception&) {
    return DlgFail(PDERR_NODEFAULTPRN);
  }
  if (!haveMode && printerMode) {
    if (auto* dm = static_cast<DEVMODEA*>(GlobalLock(printerMode))) {
      mode = *dm;
      haveMode = true;
      GlobalUnlock(printerMode);
    }
  }
  if (haveMode) {
    dlg.Orientation = mode.dmOrientation == DMORIENT_LANDSCAPE ? poLandscape : poPortrait;
    if (mode.dmFields & DM_PAPERSIZE) dlg.PaperSize = mode.dmPaperSize;
  }
  if (psd->Flags & PSD_MARGINS) {
    dlg.MarginLeft = psd->rtMargin.Left;
    dlg.MarginTop = psd->rtMargin.Top;
    dlg.MarginRight = psd->rtMargin.Right;
    dlg.MarginBottom = psd->rtMargin.Bottom;
  }
  if (!(psd->Flags & PSD_RETURNDEFAULT) && !dlg.Execute()) return FALSE;
  psd->rtMargin = TRect{dlg.MarginLeft, dlg.MarginTop, dlg.MarginRight, dlg.MarginBottom};
  const TPaperKind& paper = PaperKinds()[size_t(PaperIndexOf(dlg.PaperSize))];
  int32_t w = mm ? paper.Width * 10 : int32_t(Round(paper.Width * 1000.0 / 254.0));
  int32_t h = mm ? paper.Height * 10 : int32_t(Round(paper.Height * 1000.0 / 254.0));
  psd->ptPaperSize = dlg.Orientation == poLandscape ? TPoint{h, w} : TPoint{w, h};
  if (!haveMode) {
    std::memcpy(mode.dmDeviceName, device, std::min(std::strlen(device), sizeof mode.dmDeviceName - 1));
  }
  mode.dmOrientation = dlg.Orientation == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  mode.dmPaperSize = dlg.PaperSize;
  mode.dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
  if (!psd->hDevMode || GlobalSize(psd->hDevMode) < sizeof(DEVMODEA))
    psd->hDevMode = GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVMODEA));
  if (auto* dm = static_cast<DEVMODEA*>(GlobalLock(psd->hDevMode))) {
    *dm = mode;
    GlobalUnlock(psd->hDevMode);
  }
  // The names block: the record, then driver, device and port, each ended by a NUL.
  AnsiString names = AnsiString(driver) + '\0' + device + '\0' + port + '\0';
  size_t bytes = sizeof(DEVNAMES) + names.size();
  if (psd->hDevNames) GlobalFree(psd->hDevNames);
  psd->hDevNames = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (auto* dn = static_cast<char*>(GlobalLock(psd->hDevNames))) {
    DEVNAMES head;
    head.wDriverOffset = WORD(sizeof(DEVNAMES));
    head.wDeviceOffset = WORD(sizeof(DEVNAMES) + std::strlen(driver) + 1);
    head.wOutputOffset = WORD(head.wDeviceOffset + std::strlen(device) + 1);
    std::memcpy(dn, &head, sizeof head);
    std::memcpy(dn + sizeof head, names.data(), names.size());
    GlobalUnlock(psd->hDevNames);
  }
  return TRUE;
}
