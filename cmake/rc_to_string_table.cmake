# Turns the STRINGTABLE entries of a resource script (lines of the form `id, "text"` between
# BEGIN and END) into a table that a constructor hands to cv_RegisterStringTable before main.
# The source is both C and C++.
# Texts keep their C escapes (\n, \t, \\, \"); a doubled quote "" stands for one quote.
file(STRINGS ${INPUT} lines ENCODING UTF-8)
set(in_table FALSE)
set(entries "")
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line MATCHES "^STRINGTABLE")
    set(in_table TRUE)
  elseif(in_table AND line MATCHES "^(END|})")
    set(in_table FALSE)
  elseif(in_table AND line MATCHES "^([0-9]+)[ \t]*,?[ \t]*\"(.*)\"$")
    set(id ${CMAKE_MATCH_1})
    string(REPLACE "\"\"" "\\\"" text "${CMAKE_MATCH_2}")
    string(APPEND entries "    {${id}, \"${text}\"},\n")
  endif()
endforeach()
file(WRITE ${OUTPUT} "/* Generated from ${INPUT}; do not edit. */
#include <corvala/corvala_c.h>

static const cv_StringResource corvala_string_table[] = {
    {0, \"\"}, /* keeps the array non-empty; not registered */
${entries}};

__attribute__((constructor)) static void corvala_register_string_table(void) {
  cv_RegisterStringTable(corvala_string_table + 1, (int32_t)(sizeof corvala_string_table /
                                                             sizeof corvala_string_table[0]) - 1);
}
")
