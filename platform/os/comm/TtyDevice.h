// A Linux terminal device (serial port, USB adapter or pseudo-terminal) behind a serial handle,
// and the raw-terminal helpers the pseudo-terminal pairs share.
#pragma once

#include <memory>

#include "platform/os/comm/CommDevice.h"

class TTtyDevice final : public TCommDevice {
 public:
  // Opens path for exclusive use (an advisory lock plus the terminal's exclusive mode) and
  // switches it to raw 8-bit transfers; null with error set to the errno value on failure
  // (EBUSY when another holds it, ENOTTY when it is not a terminal).
  static std::shared_ptr<TTtyDevice> Open(const AnsiString& path, int& error);
  ~TTtyDevice() override;

  int Descriptor() const override { return fd_; }
  bool StatusChangesWake() const override { return false; }
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
  int Claim() override { return 0; }
  void Release() override;

 private:
  explicit TTtyDevice(int fd);
  int fd_;
  bool released_ = false;
  // Pseudo-terminals refuse the modem and counter requests; they are asked once at opening.
  bool hasModemLines_ = false;
  bool hasCounters_ = false;
  // Only this device's writes fill its output queue (the terminal is held exclusively): once the
  // queue was seen empty it stays so until the next write, and is not asked again.
  bool outputEmpty_ = false;
};

// Raw 8-bit transfers without echo or line editing, one byte satisfies a read: 0 or errno.
int MakeRawTerminal(int fd);
// The terminal's output rate in bits per second (0 when fd is no terminal).
uint32_t TerminalSpeed(int fd);
