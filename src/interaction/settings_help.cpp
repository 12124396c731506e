// The settings command and the help command.
#include <filesystem>
#include <string>
#include <system_error>

#include "game/game_application.h"
#include "game/settings.h"
#include "interaction/commands.h"
#include "platform/language.h"
#include "platform/texts.h"

namespace rq {

namespace {

constexpr int32_t WarnAboveLevel = 2;
constexpr const char* HighLevelWarning =
    N_("You have selected a high difficulty level.\n"
       "On these levels individual moves may take several minutes to complete.\n");
// A strong level's moves are bounded; only a wait longer than the default level's is worth a word.
constexpr int32_t WarnFromCeilingMs = 3000;

// The warning for a newly chosen level; empty when it needs none.
std::string LevelWarning(int32_t level) {
  const int32_t ceilingMs = StrongLevelCeilingMs(level);
  if (ceilingMs >= WarnFromCeilingMs)
    return FormatText(_("You have selected a strong level.\nOn it the computer takes up to %d seconds for each move.\n"),
                      static_cast<int>(ceilingMs / 1000));
  if (ceilingMs < 0 && level > WarnAboveLevel && level <= HighestPlainLevel) return _(HighLevelWarning);
  return "";
}

// The help page of the interface language.
const char* HelpPage(Language language) {
  switch (language) {
    case Language::English: break;
    case Language::Finnish: return "/Documentation/RavenquillHelpFrames_Fin.html";
    case Language::SimplifiedChinese: return "/Documentation/RavenquillHelpFrames_Chi.html";
    case Language::TraditionalChinese: return "/Documentation/RavenquillHelpFrames_Cht.html";
    case Language::Vietnamese: return "/Documentation/RavenquillHelpFrames_Vie.html";
  }
  return "/Documentation/RavenquillHelpFrames_Eng.html";
}

// The page of the settings' help language: 0, what every settings file holds unless edited
// by hand, follows the interface language (English in every release before the others);
// 1 and 2 keep naming the Finnish and the Chinese page; other values open the directory.
const char* HelpPage(int32_t helpLanguage, Language language) {
  switch (helpLanguage) {
    case 0: return HelpPage(language);
    case 1: return HelpPage(Language::Finnish);
    case 2: return HelpPage(Language::SimplifiedChinese);
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
std::string HelpPageUrl(const std::string& directory, int32_t helpLanguage, Language language) {
  std::string path = directory;
  while (!path.empty() && path.back() == '/') path.pop_back();
  path += HelpPage(helpLanguage, language);
  if (path.empty()) path = "/";
  std::string url = "file://";
  url.reserve(url.size() + path.size() * 3);
  AppendEncodedPath(url, path);
  return url;
}

// The dialog edits a copy; only a confirmed dialog changes the settings. A language chosen
// there is the language of the help too: a help language named in the file gives way.
void SettingsCommand(GameApplication& app) {
  SettingsValues values = app.settings;
  if (!app.platform->RunSettingsDialog(values)) return;

  const int32_t oldLevel = app.settings.difficultyLevel;
  if (values.interfaceLanguage != app.settings.interfaceLanguage) values.helpLanguage = 0;
  app.settings = values;
  ApplyDifficulty(app);
  ApplyLanguage(app);
  const std::string warning = LevelWarning(values.difficultyLevel);
  if (values.difficultyLevel != oldLevel && !warning.empty())
    app.platform->ShowMessage(_("Warning"), warning.c_str(), MessageButtons::Ok, MessageIcon::NoIcon);
}

// The page of the help language, from the data folder; where it cannot be opened (no
// browser, or the page missing), the player is told where it is.
void HelpCommand(GameApplication& app) {
  std::error_code error;
  std::filesystem::path directory = app.dataDir;
  if (app.dataDir.empty()) directory = std::filesystem::current_path(error);
  if (error) return;
  const std::string page = directory.string() + HelpPage(app.settings.helpLanguage, app.language);
  if (!std::filesystem::exists(page, error)) {
    const std::string text = FormatText(_("The help page is missing: it should be\n%s"), page.c_str());
    app.platform->ShowMessage(_("Help"), text.c_str(), MessageButtons::Ok, MessageIcon::Exclamation);
  } else if (!app.platform->OpenUrl(HelpPageUrl(directory.string(), app.settings.helpLanguage, app.language))) {
    const std::string text = FormatText(_("No web browser opened the help page. Open it yourself:\n%s"), page.c_str());
    app.platform->ShowMessage(_("Help"), text.c_str(), MessageButtons::Ok, MessageIcon::Information);
  }
}

}  // namespace rq
