#!/usr/bin/env bash
# Runs a test program as on a user's desktop: its own Xvfb server (1280x1024, 24-bit colour,
# or ORVENDALE_X_SCREEN) with the openbox window manager, on Qt's xcb platform.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 PROGRAM [ARGS...]" >&2; exit 2; }
export QT_QPA_PLATFORM=xcb
exec xvfb-run -a -s "-screen 0 ${ORVENDALE_X_SCREEN:-1280x1024x24} -nolisten tcp" bash -c '
  ready=$(mktemp -u)
  openbox --startup "touch $ready" >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 100); do [ -e "$ready" ] && break; sleep 0.05; done
  [ -e "$ready" ] || { echo "openbox did not start" >&2; exit 1; }
  rm -f "$ready"
  status=0
  "$@" || status=$?
  kill "$wm" 2>/dev/null || true
  exit "$status"' on_x_server "$@"
