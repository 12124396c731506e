# Read by cpack before it builds a package. The programs have the installed data folder
# compiled in; a package that puts the data anywhere else would install a broken game.
if(NOT CPACK_RQ_DATA_DIR STREQUAL "${CPACK_PACKAGING_INSTALL_PREFIX}/share/ravenquill")
  message(FATAL_ERROR
    "The programs look for their data in ${CPACK_RQ_DATA_DIR}, the package puts it in "
    "${CPACK_PACKAGING_INSTALL_PREFIX}/share/ravenquill: configure the build with "
    "-DCMAKE_INSTALL_PREFIX=${CPACK_PACKAGING_INSTALL_PREFIX}")
endif()
