#!/usr/bin/env bash
# Compares the main window's score with orvendale-cli's on this machine: PAIRS pairs of
# ten-second runs (default 5), window and command line alternating so that a drift of the
# machine's speed affects both alike. The window runs as on a desktop: Qt's xcb platform on an
# X server (Xvfb) with a window manager. Prints each pair with its system calls per iteration
# (perf stat), then the medians and their ratio. ORVENDALE_EVENT_PUMP=plain in the environment
# compares the plain pumps.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/build.sh
syscalls_per_iteration=scripts/performance/syscalls_per_iteration.py
pairs="${1:-5}"
build_preset release run_bench orvendale-cli >/dev/null

# Prints the number at a path of keys (and list indices) in the JSON document on stdin.
json_value() {
  python3 -c '
import json, sys
value = json.load(sys.stdin)
for key in sys.argv[1:]:
    value = value[int(key)] if key.isdigit() else value[key]
print(int(value))' "$@"
}

results=$(mktemp)
perf=$(mktemp)
trap 'rm -f "$results" "$perf"' EXIT
for ((pair = 1; pair <= pairs; ++pair)); do
  report=$(tests/ui/on_x_server.sh perf stat -x, -I 1000 -e raw_syscalls:sys_enter -o "$perf" \
    build/release/bench/run_bench --benchmark_filter='^BM_WindowRun/iterations' \
    --benchmark_format=json 2>/dev/null)
  window=$(json_value benchmarks 0 score <<<"$report")
  window_calls=$("$syscalls_per_iteration" "$perf" "$(json_value benchmarks 0 iterations <<<"$report")")
  report=$(perf stat -x, -I 1000 -e raw_syscalls:sys_enter -o "$perf" build/release/cli/orvendale-cli --json 2>/dev/null)
  cli=$(json_value runs 0 score <<<"$report")
  cli_calls=$("$syscalls_per_iteration" "$perf" "$(json_value runs 0 iterations <<<"$report")")
  echo "pair $pair: window $window ($window_calls system calls per iteration)," \
    "orvendale-cli $cli ($cli_calls)"
  echo "$window $cli" >>"$results"
done
scripts/performance/pair_medians.py "$results" window orvendale-cli
