// Modules, system information and locale, text conversions, global memory, resources, and the
// file and process queries of the kernel interface.
//
// Sections: modules / system information and locale / text conversions / global memory /
// resources / files and process.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include "platform/os/kernel/Kernel.h"
#include "platform/runtime/Resources.h"
#include "platform/runtime/Threads.h"
#include "platform/runtime/Strings.h"

// ============================================================================ modules ==========

namespace {

struct ModuleRecord {
  std::map<AnsiString, FARPROC> exports;
  int loads = 0;
};

struct ModuleTable {
  std::mutex lock;
  std::map<AnsiString, std::shared_ptr<ModuleRecord>> byName;
  // Loaded modules by handle; a record outlives its unregistration while it is loaded.
  std::map<const ModuleRecord*, std::shared_ptr<ModuleRecord>> loaded;
};

ModuleTable& modules() {
  static ModuleTable table;
  return table;
}

// "C:\x\uxtheme" and "UxTheme.dll" both name "UXTHEME.DLL".
AnsiString ModuleKey(const AnsiString& fileName) {
  size_t slash = fileName.find_last_of("\\/");
  AnsiString key = UpperCase(slash == AnsiString::npos ? fileName : fileName.substr(slash + 1));
  if (key.find('.') == AnsiString::npos) key += ".DLL";
  return key;
}

}  // namespace

void RegisterModule(const AnsiString& fileName, std::map<AnsiString, FARPROC> exports) {
  auto record = std::make_shared<ModuleRecord>();
  record->exports = std::move(exports);
  ModuleTable& t = modules();
  std::lock_guard<std::mutex> g(t.lock);
  t.byName[ModuleKey(fileName)] = std::move(record);
}

void UnregisterModule(const AnsiString& fileName) {
  ModuleTable& t = modules();
  std::lock_guard<std::mutex> g(t.lock);
  t.byName.erase(ModuleKey(fileName));
}

