// The kernel services of the operating-system interface: handles, events and waits, the
// thread's last error, ticks, modules, system information and locale, code-page conversions,
// global memory blocks, resources and a few file and process queries.
//
// Sections: types / error numbers / handles, events and waits / time / modules /
// system information and locale / text conversions / global memory / resources /
// files and process.
//
// Thread contract: every function may be called from any thread.  The last error is per thread.
// Waiting threads drive the overlapped serial operations bound to the events they wait on
// (KernelObjects.h), so an operation progresses while someone waits for it or asks for its result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Types.h"

// ============================================================================== types ==========

using HANDLE = void*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HGLOBAL = void*;
struct HRSRC__;
using HRSRC = HRSRC__*;
using FARPROC = intptr_t (*)();
using CHAR = char;
using WCHAR = char16_t;
using INT = int32_t;
using ULONG = uint32_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = char16_t*;
using LPCWSTR = const char16_t*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPDWORD = DWORD*;
using LPBOOL = BOOL*;
using ULONG_PTR = uintptr_t;
using SIZE_T = size_t;
using LANGID = WORD;
using LCID = DWORD;

union LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  int64_t QuadPart;
};

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(intptr_t(-1));
constexpr DWORD MAXDWORD = 0xFFFFFFFF;

// An overlapped operation's record.  Internal holds the operation's state (STATUS_PENDING while it
// runs, else its error number) and InternalHigh the bytes transferred.
struct OVERLAPPED {
  ULONG_PTR Internal = 0;
  ULONG_PTR InternalHigh = 0;
  DWORD Offset = 0;
  DWORD OffsetHigh = 0;
  HANDLE hEvent = nullptr;
};
using LPOVERLAPPED = OVERLAPPED*;
constexpr ULONG_PTR STATUS_PENDING = 0x103;

struct SECURITY_ATTRIBUTES {
  DWORD nLength = 0;
  LPVOID lpSecurityDescriptor = nullptr;
  BOOL bInheritHandle = FALSE;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// ====================================================================== error numbers ==========

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_INVALID_FUNCTION = 1;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_INVALID_DATA = 13;
constexpr DWORD ERROR_OUTOFMEMORY = 14;
constexpr DWORD ERROR_WRITE_PROTECT = 19;
constexpr DWORD ERROR_BAD_COMMAND = 22;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_HANDLE_EOF = 38;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_BROKEN_PIPE = 109;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_SEM_TIMEOUT = 121;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_BUSY = 170;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_OPERATION_ABORTED = 995;
constexpr DWORD ERROR_IO_INCOMPLETE = 996;
constexpr DWORD ERROR_IO_PENDING = 997;
constexpr DWORD ERROR_NOACCESS = 998;
constexpr DWORD ERROR_INVALID_FLAGS = 1004;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;
constexpr DWORD ERROR_DEVICE_NOT_CONNECTED = 1167;
constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

DWORD GetLastError();
void SetLastError(DWORD error);
// The error number of an errno value: the ones the Parts test keep their original numbers
// (ENOENT is ERROR_FILE_NOT_FOUND, EACCES and a port held by another ERROR_ACCESS_DENIED).
DWORD ErrorFromErrno(int errnoValue);
// SetLastError(ErrorFromErrno(errnoValue)).
void SetLastErrorFromErrno(int errnoValue);

// ========================================================== handles, events and waits ==========

constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED_0 = 0x80;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

// A manual-reset event stays signalled until ResetEvent; an auto-reset one releases one waiter and
// resets itself.  The name must be null (named events are not shared between processes here).
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCSTR name);
inline HANDLE CreateEvent(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                          LPCSTR name) {
  return CreateEventA(attributes, manualReset, initialState, name);
}
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Closes any kernel handle.  Closing a serial device cancels its pending operations.
BOOL CloseHandle(HANDLE handle);

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
// WAIT_OBJECT_0 + the index of the first signalled handle (waitAll: WAIT_OBJECT_0 once all are
// signalled together), WAIT_TIMEOUT, or WAIT_FAILED with the last error set.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
// WaitForMultipleObjects that also returns WAIT_OBJECT_0 + count once the descriptor fd is
// readable (for message loops that wait on their queue and on kernel objects together).
DWORD WaitForObjectsOrDescriptor(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                 int fd);

// =============================================================================== time ==========
// GetTickCount, GetTickCount64, QueryPerformanceCounter/Frequency(int64_t*) and Sleep come from
// the runtime's clock service (platform/runtime/Clock.h, included above).

BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

// ============================================================================ modules ==========
// Libraries are an in-process table: a module exists only when a provider or a test registered it
// (no shared object is ever loaded), so "iOPC.dll" and "UXTHEME.DLL" are absent unless registered.

// Registers (or replaces) a module under its file name; exports are found by exact name.
void RegisterModule(const AnsiString& fileName, std::map<AnsiString, FARPROC> exports);
void UnregisterModule(const AnsiString& fileName);

