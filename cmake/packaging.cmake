# Packages made by cpack from this build (scripts/release drives it):
#   DEB   libcorvala<soversion> (the shared library) and libcorvala-dev (headers, static
#         library, CMake package, pkg-config file, manual), for this build's architecture;
#   ZIP   on Windows, the SDK: DLL, import library, .def, static library, headers, CMake
#         package, manual, licence;
#   NSIS  on Windows, an installer of the toolbar program alone.
# Components: runtime (the shared library), development (the rest of the library's install)
# and program (the toolbar program, installed only by the installer).
set(CORVALA_SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
set(CORVALA_RUNTIME_PACKAGE libcorvala${CORVALA_SOVERSION})
set(CORVALA_DEV_PACKAGE libcorvala-dev)
set(CORVALA_MAINTAINER "The Corvala authors <authors@corvala.invalid>")
set(CORVALA_SUMMARY "Runtime library for calling programs (texts, arrays, numbers, files)")

# The manual, where scripts/docs has built it.
if(WIN32)
  set(CORVALA_DOC_DIR doc)
else()
  set(CORVALA_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CORVALA_DEV_PACKAGE})
endif()
install(DIRECTORY ${CORVALA_MANUAL_DIR}/ DESTINATION ${CORVALA_DOC_DIR}/html OPTIONAL)

if(WIN32)
  install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/CHANGELOG.md DESTINATION .)
  if(TARGET toolbar_tooltips)
    install(TARGETS toolbar_tooltips RUNTIME DESTINATION . COMPONENT program EXCLUDE_FROM_ALL)
  endif()
else()
  # Debian wants in every package's doc folder its copyright (the licence in the
  # machine-readable form) and its changelog, compressed; only the packages install them.
  file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
  string(REGEX REPLACE "\n$" "" licence "${licence}")
  string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
  string(REPLACE "\n" "\n " licence " ${licence}")
  set(copyright ${CMAKE_BINARY_DIR}/debian/copyright)
  file(WRITE ${copyright}
       "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
       "Upstream-Name: Corvala\n\n"
       "Files: *\nCopyright: 2026 The Corvala authors\nLicense: Expat\n${licence}\n")
  set(changelog ${CMAKE_BINARY_DIR}/debian/changelog.Debian)
  string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  file(WRITE ${changelog}
       "corvala (${PROJECT_VERSION}-1) unstable; urgency=medium\n\n"
       "  * Release ${PROJECT_VERSION}; its changes are in the upstream CHANGELOG.md.\n\n"
       " -- ${CORVALA_MAINTAINER}  ${changelog_date}\n")
  execute_process(COMMAND gzip -9nf ${changelog})
  # The runtime package's shlibs entry for its soname, and the ldconfig trigger.
  file(WRITE ${CMAKE_BINARY_DIR}/debian/shlibs
       "libcorvala ${CORVALA_SOVERSION} ${CORVALA_RUNTIME_PACKAGE} (>= ${PROJECT_VERSION})\n")
  file(WRITE ${CMAKE_BINARY_DIR}/debian/triggers "activate-noawait ldconfig\n")
  foreach(component runtime development)
    if(component STREQUAL "runtime")
      set(package ${CORVALA_RUNTIME_PACKAGE})
    else()
      set(package ${CORVALA_DEV_PACKAGE})
    endif()
    install(FILES ${copyright} ${changelog}.gz
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component}
            EXCLUDE_FROM_ALL)
  endforeach()
endif()

set(CPACK_PACKAGE_NAME corvala)
set(CPACK_PACKAGE_VENDOR "The Corvala authors")
set(CPACK_PACKAGE_CONTACT "${CORVALA_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CORVALA_SUMMARY}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_THREADS 0)

# The word size names the Debian architecture and the Windows archive.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE i386)
  set(CORVALA_WINDOWS_NAME win32)
else()
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  set(CORVALA_WINDOWS_NAME win64)
endif()

# Debian packages, one per component.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CORVALA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${CORVALA_RUNTIME_PACKAGE})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
    ${CMAKE_BINARY_DIR}/debian/shlibs ${CMAKE_BINARY_DIR}/debian/triggers)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "${CORVALA_SUMMARY}
Corvala is the runtime library of calling programs: texts in a ring of
temporary result slots, string arrays loaded from text files, numbers to
text and back, file numbers and output targets, with a C++17 and a C99
interface over one state per process.
.
This package holds the shared library. Licence: MIT.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${CORVALA_DEV_PACKAGE})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "${CORVALA_RUNTIME_PACKAGE} (= ${PROJECT_VERSION}-1)")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "Runtime library for calling programs - development files
Corvala is the runtime library of calling programs: texts in a ring of
temporary result slots, string arrays loaded from text files, numbers to
text and back, file numbers and output targets, with a C++17 and a C99
interface over one state per process.
.
This package holds the headers, the static library, the CMake package
(find_package(Corvala)), the pkg-config file and the reference manual.
Licence: MIT.")

# Windows: the SDK archive holds the whole default install; the installer the program.
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Corvala Toolbar")
set(CPACK_NSIS_DISPLAY_NAME "Corvala Toolbar ${PROJECT_VERSION}")
set(CPACK_NSIS_PACKAGE_NAME "Corvala Toolbar")
set(CPACK_PACKAGE_EXECUTABLES toolbar_tooltips "Toolbar tooltips")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME toolbar_tooltips.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL OFF)
set(CPACK_COMPONENT_PROGRAM_DISPLAY_NAME "Toolbar tooltips")
set(CPACK_COMPONENT_PROGRAM_REQUIRED ON)

# Per generator: which components, and the file's name.
configure_file(${CMAKE_SOURCE_DIR}/cmake/packaging_generator.cmake.in
               ${CMAKE_BINARY_DIR}/packaging_generator.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/packaging_generator.cmake)
include(CPack)
