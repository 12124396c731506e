// The interface language: which one the desktop's variables ask for, and a game played under
// a locale that writes numbers with a decimal comma, whose texts translate while its files
// stay byte for byte those of the C locale.
#include <clocale>
#include <cstdlib>

#include "game/archive.h"
#include "game/new_game.h"
#include "game_support.h"
#include "platform/language.h"
#include "support/desktop_locale.h"
#include "support/environment.h"

namespace rq::test {
namespace {

TEST(Language, TheDesktopsVariablesNameTheLanguageAsGettextReadsThem) {
  using L = Language;
  const struct { const char *language, *lcAll, *lcMessages, *lang; L want; } rows[] = {
      {nullptr, nullptr, nullptr, nullptr, L::English},
      {nullptr, nullptr, nullptr, "zh_CN.UTF-8", L::SimplifiedChinese},
      {nullptr, nullptr, nullptr, "zh_SG.UTF-8", L::SimplifiedChinese},
      {nullptr, nullptr, nullptr, "zh_TW.UTF-8", L::TraditionalChinese},
      {nullptr, nullptr, nullptr, "zh_HK.UTF-8", L::TraditionalChinese},
      {nullptr, nullptr, nullptr, "zh_MO", L::TraditionalChinese},
      {nullptr, nullptr, nullptr, "vi_VN", L::Vietnamese},
      {nullptr, nullptr, nullptr, "fi_FI@euro", L::Finnish},
      {nullptr, nullptr, nullptr, "de_DE.UTF-8", L::English},
      {nullptr, nullptr, "fi_FI.UTF-8", "zh_CN.UTF-8", L::Finnish},
      {nullptr, "vi_VN.UTF-8", "fi_FI.UTF-8", "zh_CN.UTF-8", L::Vietnamese},
      {"", "", "", "zh_TW.UTF-8", L::TraditionalChinese},
      {"de:fi:vi", nullptr, nullptr, "en_US.UTF-8", L::Finnish},
      {"zh_HK:zh_CN", nullptr, nullptr, "en_GB.UTF-8", L::TraditionalChinese},
      {"en:zh_CN", nullptr, nullptr, "zh_CN.UTF-8", L::English},
      {"de:fr", nullptr, nullptr, "fi_FI.UTF-8", L::English},
      {"zh_CN", nullptr, nullptr, nullptr, L::English},   // the C locale: gettext ignores LANGUAGE
      {"vi", "POSIX", nullptr, "vi_VN", L::English},
      {"vi", nullptr, nullptr, "C.UTF-8", L::Vietnamese},
  };
  for (const auto& row : rows)
    EXPECT_EQ(LanguageOfEnvironment(row.language, row.lcAll, row.lcMessages, row.lang), row.want)
        << (row.language ? row.language : "-") << " " << (row.lang ? row.lang : "-");
}

TEST(Language, TheSettingsChoiceOverridesTheDesktop) {
  using L = Language;
  const struct { int32_t choice; L system, want; } rows[] = {
      {0, L::Finnish, L::Finnish}, {1, L::Finnish, L::English},
      {2, L::English, L::SimplifiedChinese}, {3, L::English, L::TraditionalChinese},
      {4, L::English, L::Vietnamese}, {5, L::Vietnamese, L::Finnish},
      {6, L::Vietnamese, L::Vietnamese}, {-1, L::TraditionalChinese, L::TraditionalChinese},
  };
  for (const auto& row : rows) EXPECT_EQ(ChosenLanguage(row.choice, row.system), row.want) << row.choice;
}

class LanguageGameTest : public GameAppTest {
 protected:
  // A game as a player plays it: the start-up message, two moves each, a new game that
  // archives it, a move, the exit. The files it leaves: the archive, the game, the settings.
  std::string PlayAGame() {
    WriteFile(SettingsFileName("TESTBOX"), "HintAtStartup = 1\n");
    WriteFile(CurrentGameFileName("TESTBOX"), GoldenFile);
    GameApplication& a = Start();
    EXPECT_TRUE(PlayMoves(a, "h0g2 g6g5 b0c2 c6c5"));
    EXPECT_TRUE(StartNewGame(a));
    EXPECT_TRUE(PlayMoves(a, "c3c4"));
    Stop();
    return ReadFile(ArchiveFileName(1, "TESTBOX")) + ReadFile(CurrentGameFileName("TESTBOX")) +
           ReadFile(SettingsFileName("TESTBOX"));
  }
};

TEST_F(LanguageGameTest, UnderADecimalCommaTheTextsTranslateAndTheFilesStayAsInTheCLocale) {
  const bool commaLocale = std::setlocale(LC_NUMERIC, "fi_FI.UTF-8") != nullptr;
  std::setlocale(LC_NUMERIC, "C");
  RQ_REQUIRE_ENVIRONMENT(commaLocale, "the locale fi_FI.UTF-8 is not generated (scripts/setup.sh makes it)");
  const std::string english = PlayAGame();
  EXPECT_EQ(Told(), "Ravenquill: Continuing previous game. It's your turn.");
  dir.Clear();
  platform.ClearRecords();
  {
    DesktopLocale finnish("fi_FI.UTF-8", RQ_CATALOG_DIR);
    const std::string files = PlayAGame();
    EXPECT_EQ(Told(), "Ravenquill: Jatketaan edellistä peliä. Sinun vuorosi.");
    EXPECT_EQ(files, english);
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(FormatText("%.1f", 0.5), "0.5");
  }
}

}  // namespace
}  // namespace rq::test
