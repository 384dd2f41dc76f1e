// The edit control's window styles, messages and notifications, with the system's numbers.
// The edit itself is the framework's TCustomEdit (platform/ui/StdEdit.h), which answers them.
#pragma once

#include "platform/os/user/UserTypes.h"

// ---- styles ------------------------------------------------------------------------------------
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_OEMCONVERT = 0x0400;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;

// ---- messages ----------------------------------------------------------------------------------
// WParam, LParam: DWORD* receiving start and end (either may be 0); Result MAKELONG(start, end).
constexpr UINT EM_GETSEL = 0x00B0;
// WParam: anchor (-1 removes the selection), LParam: caret end (-1: the end of the text).
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_GETRECT = 0x00B2;
// LParam: RECT* of the formatting rectangle (client coordinates), nullptr: the default one.
constexpr UINT EM_SETRECT = 0x00B3;
constexpr UINT EM_SETRECTNP = 0x00B4;
constexpr UINT EM_SCROLL = 0x00B5;
// WParam: characters to scroll right, LParam: lines to scroll down.
constexpr UINT EM_LINESCROLL = 0x00B6;
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
// WParam: line (-1: the caret's); Result its first character, -1 past the last line.
constexpr UINT EM_LINEINDEX = 0x00BB;
// WParam: a character index; Result the length of its line.
constexpr UINT EM_LINELENGTH = 0x00C1;
// WParam: can undo; LParam: the text (LPCSTR) replacing the selection.
constexpr UINT EM_REPLACESEL = 0x00C2;
// WParam: line; LParam: buffer whose first WORD holds its size.  Result: characters copied (no
// terminator).
constexpr UINT EM_GETLINE = 0x00C4;
// WParam: the most characters the user may enter; 0 lifts the limit.
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = 0x00C5;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
// WParam: a character index (-1: the caret's); Result its line.
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
// WParam: the character shown instead of each typed one; 0 shows the text.
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
// WParam: a character index; Result MAKELONG(x, y) of its top-left corner (client coordinates).
constexpr UINT EM_POSFROMCHAR = 0x00D6;
// LParam: a client point; Result MAKELONG(character index, line).
constexpr UINT EM_CHARFROMPOS = 0x00D7;

// ---- notifications (WM_COMMAND to the parent, high word of WParam) ------------------------------
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_ERRSPACE = 0x0500;
constexpr WORD EN_MAXTEXT = 0x0501;
constexpr WORD EN_HSCROLL = 0x0601;
constexpr WORD EN_VSCROLL = 0x0602;

// ---- margins -----------------------------------------------------------------------------------
// WParam: which margins (EC_*), LParam: MAKELONG(left, right) in pixels.
constexpr UINT EM_SETMARGINS = 0x00D3;
// Result: MAKELONG(left, right).
constexpr UINT EM_GETMARGINS = 0x00D4;
constexpr WPARAM EC_LEFTMARGIN = 0x0001;
constexpr WPARAM EC_RIGHTMARGIN = 0x0002;
// Back to the margins the edit starts with.
constexpr WPARAM EC_USEFONTINFO = 0xFFFF;

// ---- the rich edit (TRichEdit in platform/ui/RichEdit.h) --------------------------------------
// WParam: nonzero draws, zero measures only; LParam: FORMATRANGE*, nullptr releases what the
// control kept for formatting.  Result: the first character that did not fit.
constexpr UINT EM_FORMATRANGE = 0x0400 + 57;
constexpr UINT EM_GETEVENTMASK = 0x0400 + 59;
// Sends EN_REQUESTRESIZE with the size the content needs, changed or not.
constexpr UINT EM_REQUESTRESIZE = 0x0400 + 65;
// LParam: the new ENM_* mask; Result: the old one.
constexpr UINT EM_SETEVENTMASK = 0x0400 + 69;

constexpr DWORD ENM_NONE = 0x00000000;
constexpr DWORD ENM_CHANGE = 0x00000001;
constexpr DWORD ENM_REQUESTRESIZE = 0x00040000;
constexpr DWORD ENM_SELCHANGE = 0x00080000;

// Rich edit notifications come as CN_NOTIFY with an NMHDR-headed record in LParam.
constexpr UINT EN_REQUESTRESIZE = 0x0701;

// EN_REQUESTRESIZE: rc is the window size that shows the whole content.
struct REQRESIZE {
  NMHDR nmhdr;
  RECT rc;
};

// A character range; cpMax -1 is the end of the text.
struct CHARRANGE {
  int32_t cpMin;
  int32_t cpMax;
};

// EM_FORMATRANGE: rc (the area to fill) and rcPage in twips, in the coordinates of hdc.
struct FORMATRANGE {
  HDC hdc;
  HDC hdcTarget;
  RECT rc;
  RECT rcPage;
  CHARRANGE chrg;
};
