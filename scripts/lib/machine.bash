# Sourced by scripts/test and scripts/run: installs the Debian packages that are missing and
# makes 32-bit programs run on this machine, finding out first what it can do.
#
#   install_missing PACKAGE...  installs what is missing (one apt-get update per run)
#   ensure_i686                 i686 Linux programs run, natively or through qemu-i386
#   ensure_wine32               32-bit Windows programs run under 32-bit Wine
#
# Each ensure_ function returns 0 when the programs run, else 1 with the reason in
# NOT_RUN_REASON. I686_THROUGH tells how i686 programs run: "natively" or "through qemu-i386".

SUDO=()
[[ $(id -u) -ne 0 ]] && SUDO=(sudo)
APT_UPDATED=
NOT_RUN_REASON=
I686_THROUGH=

# Whether the machine may be changed: root, or a sudo that asks for no password.
can_administer() { ((${#SUDO[@]} == 0)) || sudo -n true 2>/dev/null; }

package_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

install_missing() {
  local missing=() package
  for package; do package_installed "$package" || missing+=("$package"); done
  ((${#missing[@]})) || return 0
  echo "installing ${missing[*]}"
  if [[ -z $APT_UPDATED ]]; then
    "${SUDO[@]}" apt-get update -qq || return 1
    APT_UPDATED=1
  fi
  DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}

# 32-bit Wine is an i386 package; the architecture is added before the run's one update.
add_i386_architecture() {
  package_installed wine32:i386 && return 0
  dpkg --print-foreign-architectures | grep -qx i386 && return 0
  can_administer || return 0
  "${SUDO[@]}" dpkg --add-architecture i386 && APT_UPDATED=
}

PROBE_DIR=${PROBE_DIR:-build/probe}

# Builds and runs a tiny i686 program; true when it ran and gave its exit code back.
i686_program_runs() {
  mkdir -p "$PROBE_DIR"
  [[ -x $PROBE_DIR/i686 ]] ||
    echo 'int main(void) { return 42; }' | gcc -m32 -x c - -o "$PROBE_DIR/i686" 2>/dev/null ||
    return 2
  "$PROBE_DIR/i686" 2>/dev/null
  [[ $? -eq 42 ]]
}

BINFMT=/proc/sys/fs/binfmt_misc
# The usual i386 ELF magic and mask: 32-bit little-endian executables and shared objects for
# the 386. The F flag opens the interpreter now, so it serves every later program.
QEMU_I386_ENTRY=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F'

ensure_i686() {
  NOT_RUN_REASON=
  i686_program_runs
  case $? in
    0)
      if [[ -f $BINFMT/qemu-i386 ]] && grep -qx enabled "$BINFMT/qemu-i386"; then
        I686_THROUGH="through qemu-i386"
      else
        I686_THROUGH=natively
      fi
      return 0
      ;;
    2)
      NOT_RUN_REASON="gcc -m32 cannot build an i686 program (g++-multilib missing?)"
      return 1
      ;;
  esac
  # The kernel runs no IA-32 programs: hand them to qemu-i386 through binfmt_misc.
  if ! grep -qw binfmt_misc /proc/filesystems; then
    NOT_RUN_REASON="the kernel runs no 32-bit programs and has no binfmt_misc"
    return 1
  fi
  if ! can_administer; then
    NOT_RUN_REASON="the kernel runs no 32-bit programs, and registering qemu-i386 needs root or sudo"
    return 1
  fi
  if [[ ! -e $BINFMT/register ]] &&
     ! "${SUDO[@]}" mount -t binfmt_misc binfmt_misc "$BINFMT"; then
    NOT_RUN_REASON="binfmt_misc could not be mounted on $BINFMT"
    return 1
  fi
  if ! install_missing qemu-user; then
    NOT_RUN_REASON="qemu-user could not be installed"
    return 1
  fi
  # An entry of that name that does not work (disabled, another interpreter) is replaced.
  [[ -e $BINFMT/qemu-i386 ]] && echo -1 | "${SUDO[@]}" tee "$BINFMT/qemu-i386" >/dev/null
  if ! printf '%s' "$QEMU_I386_ENTRY" | "${SUDO[@]}" tee "$BINFMT/register" >/dev/null ||
     ! i686_program_runs; then
    NOT_RUN_REASON="i686 programs do not run even through qemu-i386"
    return 1
  fi
  echo "this kernel runs no 32-bit programs: registered qemu-i386 for them with binfmt_misc"
  I686_THROUGH="through qemu-i386"
  return 0
}

ensure_wine32() {
  NOT_RUN_REASON=
  if [[ -z $I686_THROUGH ]] && ! ensure_i686; then
    NOT_RUN_REASON="32-bit Wine needs i686 programs to run: $NOT_RUN_REASON"
    return 1
  fi
  if ! package_installed wine32:i386; then
    if ! can_administer; then
      NOT_RUN_REASON="wine32:i386 is not installed, and installing it needs root or sudo"
      return 1
    fi
    add_i386_architecture
    if ! install_missing wine32:i386; then
      NOT_RUN_REASON="wine32:i386 could not be installed"
      return 1
    fi
  fi
  if [[ ! -x /usr/lib/wine/wine ]]; then
    NOT_RUN_REASON="32-bit Wine (/usr/lib/wine/wine) is missing"
    return 1
  fi
  return 0
}
