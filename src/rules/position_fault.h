// Why the rules refuse a FEN or a position, kept as one of their English texts so that the
// engine and the tool print it as it is and the interface in the player's language.
#pragma once

#include <string>

#include "rules/marked_text.h"

namespace rq {

// A stable pointer to a constant English text, a printf format marked for the catalogues,
// with the numbers it takes in order (%d, or %c for a letter); unused ones are ignored.
struct PositionFault {
  const char* format = "";
  int first = 0, second = 0;

  // The English sentence.
  std::string english() const;
};

}  // namespace rq
