# corvala_add_string_table(target file.rc): gives `target` the string table of a resource
# script. Windows builds compile the script into the executable's resources; POSIX builds
# turn its STRINGTABLE into data that the platform layer's LoadStringA/W read.
function(corvala_add_string_table target rc_file)
  get_filename_component(rc_path ${rc_file} ABSOLUTE)
  if(WIN32)
    target_sources(${target} PRIVATE ${rc_path})
  else()
    get_filename_component(name ${rc_file} NAME_WE)
    set(generated ${CMAKE_CURRENT_BINARY_DIR}/${name}_string_table.cpp)
    add_custom_command(
      OUTPUT ${generated}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${rc_path} -DOUTPUT=${generated}
              -P ${CMAKE_SOURCE_DIR}/cmake/rc_to_string_table.cmake
      DEPENDS ${rc_path} ${CMAKE_SOURCE_DIR}/cmake/rc_to_string_table.cmake
      COMMENT "String table from ${rc_file}")
    target_sources(${target} PRIVATE ${generated})
  endif()
endfunction()
