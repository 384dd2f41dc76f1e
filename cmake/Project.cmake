# Build helpers shared by every folder.

# Adds each listed folder that has a CMakeLists.txt.
function(pl_add_folders)
  foreach(dir IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# pl_library(<target> [DEPS <libs...>]): one static library from every .cpp below the current
# folder; headers are included from the repository root ("platform/runtime/SysUtils.h").
function(pl_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# The compile options of test code, which its precompiled header must share.
function(pl_test_options target)
  # g++ refuses a precompiled header when _REENTRANT (which SDL's flags set) differs; on glibc it
  # changes nothing, so every test program defines it.
  target_compile_definitions(${target} PRIVATE _REENTRANT)
  # The test code itself is optimised less than the libraries it exercises, which keep the build's
  # own optimisation: under the sanitizers it compiles several times faster unoptimised, and -O1
  # saves a quarter of the optimised build's test compile.
  if(PL_SANITIZE)
    target_compile_options(${target} PRIVATE -O0)
  elseif(CMAKE_BUILD_TYPE STREQUAL "Release")
    target_compile_options(${target} PRIVATE -O1)
  endif()
endfunction()

# pl_test_folder(<name> DEPS <libs...> [SHARDS <n>] [TIMEOUT <seconds>]): one GoogleTest program
# from every .cpp below the current folder.  CTest runs the program whole, all its cases in one
# process (a process per case spent most of the sanitizer run starting processes and checking for
# leaks); a failing case is named in the program's output.  SHARDS splits a long program into n
# CTest entries through gtest's own sharding, so that parallel runs stay balanced.
function(pl_test_folder name)
  cmake_parse_arguments(ARG "" "SHARDS;TIMEOUT" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(test_${name} ${srcs})
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR})
  pl_test_options(test_${name})
  target_precompile_headers(test_${name} REUSE_FROM pl_test_pch)
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 1)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  math(EXPR last "${ARG_SHARDS} - 1")
  foreach(shard RANGE ${last})
    if(ARG_SHARDS EQUAL 1)
      set(test ${name})
    else()
      math(EXPR number "${shard} + 1")
      set(test "${name}/${number}of${ARG_SHARDS}")
    endif()
    add_test(NAME ${test} COMMAND test_${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${test} PROPERTIES
      TIMEOUT ${ARG_TIMEOUT}
      ENVIRONMENT "PL_DISPLAY=headless;GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${shard}"
      ENVIRONMENT_MODIFICATION "PL_TEST_OUTPUT=set:${PROJECT_BINARY_DIR}/test-output")
  endforeach()
endfunction()

# pl_definitions(<target> <files...>): compiles text window definitions into the target; each
# file becomes a registered resource named after the class on its first line, as
# ReadComponentRes looks it up.  Give an executable (or an object library): a static library
# would drop the unreferenced registrations.
function(pl_definitions target)
  foreach(file IN LISTS ARGN)
    pl_embed_definition(${target} ${file} cpp out)
  endforeach()
endfunction()

# pl_included_definitions(<target> <files...>): the same for a static library: each definition
# becomes "<folder>/defs/<name>_def.inc" under the build tree, which the form's own unit
# includes, so the registration is linked wherever the form is.
function(pl_included_definitions target)
  foreach(file IN LISTS ARGN)
    pl_embed_definition(${target} ${file} inc out)
    set_source_files_properties(${out} PROPERTIES HEADER_FILE_ONLY ON)
  endforeach()
  target_include_directories(${target} PRIVATE ${PROJECT_BINARY_DIR})
endfunction()

function(pl_embed_definition target file ext outvar)
  get_filename_component(abs ${file} ABSOLUTE)
  get_filename_component(base ${file} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/defs/${base}_def.${ext})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DNAME=${base} -P ${PROJECT_SOURCE_DIR}/cmake/EmbedDefinition.cmake
    DEPENDS ${abs} ${PROJECT_SOURCE_DIR}/cmake/EmbedDefinition.cmake
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
  set(${outvar} ${out} PARENT_SCOPE)
endfunction()
