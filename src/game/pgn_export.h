// One stored game as Xiangqi PGN.
#pragma once

#include <string>

#include "game/game_file.h"

namespace rq {

// The computer's name carried by a game file's name: "CurrentGame_NAME.vrd5" and
// "Games1-100_NAME.vrd5" give NAME; any directory in front is dropped.
std::string ComputerNameFromFileName(const std::string& path);

// "YYYY.MM.DD" from the saving time, "????.??.??" when it cannot be read.
std::string PgnDate(const std::string& savedAt);

// "1-0", "0-1", "1/2-1/2", or "*" for a game that has not ended (or whose end the
// position cannot explain); a resigned game is lost for the side that resigned.
std::string GameResult(const GameFileData& data);

// Who played red and who black (green), as the tags name them.
struct PgnPlayers {
  std::string red, black;
};

// The players of a stored game: the user on the player's side, the computer on the other.
PgnPlayers GamePlayers(const GameFileData& data);

// The tag section of the game with `result`, for XBoard, Fairy-Stockfish and the Chinese
// PGN convention alike: [Game] first, the players as [White]/[Black] and as [Red], and the
// moves' [Format] ("WXF", or "ICCS" for coordinates).
std::string PgnTags(const GameFileData& data, const std::string& site, const std::string& result, bool wxf);

// The game's tags and its moves up to "Next move", in coordinates or WXF; the data must
// have passed CheckGameFile. The move text stops before the first move that the common
// rules refuse (one that leaves the mover's general attacked, which this game allows): a
// comment gives the rest of the game and the result stays this game's.
std::string FormatPgn(const GameFileData& data, const std::string& site, bool wxf);

// Every game of one file's text (a current-game file or an archive) as PGN, games
// separated by an empty line and numbered on from `games`. A damaged record is named in
// `errors` as "PATH:LINE: reason" and skipped; false if there was any.
bool ExportText(const std::string& text, const std::string& path, bool wxf, std::string& pgn, std::string& errors,
                int& games);

}  // namespace rq
