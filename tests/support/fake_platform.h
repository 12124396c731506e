// A scripted stand-in for the desktop. It records every message box, file chooser, cursor
// change, sleep, opened address, settings dialog and record window, answers from a script, hands out
// cursors as tokens, and keeps a clock that moves only when told to or by the sleeps.
// The script is set before use; the calls may come from any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace rq::test {

struct RecordedMessage { std::string title, text; MessageButtons buttons; MessageIcon icon; MessageAnswer answer; };

// One scripted settings dialog: confirmed with these values, or cancelled.
struct DialogOutcome { bool confirmed = false; SettingsValues values; };

class FakePlatform : public Platform {
 public:
  static CursorHandle ArrowToken() { return reinterpret_cast<CursorHandle>(uintptr_t{0x1001}); }
  static CursorHandle BusyToken() { return reinterpret_cast<CursorHandle>(uintptr_t{0x1002}); }

  // --- the script ---
  std::string computerName = "TESTBOX";
  // Taken in order, each by the next box that offers it; a box that finds none it offers
  // answers No (Yes/No), Quit (save elsewhere or quit) or Ok.
  std::deque<MessageAnswer> answers;
  std::deque<std::string> chosenFiles;  // both file choosers' answers, in order; empty, or run out: cancelled
  std::set<std::string> loadableCursorFiles;
  std::deque<DialogOutcome> dialogOutcomes;  // cancelled once the script has run out
  bool sleepAdvancesClock = true;
  bool openUrlSucceeds = true;  // whether a handler takes the help page
  std::deque<std::pair<MoveListRequest, std::string>> moveListRequests;  // the user at the record window
  std::deque<int> chosenGames;          // the game list's answers; cancelled once run out

  std::string ComputerName() override { return Held([&] { return computerName; }); }
  MessageAnswer ShowMessage(const char* title, const char* text, MessageButtons buttons, MessageIcon icon) override {
    return Held([&] {
      MessageAnswer answer = buttons == MessageButtons::YesNo                ? MessageAnswer::No
                             : buttons == MessageButtons::SaveElsewhereOrQuit ? MessageAnswer::Quit
                                                                              : MessageAnswer::Ok;
      if (!answers.empty() && Offers(buttons, answers.front())) {
        answer = answers.front();
        answers.pop_front();
      }
      messages_.push_back({title ? title : "", text ? text : "", buttons, icon, answer});
      return answer;
    });
  }
  bool ChooseFileToSave(const char* title, const std::string& suggestedName, std::string& path) override {
    return Held([&] {
      choosers_.push_back(std::string(title ? title : "") + ": " + suggestedName);
      path = chosenFiles.empty() ? "" : chosenFiles.front();
      if (!chosenFiles.empty()) chosenFiles.pop_front();
      return !path.empty();
    });
  }
  CursorHandle SystemCursor(CursorKind kind) override { return kind == CursorKind::Arrow ? ArrowToken() : BusyToken(); }
  CursorHandle CursorFromFile(const char* path) override {
    return Held([&] { return loadableCursorFiles.count(path ? path : "") ? reinterpret_cast<CursorHandle>(uintptr_t{0x2000}) : nullptr; });
  }
  void SetCursor(CursorHandle cursor) override { Held([&] { cursors_.push_back(cursor); }); }
  int32_t ElapsedMilliseconds() override { return now_.load(); }
  void Sleep(int32_t ms) override {
    Held([&] { sleeps_.push_back(ms); });
    if (sleepAdvancesClock) now_ += ms;
  }
  bool OpenUrl(const std::string& url) override {
    return Held([&] {
      urls_.push_back(url);
      return openUrlSucceeds;
    });
  }
  bool RunSettingsDialog(SettingsValues& values) override {
    return Held([&] {
      dialogsShown_.push_back(values);
      if (dialogOutcomes.empty()) return false;
      const DialogOutcome outcome = dialogOutcomes.front();
      dialogOutcomes.pop_front();
      if (outcome.confirmed) values = outcome.values;
      return outcome.confirmed;
    });
  }
  bool ShowMoveList(const MoveListRow* rows, int32_t count) override {
    Held([&] { moveListOpen_ = true; });
    UpdateMoveList(rows, count);
    return true;
  }
  void UpdateMoveList(const MoveListRow* rows, int32_t count) override {
    Held([&] { moveRows_.assign(rows, rows + count); });
  }
  void CloseMoveList() override { Held([&] { moveListOpen_ = false; }); }
  MoveListRequest TakeMoveListRequest(std::string& path) override {
    return Held([&] {
      if (moveListRequests.empty()) return MoveListRequest::NoRequest;
      const auto request = moveListRequests.front();
      moveListRequests.pop_front();
      path = request.second;
      return request.first;
    });
  }
  bool CopyToClipboard(const std::string& text) override {
    Held([&] { clipboard_ = text; });
    return true;
  }
  bool PasteFromClipboard(std::string& text) override {
    return Held([&] {
      text = clipboard_;
      return !clipboard_.empty();
    });
  }
  bool ChooseGameFile(std::string& path) override {
    return Held([&] {
      if (chosenFiles.empty()) return false;
      path = chosenFiles.front();
      chosenFiles.pop_front();
      return true;
    });
  }
  int ChooseGame(const std::vector<GameListEntry>& games) override {
    return Held([&] {
      gameLists_.push_back(games);
      if (chosenGames.empty()) return -1;
      const int picked = chosenGames.front();
      chosenGames.pop_front();
      return picked;
    });
  }

