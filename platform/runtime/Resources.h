// Named binary resources compiled into the program: bitmaps, cursors, raw data, string tables
// and stored window definitions.  A resource is found by type and name; names compare without
// regard to ASCII letter case, and a numeric identifier is named "#<number>".
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/runtime/Types.h"

// Resource types, numbered as the executable resource format numbers them.
enum TResourceType : uint16_t {
  RT_CURSOR = 1,
  RT_BITMAP = 2,
  RT_ICON = 3,
  RT_STRING = 6,
  RT_RCDATA = 10,
  RT_GROUP_CURSOR = 12,
  RT_GROUP_ICON = 14,
};

// Registers a resource for the life of the program; the bytes are not copied.  Use it as a
// namespace-scope object in the file that holds the data.  Registering the same type and name
// again replaces the earlier entry.
class TResourceRegistration {
 public:
  TResourceRegistration(uint16_t type, std::string_view name, const void* data, size_t size);
};

// The bytes of a resource, or nullptr when there is none.
const std::string_view* FindResourceData(uint16_t type, std::string_view name);

// "#<id>" for a numeric identifier.
AnsiString ResourceIdName(uint32_t id);
