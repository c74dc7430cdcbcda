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

ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}
