#!/usr/bin/env bash
# Installs every Debian package the build, the game and the tests need: the lists in
# scripts/packages/*.txt, one package a line, or the list files given as arguments.
# Idempotent: packages already present are skipped, and apt runs (with one update)
# only when something is missing.
set -euo pipefail
lists=("$@")
[ ${#lists[@]} -gt 0 ] || lists=("$(dirname "$0")"/packages/*.txt)

mapfile -t packages < <(cat "${lists[@]}" | sed 's/#.*//' | tr -s ' \t' '\n' | grep -v '^$' | sort -u)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
