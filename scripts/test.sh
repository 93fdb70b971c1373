#!/usr/bin/env bash
# Builds Vesk and runs the whole test suite headless.
#
# With --sanitize it builds into its own folder (build-sanitize/, or
# $VESK_SANITIZE_BUILD_DIR) with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole suite there, leak checks included: the first finding ends
# the test that met it, with its stack. Qt and the system libraries are not
# instrumented; what they alone leak is suppressed in tests/sanitizers/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

case "${1:-}" in
  "") sanitize=false ;;
  --sanitize) sanitize=true ;;
  *) echo "usage: scripts/test.sh [--sanitize]" >&2; exit 2 ;;
esac

if ! $sanitize; then
  build="${VESK_BUILD_DIR:-$root/build}"
  "$root/scripts/build.sh"
else
  build="${VESK_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
  "$root/scripts/deps.sh"
  if [ ! -f "$build/build.ninja" ]; then
    # -O1 with line tables only: what the sanitizers and their stack traces
    # need, at a fraction of the normal build's compile time.
    cmake -S "$root" -B "$build" -G Ninja -DVESK_SANITIZE=address,undefined \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
  fi
  cmake --build "$build"
  # Every finding is also written to a file of its own in the build folder,
  # so that one in a process whose status no test reads (a vesk a test
  # started and ended, say) still fails the suite.
  reports="$build/sanitizer-reports"
  rm -rf "$reports" && mkdir -p "$reports"
  suppressions="$root/tests/sanitizers"
  export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1:log_path=$reports/asan"
  export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$suppressions/ubsan.supp:log_path=$reports/ubsan"
fi

export QT_QPA_PLATFORM=offscreen
status=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" || status=$?
if $sanitize && [ -n "$(ls -A "$reports")" ]; then
  echo "Sanitizer findings (in $reports):" >&2
  cat "$reports"/* >&2
  status=1
fi
exit $status
