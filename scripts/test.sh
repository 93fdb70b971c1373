#!/usr/bin/env bash
# Builds Vesk and runs the whole test suite headless.
#
# With --sanitize it builds into its own folder (build-sanitize/, or
# $VESK_SANITIZE_BUILD_DIR) with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole suite there, leak checks included: the first finding ends
# the test that met it, with its stack. Qt and the system libraries are not
# instrumented; what they alone leak is suppressed in tests/sanitizers/.
#
# With --all (what CI runs, and the default when CI=true) it does both: the sanitizer build goes on while the
# normal suite runs, which leaves most of the machine idle, and the sanitizer
# suite follows. It fails when either suite fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
normal_build="${VESK_BUILD_DIR:-$root/build}"
sanitize_build="${VESK_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
reports="$sanitize_build/sanitizer-reports"
suppressions="$root/tests/sanitizers"
export QT_QPA_PLATFORM=offscreen

build_normal() {
  "$root/scripts/build.sh"
}

build_sanitize() {
  if [ ! -f "$sanitize_build/build.ninja" ]; then
    # -O1 with line tables only: what the sanitizers and their stack traces
    # need, at a fraction of the normal build's compile time.
    cmake -S "$root" -B "$sanitize_build" -G Ninja -DVESK_SANITIZE=address,undefined \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
  fi
  cmake --build "$sanitize_build"
}

run_normal_suite() {
  ctest --test-dir "$normal_build" --output-on-failure -j "$(nproc)"
}

run_sanitize_suite() {
  # Every finding is also written to a file of its own in the build folder,
  # so that one in a process whose status no test reads (a vesk a test
  # started and ended, say) still fails the suite.
  rm -rf "$reports" && mkdir -p "$reports"
  local status=0
  ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1:log_path=$reports/asan" \
  LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$suppressions/ubsan.supp:log_path=$reports/ubsan" \
    ctest --test-dir "$sanitize_build" --output-on-failure -j "$(nproc)" || status=$?
  if [ -n "$(ls -A "$reports")" ]; then
    echo "Sanitizer findings (in $reports):" >&2
    cat "$reports"/* >&2
    status=1
  fi
  return $status
}

# CI runs both suites.
mode="${1:-}"
if [ -z "$mode" ] && [ "${CI:-}" = true ]; then
  mode=--all
fi

case "$mode" in
  "")
    build_normal
    run_normal_suite
    ;;
  --sanitize)
    "$root/scripts/deps.sh"
    build_sanitize
    run_sanitize_suite
    ;;
  --all)
    build_normal
    mkdir -p "$sanitize_build"
    build_sanitize > "$sanitize_build/build.log" 2>&1 &
    sanitize_builder=$!
    normal=0
    run_normal_suite || normal=$?
    if ! wait $sanitize_builder; then
      cat "$sanitize_build/build.log" >&2
      echo "The sanitizer build failed." >&2
      exit 1
    fi
    tail -n 1 "$sanitize_build/build.log"
    sanitize=0
    run_sanitize_suite || sanitize=$?
    echo "Normal suite: $([ $normal -eq 0 ] && echo passed || echo FAILED)." \
         "Sanitizer suite: $([ $sanitize -eq 0 ] && echo passed || echo FAILED)."
    [ $normal -eq 0 ] && [ $sanitize -eq 0 ]
    ;;
  *)
    echo "usage: scripts/test.sh [--sanitize | --all]" >&2
    exit 2
    ;;
esac
