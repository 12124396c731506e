#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test: a release build, then the whole
# suite again under AddressSanitizer + UndefinedBehaviorSanitizer, then the threaded
# tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

jobs=$(nproc)

build_and_test() {
  local dir=$1 sanitize=$2 label=$3
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRQ_SANITIZE="$sanitize" >/dev/null
  cmake --build "$dir" -j "$jobs"
  if [ -n "$label" ]; then
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" -L "$label"
  else
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
  fi
}

echo "== release build =="
build_and_test build "" ""
echo "== address and undefined-behaviour sanitizers =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build_and_test build-asan address ""
if ctest --test-dir build -N -L threaded 2>/dev/null | grep -q "Total Tests: [1-9]"; then
  echo "== thread sanitizer =="
  TSAN_OPTIONS=halt_on_error=1 build_and_test build-tsan thread threaded
fi
