#!/usr/bin/env bash
# Installs every Debian package the build, the game and the tests need: the lists in
# scripts/packages/*.txt, one package a line, or the list files given as arguments; with no
# arguments it also generates the locales of scripts/locales.txt.
# Idempotent: packages already present, or provided by an installed package (npm by a
# nodejs from elsewhere, say), are skipped, and apt runs (with one update) only when
# something is missing.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
lists=("$@")
[ ${#lists[@]} -gt 0 ] || lists=("$(dirname "$0")"/packages/*.txt)

mapfile -t packages < <(cat "${lists[@]}" | sed 's/#.*//' | tr -s ' \t' '\n' | grep -v '^$' | sort -u)

# Every installed package's name and what it provides, one a line.
installed=$(dpkg-query -W -f='${Status}\t${Package}, ${Provides}\n' 2>/dev/null |
  sed -n 's/^install ok installed\t//p' | tr ',' '\n' | sed 's/^ *//; s/[ :].*//' | sort -u)
missing=()
for p in "${packages[@]}"; do
  grep -qxF "$p" <<<"$installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The locales, generated once: locale -a writes "fi_FI.utf8" for "fi_FI.UTF-8".
[ $# -eq 0 ] || exit 0
mapfile -t wanted < <(sed 's/#.*//' "$(dirname "$0")/locales.txt" | grep -v '^ *$')
have=$(locale -a 2>/dev/null)
absent=()
for l in "${wanted[@]}"; do
  grep -qxF "${l%%.*}.utf8" <<<"$have" || absent+=("$l")
done
if [ ${#absent[@]} -gt 0 ]; then
  echo "setup: generating the locales ${absent[*]}"
  for l in "${absent[@]}"; do
    grep -q "^# *$l UTF-8" /etc/locale.gen && $SUDO sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi
