#include "engine/engine_output.h"

#include <cstdio>

namespace rq {

void Send(EngineOutput& out, const std::string& line) {
  std::lock_guard<std::mutex> hold(out.mutex);
  if (out.write) out.write(out.context, line);
}

void WriteToStdout(void*, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace rq
