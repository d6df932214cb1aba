# The consumer test (run by ctest with cmake -P): install this build into a fresh prefix,
# build examples/consumer and examples/consumer/c against it with find_package and the C
# program with pkg-config, run the programs against the shared and the static library, and
# compare what they print with the expected texts.
string(REPLACE "|" ";" emulator "${EMULATOR}")
set(prefix ${WORK_DIR}/prefix)
set(build ${WORK_DIR}/build)
set(suffix "")
if(CROSSCOMPILING)
  set(suffix .exe)
endif()
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

# examples/consumer (C and C++) and examples/consumer/c (a project that enables C alone).
set(configure -G "Unix Makefiles" -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
    "-DCMAKE_C_FLAGS=${C_FLAGS}" "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    "-DCMAKE_EXE_LINKER_FLAGS=${EXE_LINKER_FLAGS}")
if(TOOLCHAIN_FILE)
  list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE})
else()
  list(APPEND configure -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER})
endif()
run("configure examples/consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${build} ${configure})
run("build examples/consumer" ${CMAKE_COMMAND} --build ${build} -j2)
run("configure examples/consumer/c" ${CMAKE_COMMAND} -S ${CONSUMER_DIR}/c -B ${build}-c
    ${configure} --no-warn-unused-cli)
run("build examples/consumer/c" ${CMAKE_COMMAND} --build ${build}-c -j2)

# pkg-config: the C program compiled by hand from the .pc file. The shared library's flags on
# a native build (a Windows program would need the DLL beside it); the static library's
# (--static) on every target, from a copy of the installation without the shared library, as
# a calling program that links statically finds it: the linker takes no shared one instead.
set(pkg_config_builds "")
find_program(pkg_config pkg-config)
if(pkg_config)
  set(static_prefix ${WORK_DIR}/static-prefix)
  file(COPY ${prefix}/ DESTINATION ${static_prefix}
       PATTERN "libcorvala.so*" EXCLUDE PATTERN "*.dll" EXCLUDE PATTERN "*.dll.a" EXCLUDE)
  separate_arguments(c_flags UNIX_COMMAND "${C_FLAGS} ${EXE_LINKER_FLAGS}")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
  foreach(kind shared static)
    if(kind STREQUAL "shared")
      if(CROSSCOMPILING)
        continue()
      endif()
      set(ENV{PKG_CONFIG_LIBDIR} ${prefix}/lib/pkgconfig)
      set(pkg_config_options --cflags --libs)
      set(extra -Wl,-rpath,${prefix}/lib)
    else()
      set(ENV{PKG_CONFIG_LIBDIR} ${static_prefix}/lib/pkgconfig)
      set(pkg_config_options --static --cflags --libs)
      set(extra "")
    endif()
    execute_process(COMMAND ${pkg_config} ${pkg_config_options} corvala RESULT_VARIABLE result
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "pkg-config ${pkg_config_options} corvala failed (${result})")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    set(program order_report_pkg_config_${kind})
    run("pkg-config build, ${kind} library" ${C_COMPILER} ${c_flags} -std=c99 -pedantic -Werror
        ${CONSUMER_DIR}/order_report.c ${flags} ${extra} -o ${build}/${program}${suffix})
    list(APPEND pkg_config_builds ${program})
  endforeach()
endif()

# The C programs and the shared library need no C++ runtime: none of libstdc++, libgcc_s or
# winpthread among the libraries they load.
file(GLOB shared_library ${prefix}/lib/libcorvala.so.*.*.* ${prefix}/bin/corvala.dll)
set(c_only_files ${shared_library} ${build}-c/order_report_c_static${suffix}
    ${build}-c/order_report_c_shared${suffix})
foreach(program ${pkg_config_builds})
  list(APPEND c_only_files ${build}/${program}${suffix})
endforeach()
foreach(file ${c_only_files})
  execute_process(COMMAND ${OBJDUMP} -p ${file} RESULT_VARIABLE result OUTPUT_VARIABLE headers
                  ERROR_VARIABLE headers)
  string(REGEX MATCHALL "(NEEDED|DLL Name:)[ \t]+[^\n]*(libstdc[+][+]|libgcc_s|winpthread)[^\n]*"
         cxx_runtime "${headers}")
  get_filename_component(name ${file} NAME)
  if(NOT result EQUAL 0 OR cxx_runtime)
    message(FATAL_ERROR "${name} needs a C++ runtime (${result}): ${cxx_runtime}")
  endif()
  message(STATUS "ok: ${name} needs no C++ runtime")
endforeach()

# A cross build without an emulator can build the programs but not run them.
if(CROSSCOMPILING AND NOT emulator)
  message(STATUS "not run: no emulator for this cross build")
  return()
endif()

set(failures "")
# Runs `program` (a path without the executable suffix) and compares what it prints.
function(check program expected)
  execute_process(COMMAND ${emulator} ${program}${suffix} ${ARGN} RESULT_VARIABLE result
                  OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  file(READ ${CONSUMER_DIR}/${expected} wanted)
  get_filename_component(name ${program} NAME)
  if(result EQUAL 0 AND output STREQUAL wanted)
    message(STATUS "ok: ${name}")
  else()
    message(STATUS "FAILED: ${name} (exit ${result})\n"
                   "expected:\n${wanted}\nactual:\n${output}\n${errors}")
    set(failures "${failures} ${name}" PARENT_SCOPE)
  endif()
endfunction()
foreach(kind shared static)
  check(${build}/order_report_${kind} expected_order_report.txt ${CONSUMER_DIR}/orders.tsv)
  check(${build}/find_lines_${kind} expected_find_lines.txt ${CONSUMER_DIR}/notes.txt corvala)
  check(${build}/resource_strings_${kind} expected_resource_strings.txt)
  check(${build}-c/order_report_c_${kind} expected_order_report.txt ${CONSUMER_DIR}/orders.tsv)
endforeach()
foreach(program ${pkg_config_builds})
  check(${build}/${program} expected_order_report.txt ${CONSUMER_DIR}/orders.tsv)
endforeach()

if(failures)
  message(FATAL_ERROR "failed:${failures}")
endif()
