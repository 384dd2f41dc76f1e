// Sections: enumerations and event masks / messages and EComPort / settings objects /
// the port: lifecycle / the port: settings applied to the device / the port: transfers and status /
// the port: properties / the port: events and dispatch / the event thread /
// settings persistence / text conversions.
#include "serial/CPort.h"

#include <libintl.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/os/comm/Comm.h"
#include "platform/os/user/Messages.h"
#include "platform/os/user/User.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/IniFiles.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Registry.h"
#include "platform/runtime/Strings.h"

// ============================================================================================
// enumerations and event masks
// ============================================================================================

PL_ENUM_NAMES(TBaudRate, "brCustom", "br110", "br300", "br600", "br1200", "br2400", "br4800", "br9600",
              "br14400", "br19200", "br38400", "br56000", "br57600", "br115200", "br128000", "br256000")
PL_ENUM_NAMES(TStopBits, "sbOneStopBit", "sbOne5StopBits", "sbTwoStopBits")
PL_ENUM_NAMES(TDataBits, "dbFive", "dbSix", "dbSeven", "dbEight")
PL_ENUM_NAMES(TParityBits, "prNone", "prOdd", "prEven", "prMark", "prSpace")
PL_ENUM_NAMES(TDTRFlowControl, "dtrDisable", "dtrEnable", "dtrHandshake")
PL_ENUM_NAMES(TRTSFlowControl, "rtsDisable", "rtsEnable", "rtsHandshake", "rtsToggle")
PL_ENUM_NAMES(TFlowControl, "fcHardware", "fcSoftware", "fcNone", "fcCustom")
PL_ENUM_NAMES(TComEvent, "evRxChar", "evTxEmpty", "evRxFlag", "evRing", "evBreak", "evCTS", "evDSR",
              "evError", "evRLSD", "evRx80Full")
PL_ENUM_NAMES(TSyncMethod, "smThreadSync", "smWindowSync", "smNone")

namespace {

// The events with their system bits, in the order the dispatch routine handles them.
struct TEventBit {
  TComEvent Event;
  DWORD Mask;
};
constexpr TEventBit kDispatchOrder[] = {
    {evError, EV_ERR}, {evRxChar, EV_RXCHAR},    {evTxEmpty, EV_TXEMPTY}, {evBreak, EV_BREAK},
    {evRing, EV_RING}, {evCTS, EV_CTS},          {evDSR, EV_DSR},         {evRxFlag, EV_RXFLAG},
    {evRLSD, EV_RLSD}, {evRx80Full, EV_RX80FULL}};

// The hidden window's one message: wParam is one EV_ code.
constexpr UINT CM_COMPORTEVENT = WM_USER + 1;

}  // namespace

DWORD EventsToMask(TComEvents Events) {
  DWORD mask = 0;
  for (const TEventBit& b : kDispatchOrder)
    if (Events.Contains(b.Event)) mask |= b.Mask;
  return mask;
}

TComEvents MaskToEvents(DWORD Mask) {
  TComEvents events;
  for (const TEventBit& b : kDispatchOrder)
    if (Mask & b.Mask) events.Include(b.Event);
  return events;
}

// ============================================================================================
// messages and EComPort
// ============================================================================================

namespace {

constexpr const char* kTextDomain = "cport";

// Marks the texts for translators: xgettext --keyword=N_ --from-code=UTF-8 serial/CPort.cpp
constexpr const char* N_(const char* text) { return text; }

constexpr const char* kMessageTexts[ComPortMessageCount] = {
    N_("Unable to open com port"),
    N_("WriteFile function failed"),
    N_("ReadFile function failed"),
    N_("Invalid Async parameter"),
    N_("PurgeComm function failed"),
    N_("Unable to get async status"),
    N_("SetCommState function failed"),
    N_("SetCommTimeouts failed"),
    N_("SetupComm function failed"),
    N_("ClearCommError function failed"),
    N_("GetCommModemStatus function failed"),
    N_("EscapeCommFunction function failed"),
    N_("TransmitCommChar function failed"),
    N_("Cannot set property while connected"),
    N_("EnumPorts function failed"),
    N_("Failed to store settings"),
    N_("Failed to load settings"),
    N_("Link (un)registration failed"),
    N_("Cannot change led state if ComPort is selected"),
    N_("Cannot wait for event if event thread is created"),
    N_("WaitForEvent method failed"),
    N_("A component is linked to OnRxBuf event"),
    N_("Registry error")};

constexpr const char* kWinCodeSuffix = N_(" (win error code: %d)");

// The domain's catalogues live in "locale" beside the program when that folder exists (else
// where the program bound the domain, by default the system's folder).  The language is the
// user's (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) unless the program chose one.  The texts are
// single-byte, so the catalogue delivers them in code page 1252.
void AddTextDomain() {
  const char* messages = std::setlocale(LC_MESSAGES, nullptr);
  if (!messages || std::strcmp(messages, "C") == 0 || std::strcmp(messages, "POSIX") == 0)
    std::setlocale(LC_MESSAGES, "");
  AnsiString folder = ProgramFolder() + "/locale";
  if (DirectoryExists(folder)) bindtextdomain(kTextDomain, folder.c_str());
  bind_textdomain_codeset(kTextDomain, "CP1252");
}

AnsiString Translate(const char* text) { return dgettext(kTextDomain, text); }

}  // namespace

const std::array<AnsiString, ComPortMessageCount + 1>& ComPortMessages() {
  static const std::array<AnsiString, ComPortMessageCount + 1> table = [] {
    AddTextDomain();
    std::array<AnsiString, ComPortMessageCount + 1> t;
    for (int32_t i = 0; i < ComPortMessageCount; ++i) t[size_t(i) + 1] = Translate(kMessageTexts[i]);
    return t;
  }();
  return table;
}

namespace {

AnsiString MessageText(int32_t code) {
  if (code < 1 || code > ComPortMessageCount) return "";
  return ComPortMessages()[size_t(code)];
}

AnsiString WinCodeSuffix(int32_t winCode) {
  try {
    return Format(Translate(kWinCodeSuffix), {winCode});
  } catch (const EConvertError&) {
    // A translation with a broken placeholder must not hide the error it describes.
    return Format(kWinCodeSuffix, {winCode});
  }
}

[[noreturn]] void RaiseSystemError(int32_t code) { throw EComPort(code, int32_t(GetLastError())); }

}  // namespace

