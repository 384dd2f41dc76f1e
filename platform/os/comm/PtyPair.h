// Pseudo-terminal pairs and plain terminal transfers, for tests, benchmarks and the instrument
// simulator.  The master end plays the instrument; the slave path is the device the program
// under test opens.
#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/Types.h"

class TPtyPair {
 public:
  // A new pair, both ends raw; raises EOSError when the system has none to give.
  TPtyPair();
  ~TPtyPair();
  TPtyPair(const TPtyPair&) = delete;
  TPtyPair& operator=(const TPtyPair&) = delete;

  // Non-blocking; -1 once closed.
  int Master() const { return master_; }
  const AnsiString& SlavePath() const { return slavePath_; }
  // The hang-up the program sees (the cable pulled).  The pair keeps a slave descriptor of its
  // own until then, so that the program may close and reopen the device without the master
  // seeing a hang-up.
  void CloseMaster();

  // Writes all of data to the master; false when the line is gone or stays full for timeoutMs.
  bool Send(std::string_view data, int timeoutMs = 1000);
  // Bytes from the master: returns once at least atLeast bytes came or timeoutMs passed.
  std::string Receive(size_t atLeast, int timeoutMs);
  // One line from the master, its "\n" included (what came if none arrives within timeoutMs);
  // bytes after the line are kept for the next call.
  std::string ReceiveLine(int timeoutMs);

 private:
  int master_ = -1;
  int slaveHold_ = -1;
  AnsiString slavePath_;
  std::string pending_;
};

// Opens a terminal as a plain program would: raw, non-blocking; the descriptor or -1 (errno).
int OpenRawTerminal(const AnsiString& path);
// Writes all of data to fd, polling while the line is full; false on error or after timeoutMs.
bool WriteAll(int fd, std::string_view data, int timeoutMs);
// Appends what fd delivers to line until it holds a "\n"; false on error, hang-up or time-out.
// Bytes after the "\n" stay in line.
bool ReadLine(int fd, std::string& line, int timeoutMs);
// The bare round trip that the serial benchmarks compare with: writes command, then polls and
// reads until one reply line (with its "\n") arrived.
bool BareRoundTrip(int fd, std::string_view command, std::string& reply, int timeoutMs);
