# Sourced by the scripts that install what they need: installs the Debian 12 packages that are
# missing.

# Building and running the program (the release build also compiles the tests and benchmarks).
# Qt's private headers let the event pump skip its system call when nothing is pending. The
# results store is SQLite through Qt SQL's driver; the HTML report inlines Chart.js.
BUILD_PACKAGES=(cmake ninja-build g++ python3 qt6-base-dev qt6-base-private-dev libgl-dev
  fonts-liberation libgtest-dev libbenchmark-dev libqt6sql6-sqlite libsqlite3-dev libjs-chart.js)
# Everything the full test run needs on top: clang with its sanitizer and fuzzer runtimes, the
# validators for what the program installs (desktop entry, AppStream metadata, Windows resource
# script), dpkg-dev and file for the Debian packages' computed dependencies, valgrind for the
# memcheck session, an X server with a window manager for the GUI tests on Qt's xcb platform,
# a browser that draws the HTML report, and Ansible for the fleet example.
TEST_PACKAGES=(clang libclang-rt-14-dev desktop-file-utils appstream binutils-mingw-w64-i686
  dpkg-dev file valgrind xvfb openbox chromium ansible-core)

# The cross build for arm64 and its tests under emulation (scripts/test.sh): Debian's cross
# compiler, the arm64 builds of Qt, GoogleTest and SQLite beside the machine's own (multiarch),
# Qt SQL's SQLite driver for the program's runs, and qemu-user to run them.
ARM64_PACKAGES=(crossbuild-essential-arm64 qt6-base-dev:arm64 qt6-base-private-dev:arm64
  libgtest-dev:arm64 libsqlite3-dev:arm64 libqt6sql6-sqlite:arm64 qemu-user-static)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Whether PACKAGE[:ARCH] is installed: for ARCH, or for this machine's architecture (or all).
# With a second architecture added, a library's name alone stands for both of its builds.
installed() {
  local name=${1%%:*} arch=${1#*:}
  [ "$arch" != "$1" ] || arch=$(dpkg --print-architecture)
  dpkg-query -W -f='${Status} ${Architecture}\n' "$name" 2>/dev/null |
    grep -qE "^install ok installed ($arch|all)$"
}

ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    installed "$pkg" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}

# Adds arm64 to dpkg's architectures, once, and installs what the cross build lacks. Multiarch
# needs the very same version of a library for both architectures: where the mirror has a newer
# one than the machine, apt upgrades the machine's own to it; nothing is removed or downgraded.
ensure_arm64_packages() {
  dpkg --print-foreign-architectures | grep -qx arm64 || as_root dpkg --add-architecture arm64
  ensure_packages "${ARM64_PACKAGES[@]}"
}
