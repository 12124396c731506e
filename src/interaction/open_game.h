// Bringing a game or position in from a file, the clipboard or the command line, and the
// position out as FEN.
#pragma once

#include <string>

namespace rq {

struct GameApplication;

// Ctrl+O: the file chooser, then the file's game.
void OpenCommand(GameApplication& app);

// A file dropped on the window or named on the command line.
void OpenGameFile(GameApplication& app, const std::string& path);

// A file named on the command line, before the first frame: a computer thinking in the
// continued game stops for the question and thinks again if the game goes on.
void OpenGameFileAtStart(GameApplication& app, const std::string& path);

// Ctrl+V: a FEN or a whole PGN game from the clipboard.
void PasteCommand(GameApplication& app);

// Ctrl+C: the position on the board as FEN, with the side to move; in the editor, the
// position being set up.
void CopyPositionCommand(GameApplication& app);

// Starts a game from the text's game or position: a list to pick from when it holds
// several, the question before a move the rules refuse and before leaving a game in
// progress. Nothing changes before the player has confirmed; a text that is no game gives
// a message. True when the game was started.
bool OpenGameText(GameApplication& app, const std::string& bytes);

}  // namespace rq
