#include "rules/position_fault.h"

#include <algorithm>
#include <cstdio>

namespace rq {

std::string PositionFault::english() const {
  char text[160];
  const int length = std::snprintf(text, sizeof text, format, first, second);
  return length <= 0 ? std::string() : std::string(text, std::min(static_cast<size_t>(length), sizeof text - 1));
}

}  // namespace rq