  void SetClock(int32_t ms) { now_ = ms; }
  void AdvanceClock(int32_t ms) { now_ += ms; }

  // --- what happened, oldest first ---
  std::vector<RecordedMessage> Messages() const { return Held([&] { return messages_; }); }
  std::vector<std::string> Choosers() const { return Held([&] { return choosers_; }); }  // "title: suggested name"
  CursorHandle CurrentCursor() const { return Held([&] { return cursors_.empty() ? nullptr : cursors_.back(); }); }
  std::vector<int32_t> Sleeps() const { return Held([&] { return sleeps_; }); }
  std::vector<std::string> OpenedUrls() const { return Held([&] { return urls_; }); }
  std::vector<SettingsValues> DialogsShown() const { return Held([&] { return dialogsShown_; }); }  // as opened
  bool MoveListOpen() const { return Held([&] { return moveListOpen_; }); }
  std::vector<MoveListRow> MoveRows() const { return Held([&] { return moveRows_; }); }  // as last given
  std::string Clipboard() const { return Held([&] { return clipboard_; }); }
  void SetClipboard(const std::string& text) { Held([&] { clipboard_ = text; }); }
  std::vector<std::vector<GameListEntry>> GameLists() const { return Held([&] { return gameLists_; }); }
  void ClearRecords() {
    Held([&] {
      messages_.clear();
      choosers_.clear();
      cursors_.clear();
      sleeps_.clear();
      urls_.clear();
      dialogsShown_.clear();
    });
  }

 private:
  // Whether a box with these buttons can give that answer.
  static bool Offers(MessageButtons buttons, MessageAnswer answer) {
    switch (buttons) {
      case MessageButtons::YesNo: return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
      case MessageButtons::SaveElsewhereOrQuit: return answer == MessageAnswer::SaveElsewhere || answer == MessageAnswer::Quit;
      default: return answer == MessageAnswer::Ok;
    }
  }

  // Runs `f` holding the fake's mutex.
  template <typename F>
  auto Held(F f) const -> decltype(f()) {
    std::lock_guard<std::mutex> hold(mutex_);
    return f();
  }

  mutable std::mutex mutex_;
  std::atomic<int32_t> now_{0};
  std::vector<RecordedMessage> messages_;
  std::vector<std::string> choosers_;
  std::vector<CursorHandle> cursors_;
  std::vector<int32_t> sleeps_;
  std::vector<std::string> urls_;
  std::vector<SettingsValues> dialogsShown_;
  bool moveListOpen_ = false;
  std::vector<MoveListRow> moveRows_;
  std::string clipboard_;
  std::vector<std::vector<GameListEntry>> gameLists_;
};

}  // namespace rq::test
