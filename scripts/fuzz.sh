#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds each (default 30), starting from the
# checked-in seed corpus. Any crash, sanitizer report or failed check fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
for target in build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$target" _fuzz)
  work=$(mktemp -d)
  cp fuzz/corpus/"$name"/* "$work"/
  echo "fuzzing $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work" >"$work/log" 2>&1; then
    cat "$work/log"
    echo "fuzz target $name failed; the input is kept in $work"
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/log" || true
  rm -rf "$work"
done
