// The serial communications interface: serial devices opened by port name, line settings,
// time-outs, overlapped reads, writes and event waits, line status and purging, over Linux
// terminals (termios, poll) or a device plugged in by a test (CommDevice.h).
//
// Sections: constants / records / opening and closing / settings / transfers and events /
// status and control.
//
// Thread contract: every function may be called from any thread, also on one handle from
// several threads at once (the serial event thread waits for events while the UI thread reads
// and writes); each handle serialises its calls with a lock of its own and never blocks in it.
// An overlapped operation progresses while a thread waits on its event (WaitForSingleObject,
// WaitForMultipleObjects), asks for its result (GetOverlappedResult) or calls any function on
// the handle.  Its OVERLAPPED record and buffer must stay valid until it completes; closing the
// handle or the operation's event completes or drops it.
//
// Errors: a function that fails returns FALSE (CreateFileA INVALID_HANDLE_VALUE) and sets the
// last error: ERROR_FILE_NOT_FOUND for a device that does not exist, ERROR_ACCESS_DENIED for one
// that another handle or program holds, ERROR_INVALID_PARAMETER for settings the line cannot take,
// ERROR_IO_PENDING for an overlapped operation that was started and runs on,
// ERROR_OPERATION_ABORTED for one that PurgeComm or CloseHandle ended, and
// ERROR_DEVICE_NOT_CONNECTED once the line has hung up (the other end closed or the adapter was
// unplugged): the pending or next WaitCommEvent reports it once, later waits stay pending until
// the handle is closed, reads deliver what was received before and then fail, writes fail.
// Purging, clearing errors, modem status and closing keep working on a hung-up line.
#pragma once

#include "platform/os/kernel/Kernel.h"

// ========================================================================== constants ==========

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000;

constexpr DWORD CBR_110 = 110;
constexpr DWORD CBR_300 = 300;
constexpr DWORD CBR_600 = 600;
constexpr DWORD CBR_1200 = 1200;
constexpr DWORD CBR_2400 = 2400;
constexpr DWORD CBR_4800 = 4800;
constexpr DWORD CBR_9600 = 9600;
constexpr DWORD CBR_14400 = 14400;
constexpr DWORD CBR_19200 = 19200;
constexpr DWORD CBR_38400 = 38400;
constexpr DWORD CBR_56000 = 56000;
constexpr DWORD CBR_57600 = 57600;
constexpr DWORD CBR_115200 = 115200;
constexpr DWORD CBR_128000 = 128000;
constexpr DWORD CBR_256000 = 256000;

constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE MARKPARITY = 3;
constexpr BYTE SPACEPARITY = 4;

constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE ONE5STOPBITS = 1;
constexpr BYTE TWOSTOPBITS = 2;

constexpr DWORD DTR_CONTROL_DISABLE = 0;
constexpr DWORD DTR_CONTROL_ENABLE = 1;
constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_DISABLE = 0;
constexpr DWORD RTS_CONTROL_ENABLE = 1;
constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_TOGGLE = 3;

// Line events (SetCommMask, WaitCommEvent).
constexpr DWORD EV_RXCHAR = 0x0001;
constexpr DWORD EV_RXFLAG = 0x0002;
constexpr DWORD EV_TXEMPTY = 0x0004;
constexpr DWORD EV_CTS = 0x0008;
constexpr DWORD EV_DSR = 0x0010;
constexpr DWORD EV_RLSD = 0x0020;
constexpr DWORD EV_BREAK = 0x0040;
constexpr DWORD EV_ERR = 0x0080;
constexpr DWORD EV_RING = 0x0100;
constexpr DWORD EV_RX80FULL = 0x0400;

// Line errors (ClearCommError).
constexpr DWORD CE_RXOVER = 0x0001;
constexpr DWORD CE_OVERRUN = 0x0002;
constexpr DWORD CE_RXPARITY = 0x0004;
constexpr DWORD CE_FRAME = 0x0008;
constexpr DWORD CE_BREAK = 0x0010;
constexpr DWORD CE_TXFULL = 0x0100;
constexpr DWORD CE_IOE = 0x0400;
constexpr DWORD CE_MODE = 0x8000;

constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

// Modem lines (GetCommModemStatus).
constexpr DWORD MS_CTS_ON = 0x0010;
constexpr DWORD MS_DSR_ON = 0x0020;
constexpr DWORD MS_RING_ON = 0x0040;
constexpr DWORD MS_RLSD_ON = 0x0080;

