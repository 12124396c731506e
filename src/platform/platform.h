// The desktop services the game reaches: message boxes, a file chooser, cursors, the computer's name,
// the clock, sleeping, the help browser, the settings dialog and the record window. The real SDL2/GTK
// implementation lives beside this file; tests put a scripted fake in its place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings_table.h"

namespace rq {

// SaveElsewhereOrQuit: the choice when the game cannot be saved at exit.
enum class MessageButtons { Ok, YesNo, SaveElsewhereOrQuit };
// No member may be called None: X11 headers define that name as a macro.
enum class MessageIcon { NoIcon, Information, Exclamation, Question };
enum class MessageAnswer { Ok, Yes, No, SaveElsewhere, Quit };
enum class CursorKind { Arrow, Busy };

using CursorHandle = void*;

// One move in the record window: its Chinese and WXF text (empty for a move not made),
// greyed when it was taken back and redo could bring it back.
struct MoveListPly {
  char chinese[16] = {};
  char wxf[8] = {};
  bool undone = false;
};

// One numbered pair of moves, red's and green's.
struct MoveListRow {
  int32_t number = 0;
  MoveListPly red, green;
};

// Rows enough for the whole history of 1000 moves.
constexpr int MoveListCapacity = 501;

// What the user asked of the record window.
enum class MoveListRequest { NoRequest, Close, CopyPgn, SavePgn };

// One game of a file in the list to pick from.
struct GameListEntry {
  std::string red, black, date, result;
  int plies = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The computer's name, at most 15 characters; empty when it cannot be read.
  virtual std::string ComputerName() = 0;

  // A modal message box; owned by the game window once it exists. Closing it answers No
  // or Ok; a box that offers to save elsewhere or quit comes back until one is chosen.
  virtual MessageAnswer ShowMessage(const char* title, const char* text, MessageButtons buttons,
                                    MessageIcon icon) = 0;

  // A modal file chooser for a file to write, opened in the user's home folder with
  // `suggestedName`; false when the user cancelled it, else the file in `path`.
  virtual bool ChooseFileToSave(const char* title, const std::string& suggestedName, std::string& path) = 0;

  // System cursors, and cursors read from a Windows .cur file (null when it cannot be read).
  virtual CursorHandle SystemCursor(CursorKind kind) = 0;
  virtual CursorHandle CursorFromFile(const char* path) = 0;
  virtual void SetCursor(CursorHandle cursor) = 0;

  // The process clock in milliseconds, and a pause of the calling thread.
  virtual int32_t ElapsedMilliseconds() = 0;
  virtual void Sleep(int32_t milliseconds) = 0;

  // Hands a file or address to the desktop's default handler; false when nothing took it.
  virtual bool OpenUrl(const std::string& url) = 0;

  // The modal settings dialog; true when the user confirmed it, with `values` changed.
  virtual bool RunSettingsDialog(SettingsValues& values) = 0;

  // The non-modal record window beside the game window: opened with its rows (false when
  // the desktop cannot show it), given the rows anew whenever the game changes, closed.
  virtual bool ShowMoveList(const MoveListRow* rows, int32_t count) = 0;
  virtual void UpdateMoveList(const MoveListRow* rows, int32_t count) = 0;
  virtual void CloseMoveList() = 0;
  // The oldest request from the record window not yet taken; SavePgn comes with the file
  // the user chose.
  virtual MoveListRequest TakeMoveListRequest(std::string& path) = 0;
  // Puts text on the desktop's clipboard; false when there is none.
  virtual bool CopyToClipboard(const std::string& text) = 0;
  // The clipboard's text; false when it holds none.
  virtual bool PasteFromClipboard(std::string& text) = 0;

  // The modal file chooser for games and positions; false when the user cancelled.
  virtual bool ChooseGameFile(std::string& path) = 0;
  // The modal list of a file's games; the index picked, or -1 when the user cancelled.
  virtual int ChooseGame(const std::vector<GameListEntry>& games) = 0;
};

}  // namespace rq
