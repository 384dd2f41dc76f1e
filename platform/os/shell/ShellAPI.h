// The shell's subset: documents and addresses opened through the desktop's opener, file
// information with a generic icon, files dropped from the desktop, a notification icon kept in
// process (this system has no tray), version information and help (none is installed).
//
// Thread contract: the UI thread, except ShellExecute, which any thread may call.
#pragma once

#include <string>
#include <vector>

#include "platform/os/user/User.h"

using DWORD_PTR = ULONG_PTR;

// ============================================================================ opening ==========

constexpr int SE_ERR_ACCESSDENIED = 5, SE_ERR_OOM = 8, SE_ERR_NOASSOC = 31;
// Opens a file (relative to directory when given), a web address (http, https) or a mail address
// (mailto) with the desktop's opener: the program named by the environment variable PL_OPENER,
// else xdg-open, run with the target as its one argument (no shell ever parses it).  Answers a
// value above 32 on success, else ERROR_FILE_NOT_FOUND, SE_ERR_NOASSOC (a verb other than "open",
// an address of another kind, no opener) or SE_ERR_ACCESSDENIED (the opener failed).
HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        int showCmd);
inline HINSTANCE ShellExecute(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                              int showCmd) {
  return ShellExecuteA(hwnd, operation, file, parameters, directory, showCmd);
}

// ============================================================================ file information =

struct SHFILEINFOA {
  HICON hIcon = nullptr;
  int iIcon = 0;
  DWORD dwAttributes = 0;
  char szDisplayName[260] = {};
  char szTypeName[80] = {};
};
constexpr UINT SHGFI_ICON = 0x100, SHGFI_DISPLAYNAME = 0x200, SHGFI_TYPENAME = 0x400,
               SHGFI_ATTRIBUTES = 0x800, SHGFI_SYSICONINDEX = 0x4000, SHGFI_SMALLICON = 0x1,
               SHGFI_LARGEICON = 0x0, SHGFI_USEFILEATTRIBUTES = 0x10;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY_SHELL = 0x10;
// The display name, type name and a generic document or folder icon (the caller destroys it).
// There is no system image list: SHGFI_SYSICONINDEX answers 0 with iIcon 0.  0 for a missing file
// unless SHGFI_USEFILEATTRIBUTES is given.
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD fileAttributes, SHFILEINFOA* info, UINT infoSize, UINT flags);

// ============================================================================ dropped files ====

struct HDROP__;
using HDROP = HDROP__*;
struct DROPFILES {
  DWORD pFiles = sizeof(DROPFILES);  // offset of the file list
  POINT pt{};
  BOOL fNC = FALSE;
  BOOL fWide = FALSE;
};
// Marks the window as taking files dropped from the desktop (WS_EX_ACCEPTFILES).
void DragAcceptFiles(HWND hwnd, BOOL accept);
// index 0xFFFFFFFF: the number of files; buffer nullptr: the length of one name.
UINT DragQueryFileA(HDROP drop, UINT index, LPSTR buffer, UINT size);
inline UINT DragQueryFile(HDROP drop, UINT index, LPSTR buffer, UINT size) {
  return DragQueryFileA(drop, index, buffer, size);
}
BOOL DragQueryPoint(HDROP drop, POINT* pt);
void DragFinish(HDROP drop);
// A CF_HDROP block (global memory) listing the files, names in the single-byte code page.
HDROP CreateDropFiles(const std::vector<AnsiString>& files, POINT pt);
// Display drivers: files (UTF-8 paths) dropped at a client point of a window; the first window
// from there up that accepts files gets WM_DROPFILES.  False when none takes them.
bool DropFilesOnWindow(HWND hwnd, const std::vector<std::string>& utf8Files, POINT clientPt);

// ============================================================================ notification icon

struct NOTIFYICONDATAA {
  DWORD cbSize = sizeof(NOTIFYICONDATAA);
  HWND hWnd = nullptr;
  UINT uID = 0;
  UINT uFlags = 0;
  UINT uCallbackMessage = 0;
  HICON hIcon = nullptr;
  char szTip[64] = {};
};
using NOTIFYICONDATA = NOTIFYICONDATAA;
constexpr DWORD NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 1, NIF_ICON = 2, NIF_TIP = 4;
// Kept in process: adding twice, or changing or deleting an icon never added, fails.
BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data);
inline BOOL Shell_NotifyIcon(DWORD message, NOTIFYICONDATAA* data) {
  return Shell_NotifyIconA(message, data);
}
// The icon of a window and id as last set, or false (tests, and a driver that shows one).
bool GetNotifyIcon(HWND hwnd, UINT id, NOTIFYICONDATAA& out);
// Posts the icon's callback message for a mouse message (WM_LBUTTONDBLCLK ...) on the icon.
bool ClickNotifyIcon(HWND hwnd, UINT id, UINT mouseMessage);

// ============================================================================ version ==========

struct VS_FIXEDFILEINFO {
  DWORD dwSignature = 0xFEEF04BD;
  DWORD dwStrucVersion = 0x00010000;
  DWORD dwFileVersionMS = 0, dwFileVersionLS = 0;
  DWORD dwProductVersionMS = 0, dwProductVersionLS = 0;
  DWORD dwFileFlagsMask = 0x3F, dwFileFlags = 0;
  DWORD dwFileOS = 0x40004, dwFileType = 1, dwFileSubtype = 0;
  DWORD dwFileDateMS = 0, dwFileDateLS = 0;
};
// Version information exists for the program itself (its compiled-in version) and for the
// common-controls library, whose version is our constant 6.0.  Other files: 0, last error
// ERROR_RESOURCE_TYPE_NOT_FOUND.
DWORD GetFileVersionInfoSizeA(LPCSTR file, DWORD* handle);
BOOL GetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD size, void* data);
// "\" gives the VS_FIXEDFILEINFO; "\VarFileInfo\Translation" the language and code page;
// "\StringFileInfo\040904E4\<name>" the texts FileVersion, ProductVersion, ProductName.
BOOL VerQueryValueA(const void* block, LPCSTR subBlock, void** buffer, UINT* length);
inline DWORD GetFileVersionInfoSize(LPCSTR file, DWORD* handle) {
  return GetFileVersionInfoSizeA(file, handle);
}
inline BOOL GetFileVersionInfo(LPCSTR file, DWORD handle, DWORD size, void* data) {
  return GetFileVersionInfoA(file, handle, size, data);
}
inline BOOL VerQueryValue(const void* block, LPCSTR subBlock, void** buffer, UINT* length) {
  return VerQueryValueA(block, subBlock, buffer, length);
}

// ============================================================================ help =============

constexpr UINT HELP_CONTEXT = 1, HELP_QUIT = 2, HELP_INDEX = 3, HELP_CONTEXTPOPUP = 8;
// No help system is installed: FALSE, last error ERROR_FILE_NOT_FOUND.
BOOL WinHelpA(HWND hwnd, LPCSTR helpFile, UINT command, ULONG_PTR data);
inline BOOL WinHelp(HWND hwnd, LPCSTR helpFile, UINT command, ULONG_PTR data) {
  return WinHelpA(hwnd, helpFile, command, data);
}
