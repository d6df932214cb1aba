// Reads a DLL's or EXE's version resource back as Windows shows it under Properties > Details
// and checks it against the build's version. Prints what it read; exits 1 on a mismatch.
//
//   version_resource FILE PRODUCT_NAME VERSION (major.minor.patch)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

int failures = 0;

void Expect(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    ++failures;
  }
}

// One string of the US English, Unicode block, or null.
const char* StringValue(std::vector<char>& data, const char* name) {
  char path[128];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\040904B0\\%s", name);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), path, &value, &length) || length == 0) return nullptr;
  return static_cast<const char*>(value);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: version_resource FILE PRODUCT_NAME VERSION\n", stderr);
    return 2;
  }
  const char* file = argv[1];
  const char* product = argv[2];
  const char* version = argv[3];
  unsigned major = 0, minor = 0, patch = 0;
  if (std::sscanf(version, "%u.%u.%u", &major, &minor, &patch) != 3) return 2;

  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(file, &handle);
  if (size == 0) {
    std::printf("FAILED: %s has no version resource (error %lu)\n", file,
                static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(file, 0, size, data.data())) {
    std::printf("FAILED: GetFileVersionInfoA (error %lu)\n",
                static_cast<unsigned long>(GetLastError()));
    return 1;
  }

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
      fixedSize < sizeof *fixed) {
    std::puts("FAILED: no fixed file information");
    return 1;
  }
  const DWORD wantedMs = MAKELONG(minor, major), wantedLs = MAKELONG(0, patch);
  const auto part = [](DWORD word, bool high) {
    return static_cast<unsigned>(high ? HIWORD(word) : LOWORD(word));
  };
  std::printf("file version %u.%u.%u.%u, product version %u.%u.%u.%u\n",
              part(fixed->dwFileVersionMS, true), part(fixed->dwFileVersionMS, false),
              part(fixed->dwFileVersionLS, true), part(fixed->dwFileVersionLS, false),
              part(fixed->dwProductVersionMS, true), part(fixed->dwProductVersionMS, false),
              part(fixed->dwProductVersionLS, true), part(fixed->dwProductVersionLS, false));
  Expect(fixed->dwSignature == VS_FFI_SIGNATURE, "signature");
  Expect(fixed->dwFileVersionMS == wantedMs && fixed->dwFileVersionLS == wantedLs, "file version");
  Expect(fixed->dwProductVersionMS == wantedMs && fixed->dwProductVersionLS == wantedLs,
         "product version");

  const struct {
    const char* name;
    const char* wanted;  // null: any non-empty text
  } strings[] = {
      {"ProductName", product},     {"FileVersion", version},
      {"ProductVersion", version},  {"LegalCopyright", "Copyright (c) The Corvala authors"},
      {"FileDescription", nullptr},
  };
  for (const auto& s : strings) {
    const char* value = StringValue(data, s.name);
    std::printf("%s: %s\n", s.name, value ? value : "(none)");
    Expect(value != nullptr && (s.wanted == nullptr || std::strcmp(value, s.wanted) == 0), s.name);
  }
  return failures == 0 ? 0 : 1;
}
