// All process-wide state of the runtime in one struct with one static instance, so that a
// reader sees it in one place and a test resets it with one call. Each subsystem keeps its
// share in a struct of its own header.
#pragma once

#include <cstddef>
#include <cstdint>

#include "corvala/core.h"
#include "corvala/types.h"
#include "runtime/files/file_state.h"
#include "runtime/numbers/number_state.h"
#include "runtime/strings/string_state.h"

namespace corvala::internal {

inline constexpr int kTempSlotCount = 16;
inline constexpr int kFirstSlotId = 10;  // shared-table id of temporary slot 0
inline constexpr size_t kScratchSize = 640024;
inline constexpr size_t kScratchRing = 480000;   // the write position wraps here
inline constexpr size_t kScratchLimit = 639900;  // no text may end past this byte
inline constexpr size_t kModuleFolderSize = 260;
inline constexpr size_t kFileErrorTextSize = 560;
inline constexpr int kTempSlotCopies = 7;

// The static block of defaults and buffer pointers. Its entries are words: 32-bit on the
// shipping build, pointer-sized elsewhere so that the pointers survive.
struct CommonDataBlock {
  char tag[16];
  Word entries[15];  // entries 1 to 15 at index 0 to 14
  char dateFormat[11];
  char timeFormat[9];
};

struct CoreState {
  // Shared string table ids 0 to 9; the second word of id 9 is the ring index and the
  // temporary slot records follow directly, so that id 10 + k is slot k.
  TextRecord shared[kFirstSlotId + kTempSlotCount];
  Word slotOrigin[kTempSlotCount];
  char moduleFolder[kModuleFolderSize];
  uint8_t bitCountTable[256];
  CommonDataBlock commonData;  // through CommonDataBlockInUse(), which sets its defaults
  char fileErrorText[kFileErrorTextSize];
  char furtherBuffer8[kModuleFolderSize];
  char furtherBuffer14[kModuleFolderSize];

  alignas(16) char scratch[kScratchSize];
  char* scratchWrite;  // null until first use
  // The last durable slot copies: entry e (1 to 7) at index e - 1, and the last entry used.
  char* tempSlotCopies[kTempSlotCopies];
  int32_t tempSlotCopyIndex;

  // Counted heap and fatal errors.
  int32_t allocationCount;
  int32_t releaseCount;
  int32_t reportValue;
  int32_t debugMarker;
  int32_t apiBoxesOff;
  Word trackedBlocks[kCvHeapStrings];  // 0: free

  // Array and file tables.
  Word arrayTable[kArrayNumbers];
  Word fileTable[kFileNumbers];
};

// All zero at program start, so the loader provides it (zero-initialised storage, written by
// nothing at load); the few non-zero defaults are set where they are first used.
struct RuntimeState {
  CoreState core;
  NumberState numbers;
  StringState strings;
  FileState files;
};

extern RuntimeState g_state;  // NOLINT(bugprone-dynamic-static-initializers): constinit

// Puts every runtime variable back to its state at program start. Releases nothing: a test
// that allocated should release first.
void ResetRuntimeState();

// The common data block with its defaults, which are set on its first use.
CommonDataBlock& CommonDataBlockInUse();

inline int32_t& RingIndex() { return g_state.core.shared[9].length; }

}  // namespace corvala::internal
