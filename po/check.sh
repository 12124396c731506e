#!/usr/bin/env bash
# The catalogues' checks (po/README.md): the template up to date with the sources; every
# catalogue complete, without fuzzy entries, its format directives as in the English; no
# string literal reaching the player without the catalogue; every label of the dialog's
# layout translatable.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/sources.sh"
work=$(mktemp -d /tmp/rq-po-XXXXXX)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

# The messages of a catalogue or template without the places they come from, sorted.
messages() { msgcat --no-location --no-wrap --sort-output "$1" | sed '/^#\./d'; }
"$here/extract.sh" "$work/fresh.pot"
diff <(messages "$here/ravenquill.pot") <(messages "$work/fresh.pot") >"$work/pot.diff" ||
  fail "po/ravenquill.pot is not up to date with the sources (< committed, > the sources); run po/extract.sh:
$(cat "$work/pot.diff")"

for language in $(cat "$here/LINGUAS"); do
  po=$here/$language.po
  msgcmp "$po" "$here/ravenquill.pot" 2>"$work/cmp" || fail "$language.po lacks texts of the template: $(cat "$work/cmp")"
  # --check-format among the checks: a translation's %s and %d as in the English text.
  statistics=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$po" 2>&1) || fail "$language.po: $statistics"
  [[ $statistics =~ ^[0-9]+\ translated\ messages?\.$ ]] || fail "$language.po is not complete: $statistics"
done

# Literals in the arguments through which texts reach the player: message boxes, refusals,
# window titles, labels, headings, file names offered, formats. xgettext lists a literal
# written straight into such an argument, not one inside _() or N_(). The program's name,
# the start-up message's title, is the same in every language.
mapfile -t code < <(text_sources "$root" | grep -E '\.(cpp|h)$')
shown=(ShowMessage:1 ShowMessage:2 Refuse:2 ReportOpenFailure:2 ReportCloseFailure:2 FormatText:1
  gtk_window_set_title:2 gtk_button_new_with_label:1 gtk_button_new_with_mnemonic:1 gtk_label_new:1
  gtk_label_set_text:2 gtk_label_set_markup:2 gtk_frame_new:1 gtk_check_button_new_with_label:1
  gtk_tree_view_column_set_title:2 gtk_tree_view_insert_column_with_attributes:3 AddPairColumn:2
  gtk_file_chooser_dialog_new:1 gtk_file_chooser_dialog_new:4 gtk_file_chooser_dialog_new:6
  gtk_file_chooser_set_current_name:2 gtk_dialog_add_button:2 gtk_widget_set_tooltip_text:2)
(cd "$root" && LC_ALL=C.UTF-8 xgettext -k "${shown[@]/#/--keyword=}" --from-code=UTF-8 -o "$work/bare.pot" \
  "${code[@]}" 2>/dev/null) || true
if [ -s "$work/bare.pot" ]; then
  bare=$(msgcat --no-wrap "$work/bare.pot" |
    awk '/^#:/ { at = $0 } /^msgid "[^"]/ && $0 != "msgid \"Ravenquill\"" { print at "  " $0 }')
  [ -z "$bare" ] || fail "texts that reach the player without the catalogue (wrap them in _()):
$bare"
fi

# Every label, title and tooltip of the layout is translatable; the languages' own names are
# the only texts that stay as they are, and they are items.
untranslatable=$(xmllint --xpath "//property[(@name='label' or @name='title' or @name='tooltip-text' or @name='text')
  and not(@translatable='yes')]" "$root"/resources/*.ui 2>/dev/null || true)
[ -z "$untranslatable" ] || fail "labels of resources/*.ui without translatable=\"yes\": $untranslatable"

# The words drawn into each language's pictures are the catalogues' words of today:
# tools/artwork/drawn_words.txt records what the textures were drawn with.
drawn=$root/tools/artwork/drawn_words.txt
mkdir -p "$work/locale"
for language in $(cat "$here/LINGUAS"); do
  mkdir -p "$work/locale/$language/LC_MESSAGES"
  msgfmt -o "$work/locale/$language/LC_MESSAGES/ravenquill.mo" "$here/$language.po" 2>/dev/null || true
  for picture in Pieces.tga UI_UpAndDown.tga; do
    [ -f "$root/Textures/$language/$picture" ] || fail "Textures/$language/$picture is missing: run tools/artwork/generate.sh"
  done
done
(cd "$root" && LC_ALL=C.UTF-8 xgettext -k --keyword=N_ --from-code=UTF-8 -o "$work/words.pot" tools/artwork/labels.cpp)
# Each msgid on one line, its pieces joined, as the record writes it.
words=$(msgcat --no-wrap "$work/words.pot" | awk '/^msgid / { id = substr($0, 8); on = 1; next }
  on && /^"/ { id = id $0; next } on { gsub(/""/, "", id); gsub(/^"|"$/, "", id); if (id != "") print id; on = 0 }' |
  LC_ALL=C sort)
while IFS=$'\t' read -r language english picture; do
  now=$(LANGUAGE=$language LC_ALL=C.UTF-8 TEXTDOMAINDIR=$work/locale gettext -e -d ravenquill "$english" | sed -z 's/\n$//; s/\n/\\n/g')
  [ "$now" = "$picture" ] || fail "Textures/$language/ show \"$picture\" for \"$english\", the catalogue says \"$now\": run tools/artwork/generate.sh"
done <"$drawn"
for language in $(cat "$here/LINGUAS"); do
  [ "$(awk -F'\t' -v l="$language" '$1 == l { print $2 }' "$drawn" | LC_ALL=C sort)" = "$words" ] ||
    fail "the pictures of $language were drawn with other words than tools/artwork/labels.cpp has: run tools/artwork/generate.sh"
done

[ $failed -eq 0 ] && echo "catalogues: all checks passed"
exit $failed
