// The serial port component: TCustomComPort owns one serial device (opened by port name, with
// its line settings, queue sizes and time-outs), writes and reads it with blocking calls, reports
// modem lines and line errors, and announces line events through its own event thread
// (TComThread), delivered on the UI thread or on the event thread itself.  TComPort publishes it
// for stored window definitions.  Settings can be kept in an INI file or the settings store.
//
// Sections: enumerations and sets / settings objects / EComPort and its messages / the port /
// the event thread / text conversions.
//
// Thread contract:
// - Every public operation of the port and of its settings objects is called on the UI (main)
//   thread, with two exceptions under smNone: the handlers then run on the event thread and may
//   call WriteStr, ReadStr, Read, InputCount, LineErrors and ModemSignals there, beside the UI
//   thread's own calls; the port takes no lock of its own.
// - Under smThreadSync and smWindowSync every handler runs on the UI thread.  smThreadSync blocks
//   the event thread until the handlers have run; smWindowSync releases it before they run.
// - Close waits for the event thread to end and meanwhile serves the deliveries it has pending,
//   so a pending delivery runs (with Connected still True) before Close returns.  Closing the port
//   (also by assigning Port) from inside a handler that the event thread waits for is refused
//   with EInvalidOperation, since it could never end.
// - An exception raised by a handler, or by the queries of a delivery, goes to the application's
//   exception handler on the UI thread (ApplicationHandleException); delivery goes on.
// - When the device goes away (the line hung up, the adapter unplugged), the event thread reports
//   it once (EComPort "WaitForEvent method failed" with the system's error) and then waits only
//   for Close.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/os/kernel/Kernel.h"
#include "platform/os/user/UserTypes.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Events.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Threads.h"
#include "platform/runtime/TypInfo.h"

class TCustomIniFile;
class TRegistry;
class TCustomComPort;
class TComThread;

// ============================================================================================
// enumerations and sets
// ============================================================================================

enum TBaudRate : uint8_t {
  brCustom,
  br110,
  br300,
  br600,
  br1200,
  br2400,
  br4800,
  br9600,
  br14400,
  br19200,
  br38400,
  br56000,
  br57600,
  br115200,
  br128000,
  br256000
};
enum TStopBits : uint8_t { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits : uint8_t { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits : uint8_t { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl : uint8_t { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl : uint8_t { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl : uint8_t { fcHardware, fcSoftware, fcNone, fcCustom };
enum TComEvent : uint8_t {
  evRxChar,
  evTxEmpty,
  evRxFlag,
  evRing,
  evBreak,
  evCTS,
  evDSR,
  evError,
  evRLSD,
  evRx80Full
};
using TComEvents = TSet<TComEvent, 16>;
enum TComError : uint8_t { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
using TComErrors = TSet<TComError, 8>;
enum TComSignal : uint8_t { csCTS, csDSR, csRing, csRLSD };
using TComSignals = TSet<TComSignal, 8>;
enum TSyncMethod : uint8_t { smThreadSync, smWindowSync, smNone };
// The groups of settings that StoreTo... and LoadFrom... handle.
enum TStoredProp : uint8_t { spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers };
using TStoredProps = TSet<TStoredProp, 8>;

inline constexpr TComEvents AllComEvents{evRxChar, evTxEmpty, evRxFlag, evRing, evBreak,
                                         evCTS,    evDSR,     evError,  evRLSD, evRx80Full};

template <>
const EnumNames& EnumNamesOf<TBaudRate>();
template <>
const EnumNames& EnumNamesOf<TStopBits>();
template <>
const EnumNames& EnumNamesOf<TDataBits>();
template <>
const EnumNames& EnumNamesOf<TParityBits>();
template <>
const EnumNames& EnumNamesOf<TDTRFlowControl>();
template <>
const EnumNames& EnumNamesOf<TRTSFlowControl>();
template <>
const EnumNames& EnumNamesOf<TFlowControl>();
template <>
const EnumNames& EnumNamesOf<TComEvent>();
template <>
const EnumNames& EnumNamesOf<TSyncMethod>();

// The system's event mask of a set of events and back (exact inverses over the ten EV_ bits).
DWORD EventsToMask(TComEvents Events);
TComEvents MaskToEvents(DWORD Mask);

using TRxCharEvent = TEvent<TObject*, int32_t>;
using TRxBufEvent = TEvent<TObject*, const void*, int32_t>;
using TComSignalEvent = TEvent<TObject*, bool>;
using TComErrorEvent = TEvent<TObject*, TComErrors>;

// ============================================================================================
// settings objects
// ============================================================================================

// What the settings objects share: the port they belong to (none for a free-standing object),
// which each setter asks to re-apply the settings of its kind.
class TComSettings : public TPersistent {
  PL_CLASS(TComSettings)
 public:
  TCustomComPort* ComPort() const { return FComPort; }
  TPersistent* GetOwner() override;

