# The files an install puts under its prefix, one a line and sorted; the run-time data
# as the source tree holds it. Sourced by the packaging tests.
installed_files() {
  local source=$1 size
  {
    printf '%s\n' games/ravenquill games/ravenquill-engine bin/ravenquill-tool \
      share/doc/ravenquill/changelog.gz share/doc/ravenquill/copyright \
      share/applications/io.github.ravenquill.Ravenquill.desktop \
      share/metainfo/io.github.ravenquill.Ravenquill.metainfo.xml \
      share/icons/hicolor/scalable/apps/ravenquill.svg \
      share/man/man6/ravenquill.6.gz share/man/man6/ravenquill-engine.6.gz \
      share/man/man1/ravenquill-tool.1.gz
    for size in 16 24 32 48 64 128 256; do
      echo "share/icons/hicolor/${size}x${size}/apps/ravenquill.png"
    done
    (cd "$source" && find Textures Documentation arrowcop.cur -type f) | sed 's|^|share/ravenquill/|'
    sed 's|.*|share/locale/&/LC_MESSAGES/ravenquill.mo|' "$source/po/LINGUAS"
  } | LC_ALL=C sort
}

# The links an install makes, "LINK -> TARGET", sorted: the game and the engine on every PATH.
installed_links() {
  printf '%s\n' "bin/ravenquill -> ../games/ravenquill" "bin/ravenquill-engine -> ../games/ravenquill-engine"
}
