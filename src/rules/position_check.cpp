#include "rules/position_check.h"

#include "rules/notation.h"

namespace rq {
namespace {

constexpr const char* GeneralsFacingText = N_("the generals face each other on an open file");
// By the side whose general could be taken.
constexpr const char* InCheckTexts[2] = {N_("the red general is in check with green to move"),
                                         N_("the green general is in check with red to move")};

}  // namespace

bool CheckPosition(const GameRecord& record, int sideToMove, PositionFault& fault) {
  if (record.generalsFacing()) {
    fault = {GeneralsFacingText};
    return false;
  }
  const int waiting = 1 - sideToMove;
  if (record.isGeneralAttackedFast(waiting)) {
    fault = {InCheckTexts[waiting]};
    return false;
  }
  return true;
}

bool LoadCheckedFen(GameRecord& record, const std::string& fen, int& sideToMove, PositionFault& fault) {
  return LoadFen(record, fen, sideToMove, fault) && CheckPosition(record, sideToMove, fault);
}

bool LoadCheckedFen(GameRecord& record, const std::string& fen, int& sideToMove, std::string& error) {
  PositionFault fault;
  if (LoadCheckedFen(record, fen, sideToMove, fault)) return true;
  error = fault.english();
  return false;
}

}  // namespace rq
