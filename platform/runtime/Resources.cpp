#include "platform/runtime/Resources.h"

#include <map>
#include <mutex>

namespace {

struct Key {
  uint16_t type;
  AnsiString name;  // upper case
  bool operator<(const Key& o) const { return type != o.type ? type < o.type : name < o.name; }
};

AnsiString Fold(std::string_view s) {
  AnsiString r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return r;
}

// Function-local so registrations from other translation units' static objects find it built.
struct Table {
  std::mutex lock;
  std::map<Key, std::string_view> entries;
};
Table& table() {
  static Table t;
  return t;
}

}  // namespace

TResourceRegistration::TResourceRegistration(uint16_t type, std::string_view name, const void* data, size_t size) {
  Table& t = table();
  std::lock_guard<std::mutex> g(t.lock);
  t.entries[Key{type, Fold(name)}] = std::string_view(static_cast<const char*>(data), size);
}

const std::string_view* FindResourceData(uint16_t type, std::string_view name) {
  Table& t = table();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.entries.find(Key{type, Fold(name)});
  return it == t.entries.end() ? nullptr : &it->second;
}

AnsiString ResourceIdName(uint32_t id) { return "#" + std::to_string(id); }
