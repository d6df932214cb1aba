# The consumer test (run by ctest with cmake -P): install this build into a fresh prefix,
# build examples/consumer against it with find_package, run its programs against the shared
# and the static library, and compare what they print with the expected texts.
string(REPLACE "|" ";" emulator "${EMULATOR}")
set(prefix ${WORK_DIR}/prefix)
set(build ${WORK_DIR}/build)
file(REMOVE_RECURSE ${WORK_DIR})

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${output}")
  endif()
  message(STATUS "ok: ${what}")
endfunction()

run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(configure -S ${CONSUMER_DIR} -B ${build} -G "Unix Makefiles"
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
    "-DCMAKE_C_FLAGS=${C_FLAGS}" "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    "-DCMAKE_EXE_LINKER_FLAGS=${EXE_LINKER_FLAGS}")
if(TOOLCHAIN_FILE)
  list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE})
else()
  list(APPEND configure -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER})
endif()
run("configure examples/consumer" ${CMAKE_COMMAND} ${configure})
run("build examples/consumer" ${CMAKE_COMMAND} --build ${build} -j2)

# A cross build without an emulator can build the programs but not run them.
if(CROSSCOMPILING AND NOT emulator)
  message(STATUS "not run: no emulator for this cross build")
  return()
endif()

set(failures "")
function(check program expected)
  foreach(kind shared static)
    set(exe ${build}/${program}_${kind}${CMAKE_EXECUTABLE_SUFFIX})
    if(CROSSCOMPILING)
      set(exe ${build}/${program}_${kind}.exe)
    endif()
    execute_process(COMMAND ${emulator} ${exe} ${ARGN} RESULT_VARIABLE result
                    OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    file(READ ${CONSUMER_DIR}/${expected} wanted)
    if(result EQUAL 0 AND output STREQUAL wanted)
      message(STATUS "ok: ${program} against the ${kind} library")
    else()
      message(STATUS "FAILED: ${program} against the ${kind} library (exit ${result})\n"
                     "expected:\n${wanted}\nactual:\n${output}\n${errors}")
      set(failures "${failures} ${program}_${kind}" PARENT_SCOPE)
    endif()
  endforeach()
endfunction()
check(order_report expected_order_report.txt ${CONSUMER_DIR}/orders.tsv)
check(find_lines expected_find_lines.txt ${CONSUMER_DIR}/notes.txt corvala)
check(resource_strings expected_resource_strings.txt)

# pkg-config on a native build: compile the C program by hand from the .pc file.
find_program(pkg_config pkg-config)
if(pkg_config AND NOT CROSSCOMPILING)
  set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
  execute_process(COMMAND ${pkg_config} --cflags --libs corvala RESULT_VARIABLE result
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  separate_arguments(c_flags UNIX_COMMAND "${C_FLAGS} ${EXE_LINKER_FLAGS}")
  set(exe ${build}/order_report_pkg_config)
  run("pkg-config build" ${C_COMPILER} ${c_flags} -std=c99 -pedantic -Werror
      ${CONSUMER_DIR}/order_report.c ${flags} -Wl,-rpath,${prefix}/lib -o ${exe})
  execute_process(COMMAND ${exe} ${CONSUMER_DIR}/orders.tsv RESULT_VARIABLE result
                  OUTPUT_VARIABLE output)
  file(READ ${CONSUMER_DIR}/expected_order_report.txt wanted)
  if(result EQUAL 0 AND output STREQUAL wanted)
    message(STATUS "ok: order_report built with pkg-config")
  else()
    message(STATUS "FAILED: order_report built with pkg-config (exit ${result}):\n${output}")
    set(failures "${failures} order_report_pkg_config")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "failed:${failures}")
endif()
