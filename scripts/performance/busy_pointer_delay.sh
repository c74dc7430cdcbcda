#!/usr/bin/env bash
# Measures when the busy pointer of a window run reaches the X server: one run in the main
# window on Xvfb with a window manager, under strace, which timestamps every request the
# program writes to the X server. The busy pointer is set as the run starts and the normal one
# as it ends, so the time between the two requests, against the run's own wall time, tells how
# late the first one went out.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/build.sh
build_preset release run_bench >/dev/null
trace=$(mktemp)
report=$(mktemp)
trap 'rm -f "$trace" "$report"' EXIT
tests/ui/on_x_server.sh strace -f -tt -e trace=writev -o "$trace" build/release/bench/run_bench \
  --benchmark_filter='^BM_WindowRun/iterations' --benchmark_format=json >"$report" 2>/dev/null
python3 - "$trace" "$report" <<'PY'
import json, re, sys
from datetime import datetime
def seconds(line):
    return datetime.strptime(line.split()[1], "%H:%M:%S.%f").timestamp()
# ChangeWindowAttributes (opcode 2, four words) of the main window with the cursor's value mask
# (0x4000): the busy pointer, then the normal one.
pointers = [line for line in open(sys.argv[1])
            if re.search(r'iov_base="\\2\\0\\4\\0.{4,24}\\0@\\0\\0', line)]
run_ms = json.load(open(sys.argv[2]))["benchmarks"][0]["real_time"]
between_ms = 1000 * (seconds(pointers[-1]) - seconds(pointers[-2]))
print(f"run {run_ms:.1f} ms, busy to normal pointer {between_ms:.1f} ms: the busy pointer went "
      f"out {run_ms - between_ms:.1f} ms after the run started")
PY
