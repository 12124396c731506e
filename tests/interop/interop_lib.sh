# Shared steps of the interoperability tests. Sourced, not run.
# What the machine lacks: a skip (exit 77) on a developer's machine, a failure in CI.
missing() {
  if [ "${CI:-}" = true ]; then echo "CI lacks what this test needs: $1" >&2; exit 1; fi
  echo "skipped: $1"; exit 77
}
# Every command named must be there.
need() { for c in "$@"; do command -v "$c" >/dev/null || missing "$c (scripts/setup.sh installs it)"; done; }
# The locked npm packages of this folder, installed beside the test's WORK folder (in npm/)
# again only when the lock changes, and put on NODE_PATH; tests that start at once take turns.
npm_packages() {
  local dir here
  dir=$(dirname "$1")/npm
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  need node npm flock
  mkdir -p "$dir"
  (
    flock 9
    cmp -s "$here/package-lock.json" "$dir/installed.lock" && exit 0
    cp "$here/package.json" "$here/package-lock.json" "$dir"/
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error) && cp "$here/package-lock.json" "$dir/installed.lock"
  ) 9>"$dir/.lock" || missing "the npm packages of tests/interop (npm ci failed)"
  export NODE_PATH="$dir/node_modules"
}
