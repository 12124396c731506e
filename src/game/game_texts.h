// What the game application tells the player, in the program's own English words, marked
// for the catalogues and shown through _(). The texts' %s are filled in order by FormatText.
#pragma once

#include <string>

#include "platform/texts.h"

namespace rq {

// The start-up message's title, the program's name, the same in every language.
constexpr const char* StartUpTitle = "Ravenquill";
constexpr const char* GameEndedText = N_("Previous game has ended. Press 'New Game' to start a new one.");
// Whole sentences, so that each language can word them its own way.
constexpr const char* YourTurnText = N_("Continuing previous game. It's your turn.");
constexpr const char* MyTurnText = N_("Continuing previous game. It's my turn.");
constexpr const char* YourTurnAsGreenText = N_("Continuing previous game. You play green. It's your turn.");
constexpr const char* MyTurnAsGreenText = N_("Continuing previous game. You play green. It's my turn.");
// The saved game could not be loaded: where it was put (a file name).
constexpr const char* SetAsideText =
    N_("The saved game could not be read, so a new game starts. The old file is kept as \"%s\".");
// ... nor renamed: the file's name.
constexpr const char* KeptUnreadText =
    N_("The saved game in \"%s\" could not be read, and it stays as it is: this game cannot be saved over it.");

// A new game could not be started: the current-game file's and the archive's names.
constexpr const char* NewGameTitle = N_("New game");
constexpr const char* GameNotLeftText =
    N_("This game could not be saved to \"%s\" nor added to \"%s\" in the game's folder, so it goes on. Check the "
       "free disk space and the folder's permissions, then try again.");
// A new game started, but its file cannot be written: the archive's name, the file's path
// and why.
constexpr const char* FolderNotWritableText =
    N_("The game you left is kept in the archive \"%s\", but the game's folder cannot be written: \"%s\" could not "
       "be saved (%s). When you quit, you will be asked to save the new game elsewhere.");

// The game could not be saved at exit: the path, why, and the current-game file's name.
constexpr const char* GameNotSavedTitle = N_("Game not saved");
constexpr const char* GameNotSavedText =
    N_("Your game could not be saved to \"%s\": %s.\n\nSave it elsewhere to keep it; to go on with it later, put "
       "that file in the game's folder as \"%s\". If you quit without saving, the moves since the game was last "
       "saved are lost.");
constexpr const char* SaveElsewhereTitle = N_("Save the Game Elsewhere");

// Why a file could not be written.
constexpr const char* DiskFullText = N_("the disk is full");
constexpr const char* ReadOnlyDiskText = N_("the disk is read-only");
constexpr const char* NotPermittedText = N_("you may not write there");
constexpr const char* FileKeptUnreadText = N_("the file there could not be read when the game started, so it is kept");

// Why a file could not be written, from a system error number or FileKeptUnread, translated.
std::string WriteProblemText(int error);

// `name` in the working folder, with the folder's path, as the player finds it.
std::string PathInFolder(const std::string& name);

}  // namespace rq