 protected:
  friend class TCustomComPort;
  // Stores value in field when it differs, then lets the port re-apply.
  template <class V>
  void Change(V& field, V value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  virtual void Changed() = 0;

  TCustomComPort* FComPort = nullptr;
};

// Sizes of the driver's queues in bytes.
class TComBuffer : public TComSettings {
  PL_CLASS(TComBuffer)
 public:
  void Assign(TPersistent* Source) override;
  int32_t GetInputSize() const { return FInputSize; }
  // A positive odd size is stored one less; negative sizes are kept as given.
  void SetInputSize(int32_t Value);
  int32_t GetOutputSize() const { return FOutputSize; }
  void SetOutputSize(int32_t Value);

 protected:
  void Changed() override;

 private:
  int32_t FInputSize = 1024;
  int32_t FOutputSize = 1024;
};

class TComParity : public TComSettings {
  PL_CLASS(TComParity)
 public:
  void Assign(TPersistent* Source) override;
  TParityBits GetBits() const { return FBits; }
  void SetBits(TParityBits Value) { Change(FBits, Value); }
  // The driver checks parity; also lets ceRxParity into the line errors.
  bool GetCheck() const { return FCheck; }
  void SetCheck(bool Value) { Change(FCheck, Value); }
  // With Check: bytes with a parity error are replaced by ReplaceChar.
  bool GetReplace() const { return FReplace; }
  void SetReplace(bool Value) { Change(FReplace, Value); }
  char GetReplaceChar() const { return FReplaceChar; }
  void SetReplaceChar(char Value) { Change(FReplaceChar, Value); }

 protected:
  void Changed() override;

 private:
  TParityBits FBits = prNone;
  bool FCheck = false;
  bool FReplace = false;
  char FReplaceChar = 0;
};

// Milliseconds, passed to the system unchanged (-1 is the all-ones value).  The defaults make a
// read return at once with what has arrived and give a write of n bytes 100 x n + 1000 ms.
class TComTimeouts : public TComSettings {
  PL_CLASS(TComTimeouts)
 public:
  void Assign(TPersistent* Source) override;
  int32_t GetReadInterval() const { return FReadInterval; }
  void SetReadInterval(int32_t Value) { Change(FReadInterval, Value); }
  int32_t GetReadTotalMultiplier() const { return FReadTotalMultiplier; }
  void SetReadTotalMultiplier(int32_t Value) { Change(FReadTotalMultiplier, Value); }
  int32_t GetReadTotalConstant() const { return FReadTotalConstant; }
  void SetReadTotalConstant(int32_t Value) { Change(FReadTotalConstant, Value); }
  int32_t GetWriteTotalMultiplier() const { return FWriteTotalMultiplier; }
  void SetWriteTotalMultiplier(int32_t Value) { Change(FWriteTotalMultiplier, Value); }
  int32_t GetWriteTotalConstant() const { return FWriteTotalConstant; }
  void SetWriteTotalConstant(int32_t Value) { Change(FWriteTotalConstant, Value); }

 protected:
  void Changed() override;

