# Turns the STRINGTABLE entries of a resource script (lines of the form `id, "text"` between
# BEGIN and END) into a C++ table registered with the POSIX platform layer at start-up.
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
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.
#include \"platform/resources.h\"

namespace {

const platform::StringResource kEntries[] = {
    {0, \"\"},  // keeps the table non-empty
${entries}};

[[maybe_unused]] const bool kRegistered =
    (platform::RegisterStringTable(kEntries, sizeof kEntries / sizeof kEntries[0]), true);

}  // namespace
")
