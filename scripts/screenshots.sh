#!/usr/bin/env bash
# Renders docs/screenshots/main.png and about.png: the real windows on a virtual X server with
# a window manager, so that their title bars show too. The screen is 640x480: the window
# manager draws the titles a little differently on a larger one.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
source scripts/lib/build.sh

ensure_packages "${BUILD_PACKAGES[@]}" xvfb openbox
build_preset release render_screenshot
mkdir -p docs/screenshots
for window in main about; do
  ORVENDALE_X_SCREEN=640x480x24 tests/ui/on_x_server.sh build/release/ui/render_screenshot \
    "$window" "docs/screenshots/$window.png"
done
echo "wrote docs/screenshots/main.png and about.png"
