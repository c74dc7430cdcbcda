#!/usr/bin/env bash
# Runs each test that checks a time or a share RUNS times (default 20) in every preset named, as
# the test command runs it, and prints each check's worst figure, its limit and the margin (the
# limit over the worst figure), for the table in docs/TESTING.md. Build the presets first.
#   scripts/performance/timing_margins.sh release clang debug-asan
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${RUNS:-20}
pattern='^(cli_program_test|cli_real_run_test|cli_jobs_test|windows_test|real_run_test)'
for preset in "$@"; do
  # The preset's own filter applies: the clang preset leaves the slow tests out.
  names=$(ctest --preset "$preset" -N -R "$pattern" | sed -n 's/^ *Test *#[0-9]*: //p')
  for name in $names; do
    log=$(mktemp)
    for _ in $(seq "$runs"); do
      ctest --preset "$preset" -R "^${name//./\\.}\$" -V >>"$log" 2>&1 ||
        echo "$preset $name: a run failed (see $log)" >&2
    done
    sed -n 's/.*timing: \(.*\): \([-0-9.]*\) (limit \([0-9.]*\)).*/\1|\2|\3/p' "$log" |
      awk -F'|' -v preset="$preset" -v test="$name" '
        !($1 in worst) || $2 + 0 > worst[$1] { worst[$1] = $2 + 0; limit[$1] = $3 }
        { count[$1]++ }
        END {
          for (check in worst) {
            margin = worst[check] > 0 ? sprintf("%.1f", limit[check] / worst[check]) : "never reached"
            printf "%s | %s | %s | %d | %g | %s | %s\n", preset, test, check, count[check],
              worst[check], limit[check], margin
          }
        }'
  done
done
