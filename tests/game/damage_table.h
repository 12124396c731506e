// Damages done to the golden game's file, each of which must make the file refused.
#pragma once

#include <string>

#include "game_test_support.h"

namespace rq::test {

struct Damage {
  const char* name;
  const char* find;     // first occurrence in the golden file...
  const char* replace;  // ...replaced by this
  int line;             // the line the refusal must name
};

inline const Damage Damages[] = {
    {"game number zero", "Game #: 1 ", "Game #: 0 ", 2},
    {"game number beyond 32 bits", "Game #: 1 ", "Game #: 99999999999 ", 2},
    {"game line missing its number", "Game #: 1 ", "Game #: x ", 2},
    {"flag line not a number", "Game ended: 0", "Game ended: no", 3},
    {"the computer to move after its own move", "User's turn: 1", "User's turn: 0", 4},
    {"board value beyond 32 bits", "Board value: 15", "Board value: 2147483648", 5},
    {"recorded moves above the history", "Recorded moves: 4", "Recorded moves: 1001", 17},
    {"recorded moves negative", "Recorded moves: 4", "Recorded moves: -1", 17},
    {"next move above recorded moves", "Next move: 4", "Next move: 5", 18},
    {"eaten red above sixteen", "Eaten red pieces: 1", "Eaten red pieces: 17", 23},
    {"eaten green above sixteen", "Eaten green pieces: 1", "Eaten green pieces: 17", 25},
    {"eaten red count larger than its lines", "Eaten red pieces: 1", "Eaten red pieces: 3", 25},
    {"eaten red list holds a green code", "Eaten red pieces: 1\n75", "Eaten red pieces: 1\n41", 24},
    {"eaten code of no piece", "Eaten green pieces: 1\n41", "Eaten green pieces: 1\n81", 26},
    {"board code of no piece", "38 00 46", "49 00 46", 7},
    {"board code with the colour bit alone", "38 00 46", "64 00 46", 7},
    {"board code of both colours", "38 00 46", "97 00 46", 7},
    {"board line with a tenth number", "70 72 78 76 80 77 79 73 71", "70 72 78 76 80 77 79 73 71 00", 16},
    {"board line one number short", "70 72 78 76 80 77 79 73 71", "70 72 78 76 80 77 79 73", 16},
    {"a piece on two squares", "00 00 00 00 00 00 00 00 00\n00 42", "00 00 00 00 48 00 00 00 00\n00 42", 8},
    {"from-square off the board", "70 --> 07", "90 --> 07", 19},
    {"to-square off the board", "70 --> 07", "70 --> 95", 19},
    {"captured code of no piece", "x41", "x99", 19},
    {"snapshot square off the board", " 064 007 ", " 064 090 ", 19},
    {"snapshot capture mark off the board", " 001 135 ", " 001 218 ", 19},
    {"history line cut short", " 006 004 \n08", " 006\n08", 19},
    {"history move from an empty square", "64 --> 67", "63 --> 67", 21},
    {"history move the piece cannot make", "01 --> 20", "01 --> 21", 22},
    {"history capture of another code", "x41", "x40", 19},
    {"history capture not marked", "70 --> 07 x41", "70 --> 07 -  ", 19},
    {"history snapshot not the replay", " 064 007 ", " 064 016 ", 19},
    {"history without the capture mark", " 001 135 019", " 001 007 019", 19},
    {"board not the one the history leads to", "00 00 00 00 74 00", "00 00 00 74 00 00", 7},
    {"last empty line missing", "41\n\n\n", "41\n\n", 28},
    {"text where the empty lines belong", "41\n\n\n", "41\nx\n\n", 27},
};

inline const Damage& DamageNamed(const std::string& name) {
  for (const Damage& d : Damages)
    if (name == d.name) return d;
  ADD_FAILURE() << "no damage " << name;
  return Damages[0];
}

// The golden file with one damage done.
inline std::string Damaged(const Damage& d) {
  std::string text = GoldenFile;
  const size_t at = text.find(d.find);
  EXPECT_NE(at, std::string::npos) << d.name;
  if (at != std::string::npos) text.replace(at, std::strlen(d.find), d.replace);
  return text;
}

// Every proper prefix of `text` that ends at a line boundary or in the middle of a line.
inline std::vector<std::string> Truncations(const std::string& text) {
  std::vector<std::string> cuts;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    cuts.push_back(text.substr(0, start + (i - start) / 2));  // mid-line
    if (i + 1 < text.size()) cuts.push_back(text.substr(0, i + 1));  // whole lines
    start = i + 1;
  }
  return cuts;
}

}  // namespace rq::test
