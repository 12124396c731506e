#!/usr/bin/env bash
# Writes the catalogues' template, every text the player reads, to $1 (po/ravenquill.pot by
# default), and with no argument also merges it into each language's catalogue.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/sources.sh"
out=${1:-$here/ravenquill.pot}
mapfile -t files < <(text_sources "$root")
# The GtkBuilder rules that come with gettext warn that GTK may have newer ones: these suffice.
(cd "$root" && LC_ALL=C.UTF-8 xgettext --from-code=UTF-8 --keyword=_ --keyword=N_ --add-comments=TRANSLATORS: \
  --package-name=Ravenquill --package-version=1.0 --msgid-bugs-address=maintainers@users.noreply.c-seed-66cf23cf.example \
  --copyright-holder="The Ravenquill developers" --sort-by-file -o "$out.tmp" "${files[@]}" 2>&1 |
  grep -v 'fallback ITS rule file\|may not be in sync' >&2 || true)
# Its own header without the creation date, so that the same texts give the same template.
{
  printf '%s\n' '# The texts of Ravenquill that the player reads. Written by po/extract.sh; do not edit.' \
    'msgid ""' 'msgstr ""' '"Project-Id-Version: Ravenquill 1.0\n"' \
    '"Report-Msgid-Bugs-To: maintainers@users.noreply.c-seed-66cf23cf.example\n"' \
    '"Language: \n"' '"MIME-Version: 1.0\n"' '"Content-Type: text/plain; charset=UTF-8\n"' \
    '"Content-Transfer-Encoding: 8bit\n"' ''
  sed '1,/^$/d' "$out.tmp"
} >"$out"
rm -f "$out.tmp"
[ $# -eq 0 ] || exit 0
for language in $(cat "$here/LINGUAS"); do
  msgmerge --quiet --update --backup=none --no-fuzzy-matching --no-location --no-wrap "$here/$language.po" "$out"
done
