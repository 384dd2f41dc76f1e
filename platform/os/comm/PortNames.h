// How a port name becomes a device.  "\\.\" and "//./" prefixes are dropped (also repeated: the
// port object puts its own prefix in front of a stored "//./COM1").  A name in the port map
// opens the device mapped to it; "COMn" without an entry opens /dev/ttyS(n-1); any other name is
// a path below /dev ("ttyUSB0", "/dev/pts/3").  The port map is the file "ports" in the user's
// configuration folder, lines such as "COM1=/dev/ttyUSB0", with the environment variable
// PL_PORT_MAP ("COM1=/dev/pts/3;COM2=/dev/ttyS1") over it.
#pragma once

#include <map>
#include <string_view>

#include "platform/os/kernel/Kernel.h"

AnsiString StripDevicePrefixes(const AnsiString& name);

class TPortMap {
 public:
  // Adds "NAME=path" entries separated by line ends or ";"; later entries replace earlier ones;
  // blank entries, entries without "=" and lines starting with "#" are skipped.
  void Add(std::string_view text);
  // The path mapped to a name (letter case ignored), or null.
  const AnsiString* Find(const AnsiString& name) const;

 private:
  std::map<AnsiString, AnsiString> paths_;  // by upper-case name
};

// The map in force now (read on every call, so that a changed file or environment counts).
TPortMap CurrentPortMap();

// ERROR_SUCCESS and the device path of a name without prefixes; ERROR_INVALID_NAME for an empty
// name, one with "\" or a ".." part, and a path outside /dev that the map does not give.
DWORD ResolvePortPath(const AnsiString& name, const TPortMap& map, AnsiString& path);
