// The settings file: what each file reads as, and the search limits the difficulty gives.
#include <cstdio>
#include <optional>

#include "game/settings.h"
#include "game_test_support.h"

namespace rq::test {
namespace {

// Settings from their eight numbers in file order.
SettingsValues Numbers(const char* eight) {
  int n[8] = {};
  EXPECT_EQ(std::sscanf(eight, "%d %d %d %d %d %d %d %d", n, n + 1, n + 2, n + 3, n + 4, n + 5, n + 6, n + 7), 8);
  return SettingsValues{n[0] == 1, n[1] == 1, n[2] == 1, n[3] == 1, n[4] == 1, n[5] == 1, n[6], n[7]};
}

TEST(GameSettings, FilesReadAsTheirLinesSay) {
  ScratchDirectory dir;
  ScratchLock lock;
  GuardedGame game(lock.name());
  const std::string defaults = FormatSettings(SettingsValues());
  auto level = [&](const char* l) { return std::string(defaults).replace(defaults.find("Level = 1"), 9, l); };
  const struct {
    const char* name;
    std::optional<std::string> file;  // none: no file at all
    const char* expected;
    double thinkSeconds;
    int32_t firstTimedDepth;
  } cases[] = {
      {"no file", std::nullopt, "1 1 1 1 1 1 1 0", 1.0, 5},
      {"every value changed",
       "HintAtStartup = 0\nHighlightMove = 0\nShowMoves = 1\nShowIllegalMoves = 0\nExplainIllegalMoves = 1\n"
       "AutoHideMenu = 0\nDifficultyLevel = 3\nHelpLanguage = 2\n",
       "0 0 1 0 1 0 3 2", 6.0, 7},
      {"a flag stored as 2 or -1 is false",
       "HintAtStartup = 2\nHighlightMove = 1\nShowMoves = -1\nShowIllegalMoves = 1\nExplainIllegalMoves = 1\n"
       "AutoHideMenu = 1\nDifficultyLevel = 1\nHelpLanguage = 0\n",
       "0 1 0 1 1 1 1 0", 1.0, 5},
      {"blank lines",
       "\nHintAtStartup = 0\n\n\nHighlightMove = 0\n\nShowMoves = 0\nShowIllegalMoves = 0\n\nExplainIllegalMoves = 0\n"
       "AutoHideMenu = 0\n\nDifficultyLevel = 0\n\nHelpLanguage = 1\n\n",
       "0 0 0 0 0 0 0 1", 0.1, 4},
      {"CR LF",
       "HintAtStartup = 0\r\nHighlightMove = 1\r\nShowMoves = 0\r\nShowIllegalMoves = 1\r\nExplainIllegalMoves = 0\r\n"
       "AutoHideMenu = 1\r\nDifficultyLevel = 2\r\nHelpLanguage = 1\r\n",
       "0 1 0 1 0 1 2 1", 3.0, 6},
      {"a missing line leaves it and every later one at the default",
       "HintAtStartup = 0\nHighlightMove = 0\nShowIllegalMoves = 0\nExplainIllegalMoves = 0\nAutoHideMenu = 0\n"
       "DifficultyLevel = 0\nHelpLanguage = 2\n",
       "0 0 1 1 1 1 1 0", 1.0, 5},
      {"a line that does not parse ends the reading",
       "HintAtStartup = 0\nHighlightMove = yes\nShowMoves = 0\nShowIllegalMoves = 0\nExplainIllegalMoves = 0\n"
       "AutoHideMenu = 0\nDifficultyLevel = 3\nHelpLanguage = 2\n",
       "0 1 1 1 1 1 1 0", 1.0, 5},
      {"an empty file", "", "1 1 1 1 1 1 1 0", 1.0, 5},
      {"difficulty 4", level("Level = 4"), "1 1 1 1 1 1 4 0", 12.0, 8},
      {"difficulty above the table is kept and plays as level 1", level("Level = 9"), "1 1 1 1 1 1 9 0", 1.0, 5},
      {"negative difficulty likewise", level("Level = -3"), "1 1 1 1 1 1 -3 0", 1.0, 5},
  };
  for (const auto& c : cases) {
    const std::string path = SettingsFileName("TESTBOX");
    std::remove(path.c_str());
    if (c.file) WriteFile(path, *c.file);
    SettingsValues read;
    EXPECT_EQ(ReadSettingsFile(path, read), c.file.has_value()) << c.name;
    EXPECT_EQ(FormatSettings(read), FormatSettings(Numbers(c.expected))) << c.name;
    ApplyDifficulty(game, read.difficultyLevel);
    EXPECT_EQ(game.thinkSeconds, c.thinkSeconds) << c.name;
    EXPECT_EQ(game.firstTimedDepth, c.firstTimedDepth) << c.name;
    // What is read is written back as it was read, an out-of-range level included.
    ASSERT_TRUE(WriteSettingsFile(path, read));
    SettingsValues again = Numbers("0 0 0 0 0 0 0 0");
    ReadSettingsFile(path, again);
    EXPECT_EQ(FormatSettings(again), FormatSettings(read)) << c.name;
  }
}

TEST(GameSettings, TheFileHasExactlyTheEightLines) {
  EXPECT_EQ(FormatSettings(Numbers("0 1 0 1 0 1 9 7")),
            "HintAtStartup = 0\nHighlightMove = 1\nShowMoves = 0\nShowIllegalMoves = 1\n"
            "ExplainIllegalMoves = 0\nAutoHideMenu = 1\nDifficultyLevel = 9\nHelpLanguage = 7\n");
  EXPECT_EQ(SettingsFileName(""), "Settings_.rqs1");
}

}  // namespace
}  // namespace rq::test
