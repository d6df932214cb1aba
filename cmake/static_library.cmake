# The static library is C++ inside: a program that links it, a C program included, also links
# the C++ runtime and libm. They are named in its link interface (and in pkg-config's
# Libs.private), so that a C project links it with the C linker.
if(WIN32)
  # MinGW's libstdc++ of the -posix compilers calls winpthread.
  set(CORVALA_STATIC_RUNTIME stdc++ pthread)
else()
  set(CORVALA_STATIC_RUNTIME stdc++ m)
endif()
foreach(library ${CORVALA_STATIC_RUNTIME})
  target_link_libraries(corvala INTERFACE $<LINK_ONLY:${library}>)
endforeach()
