# Script mode (cmake -DIN=<definition> -DOUT=<generated .cpp> -DNAME=<base name> -P ...): turns a
# text window definition into a C++ source that registers it with the resource table as an
# RT_RCDATA resource named after the class on its first line ("object Name: TClass"), which is
# the name ReadComponentRes and InitInheritedComponent look up.
file(READ "${IN}" hex HEX)
if(hex STREQUAL "")
  message(FATAL_ERROR "${IN}: the definition is empty")
endif()
file(STRINGS "${IN}" first LIMIT_COUNT 1)
string(REGEX MATCH "^[ \t]*([A-Za-z]+)[ \t]+([A-Za-z_][A-Za-z0-9_]*)([ \t]*:[ \t]*([A-Za-z_][A-Za-z0-9_]*))?" header "${first}")
# Taken before if(MATCHES) below replaces the CMAKE_MATCH_ variables.
string(TOLOWER "${CMAKE_MATCH_1}" keyword)
if(CMAKE_MATCH_4)
  set(class "${CMAKE_MATCH_4}")
else()
  set(class "${CMAKE_MATCH_2}")
endif()
if(NOT header OR NOT keyword MATCHES "^(object|inherited|inline)$")
  message(FATAL_ERROR "${IN}: the first line must read 'object Name: TClass'")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n  " bytes "${bytes}")
file(WRITE "${OUT}.tmp"
"// Generated from ${NAME} by cmake/EmbedDefinition.cmake: the stored definition of ${class}.
#include \"platform/runtime/Resources.h\"

namespace {
// Named after the class so that several definitions can share one unity source.
const unsigned char kDefinition_${class}[] = {
  ${bytes}};
const TResourceRegistration kRegistration_${class}(RT_RCDATA, \"${class}\", kDefinition_${class},
                                                   sizeof kDefinition_${class});
}  // namespace
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
