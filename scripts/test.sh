#!/usr/bin/env bash
# Installs what is missing, checks that the test code stays within its share of the product code,
# then builds and runs every test: g++ and clang builds with all warnings as errors, the whole
# suite under AddressSanitizer and UndefinedBehaviorSanitizer, the cross build for arm64 with its
# tests under qemu-user and its packages, one real session under valgrind's memcheck, and a
# bounded fuzzing run of every target.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
source scripts/lib/build.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
ensure_arm64_packages

step() { printf '\n==> %s\n' "$*"; }

step "Test code against product code"
ratio=$(tests/test_code_ratio.sh) || { echo "$ratio"; exit 1; }
echo "$ratio"
# A source archive has no .git: the count must need neither git nor it, nor take in build folders.
copy=$(mktemp -d)
tar -c --exclude=./.git --exclude=./build . | tar -x -C "$copy"
[ "$("$copy/tests/test_code_ratio.sh")" = "$ratio" ] ||
  { echo "the count differs in a copy without .git" >&2; exit 1; }
rm -rf "$copy"

for preset in release clang debug-asan; do
  step "Build and test: $preset"
  build_preset "$preset"
  ctest --preset "$preset"
done

step "Packaging: installation, desktop entry, metadata, resource script, Debian package"
scripts/check_packaging.sh

step "arm64: cross build, its tests under qemu-user, its packages"
build_preset arm64
ctest --preset arm64
scripts/check_packaging.sh arm64

step "Memcheck: one real session with a full run"
scripts/valgrind_session.sh

step "Fuzz: every target, bounded"
build_preset fuzz
scripts/fuzz.sh "${FUZZ_SECONDS:-30}"

step "All tests passed"
