// Where the installed game's run-time data lives (Textures/, Documentation/,
// arrowcop.cur), and its catalogues (LANG/LC_MESSAGES/ravenquill.mo). The build sets
// RQ_DATA_DIR and RQ_LOCALE_DIR from the install prefix; link rq_install_dirs to get them.
#pragma once

#if !defined(RQ_DATA_DIR) || !defined(RQ_LOCALE_DIR)
#error "RQ_DATA_DIR and RQ_LOCALE_DIR come from the build: link the target rq_install_dirs"
#endif

namespace rq {

constexpr const char* InstalledDataDir = RQ_DATA_DIR;
constexpr const char* InstalledLocaleDir = RQ_LOCALE_DIR;

}  // namespace rq
