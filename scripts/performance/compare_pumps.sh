#!/usr/bin/env bash
# Compares the gated event pump with Qt's plain one (ORVENDALE_EVENT_PUMP=plain) over PAIRS
# pairs of idle ten-second orvendale-cli runs (default 10), gated and plain alternating so that a
# drift of the machine's speed falls on both alike. Each run gives its score, nanoseconds per
# iteration, kernel share of its CPU time and system calls per iteration (perf stat, counted
# in whole seconds inside the run). Before each pair, BM_WorkIteration times the same iteration
# without any pump. At the end: medians and coefficients of variation, and the ratios.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/build.sh
syscalls_per_iteration=scripts/performance/syscalls_per_iteration.py
pairs="${1:-10}"
build_preset release orvendale-cli work_loop_bench >/dev/null

results=$(mktemp)
trap 'rm -f "$results"' EXIT
one_run() {  # pump kind
  local perf json
  perf=$(mktemp)
  json=$(env ORVENDALE_EVENT_PUMP="$1" perf stat -x, -I 1000 -e raw_syscalls:sys_enter -o "$perf" \
    build/release/cli/orvendale-cli --json 2>/dev/null)
  read -r score ns kernel iterations pump < <(python3 -c 'import json, sys
d = json.loads(sys.argv[1]); r = d["runs"][0]
print(r["score"], r["nsPerIteration"], r["kernelPercent"], r["iterations"], d["machine"]["eventPump"])' "$json")
  echo "$1 $score $ns $kernel $("$syscalls_per_iteration" "$perf" "$iterations") ($pump)"
  rm -f "$perf"
}
bare_ns() {
  build/release/bench/work_loop_bench --benchmark_filter='^BM_WorkIteration$' \
    --benchmark_repetitions=3 --benchmark_report_aggregates_only=true --benchmark_format=json \
    2>/dev/null | python3 -c 'import json, sys
print(next(b["real_time"] for b in json.load(sys.stdin)["benchmarks"]
           if b["aggregate_name"] == "median"))'
}

echo "pair: pump score ns/iteration kernel% syscalls/iteration (pump in use); BM_WorkIteration ns"
for ((pair = 1; pair <= pairs; ++pair)); do
  bare=$(bare_ns)
  for kind in gated plain; do
    line=$(one_run "$kind")
    echo "$pair: $line; $bare"
    echo "$line $bare" >>"$results"
  done
done
python3 - "$results" <<'PY'
import statistics, sys
rows = [line.split() for line in open(sys.argv[1])]
def column(kind, index):
    return [float(r[index]) for r in rows if r[0] == kind]
for kind in ("gated", "plain"):
    scores = column(kind, 1)
    cv = 100 * statistics.stdev(scores) / statistics.mean(scores) if len(scores) > 1 else 0
    print(f"{kind}: median score {statistics.median(scores):.0f}, coefficient of variation "
          f"{cv:.2f} %, median "
          f"{statistics.median(column(kind, 2)):.1f} ns per iteration, kernel "
          f"{statistics.median(column(kind, 3)):.2f} %, "
          f"{statistics.median(column(kind, 4)):.6f} system calls per iteration")
bare = statistics.median(float(r[6]) for r in rows)
for kind in ("gated", "plain"):
    print(f"{kind} iteration with its pump / BM_WorkIteration ({bare:.0f} ns): "
          f"{statistics.median(column(kind, 2)) / bare:.3f}")
print(f"median score gated / plain: "
      f"{statistics.median(column('gated', 1)) / statistics.median(column('plain', 1)):.3f}")
PY
