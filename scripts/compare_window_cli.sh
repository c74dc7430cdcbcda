#!/usr/bin/env bash
# Compares the main window's score with orvendale-cli's on this machine: PAIRS pairs of
# ten-second runs (default 5), window and command line alternating so that a drift of the
# machine's speed affects both alike. The window runs as on a desktop: Qt's xcb platform on an
# X server (Xvfb) with a window manager. Prints each pair, then the medians and their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
pairs="${1:-5}"
cmake --preset release >/dev/null
cmake --build --preset release --target run_bench orvendale-cli >/dev/null

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
for ((pair = 1; pair <= pairs; ++pair)); do
  window=$(tests/ui/on_x_server.sh build/release/bench/run_bench --benchmark_filter='^BM_WindowRun/iterations' \
    --benchmark_format=json 2>/dev/null | json_value benchmarks 0 score)
  cli=$(build/release/cli/orvendale-cli --json 2>/dev/null | json_value runs 0 score)
  echo "pair $pair: window $window, orvendale-cli $cli"
  echo "$window $cli" >>"$results"
done
python3 - "$results" <<'EOF'
import statistics, sys
pairs = [tuple(map(int, line.split())) for line in open(sys.argv[1])]
window = statistics.median(p[0] for p in pairs)
cli = statistics.median(p[1] for p in pairs)
print(f"median window {window:.0f}, median orvendale-cli {cli:.0f}, "
      f"orvendale-cli / window = {cli / window:.3f}")
EOF
rm -f "$results"
