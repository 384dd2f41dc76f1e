// Port names and the port map: the input is a map file (before its first NUL) and port names,
// one a line (after it); each name is resolved through the map, the environment's map and none.
#include <cstdlib>

#include "fuzz/support/FuzzSupport.h"
#include "platform/os/comm/PortNames.h"
#include "platform/runtime/Files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  AnsiString mapText, names;
  fuzz::SplitAtNul(data, size, mapText, names);
  TPortMap map;
  map.Add(mapText);
  static const std::string mapFile = UserConfigFolder() + "/ports";
  fuzz::WriteTempFile(mapFile, reinterpret_cast<const uint8_t*>(mapText.data()), mapText.size());
  std::string env = mapText.substr(0, 512);
  if (env.find('\0') == std::string::npos) ::setenv("PL_PORT_MAP", env.c_str(), 1);
  TPortMap current;
  fuzz::Expect([&] { current = CurrentPortMap(); });
  ::unsetenv("PL_PORT_MAP");
  size_t start = 0;
  for (int n = 0; start <= names.size() && n < 32; ++n) {
    size_t end = names.find('\n', start);
    if (end == AnsiString::npos) end = names.size();
    AnsiString name = names.substr(start, end - start);
    name = StripDevicePrefixes(name);  // as the serial layer does before resolving
    for (const TPortMap* m : {static_cast<const TPortMap*>(&map), static_cast<const TPortMap*>(&current), static_cast<const TPortMap*>(nullptr)}) {
      AnsiString path;
      TPortMap empty;
      DWORD rc = ResolvePortPath(name, m ? *m : empty, path);
      // A resolved name never leaves /dev unless the map said so.
      if (rc == ERROR_SUCCESS && path.compare(0, 5, "/dev/") != 0 && !(m && m->Find(name)))
        fuzz::Fail("'" + name + "' resolved to " + path + " outside /dev");
    }
    start = end + 1;
  }
  return 0;
}
