#include "platform/console.h"

#include <termios.h>
#include <unistd.h>

#include <cstring>

#include "platform/errors.h"
#include "platform/posix/fd_handle.h"

namespace platform {
namespace {

// The second code of a two-code key, waiting for the next _getch.
int g_pendingCode = -1;

int ReadByte(int fd) {
  unsigned char c;
  return read(fd, &c, 1) == 1 ? c : -1;
}

// Reads one byte if it arrives within a short time (the rest of an escape sequence).
int ReadByteSoon(int fd) {
  termios t;
  if (tcgetattr(fd, &t) != 0) return ReadByte(fd);
  termios quick = t;
  quick.c_cc[VMIN] = 0;
  quick.c_cc[VTIME] = 1;  // tenths of a second
  tcsetattr(fd, TCSANOW, &quick);
  int c = ReadByte(fd);
  tcsetattr(fd, TCSANOW, &t);
  return c;
}

struct KeyCodes {
  int prefix;
  int scan;
};

// The Windows codes of a terminal escape sequence (after ESC), or {0, 0} if unknown.
KeyCodes DecodeEscape(const char* sequence) {
  struct Entry {
    const char* sequence;
    KeyCodes codes;
  };
  static const Entry kKeys[] = {
      {"[A", {0xE0, 0x48}},   {"[B", {0xE0, 0x50}},   {"[C", {0xE0, 0x4D}},  {"[D", {0xE0, 0x4B}},
      {"[H", {0xE0, 0x47}},   {"[F", {0xE0, 0x4F}},   {"OA", {0xE0, 0x48}},  {"OB", {0xE0, 0x50}},
      {"OC", {0xE0, 0x4D}},   {"OD", {0xE0, 0x4B}},   {"OH", {0xE0, 0x47}},  {"OF", {0xE0, 0x4F}},
      {"[1~", {0xE0, 0x47}},  {"[2~", {0xE0, 0x52}},  {"[3~", {0xE0, 0x53}}, {"[4~", {0xE0, 0x4F}},
      {"[5~", {0xE0, 0x49}},  {"[6~", {0xE0, 0x51}},  {"OP", {0, 0x3B}},     {"OQ", {0, 0x3C}},
      {"OR", {0, 0x3D}},      {"OS", {0, 0x3E}},      {"[15~", {0, 0x3F}},   {"[17~", {0, 0x40}},
      {"[18~", {0, 0x41}},    {"[19~", {0, 0x42}},    {"[20~", {0, 0x43}},   {"[21~", {0, 0x44}},
      {"[23~", {0xE0, 0x85}}, {"[24~", {0xE0, 0x86}},
  };
  for (const Entry& e : kKeys) {
    if (std::strcmp(e.sequence, sequence) == 0) return e.codes;
  }
  return {0, 0};
}

}  // namespace

HANDLE GetStdHandle(DWORD which) {
  switch (which) {
    case STD_INPUT_HANDLE:
      return posix::HandleFromFd(0);
    case STD_OUTPUT_HANDLE:
      return posix::HandleFromFd(1);
    case STD_ERROR_HANDLE:
      return posix::HandleFromFd(2);
    default:
      SetLastError(ERROR_INVALID_HANDLE);
      return INVALID_HANDLE_VALUE;
  }
}

BOOL FlushConsoleInputBuffer(HANDLE input) {
  int fd = posix::FdFromHandle(input);
  if (fd < 0 || !isatty(fd)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  tcflush(fd, TCIFLUSH);
  g_pendingCode = -1;
  return TRUE;
}

int _getch() {
  if (g_pendingCode >= 0) {
    int code = g_pendingCode;
    g_pendingCode = -1;
    return code;
  }
  const int fd = 0;
  termios saved;
  bool terminal = tcgetattr(fd, &saved) == 0;
  if (terminal) {
    termios raw = saved;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &raw);
  }
  int c = ReadByte(fd);
  if (c == 0x1B && terminal) {
    // An escape sequence: ESC, then '[' or 'O' and up to a few more bytes.
    char sequence[8] = {};
    size_t n = 0;
    int next;
    while (n < sizeof sequence - 1 && (next = ReadByteSoon(fd)) >= 0) {
      sequence[n++] = static_cast<char>(next);
      if (n >= 2 && ((next >= 'A' && next <= 'Z') || next == '~')) break;
    }
    KeyCodes codes = DecodeEscape(sequence);
    if (codes.scan != 0) {
      c = codes.prefix;
      g_pendingCode = codes.scan;
    }
  }
  if (terminal) tcsetattr(fd, TCSANOW, &saved);
  if (c == '\n' && terminal) c = '\r';  // Enter reads as carriage return, as on Windows
  return c;
}

}  // namespace platform