 private:
  int32_t FReadInterval = -1;
  int32_t FReadTotalMultiplier = 0;
  int32_t FReadTotalConstant = 0;
  int32_t FWriteTotalMultiplier = 100;
  int32_t FWriteTotalConstant = 1000;
};

class TComFlowControl : public TComSettings {
  PL_CLASS(TComFlowControl)
 public:
  void Assign(TPersistent* Source) override;
  bool GetOutCTSFlow() const { return FOutCTSFlow; }
  void SetOutCTSFlow(bool Value) { Change(FOutCTSFlow, Value); }
  bool GetOutDSRFlow() const { return FOutDSRFlow; }
  void SetOutDSRFlow(bool Value) { Change(FOutDSRFlow, Value); }
  TDTRFlowControl GetControlDTR() const { return FControlDTR; }
  void SetControlDTR(TDTRFlowControl Value) { Change(FControlDTR, Value); }
  TRTSFlowControl GetControlRTS() const { return FControlRTS; }
  void SetControlRTS(TRTSFlowControl Value) { Change(FControlRTS, Value); }
  bool GetXonXoffOut() const { return FXonXoffOut; }
  void SetXonXoffOut(bool Value) { Change(FXonXoffOut, Value); }
  bool GetXonXoffIn() const { return FXonXoffIn; }
  void SetXonXoffIn(bool Value) { Change(FXonXoffIn, Value); }
  bool GetDSRSensitivity() const { return FDSRSensitivity; }
  void SetDSRSensitivity(bool Value) { Change(FDSRSensitivity, Value); }
  bool GetTxContinueOnXoff() const { return FTxContinueOnXoff; }
  void SetTxContinueOnXoff(bool Value) { Change(FTxContinueOnXoff, Value); }
  char GetXonChar() const { return FXonChar; }
  void SetXonChar(char Value) { Change(FXonChar, Value); }
  char GetXoffChar() const { return FXoffChar; }
  void SetXoffChar(char Value) { Change(FXoffChar, Value); }
  // Derived from ControlRTS, OutCTSFlow and the two Xon/Xoff flags; assigning a value other than
  // fcCustom sets those four (and nothing else); every assignment re-applies the line settings.
  TFlowControl GetFlowControl() const;
  void SetFlowControl(TFlowControl Value);

 protected:
  void Changed() override;

 private:
  bool FOutCTSFlow = false;
  bool FOutDSRFlow = false;
  TDTRFlowControl FControlDTR = dtrDisable;
  TRTSFlowControl FControlRTS = rtsDisable;
  bool FXonXoffOut = false;
  bool FXonXoffIn = false;
  bool FDSRSensitivity = false;
  bool FTxContinueOnXoff = false;
  char FXonChar = 17;
  char FXoffChar = 19;
};

// ============================================================================================
// EComPort and its messages
// ============================================================================================

constexpr int32_t ComPortMessageCount = 23;

// The 23 message texts, numbered from 1, as the message catalogue (text domain "cport")
// translates them; looked up once, on first use.
const std::array<AnsiString, ComPortMessageCount + 1>& ComPortMessages();

class EComPort : public Exception {
 public:
  // The message of Code followed by " (win error code: <WinCode>)" (translated).
  EComPort(int32_t ACode, int32_t AWinCode);
  // The message of Code alone, for errors without a system error; WinCode is -1.
  explicit EComPort(int32_t ACode);

  int32_t WinCode;
  int32_t Code;
};

// ============================================================================================
// the port
// ============================================================================================

class TCustomComPort : public TComponent {
  PL_CLASS(TCustomComPort)
 public:
  explicit TCustomComPort(TComponent* AOwner);
  // Closes the port, then frees the settings objects.  When the owner is being destroyed, its
  // handlers are gone already: the port then closes without raising events.
  ~TCustomComPort() override;

  // ---- settings persistence: the groups of StoredProps, in the section named after the
  // component (INI) or in the registry object's open key.
  virtual void StoreToRegistry(TRegistry* Registry);
  virtual void StoreToIniFile(TCustomIniFile* IniFile);
  // Each key read is assigned through its setter (an open port applies it at once).  A missing
  // INI key keeps the present value; a missing registry value raises the registry's error.
  virtual void LoadFromRegistry(TRegistry* Registry);
  virtual void LoadFromIniFile(TCustomIniFile* IniFile);

  // ---- state
  void Open();
  void Close();

  // ---- transfers, all blocking until the system completed them
  // The bytes written; an empty string writes nothing and returns 0.
  int32_t WriteStr(const AnsiString& Str);
  // Up to Count bytes (with the default time-outs: what has arrived, at once); Str is cut to the
  // bytes read.  Count of 0 or less gives an empty Str and 0.
  int32_t ReadStr(AnsiString& Str, int32_t Count);
  int32_t Read(void* Buffer, int32_t Count);
  // Bytes waiting in the input queue.
  int32_t InputCount();
  TComSignals ModemSignals();
  // The line errors since the last call (the call clears them); ceRxParity only while
  // Parity.Check is on.
  TComErrors LineErrors();
  // Ends pending reads and writes.
  void AbortPendingIO();

