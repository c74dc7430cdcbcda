#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and starts Orvendale.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
source scripts/lib/build.sh

# The window needs a display; say so before building rather than after.
if [ -z "${QT_QPA_PLATFORM:-}${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "orvendale: no display can be reached: set DISPLAY or WAYLAND_DISPLAY, run it under" \
    "xvfb-run, or use orvendale-cli for a run without a window" >&2
  exit 1
fi

ensure_packages "${BUILD_PACKAGES[@]}"
build_preset release orvendale
exec build/release/ui/orvendale "$@"
