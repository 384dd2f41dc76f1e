// A serial device in memory for tests: the test pushes the bytes that arrive and takes the bytes
// written, and sets by hand what a pseudo-terminal cannot show: modem lines, line errors and
// breaks, a stalled line, bytes still leaving the line, a hang-up.  Plug it in with
// RegisterCommDevice and open it by that name.
//
// Thread contract: the test's controls may be called from any thread, also while the serial layer
// uses the device.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "platform/os/comm/CommDevice.h"

class TFakeCommDevice final : public TCommDevice {
 public:
  TFakeCommDevice();
  ~TFakeCommDevice() override;
  TFakeCommDevice(const TFakeCommDevice&) = delete;
  TFakeCommDevice& operator=(const TFakeCommDevice&) = delete;

  // ---- the test's side
  void PushInput(std::string_view bytes);
  // Everything written since the last call.
  std::string TakeOutput();
  // MS_* lines that are on.
  void SetModemLines(DWORD lines);
  // Adds to the counts of framing, parity and overrun errors and breaks.
  void AddLineEvents(const TLineCounters& added);
  // A stalled line takes no bytes (writes wait) until it runs again.
  void SetStalled(bool stalled);
  // Bytes written that have not left the line yet (they hold EV_TXEMPTY back).
  void SetOutputBacklog(int bytes);
  // Takes new rates but silently keeps its data bits, parity and stop bits, as some drivers do.
  void SetKeepsFraming(bool keeps);
  // The other end goes away: reads report the hang-up, writes fail.
  void HangUp();

  TLineSettings LastSettings();
  // DTR and RTS as last set: 1 on, 0 off, -1 never set.
  int Dtr();
  int Rts();
  bool BreakOn();
  bool OutputSuspended();
  bool Claimed();
  // Bytes that a purge of the input threw away so far.
  size_t InputFlushed();

  // ---- the serial layer's side
  int Descriptor() const override { return fd_; }
  short PollMask(short) const override;
  void ClearWake() override;
  bool StatusChangesWake() const override { return true; }
  ssize_t Read(void* buffer, size_t size) override;
  ssize_t Write(const void* buffer, size_t size) override;
  int InputQueued() override;
  int OutputQueued() override;
  void Flush(bool input, bool output) override;
  int Configure(const TLineSettings& settings) override;
  TLineSettings Settings() override;
  int SetModemOutputs(int dtr, int rts) override;
  int SetBreak(bool on) override;
  int SuspendOutput(bool suspend) override;
  bool ModemLines(DWORD& lines) override;
  bool LineCounters(TLineCounters& counters) override;
  int Claim() override;
  void Release() override;

 private:
  void Wake();

  std::mutex lock_;
  int fd_;
  std::string input_;
  std::string output_;
  size_t inputFlushed_ = 0;
  DWORD lines_ = 0;
  TLineCounters counters_;
  TLineSettings settings_;
  int dtr_ = -1;
  int rts_ = -1;
  int backlog_ = 0;
  bool stalled_ = false;
  bool hungUp_ = false;
  bool keepsFraming_ = false;
  bool break_ = false;
  bool suspended_ = false;
  bool claimed_ = false;
};
