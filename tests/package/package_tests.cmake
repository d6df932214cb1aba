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

# Installs into a fresh prefix in the build tree, configures examples/consumer with
# find_package(Corvala) using this build's compilers and flags, builds its programs against
# the shared and the static library and runs them (through the emulator of a cross build).
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
                 -P ${CMAKE_CURRENT_LIST_DIR}/consumer_test.cmake)