EComPort::EComPort(int32_t ACode, int32_t AWinCode)
    : Exception(MessageText(ACode) + WinCodeSuffix(AWinCode)), WinCode(AWinCode), Code(ACode) {}

EComPort::EComPort(int32_t ACode) : Exception(MessageText(ACode)), WinCode(-1), Code(ACode) {}

// ============================================================================================
// settings objects
// ============================================================================================

const TClassInfo& TComSettings::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TComSettings, TPersistent>("TComSettings");
  return info;
}

TPersistent* TComSettings::GetOwner() { return FComPort; }

const TClassInfo& TComBuffer::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TComBuffer, TComSettings>("TComBuffer")
          .Prop("InputSize", &TComBuffer::GetInputSize, &TComBuffer::SetInputSize)
          .Default(1024)
          .Prop("OutputSize", &TComBuffer::GetOutputSize, &TComBuffer::SetOutputSize)
          .Default(1024);
  return info;
}

void TComBuffer::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TComBuffer*>(Source);
  if (!s) return TPersistent::Assign(Source);
  FInputSize = s->FInputSize;
  FOutputSize = s->FOutputSize;
}

namespace {
// The driver takes even queue sizes.
int32_t EvenSize(int32_t value) { return value > 0 && value % 2 == 1 ? value - 1 : value; }
}  // namespace

void TComBuffer::SetInputSize(int32_t Value) { Change(FInputSize, EvenSize(Value)); }
void TComBuffer::SetOutputSize(int32_t Value) { Change(FOutputSize, EvenSize(Value)); }
void TComBuffer::Changed() {
  if (FComPort) FComPort->ApplyBufferSizes();
}

const TClassInfo& TComParity::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TComParity, TComSettings>("TComParity")
          .Prop("Bits", &TComParity::GetBits, &TComParity::SetBits)
          .Prop("Check", &TComParity::GetCheck, &TComParity::SetCheck)
          .Default(false)
          .Prop("Replace", &TComParity::GetReplace, &TComParity::SetReplace)
          .Default(false)
          .Prop("ReplaceChar", &TComParity::GetReplaceChar, &TComParity::SetReplaceChar)
          .Default('\0');
  return info;
}

void TComParity::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TComParity*>(Source);
  if (!s) return TPersistent::Assign(Source);
  FBits = s->FBits;
  FCheck = s->FCheck;
  FReplace = s->FReplace;
  FReplaceChar = s->FReplaceChar;
}

void TComParity::Changed() {
  if (FComPort) FComPort->ApplyLineSettings();
}

const TClassInfo& TComTimeouts::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TComTimeouts, TComSettings>("TComTimeouts")
          .Prop("ReadInterval", &TComTimeouts::GetReadInterval, &TComTimeouts::SetReadInterval)
          .Default(-1)
          .Prop("ReadTotalMultiplier", &TComTimeouts::GetReadTotalMultiplier,
                &TComTimeouts::SetReadTotalMultiplier)
          .Default(0)
          .Prop("ReadTotalConstant", &TComTimeouts::GetReadTotalConstant, &TComTimeouts::SetReadTotalConstant)
          .Default(0)
          .Prop("WriteTotalMultiplier", &TComTimeouts::GetWriteTotalMultiplier,
                &TComTimeouts::SetWriteTotalMultiplier)
          .Default(100)
          .Prop("WriteTotalConstant", &TComTimeouts::GetWriteTotalConstant,
                &TComTimeouts::SetWriteTotalConstant)
          .Default(1000);
  return info;
}

void TComTimeouts::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TComTimeouts*>(Source);
  if (!s) return TPersistent::Assign(Source);
  FReadInterval = s->FReadInterval;
  FReadTotalMultiplier = s->FReadTotalMultiplier;
  FReadTotalConstant = s->FReadTotalConstant;
  FWriteTotalMultiplier = s->FWriteTotalMultiplier;
  FWriteTotalConstant = s->FWriteTotalConstant;
}

void TComTimeouts::Changed() {
  if (FComPort) FComPort->ApplyTimeouts();
}

const TClassInfo& TComFlowControl::ClassInfo() {
  using F = TComFlowControl;
  static const TClassInfo info =
      TClassInfo::Of<F, TComSettings>("TComFlowControl")
          .Prop("OutCTSFlow", &F::GetOutCTSFlow, &F::SetOutCTSFlow)
          .Prop("OutDSRFlow", &F::GetOutDSRFlow, &F::SetOutDSRFlow)
          .Prop("ControlDTR", &F::GetControlDTR, &F::SetControlDTR)
          .Prop("ControlRTS", &F::GetControlRTS, &F::SetControlRTS)
          .Prop("XonXoffOut", &F::GetXonXoffOut, &F::SetXonXoffOut)
          .Prop("XonXoffIn", &F::GetXonXoffIn, &F::SetXonXoffIn)
          .Prop("DSRSensitivity", &F::GetDSRSensitivity, &F::SetDSRSensitivity)
          .Default(false)
          .Prop("TxContinueOnXoff", &F::GetTxContinueOnXoff, &F::SetTxContinueOnXoff)
          .Default(false)
          .Prop("XonChar", &F::GetXonChar, &F::SetXonChar)
          .Default(char(17))
          .Prop("XoffChar", &F::GetXoffChar, &F::SetXoffChar)
          .Default(char(19))
          .Prop("FlowControl", &F::GetFlowControl, &F::SetFlowControl)
          .Stored(false);
  return info;
}

void TComFlowControl::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TComFlowControl*>(Source);
  if (!s) return TPersistent::Assign(Source);
  FOutCTSFlow = s->FOutCTSFlow;
  FOutDSRFlow = s->FOutDSRFlow;
  FControlDTR = s->FControlDTR;
  FControlRTS = s->FControlRTS;
  FXonXoffOut = s->FXonXoffOut;
  FXonXoffIn = s->FXonXoffIn;
  FDSRSensitivity = s->FDSRSensitivity;
  FTxContinueOnXoff = s->FTxContinueOnXoff;
  FXonChar = s->FXonChar;
  FXoffChar = s->FXoffChar;
}

