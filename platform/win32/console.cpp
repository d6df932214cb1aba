#include "platform/console.h"

#include <conio.h>

namespace platform {

HANDLE GetStdHandle(DWORD which) { return ::GetStdHandle(which); }
BOOL FlushConsoleInputBuffer(HANDLE input) { return ::FlushConsoleInputBuffer(input); }
int _getch() { return ::_getch(); }

}  // namespace platform
