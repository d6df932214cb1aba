# The soak program: a seeded random mix of the runtime's operations in one process, checked as
# it goes. The test runs the default seed for a short while and compares its digest with the
# one kept here, the same on every target; scripts/soak runs it long.
add_executable(soak ${CMAKE_CURRENT_LIST_DIR}/soak.cpp ${CMAKE_CURRENT_LIST_DIR}/host.cpp)
target_link_libraries(soak PRIVATE corvala corvala_platform)
target_include_directories(soak PRIVATE ${CMAKE_SOURCE_DIR})
if(WIN32)
  target_link_libraries(soak PRIVATE psapi)
endif()
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/expected_digest.txt soak_digest LIMIT_COUNT 1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_CURRENT_LIST_DIR}/expected_digest.txt)
set(soak_command soak)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  # Under Wine the window target needs an X display; the wrapper starts one when there is none.
  set(soak_command ${CMAKE_SOURCE_DIR}/scripts/with-xvfb ${CMAKE_CROSSCOMPILING_EMULATOR}
                   $<TARGET_FILE:soak>)
endif()
add_test(NAME soak COMMAND ${soak_command} --expect ${soak_digest}
         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
