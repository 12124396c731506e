# Shared steps of the interoperability tests. Sourced, not run.
# What the machine lacks: a skip (exit 77) on a developer's machine, a failure in CI.
missing() {
  if [ "${CI:-}" = true ]; then echo "CI lacks what this test needs: $1" >&2; exit 1; fi
  echo "skipped: $1"; exit 77
}
# Every command named must be there.
need() { for c in "$@"; do command -v "$c" >/dev/null || missing "$c (scripts/setup.sh installs it)"; done; }
