/// @file
/// Corvala: the runtime library for calling programs.
///
/// Include this one header. Conventions that every part of the interface follows:
///
/// - Everything is in namespace corvala. Operations keep the runtime's own names: capitalised
///   words (CountedAlloc, ElementText), statement names in their own form (Recall, Store,
///   FileRead$, New$).
/// - 32-bit quantities are int32_t or uint32_t. A word that is an address or a small number
///   (127 for the current temporary slot, a shared-string id, a file number) is a Word
///   (uintptr_t); a text argument is a TextArg, which converts implicitly from const char*,
///   const char16_t* and small integers.
/// - Operations that yield a text leave it in the next temporary slot and return its
///   address; pass 127 (kCurrentSlot) to the next operation to consume it. Results stay
///   readable for 15 slot advances; copy what must live longer.
/// - Where an operation has two results, they come back in a small struct with named fields.
/// - Result variables that a caller reads after a call (LastFoundPosition, LastElementAccess,
///   BareLineFeedCount, FindData, AllocationCount, ReleaseCount, ReportValue, DebugMarker,
///   OutputWindow, WriteByteCount, ...) are references into the runtime state, declared
///   `extern T& Name;` in the subsystem header that owns them.
/// - Where the runtime's calling convention is an assembly one (the reverse-ordered operand
///   slots of NumberToText, the pieces of BuildText), the raw form is offered under the
///   runtime's name with the documented argument order, and a natural C++ form (a variadic
///   template or an initializer list) beside it.
/// - Unrecoverable conditions do not return: they end the process through FatalError with a
///   message box and exit code 0 minus the error code. Misses (no match, no field) are
///   ordinary results.
/// - The runtime is for one thread.
#pragma once

#include "corvala/core.h"
#include "corvala/files.h"
#include "corvala/numbers.h"
#include "corvala/strings.h"
#include "corvala/types.h"
#include "corvala/version.h"
