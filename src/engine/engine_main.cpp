// ravenquill-engine: the game's search behind UCI and xboard, on standard input and output.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "engine/engine.h"

int main() {
  std::ios::sync_with_stdio(false);
  auto engine = std::make_unique<rq::Engine>();
  engine->output.write = rq::WriteToStdout;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!rq::HandleEngineLine(*engine, line)) break;
  }
  rq::ShutDownEngine(*engine);
  return 0;
}
