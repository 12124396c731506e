#include "game/save_at_exit.h"

#include <string>

#include "game/current_game.h"
#include "game/game_application.h"
#include "game/game_file.h"
#include "game/game_texts.h"
#include "game/safe_file.h"
#include "platform/language.h"
#include "platform/texts.h"

namespace rq {

namespace {

// The text without its second line, which alone tells the saving time.
std::string withoutSavingTime(std::string text) {
  const size_t start = text.find('\n');
  const size_t end = start == std::string::npos ? start : text.find('\n', start + 1);
  if (end != std::string::npos) text.erase(start, end - start);
  return text;
}

// Whether the record tells no more than the file already holds, or is a game without a
// move, which the next start makes again.
bool nothingToLose(const std::string& record, const std::string& fileName) {
  if (record.find("\nRecorded moves: 0\n") != std::string::npos) return true;
  std::string held;
  return ReadWholeFile(fileName, record.size() + 1, held) == ReadOutcome::Read &&
         withoutSavingTime(held) == withoutSavingTime(record);
}

}  // namespace

void SaveGameAtExit(GameApplication& app) {
  std::string record;
  int error = 0;
  if (SaveCurrentGame(app, record, error)) return;
  const std::string fileName = CurrentGameFileName(app.computerName);
  if (nothingToLose(record, fileName)) return;
  std::string where = PathInFolder(fileName);
  for (;;) {
    const std::string text =
        FormatText(_(GameNotSavedText), where.c_str(), WriteProblemText(error).c_str(), fileName.c_str());
    const MessageAnswer answer = app.platform->ShowMessage(_(GameNotSavedTitle), text.c_str(),
                                                           MessageButtons::SaveElsewhereOrQuit, MessageIcon::Exclamation);
    if (answer != MessageAnswer::SaveElsewhere) return;
    std::string path;
    if (!app.platform->ChooseFileToSave(_(SaveElsewhereTitle), fileName, path)) continue;
    if (ReplaceFileContents(path, record, error)) return;
    where = path;
  }
}

}  // namespace rq
