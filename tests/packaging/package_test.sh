#!/usr/bin/env bash
# The Debian package built, installed with apt, and the installed game started as the menu
# starts it: a fresh HOME, a folder without data. Removed afterwards. Needs root or sudo.
# usage: package_test.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
build=${1:-$source_dir/build-package}
build=$(mkdir -p "$build" && cd "$build" && pwd)  # apt takes a path only with a slash in front
SUDO=$( [ "$(id -u)" -eq 0 ] || echo sudo)

export RQ_PROGRAM=/usr/games/ravenquill RQ_SOURCE=$source_dir
export RQ_ARTIFACTS=${RQ_ARTIFACTS:-$build/package-artifacts}
. "$source_dir/tests/interaction/e2e/e2e_lib.sh"
. "$here/installed_files.sh"

apt_get() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get -y -o DPkg::Lock::Timeout=300 "$@"; }
# The package goes whatever happened, then the shared clean-up, which takes the status from $?.
cleanup() {
  local status=$?
  set +e
  dpkg -s ravenquill >/dev/null 2>&1 && { apt_get purge ravenquill >/dev/null 2>&1 || echo "WARNING: ravenquill stays" >&2; }
  (exit $status)
  finish
}
trap cleanup EXIT

log "build the package in $build"
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DRQ_BUILD_TESTS=OFF $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/ravenquill_${version}_amd64.deb
rm -f "$build"/ravenquill_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
[ -f "$deb" ] || fail "cpack made no $deb"
depends=$(dpkg-deb -f "$deb" Depends)
log "Depends: $depends"
for lib in libsdl2-2.0-0 libgtk-3-0 libstdc++6; do
  [[ "$depends" =~ (^|, )"$lib"( |,|$) ]] || fail "Depends lacks the computed $lib"
done

# Debian's own checker: any error fails; the warnings stay in the log.
log "lintian"
command -v lintian >/dev/null || fail "lintian is missing (scripts/setup.sh installs it)"
lintian --fail-on error "$deb" >"$WORK/lintian.log" 2>&1 || { cat "$WORK/lintian.log"; fail "lintian reports errors"; }
cat "$WORK/lintian.log"

log "install it"
apt_get install "$deb" >"$WORK/apt.log" 2>&1 || { cat "$WORK/apt.log"; fail "apt-get install failed"; }
diff <(installed_files "$source_dir" | sed 's|^|/usr/|') \
  <(dpkg -L ravenquill | while read -r f; do [ -f "$f" ] && [ ! -L "$f" ] && echo "$f"; done | LC_ALL=C sort) ||
  fail "the package's files differ (< expected, > installed)"
diff <(installed_links | sed 's|^|/usr/|') \
  <(dpkg -L ravenquill | while read -r f; do [ -L "$f" ] && echo "$f -> $(readlink "$f")"; done | LC_ALL=C sort) ||
  fail "the package's links differ (< expected, > installed)"
# Found on root's PATH, which leaves out /usr/games, and on a user's, which has it first.
for path in "$PATH" /usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games; do
  [ "$(PATH=$path command -v ravenquill)" ] || fail "no ravenquill on the PATH $path"
  printf 'uci\nquit\n' | PATH=$path timeout 20 ravenquill-engine | grep -qx uciok || fail "ravenquill-engine gave no uciok"
done


# The menu runs the desktop entry's Exec by name, whatever PATH the session has.
entry=/usr/share/applications/io.github.ravenquill.Ravenquill.desktop
RQ_PROGRAM=$(PATH=/usr/bin:/bin command -v "$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")") || fail "the entry's Exec is not on the PATH /usr/bin:/bin"
log "start the installed game with a fresh HOME, in a folder without its data"
export HOME=$WORK/home && unset XDG_DATA_HOME && mkdir -p "$HOME"
start_display; rm -r "$WORK/Textures" "$WORK/Documentation" "$WORK/arrowcop.cur"  # as the menu starts it
start_game; wait_game_window; sleep 1
class=$(sed -n 's/^StartupWMClass=//p' "$entry")
xprop -id "$GAME_WINDOW" WM_CLASS | grep -q "\"$class\"\$" || fail "window class is not the entry's $class"
import -window "$GAME_WINDOW" "$RQ_ARTIFACTS/opening.png"
for row in e0:red a0:red b2:red e3:red e9:green h7:green e6:green d2:none e4:none e5:none; do
  got=$(ink_at "$RQ_ARTIFACTS/opening.png" "${row%%:*}")
  [ "$got" = "${row#*:}" ] || fail "point ${row%%:*} shows $got, not ${row#*:}: the opening is not drawn"
done
game_key Escape; wait_game_exit

# Kept in the player's data folder, made for the owner alone, not in the working folder.
data=$HOME/.local/share/ravenquill
[ "$(stat -c %a "$data" 2>/dev/null)" = 700 ] || fail "$data is missing or not for its owner alone"
[ -s "$data/CurrentGame_$NAME.vrd5" ] || fail "Escape saved no game in $data"
[ -s "$data/Settings_$NAME.rqs1" ] || fail "no settings in $data"
[ -z "$(find "$WORK" -maxdepth 1 \( -name '*.vrd5' -o -name '*.rqs1' \))" ] ||
  fail "files were written into the working directory"

# Under a Chinese locale the installed game finds its installed catalogue: its settings dialog
# has the Chinese title; the desktop entry has the Chinese name.
log "start again under a Chinese locale: the saved game continues, in Chinese"
locale -a | grep -qix 'zh_CN.utf-*8' || fail "the locale zh_CN.UTF-8 is not generated (scripts/setup.sh does it)"
grep -q '^Name\[zh_CN\]=' "$entry" || fail "the desktop entry has no Chinese name"
title=$(LANGUAGE=zh_CN LC_ALL=C.UTF-8 TEXTDOMAINDIR=$build/locale gettext -d ravenquill "Ravenquill Settings")
[ "$title" != "Ravenquill Settings" ] || fail "the built catalogue has no Chinese title for the settings"
LANGUAGE="" LC_ALL="" LC_MESSAGES="" LANG=zh_CN.UTF-8 start_game
message=$(wait_window '^Ravenquill$' 30) || fail "no message about the continued game"
dialog_keys "$message" Return; wait_game_window
game_key s; dialog=$(titled_window "$title") || fail "the installed game does not speak Chinese: no window \"$title\""
dialog_keys "$dialog" Escape; wait_no_title "$title"; game_key Escape; wait_game_exit
log "package: all steps passed"