TFlowControl TComFlowControl::GetFlowControl() const {
  if (FControlRTS == rtsHandshake && FOutCTSFlow && !FXonXoffIn && !FXonXoffOut) return fcHardware;
  if (FControlRTS == rtsDisable && !FOutCTSFlow && FXonXoffIn && FXonXoffOut) return fcSoftware;
  if (FControlRTS == rtsDisable && !FOutCTSFlow && !FXonXoffIn && !FXonXoffOut) return fcNone;
  return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl Value) {
  if (Value != fcCustom) {
    FControlRTS = Value == fcHardware ? rtsHandshake : rtsDisable;
    FOutCTSFlow = Value == fcHardware;
    FXonXoffIn = FXonXoffOut = Value == fcSoftware;
  }
  Changed();
}

void TComFlowControl::Changed() {
  if (FComPort) FComPort->ApplyLineSettings();
}

// ============================================================================================
// the port: lifecycle
// ============================================================================================

const TClassInfo& TCustomComPort::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomComPort, TComponent>("TCustomComPort");
  return info;
}

const TClassInfo& TComPort::ClassInfo() {
  using P = TComPort;
  static const TClassInfo info = TClassInfo::Of<P, TCustomComPort>("TComPort")
                                     .Prop("Connected", &P::GetConnected, &P::SetConnected)
                                     .Default(false)
                                     .Prop("BaudRate", &P::GetBaudRate, &P::SetBaudRate)
                                     .Prop("Port", &P::GetPort, &P::SetPort)
                                     .Object("Parity", &P::GetParity, &P::SetParity)
                                     .Prop("StopBits", &P::GetStopBits, &P::SetStopBits)
                                     .Prop("DataBits", &P::GetDataBits, &P::SetDataBits)
                                     .Prop("DiscardNull", &P::GetDiscardNull, &P::SetDiscardNull)
                                     .Default(false)
                                     .Prop("EventChar", &P::GetEventChar, &P::SetEventChar)
                                     .Default('\0')
                                     .Prop("Events", &P::GetEvents, &P::SetEvents)
                                     .Object("Buffer", &P::GetBuffer, &P::SetBuffer)
                                     .Object("FlowControl", &P::GetFlowControl, &P::SetFlowControl)
                                     .Object("Timeouts", &P::GetTimeouts, &P::SetTimeouts)
                                     .Prop("SyncMethod", &P::GetSyncMethod, &P::SetSyncMethod)
                                     .Default(smThreadSync)
                                     .Event("OnAfterOpen", &P::OnAfterOpen)
                                     .Event("OnAfterClose", &P::OnAfterClose)
                                     .Event("OnBeforeOpen", &P::OnBeforeOpen)
                                     .Event("OnBeforeClose", &P::OnBeforeClose)
                                     .Event("OnRxChar", &P::OnRxChar)
                                     .Event("OnRxBuf", &P::OnRxBuf)
                                     .Event("OnTxEmpty", &P::OnTxEmpty)
                                     .Event("OnBreak", &P::OnBreak)
                                     .Event("OnRing", &P::OnRing)
                                     .Event("OnCTSChange", &P::OnCTSChange)
                                     .Event("OnDSRChange", &P::OnDSRChange)
                                     .Event("OnRLSDChange", &P::OnRLSDChange)
                                     .Event("OnRxFlag", &P::OnRxFlag)
                                     .Event("OnError", &P::OnError)
                                     .Event("OnRx80Full", &P::OnRx80Full);
  return info;
}

TCustomComPort::TCustomComPort(TComponent* AOwner)
    : TComponent(AOwner),
      FHandle(INVALID_HANDLE_VALUE),
      FBuffer(new TComBuffer),
      FParity(new TComParity),
      FTimeouts(new TComTimeouts),
      FFlowControl(new TComFlowControl) {
  ComPortMessages();  // the unit's start-up, on the UI thread
  for (TComSettings* s : std::initializer_list<TComSettings*>{FBuffer, FParity, FTimeouts, FFlowControl})
    s->FComPort = this;
}

TCustomComPort::~TCustomComPort() {
  // An owner being destroyed has lost its derived parts, and with them the handlers.
  FSilent = ComponentState().Contains(csDestroying);
  try {
    Close();
  } catch (...) {
    // Close stopped early (AbortPendingIO failed): the thread and the device go anyway.
  }
  DestroyEventThread();
  CloseDevice();
  FConnected = false;
  delete FBuffer;
  delete FParity;
  delete FTimeouts;
  delete FFlowControl;
}

bool TCustomComPort::Inactive() const {
  TComponentState state = ComponentState();
  return !FConnected || FHandle == INVALID_HANDLE_VALUE || state.Contains(csDesigning) ||
         state.Contains(csLoading);
}

void TCustomComPort::Open() {
  if (FConnected || ComponentState().Contains(csDesigning)) return;
  DoBeforeOpen();
  OpenDevice();
  FConnected = true;
  try {
    ApplySettings();
    if (!FEvents.Empty()) CreateEventThread();
  } catch (...) {
    DestroyEventThread();
    CloseDevice();
    FConnected = false;
    throw;
  }
  DoAfterOpen();
  DoCTSChange(ModemSignals().Contains(csCTS));
  DoDSRChange(ModemSignals().Contains(csDSR));
  DoRLSDChange(ModemSignals().Contains(csRLSD));
}

void TCustomComPort::Close() {
  if (!FConnected || ComponentState().Contains(csDesigning)) return;
  CheckNotDelivering();
  DoCTSChange(false);
  DoDSRChange(false);
  DoRLSDChange(false);
  DoBeforeClose();
  AbortPendingIO();
  DestroyEventThread();
  CloseDevice();
  FConnected = false;
  DoAfterClose();
}

void TCustomComPort::CheckNotDelivering() {
  // Under smThreadSync the event thread waits for the handler on the UI thread; under smNone the
  // handler runs on the event thread itself.  Either way it could never be waited for.
  if (FEventThread && FEventThread->InHandler() && (!IsMainThread() || FSyncMethod == smThreadSync))
    throw EInvalidOperation("Cannot close a serial port from a handler that its event thread waits for");
}

void TCustomComPort::CreateEventThread() {
  if (FSyncMethod == smWindowSync) FWindow = AllocateHWnd(TWndMethod(this, &TCustomComPort::WindowMethod));
  FEventThread = new TComThread(this);
  FThreadCreated = true;
}

void TCustomComPort::DestroyEventThread() {
  if (FThreadCreated) {
    // The pointer stays until the thread has ended: a handler still running checks it (Close).
    delete FEventThread;
    FEventThread = nullptr;
    FThreadCreated = false;
  }
  if (FWindow) DeallocateHWnd(std::exchange(FWindow, nullptr));
}

