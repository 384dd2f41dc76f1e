// The shell's subset.
#include "platform/os/shell/ShellAPI.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "platform/os/gdi/Icons.h"
#include "platform/runtime/Strings.h"

extern char** environ;

namespace {

// ============================================================================ opening ==========

bool ShellHasScheme(const std::string& s, const char* scheme) {
  size_t n = std::strlen(scheme);
  return s.size() > n && SameText(s.substr(0, n), scheme);
}

HINSTANCE ShellResult(intptr_t code) { return reinterpret_cast<HINSTANCE>(code); }

// Runs the opener with the target as its one argument; waits a little for its answer, then
// leaves a reaper to wait for it.
intptr_t ShellRunOpener(const std::string& target) {
  const char* env = std::getenv("PL_OPENER");
  std::string opener = env && *env ? env : "xdg-open";
  std::vector<char*> argv{opener.data(), const_cast<char*>(target.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, opener.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return SE_ERR_NOASSOC;
  int status = 0;
  for (int i = 0; i < 200; ++i) {
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) {
      if (!WIFEXITED(status)) return SE_ERR_ACCESSDENIED;
      switch (WEXITSTATUS(status)) {
        case 0:
          return 42;
        case 2:
          return ERROR_FILE_NOT_FOUND;
        case 3:
        case 127:
          return SE_ERR_NOASSOC;
        default:
          return SE_ERR_ACCESSDENIED;
      }
    }
    if (r < 0) return SE_ERR_ACCESSDENIED;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  return 42;  // still running: the document is opening
}

// ============================================================================ notification icon

std::mutex shellIconsMutex;
std::map<std::pair<HWND, UINT>, NOTIFYICONDATAA> shellIcons;

// ============================================================================ version ==========

// Our version block: the fixed information, then "name=value" texts, each zero-terminated.
struct ShellVersionBlock {
  char magic[4] = {'P', 'L', 'V', 'I'};
  VS_FIXEDFILEINFO fixed;
  DWORD translation = 0x04E40409;  // English (US), code page 1252
  char texts[224] = {};
};

std::string ShellRealPath(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  std::string result = real ? real : "";
  std::free(real);
  return result;
}

bool ShellVersionOf(LPCSTR file, ShellVersionBlock& block) {
  if (!file) return false;
  std::string f = file;
  std::string base = f.substr(f.find_last_of("/\\") + 1);
  char self[4096] = {};
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string exe = n > 0 ? std::string(self, size_t(n)) : "";
  std::string exeBase = exe.substr(exe.find_last_of('/') + 1);
  int v[4] = {0, 0, 0, 0};
  std::string product;
  if (SameText(base, "comctl32.dll")) {
    v[0] = 6;
    product = "Common Controls";
  } else if (ShellRealPath(f) == exe || SameText(base, exeBase)) {
    std::sscanf(PL_PROGRAM_VERSION, "%d.%d.%d.%d", &v[0], &v[1], &v[2], &v[3]);
    product = exeBase;
  } else {
    return false;
  }
  block.fixed.dwFileVersionMS = block.fixed.dwProductVersionMS = DWORD(v[0]) << 16 | DWORD(v[1]);
  block.fixed.dwFileVersionLS = block.fixed.dwProductVersionLS = DWORD(v[2]) << 16 | DWORD(v[3]);
  std::string version = std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
                        std::to_string(v[3]);
  std::string texts = "FileVersion=" + version + '\0' + "ProductVersion=" + version + '\0' +
                      "ProductName=" + product.substr(0, 64) + '\0';
  std::memcpy(block.texts, texts.data(), std::min(texts.size(), sizeof block.texts - 1));
  return true;
}

HICON ShellGenericIcon(bool folder, int size) {
  std::vector<uint32_t> px(size_t(size) * size, 0);
  int m = size / 8;
  for (int y = m; y < size - m; ++y)
    for (int x = m; x < size - m; ++x) {
      bool edge = y == m || y == size - m - 1 || x == m || x == size - m - 1;
      px[size_t(y) * size + x] = edge ? 0xFF404040u : (folder ? 0xFFF0C850u : 0xFFFFFFFFu);
    }
  return CreateIconFromPixels(px.data(), size, size);
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR, LPCSTR directory, int) {
  if (operation && *operation && !SameText(operation, "open")) return ShellResult(SE_ERR_NOASSOC);
  if (!file || !*file) return ShellResult(ERROR_FILE_NOT_FOUND);
  std::string target = file;
  bool address = ShellHasScheme(target, "http://") || ShellHasScheme(target, "https://") ||
                 ShellHasScheme(target, "mailto:");
  if (!address) {
    if (ShellHasScheme(target, "file://")) target = target.substr(7);
    // Any other scheme could start anything the desktop associates with it: refused.
    size_t colon = target.find(':');
    if (colon != std::string::npos && colon > 1 && target.find('/') > colon)
      return ShellResult(SE_ERR_NOASSOC);
    if (target[0] != '/' && directory && *directory) target = std::string(directory) + "/" + target;
    struct stat st {};
    if (stat(target.c_str(), &st) != 0) return ShellResult(ERROR_FILE_NOT_FOUND);
  }
  return ShellResult(ShellRunOpener(target));
}

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD fileAttributes, SHFILEINFOA* info, UINT infoSize, UINT flags) {
  if (!path || (info && infoSize < sizeof(SHFILEINFOA))) return 0;
  bool folder = (fileAttributes & FILE_ATTRIBUTE_DIRECTORY_SHELL) != 0;
  if (!(flags & SHGFI_USEFILEATTRIBUTES)) {
    struct stat st {};
    if (stat(path, &st) != 0) return 0;
    folder = S_ISDIR(st.st_mode);
  }
  if (flags & SHGFI_SYSICONINDEX) {
    if (info) info->iIcon = 0;
    return 0;
  }
  if (!info) return 1;
  *info = SHFILEINFOA{};
  std::string p = path;
  while (p.size() > 1 && (p.back() == '/' || p.back() == '\\')) p.pop_back();
  std::string name = p.substr(p.find_last_of("/\\") == std::string::npos ? 0 : p.find_last_of("/\\") + 1);
  if (flags & SHGFI_DISPLAYNAME)
    std::strncpy(info->szDisplayName, name.c_str(), sizeof info->szDisplayName - 1);
  if (flags & SHGFI_TYPENAME)
    std::strncpy(info->szTypeName, folder ? "File folder" : "File", sizeof info->szTypeName - 1);
  if (flags & SHGFI_ATTRIBUTES) info->dwAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY_SHELL : 0;
  if (flags & SHGFI_ICON) info->hIcon = ShellGenericIcon(folder, (flags & SHGFI_SMALLICON) ? 16 : 32);
  return 1;
}

// ============================================================================ dropped files ====

void DragAcceptFiles(HWND hwnd, BOOL accept) {
  LONG_PTR ex = GetWindowLongA(hwnd, GWL_EXSTYLE);
  SetWindowLongA(hwnd, GWL_EXSTYLE, accept ? (ex | WS_EX_ACCEPTFILES) : (ex & ~LONG_PTR(WS_EX_ACCEPTFILES)));
}

HDROP CreateDropFiles(const std::vector<AnsiString>& files, POINT pt) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const AnsiString& f : files) size += f.size() + 1;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* p = h ? static_cast<char*>(GlobalLock(h)) : nullptr;
  if (!p) return nullptr;
  DROPFILES head;
  head.pt = pt;
  std::memcpy(p, &head, sizeof head);
  char* at = p + sizeof head;
  for (const AnsiString& f : files) {
    std::memcpy(at, f.c_str(), f.size() + 1);
    at += f.size() + 1;
  }
  GlobalUnlock(h);
  return static_cast<HDROP>(h);
}

