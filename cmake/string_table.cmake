# corvala_add_string_table(target file.rc): gives `target` the string table of a resource
# script, for ResourceString. Windows builds compile the script into the program's resources
# (windres); POSIX builds turn its STRINGTABLE into a source that hands the strings to
# cv_RegisterStringTable before main runs. The installed package includes this file too.
function(corvala_add_string_table target rc_file)
  get_filename_component(rc_path ${rc_file} ABSOLUTE)
  if(WIN32)
    target_sources(${target} PRIVATE ${rc_path})
    return()
  endif()
  # The generated source is C and C++ alike: C where the project has it.
  get_property(languages GLOBAL PROPERTY ENABLED_LANGUAGES)
  if("C" IN_LIST languages)
    set(extension c)
  else()
    set(extension cpp)
  endif()
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/rc_to_string_table.cmake)
  get_filename_component(name ${rc_file} NAME_WE)
  # One source per target: two programs may share a script.
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}_string_table.${extension})
  add_custom_command(
    OUTPUT ${generated}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${rc_path} -DOUTPUT=${generated} -P ${script}
    DEPENDS ${rc_path} ${script}
    COMMENT "String table from ${rc_file}")
  target_sources(${target} PRIVATE ${generated})
endfunction()
