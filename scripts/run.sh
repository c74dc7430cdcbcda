#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and starts Orvendale.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${BUILD_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release --target orvendale
exec build/release/ui/orvendale "$@"
