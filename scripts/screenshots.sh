#!/usr/bin/env bash
# Renders docs/screenshots/main.png: the real window on a virtual X server with a window
# manager, so that its title bar shows too.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth openbox
cmake --preset release >/dev/null
cmake --build --preset release --target render_screenshot
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 640x480x24" bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  build/release/tests/ui/render_screenshot docs/screenshots/main.png
'
echo "wrote docs/screenshots/main.png"
