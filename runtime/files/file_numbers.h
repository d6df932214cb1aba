// What the runtime's file operations share about file numbers and their handles.
#pragma once

#include <cstdint>

#include "corvala/types.h"
#include "platform/types.h"

namespace corvala::internal {

inline constexpr Word kLastFileNumber = 10;
// Store and Recall open named files on this number and then take the handle for themselves.
inline constexpr int32_t kWorkingFileNumber = 9;

// File arguments: 0 to 10 name a file number, anything above is a file name's address.
inline bool IsFileNumber(Word file) { return file <= kLastFileNumber; }
// 1 to 127 where a name's address belongs: no address, so no name that any file could have.
inline bool IsSmallName(Word name) { return name != 0 && name <= 127; }

// The fatal report for a file argument that is a small number: the number is the detail.
[[noreturn]] void FatalErrorNumberName(uint32_t code, Word number);

inline HANDLE HandleOf(Word entry) { return reinterpret_cast<HANDLE>(entry); }
inline Word EntryOf(HANDLE handle) { return reinterpret_cast<Word>(handle); }

}  // namespace corvala::internal
