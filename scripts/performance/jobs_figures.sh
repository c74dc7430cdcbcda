#!/usr/bin/env bash
# The figures of orvendale-cli --jobs on this machine: ROUNDS rounds of --jobs 2 (default 5),
# PAIRS pairs of a --jobs 1 round against a plain run (default 3), alternating so that a drift
# of the machine's speed affects both alike, and one oversubscribed round of --jobs 4.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/build.sh
rounds="${1:-5}"
pairs="${2:-3}"
build_preset release orvendale-cli >/dev/null
cli=build/release/cli/orvendale-cli
report=$(mktemp)
pairs_file=$(mktemp)
trap 'rm -f "$report" "$pairs_file"' EXIT

# Prints each round of the --jobs document in $report, then the summary over the rounds.
show_rounds() {
  python3 - "$report" <<'PY'
import json, sys
document = json.load(open(sys.argv[1]))
for r in document["rounds"]:
    workers = [(w.get("score"), w["contended"]) for w in r["workers"]]
    print(f"round {r['round']}: solo {r['solo'].get('score')}, workers (score, contended) "
          f"{workers}, multi-core {r['multiCoreScore']}, efficiency {r['efficiency']}, "
          f"start skew {r['startSkewMs']} ms")
for name, spread in document["roundsSummary"].items():
    print(name, spread)
PY
}
json_number() {  # python expression over the document d, from stdin
  python3 -c "import json, sys; d = json.load(sys.stdin); print($1)"
}

echo "== --jobs 2 --runs $rounds"
"$cli" --jobs 2 --runs "$rounds" --json >"$report" 2>/dev/null
show_rounds

echo "== --jobs 1 against a plain run, $pairs pairs"
for ((pair = 1; pair <= pairs; ++pair)); do
  one=$("$cli" --jobs 1 --json 2>/dev/null | json_number 'd["rounds"][0]["multiCoreScore"]')
  plain=$("$cli" --json 2>/dev/null | json_number 'd["runs"][0]["score"]')
  echo "pair $pair: --jobs 1 worker $one, plain run $plain"
  echo "$plain $one" >>"$pairs_file"
done
scripts/performance/pair_medians.py "$pairs_file" "plain run" "--jobs 1 worker"

echo "== --jobs 4 (more workers than CPUs)"
"$cli" --jobs 4 --json >"$report" 2>/dev/null || true
show_rounds
