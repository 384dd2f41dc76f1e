// Sections: construction / start and close / sending / receiving / replies / timers.
#include "app/InstrumentLink.h"

#include "app/Commands.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "serial/CPort.h"

const TClassInfo& TInstrumentLink::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TInstrumentLink, TComponent>("TInstrumentLink");
  return info;
}

// =========================================================================== construction =====

TInstrumentLink::TInstrumentLink(TComponent* AOwner, TCustomComPort* Port, TTimer* ReplyTimer)
    : TComponent(AOwner), FPort(Port), FReplyTimer(ReplyTimer), FCommandQueue(new TStringList) {
  if (!FReplyTimer) {
    FReplyTimer = new TTimer(this);
    FReplyTimer->SetEnabled(false);
  } else {
    FReplyTimer->FreeNotification(this);
  }
  FReplyTimer->SetInterval(kReplyTimeoutMs);
  FReplyTimer->SetOnTimer(TNotifyEvent(this, &TInstrumentLink::Timer_OverTimeTimer));
  FExtraTimer = new TTimer(this);
  FExtraTimer->SetEnabled(false);
  FExtraTimer->SetInterval(kExtraReplyWaitMs);
  FExtraTimer->SetOnTimer(TNotifyEvent(this, &TInstrumentLink::ExtraReplyTimer));
  if (FPort) {
    FPort->FreeNotification(this);
    FPort->OnRxChar = TRxCharEvent(this, &TInstrumentLink::PowerComPortRxChar);
  }
}

TInstrumentLink::~TInstrumentLink() {
  if (FReplyTimer && FReplyTimer->GetOwner() != this) FReplyTimer->SetOnTimer(TNotifyEvent());
  if (FPort) FPort->OnRxChar = TRxCharEvent();
  delete FCommandQueue;
}

void TInstrumentLink::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPort) FPort = nullptr;
  if (AComponent == FReplyTimer) FReplyTimer = nullptr;
  if (AComponent == FExtraTimer) FExtraTimer = nullptr;
}

// ======================================================================== start and close =====

void TInstrumentLink::WaitMs(uint32_t Milliseconds) {
  if (WaitHook) {
    WaitHook(Milliseconds);
    return;
  }
  const uint64_t start = GetTickCount64();
  do {
    Application->ProcessMessages();
    if (GetTickCount64() - start < Milliseconds) Sleep(1);
  } while (GetTickCount64() - start < Milliseconds);
}

void TInstrumentLink::StartLink(const TLinkSettings& settings) {
  // A time-out during the waits would write to the closed port.
  if (FReplyTimer) FReplyTimer->SetEnabled(false);
  if (FExtraTimer) FExtraTimer->SetEnabled(false);
  FExtraReplies = 0;
  FPortLost = false;
  FStarting = true;
  try {
    FPort->Close();
    WaitMs(1000);
    static constexpr TBaudRate kRates[] = {br4800, br9600, br19200, br38400};
    if (settings.BaudIndex >= 0 && settings.BaudIndex < 4) FPort->SetBaudRate(kRates[settings.BaudIndex]);
    FPort->SetPort("//./" + settings.GetPortName());
    FPort->Open();
    WaitMs(300);
    // Whatever came in before belongs to commands of the old link.
    FRxBuffer.clear();
    FUnanswered = 0;
    FCommandQueue->Clear();
    for (const char* q : {kIdnQuery, kOutputQuery, kVoltQuery, kCurrQuery, kMeasDvmQuery})
      FCommandQueue->Add(q);
    Write(FCommandQueue->Get(0), true);
    FLinkStarted = true;
  } catch (...) {
    FStarting = false;
    if (FReplyTimer) FReplyTimer->SetEnabled(true);
    throw;
  }
  FStarting = false;
  if (FReplyTimer) FReplyTimer->SetEnabled(true);
}

