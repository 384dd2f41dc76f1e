// The framework's own messages: CM_* notifications that controls send one another, and CN_*
// reflections (a window message handed back to the control it concerns before the window sees
// it), with the records their parameters carry.  WM_* numbers come from the window manager.
//
// The numbers of CM_DIALOGKEY .. CM_SYSCOLORCHANGE are fixed (components test them by value);
// the others fill the same block in our own order.
#pragma once

#include "platform/os/user/Messages.h"

// ---- framework notifications -------------------------------------------------------------------

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
// WParam: the key; LParam: the key data.  Result non-zero: the key was used.
constexpr UINT CM_DIALOGKEY = 0xB005;
// WParam: the character; LParam: the key data.  Result non-zero: an accelerator took it.
constexpr UINT CM_DIALOGCHAR = 0xB006;
// Sent to a form; LParam: the control that now has the focus.
constexpr UINT CM_FOCUSCHANGED = 0xB007;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
// LParam: the point (control coordinates, packed); Result non-zero: the point is on the control.
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = 0xB00C;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = 0xB00E;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = 0xB012;
constexpr UINT CM_MOUSEENTER = 0xB013;
constexpr UINT CM_MOUSELEAVE = 0xB014;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
// WParam: the group index; LParam: the button that went down.
constexpr UINT CM_BUTTONPRESSED = 0xB018;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = 0xB01A;
constexpr UINT CM_EXIT = 0xB01B;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
// WParam: the key; LParam: the key data.  Result non-zero: the control handles the key itself
// (Tab, arrows, Enter, Escape) and the form does not navigate with it.
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = 0xB024;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
// WParam: 1 inserted, 0 removed; LParam: the control.  Sent to the parent.
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
// WParam: 1 inserted, 0 removed; LParam: the control.  Sent to the parent after the change.
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
// LParam: the THintInfo to fill in; Result non-zero: no hint.
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
// WParam: key state in the low word, wheel delta in the high word; LParam: screen point.
// Result non-zero: handled.
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
// WParam: the key; LParam: the control the key arrived at.  Result non-zero: used.
constexpr UINT CM_CHILDKEY = CM_BASE + 46;

// ---- reflected notifications -------------------------------------------------------------------

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
// The message loop sends these to the control a key message is meant for, before the message
// is translated and dispatched; Result non-zero stops it there.
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSKEYUP = CN_BASE + WM_SYSKEYUP;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// Button notifications carried by CN_COMMAND (high word of WParam).
constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_DOUBLECLICKED = 5;

// ---- private messages of the components -------------------------------------------------------
// Numbers the components post or send to their own windows; fixed because the components and
// their tests use them by value.

// The serial port's delivery to its hidden window.
constexpr UINT WM_COMPORT_DELIVER = WM_USER + 1;
// A progress window starts its work (posted to itself).
constexpr UINT WM_PROGRESS_START = WM_USER + 1;
// The hook list: re-hook a window, free an empty hook.
constexpr UINT WM_HOOK_REHOOK = 0xB0DE;
constexpr UINT WM_HOOK_FREEEMPTY = 0xB0DF;
// Skinned forms: the notification icon's callback, redraw the frame (WParam 13 after a caption
// change), maximise an MDI child, apply a stored window state.
constexpr UINT WM_SKIN_TRAYCALLBACK = 1388;
constexpr UINT WM_SKIN_REDRAWFRAME = 1389;
constexpr UINT WM_SKIN_MAXIMIZECHILD = 1390;
constexpr UINT WM_SKIN_APPLYSTATE = 1391;
// Paint a skinned window into a device context: WParam two signed 16-bit offsets, LParam the DC.
constexpr UINT WM_SKIN_PAINTTO = 0xB1C8;
// Menus: a deferred item click (LParam the item) and opening a submenu.
constexpr UINT WM_MENU_DEFERREDCLICK = 2234;
constexpr UINT WM_MENU_OPENSUBMENU = 1135;

// ---- message records -----------------------------------------------------------------------------

// A key message seen as its parts (OnShortCut, dialog keys).
struct TWMKey {
  UINT Msg = 0;
  WORD CharCode = 0;
  LPARAM KeyData = 0;
  LRESULT Result = 0;
};

inline TWMKey ToWMKey(const TMessage& m) { return {m.Msg, WORD(m.WParam), m.LParam, m.Result}; }
inline TMessage FromWMKey(const TWMKey& k) { return {k.Msg, WPARAM(k.CharCode), k.KeyData, k.Result}; }
