#!/usr/bin/env bash
# Plays one real session of the program (real_run_test: start, a full run with About opened and
# closed, a run ended by Exit) under valgrind's memcheck on Qt's offscreen platform. Fails on
# any invalid access, use of uninitialised memory, or memory that the program lost.
#
# Under memcheck the work loop runs some fifty times slower, but a run still lasts about ten
# seconds: the score is lower, nothing else changes.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
source scripts/lib/build.sh

ensure_packages "${BUILD_PACKAGES[@]}" valgrind
build_preset release real_run_test

log=$(mktemp)
# Definite and indirect leaks fail the run; "possibly lost" and "still reachable" blocks are
# Qt's and the font and graphics libraries' caches that live until the process exits.
if ! QT_QPA_PLATFORM=offscreen valgrind --tool=memcheck --error-exitcode=99 \
  --leak-check=full --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect \
  --track-origins=yes --num-callers=30 \
  build/release/tests/ui/real_run_test >"$log" 2>&1; then
  cat "$log"
  echo "memcheck found a fault (the whole log is above)"
  rm -f "$log"
  exit 1
fi
grep -E 'PASS|FAIL|Totals|ERROR SUMMARY|definitely lost|indirectly lost' "$log"
rm -f "$log"
