/* Prints two string resources of its own, from resource_strings.rc: compiled into the
 * program on Windows, registered before main elsewhere (corvala_add_string_table does both).
 *
 *   resource_strings
 */
#include <corvala/corvala_c.h>

enum { kLineBreak = 1 };

int main(void) {
  cv_text line[2];
  int32_t id;
  line[0] = CV_CURRENT_SLOT;
  line[1] = CV_TEXT_ID(kLineBreak);
  for (id = 1; id <= 2; ++id) {
    cv_ResourceString(id);
    cv_BuildText(2, line); /* to the console */
  }
  return 0;
}
