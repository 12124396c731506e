// Sub-commands of ravenquill-tool; each returns the process exit code (2 for bad usage).
#pragma once

namespace rq {

int PerftCommand(int argc, char** argv);

}  // namespace rq
