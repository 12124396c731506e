// The interface language: which one the desktop's variables ask for, the reader's refusals in
// it, and a game played under a locale that writes numbers with a decimal comma, whose texts
// translate while its files stay byte for byte those of the C locale.
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/archive.h"
#include "game/game_reader.h"
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

// Whether the text has a word of two or more Latin letters, as an English reason would leave.
bool HasLatinWord(const std::string& text) {
  auto latin = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  for (size_t i = 1; i < text.size(); ++i)
    if (latin(text[i - 1]) && latin(text[i])) return true;
  return false;
}

// A damaged record or an impossible position, refused in Chinese from the first word to the
// last: the reason the file's check or the rules give is translated, its numbers kept.
TEST(Language, TheReadersRefusalsNameTheirReasonInTheInterfaceLanguage) {
  const std::string golden = GoldenFile;
  auto with = [&](const char* from, const char* to) {
    std::string text = golden;
    return text.replace(text.find(from), std::strlen(from), to);
  };
  const struct { Language language; std::string text; const char* refusal; } rows[] = {
      {Language::SimplifiedChinese, golden + golden.substr(0, golden.find("Recorded moves")),
       "这个对局文件中的第 2 局已损坏（文件提前结束），不予打开。"},
      {Language::TraditionalChinese, with("User's turn: 1", "User's turn: 0"),
       "這個對局檔案中的第 1 局已損壞（電腦在不該走棋時輪到走棋），不予開啟。"},
      {Language::SimplifiedChinese, with("70 72 78", "70 72 99"),
       "这个对局文件中的第 1 局已损坏（棋盘上的棋子代码无效），不予打开。"},
      {Language::SimplifiedChinese, "3k5/9/9/9/9/9/9/P8/9/4K4 w",
       "这个局面不可能在对局中出现：红方兵在 a2，这是它永远到不了的点。"},
      {Language::TraditionalChinese, "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABN w",
       "這個局面不可能在對局中出現：最後一行有 8 個點，而不是 9 個。"},
      {Language::TraditionalChinese, "[FEN \"4k4/9/9/9/9/9/9/9/9/4K4 w\"]\n\n*\n",
       "這個局面不可能在對局中出現：帥與將在同一縱線上直接照面。"},
  };
  DesktopLocale desktop(nullptr, RQ_CATALOG_DIR);
  for (const auto& row : rows) {
    UseLanguage(row.language);
    std::vector<GameSource> games;
    std::string refusal;
    auto data = std::make_unique<GameFileData>();
    ReplayOutcome outcome;
    if (ReadGames(row.text, games, refusal)) {
      ASSERT_EQ(games.size(), 1u) << row.refusal;
      EXPECT_FALSE(ReplaySource(games[0], Red, *data, outcome)) << row.refusal;
      refusal = outcome.error;
    }
    EXPECT_EQ(refusal, row.refusal);
    EXPECT_FALSE(HasLatinWord(refusal)) << refusal;
  }
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
