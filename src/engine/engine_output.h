// Protocol lines out of the engine, whole and in order, from the reading and the search threads.
#pragma once

#include <mutex>
#include <string>

namespace rq {

struct EngineOutput {
  void* context = nullptr;
  void (*write)(void* context, const std::string& line) = nullptr;  // one line, without its newline
  std::mutex mutex;
};

// Sends one line; lines from two threads never interleave.
void Send(EngineOutput& out, const std::string& line);

// The program's sink: standard output, flushed after every line.
void WriteToStdout(void* context, const std::string& line);

}  // namespace rq