void TCustomComPort::OpenDevice() {
  AnsiString name = "\\\\.\\" + FPort;
  FHandle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OVERLAPPED, nullptr);
  if (FHandle == INVALID_HANDLE_VALUE) RaiseSystemError(1);
}

void TCustomComPort::CloseDevice() {
  if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(FHandle, INVALID_HANDLE_VALUE));
}

void TCustomComPort::Loaded() {
  TComponent::Loaded();
  if (!FConnected || ComponentState().Contains(csDesigning)) return;
  FConnected = false;
  try {
    Open();
  } catch (...) {
    ApplicationHandleException(this);
  }
}

// ============================================================================================
// the port: settings applied to the device
// ============================================================================================

void TCustomComPort::ApplySettings() {
  ApplyBufferSizes();
  ApplyLineSettings();
  ApplyTimeouts();
}

namespace {
constexpr DWORD kBaudRates[] = {0,         CBR_110,    CBR_300,    CBR_600,   CBR_1200,  CBR_2400,
                                CBR_4800,  CBR_9600,   CBR_14400,  CBR_19200, CBR_38400, CBR_56000,
                                CBR_57600, CBR_115200, CBR_128000, CBR_256000};
}  // namespace

void TCustomComPort::ApplyLineSettings() {
  if (Inactive()) return;
  DCB dcb;
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = FBaudRate == brCustom ? DWORD(FCustomBaudRate) : kBaudRates[FBaudRate];
  dcb.fBinary = 1;
  dcb.fParity = FParity->GetCheck();
  dcb.fOutxCtsFlow = FFlowControl->GetOutCTSFlow();
  dcb.fOutxDsrFlow = FFlowControl->GetOutDSRFlow();
  dcb.fDtrControl = DWORD(FFlowControl->GetControlDTR());
  dcb.fDsrSensitivity = FFlowControl->GetDSRSensitivity();
  dcb.fTXContinueOnXoff = FFlowControl->GetTxContinueOnXoff();
  dcb.fOutX = FFlowControl->GetXonXoffOut();
  dcb.fInX = FFlowControl->GetXonXoffIn();
  dcb.fErrorChar = FParity->GetCheck() && FParity->GetReplace();
  dcb.fNull = FDiscardNull;
  dcb.fRtsControl = DWORD(FFlowControl->GetControlRTS());
  dcb.fAbortOnError = 0;
  dcb.XonLim = WORD(FBuffer->GetInputSize() / 4);
  dcb.XoffLim = dcb.XonLim;
  dcb.ByteSize = BYTE(5 + FDataBits);
  dcb.Parity = BYTE(FParity->GetBits());
  dcb.StopBits = BYTE(FStopBits);
  dcb.XonChar = FFlowControl->GetXonChar();
  dcb.XoffChar = FFlowControl->GetXoffChar();
  dcb.ErrorChar = dcb.fErrorChar ? FParity->GetReplaceChar() : char(0);
  dcb.EofChar = 0;
  dcb.EvtChar = FEventChar;
  if (!SetCommState(FHandle, &dcb)) RaiseSystemError(7);
}

void TCustomComPort::ApplyTimeouts() {
  if (Inactive()) return;
  COMMTIMEOUTS t;
  t.ReadIntervalTimeout = DWORD(FTimeouts->GetReadInterval());
  t.ReadTotalTimeoutMultiplier = DWORD(FTimeouts->GetReadTotalMultiplier());
  t.ReadTotalTimeoutConstant = DWORD(FTimeouts->GetReadTotalConstant());
  t.WriteTotalTimeoutMultiplier = DWORD(FTimeouts->GetWriteTotalMultiplier());
  t.WriteTotalTimeoutConstant = DWORD(FTimeouts->GetWriteTotalConstant());
  if (!SetCommTimeouts(FHandle, &t)) RaiseSystemError(8);
}

void TCustomComPort::ApplyBufferSizes() {
  if (Inactive()) return;
  if (!SetupComm(FHandle, DWORD(FBuffer->GetInputSize()), DWORD(FBuffer->GetOutputSize())))
    RaiseSystemError(9);
}

// ============================================================================================
// the port: transfers and status
// ============================================================================================

// One overlapped operation.  Its event is created signalled, so a record that started nothing
// passes the wait at once.  Closing the event first drops an operation that did not end, so the
// data it points to may go next.
struct TCustomComPort::TPendingOp {
  OVERLAPPED Overlapped{};
  bool Write = false;
  std::string Data;  // the bytes being written

  TPendingOp() { Overlapped.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr); }
  ~TPendingOp() {
    if (Overlapped.hEvent) CloseHandle(Overlapped.hEvent);
  }
  TPendingOp(const TPendingOp&) = delete;
  TPendingOp& operator=(const TPendingOp&) = delete;
};

void TCustomComPort::BeginOp(TPendingOp* Op, bool Write, const void* Data, int32_t Count) {
  if (!Op) throw EComPort(4);
  Op->Write = Write;
  BOOL started;
  if (Write) {
    Op->Data.assign(static_cast<const char*>(Data), size_t(Count));
    started = WriteFile(FHandle, Op->Data.data(), DWORD(Count), nullptr, &Op->Overlapped);
  } else {
    started = ReadFile(FHandle, const_cast<void*>(Data), DWORD(Count), nullptr, &Op->Overlapped);
  }
  if (!started && GetLastError() != ERROR_IO_PENDING) RaiseSystemError(Write ? 2 : 3);
}

int32_t TCustomComPort::WaitForCompletion(TPendingOp* Op) {
  if (!Op) throw EComPort(4);
  int32_t code = Op->Write ? 2 : 3;
  if (WaitForSingleObject(Op->Overlapped.hEvent, INFINITE) != WAIT_OBJECT_0) RaiseSystemError(code);
  DWORD count = 0;
  if (!GetOverlappedResult(FHandle, &Op->Overlapped, &count, FALSE)) RaiseSystemError(code);
  return int32_t(count);
}

int32_t TCustomComPort::Transfer(bool Write, const void* Data, int32_t Count) {
  auto op = std::make_unique<TPendingOp>();
  op->Write = Write;
  bool started = Count > 0;
  if (started) BeginOp(op.get(), Write, Data, Count);
  int32_t done = WaitForCompletion(op.get());
  op.reset();
  if (started && !Write) InputCount();
  return done;
}

