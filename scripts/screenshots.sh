#!/usr/bin/env bash
# Renders docs/screenshots/main.png and about.png: the real windows on a virtual X server with
# a window manager, so that their title bars show too.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
source scripts/lib/build.sh

ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth openbox
build_preset release render_screenshot
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 640x480x24" bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  build/release/ui/render_screenshot main docs/screenshots/main.png
  build/release/ui/render_screenshot about docs/screenshots/about.png
'
echo "wrote docs/screenshots/main.png and about.png"
