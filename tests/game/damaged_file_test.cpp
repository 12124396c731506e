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

}  // namespace
}  // namespace rq::test
