#!/usr/bin/env bash
# Compares two builds of orvendale-cli on this machine, for a change against the commit before
# it: PAIRS pairs of ten-second runs (default 5), the two builds alternating so that a drift of
# the machine's speed affects both alike, each under perf stat counting its system calls (all
# its threads). Prints each pair with its system calls per iteration, then the medians and their
# ratio.
#   scripts/performance/compare_cli_builds.sh OLD_ORVENDALE_CLI NEW_ORVENDALE_CLI [PAIRS]
set -euo pipefail
cd "$(dirname "$0")/../.."
# Keeps these runs out of the user's results store.
source scripts/lib/build.sh
old=$1
new=$2
pairs=${3:-5}
results=$(mktemp)
perf=$(mktemp)
trap 'rm -f "$results" "$perf"' EXIT

# Prints the score of one run of the program $1 and its system calls per iteration.
score_and_calls() {
  local run
  run=$(perf stat -x, -I 1000 -e raw_syscalls:sys_enter -o "$perf" "$1" --json 2>/dev/null |
    python3 -c 'import json, sys; r = json.load(sys.stdin)["runs"][0]; print(r["score"], r["iterations"])')
  echo "${run% *} $(scripts/performance/syscalls_per_iteration.py "$perf" "${run#* }")"
}

for ((pair = 1; pair <= pairs; ++pair)); do
  read -r a a_calls < <(score_and_calls "$old")
  read -r b b_calls < <(score_and_calls "$new")
  echo "pair $pair: old $a ($a_calls system calls per iteration), new $b ($b_calls)"
  echo "$a $b" >>"$results"
done
scripts/performance/pair_medians.py "$results" old new
