// What the game application tells the player, in the program's own English words. The
// texts' %s are filled in order by FormatText.
#pragma once

#include <string>

namespace rq {

// The start-up message's title, the program's name.
constexpr const char* StartUpTitle = "Ravenquill";
constexpr const char* GameEndedText = "Previous game has ended. Press 'New Game' to start a new one.";
constexpr const char* ContinuingText = "Continuing previous game. It's %s turn.";  // "your" or "my"
// The saved game could not be loaded: where it was put (a file name).
constexpr const char* SetAsideText =
    "The saved game could not be read, so a new game starts. The old file is kept as \"%s\".";
// ... nor renamed: the file's name.
constexpr const char* KeptUnreadText =
    "The saved game in \"%s\" could not be read, and it stays as it is: this game cannot be saved over it.";

// A new game could not be started: the current-game file's and the archive's names.
constexpr const char* NewGameTitle = "New game";
constexpr const char* GameNotLeftText =
    "This game could not be saved to \"%s\" nor added to \"%s\" in the game's folder, so it goes on. Check the "
    "free disk space and the folder's permissions, then try again.";
// A new game started, but its file cannot be written: the archive's name, the file's path
// and why.
constexpr const char* FolderNotWritableText =
    "The game you left is kept in the archive \"%s\", but the game's folder cannot be written: \"%s\" could not "
    "be saved (%s). When you quit, you will be asked to save the new game elsewhere.";

// The game could not be saved at exit: the path, why, and the current-game file's name.
constexpr const char* GameNotSavedTitle = "Game not saved";
constexpr const char* GameNotSavedText =
    "Your game could not be saved to \"%s\": %s.\n\nSave it elsewhere to keep it; to go on with it later, put "
    "that file in the game's folder as \"%s\". If you quit without saving, the moves since the game was last "
    "saved are lost.";
constexpr const char* SaveElsewhereTitle = "Save the Game Elsewhere";

// Why a file could not be written.
constexpr const char* DiskFullText = "the disk is full";
constexpr const char* ReadOnlyDiskText = "the disk is read-only";
constexpr const char* NotPermittedText = "you may not write there";
constexpr const char* FileKeptUnreadText = "the file there could not be read when the game started, so it is kept";

// Fills a text's %s in order.
std::string FormatText(const char* format, const std::string& first, const std::string& second = {},
                       const std::string& third = {});

// Why a file could not be written, from a system error number or FileKeptUnread.
std::string WriteProblemText(int error);

// `name` in the working folder, with the folder's path, as the player finds it.
std::string PathInFolder(const std::string& name);

}  // namespace rq
