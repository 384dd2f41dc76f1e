// Message boxes: MessageBox with the system's flags and answers, the framework's MessageDlg and
// ShowMessage, and the message form they show (a dialog drawing its own icon, text and simple
// buttons).  A hook can answer every box instead of showing it (tests, scripted runs).
//
// Thread contract: main thread only; the boxes run a modal loop.
#pragma once

#include <functional>

#include "platform/ui/Forms.h"

// ---- MessageBox flags and answers ------------------------------------------------------------

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// ---- dialog kinds and buttons ------------------------------------------------------------------

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn, 16>;
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// What a box asks: its text, caption, kind (icon), buttons and the button Enter presses.
struct TMessageBoxRequest {
  AnsiString Text;
  AnsiString Caption;
  TMsgDlgType DlgType = mtCustom;
  TMsgDlgButtons Buttons;
  TMsgDlgBtn DefaultButton = mbOK;
};

// Answers a box with the modal result of the button that would have been pressed.  Installing
// one returns the hook it replaces; an empty hook shows the boxes again.
using TMessageBoxHook = std::function<TModalResult(const TMessageBoxRequest&)>;
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook Hook);

// The system's message box: the buttons and icon of Type, owned by hWnd (disabled meanwhile);
// answers IDOK ... IDNO.  Escape answers IDCANCEL when there is a Cancel button (IDOK for a box
// with OK alone).
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
inline int MessageBox(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  return MessageBoxA(hWnd, lpText, lpCaption, uType);
}

// The message form for Msg: caption by kind ("Warning", "Error", "Information",
// "Confirmation", the application's title for mtCustom), the kind's icon, the buttons in the
// order of TMsgDlgBtn, the default one focused.  The caller shows and frees it.
TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                           TMsgDlgBtn DefaultButton);
TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// Shows the message form modally and answers the modal result of the button pressed.
TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int32_t HelpCtx);
TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int32_t HelpCtx,
                        TMsgDlgBtn DefaultButton);
void ShowMessage(const AnsiString& Msg);
