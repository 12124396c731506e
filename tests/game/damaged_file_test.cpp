// Damaged current-game files: each is refused whole, set aside, and a new game stands.
#include "app_fixture.h"
#include "damage_table.h"

namespace rq::test {
namespace {

TEST_F(GameAppTest, EveryDamagedFileIsRefusedAndKeptAside) {
  GameApplication& a = Start();
  const std::string name = CurrentGameFileName("TESTBOX");
  std::vector<std::pair<std::string, std::string>> cases;
  for (const Damage& d : Damages) cases.emplace_back(d.name, Damaged(d));
  for (const std::string& cut : Truncations(GoldenFile)) cases.emplace_back("cut to " + std::to_string(cut.size()), cut);

  for (const auto& [label, bytes] : cases) {
    SCOPED_TRACE(label);
    WriteFile(name, bytes);
    EXPECT_FALSE(LoadCurrentGame(a));
    EXPECT_FALSE(FileExists(name));
    EXPECT_EQ(ReadFile(name + ".damaged"), bytes);
    ExpectFreshGame(a, 1);
    std::filesystem::remove(name + ".damaged");
  }
}

TEST_F(GameAppTest, StartingOnADamagedFileBeginsANewGameSilently) {
  const std::string name = CurrentGameFileName("TESTBOX");
  const std::string golden = GoldenFile;
  const struct {
    std::string bytes;
    const char* keptAs;
  } cases[] = {
      {golden.substr(0, golden.find("64 --> 67")), ".damaged"},
      {Damaged(DamageNamed("a piece on two squares")), ".damaged-2"},
      {Damaged(DamageNamed("history snapshot not the replay")), ".damaged-3"},
  };
  for (const auto& c : cases) {
    platform.ClearRecords();
    WriteFile(name, c.bytes);
    ExpectFreshGame(Start(), 1);
    EXPECT_TRUE(platform.Messages().empty());
    Stop();
    EXPECT_NE(CurrentFile().find("Recorded moves: 0\n"), std::string::npos);
  }
  for (const auto& c : cases) EXPECT_EQ(ReadFile(name + c.keptAs), c.bytes) << "kept aside, never overwritten";
}

TEST_F(GameAppTest, FilesThatCannotBeReadOrWrittenAreNeverReplaced) {
  const std::string game = CurrentGameFileName("TESTBOX"), settings = SettingsFileName("TESTBOX");
  const struct {
    const char* name;
    const std::string* file;
    const char* bytes;
    mode_t mode;
    bool asideNamesTaken;
    const char* keptAs;  // added to the file's name
  } cases[] = {
      {"an unreadable game is set aside", &game, GoldenFile, 0, false, ".damaged"},
      {"a game that can be neither read nor set aside stays", &game, GoldenFile, 0200, true, ""},
      {"a read-only game is continued but not replaced", &game, GoldenFile, 0400, false, ""},
      {"a read-only settings file stays", &settings, "HintAtStartup = 0\n", 0400, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& entry : std::filesystem::directory_iterator(".")) std::filesystem::remove_all(entry.path());
    WriteFile(*c.file, c.bytes);
    for (int n = 1; c.asideNamesTaken && n < 1000; ++n)
      WriteFile(*c.file + ".damaged" + (n == 1 ? "" : "-" + std::to_string(n)), "");
    chmod(c.file->c_str(), c.mode);
    EXPECT_TRUE(StartAndStopUnprivileged());
    EXPECT_EQ(ReadFile(*c.file + c.keptAs), c.bytes);
  }
}

}  // namespace
}  // namespace rq::test
