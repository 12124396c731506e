// The desktop services on Linux: SDL2 for video, cursors, the clock and the
// browser; GTK 3 for the modal dialogs, kept above the game window, and for the
// non-modal record window beside it.
#pragma once

#include <deque>
#include <string>
#include <utility>

#include "platform/platform.h"

typedef struct _GtkWidget GtkWidget;

struct SDL_Window;
struct SDL_Cursor;
typedef struct _GtkWindow GtkWindow;

namespace rq {

class SdlPlatform : public Platform {
 public:
  // Starts SDL's video; VideoReady() tells whether a display could be opened.
  SdlPlatform();
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  bool VideoReady() const { return videoReady_; }
  // The game window that dialogs stay above; null before it exists and after it is gone.
  void SetMainWindow(SDL_Window* window) { mainWindow_ = window; }
  SDL_Window* MainWindow() const { return mainWindow_; }

  // Starts GTK on first use; false when it has no display.
  bool EnsureGtk();
  // Keeps a realized GTK window above the game window (X11 only; elsewhere nothing).
  void MakeTransientForMain(GtkWindow* dialog);

  std::string ComputerName() override;
  MessageAnswer ShowMessage(const char* title, const char* text, MessageButtons buttons,
                            MessageIcon icon) override;
  bool ChooseFileToSave(const char* title, const std::string& suggestedName, std::string& path) override;
  CursorHandle SystemCursor(CursorKind kind) override;
  CursorHandle CursorFromFile(const char* path) override;
  void SetCursor(CursorHandle cursor) override;
  int32_t ElapsedMilliseconds() override;
  void Sleep(int32_t milliseconds) override;
  bool OpenUrl(const std::string& url) override;
  bool RunSettingsDialog(SettingsValues& values) override;  // in settings_dialog.cpp

  // The record window, in move_list_window.cpp.
  bool ShowMoveList(const MoveListRow* rows, int32_t count) override;
  void UpdateMoveList(const MoveListRow* rows, int32_t count) override;
  void CloseMoveList() override;
  MoveListRequest TakeMoveListRequest(std::string& path) override;
  bool CopyToClipboard(const std::string& text) override;
  bool PasteFromClipboard(std::string& text) override;
  // The dialogs that open a game, in open_dialogs.cpp.
  bool ChooseGameFile(std::string& path) override;
  int ChooseGame(const std::vector<GameListEntry>& games) override;

  // Handles what is pending for GTK's windows without waiting: the main loop calls it on
  // every pass, so the record window answers while the game goes on.
  void ServeGtk();
  // Whether GTK has something to serve while the game waits for its own input: the record
  // window is open, or the clipboard holds our PGN. A loop that sleeps until SDL input
  // arrives must then wake every few milliseconds for ServeGtk.
  bool GtkNeedsServing() const { return moveList_ != nullptr || clipboardOwned_; }
  // The record window's requests, oldest first; the GTK handlers add to them.
  void QueueMoveListRequest(MoveListRequest request, const std::string& path = std::string());

  // How many modal windows have closed so far: the shell forgets held buttons and keys
  // when it changes.
  int ModalWindowsClosed() const { return modalWindowsClosed_; }

 private:
  // Takes a closed modal dialog off the screen and drops the input given meanwhile.
  void AfterModal();
  // Runs a file chooser, then destroys it; false when the user cancelled.
  bool RunFileChooser(GtkWidget* chooser, std::string& path);
  // Called as a modal window closes: the pointer and key input that reached the game
  // window meanwhile is thrown away, never played afterwards; window events stay.
  void DiscardInputBehindModal();
  int modalWindowsClosed_ = 0;

  // Every cursor made here, freed with the platform.
  static constexpr int kMaxCursors = 8;
  SDL_Cursor* cursors_[kMaxCursors] = {};
  int cursorCount_ = 0;
  CursorHandle Keep(SDL_Cursor* cursor);

  // The record window's widgets (null while it is closed) and what the user asked of it.
  struct MoveListWindow* moveList_ = nullptr;
  std::deque<std::pair<MoveListRequest, std::string>> moveListRequests_;
  bool clipboardOwned_ = false;

  bool videoReady_ = false;
  int gtkState_ = 0;  // 0 not tried, 1 running, -1 no display
  SDL_Window* mainWindow_ = nullptr;
};

}  // namespace rq
