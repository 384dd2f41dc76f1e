// The serial functions: handle lookup, results as the interface reports them, opening by name and
// the registry of test devices.
#include "platform/os/comm/Comm.h"

#include <sys/stat.h>

#include <map>
#include <mutex>
#include <utility>

#include "platform/os/comm/CommPort.h"
#include "platform/os/comm/PortNames.h"
#include "platform/os/comm/TtyDevice.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Strings.h"

namespace {

struct DeviceRegistry {
  std::mutex lock;
  std::map<AnsiString, std::shared_ptr<TCommDevice>> devices;  // by upper-case name
};

DeviceRegistry& registry() {
  static DeviceRegistry r;
  return r;
}

std::shared_ptr<TCommPort> PortOf(HANDLE file) {
  auto port = ObjectOfHandleAs<TCommPort>(file);
  if (!port) SetLastError(ERROR_INVALID_HANDLE);
  return port;
}

BOOL Report(DWORD error) {
  if (error == ERROR_SUCCESS) return TRUE;
  SetLastError(error);
  return FALSE;
}

// Calls a member of the handle's port and reports its result.
template <class Member, class... Args>
BOOL Call(HANDLE file, Member member, Args&&... args) {
  auto port = PortOf(file);
  return port && Report(((*port).*member)(std::forward<Args>(args)...));
}

// The same for a member that fills or takes a record the caller must give.
template <class Member, class Record>
BOOL OnRecord(HANDLE file, Member member, Record* record) {
  return record ? Call(file, member, *record) : Report(ERROR_INVALID_PARAMETER);
}

}  // namespace

void RegisterCommDevice(const AnsiString& name, std::shared_ptr<TCommDevice> device) {
  DeviceRegistry& r = registry();
  std::lock_guard<std::mutex> g(r.lock);
  if (device)
    r.devices[UpperCase(name)] = std::move(device);
  else
    r.devices.erase(UpperCase(name));
}

std::shared_ptr<TCommDevice> FindCommDevice(const AnsiString& name) {
  DeviceRegistry& r = registry();
  std::lock_guard<std::mutex> g(r.lock);
  auto it = r.devices.find(UpperCase(name));
  return it == r.devices.end() ? nullptr : it->second;
}

// ================================================================ opening and closing ==========

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE) {
  if (fileName == nullptr || creationDisposition != OPEN_EXISTING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  AnsiString name = StripDevicePrefixes(fileName);
  std::shared_ptr<TCommDevice> device = FindCommDevice(name);
  if (device) {
    if (int e = device->Claim()) {
      SetLastErrorFromErrno(e);
      return INVALID_HANDLE_VALUE;
    }
  } else {
    AnsiString path;
    if (DWORD e = ResolvePortPath(name, CurrentPortMap(), path)) {
      SetLastError(e);
      return INVALID_HANDLE_VALUE;
    }
    int error = 0;
    device = TTtyDevice::Open(path, error);
    if (!device) {
      SetLastErrorFromErrno(error);
      return INVALID_HANDLE_VALUE;
    }
  }
  auto port =
      std::make_shared<TCommPort>(device, (flagsAndAttributes & FILE_FLAG_OVERLAPPED) != 0,
                                  (desiredAccess & GENERIC_READ) != 0, (desiredAccess & GENERIC_WRITE) != 0);
  SetLastError(ERROR_SUCCESS);
  return AllocateHandle(std::move(port));
}

BOOL GetDefaultCommConfigA(LPCSTR name, LPCOMMCONFIG config, LPDWORD size) {
  if (name == nullptr || size == nullptr) return Report(ERROR_INVALID_PARAMETER);
  if (*size < sizeof(COMMCONFIG)) {
    *size = sizeof(COMMCONFIG);
    return Report(ERROR_INSUFFICIENT_BUFFER);
  }
  if (config == nullptr) return Report(ERROR_INVALID_PARAMETER);
  AnsiString port = StripDevicePrefixes(name);
  if (!FindCommDevice(port)) {
    AnsiString path;
    if (DWORD e = ResolvePortPath(port, CurrentPortMap(), path)) return Report(e);
    struct stat st;
    if (stat(FileNameToSys(path).c_str(), &st) != 0 || !S_ISCHR(st.st_mode))
      return Report(ERROR_FILE_NOT_FOUND);
  }
  *config = COMMCONFIG{};
  config->dwSize = sizeof(COMMCONFIG);
  config->wVersion = 1;
  config->dwProviderSubType = PST_RS232;
  DCB& dcb = config->dcb;
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = CBR_9600;
  dcb.fBinary = 1;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.XonLim = 2048;
  dcb.XoffLim = 512;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.XonChar = 17;
  dcb.XoffChar = 19;
  *size = sizeof(COMMCONFIG);
  return TRUE;
}

// ========================================================================== settings ==========

BOOL SetupComm(HANDLE file, DWORD inQueue, DWORD outQueue) {
  return Call(file, &TCommPort::Setup, inQueue, outQueue);
}
BOOL GetCommState(HANDLE file, LPDCB dcb) { return OnRecord(file, &TCommPort::GetState, dcb); }
BOOL SetCommState(HANDLE file, LPDCB dcb) { return OnRecord(file, &TCommPort::SetState, dcb); }
BOOL GetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts) {
  return OnRecord(file, &TCommPort::GetTimeouts, timeouts);
}
BOOL SetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts) {
  return OnRecord(file, &TCommPort::SetTimeouts, timeouts);
}
BOOL SetCommMask(HANDLE file, DWORD mask) { return Call(file, &TCommPort::SetMask, mask); }
BOOL GetCommMask(HANDLE file, LPDWORD mask) { return OnRecord(file, &TCommPort::GetMask, mask); }

// ================================================================ transfers and events ==========

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
  return Call(file, &TCommPort::Read, buffer, toRead, read, overlapped);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped) {
  return Call(file, &TCommPort::Write, buffer, toWrite, written, overlapped);
}

BOOL WaitCommEvent(HANDLE file, LPDWORD eventMask, LPOVERLAPPED overlapped) {
  return Call(file, &TCommPort::WaitEvent, eventMask, overlapped);
}

BOOL GetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD transferred, BOOL wait) {
  return Call(file, &TCommPort::Result, overlapped, transferred, wait != FALSE);
}

// ================================================================ status and control ==========

BOOL ClearCommError(HANDLE file, LPDWORD errors, LPCOMSTAT status) {
  return Call(file, &TCommPort::ClearError, errors, status);
}
BOOL PurgeComm(HANDLE file, DWORD flags) { return Call(file, &TCommPort::Purge, flags); }
BOOL GetCommModemStatus(HANDLE file, LPDWORD modemStatus) {
  return OnRecord(file, &TCommPort::ModemStatus, modemStatus);
}
BOOL EscapeCommFunction(HANDLE file, DWORD function) { return Call(file, &TCommPort::Escape, function); }
BOOL TransmitCommChar(HANDLE file, char c) { return Call(file, &TCommPort::TransmitChar, c); }