HMODULE LoadLibraryA(LPCSTR fileName) {
  if (fileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ModuleTable& t = modules();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.byName.find(ModuleKey(fileName));
  if (it == t.byName.end()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  it->second->loads++;
  t.loaded[it->second.get()] = it->second;
  return reinterpret_cast<HMODULE>(it->second.get());
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  ModuleTable& t = modules();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.loaded.find(reinterpret_cast<const ModuleRecord*>(module));
  if (it == t.loaded.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // Exports by ordinal (a small integer in place of the name) are not kept.
  if (reinterpret_cast<uintptr_t>(procName) < 0x10000) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  auto e = it->second->exports.find(procName);
  if (e == it->second->exports.end()) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return e->second;
}

BOOL FreeLibrary(HMODULE module) {
  ModuleTable& t = modules();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.loaded.find(reinterpret_cast<const ModuleRecord*>(module));
  if (it == t.loaded.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (--it->second->loads == 0) t.loaded.erase(it);
  return TRUE;
}

// ================================================== system information and locale ==========

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  if (info == nullptr || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  info->dwMajorVersion = 5;
  info->dwMinorVersion = 1;
  info->dwBuildNumber = 2600;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  info->szCSDVersion[0] = '\0';
  return TRUE;
}

namespace {

struct LocaleEntry {
  const char* name;  // "ll" (the language's main country) or "ll_CC"
  LANGID id;
};

// Language identifiers as the system documents them.
constexpr LocaleEntry kLocales[] = {
    {"en", 0x0409},    {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"de", 0x0407},
    {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"fr", 0x040C},    {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C},
    {"fr_CH", 0x100C}, {"es", 0x0C0A},    {"es_MX", 0x080A}, {"it", 0x0410},    {"nl", 0x0413},
    {"nl_BE", 0x0813}, {"pl", 0x0415},    {"pt", 0x0816},    {"pt_BR", 0x0416}, {"ru", 0x0419},
    {"ja", 0x0411},    {"ko", 0x0412},    {"zh", 0x0804},    {"zh_TW", 0x0404}, {"zh_HK", 0x0C04},
    {"zh_SG", 0x1004}, {"cs", 0x0405},    {"da", 0x0406},    {"el", 0x0408},    {"fi", 0x040B},
    {"hu", 0x040E},    {"nb", 0x0414},    {"no", 0x0414},    {"sv", 0x041D},    {"tr", 0x041F},
    {"uk", 0x0422},    {"he", 0x040D},    {"ar", 0x0401},    {"th", 0x041E},    {"vi", 0x042A},
};

LANGID LangIdFromEnvironment() {
  const char* value = nullptr;
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    value = std::getenv(var);
    if (value != nullptr && *value != '\0') break;
  }
  if (value == nullptr) return 0x0409;
  // "ll_CC.codeset@modifier": only language and country count.
  std::string_view text(value);
  text = text.substr(0, text.find_first_of(".@"));
  std::string_view language = text.substr(0, text.find('_'));
  for (const LocaleEntry& e : kLocales)
    if (text == e.name) return e.id;
  for (const LocaleEntry& e : kLocales)
    if (language == e.name) return e.id;
  return 0x0409;
}

}  // namespace

LANGID GetSystemDefaultLangID() { return LangIdFromEnvironment(); }
LANGID GetUserDefaultLangID() { return LangIdFromEnvironment(); }
LCID GetSystemDefaultLCID() { return LangIdFromEnvironment(); }
LCID GetUserDefaultLCID() { return LangIdFromEnvironment(); }

UINT GetACP() { return 1252; }
UINT GetOEMCP() { return 437; }
BOOL IsDBCSLeadByte(BYTE) { return FALSE; }

// ================================================================== text conversions ==========

namespace {

// Code page 437, bytes 0x80 to 0xFF.
constexpr char16_t kOem437[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

char16_t OemCharToWide(char c) {
  auto b = static_cast<unsigned char>(c);
  return b < 0x80 ? char16_t(b) : kOem437[b - 0x80];
}

int32_t WideCharToOem(char32_t c) {
  if (c < 0x80) return int32_t(c);
  for (int i = 0; i < 128; ++i)
    if (kOem437[i] == c) return 0x80 + i;
  return -1;
}

enum class Page { Ansi, Oem, Utf8, Unknown };

Page PageOf(UINT codePage) {
  switch (codePage) {
    case CP_ACP:
    case 1252:
      return Page::Ansi;
    case CP_OEMCP:
    case 437:
      return Page::Oem;
    case CP_UTF8:
      return Page::Utf8;
    default:
      return Page::Unknown;
  }
}

// Copies a converted text into the caller's buffer: the needed size when outSize is 0, else
// the count written, 0 with ERROR_INSUFFICIENT_BUFFER when it does not fit.
template <class C>
int Deliver(const std::basic_string<C>& text, C* out, int outSize) {
  if (outSize == 0) return int(text.size());
  if (out == nullptr || outSize < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (text.size() > size_t(outSize)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(out, text.data(), text.size() * sizeof(C));
  return int(text.size());
}

template <class C>
size_t LengthOf(const C* text, int length) {
  if (length >= 0) return size_t(length);
  size_t n = 0;
  while (text[n] != 0) ++n;
  return n + 1;  // the terminator is converted too
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR out, int outSize) {
  Page page = PageOf(codePage);
  if (text == nullptr || length == 0 || length < -1 || page == Page::Unknown) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string bytes(text, LengthOf(text, length));
  WideString wide;
  if (page == Page::Utf8) {
    wide = Utf8ToWide(bytes);
    if ((flags & MB_ERR_INVALID_CHARS) && wide.find(u'\uFFFD') != WideString::npos &&
        bytes.find("\xEF\xBF\xBD") == std::string::npos) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
  } else {
    for (char c : bytes) wide += page == Page::Ansi ? AnsiCharToWide(c) : OemCharToWide(c);
  }
  return Deliver(wide, out, outSize);
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR text, int length, LPSTR out, int outSize,
                        LPCSTR defaultChar, LPBOOL usedDefault) {
  Page page = PageOf(codePage);
  if (text == nullptr || length == 0 || length < -1 || page == Page::Unknown ||
      (page == Page::Utf8 && (defaultChar != nullptr || usedDefault != nullptr))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WideString wide(text, LengthOf(text, length));
  std::string bytes;
  bool defaulted = false;
  if (page == Page::Utf8) {
    bytes = WideToUtf8(wide);
  } else {
    for (char16_t c : wide) {
      int32_t b = page == Page::Ansi ? WideCharToAnsi(c) : WideCharToOem(c);
      if (b < 0) {
        defaulted = true;
        b = static_cast<unsigned char>(defaultChar ? *defaultChar : '?');
      }
      bytes += char(b);
    }
  }
  if (usedDefault) *usedDefault = defaulted ? TRUE : FALSE;
  return Deliver(bytes, out, outSize);
}

namespace {

template <class C>
std::basic_string<C> TextOf(const C* text, int length) {
  if (length >= 0) return std::basic_string<C>(text, size_t(length));
  return std::basic_string<C>(text);
}

int CompareResult(int32_t sign) {
  return sign < 0 ? CSTR_LESS_THAN : sign > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}

}  // namespace

int CompareStringA(LCID, DWORD flags, LPCSTR a, int lengthA, LPCSTR b, int lengthB) {
  if (a == nullptr || b == nullptr || lengthA < -1 || lengthB < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  AnsiString sa = TextOf(a, lengthA), sb = TextOf(b, lengthB);
  return CompareResult((flags & NORM_IGNORECASE) ? AnsiCompareText(sa, sb) : AnsiCompareStr(sa, sb));
}

int CompareStringW(LCID locale, DWORD flags, LPCWSTR a, int lengthA, LPCWSTR b, int lengthB) {
  if (a == nullptr || b == nullptr || lengthA < -1 || lengthB < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // Texts the single-byte page holds compare by its order; others by code unit after folding.
  WideString wa = TextOf(a, lengthA), wb = TextOf(b, lengthB);
  AnsiString sa = WideToAnsi(wa), sb = WideToAnsi(wb);
  if (AnsiToWide(sa) == wa && AnsiToWide(sb) == wb)
    return CompareStringA(locale, flags, sa.c_str(), int(sa.size()), sb.c_str(), int(sb.size()));
  if (flags & NORM_IGNORECASE) {
    auto fold = [](WideString s) {
      for (char16_t& c : s)
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
      return s;
    };
    wa = fold(wa);
    wb = fold(wb);
  }
  return CompareResult(wa.compare(wb));
}

BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length) {
  if (source == nullptr || destination == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (DWORD i = 0; i < length; ++i) {
    int32_t b = WideCharToAnsi(OemCharToWide(source[i]));
    destination[i] = b < 0 ? '?' : char(b);
  }
  return TRUE;
}

BOOL OemToCharA(LPCSTR source, LPSTR destination) {
  if (source == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return OemToCharBuffA(source, destination, DWORD(std::strlen(source) + 1));
}

// ===================================================================== global memory ==========

namespace {

struct GlobalBlock {
  std::unique_ptr<char[]> bytes;
  size_t size = 0;
  bool fixed = false;
  int locks = 0;
};

struct GlobalTable {
  std::mutex lock;
  // By handle: a fixed block's handle is its address, a moveable one's its record.
  std::unordered_map<const void*, std::unique_ptr<GlobalBlock>> blocks;
};

GlobalTable& globals() {
  static GlobalTable table;
  return table;
}

GlobalBlock* FindBlock(GlobalTable& t, HGLOBAL handle) {
  auto it = t.blocks.find(handle);
  if (it == t.blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second.get();
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  auto block = std::make_unique<GlobalBlock>();
  // One byte at least, so that every block has an address of its own.
  block->bytes.reset(flags & GMEM_ZEROINIT ? new (std::nothrow) char[bytes ? bytes : 1]()
                                           : new (std::nothrow) char[bytes ? bytes : 1]);
  if (!block->bytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  block->size = bytes;
  block->fixed = (flags & GMEM_MOVEABLE) == 0;
  HGLOBAL handle =
      block->fixed ? static_cast<HGLOBAL>(block->bytes.get()) : static_cast<HGLOBAL>(block.get());
  GlobalTable& t = globals();
  std::lock_guard<std::mutex> g(t.lock);
  t.blocks.emplace(handle, std::move(block));
  return handle;
}

LPVOID GlobalLock(HGLOBAL handle) {
  GlobalTable& t = globals();
  std::lock_guard<std::mutex> g(t.lock);
  GlobalBlock* block = FindBlock(t, handle);
  if (!block) return nullptr;
  if (!block->fixed) block->locks++;
  return block->bytes.get();
}

BOOL GlobalUnlock(HGLOBAL handle) {
  GlobalTable& t = globals();
  std::lock_guard<std::mutex> g(t.lock);
  GlobalBlock* block = FindBlock(t, handle);
  if (!block) return FALSE;
  if (block->locks > 0) block->locks--;
  SetLastError(ERROR_SUCCESS);
  return block->locks > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  GlobalTable& t = globals();
  std::lock_guard<std::mutex> g(t.lock);
  if (!FindBlock(t, handle)) return handle;
  t.blocks.erase(handle);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  GlobalTable& t = globals();
  std::lock_guard<std::mutex> g(t.lock);
  GlobalBlock* block = FindBlock(t, handle);
  return block ? block->size : 0;
}

// ========================================================================= resources ==========

namespace {

bool IsIdentifier(LPCSTR p) { return reinterpret_cast<uintptr_t>(p) < 0x10000; }

AnsiString ResourceName(LPCSTR name) {
  return IsIdentifier(name) ? ResourceIdName(uint32_t(reinterpret_cast<uintptr_t>(name))) : AnsiString(name);
}

const std::string_view* ResourceOf(HRSRC resource) {
  return reinterpret_cast<const std::string_view*>(resource);
}

}  // namespace

HRSRC FindResource(HMODULE, LPCSTR name, uint16_t type) {
  if (name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string_view* data = FindResourceData(type, ResourceName(name));
  if (data == nullptr) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HRSRC>(const_cast<std::string_view*>(data));
}

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  int32_t id = 0;
  if (IsIdentifier(type)) {
    id = int32_t(reinterpret_cast<uintptr_t>(type));
  } else if (type[0] != '#' || !TryStrToInt(AnsiString(type + 1), id) || id < 0 || id > 0xFFFF) {
    // Types named by text are not kept by the resource table.
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
  }
  return FindResource(module, name, uint16_t(id));
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
  if (resource == nullptr) SetLastError(ERROR_INVALID_HANDLE);
  return reinterpret_cast<HGLOBAL>(resource);
}

DWORD SizeofResource(HMODULE, HRSRC resource) { return resource ? DWORD(ResourceOf(resource)->size()) : 0; }

LPVOID LockResource(HGLOBAL loaded) {
  return loaded ? const_cast<char*>(ResourceOf(static_cast<HRSRC>(loaded))->data()) : nullptr;
}

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int bufferMax) {
  if (buffer == nullptr || bufferMax <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  buffer[0] = '\0';
  const std::string_view* text = FindResourceData(RT_STRING, ResourceIdName(id));
  if (text == nullptr) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  size_t n = std::min(text->size(), size_t(bufferMax - 1));
  std::memcpy(buffer, text->data(), n);
  buffer[n] = '\0';
  return int(n);
}

// ================================================================= files and process ==========

DWORD GetFileAttributesA(LPCSTR path) {
  if (path == nullptr || *path == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  std::string p(path);
  for (char& c : p)
    if (c == '\\') c = '/';
  struct stat st;
  if (stat(p.c_str(), &st) != 0) {
    SetLastErrorFromErrno(errno);
    return INVALID_FILE_ATTRIBUTES;
  }
  DWORD attributes = 0;
  if (S_ISDIR(st.st_mode)) {
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  } else {
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) attributes |= FILE_ATTRIBUTE_DEVICE;
    if (access(p.c_str(), W_OK) != 0) attributes |= FILE_ATTRIBUTE_READONLY;
  }
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  std::string_view base(p);
  base = base.substr(base.find_last_of('/') == std::string_view::npos ? 0 : base.find_last_of('/') + 1);
  if (base.size() > 1 && base[0] == '.' && base != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

DWORD GetCurrentProcessId() { return DWORD(getpid()); }

DWORD GetCurrentThreadId() { return DWORD(CurrentThreadID()); }
