// An in-process engine whose output lines are caught, and scripted conversations with it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "rules/notation.h"

namespace rq::test {

struct CapturedOutput {
  std::mutex mutex;
  std::condition_variable arrived;
  std::vector<std::string> lines;

  static void Write(void* context, const std::string& line) {
    auto* self = static_cast<CapturedOutput*>(context);
    {
      std::lock_guard<std::mutex> hold(self->mutex);
      self->lines.push_back(line);
    }
    self->arrived.notify_all();
  }

  // Index of the first line at or after `from` that starts with `prefix`, or -1 after `timeoutMs`.
  int waitFor(const std::string& prefix, size_t from, int timeoutMs = 20000) {
    std::unique_lock<std::mutex> hold(mutex);
    int found = -1;
    arrived.wait_for(hold, std::chrono::milliseconds(timeoutMs), [&] {
      for (size_t i = from; i < lines.size(); ++i)
        if (lines[i].compare(0, prefix.size(), prefix) == 0) {
          found = static_cast<int>(i);
          return true;
        }
      return false;
    });
    return found;
  }

  std::vector<std::string> copy() {
    std::lock_guard<std::mutex> hold(mutex);
    return lines;
  }
};

struct EngineUnderTest {
  CapturedOutput output;
  std::unique_ptr<Engine> engine = std::make_unique<Engine>();
  bool quit = false;

  EngineUnderTest() {
    engine->output.context = &output;
    engine->output.write = CapturedOutput::Write;
  }
  ~EngineUnderTest() { ShutDownEngine(*engine); }

  void send(const std::string& line) {
    if (!HandleEngineLine(*engine, line)) quit = true;
  }
};

// Steps of a conversation: ">text" is sent, "<prefix" must come back after the last line
// matched, "!prefix" must not have come back by then.
inline void RunScript(EngineUnderTest& e, const std::vector<std::string>& steps, const std::string& name) {
  size_t next = 0;
  for (const std::string& step : steps) {
    const std::string text = step.substr(1);
    if (step[0] == '>') {
      e.send(text);
    } else if (step[0] == '<') {
      const int at = e.output.waitFor(text, next);
      ASSERT_GE(at, 0) << name << ": no \"" << text << "\" after line " << next;
      next = static_cast<size_t>(at) + 1;
    } else if (step[0] == '!') {
      for (const std::string& line : e.output.copy())
        EXPECT_NE(line.compare(0, text.size(), text), 0) << name << ": unexpected \"" << line << "\"";
    }
  }
}

// The move in the last line that starts with `prefix` ("bestmove ", "move ").
inline std::string LastMove(EngineUnderTest& e, const std::string& prefix) {
  std::string move;
  for (const std::string& line : e.output.copy())
    if (line.compare(0, prefix.size(), prefix) == 0) move = line.substr(prefix.size(), 4);
  return move;
}

// Whether `text` is a move the rules permit after `moves` from `fen`.
inline bool PermittedAfter(const std::string& fen, const std::vector<std::string>& moves, const std::string& text) {
  EngineGame game;
  std::string error;
  if (!SetUpGame(game, fen, error)) return false;
  for (const std::string& m : moves)
    if (!PlayMoveText(game, m, error)) return false;
  return PlayMoveText(game, text, error);
}

}  // namespace rq::test
