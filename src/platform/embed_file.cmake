# Writes INPUT as a NUL-terminated char array named SYMBOL in namespace rq into OUTPUT.
file(READ ${INPUT} bytes HEX)
# Character literals, so that bytes above 0x7f (UTF-8 text) are no narrowing.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
string(REGEX REPLACE "('....','....','....','....','....','....','....','....','....','....','....','....',)" "\\1\n  " bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp "// Generated from ${INPUT}; do not edit.\nnamespace rq {\nextern const char ${SYMBOL}[];\nconst char ${SYMBOL}[] = {\n  ${bytes}'\\0'};\n}  // namespace rq\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
