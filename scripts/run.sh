#!/usr/bin/env bash
# Builds Vesk and starts it. Without a display it runs on the offscreen
# platform and quits after VESK_QUIT_AFTER seconds (default 5) unless the
# arguments already say when to quit.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VESK_BUILD_DIR:-$root/build}"

"$root/scripts/build.sh" --target vesk

args=("$@")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
fi
if [ "${QT_QPA_PLATFORM:-}" = "offscreen" ]; then
  has_quit_after=false
  for arg in "${args[@]}"; do
    case "$arg" in --quit-after|--quit-after=*) has_quit_after=true ;; esac
  done
  if [ "$has_quit_after" = false ]; then
    seconds="${VESK_QUIT_AFTER:-5}"
    echo "No display: running offscreen for ${seconds} s."
    args+=(--quit-after "$seconds")
  fi
fi
exec "$build/vesk" "${args[@]}"
