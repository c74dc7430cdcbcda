#!/usr/bin/env bash
# The steadiness of IDLE runs of orvendale-cli (default 20, one after another) and of DISTURBED
# runs (default 5) into which another busy process comes at second 5, on the same CPU as the
# benchmark (both pinned to CPU 0 with taskset, so that the kernel cannot move it away). Prints
# each run's steadiness and seconds, then both distributions.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/build.sh
idle="${1:-20}"
disturbed="${2:-5}"
build_preset release orvendale-cli >/dev/null
cli=build/release/cli/orvendale-cli
results=$(mktemp)
trap 'rm -f "$results"' EXIT

show() {  # kind; the JSON document on stdin
  python3 -c '
import json, sys
for run in json.load(sys.stdin)["runs"]:
    print(sys.argv[1], run.get("steadiness"), run.get("uneven"), run.get("secondIterations"))' "$1" |
    tee -a "$results"
}

"$cli" --runs "$idle" --json 2>/dev/null | show idle
for ((run = 1; run <= disturbed; ++run)); do
  taskset -c 0 "$cli" --json >"$results.run" 2>/dev/null &
  benchmark=$!
  sleep 5
  taskset -c 0 sh -c 'while :; do :; done' &
  busy=$!
  wait "$benchmark" || true
  kill "$busy"
  show disturbed <"$results.run"
done
rm -f "$results.run"
python3 - "$results" <<'PY'
import sys
for kind in ("idle", "disturbed"):
    values = sorted(float(line.split()[1]) for line in open(sys.argv[1]) if line.startswith(kind))
    print(f"{kind}: {len(values)} runs, steadiness from {values[0]:.3f} to {values[-1]:.3f}:",
          " ".join(f"{v:.3f}" for v in values))
PY
