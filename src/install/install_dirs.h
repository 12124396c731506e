// Where the installed game's run-time data lives (Textures/, Documentation/,
// arrowcop.cur). The build sets RQ_DATA_DIR from the install prefix; link
// rq_install_dirs to get it.
#pragma once

#ifndef RQ_DATA_DIR
#error "RQ_DATA_DIR comes from the build: link the target rq_install_dirs"
#endif

namespace rq {

constexpr const char* InstalledDataDir = RQ_DATA_DIR;

}  // namespace rq
