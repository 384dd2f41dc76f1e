// The device behind a serial handle: a Linux terminal, or a device a test plugs in under a port
// name to show what a pseudo-terminal cannot (modem-line changes, line errors, breaks, a stalled
// line).
//
// Thread contract: the serial layer calls a device under the owning handle's lock, so one device
// sees one call at a time from the layer; a test device's own controls may be used from any
// thread at the same time.
#pragma once

#include <sys/types.h>

#include <memory>

#include "platform/os/kernel/Kernel.h"

// What the line can be told: the DCB fields a terminal expresses.
struct TLineSettings {
  uint32_t BaudRate = 9600;
  uint8_t DataBits = 8;
  uint8_t Parity = 0;    // NOPARITY .. SPACEPARITY
  uint8_t StopBits = 0;  // ONESTOPBIT .. TWOSTOPBITS
  bool ParityCheck = false;
  bool HardwareFlow = false;  // CTS/RTS in both directions
  bool XonXoffOut = false;
  bool XonXoffIn = false;
  char XonChar = 17;
  char XoffChar = 19;
  friend bool operator==(const TLineSettings&, const TLineSettings&) = default;
};

// Whether a device took the settings it was given: every field as asked, the rate within 3 %
// (devices round rates they cannot divide exactly).
bool SameLineSettings(const TLineSettings& wanted, const TLineSettings& got);

// Counts of line events since the device was opened.
struct TLineCounters {
  uint32_t Frame = 0;
  uint32_t Parity = 0;
  uint32_t Overrun = 0;
  uint32_t Break = 0;
  uint32_t BufferOverrun = 0;
};

class TCommDevice {
 public:
  virtual ~TCommDevice() = default;

  // Readable when input or a change waits, POLLOUT when output fits, POLLHUP once hung up.
  virtual int Descriptor() const = 0;
  // The poll events to ask the descriptor for when the layer wants input (POLLIN) or room for
  // output (POLLOUT).
  virtual short PollMask(short wanted) const { return wanted; }
  // Called before the layer looks at the device after a wake-up (a test device re-arms).
  virtual void ClearWake() {}
  // True when modem-line and error changes wake the descriptor; else the layer polls them.
  virtual bool StatusChangesWake() const = 0;

  // Non-blocking transfers: the count moved, or -1 with errno (EAGAIN: nothing now).  Read
  // returns 0 once the line has hung up.
  virtual ssize_t Read(void* buffer, size_t size) = 0;
  virtual ssize_t Write(const void* buffer, size_t size) = 0;
  // Bytes held by the device in each direction (-1: unknown).
  virtual int InputQueued() = 0;
  virtual int OutputQueued() = 0;
  virtual void Flush(bool input, bool output) = 0;

  // 0 or an errno value; EINVAL for settings the device cannot take (it keeps the old ones).
  virtual int Configure(const TLineSettings& settings) = 0;
  virtual TLineSettings Settings() = 0;
  // Lines to raise (1), lower (0) or keep (-1); 0, ENOTTY for a device without them, or errno.
  virtual int SetModemOutputs(int dtr, int rts) = 0;
  virtual int SetBreak(bool on) = 0;
  // Suspends or resumes output as a received Xoff / Xon would.
  virtual int SuspendOutput(bool suspend) = 0;
  // MS_* lines that are on; false when the device has no modem lines.
  virtual bool ModemLines(DWORD& lines) = 0;
  // False when the device counts no line events.
  virtual bool LineCounters(TLineCounters& counters) = 0;

  // Takes the device for one handle: 0, or EBUSY while another handle holds it.
  virtual int Claim() = 0;
  // Gives it up again when the handle closes.
  virtual void Release() = 0;
};

// Plugs a device in under a port name (as CreateFileA sees it after its prefixes; letter case
// ignored), ahead of the port map and /dev.  Registering null removes the name.
void RegisterCommDevice(const AnsiString& name, std::shared_ptr<TCommDevice> device);
std::shared_ptr<TCommDevice> FindCommDevice(const AnsiString& name);
