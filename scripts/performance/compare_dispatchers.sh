#!/usr/bin/env bash
# Compares Qt's GLib event dispatcher with its own Unix dispatcher: the event pump (with its
# guard, main window shown, nothing pending) on the offscreen platform and on xcb under Xvfb with
# a window manager (tests/ui/on_x_server.sh), and whole orvendale-cli runs. The two dispatchers
# alternate within every round, so a drift of the machine's speed falls on both alike. ROUNDS
# defaults to 3.
# An empty QT_NO_GLIB keeps Qt's GLib dispatcher; QT_NO_GLIB=1 selects the Unix one.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/build.sh
rounds="${1:-3}"
build_preset release run_bench orvendale-cli >/dev/null

pump_ns() {  # platform, QT_NO_GLIB value
  local x_server=()
  [ "$1" != xcb ] || x_server=(tests/ui/on_x_server.sh)
  "${x_server[@]}" env QT_QPA_PLATFORM="$1" QT_NO_GLIB="$2" build/release/bench/run_bench \
    --benchmark_filter='^BM_EventPump$' --benchmark_repetitions=5 --benchmark_format=json \
    --benchmark_report_aggregates_only=true 2>/dev/null |
    python3 -c 'import json, sys
print(round(next(b["real_time"] for b in json.load(sys.stdin)["benchmarks"]
                 if b["aggregate_name"] == "median")))'
}
cli_score() {  # QT_NO_GLIB value
  env QT_NO_GLIB="$1" build/release/cli/orvendale-cli --json 2>/dev/null |
    python3 -c 'import json, sys; print(json.load(sys.stdin)["runs"][0]["score"])'
}

echo "round: pump ns offscreen glib/unix, xcb glib/unix; orvendale-cli score glib/unix"
for ((round = 1; round <= rounds; ++round)); do
  echo "$round: $(pump_ns offscreen '')/$(pump_ns offscreen 1)," \
    "$(pump_ns xcb '')/$(pump_ns xcb 1); $(cli_score '')/$(cli_score 1)"
done