// The module by file name (path and letter case ignored, ".dll" assumed without an extension),
// or null with ERROR_MOD_NOT_FOUND.  Every successful call must be matched by FreeLibrary.
HMODULE LoadLibraryA(LPCSTR fileName);
inline HMODULE LoadLibrary(LPCSTR fileName) { return LoadLibraryA(fileName); }
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

// ================================================== system information and locale ==========

constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize = 0;
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  CHAR szCSDVersion[128] = {};
};
using OSVERSIONINFO = OSVERSIONINFOA;

// The system reports itself as the NT family, version 5.1.
BOOL GetVersionExA(OSVERSIONINFOA* info);
inline BOOL GetVersionEx(OSVERSIONINFOA* info) { return GetVersionExA(info); }

// The language of the environment (LC_ALL, then LC_MESSAGES, then LANG) as a language id:
// en_US 0x0409, en_GB 0x0809, de 0x0407, fr 0x040C, es 0x0C0A, it 0x0410, nl 0x0413, pl 0x0415,
// pt_BR 0x0416, pt 0x0816, ru 0x0419, ja 0x0411, ko 0x0412, zh_CN 0x0804, zh_TW 0x0404 (and a few
// more, see Kernel.cpp); unknown, "C" and "POSIX" give 0x0409.
LANGID GetSystemDefaultLangID();
LANGID GetUserDefaultLangID();
LCID GetSystemDefaultLCID();
LCID GetUserDefaultLCID();
constexpr LANGID PRIMARYLANGID(LANGID id) { return LANGID(id & 0x3FF); }
constexpr LANGID SUBLANGID(LANGID id) { return LANGID(id >> 10); }

// The single-byte code page (1252) and the OEM code page (437).
UINT GetACP();
UINT GetOEMCP();
// Code page 1252 has no lead bytes.
BOOL IsDBCSLeadByte(BYTE value);

// ================================================================== text conversions ==========

constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_PRECOMPOSED = 0x1;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;

// Code pages CP_ACP and 1252 (single-byte text), CP_OEMCP and 437, and CP_UTF8.  A length of -1
// means NUL-terminated (the terminator is converted and counted); an output size of 0 asks for
// the size needed.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR out, int outSize);
// Characters the code page cannot hold become defaultChar (or '?'); *usedDefault tells whether
// any did.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int length, LPSTR out, int outSize,
                        LPCSTR defaultChar, LPBOOL usedDefault);

constexpr DWORD NORM_IGNORECASE = 0x1;
constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

// The system's alphabetical order (AnsiCompareStr / AnsiCompareText of the runtime); 0 with
// ERROR_INVALID_PARAMETER for a null text.
int CompareStringA(LCID locale, DWORD flags, LPCSTR a, int lengthA, LPCSTR b, int lengthB);
int CompareStringW(LCID locale, DWORD flags, LPCWSTR a, int lengthA, LPCWSTR b, int lengthB);

// OEM (code page 437) text to single-byte text; source and destination may be the same buffer.
BOOL OemToCharA(LPCSTR source, LPSTR destination);
inline BOOL OemToChar(LPCSTR source, LPSTR destination) { return OemToCharA(source, destination); }
BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length);

// ===================================================================== global memory ==========

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// A fixed block's handle is its address; a moveable block's handle must be locked to reach the
// bytes.  Unknown handles fail with ERROR_INVALID_HANDLE instead of touching memory.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL block);
// Nonzero while the block stays locked.
BOOL GlobalUnlock(HGLOBAL block);
// Null on success, the handle on failure.
HGLOBAL GlobalFree(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);

// ========================================================================= resources ==========
// The program's resources are the table of platform/runtime/Resources.h.  A string-table entry is
// registered as type RT_STRING named "#<id>" (ResourceIdName) holding the single-byte text.  Names
// and types given as integer identifiers (values below 0x10000 cast to a pointer) are "#<id>".

// Integer resource identifiers passed where a name is expected.
inline LPCSTR MAKEINTRESOURCE(uintptr_t id) { return reinterpret_cast<LPCSTR>(id); }
inline bool IS_INTRESOURCE(LPCSTR p) { return (reinterpret_cast<uintptr_t>(p) >> 16) == 0; }
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HRSRC FindResource(HMODULE module, LPCSTR name, uint16_t type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
DWORD SizeofResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL loaded);
// Copies the string with id into buffer (cut to bufferMax - 1 bytes and terminated); returns the
// bytes copied, 0 when there is no such string.
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);
inline int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
  return LoadStringA(instance, id, buffer, bufferMax);
}

// ================================================================= files and process ==========

constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_DEVICE = 0x40;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

// Attributes of a path ("\" is taken as "/"); names beginning with "." are hidden, files the
// process cannot write are read-only.
DWORD GetFileAttributesA(LPCSTR path);
inline DWORD GetFileAttributes(LPCSTR path) { return GetFileAttributesA(path); }
DWORD GetCurrentProcessId();
DWORD GetCurrentThreadId();
