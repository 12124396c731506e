#include "rules/position_check.h"

#include "rules/notation.h"

namespace rq {

bool CheckPosition(const GameRecord& record, int sideToMove, std::string& error) {
  if (record.generalsFacing()) {
    error = "the generals face each other on an open file";
    return false;
  }
  const int waiting = 1 - sideToMove;
  if (record.isGeneralAttackedFast(waiting)) {
    error = std::string("the ") + (waiting == Red ? "red" : "green") + " general is in check with " +
            (sideToMove == Red ? "red" : "green") + " to move";
    return false;
  }
  return true;
}

bool LoadCheckedFen(GameRecord& record, const std::string& fen, int& sideToMove, std::string& error) {
  return LoadFen(record, fen, sideToMove, error) && CheckPosition(record, sideToMove, error);
}

}  // namespace rq
