#!/usr/bin/env bash
# Builds Vesk and starts it. Without a display it runs on the offscreen platform.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VESK_BUILD_DIR:-$root/build}"

"$root/scripts/build.sh" --target vesk
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
fi
exec "$build/vesk" "$@"
