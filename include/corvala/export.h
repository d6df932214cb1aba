/// @file
/// The export macro of the runtime's interface, for C and C++.
///
/// The shared library is built with hidden symbols; CORVALA_API marks what it exports. A
/// program that links the static library defines CORVALA_STATIC (the CMake target
/// Corvala::corvala does that for it); one that links the shared library or DLL defines
/// nothing. CORVALA_BUILDING is the library's own build of the shared form.
#ifndef CORVALA_EXPORT_H
#define CORVALA_EXPORT_H

#if defined(CORVALA_STATIC)
#define CORVALA_API
#elif defined(_WIN32)
#if defined(CORVALA_BUILDING)
#define CORVALA_API __declspec(dllexport)
#else
#define CORVALA_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define CORVALA_API __attribute__((visibility("default")))
#else
#define CORVALA_API
#endif

#endif