namespace {
// The names of a CF_HDROP block, bounded by its size.
std::vector<AnsiString> ShellDropNames(HDROP drop) {
  std::vector<AnsiString> names;
  size_t size = GlobalSize(drop);
  auto* p = static_cast<const char*>(GlobalLock(drop));
  if (!p) return names;
  DROPFILES head;
  if (size >= sizeof head) {
    std::memcpy(&head, p, sizeof head);
    size_t at = head.pFiles;
    if (head.fWide) {
      while (at + 2 <= size) {
        WideString w;
        char16_t c;
        while (at + 2 <= size && (std::memcpy(&c, p + at, 2), at += 2, c)) w.push_back(c);
        if (w.empty()) break;
        names.push_back(WideToAnsi(w));
      }
    } else {
      while (at < size && p[at]) {
        size_t end = at;
        while (end < size && p[end]) ++end;
        names.emplace_back(p + at, end - at);
        at = end + 1;
      }
    }
  }
  GlobalUnlock(drop);
  return names;
}
}  // namespace

UINT DragQueryFileA(HDROP drop, UINT index, LPSTR buffer, UINT size) {
  std::vector<AnsiString> names = ShellDropNames(drop);
  if (index == 0xFFFFFFFFu) return UINT(names.size());
  if (index >= names.size()) return 0;
  const AnsiString& n = names[index];
  if (!buffer) return UINT(n.size());
  if (size == 0) return 0;
  size_t len = std::min<size_t>(n.size(), size - 1);
  std::memcpy(buffer, n.data(), len);
  buffer[len] = 0;
  return UINT(len);
}

BOOL DragQueryPoint(HDROP drop, POINT* pt) {
  auto* p = static_cast<const DROPFILES*>(GlobalLock(drop));
  if (!p || GlobalSize(drop) < sizeof(DROPFILES) || !pt) {
    if (p) GlobalUnlock(drop);
    return FALSE;
  }
  *pt = p->pt;
  BOOL client = !p->fNC;
  GlobalUnlock(drop);
  return client;
}

void DragFinish(HDROP drop) {
  if (drop) GlobalFree(drop);
}

