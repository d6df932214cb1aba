// Asks the system to catch one access violation: IsBadStringPtrA on an address nobody maps
// must answer that the text is bad instead of ending the program. Exits 0 when it did. Windows
// does; 32-bit Wine running under qemu-i386 cannot deliver the fault and the program dies.
#include <windows.h>

int main() { return ::IsBadStringPtrA(reinterpret_cast<LPCSTR>(0x1000), 10) ? 0 : 1; }
