// The interface language: which of the program's languages the player reads, from the
// settings' choice or the desktop's locale, and the gettext catalogues that serve it.
// Only the messages follow the locale: numbers, and so every file, stay as in the C locale.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rq {

// The catalogues' name (ravenquill.mo), which resources/settings.ui names too.
constexpr const char* TextDomain = "ravenquill";

enum class Language { English, SimplifiedChinese, TraditionalChinese, Vietnamese, Finnish };

// The settings' "InterfaceLanguage": 0 follows the desktop, 1 to 5 name a language in the
// order the settings dialog lists them.
constexpr int32_t SystemLanguageChoice = 0;
constexpr int32_t LanguageChoiceCount = 6;

// The language of a settings choice; `system` for 0 and for any value without a language.
Language ChosenLanguage(int32_t choice, Language system);

// The language the desktop asks for, read as gettext reads it: LANGUAGE (a list, the first
// entry that names one of ours wins) unless the locale is C or POSIX, else the first set of
// LC_ALL, LC_MESSAGES and LANG. English where none names one of ours. Null counts as unset.
Language LanguageOfEnvironment(const char* language, const char* lcAll, const char* lcMessages, const char* lang);

// The catalogue's and the texture set's folder name: "zh_CN", "zh_TW", "vi", "fi"; "" for English.
const char* LanguageFolder(Language language);

// Makes the catalogues under `folder` (LANG/LC_MESSAGES/ravenquill.mo) the program's text
// domain. Until it is called, and after it is called with "", the program speaks English
// whatever it is asked: the engine, the tool and the tests rely on that.
void BindCatalogs(const std::string& folder);

// The desktop's language as the program found it at its first look, before any choice
// changed the environment; English when no catalogues are bound.
Language SystemLanguage();

// Looks up every later text in `language`, GTK's own too. English when no catalogues are bound.
void UseLanguage(Language language);

// The environment ("NAME=value" each) with LANGUAGE as the program found it, for the
// programs it starts: the language chosen here is the game's, not the browser's.
std::vector<std::string> DesktopEnvironment();

// printf into a string, for translated texts with a place for a name or a number.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace rq