// EscapeCommFunction.
constexpr DWORD SETXOFF = 1;
constexpr DWORD SETXON = 2;
constexpr DWORD SETRTS = 3;
constexpr DWORD CLRRTS = 4;
constexpr DWORD SETDTR = 5;
constexpr DWORD CLRDTR = 6;
constexpr DWORD SETBREAK = 8;
constexpr DWORD CLRBREAK = 9;

constexpr DWORD PST_RS232 = 1;

// ============================================================================ records ==========

// Line settings.  The line takes the rate (any rate the device accepts; rates outside the
// standard set through the kernel's arbitrary-rate interface), data bits, parity, stop bits,
// parity checking, CTS/RTS hardware flow (fOutxCtsFlow or RTS_CONTROL_HANDSHAKE), Xon/Xoff in
// both directions with their characters, and the DTR and RTS lines.  DiscardNull (fNull) and the
// event character (EvtChar, EV_RXFLAG) are done by this layer.  The other fields are kept and
// read back but change nothing: DSR flow and sensitivity, TxContinueOnXoff, the Xon/Xoff limits,
// the parity replacement character, the end-of-file character, abort-on-error, DTR handshake and
// RTS toggle (both leave the line on).
struct DCB {
  DWORD DCBlength = 0;
  DWORD BaudRate = 0;
  DWORD fBinary : 1 = 0;
  DWORD fParity : 1 = 0;
  DWORD fOutxCtsFlow : 1 = 0;
  DWORD fOutxDsrFlow : 1 = 0;
  DWORD fDtrControl : 2 = 0;
  DWORD fDsrSensitivity : 1 = 0;
  DWORD fTXContinueOnXoff : 1 = 0;
  DWORD fOutX : 1 = 0;
  DWORD fInX : 1 = 0;
  DWORD fErrorChar : 1 = 0;
  DWORD fNull : 1 = 0;
  DWORD fRtsControl : 2 = 0;
  DWORD fAbortOnError : 1 = 0;
  DWORD fDummy2 : 17 = 0;
  WORD wReserved = 0;
  WORD XonLim = 0;
  WORD XoffLim = 0;
  BYTE ByteSize = 0;
  BYTE Parity = 0;
  BYTE StopBits = 0;
  char XonChar = 0;
  char XoffChar = 0;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;
  WORD wReserved1 = 0;
};
static_assert(sizeof(DCB) == 28, "DCB keeps its documented size");
using LPDCB = DCB*;

// Milliseconds.  Reads: interval MAXDWORD with both totals 0 returns at once with what has
// arrived; interval MAXDWORD, multiplier MAXDWORD and a constant between returns at the first
// byte or after the constant; otherwise a read ends with all bytes, when the total
// (multiplier x bytes + constant, if either is set) runs out, or when the interval passes
// between two bytes; all zero waits for all bytes.  Writes end when multiplier x bytes + constant
// runs out (if either is set), reporting the bytes written so far as a success.
struct COMMTIMEOUTS {
  DWORD ReadIntervalTimeout = 0;
  DWORD ReadTotalTimeoutMultiplier = 0;
  DWORD ReadTotalTimeoutConstant = 0;
  DWORD WriteTotalTimeoutMultiplier = 0;
  DWORD WriteTotalTimeoutConstant = 0;
};
using LPCOMMTIMEOUTS = COMMTIMEOUTS*;

struct COMSTAT {
  DWORD fCtsHold : 1 = 0;
  DWORD fDsrHold : 1 = 0;
  DWORD fRlsdHold : 1 = 0;
  DWORD fXoffHold : 1 = 0;
  DWORD fXoffSent : 1 = 0;
  DWORD fEof : 1 = 0;
  DWORD fTxim : 1 = 0;
  DWORD fReserved : 25 = 0;
  DWORD cbInQue = 0;
  DWORD cbOutQue = 0;
};
using LPCOMSTAT = COMSTAT*;

struct COMMCONFIG {
  DWORD dwSize = 0;
  WORD wVersion = 0;
  WORD wReserved = 0;
  DCB dcb;
  DWORD dwProviderSubType = 0;
  DWORD dwProviderOffset = 0;
  DWORD dwProviderSize = 0;
  WCHAR wcProviderData[1] = {};
};
static_assert(sizeof(COMMCONFIG) == 52, "COMMCONFIG keeps its documented size");
using LPCOMMCONFIG = COMMCONFIG*;

