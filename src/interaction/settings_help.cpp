// The settings command and the help command.
#include <filesystem>
#include <string>
#include <system_error>

#include "game/game_application.h"
#include "game/settings.h"
#include "interaction/commands.h"

namespace rq {

namespace {

constexpr int32_t WarnAboveLevel = 2;
constexpr const char* HighLevelWarning =
    "You have selected a high difficulty level.\n"
    "On these levels individual moves may take several minutes to complete.\n";
// A strong level's moves are bounded; only a wait longer than the default level's is worth a word.
constexpr int32_t WarnFromCeilingMs = 3000;

// The warning for a newly chosen level; empty when it needs none.
std::string LevelWarning(int32_t level) {
  const int32_t ceilingMs = StrongLevelCeilingMs(level);
  if (ceilingMs >= WarnFromCeilingMs)
    return "You have selected a strong level.\nOn it the computer takes up to " + std::to_string(ceilingMs / 1000) +
           " seconds for each move.\n";
  if (ceilingMs < 0 && level > WarnAboveLevel && level <= HighestPlainLevel) return HighLevelWarning;
  return "";
}

// Help pages by language; other languages open the directory itself.
const char* HelpPage(int32_t language) {
  switch (language) {
    case 0: return "/Documentation/RavenquillHelpFrames_Eng.html";
    case 1: return "/Documentation/RavenquillHelpFrames_Fin.html";
    case 2: return "/Documentation/RavenquillHelpFrames_Chi.html";
    default: return "";
  }
}

// Percent-encodes everything but unreserved characters and the path separator.
void AppendEncodedPath(std::string& url, const std::string& path) {
  static const char hex[] = "0123456789ABCDEF";
  for (unsigned char c : path) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                       c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += hex[c >> 4];
      url += hex[c & 15];
    }
  }
}

}  // namespace

// Grows with the path, so a deep working directory is never cut.
std::string HelpPageUrl(const std::string& directory, int32_t language) {
  std::string path = directory;
  while (!path.empty() && path.back() == '/') path.pop_back();
  path += HelpPage(language);
  if (path.empty()) path = "/";
  std::string url = "file://";
  url.reserve(url.size() + path.size() * 3);
  AppendEncodedPath(url, path);
  return url;
}

// The dialog edits a copy; only a confirmed dialog changes the settings.
void SettingsCommand(GameApplication& app) {
  SettingsValues values = app.settings;
  if (!app.platform->RunSettingsDialog(values)) return;

  const int32_t oldLevel = app.settings.difficultyLevel;
  app.settings = values;
  ApplyDifficulty(app);
  const std::string warning = LevelWarning(values.difficultyLevel);
  if (values.difficultyLevel != oldLevel && !warning.empty())
    app.platform->ShowMessage("Warning", warning.c_str(), MessageButtons::Ok, MessageIcon::NoIcon);
}

// The page of the help language, from the data folder; where it cannot be opened (no
// browser, or the page missing), the player is told where it is.
void HelpCommand(GameApplication& app) {
  std::error_code error;
  std::filesystem::path directory = app.dataDir;
  if (app.dataDir.empty()) directory = std::filesystem::current_path(error);
  if (error) return;
  const std::string page = directory.string() + HelpPage(app.settings.helpLanguage);
  if (!std::filesystem::exists(page, error)) {
    const std::string text = "The help page is missing: it should be\n" + page;
    app.platform->ShowMessage("Help", text.c_str(), MessageButtons::Ok, MessageIcon::Exclamation);
  } else if (!app.platform->OpenUrl(HelpPageUrl(directory.string(), app.settings.helpLanguage))) {
    const std::string text = "No web browser opened the help page. Open it yourself:\n" + page;
    app.platform->ShowMessage("Help", text.c_str(), MessageButtons::Ok, MessageIcon::Information);
  }
}

}  // namespace rq
