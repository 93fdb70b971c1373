#!/usr/bin/env bash
# Builds Vesk and runs the whole test suite headless.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VESK_BUILD_DIR:-$root/build}"

"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
