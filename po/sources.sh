# The files whose texts the player reads, relative to the repository's top, one a line:
# the game's own code (not the engine's or the tool's, which other programs read), the rules'
# reasons for refusing a FEN or a position (the game shows them), the settings dialog's
# layout, the words the artwork draws into the pictures, the desktop entry and the AppStream
# metadata. Sourced by extract.sh and check.sh.
text_sources() {
  (cd "$1" && {
    find src/game src/interaction src/platform src/render src/shell -name '*.cpp' -o -name '*.h'
    echo src/rules/notation.cpp
    echo src/rules/position_check.cpp
    find resources -name '*.ui'
    find tools/artwork -name 'labels.cpp'
    find packaging -name '*.desktop' -o -name '*.metainfo.xml'
  } | LC_ALL=C sort)
}
