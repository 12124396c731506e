#include "platform/language.h"

#include <libintl.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace rq {

namespace {

// Where the catalogues are; empty while none are bound.
std::string catalogFolder;

// LANGUAGE as the program found it, before a choice here set it.
struct StartLanguage {
  bool set = false;
  std::string value;
};

const StartLanguage& Start() {
  static const StartLanguage start = [] {
    StartLanguage s;
    if (const char* language = std::getenv("LANGUAGE")) {
      s.set = true;
      s.value = language;
    }
    return s;
  }();
  return start;
}

// One locale name or LANGUAGE entry ("zh_TW.UTF-8", "vi", "fi_FI@euro") as one of ours;
// false for a language we have no catalogue of.
bool LanguageOfName(const std::string& name, Language& out) {
  const std::string base = name.substr(0, name.find_first_of(".@"));
  const std::string code = base.substr(0, base.find_first_of("_-"));
  const std::string rest = base.size() > code.size() ? base.substr(code.size() + 1) : "";
  if (code == "en") out = Language::English;
  else if (code == "fi") out = Language::Finnish;
  else if (code == "vi") out = Language::Vietnamese;
  else if (code != "zh") return false;
  // Taiwan, Hong Kong and Macau write the traditional characters; the mainland, Singapore
  // and a bare "zh" the simplified ones.
  else if (rest == "TW" || rest == "HK" || rest == "MO" || rest.rfind("Hant", 0) == 0) out = Language::TraditionalChinese;
  else out = Language::SimplifiedChinese;
  return true;
}

bool Set(const char* value) { return value != nullptr && value[0] != '\0'; }

// Sets `category` from the environment; where that locale is C, POSIX or not installed,
// C.UTF-8, which lets gettext follow LANGUAGE all the same.
void FollowEnvironment(int category) {
  const char* set = std::setlocale(category, "");
  if (set == nullptr || std::strcmp(set, "C") == 0 || std::strcmp(set, "POSIX") == 0)
    std::setlocale(category, "C.UTF-8");
}

}  // namespace

Language ChosenLanguage(int32_t choice, Language system) {
  switch (choice) {
    case 1: return Language::English;
    case 2: return Language::SimplifiedChinese;
    case 3: return Language::TraditionalChinese;
    case 4: return Language::Vietnamese;
    case 5: return Language::Finnish;
    default: return system;
  }
}

Language LanguageOfEnvironment(const char* language, const char* lcAll, const char* lcMessages, const char* lang) {
  const char* locale = Set(lcAll) ? lcAll : Set(lcMessages) ? lcMessages : Set(lang) ? lang : "C";
  if (std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0) return Language::English;
  Language found = Language::English;
  if (Set(language)) {
    const std::string list = language;
    for (size_t at = 0; at <= list.size();) {
      const size_t end = std::min(list.find(':', at), list.size());
      if (LanguageOfName(list.substr(at, end - at), found)) return found;
      at = end + 1;
    }
    return Language::English;
  }
  return LanguageOfName(locale, found) ? found : Language::English;
}

const char* LanguageFolder(Language language) {
  switch (language) {
    case Language::SimplifiedChinese: return "zh_CN";
    case Language::TraditionalChinese: return "zh_TW";
    case Language::Vietnamese: return "vi";
    case Language::Finnish: return "fi";
    case Language::English: break;
  }
  return "";
}

void BindCatalogs(const std::string& folder) {
  Start();
  if (folder.empty() && !catalogFolder.empty()) {
    if (Start().set) setenv("LANGUAGE", Start().value.c_str(), 1);
    else unsetenv("LANGUAGE");
    std::setlocale(LC_MESSAGES, "C");
    textdomain(TextDomain);
  }
  catalogFolder = folder;
  if (folder.empty()) return;
  bindtextdomain(TextDomain, folder.c_str());
  bind_textdomain_codeset(TextDomain, "UTF-8");
  textdomain(TextDomain);
}

// Only LANGUAGE is ever changed here; the locale variables are read as they are.
Language SystemLanguage() {
  if (catalogFolder.empty()) return Language::English;
  return LanguageOfEnvironment(Start().set ? Start().value.c_str() : nullptr, std::getenv("LC_ALL"),
                               std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

// LANGUAGE names the catalogue; only the messages' category follows the environment. The
// others stay C as before: LC_NUMERIC for the files' numbers, LC_CTYPE for the window title,
// which Xlib would otherwise write in the locale's encoding.
void UseLanguage(Language language) {
  if (catalogFolder.empty()) return;
  FollowEnvironment(LC_MESSAGES);
  const char* folder = LanguageFolder(language);
  setenv("LANGUAGE", folder[0] != '\0' ? folder : "en", 1);
  // gettext keeps what it looked up until the text domain is set again.
  textdomain(TextDomain);
}

std::vector<std::string> DesktopEnvironment() {
  std::vector<std::string> variables;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e)
    if (std::strncmp(*e, "LANGUAGE=", 9) != 0) variables.emplace_back(*e);
  if (Start().set) variables.push_back("LANGUAGE=" + Start().value);
  return variables;
}

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  return text;
}

}  // namespace rq
