# Sourced by the artefact checks: where the artefacts are, a scratch folder that goes away at
# exit, and how a check reports. Each check prints "ok: <what>" per step and exits non-zero
# at the first step that fails, with its output.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
DIST=${DIST:-$ROOT/build/dist}
CONSUMER=$ROOT/examples/consumer
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT

fail() {
  echo "FAILED: $*"
  exit 1
}

# Runs a step quietly; on failure shows its output and ends the check.
step() {
  local what=$1
  shift
  local output
  if output=$("$@" 2>&1); then
    echo "ok: $what"
  else
    printf '%s\n' "$output" | tail -n 40
    fail "$what"
  fi
}

# The one artefact that matches a pattern in build/dist.
artefact() {
  local matches=("$DIST"/$1)
  [[ ${#matches[@]} -eq 1 && -f ${matches[0]} ]] || fail "no single artefact $1 in $DIST"
  echo "${matches[0]}"
}

# Runs a program and compares its standard output with an expected file.
prints() {
  local expected=$1
  shift
  local output
  output=$("$@") || return 1
  [[ $output == "$(cat "$expected")" ]] || {
    printf 'expected:\n%s\nactual:\n%s\n' "$(cat "$expected")" "$output"
    return 1
  }
}

# Windows checks run 32-bit programs under Wine (cmake/wine-run32) in a prefix of their own
# and with a display (scripts/with-xvfb); a check calls this first, which runs it again
# inside such a session when it is not in one.
in_wine_session() {
  if [[ -z ${WITH_XVFB:-} ]]; then
    export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wine32} WINEARCH=win32
    exec "$ROOT/scripts/with-xvfb" "$0" "$@"
  fi
}
WINE32=$ROOT/cmake/wine-run32