bool DropFilesOnWindow(HWND hwnd, const std::vector<std::string>& utf8Files, POINT clientPt) {
  POINT screen = clientPt;
  ClientToScreen(hwnd, &screen);
  for (HWND w = hwnd; w; w = GetParent(w)) {
    if (!(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) continue;
    POINT pt = screen;
    ScreenToClient(w, &pt);
    std::vector<AnsiString> names;
    for (const std::string& f : utf8Files) names.push_back(WideToAnsi(Utf8ToWide(f)));
    HDROP drop = CreateDropFiles(names, pt);
    if (drop && PostMessageA(w, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) return true;
    DragFinish(drop);
    return false;
  }
  return false;
}

// ============================================================================ notification icon

BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data) {
  if (!data) return FALSE;
  std::lock_guard lock(shellIconsMutex);
  auto key = std::make_pair(data->hWnd, data->uID);
  auto it = shellIcons.find(key);
  auto apply = [&](NOTIFYICONDATAA& icon) {
    icon.hWnd = data->hWnd;
    icon.uID = data->uID;
    icon.uFlags |= data->uFlags;
    if (data->uFlags & NIF_MESSAGE) icon.uCallbackMessage = data->uCallbackMessage;
    if (data->uFlags & NIF_ICON) icon.hIcon = data->hIcon;
    if (data->uFlags & NIF_TIP) {
      std::memset(icon.szTip, 0, sizeof icon.szTip);
      std::memcpy(icon.szTip, data->szTip, strnlen(data->szTip, sizeof icon.szTip - 1));
    }
  };
  switch (message) {
    case NIM_ADD:
      if (it != shellIcons.end()) return FALSE;
      apply(shellIcons[key]);
      return TRUE;
    case NIM_MODIFY:
      if (it == shellIcons.end()) return FALSE;
      apply(it->second);
      return TRUE;
    case NIM_DELETE:
      if (it == shellIcons.end()) return FALSE;
      shellIcons.erase(it);
      return TRUE;
    default:
      return FALSE;
  }
}

bool GetNotifyIcon(HWND hwnd, UINT id, NOTIFYICONDATAA& out) {
  std::lock_guard lock(shellIconsMutex);
  auto it = shellIcons.find({hwnd, id});
  if (it == shellIcons.end()) return false;
  out = it->second;
  return true;
}

bool ClickNotifyIcon(HWND hwnd, UINT id, UINT mouseMessage) {
  NOTIFYICONDATAA icon;
  if (!GetNotifyIcon(hwnd, id, icon) || !(icon.uFlags & NIF_MESSAGE)) return false;
  return PostMessageA(hwnd, icon.uCallbackMessage, WPARAM(id), LPARAM(mouseMessage)) != FALSE;
}

// ============================================================================ version ==========

DWORD GetFileVersionInfoSizeA(LPCSTR file, DWORD* handle) {
  if (handle) *handle = 0;
  ShellVersionBlock block;
  if (!ShellVersionOf(file, block)) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return 0;
  }
  return DWORD(sizeof(ShellVersionBlock));
}

BOOL GetFileVersionInfoA(LPCSTR file, DWORD, DWORD size, void* data) {
  ShellVersionBlock block;
  if (!data || size < sizeof block) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  if (!ShellVersionOf(file, block)) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
  }
  std::memcpy(data, &block, sizeof block);
  return TRUE;
}

BOOL VerQueryValueA(const void* data, LPCSTR subBlock, void** buffer, UINT* length) {
  auto* block = static_cast<const ShellVersionBlock*>(data);
  if (!block || !subBlock || !buffer || std::memcmp(block->magic, "PLVI", 4) != 0) return FALSE;
  std::string sub = subBlock;
  if (sub == "\\" || sub.empty()) {
    *buffer = const_cast<VS_FIXEDFILEINFO*>(&block->fixed);
    if (length) *length = sizeof(VS_FIXEDFILEINFO);
    return TRUE;
  }
  if (SameText(sub, "\\VarFileInfo\\Translation")) {
    *buffer = const_cast<DWORD*>(&block->translation);
    if (length) *length = sizeof(DWORD);
    return TRUE;
  }
  const std::string prefix = "\\StringFileInfo\\040904E4\\";
  if (sub.size() <= prefix.size() || !SameText(sub.substr(0, prefix.size()), prefix)) return FALSE;
  std::string name = sub.substr(prefix.size()) + "=";
  for (size_t at = 0; at < sizeof block->texts && block->texts[at];) {
    const char* text = block->texts + at;
    size_t n = strnlen(text, sizeof block->texts - at);
    if (n > name.size() && SameText(std::string(text, name.size()), name)) {
      *buffer = const_cast<char*>(text + name.size());
      if (length) *length = UINT(n - name.size() + 1);
      return TRUE;
    }
    at += n + 1;
  }
  return FALSE;
}

// ============================================================================ help =============

BOOL WinHelpA(HWND, LPCSTR, UINT, ULONG_PTR) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  return FALSE;
}
