#!/usr/bin/env bash
# The build installed into a scratch prefix: every file in its place and nothing else, the
# desktop entry and metadata valid, icons of their folders' sizes, manual pages as Debian has them.
# usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source_dir=$2
. "$(dirname "$0")/installed_files.sh"
prefix=$(mktemp -d /tmp/rq-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Runs a checker; anything it prints, warnings included, is a failure.
quiet() { local out; out=$("$@" 2>&1) || true; [ -z "$out" ] || fail "$*: $out"; }

cmake --install "$build" --prefix "$prefix" >/dev/null
diff <(installed_files "$source_dir") <(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) ||
  fail "installed files differ (< expected, > installed)"
diff <(installed_links) <(cd "$prefix" && find . -type l -printf '%P -> %l\n' | LC_ALL=C sort) ||
  fail "installed links differ (< expected, > installed)"

app=io.github.ravenquill.Ravenquill
quiet desktop-file-validate "$prefix/share/applications/$app.desktop"
# "Open with Ravenquill": the entry takes a file and names the types it opens.
grep -qx 'Exec=ravenquill %f' "$prefix/share/applications/$app.desktop" || fail "the entry's Exec takes no file"
grep -q '^MimeType=.*application/x-chess-pgn;' "$prefix/share/applications/$app.desktop" || fail "the entry opens no PGN"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" >/dev/null ||
  fail "$(appstreamcli validate --no-net --explain "$prefix/share/metainfo/$app.metainfo.xml")"
# The tree as a whole: the metadata's launchable entry is there.
appstreamcli validate-tree --no-net "$prefix" >/dev/null || fail "$(appstreamcli validate-tree --no-net "$prefix")"

for dir in "$prefix"/share/icons/hicolor/*x*; do
  size=${dir##*/}
  got=$(identify -format '%wx%h %[channels]' "$dir/apps/ravenquill.png" 2>&1) || true
  [ "$got" = "$size srgba" ] || fail "icon in $size is '$got'"
done
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/ravenquill.svg" || fail "the SVG icon is not well-formed"

for page in "$prefix"/share/man/man*/*.gz "$prefix"/share/doc/ravenquill/changelog.gz; do
  # gzip -9n: no name, no time stamp, best compression, Unix.
  [ "$(head -c 10 "$page" | od -An -tx1 | tr -d ' \n')" = 1f8b0800000000000203 ] ||
    fail "$page is not compressed with gzip -9n"
  [[ $page == */man/* ]] && quiet sh -c 'zcat "$1" | groff -ww -z -man -Tutf8' sh "$page"
done
# A manual page's section is its program's: 6 for the game and the engine in games/, 1 for the tool.
for program in "$prefix"/games/* "$prefix"/bin/*; do
  section=6 && [[ $program == */bin/* ]] && section=1
  [ -L "$program" ] || [ -f "$prefix/share/man/man$section/${program##*/}.$section.gz" ] ||
    fail "${program#"$prefix"/} has no manual page in section $section"
done

[ "$failures" -eq 0 ] || exit 1
echo "install: all checks passed"
