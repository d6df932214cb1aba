# The static library is C++ inside but needs no C++ runtime library (see
# corvala_use_library_options), and no libm: a program that links it, a C program included,
# needs only the C library, and on Windows the system DLLs (CORVALA_SYSTEM_LIBRARIES, named in
# its link interface). Whatever else it comes to need is named here, for its link interface
# and pkg-config's Libs.private, so that a C project links it with the C linker.
corvala_use_library_options(corvala)
set(CORVALA_STATIC_RUNTIME)
foreach(library ${CORVALA_STATIC_RUNTIME})
  target_link_libraries(corvala INTERFACE $<LINK_ONLY:${library}>)
endforeach()
