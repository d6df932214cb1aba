/* Loads corvala.dll at run time, as a program that links nothing of it does: asks the loaded
 * library for its version, compares it with the headers this program was built with, and
 * calls one operation through its address. Prints one line per step; exit code 0 when all
 * hold. */
#include <corvala/corvala_c.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

typedef cv_VersionInfo(CV_CALL* VersionFunction)(void);
typedef uint32_t(CV_CALL* TextLengthFunction)(const char*);

/* GetProcAddress's generic function type, cast through the one cast that -Wextra accepts. */
#define LOOK_UP(dll, type, name) ((type)(void (*)(void))GetProcAddress(dll, name))

int main(void) {
  const uint32_t expected =
      CORVALA_VERSION_MAJOR * 10000u + CORVALA_VERSION_MINOR * 100u + CORVALA_VERSION_PATCH;
  HMODULE dll = LoadLibraryA("corvala.dll");
  VersionFunction version;
  TextLengthFunction textLength;
  cv_VersionInfo info;
  int failures = 0;

  if (dll == NULL) {
    printf("FAILED: LoadLibraryA(\"corvala.dll\"), error %lu\n", GetLastError());
    return 1;
  }
  version = LOOK_UP(dll, VersionFunction, "cv_Version");
  textLength = LOOK_UP(dll, TextLengthFunction, "cv_TextLength");
  if (version == NULL) {
    puts("FAILED: cv_Version is not exported");
    ++failures;
  } else {
    info = version();
    if (info.number == expected && strcmp(info.text, CORVALA_VERSION_TEXT) == 0) {
      printf("ok: cv_Version gives %s (%u)\n", info.text, (unsigned)info.number);
    } else {
      printf("FAILED: cv_Version gives %s (%u), the headers %s (%u)\n", info.text,
             (unsigned)info.number, CORVALA_VERSION_TEXT, (unsigned)expected);
      ++failures;
    }
  }
  if (textLength == NULL || textLength("corvala") != 7) {
    puts("FAILED: cv_TextLength through the loaded address");
    ++failures;
  } else {
    puts("ok: cv_TextLength through the loaded address");
  }
  FreeLibrary(dll);
  return failures == 0 ? 0 : 1;
}
