# `cmake --install`: the public headers, both libraries, the CMake package (Corvala::corvala,
# Corvala::corvala_shared) and the pkg-config file. Nothing of platform/, runtime/ or the tests.
include(CMakePackageConfigHelpers)
set(CORVALA_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Corvala)
# Components for the packages: the shared library is the runtime, everything else development.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME development)

# A build with sanitizers gives libraries that need the sanitizer runtime first in the
# process: their package passes the flag on to every program that links them.
string(REGEX MATCH "-fsanitize=[^ ]+" CORVALA_SANITIZE "${CMAKE_CXX_FLAGS}")
if(CORVALA_SANITIZE)
  string(REPLACE "," "$<COMMA>" sanitize_option "${CORVALA_SANITIZE}")
  target_link_options(corvala INTERFACE $<INSTALL_INTERFACE:${sanitize_option}>)
  target_link_options(corvala_shared INTERFACE $<INSTALL_INTERFACE:${sanitize_option}>)
endif()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/corvala
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(FILES ${CMAKE_BINARY_DIR}/include/corvala/version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvala)
install(TARGETS corvala corvala_shared EXPORT CorvalaTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime
                NAMELINK_COMPONENT development
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
if(WIN32)
  install(FILES ${CMAKE_BINARY_DIR}/corvala.def DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()

install(EXPORT CorvalaTargets NAMESPACE Corvala:: DESTINATION ${CORVALA_PACKAGE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/CorvalaConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/CorvalaConfig.cmake
                              INSTALL_DESTINATION ${CORVALA_PACKAGE_DIR})
# 0.x: a minor version may change the interface.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/CorvalaConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/CorvalaConfig.cmake ${CMAKE_BINARY_DIR}/CorvalaConfigVersion.cmake
              ${CMAKE_SOURCE_DIR}/cmake/string_table.cmake
              ${CMAKE_SOURCE_DIR}/cmake/rc_to_string_table.cmake
        DESTINATION ${CORVALA_PACKAGE_DIR})

# pkg-config: the prefix is found from the file's own place, so an install anywhere works.
file(RELATIVE_PATH CORVALA_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" CORVALA_PC_TO_PREFIX "${CORVALA_PC_TO_PREFIX}")
# What the static library needs besides itself, as its CMake target names it.
set(CORVALA_PC_LIBS_PRIVATE)
foreach(library ${CORVALA_STATIC_RUNTIME} ${CORVALA_SYSTEM_LIBRARIES})
  list(APPEND CORVALA_PC_LIBS_PRIVATE -l${library})
endforeach()
list(JOIN CORVALA_PC_LIBS_PRIVATE " " CORVALA_PC_LIBS_PRIVATE)
configure_file(${CMAKE_SOURCE_DIR}/cmake/corvala.pc.in ${CMAKE_BINARY_DIR}/corvala.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/corvala.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
