#!/usr/bin/env bash
# Runs a test program as on a user's desktop: its own Xvfb server (1280x1024, 24-bit colour,
# or ORVENDALE_X_SCREEN) with the openbox window manager, on Qt's xcb platform. Nothing it starts
# outlives it: each process is started with a parent-death signal, which ends it also when this
# script is killed (a test's timeout), and the trap ends them on every other way out.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 PROGRAM [ARGS...]" >&2; exit 2; }
started=()
folder=$(mktemp -d)
finish() {
  kill "${started[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$folder"
}
trap finish EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
# Run in the background only: the subshell becomes the process, whose parent is this script.
with_this_script() { exec setpriv --pdeathsig KILL "$@"; }

# Xvfb picks a free display and writes its number once it takes connections.
with_this_script Xvfb -displayfd 3 -screen 0 "${ORVENDALE_X_SCREEN:-1280x1024x24}" -nolisten tcp \
  3>"$folder/display" 2>"$folder/xvfb.log" &
started+=($!)
for _ in $(seq 200); do [ -s "$folder/display" ] && break; sleep 0.05; done
[ -s "$folder/display" ] || { cat "$folder/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$folder/display")" QT_QPA_PLATFORM=xcb

with_this_script openbox --startup "touch $folder/ready" >/dev/null 2>&1 &
started+=($!)
for _ in $(seq 100); do [ -e "$folder/ready" ] && break; sleep 0.05; done
[ -e "$folder/ready" ] || { echo "openbox did not start" >&2; exit 1; }

with_this_script "$@" &
started+=($!)
status=0
wait "$!" || status=$?
exit "$status"
