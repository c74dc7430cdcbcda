#!/usr/bin/env bash
# The window program where no display can be reached: no display named, a display that does not
# answer, and xcb asked for by name without a display. Each must end at once with exit status 1
# and one line on stderr, not Qt's abort.
set -uo pipefail
program=$1
failed=0
for display in "DISPLAY=" "DISPLAY=:97" "DISPLAY= QT_QPA_PLATFORM=xcb"; do
  stderr=$(env -u QT_QPA_PLATFORM WAYLAND_DISPLAY= $display timeout 20 "$program" 2>&1 >/dev/null)
  status=$?
  lines=$(printf '%s\n' "$stderr" | wc -l)
  if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || [[ "$stderr" != "orvendale: no display"* ]]; then
    echo "FAIL with $display: status $status, stderr: $stderr"
    failed=1
  fi
done
exit "$failed"