  // ---- properties
  HANDLE Handle() const { return FHandle; }
  bool GetConnected() const { return FConnected; }
  void SetConnected(bool Value);
  TBaudRate GetBaudRate() const { return FBaudRate; }
  void SetBaudRate(TBaudRate Value);
  // Bits per second used when BaudRate is brCustom.
  int32_t GetCustomBaudRate() const { return FCustomBaudRate; }
  void SetCustomBaudRate(int32_t Value);
  const AnsiString& GetPort() const { return FPort; }
  // An open port closes and opens again on the new device.
  void SetPort(const AnsiString& Value);
  TStopBits GetStopBits() const { return FStopBits; }
  void SetStopBits(TStopBits Value);
  TDataBits GetDataBits() const { return FDataBits; }
  void SetDataBits(TDataBits Value);
  bool GetDiscardNull() const { return FDiscardNull; }
  void SetDiscardNull(bool Value);
  char GetEventChar() const { return FEventChar; }
  void SetEventChar(char Value);
  // Used at the next Open.
  TComEvents GetEvents() const { return FEvents; }
  void SetEvents(TComEvents Value) { FEvents = Value; }
  TComBuffer* GetBuffer() const { return FBuffer; }
  void SetBuffer(TComBuffer* Value);
  TComParity* GetParity() const { return FParity; }
  void SetParity(TComParity* Value);
  TComTimeouts* GetTimeouts() const { return FTimeouts; }
  void SetTimeouts(TComTimeouts* Value);
  TComFlowControl* GetFlowControl() const { return FFlowControl; }
  void SetFlowControl(TComFlowControl* Value);
  TSyncMethod GetSyncMethod() const { return FSyncMethod; }
  // Refused with EComPort code 14 while the port is open.
  void SetSyncMethod(TSyncMethod Value);
  // The groups the StoreTo.../LoadFrom... operations handle: only spBasic by default.
  TStoredProps GetStoredProps() const { return FStoredProps; }
  void SetStoredProps(TStoredProps Value) { FStoredProps = Value; }

  // ---- events (Sender is the port)
  TNotifyEvent OnAfterOpen;
  TNotifyEvent OnAfterClose;
  TNotifyEvent OnBeforeOpen;
  TNotifyEvent OnBeforeClose;
  TRxCharEvent OnRxChar;
  // Never raised: received bytes are announced by count through OnRxChar.
  TRxBufEvent OnRxBuf;
  TNotifyEvent OnTxEmpty;
  TNotifyEvent OnBreak;
  TNotifyEvent OnRing;
  TComSignalEvent OnCTSChange;
  TComSignalEvent OnDSRChange;
  TComSignalEvent OnRLSDChange;
  TNotifyEvent OnRxFlag;
  TComErrorEvent OnError;
  TNotifyEvent OnRx80Full;

 protected:
  friend class TComThread;
  friend class TComBuffer;
  friend class TComParity;
  friend class TComTimeouts;
  friend class TComFlowControl;

  virtual void OpenDevice();
  virtual void CloseDevice();
  // Buffer sizes, then line settings, then time-outs.
  virtual void ApplySettings();
  // Each does nothing unless the port is open and the component is neither designed nor loading.
  virtual void ApplyLineSettings();
  virtual void ApplyTimeouts();
  virtual void ApplyBufferSizes();
  // Opens a port whose stored Connected was True; a failure goes to the application's exception
  // handler and leaves the port closed.
  void Loaded() override;

  // One hook per event; each calls the handler when one is assigned.
  virtual void DoAfterOpen();
  virtual void DoAfterClose();
  virtual void DoBeforeOpen();
  virtual void DoBeforeClose();
  virtual void DoRxChar(int32_t Count);
  virtual void DoRxBuf(const void* Buffer, int32_t Count);
  virtual void DoTxEmpty();
  virtual void DoBreak();
  virtual void DoRing();
  virtual void DoCTSChange(bool OnOff);
  virtual void DoDSRChange(bool OnOff);
  virtual void DoRLSDChange(bool OnOff);
  virtual void DoRxFlag();
  virtual void DoError(TComErrors Errors);
  virtual void DoRx80Full();

