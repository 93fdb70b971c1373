#!/usr/bin/env bash
# Configures and builds Vesk into build/ (or $VESK_BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VESK_BUILD_DIR:-$root/build}"

"$root/scripts/deps.sh"
if [ ! -f "$build/build.ninja" ]; then
  flags=()
  # CI needs line tables for its stack traces, not full debug information,
  # which is most of an optimised build's compile time.
  if [ "${CI:-}" = true ]; then
    flags+=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG")
  fi
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}"
fi
cmake --build "$build" "$@"
