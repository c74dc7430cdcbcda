# Sourced by run.sh and test.sh: installs the Debian 12 packages that are missing.

# Building and running the program (the release build also compiles the tests and benchmarks).
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev fonts-liberation
  libgtest-dev libbenchmark-dev)
# Everything the full test run needs on top: clang with its sanitizer and fuzzer runtimes, a
# virtual X server for the screenshot and real-window checks, valgrind for call counting.
TEST_PACKAGES=(clang libclang-rt-14-dev xvfb xauth valgrind python3)

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