  // The dispatch routine: the steps of the events in Events, in their fixed order.
  void DispatchComEvents(TComEvents Events);
  // One step of it.
  void DispatchComEvent(TComEvent Event);

 private:
  struct TPendingOp;

  bool Inactive() const;
  void CheckNotDelivering();
  void BeginOp(TPendingOp* Op, bool Write, const void* Data, int32_t Count);
  int32_t WaitForCompletion(TPendingOp* Op);
  int32_t Transfer(bool Write, const void* Data, int32_t Count);
  void WindowMethod(TMessage& Message);
  void CreateEventThread();
  void DestroyEventThread();

  TComThread* FEventThread = nullptr;
  bool FThreadCreated = false;
  HANDLE FHandle;
  HWND FWindow = nullptr;
  bool FConnected = false;
  TBaudRate FBaudRate = br9600;
  int32_t FCustomBaudRate = 9600;
  AnsiString FPort = "COM1";
  TStopBits FStopBits = sbOneStopBit;
  TDataBits FDataBits = dbEight;
  bool FDiscardNull = false;
  char FEventChar = 0;
  TComEvents FEvents = AllComEvents;
  TComBuffer* FBuffer;
  TComParity* FParity;
  TComTimeouts* FTimeouts;
  TComFlowControl* FFlowControl;
  TSyncMethod FSyncMethod = smThreadSync;
  TStoredProps FStoredProps{spBasic};
  bool FSilent = false;  // closing for the destructor: no events
};

// Publishes the port's properties and events for stored window definitions.
class TComPort : public TCustomComPort {
  PL_CLASS(TComPort)
 public:
  using TCustomComPort::TCustomComPort;
};

// ============================================================================================
// the event thread
// ============================================================================================

// Waits on the device for the events of the port's Events and delivers each batch by the port's
// SyncMethod.  Created and started by Open, stopped and freed by Close.
class TComThread : public TThread {
  PL_CLASS(TComThread)
 public:
  // Created suspended; sets the device's event mask, then starts.
  explicit TComThread(TCustomComPort* AComPort);
  // Sets the stop event and waits for the thread's end, serving pending deliveries meanwhile.
  ~TComThread() override;

  // Whether a delivery's handlers are running (under smThreadSync and smNone).
  bool InHandler() const { return FInHandler; }

 protected:
  void Execute() override;

 private:
  void DeliverEvents();
  void DoEvents();
  void Report(std::exception_ptr E);

  TCustomComPort* FComPort;
  HANDLE FStopEvent;
  TComEvents FEvents;
  std::atomic<bool> FInHandler{false};
};

// ============================================================================================
// text conversions
// ============================================================================================
// To text by table; from text: the first member whose text equals it without regard to case,
// else the fallback: br9600, sbOneStopBit, dbEight, prNone, fcCustom, rtsDisable, dtrDisable.

AnsiString BaudRateToStr(TBaudRate Value);
TBaudRate StrToBaudRate(const AnsiString& Text);
AnsiString StopBitsToStr(TStopBits Value);
TStopBits StrToStopBits(const AnsiString& Text);
AnsiString DataBitsToStr(TDataBits Value);
TDataBits StrToDataBits(const AnsiString& Text);
AnsiString ParityToStr(TParityBits Value);
TParityBits StrToParity(const AnsiString& Text);
AnsiString FlowControlToStr(TFlowControl Value);
TFlowControl StrToFlowControl(const AnsiString& Text);
AnsiString RTSToStr(TRTSFlowControl Value);
TRTSFlowControl StrToRTS(const AnsiString& Text);
AnsiString DTRToStr(TDTRFlowControl Value);
TDTRFlowControl StrToDTR(const AnsiString& Text);
// "Yes" and "No"; only "YES" in any letter case reads as true.
AnsiString ComBoolToStr(bool Value);
bool StrToComBool(const AnsiString& Text);
// Codes 33..127 as themselves, others as "#" and the decimal code.  Reading: "" is 0; "#" and a
// number of 0..255 is that code (another number or none gives 0); else the first character.
AnsiString ComCharToStr(char Value);
char StrToComChar(const AnsiString& Text);
