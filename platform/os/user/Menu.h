// Menus of the window manager: menu handles and their items, the menu bar in a window's
// non-client area, the system menu, and the modal menu loop that tracks popup menus.
//
// Thread contract: main thread only.  A menu loop runs inside TrackPopupMenu (or inside the
// WM_SYSCOMMAND that opened the menu bar or the system menu) until an item is chosen or the menu
// is cancelled; meanwhile it serves the queue (painting, timers, posted messages) and takes the
// keyboard and mouse input itself.  The owner window gets WM_ENTERMENULOOP, WM_INITMENU,
// WM_INITMENUPOPUP before each popup opens, WM_MENUSELECT as the selection moves (0xFFFF, 0 when
// the menu closes), WM_ENTERIDLE (MSGF_MENU) whenever the queue is empty, and WM_EXITMENULOOP;
// the chosen item arrives afterwards as a posted WM_COMMAND (WM_SYSCOMMAND from the system menu)
// unless TPM_RETURNCMD asked for it as the result.
#pragma once

#include "platform/os/user/UserTypes.h"

// Item flags (AppendMenu, InsertMenu, ModifyMenu, GetMenuState).
constexpr UINT MF_BYCOMMAND = 0x0000, MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000, MF_ENABLED = 0x0000, MF_UNCHECKED = 0x0000, MF_GRAYED = 0x0001,
               MF_DISABLED = 0x0002, MF_BITMAP = 0x0004, MF_CHECKED = 0x0008, MF_POPUP = 0x0010,
               MF_MENUBARBREAK = 0x0020, MF_MENUBREAK = 0x0040, MF_HILITE = 0x0080, MF_OWNERDRAW = 0x0100,
               MF_SEPARATOR = 0x0800, MF_DEFAULT = 0x1000, MF_SYSMENU = 0x2000, MF_RIGHTJUSTIFY = 0x4000,
               MF_MOUSESELECT = 0x8000;
// A check drawn as a bullet (radio items); accepted by AppendMenu and InsertMenu.
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

// TrackPopupMenu flags.
constexpr UINT TPM_LEFTBUTTON = 0x0000, TPM_RIGHTBUTTON = 0x0002, TPM_LEFTALIGN = 0x0000,
               TPM_CENTERALIGN = 0x0004, TPM_RIGHTALIGN = 0x0008, TPM_TOPALIGN = 0x0000,
               TPM_VCENTERALIGN = 0x0010, TPM_BOTTOMALIGN = 0x0020, TPM_NONOTIFY = 0x0080,
               TPM_RETURNCMD = 0x0100;

// WM_ENTERIDLE's source.
constexpr WPARAM MSGF_DIALOGBOX = 0, MSGF_MENU = 2;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its sub-menus.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// idOrSub is the command id, or the sub-menu with MF_POPUP.  text "-" is not a separator: use
// MF_SEPARATOR.  A tab in the text right-aligns what follows (the shortcut).
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSub, LPCSTR text);
inline BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
  return AppendMenuA(menu, flags, idOrSub, text);
}
// Inserts before the item at position (MF_BYPOSITION; -1 or past the end appends) or before the
// item with that command (MF_BYCOMMAND).
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, LPCSTR text);
inline BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
  return InsertMenuA(menu, position, flags, idOrSub, text);
}
BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, LPCSTR text);
inline BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
  return ModifyMenuA(menu, position, flags, idOrSub, text);
}
// DeleteMenu destroys the item's sub-menu; RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// -1 for a dead handle.
int GetMenuItemCount(HMENU menu);
// The command of the item at pos; (UINT)-1 for sub-menus and bad positions.
UINT GetMenuItemID(HMENU menu, int pos);
HMENU GetSubMenu(HMENU menu, int pos);
// MF_* flags of the item (a sub-menu's item count in the high byte), (UINT)-1 when none.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuStringA(HMENU menu, UINT item, char* text, int maxCount, UINT flags);
inline int GetMenuString(HMENU menu, UINT item, char* text, int maxCount, UINT flags) {
  return GetMenuStringA(menu, item, text, maxCount, flags);
}
// The previous state (MF_CHECKED or MF_UNCHECKED; MF_ENABLED, MF_GRAYED or MF_DISABLED), or
// (DWORD)-1 when the item does not exist.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
// Checks one item of the range first..last as a radio item and clears the others.
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
// item (UINT)-1 clears the default.
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);

// The menu bar of a top-level window: it takes SM_CYMENU from the top of the client area (the
// standard WM_NCCALCSIZE), so setting one shrinks the client area.
HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);
// Paints the bar again after its items changed.
BOOL DrawMenuBar(HWND hwnd);
// The window's own copy of the system menu (Restore, Move, Size, Minimize, Maximize, Close);
// revert TRUE drops the copy and answers nullptr.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
// The screen rectangle of an item of the menu bar (menu nullptr or the bar) or of an open popup.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rc);

// Shows menu at the screen point (x, y) and runs the menu loop.  Without TPM_RETURNCMD the
// answer is TRUE when an item was chosen (its WM_COMMAND is posted to owner); with it, the
// chosen command or 0.  FALSE at once while another menu loop runs.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rc);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, void* params);
// Ends the running menu loop (as Escape to the top would), no command.
BOOL EndMenu();
// The popup window of the innermost open menu while a menu loop runs, else nullptr.
HWND GetOpenMenuWindow();
