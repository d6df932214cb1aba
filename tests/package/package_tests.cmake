# Tests of the library as others take it: what the shared library exports, and a separate
# project built against an installation of this build.

# The export list: only the C and C++ interfaces, nothing of platform::, the internal
# namespace or the test hooks; a DLL needs nothing but system DLLs.
if(WIN32)
  set(exports_tool ${CMAKE_OBJDUMP})
else()
  set(exports_tool ${CMAKE_NM})
endif()
add_test(NAME exports
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_exports $<TARGET_FILE:corvala_shared>
                 ${exports_tool})

# The runtime library needs no C++ runtime: no object of the static library refers to one.
add_test(NAME no_cxx_runtime
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_no_cxx_runtime ${CMAKE_NM} $<TARGET_FILE:corvala>)

# Hardening of what we ship: the PE files always, the ELF files of optimised Linux builds
# (where the build adds it). Prints a table per binary.
if(WIN32 OR (CORVALA_HARDENING AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"))
  set(hardened_files $<TARGET_FILE:corvala_shared>)
  foreach(program toolbar_tooltips tab_field sort_lines compare_files)
    if(TARGET ${program})
      list(APPEND hardened_files $<TARGET_FILE:${program}>)
    endif()
  endforeach()
  add_test(NAME hardening
           COMMAND ${CMAKE_COMMAND} -E env READELF=${CMAKE_READELF} OBJDUMP=${CMAKE_OBJDUMP}
                   ${CMAKE_CURRENT_LIST_DIR}/check_hardening ${hardened_files})
endif()

# Installs into a fresh prefix in the build tree, configures examples/consumer and the C-only
# examples/consumer/c with find_package(Corvala) using this build's compilers and flags, builds
# their programs against the shared and the static library, and the C program with pkg-config,
# and runs them (through the emulator of a cross build).
string(REPLACE ";" "|" consumer_emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
add_test(NAME consumer
         COMMAND ${CMAKE_COMMAND}
                 -DBUILD_DIR=${CMAKE_BINARY_DIR}
                 -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/consumer
                 -DCONSUMER_DIR=${CMAKE_SOURCE_DIR}/examples/consumer
                 -DEMULATOR=${consumer_emulator}
                 -DTOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
                 -DC_COMPILER=${CMAKE_C_COMPILER}
                 -DCXX_COMPILER=${CMAKE_CXX_COMPILER}
                 "-DC_FLAGS=${CMAKE_C_FLAGS}"
                 "-DCXX_FLAGS=${CMAKE_CXX_FLAGS}"
                 "-DEXE_LINKER_FLAGS=${CMAKE_EXE_LINKER_FLAGS}"
                 -DBUILD_TYPE=${CMAKE_BUILD_TYPE}
                 -DCROSSCOMPILING=${CMAKE_CROSSCOMPILING}
                 -DOBJDUMP=${CMAKE_OBJDUMP}
                 -P ${CMAKE_CURRENT_LIST_DIR}/consumer_test.cmake)

# Windows: the version resources of the DLL and the program, read back through the version
# API as Properties > Details shows them.
if(WIN32)
  add_executable(version_resource ${CMAKE_CURRENT_LIST_DIR}/version_resource.cpp)
  target_link_libraries(version_resource PRIVATE version)
  corvala_use_build_options(version_resource)
  add_test(NAME version_resource_dll
           COMMAND version_resource $<TARGET_FILE:corvala_shared> Corvala ${PROJECT_VERSION})
  if(TARGET toolbar_tooltips)
    add_test(NAME version_resource_exe
             COMMAND version_resource $<TARGET_FILE:toolbar_tooltips> "Toolbar tooltips"
                     ${PROJECT_VERSION})
  endif()
endif()