// ================================================================ opening and closing ==========

// Opens a serial device by port name (see PortNames.h for how a name becomes a device: "\\.\"
// and "//./" prefixes are dropped, "COMn" goes through the port map, other names are under
// /dev).  The device is held exclusively until CloseHandle; the line is switched to raw 8-bit
// transfers at once.  Only OPEN_EXISTING is accepted; the share mode is ignored (serial devices
// are never shared).  Without FILE_FLAG_OVERLAPPED every transfer blocks until it completes.
HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
inline HANDLE CreateFile(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                         LPSECURITY_ATTRIBUTES security, DWORD creationDisposition, DWORD flagsAndAttributes,
                         HANDLE templateFile) {
  return CreateFileA(fileName, desiredAccess, shareMode, security, creationDisposition, flagsAndAttributes,
                     templateFile);
}

// The default configuration of a port that exists (its device node is there or a test device is
// registered under the name), without opening it: 9600 baud, 8 data bits, no parity, one stop
// bit.  *size must be at least sizeof(COMMCONFIG).
BOOL GetDefaultCommConfigA(LPCSTR name, LPCOMMCONFIG config, LPDWORD size);
inline BOOL GetDefaultCommConfig(LPCSTR name, LPCOMMCONFIG config, LPDWORD size) {
  return GetDefaultCommConfigA(name, config, size);
}

// ========================================================================== settings ==========

// Queue sizes: kept, and the input size sets the EV_RX80FULL threshold.
BOOL SetupComm(HANDLE file, DWORD inQueue, DWORD outQueue);
BOOL GetCommState(HANDLE file, LPDCB dcb);
// Refuses (ERROR_INVALID_PARAMETER, nothing changed) a rate of 0, data bits outside 5..8, parity
// or stop bits out of range, 1.5 stop bits with more than 5 data bits, 2 with 5, and a rate the
// device cannot approach within 3 %.
BOOL SetCommState(HANDLE file, LPDCB dcb);
BOOL GetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts);
BOOL SetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts);
// Setting the mask forgets the events seen so far and completes a pending WaitCommEvent with 0.
BOOL SetCommMask(HANDLE file, DWORD mask);
BOOL GetCommMask(HANDLE file, LPDWORD mask);

// ================================================================ transfers and events ==========

// With an OVERLAPPED record (on a handle opened with FILE_FLAG_OVERLAPPED): resets its event,
// then either completes at once (TRUE, event set) or returns FALSE with ERROR_IO_PENDING and sets
// the event when done.  Without one the call blocks until done.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped);
// Waits for one of the events of the mask; events that happened since the last wait (or since
// SetCommMask) complete it at once.  EV_RXCHAR means bytes arrived since then, EV_TXEMPTY that
// the last byte written left, EV_CTS/EV_DSR/EV_RLSD a modem line changed, EV_RING the ring line
// came on, EV_BREAK a break, EV_ERR a framing, parity or overrun error, EV_RXFLAG the event
// character arrived, EV_RX80FULL the input queue reached 80 % of its size.
BOOL WaitCommEvent(HANDLE file, LPDWORD eventMask, LPOVERLAPPED overlapped);
// The result of an overlapped operation; while it runs: FALSE with ERROR_IO_INCOMPLETE, or with
// wait set, blocks until it ends.
BOOL GetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD transferred, BOOL wait);

// ================================================================ status and control ==========

// The line errors since the last call (cleared by it), and the bytes waiting in each direction.
BOOL ClearCommError(HANDLE file, LPDWORD errors, LPCOMSTAT status);
// Aborts pending writes or reads (they complete with ERROR_OPERATION_ABORTED) and clears the
// output or input queue.
BOOL PurgeComm(HANDLE file, DWORD flags);
// MS_* lines that are on; a device without modem lines (a pseudo-terminal) has none on.
BOOL GetCommModemStatus(HANDLE file, LPDWORD modemStatus);
// DTR, RTS, break and Xon/Xoff; a device without modem lines accepts and ignores the line calls.
BOOL EscapeCommFunction(HANDLE file, DWORD function);
// Sends one byte ahead of the bytes still waiting in this layer.
BOOL TransmitCommChar(HANDLE file, char c);
