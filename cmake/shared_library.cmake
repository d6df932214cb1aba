# The shared library's build: only what CORVALA_API marks is exported. It needs no C++ runtime
# library (see corvala_use_library_options) and is linked as C, so that it names none.
corvala_use_library_options(corvala_shared)
set_target_properties(corvala_shared PROPERTIES
  LINKER_LANGUAGE C
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
corvala_add_version_info(corvala_shared PRODUCT "Corvala"
                         DESCRIPTION "Corvala runtime library for calling programs")
if(WIN32)
  # corvala.dll beside its import library libcorvala.dll.a. The DLL carries libgcc, so that it
  # needs nothing but system DLLs; the .def file lists its exports for toolchains that make
  # their own import library from it.
  set_target_properties(corvala_shared PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
  target_link_options(corvala_shared PRIVATE -static
                      -Wl,--output-def,${CMAKE_BINARY_DIR}/corvala.def)
else()
  # Hidden visibility leaves the standard library's template code exported (its headers ask
  # for default visibility); the version script keeps it inside. libcorvala.so loads libc
  # alone, so a C program pays no libstdc++ load at start-up and one program can mix it
  # with any C++ runtime. No C++ object crosses the interface.
  set(version_script ${CMAKE_SOURCE_DIR}/cmake/corvala.map)
  # Its own functions call each other directly, not through the PLT: fewer relocations for
  # the loader to resolve at start-up (its data stays interposable, for copy relocations).
  target_link_options(corvala_shared PRIVATE -Wl,--version-script=${version_script}
                      -Wl,-Bsymbolic-functions)
  set_target_properties(corvala_shared PROPERTIES LINK_DEPENDS ${version_script})
endif()
