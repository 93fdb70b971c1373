#!/usr/bin/env bash
# Builds Vesk and starts it. With a display it runs on the default desktop
# scenario (or on the given arguments). Without one, and without arguments, it
# runs the bundled demo headless: a 60-second session on the default scenario,
# in virtual time, and prints a summary of the report.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VESK_BUILD_DIR:-$root/build}"

"$root/scripts/build.sh" --target vesk

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ $# -eq 0 ]; then
  out="${VESK_DEMO_DIR:-$build/demo}"
  echo "No display: running the demo script headless (output in $out)."
  exec "$build/vesk" --script "$root/scripts/demo/session-60s.json" --report "$out/report.json"
fi
exec "$build/vesk" "$@"
