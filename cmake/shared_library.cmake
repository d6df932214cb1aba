# The shared library's build: only what CORVALA_API marks is exported.
set_target_properties(corvala_shared PROPERTIES
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
corvala_add_version_info(corvala_shared PRODUCT "Corvala"
                         DESCRIPTION "Corvala runtime library for calling programs")
if(WIN32)
  # corvala.dll beside its import library libcorvala.dll.a. The DLL carries libgcc, libstdc++
  # and winpthread, so that it needs nothing but system DLLs; the .def file lists its exports
  # for toolchains that make their own import library from it.
  set_target_properties(corvala_shared PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
  target_link_options(corvala_shared PRIVATE -static
                      -Wl,--output-def,${CMAKE_BINARY_DIR}/corvala.def)
else()
  # Hidden visibility leaves the standard library's template code exported (its headers ask
  # for default visibility); the version script keeps it inside.
  set(version_script ${CMAKE_SOURCE_DIR}/cmake/corvala.map)
  # The C++ runtime is linked in privately, as the DLL does: libcorvala.so then loads libc
  # and libm alone, so a C program pays no libstdc++ load at start-up and one program can mix
  # it with any C++ runtime. The runtime stays C++; no C++ object crosses the interface.
  target_link_options(corvala_shared PRIVATE -Wl,--version-script=${version_script}
                      -static-libstdc++ -static-libgcc)
  set_target_properties(corvala_shared PROPERTIES LINK_DEPENDS ${version_script})
endif()
