// The runtime's version, compiled in from the build's project version.
#include "corvala/version.h"

#include "corvala/core.h"

namespace corvala {

VersionInfo Version() {
  return {CORVALA_VERSION_TEXT,
          CORVALA_VERSION_MAJOR * 10000 + CORVALA_VERSION_MINOR * 100 + CORVALA_VERSION_PATCH};
}

}  // namespace corvala
