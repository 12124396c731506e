// Why a saved game is refused, in English: the tool prints them so beside the line to blame,
// and the interface shows them in the player's language. Each is one constant, so that a
// refusal carries a stable pointer to its text.
#pragma once

#include "rules/marked_text.h"

namespace rq::fault {

// TRANSLATORS: why a saved game is refused; shown inside a sentence, in brackets.
constexpr const char* FileEndsEarly = N_("file ends early");
constexpr const char* UnexpectedLine = N_("unexpected line");
constexpr const char* NumberOutOfRange = N_("number missing or out of range");
constexpr const char* HistoryLineTooShort = N_("history line too short");
constexpr const char* BadFromSquare = N_("bad from-square");
constexpr const char* BadToSquare = N_("bad to-square");
constexpr const char* BadCapturedCode = N_("bad captured code");
constexpr const char* BadSnapshotValue = N_("bad snapshot value");
constexpr const char* TextAfterSnapshot = N_("text after the snapshot");
constexpr const char* BadEatenCode = N_("bad eaten piece code");
constexpr const char* LineGivenTwice = N_("a line given twice");
constexpr const char* BadStartPosition = N_("bad start position");
constexpr const char* EmptyLineExpected = N_("expected an empty line");
constexpr const char* BadSide = N_("bad side");
constexpr const char* BadGameNumber = N_("bad game number");
constexpr const char* BadBoardCode = N_("bad piece code on the board");
constexpr const char* TextAfterNinthSquare = N_("text after the ninth square");
constexpr const char* RecordedMovesOutOfRange = N_("recorded moves out of range");
constexpr const char* NextMoveOutOfRange = N_("next move out of range");
constexpr const char* BadMove = N_("bad move");
constexpr const char* BadSnapshot = N_("bad snapshot");
constexpr const char* BadPlayerSide = N_("bad player's side");
constexpr const char* BadResignedSide = N_("bad resigned side");
constexpr const char* EatenCountOutOfRange = N_("eaten count out of range");
constexpr const char* PieceOnTwoSquares = N_("a piece stands on two squares");
constexpr const char* ComputerOutOfTurn = N_("the computer to move out of turn");
constexpr const char* PlayerBeforeFirstMove = N_("the player to move before the first move");
constexpr const char* ResignationOutOfPlace = N_("a resignation out of place");
constexpr const char* BoardNotFromHistory = N_("the board is not the one the history leads to");
constexpr const char* NoPieceOnFromSquare = N_("no piece on the from-square");
constexpr const char* MoveOutOfTurn = N_("a move out of turn");
constexpr const char* NotAMoveOfThatPiece = N_("not a move of that piece");
constexpr const char* ProhibitedMove = N_("a prohibited move");
constexpr const char* CapturedPieceDiffers = N_("the captured piece differs");
constexpr const char* SnapshotDiffersFromReplay = N_("the snapshot differs from the replay");
constexpr const char* TakenPieceBack = N_("a taken piece is back on the board");
constexpr const char* EmptyRecord = N_("empty record");

}  // namespace rq::fault