int32_t TCustomComPort::WriteStr(const AnsiString& Str) {
  return Transfer(true, Str.data(), int32_t(std::min<size_t>(Str.size(), INT32_MAX)));
}

int32_t TCustomComPort::ReadStr(AnsiString& Str, int32_t Count) {
  Str.assign(size_t(std::max(Count, 0)), '\0');
  try {
    Str.resize(size_t(Transfer(false, Str.data(), int32_t(Str.size()))));
  } catch (...) {
    Str.clear();
    throw;
  }
  return int32_t(Str.size());
}

int32_t TCustomComPort::Read(void* Buffer, int32_t Count) { return Transfer(false, Buffer, Count); }

int32_t TCustomComPort::InputCount() {
  DWORD errors = 0;
  COMSTAT stat;
  if (!ClearCommError(FHandle, &errors, &stat)) RaiseSystemError(10);
  return int32_t(stat.cbInQue);
}

TComSignals TCustomComPort::ModemSignals() {
  DWORD lines = 0;
  if (!GetCommModemStatus(FHandle, &lines)) RaiseSystemError(11);
  TComSignals signals;
  if (lines & MS_CTS_ON) signals.Include(csCTS);
  if (lines & MS_DSR_ON) signals.Include(csDSR);
  if (lines & MS_RING_ON) signals.Include(csRing);
  if (lines & MS_RLSD_ON) signals.Include(csRLSD);
  return signals;
}

TComErrors TCustomComPort::LineErrors() {
  DWORD errors = 0;
  COMSTAT stat;
  if (!ClearCommError(FHandle, &errors, &stat)) RaiseSystemError(10);
  static constexpr struct {
    DWORD Bit;
    TComError Error;
  } kErrors[] = {
      {CE_FRAME, ceFrame}, {CE_RXPARITY, ceRxParity}, {CE_OVERRUN, ceOverrun}, {CE_BREAK, ceBreak},
      {CE_IOE, ceIO},      {CE_MODE, ceMode},         {CE_RXOVER, ceRxOver},   {CE_TXFULL, ceTxFull}};
  TComErrors result;
  for (const auto& e : kErrors)
    if (errors & e.Bit) result.Include(e.Error);
  if (!FParity->GetCheck()) result.Exclude(ceRxParity);
  return result;
}

void TCustomComPort::AbortPendingIO() {
  if (!PurgeComm(FHandle, PURGE_TXABORT | PURGE_RXABORT)) RaiseSystemError(5);
}

// ============================================================================================
// the port: properties
// ============================================================================================

