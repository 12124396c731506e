#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test: the release build runs the whole
# suite; AddressSanitizer + UndefinedBehaviorSanitizer run it again but for the
# end-to-end tests (label e2e); ThreadSanitizer runs the threaded tests (label threaded).
# The Debian package test (label package) installs on the machine: once, apart, at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

jobs=$(nproc)

# build_and_test DIR SANITIZER TARGET CTEST-ARGS...: TARGET "all" builds everything.
build_and_test() {
  local dir=$1 sanitize=$2 target=$3
  shift 3
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRQ_SANITIZE="$sanitize" >/dev/null
  cmake --build "$dir" -j "$jobs" --target "$target"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@"
}

echo "== release build: every test but the package test =="
build_and_test build "" all -LE package
echo "== address and undefined-behaviour sanitizers =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build_and_test build-asan address all -LE "e2e|package"
if ctest --test-dir build -N -L threaded | grep -q "Total Tests: [1-9]"; then
  echo "== thread sanitizer: the threaded tests and what they link =="
  TSAN_OPTIONS=halt_on_error=1 build_and_test build-tsan thread threaded_tests -L threaded
fi
echo "== the Debian package, installed, run and removed =="
ctest --test-dir build --output-on-failure -L package
