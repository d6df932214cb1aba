// "-" for standard input, as the standard tools take it: the programs here read it through a
// file number of the runtime.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "corvala/corvala.h"

#ifdef _WIN32
#include <windows.h>
#endif

// True when the argument names standard input.
inline bool IsStandardInput(const char* name) { return std::strcmp(name, "-") == 0; }

// Puts standard input on fileNumber; false when there is none to read.
inline bool OpenStandardInput(int32_t fileNumber) {
#ifdef _WIN32
  // Windows gives standard input no name to open: its handle goes into the number's entry.
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == nullptr || input == INVALID_HANDLE_VALUE) return false;
  corvala::FileTable()[fileNumber] = reinterpret_cast<corvala::Word>(input);
  return true;
#else
  return corvala::OpenInput(fileNumber, "/dev/stdin", 0) != corvala::kOpenFailed;
#endif
}

// The file a program reads: the name as given, or for "-" standard input on fileNumber. With
// "-" and no standard input the program ends with exit code 2 and says so.
inline corvala::TextArg InputFile(const char* name, int32_t fileNumber, const char* program) {
  if (!IsStandardInput(name)) return name;
  if (!OpenStandardInput(fileNumber)) {
    std::fprintf(stderr, "%s: no standard input\n", program);
    std::exit(2);
  }
  return fileNumber;
}