void TInstrumentLink::CloseLink() {
  FClosing = true;
  if (FReplyTimer) FReplyTimer->SetEnabled(false);
  if (FExtraTimer) FExtraTimer->SetEnabled(false);
  WaitMs(1000);
  FCommandQueue->Clear();
  if (FPort) FPort->Close();
}

void TInstrumentLink::EnablePanel(bool Enabled) {
  FPanelEnabled = Enabled;
  OnEnablePanel(this, Enabled);
}

// ================================================================================ sending =====

void TInstrumentLink::Write(const AnsiString& Text, bool NewHead) {
  try {
    FPort->WriteStr(Text);
  } catch (const EComPort&) {
    // Said once; the reply timer's time-outs then try to get the port back.
    const bool first = !FPortLost;
    FPortLost = true;
    if (FReplyTimer && !FClosing && !FStarting) FReplyTimer->SetEnabled(true);
    if (first) throw;
    return;
  }
  FUnanswered = NewHead ? 1 : FUnanswered + 1;
}

void TInstrumentLink::SendNextCommand() {
  if (FCommandQueue->Count() == 0) return;
  OnTxLamp(this);
  FCommandQueue->Delete(0);
  if (FCommandQueue->Count() == 0) {
    for (const char* q : {kMeasVoltQuery, kMeasCurrQuery, kMeasDvmQuery}) FCommandQueue->Add(q);
    Write(FCommandQueue->Get(0), true);
  } else {
    const AnsiString up = UpperCase(FCommandQueue->Get(0));
    if (Pos(";:SYST:ERR?", up) > 0) {
      const bool volt = Pos("VOLT", up) > 0;
      double value;
      if ((volt || Pos("CURR", up) > 0) && TryWireStrToFloat(Copy(up, 5, int64_t(up.size()) - 16), value))
        (volt ? OnSetVoltage : OnSetCurrent)(this, value, true);
    }
    Write(up, true);
  }
  if (FReplyTimer) FReplyTimer->SetEnabled(true);
}

void TInstrumentLink::ResendPending() {
  if (FCommandQueue->Count() == 0) return;
  OnTxLamp(this);
  Write(FCommandQueue->Get(0), false);
  if (FReplyTimer) FReplyTimer->SetEnabled(true);
}

// ============================================================================== receiving =====

void TInstrumentLink::PowerComPortRxChar(TObject*, int32_t Count) {
  if (FClosing) return;
  AnsiString received;
  if (FStarting) {
    FPort->ReadStr(received, Count);
    return;
  }
  OnRxLamp(this);
  if (FReplyTimer) FReplyTimer->SetEnabled(false);
  if (!FPanelEnabled && !FRunActive) EnablePanel(true);
  FPort->ReadStr(received, Count);
  FRxBuffer += received;
  for (size_t end; !FClosing && !FStarting && (end = FRxBuffer.find('\n')) != AnsiString::npos;) {
    AnsiString line = FRxBuffer.substr(0, end);
    FRxBuffer.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    LineArrived(line);
  }
  if (FRxBuffer.size() > kMaxReplyLine) FRxBuffer.clear();
  // Part of a line only: silence from here on is still a time-out.
  ArmReplyTimer();
}

void TInstrumentLink::ArmReplyTimer() {
  if (!FReplyTimer || FClosing || FExtraReplies > 0 || FCommandQueue->Count() == 0) return;
  if (!FReplyTimer->GetEnabled()) FReplyTimer->SetEnabled(true);
}

void TInstrumentLink::LineArrived(const AnsiString& Line) {
  if (FExtraReplies > 0) {
    // The late answer to a head written twice: its command has been dealt with.
    if (--FExtraReplies == 0) EndWaitForExtra();
    return;
  }
  if (FCommandQueue->Count() == 0) return;
  const uint64_t steps = FQueueSteps;
  try {
    HandleReply(Line);
  } catch (...) {
    // The reply answered the head; what its handler could not do is reported, the link goes on.
    std::exception_ptr error = std::current_exception();
    if (FQueueSteps == steps) {
      try {
        Advance();
      } catch (...) {
        ApplicationHandleException(this);
      }
    }
    ApplicationHandleException(this, error);
  }
}

