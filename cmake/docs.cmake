# The reference manual (target docs): doxygen over include/corvala and the generated
# version.h, HTML in build/docs/html of the source tree. Any warning fails it, an undocumented
# item included. The development packages carry it when it has been built.
find_program(CORVALA_DOXYGEN doxygen)
set(CORVALA_MANUAL_DIR ${CMAKE_SOURCE_DIR}/build/docs/html)
if(CORVALA_DOXYGEN)
  add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_SOURCE_DIR}/build/docs
    COMMAND ${CMAKE_COMMAND} -E env CORVALA_VERSION=${PROJECT_VERSION}
            CORVALA_VERSION_DIR=${CMAKE_BINARY_DIR}/include/corvala
            ${CORVALA_DOXYGEN} docs/Doxyfile
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    COMMENT "Reference manual in ${CORVALA_MANUAL_DIR}"
    VERBATIM)
endif()
