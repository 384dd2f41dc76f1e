// The instrument link: one queue of command lines to the power supply, exactly one of them
// outstanding.  The head of the queue is the command whose reply is awaited; every reply line is
// matched against the head only; an empty queue is refilled with the three measurement queries,
// so the instrument is polled without end while the link is up.  The main window owns one link,
// connects its events to the front panel, and lets the other parts of the program append to
// CommandQueue; only the link writes to the port and removes entries.
//
// Beyond the plain protocol the link keeps itself in step:
//  - reply lines end at the line feed; one carriage return before it is dropped;
//  - a head written again after a time-out may be answered twice: the extra reply is waited for
//    (briefly) and dropped before the next command goes out, so later replies meet their own
//    commands;
//  - a reply that does not fit its command (no number where one is expected) is skipped; an
//    exception raised by a handler of a reply goes to the application's handler after the queue
//    moved on, so polling never stops;
//  - the reply timer is off while the link restarts and after it closed;
//  - a port that can no longer be written (an unplugged adapter) is reported once and reopened at
//    every time-out, so polling resumes when the adapter is back.
//
// Thread contract: the UI thread only (the port delivers OnRxChar there).
#pragma once

#include <cstdint>
#include <functional>

#include "app/Settings.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Events.h"
#include "platform/runtime/Lists.h"

class TCustomComPort;
class TTimer;

using TLinkStateEvent = TEvent<TObject*, bool>;
using TLinkTextEvent = TEvent<TObject*, const AnsiString&>;
using TLinkValueEvent = TEvent<TObject*, double>;
// Written: false for the instrument's answer to the query, true for a setting command going out.
using TLinkSetValueEvent = TEvent<TObject*, double, bool>;

constexpr uint32_t kReplyTimeoutMs = 5000;
// How long an extra reply to a head written twice is waited for.
constexpr uint32_t kExtraReplyWaitMs = 1000;
// A longer run of bytes without a line end is noise; it is dropped.
constexpr size_t kMaxReplyLine = 4096;

class TInstrumentLink : public TComponent {
  PL_CLASS(TInstrumentLink)
 public:
  // Drives Port (its OnRxChar is bound to PowerComPortRxChar) with ReplyTimer as the reply timer
  // (its OnTimer bound to Timer_OverTimeTimer); without one the link makes its own.
  TInstrumentLink(TComponent* AOwner, TCustomComPort* Port, TTimer* ReplyTimer = nullptr);
  ~TInstrumentLink() override;

  // Pending command lines; index 0 is the head.  Other parts only Add.
  TStringList* CommandQueue() const { return FCommandQueue; }

  // (Re)opens the port with settings and queues the start-up queries.  The reply timer is on at
  // the end also when opening fails.
  void StartLink(const TLinkSettings& settings);
  // Drops the answered head and writes the next command (upper-cased; as queued after a refill).
  void SendNextCommand();
  // Writes the head again, as queued.
  void ResendPending();
  // Acts on one reply line (without its line end).
  void HandleReply(const AnsiString& Line);
  // The port's received-characters event.
  void PowerComPortRxChar(TObject* Sender, int32_t Count);
  // The reply timer's event: panel off, head written again.
  void Timer_OverTimeTimer(TObject* Sender);
  // The link's part of closing the main window: received characters are ignored from now on,
  // the queue is cleared and the port closed after a second's wait.
  void CloseLink();
  // Waits while the window messages are processed (WaitHook, when set, waits instead).
  void WaitMs(uint32_t Milliseconds);
  // Switches the front panel through OnEnablePanel and remembers its state.
  void EnablePanel(bool Enabled);

  bool LinkStarted() const { return FLinkStarted; }
  bool Closing() const { return FClosing; }
  bool PanelEnabled() const { return FPanelEnabled; }
  const AnsiString& RxBuffer() const { return FRxBuffer; }
  TTimer* ReplyTimer() const { return FReplyTimer; }

  // Run state shared with the scan, program and GO/NG runs.
  bool FRunActive = false;
  bool FGoNGActive = false;

  // ---- events
  TLinkStateEvent OnEnablePanel;
  TNotifyEvent OnRxLamp;      // toggle the receive lamp
  TNotifyEvent OnTxLamp;      // toggle the transmit lamp
  TLinkTextEvent OnIdentify;  // the model of the identification (second comma field)
  TLinkStateEvent OnOutputState;
  TLinkSetValueEvent OnSetVoltage;
  TLinkSetValueEvent OnSetCurrent;
  TLinkValueEvent OnMeasuredVoltage;
  TLinkValueEvent OnMeasuredCurrent;
  TLinkValueEvent OnDvm;
  // The answer of the error query that ends each setting command.
  TLinkTextEvent OnSystemError;

  std::function<void(uint32_t)> WaitHook;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void Write(const AnsiString& Text, bool NewHead);
  void Advance();
  void LineArrived(const AnsiString& Line);
  void ExtraReplyTimer(TObject* Sender);
  void EndWaitForExtra();
  void ArmReplyTimer();

  TCustomComPort* FPort;
  TTimer* FReplyTimer;
  TTimer* FExtraTimer;
  TStringList* FCommandQueue;
  AnsiString FRxBuffer;
  bool FClosing = false;
  bool FLinkStarted = false;
  bool FStarting = false;
  bool FPanelEnabled = true;
  // Writes of the head not answered yet, and extra replies still awaited before the next write.
  int32_t FUnanswered = 0;
  // Writing to the port failed: the port is reopened at each time-out until it works again.
  bool FPortLost = false;
  int32_t FExtraReplies = 0;
  // Counts the steps a reply moved the queue (resend or advance), to tell whether a handler that
  // raised left the queue where it was.
  uint64_t FQueueSteps = 0;
};