// ================================================================================ replies =====

void TInstrumentLink::HandleReply(const AnsiString& Line) {
  if (FCommandQueue->Count() == 0) return;
  const AnsiString head = FCommandQueue->Get(0);
  if (FUnanswered > 0) --FUnanswered;
  const AnsiString up = UpperCase(Line);
  if (Pos("TOO", up) > 0 || (Pos("INVALID", up) > 0 && Pos("PARA", up) > 0) || Pos("COMMAND", up) > 0) {
    ++FQueueSteps;
    ResendPending();
    return;
  }
  // A handler that raises leaves the queue to the caller (LineArrived), which moves it on.
  double value = 0;
  if (head == kIdnQuery) {
    AnsiString model;
    const size_t first = Line.find(',');
    const size_t second = first == AnsiString::npos ? AnsiString::npos : Line.find(',', first + 1);
    if (second != AnsiString::npos) model = Line.substr(first + 1, second - first - 1);
    OnIdentify(this, model);
  } else if (head == kOutputQuery) {
    // Anything but a plain 0 or 1 is line noise, not an order to switch the output off.
    if (Line == "1" || Line == "0") OnOutputState(this, Line == "1");
  } else if (head == kMeasVoltQuery || head == kMeasCurrQuery || head == kMeasDvmQuery ||
             head == kVoltQuery || head == kCurrQuery) {
    // A reply that is no number is skipped; the next poll brings a fresh one.
    if (TryWireStrToFloat(Line, value)) {
      if (head == kMeasVoltQuery)
        OnMeasuredVoltage(this, value);
      else if (head == kMeasCurrQuery)
        OnMeasuredCurrent(this, value);
      else if (head == kMeasDvmQuery)
        OnDvm(this, value);
      else if (head == kVoltQuery)
        OnSetVoltage(this, value, false);
      else
        OnSetCurrent(this, value, false);
    }
  } else {
    OnSystemError(this, Line);
  }
  Advance();
}

void TInstrumentLink::Advance() {
  ++FQueueSteps;
  if (FUnanswered > 0) {
    // The head went out more than once: its other answers are still on their way.  Wait for
    // them before the next command, or they would be taken for its reply.
    FExtraReplies = FUnanswered;
    FUnanswered = 0;
    if (FReplyTimer) FReplyTimer->SetEnabled(false);
    if (FExtraTimer) {
      FExtraTimer->SetEnabled(false);
      FExtraTimer->SetEnabled(true);
    }
    return;
  }
  SendNextCommand();
}

// ================================================================================= timers =====

void TInstrumentLink::EndWaitForExtra() {
  FExtraReplies = 0;
  if (FExtraTimer) FExtraTimer->SetEnabled(false);
  SendNextCommand();
}

void TInstrumentLink::ExtraReplyTimer(TObject*) {
  // The extra answer never came (the first was lost, not late).
  if (FExtraReplies > 0) EndWaitForExtra();
  if (FExtraTimer) FExtraTimer->SetEnabled(false);
}

void TInstrumentLink::Timer_OverTimeTimer(TObject*) {
  if (FReplyTimer) FReplyTimer->SetEnabled(false);
  EnablePanel(false);
  // A piece of a late reply would spoil the next line.
  FRxBuffer.clear();
  if (FPortLost) {
    // The adapter went away (unplugged): it is tried again at every time-out, so that polling
    // resumes by itself when it is back under its name.
    try {
      FPort->Close();
      FPort->Open();
      FUnanswered = 0;
      FPortLost = false;
    } catch (const EComPort&) {
      if (FReplyTimer) FReplyTimer->SetEnabled(true);
      return;
    }
  }
  ResendPending();
}
