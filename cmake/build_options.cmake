# corvala_build_options: the warnings, definitions and hardening of Corvala's own targets.
# Each of our targets links it (PRIVATE, $<BUILD_INTERFACE:...> for the installed libraries),
# so that none of it reaches GoogleTest, Google Benchmark or a calling program.
add_library(corvala_build_options INTERFACE)
set(warnings -Wall -Wextra)
if(CORVALA_WERROR)
  list(APPEND warnings -Werror)
endif()
# Not for the resource compiler, which shares the C flags' place in its command.
target_compile_options(corvala_build_options INTERFACE "$<$<COMPILE_LANGUAGE:C,CXX>:${warnings}>")

# POSIX: 64-bit file offsets and inode numbers on every word size, so that stat and readdir of
# an i686 build work on large files and where inode numbers or directory offsets pass 2^32
# (as qemu-i386 hands them on from the 64-bit kernel).
if(NOT WIN32)
  target_compile_definitions(corvala_build_options INTERFACE _FILE_OFFSET_BITS=64)
endif()

# Hardening as Debian builds its packages, in optimised Linux builds: _FORTIFY_SOURCE needs
# the optimiser, and the Debug presets keep the sanitizers' view of every access. Off for a
# packager whose own flags bring it, and to measure what it costs.
if(CORVALA_HARDENING AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
  target_compile_options(corvala_build_options INTERFACE
                         $<${optimised}:-fstack-protector-strong>)
  target_compile_definitions(corvala_build_options INTERFACE $<${optimised}:_FORTIFY_SOURCE=2>)
  target_link_options(corvala_build_options INTERFACE $<${optimised}:LINKER:-z,relro,-z,now>)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64)$" AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_compile_options(corvala_build_options INTERFACE $<${optimised}:-fcf-protection>)
  endif()
endif()

# corvala_use_build_options(target...): the options above for each of our targets.
function(corvala_use_build_options)
  foreach(target ${ARGN})
    target_link_libraries(${target} PRIVATE $<BUILD_INTERFACE:corvala_build_options>)
  endforeach()
endfunction()

# corvala_use_library_options(target...): the runtime library's own options. It is C++ that
# needs no C++ runtime library, so that a program linking it, a C program included, loads only
# the C library: no exceptions, no RTTI, and no guard calls around function-local statics
# (the library's statics are constant-initialised). tests/package/check_no_cxx_runtime holds
# it to that.
function(corvala_use_library_options)
  foreach(target ${ARGN})
    target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics>)
  endforeach()
endfunction()
