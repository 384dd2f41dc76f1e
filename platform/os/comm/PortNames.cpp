#include "platform/os/comm/PortNames.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Strings.h"

AnsiString StripDevicePrefixes(const AnsiString& name) {
  std::string_view rest(name);
  for (;;) {
    if (rest.starts_with("\\\\.\\") || rest.starts_with("//./"))
      rest.remove_prefix(4);
    else
      return AnsiString(rest);
  }
}

namespace {

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// "COMn" with n from 1 on: the n, else 0.
int ComNumber(const AnsiString& name) {
  if (name.size() < 4 || name.size() > 6 || UpperCase(name.substr(0, 3)) != "COM" || name[3] == '0') return 0;
  int n = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

bool HasParentPart(std::string_view path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (path.substr(start, end - start) == "..") return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

void TPortMap::Add(std::string_view text) {
  while (!text.empty()) {
    size_t end = text.find_first_of(";\n");
    std::string_view entry = TrimView(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    size_t eq = entry.find('=');
    if (entry.empty() || entry.front() == '#' || eq == std::string_view::npos) continue;
    std::string_view key = TrimView(entry.substr(0, eq));
    std::string_view value = TrimView(entry.substr(eq + 1));
    if (!key.empty() && !value.empty()) paths_[UpperCase(AnsiString(key))] = AnsiString(value);
  }
}

const AnsiString* TPortMap::Find(const AnsiString& name) const {
  auto it = paths_.find(UpperCase(name));
  return it == paths_.end() ? nullptr : &it->second;
}

TPortMap CurrentPortMap() {
  TPortMap map;
  try {
    std::ifstream file(FileNameToSys(UserConfigFolder() + "/ports"));
    if (file) {
      std::stringstream text;
      text << file.rdbuf();
      map.Add(text.str());
    }
  } catch (const Exception&) {
    // No configuration folder: no map file either.
  }
  if (const char* env = std::getenv("PL_PORT_MAP")) map.Add(env);
  return map;
}

DWORD ResolvePortPath(const AnsiString& name, const TPortMap& map, AnsiString& path) {
  if (const AnsiString* mapped = map.Find(name)) {
    path = mapped->front() == '/' ? *mapped : "/dev/" + *mapped;
    return ERROR_SUCCESS;
  }
  if (name.empty() || name.find('\\') != AnsiString::npos || HasParentPart(name)) return ERROR_INVALID_NAME;
  if (int n = ComNumber(name)) {
    path = "/dev/ttyS" + std::to_string(n - 1);
    return ERROR_SUCCESS;
  }
  if (name.front() == '/') {
    if (!name.starts_with("/dev/")) return ERROR_INVALID_NAME;
    path = name;
  } else {
    path = "/dev/" + name;
  }
  return ERROR_SUCCESS;
}