namespace {
// Stores value when it differs; says whether it did.
template <class V>
bool Store(V& field, const V& value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TCustomComPort::SetConnected(bool Value) {
  TComponentState state = ComponentState();
  if (state.Contains(csDesigning) || state.Contains(csLoading)) {
    FConnected = Value;
  } else if (Value != FConnected) {
    Value ? Open() : Close();
  }
}

void TCustomComPort::SetBaudRate(TBaudRate Value) {
  if (Store(FBaudRate, Value)) ApplyLineSettings();
}

void TCustomComPort::SetCustomBaudRate(int32_t Value) {
  if (Store(FCustomBaudRate, Value)) ApplyLineSettings();
}

void TCustomComPort::SetPort(const AnsiString& Value) {
  if (FPort == Value) return;
  // While loading, Connected is only the stored flag: no device is open yet.
  bool reopen = !Inactive();
  if (reopen) Close();
  FPort = Value;
  if (reopen) Open();
}

void TCustomComPort::SetStopBits(TStopBits Value) {
  if (Store(FStopBits, Value)) ApplyLineSettings();
}

void TCustomComPort::SetDataBits(TDataBits Value) {
  if (Store(FDataBits, Value)) ApplyLineSettings();
}

void TCustomComPort::SetDiscardNull(bool Value) {
  if (Store(FDiscardNull, Value)) ApplyLineSettings();
}

void TCustomComPort::SetEventChar(char Value) {
  if (Store(FEventChar, Value)) ApplyLineSettings();
}

void TCustomComPort::SetBuffer(TComBuffer* Value) {
  FBuffer->Assign(Value);
  ApplyBufferSizes();
}

void TCustomComPort::SetParity(TComParity* Value) {
  FParity->Assign(Value);
  ApplyLineSettings();
}

void TCustomComPort::SetTimeouts(TComTimeouts* Value) {
  FTimeouts->Assign(Value);
  ApplyTimeouts();
}

void TCustomComPort::SetFlowControl(TComFlowControl* Value) {
  FFlowControl->Assign(Value);
  ApplyLineSettings();
}

void TCustomComPort::SetSyncMethod(TSyncMethod Value) {
  if (Value == FSyncMethod) return;
  TComponentState state = ComponentState();
  if (FConnected && !state.Contains(csDesigning) && !state.Contains(csLoading)) throw EComPort(14);
  FSyncMethod = Value;
}

// ============================================================================================
// the port: events and dispatch
// ============================================================================================

#define PL_COMPORT_HOOK(Name, Params, Args) \
  void TCustomComPort::Do##Name Params {    \
    if (!FSilent) On##Name Args;            \
  }
PL_COMPORT_HOOK(AfterOpen, (), (this))
PL_COMPORT_HOOK(AfterClose, (), (this))
PL_COMPORT_HOOK(BeforeOpen, (), (this))
PL_COMPORT_HOOK(BeforeClose, (), (this))
PL_COMPORT_HOOK(RxChar, (int32_t Count), (this, Count))
PL_COMPORT_HOOK(RxBuf, (const void* Buffer, int32_t Count), (this, Buffer, Count))
PL_COMPORT_HOOK(TxEmpty, (), (this))
PL_COMPORT_HOOK(Break, (), (this))
PL_COMPORT_HOOK(Ring, (), (this))
PL_COMPORT_HOOK(CTSChange, (bool OnOff), (this, OnOff))
PL_COMPORT_HOOK(DSRChange, (bool OnOff), (this, OnOff))
PL_COMPORT_HOOK(RLSDChange, (bool OnOff), (this, OnOff))
PL_COMPORT_HOOK(RxFlag, (), (this))
PL_COMPORT_HOOK(Error, (TComErrors Errors), (this, Errors))
PL_COMPORT_HOOK(Rx80Full, (), (this))
#undef PL_COMPORT_HOOK

void TCustomComPort::DispatchComEvents(TComEvents Events) {
  for (const TEventBit& b : kDispatchOrder)
    if (Events.Contains(b.Event)) DispatchComEvent(b.Event);
}

void TCustomComPort::DispatchComEvent(TComEvent Event) {
  switch (Event) {
    case evError:
      if (TComErrors errors = LineErrors(); !errors.Empty()) DoError(errors);
      break;
    case evRxChar:
      if (int32_t count = InputCount(); count > 0) DoRxChar(count);
      break;
    case evTxEmpty:
      DoTxEmpty();
      break;
    case evBreak:
      DoBreak();
      break;
    case evRing:
      DoRing();
      break;
    case evCTS:
      DoCTSChange(ModemSignals().Contains(csCTS));
      break;
    case evDSR:
      DoDSRChange(ModemSignals().Contains(csDSR));
      break;
    case evRxFlag:
      DoRxFlag();
      break;
    case evRLSD:
      DoRLSDChange(ModemSignals().Contains(csRLSD));
      break;
    case evRx80Full:
      DoRx80Full();
      break;
  }
}

void TCustomComPort::WindowMethod(TMessage& Message) {
  if (Message.Msg != CM_COMPORTEVENT) {
    Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  // The event thread goes on at once; the handler runs after it has let go.
  if (InSendMessage()) ReplyMessage(0);
  if (!FConnected) return;
  try {
    for (const TEventBit& b : kDispatchOrder)
      if (Message.WParam == b.Mask) DispatchComEvent(b.Event);
  } catch (...) {
    ApplicationHandleException(this);
  }
}

// ============================================================================================
// the event thread
// ============================================================================================

const TClassInfo& TComThread::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TComThread, TThread>("TComThread");
  return info;
}

TComThread::TComThread(TCustomComPort* AComPort) : TThread(true), FComPort(AComPort) {
  FStopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  Priority = tpNormal;
  SetCommMask(FComPort->FHandle, EventsToMask(FComPort->FEvents));
  Resume();
}

TComThread::~TComThread() {
  SetEvent(FStopEvent);
  Sleep(0);
  if (FComPort->FWindow) {
    // The thread may be sending to the hidden window: answer its messages until it ends.
    while (!Finished()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_SENDMESSAGE);
  }
  WaitFor();
  // Owned here rather than by the thread procedure: a closed handle's number may be reused.
  CloseHandle(FStopEvent);
}

void TComThread::Execute() {
  HANDLE device = FComPort->FHandle;
  OVERLAPPED overlapped{};
  overlapped.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  HANDLE handles[2] = {FStopEvent, overlapped.hEvent};
  DWORD mask = 0;  // written when a pending wait completes, so it lives as long as the loop
  // Once the device has failed the thread waits only for the stop event: a failed wait would
  // otherwise complete again at once, for ever.
  bool failed = false;
  for (;;) {
    if (!failed && !WaitCommEvent(device, &mask, &overlapped) && GetLastError() != ERROR_IO_PENDING) {
      Report(std::make_exception_ptr(EComPort(21, int32_t(GetLastError()))));
      failed = true;
    }
    if (WaitForMultipleObjects(failed ? 1 : 2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
    DWORD unused;
    if (GetOverlappedResult(device, &overlapped, &unused, FALSE)) {
      FEvents = MaskToEvents(mask);
      DeliverEvents();
    } else if (GetLastError() == ERROR_DEVICE_NOT_CONNECTED) {
      Report(std::make_exception_ptr(EComPort(21, int32_t(ERROR_DEVICE_NOT_CONNECTED))));
      failed = true;
    }
  }
  SetCommMask(device, 0);
  PurgeComm(device, PURGE_TXCLEAR | PURGE_RXCLEAR);
  CloseHandle(overlapped.hEvent);
}

void TComThread::DeliverEvents() {
  switch (FComPort->FSyncMethod) {
    case smThreadSync:
      Synchronize([this] { DoEvents(); });
      break;
    case smWindowSync:
      for (const TEventBit& b : kDispatchOrder)
        if (FEvents.Contains(b.Event)) SendMessageA(FComPort->FWindow, CM_COMPORTEVENT, b.Mask, 0);
      break;
    case smNone:
      DoEvents();
      break;
  }
}

void TComThread::DoEvents() {
  FInHandler = true;
  try {
    FComPort->DispatchComEvents(FEvents);
  } catch (...) {
    Report(std::current_exception());
  }
  FInHandler = false;
}

void TComThread::Report(std::exception_ptr E) {
  try {
    Synchronize([this, E] { ApplicationHandleException(FComPort, E); });
  } catch (...) {
  }
}

// ============================================================================================
// settings persistence
// ============================================================================================

namespace {

// Where the settings go: the port's INI section, or the registry object's open key.
class TSettingsIO {
 public:
  virtual ~TSettingsIO() = default;
  virtual void WriteString(const AnsiString& Key, const AnsiString& Value) = 0;
  virtual void WriteInteger(const AnsiString& Key, int32_t Value) = 0;
  virtual AnsiString ReadString(const AnsiString& Key, const AnsiString& Default) = 0;
  virtual int32_t ReadInteger(const AnsiString& Key, int32_t Default) = 0;
};

class TIniSettingsIO : public TSettingsIO {
 public:
  TIniSettingsIO(TCustomIniFile* ini, AnsiString section) : ini_(ini), section_(std::move(section)) {}
  void WriteString(const AnsiString& Key, const AnsiString& Value) override {
    ini_->WriteString(section_, Key, Value);
  }
  void WriteInteger(const AnsiString& Key, int32_t Value) override {
    ini_->WriteInteger(section_, Key, Value);
  }
  AnsiString ReadString(const AnsiString& Key, const AnsiString& Default) override {
    return ini_->ReadString(section_, Key, Default);
  }
  int32_t ReadInteger(const AnsiString& Key, int32_t Default) override {
    return ini_->ReadInteger(section_, Key, Default);
  }

 private:
  TCustomIniFile* ini_;
  AnsiString section_;
};

// Without defaults: a missing value raises the registry's error.
class TRegistrySettingsIO : public TSettingsIO {
 public:
  explicit TRegistrySettingsIO(TRegistry* registry) : registry_(registry) {}
  void WriteString(const AnsiString& Key, const AnsiString& Value) override {
    registry_->WriteString(Key, Value);
  }
  void WriteInteger(const AnsiString& Key, int32_t Value) override { registry_->WriteInteger(Key, Value); }
  AnsiString ReadString(const AnsiString& Key, const AnsiString&) override {
    return registry_->ReadString(Key);
  }
  int32_t ReadInteger(const AnsiString& Key, int32_t) override { return registry_->ReadInteger(Key); }

 private:
  TRegistry* registry_;
};

// One stored setting: a text (Text/SetText) or an integer (Int/SetInt).
struct TSettingKey {
  TStoredProp Group;
  const char* Key;
  AnsiString (*Text)(TCustomComPort&) = nullptr;
  void (*SetText)(TCustomComPort&, const AnsiString&) = nullptr;
  int32_t (*Int)(TCustomComPort&) = nullptr;
  void (*SetInt)(TCustomComPort&, int32_t) = nullptr;
};

using P = TCustomComPort&;

// Every setting in the order it is written and read: groups basic, others, parity, buffer,
// time-outs, flow control.  CustomBaudRate is handled apart (only with a custom rate).
const TSettingKey kSettings[] = {
    {spBasic, "Port", [](P p) { return p.GetPort(); }, [](P p, const AnsiString& t) { p.SetPort(t); }},
    {spBasic, "BaudRate", [](P p) { return BaudRateToStr(p.GetBaudRate()); },
     [](P p, const AnsiString& t) { p.SetBaudRate(StrToBaudRate(t)); }},
    {spBasic, "CustomBaudRate", nullptr, nullptr, [](P p) { return p.GetCustomBaudRate(); },
     [](P p, int32_t v) { p.SetCustomBaudRate(v); }},
    {spBasic, "StopBits", [](P p) { return StopBitsToStr(p.GetStopBits()); },
     [](P p, const AnsiString& t) { p.SetStopBits(StrToStopBits(t)); }},
    {spBasic, "DataBits", [](P p) { return DataBitsToStr(p.GetDataBits()); },
     [](P p, const AnsiString& t) { p.SetDataBits(StrToDataBits(t)); }},
    {spBasic, "Parity", [](P p) { return ParityToStr(p.GetParity()->GetBits()); },
     [](P p, const AnsiString& t) { p.GetParity()->SetBits(StrToParity(t)); }},
    {spBasic, "FlowControl", [](P p) { return FlowControlToStr(p.GetFlowControl()->GetFlowControl()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetFlowControl(StrToFlowControl(t)); }},
    {spOthers, "EventChar", [](P p) { return ComCharToStr(p.GetEventChar()); },
     [](P p, const AnsiString& t) { p.SetEventChar(StrToComChar(t)); }},
    {spOthers, "DiscardNull", [](P p) { return ComBoolToStr(p.GetDiscardNull()); },
     [](P p, const AnsiString& t) { p.SetDiscardNull(StrToComBool(t)); }},
    {spParity, "Parity.Check", [](P p) { return ComBoolToStr(p.GetParity()->GetCheck()); },
     [](P p, const AnsiString& t) { p.GetParity()->SetCheck(StrToComBool(t)); }},
    {spParity, "Parity.Replace", [](P p) { return ComBoolToStr(p.GetParity()->GetReplace()); },
     [](P p, const AnsiString& t) { p.GetParity()->SetReplace(StrToComBool(t)); }},
    {spParity, "Parity.ReplaceChar", [](P p) { return ComCharToStr(p.GetParity()->GetReplaceChar()); },
     [](P p, const AnsiString& t) { p.GetParity()->SetReplaceChar(StrToComChar(t)); }},
    {spBuffer, "Buffer.OutputSize", nullptr, nullptr, [](P p) { return p.GetBuffer()->GetOutputSize(); },
     [](P p, int32_t v) { p.GetBuffer()->SetOutputSize(v); }},
    {spBuffer, "Buffer.InputSize", nullptr, nullptr, [](P p) { return p.GetBuffer()->GetInputSize(); },
     [](P p, int32_t v) { p.GetBuffer()->SetInputSize(v); }},
    {spTimeouts, "Timeouts.ReadInterval", nullptr, nullptr,
     [](P p) { return p.GetTimeouts()->GetReadInterval(); },
     [](P p, int32_t v) { p.GetTimeouts()->SetReadInterval(v); }},
    {spTimeouts, "Timeouts.ReadTotalConstant", nullptr, nullptr,
     [](P p) { return p.GetTimeouts()->GetReadTotalConstant(); },
     [](P p, int32_t v) { p.GetTimeouts()->SetReadTotalConstant(v); }},
    {spTimeouts, "Timeouts.ReadTotalMultiplier", nullptr, nullptr,
     [](P p) { return p.GetTimeouts()->GetReadTotalMultiplier(); },
     [](P p, int32_t v) { p.GetTimeouts()->SetReadTotalMultiplier(v); }},
    {spTimeouts, "Timeouts.WriteTotalConstant", nullptr, nullptr,
     [](P p) { return p.GetTimeouts()->GetWriteTotalConstant(); },
     [](P p, int32_t v) { p.GetTimeouts()->SetWriteTotalConstant(v); }},
    {spTimeouts, "Timeouts.WriteTotalMultiplier", nullptr, nullptr,
     [](P p) { return p.GetTimeouts()->GetWriteTotalMultiplier(); },
     [](P p, int32_t v) { p.GetTimeouts()->SetWriteTotalMultiplier(v); }},
    {spFlowControl, "FlowControl.ControlRTS",
     [](P p) { return RTSToStr(p.GetFlowControl()->GetControlRTS()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetControlRTS(StrToRTS(t)); }},
    {spFlowControl, "FlowControl.ControlDTR",
     [](P p) { return DTRToStr(p.GetFlowControl()->GetControlDTR()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetControlDTR(StrToDTR(t)); }},
    {spFlowControl, "FlowControl.DSRSensitivity",
     [](P p) { return ComBoolToStr(p.GetFlowControl()->GetDSRSensitivity()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetDSRSensitivity(StrToComBool(t)); }},
    {spFlowControl, "FlowControl.OutCTSFlow",
     [](P p) { return ComBoolToStr(p.GetFlowControl()->GetOutCTSFlow()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetOutCTSFlow(StrToComBool(t)); }},
    {spFlowControl, "FlowControl.OutDSRFlow",
     [](P p) { return ComBoolToStr(p.GetFlowControl()->GetOutDSRFlow()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetOutDSRFlow(StrToComBool(t)); }},
    {spFlowControl, "FlowControl.TxContinueOnXoff",
     [](P p) { return ComBoolToStr(p.GetFlowControl()->GetTxContinueOnXoff()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetTxContinueOnXoff(StrToComBool(t)); }},
    {spFlowControl, "FlowControl.XonXoffIn",
     [](P p) { return ComBoolToStr(p.GetFlowControl()->GetXonXoffIn()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetXonXoffIn(StrToComBool(t)); }},
    {spFlowControl, "FlowControl.XonXoffOut",
     [](P p) { return ComBoolToStr(p.GetFlowControl()->GetXonXoffOut()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetXonXoffOut(StrToComBool(t)); }},
    {spFlowControl, "FlowControl.XoffChar",
     [](P p) { return ComCharToStr(p.GetFlowControl()->GetXoffChar()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetXoffChar(StrToComChar(t)); }},
    {spFlowControl, "FlowControl.XonChar", [](P p) { return ComCharToStr(p.GetFlowControl()->GetXonChar()); },
     [](P p, const AnsiString& t) { p.GetFlowControl()->SetXonChar(StrToComChar(t)); }},
};

bool IsCustomRateKey(const TSettingKey& s) { return std::strcmp(s.Key, "CustomBaudRate") == 0; }

void StoreSettings(TCustomComPort& port, TSettingsIO& io) {
  for (const TSettingKey& s : kSettings) {
    if (!port.GetStoredProps().Contains(s.Group)) continue;
    if (IsCustomRateKey(s) && port.GetBaudRate() != brCustom) continue;
    s.Text ? io.WriteString(s.Key, s.Text(port)) : io.WriteInteger(s.Key, s.Int(port));
  }
}

void LoadSettings(TCustomComPort& port, TSettingsIO& io) {
  for (const TSettingKey& s : kSettings) {
    if (!port.GetStoredProps().Contains(s.Group)) continue;
    if (IsCustomRateKey(s)) {
      if (port.GetBaudRate() == brCustom) s.SetInt(port, io.ReadInteger(s.Key, 9600));
      continue;
    }
    s.Text ? s.SetText(port, io.ReadString(s.Key, s.Text(port)))
           : s.SetInt(port, io.ReadInteger(s.Key, s.Int(port)));
  }
}

}  // namespace

void TCustomComPort::StoreToRegistry(TRegistry* Registry) {
  TRegistrySettingsIO io(Registry);
  StoreSettings(*this, io);
}

void TCustomComPort::StoreToIniFile(TCustomIniFile* IniFile) {
  TIniSettingsIO io(IniFile, GetName());
  StoreSettings(*this, io);
}

void TCustomComPort::LoadFromRegistry(TRegistry* Registry) {
  TRegistrySettingsIO io(Registry);
  LoadSettings(*this, io);
}

void TCustomComPort::LoadFromIniFile(TCustomIniFile* IniFile) {
  TIniSettingsIO io(IniFile, GetName());
  LoadSettings(*this, io);
}

// ============================================================================================
// text conversions
// ============================================================================================

namespace {

template <class E, size_t N>
E FromText(const AnsiString& text, const char* const (&texts)[N], E fallback) {
  AnsiString upper = UpperCase(text);
  for (size_t i = 0; i < N; ++i)
    if (upper == UpperCase(texts[i])) return E(i);
  return fallback;
}

constexpr const char* kBaudRateTexts[] = {"Custom", "110",    "300",    "600",   "1200",  "2400",
                                          "4800",   "9600",   "14400",  "19200", "38400", "56000",
                                          "57600",  "115200", "128000", "256000"};
constexpr const char* kStopBitsTexts[] = {"1", "1.5", "2"};
constexpr const char* kDataBitsTexts[] = {"5", "6", "7", "8"};
constexpr const char* kParityTexts[] = {"None", "Odd", "Even", "Mark", "Space"};
constexpr const char* kFlowControlTexts[] = {"Hardware", "Software", "None", "Custom"};
constexpr const char* kRTSTexts[] = {"Disable", "Enable", "Handshake", "Toggle"};
constexpr const char* kDTRTexts[] = {"Disable", "Enable", "Handshake"};

}  // namespace

AnsiString BaudRateToStr(TBaudRate Value) { return kBaudRateTexts[Value]; }
TBaudRate StrToBaudRate(const AnsiString& Text) { return FromText(Text, kBaudRateTexts, br9600); }
AnsiString StopBitsToStr(TStopBits Value) { return kStopBitsTexts[Value]; }
TStopBits StrToStopBits(const AnsiString& Text) { return FromText(Text, kStopBitsTexts, sbOneStopBit); }
AnsiString DataBitsToStr(TDataBits Value) { return kDataBitsTexts[Value]; }
TDataBits StrToDataBits(const AnsiString& Text) { return FromText(Text, kDataBitsTexts, dbEight); }
AnsiString ParityToStr(TParityBits Value) { return kParityTexts[Value]; }
TParityBits StrToParity(const AnsiString& Text) { return FromText(Text, kParityTexts, prNone); }
AnsiString FlowControlToStr(TFlowControl Value) { return kFlowControlTexts[Value]; }
TFlowControl StrToFlowControl(const AnsiString& Text) { return FromText(Text, kFlowControlTexts, fcCustom); }
AnsiString RTSToStr(TRTSFlowControl Value) { return kRTSTexts[Value]; }
TRTSFlowControl StrToRTS(const AnsiString& Text) { return FromText(Text, kRTSTexts, rtsDisable); }
AnsiString DTRToStr(TDTRFlowControl Value) { return kDTRTexts[Value]; }
TDTRFlowControl StrToDTR(const AnsiString& Text) { return FromText(Text, kDTRTexts, dtrDisable); }

AnsiString ComBoolToStr(bool Value) { return Value ? "Yes" : "No"; }
bool StrToComBool(const AnsiString& Text) { return UpperCase(Text) == "YES"; }

AnsiString ComCharToStr(char Value) {
  auto code = uint8_t(Value);
  return code >= 33 && code <= 127 ? AnsiString(1, Value) : "#" + IntToStr(code);
}

char StrToComChar(const AnsiString& Text) {
  if (Text.empty()) return 0;
  if (Text.size() > 1 && Text[0] == '#') {
    // A number that no character has is no character either.
    int32_t code = StrToIntDef(Text.substr(1), 0);
    return code >= 0 && code <= 255 ? char(code) : char(0);
  }
  return Text[0];
}
