// The game in folders that refuse it, as players meet them: a full disk (a small tmpfs), a
// folder of another user (the game run as "nobody" through setpriv), and a save killed in
// the middle. rq_play_in_folder plays each sitting; these need root.
#include <sys/mount.h>
#include <sys/stat.h>

#include <regex>

#include "game/archive.h"
#include "game/game_texts.h"
#include "platform/language.h"
#include "game_support.h"
#include "support/environment.h"

namespace rq::test {
namespace {

const std::string Game = CurrentGameFileName("TESTBOX");
const std::string Archive = ArchiveFileName(1, "TESTBOX");
constexpr uid_t Nobody = 65534;

// A sitting of the player in `dir`, as root or as "nobody": what the game said.
std::string PlayIn(const std::string& dir, const std::vector<std::string>& args, bool asNobody = false) {
  std::string command = "cd " + dir + " && " + (asNobody ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "") +
                        RQ_PLAY_IN_FOLDER;
  for (const std::string& a : args) command += " '" + a + "'";
  return Capture(command);
}

// What the game says when a game is continued and when it is not saved at exit.
std::string Continued() { return std::string("told Ravenquill: ") + YourTurnText; }
std::string NotSaved(const std::string& where, const char* why) {
  return "told " + std::string(GameNotSavedTitle) + ": " + OneLine(FormatText(GameNotSavedText, where.c_str(), why, Game.c_str()));
}
const std::string Chooser = std::string("chooser ") + SaveElsewhereTitle + ": " + Game;

// The game numbers of an archive's records, in order.
std::string NumbersIn(const std::string& archive) {
  const std::string text = ReadFile(archive);
  std::string numbers;
  const std::regex number("Game #: ([0-9]+) ");
  for (auto m = std::sregex_iterator(text.begin(), text.end(), number); m != std::sregex_iterator(); ++m)
    numbers += (numbers.empty() ? "" : " ") + (*m)[1].str();
  return numbers;
}

// A folder of its own under /tmp that every user may enter; removed, unmounted first, at the end.
class FolderTest : public ::testing::Test {
 protected:
  std::string Folder() {
    std::string pattern = "/tmp/rq-folder-XXXXXX";
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    chmod(pattern.c_str(), 0755);
    folders_.push_back(pattern);
    return pattern;
  }
  // A folder on a tmpfs of 64 kB holding the golden game and a file that fills the rest.
  bool FullDisk(std::string& dir) {
    dir = Folder();
    if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0) return false;
    mounted_.push_back(dir);
    WriteFile(dir + "/" + Game, GoldenFile);
    std::ofstream filler(dir + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    for (int i = 0; i < 64 && filler.write(block.data(), block.size()).flush(); ++i) {
    }
    return true;
  }
  ~FolderTest() override {
    for (const std::string& dir : mounted_) umount(dir.c_str());
    for (const std::string& dir : folders_) std::filesystem::remove_all(dir);
  }

 private:
  std::vector<std::string> folders_, mounted_;
};

// The moves since the last save are not lost without a word: the player may keep the game
// in a file of the same layout, which goes on where it stopped once put in place.
TEST_F(FolderTest, AFullDiskAsksWhereToKeepTheGame) {
  RQ_REQUIRE_ENVIRONMENT(geteuid() == 0, "root, to mount a tmpfs");
  const std::string outside = Folder();
  const struct { const char* what; std::vector<std::string> script; bool keptOutside, askedTwice; } cases[] = {
      {"quit without saving", {"--answer", "quit"}, false, false},
      {"saved elsewhere", {"--answer", "save", "--choose", outside + "/kept.vrd5"}, true, false},
      {"elsewhere on the same full disk, then quit", {"--answer", "save", "--choose", "FULL/again.vrd5"}, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string full;
    RQ_REQUIRE_ENVIRONMENT(FullDisk(full), "a tmpfs mounted");
    std::vector<std::string> args = {"--play", "a3a4 a6a5 c3c4 c6c5"};
    for (const std::string& a : c.script) args.push_back(a == "FULL/again.vrd5" ? full + "/again.vrd5" : a);
    std::string told = "started 1\n" + Continued() + "\n" + NotSaved(full + "/" + Game, DiskFullText);
    if (c.askedTwice) told += "\n" + NotSaved(full + "/again.vrd5", DiskFullText);
    if (c.script.size() > 2) told += "\n" + Chooser;
    EXPECT_EQ(PlayIn(full, args), told);
    EXPECT_EQ(ReadFile(full + "/" + Game), GoldenFile);
    EXPECT_EQ(Capture("ls " + full + " | grep -v filler"), Game);
    const std::string kept = ReadFile(outside + "/kept.vrd5");
    EXPECT_EQ(kept.find("Recorded moves: 8\n") != std::string::npos, c.keptOutside);
    if (!c.keptOutside) continue;
    std::rename((outside + "/kept.vrd5").c_str(), (outside + "/" + Game).c_str());
    EXPECT_EQ(PlayIn(outside, {}), "started 1\n" + Continued());
    const std::string again = ReadFile(outside + "/" + Game);
    EXPECT_EQ(again.substr(again.find("Game ended")), kept.substr(kept.find("Game ended"))) << "the same game, saved again";
  }
}

// In a folder the player may not write, with an archive the player may append to: a game
// left for a new one goes to the archive once, and never comes back; a game file that can
// be neither read nor set aside is kept, and the exit says so.
TEST_F(FolderTest, AFolderOfAnotherUserNeitherLosesNorRepeatsAGame) {
  RQ_REQUIRE_ENVIRONMENT(geteuid() == 0, "root, to play as another user");
  const std::string folder = Folder(), outside = Folder();
  const std::string game = folder + "/" + Game, archive = folder + "/" + Archive;
  WriteFile(game, GoldenFile);
  WriteFile(archive, "");
  ASSERT_EQ(chown(archive.c_str(), Nobody, Nobody), 0);
  ASSERT_EQ(chown(outside.c_str(), Nobody, Nobody), 0);
  const std::string notWritable = "told " + std::string(NewGameTitle) + ": " +
                                  FormatText(FolderNotWritableText, Archive.c_str(), game.c_str(), NotPermittedText);
  const struct { const char* what; mode_t mode; std::vector<std::string> args; std::string told, archived; } cases[] = {
      {"a new game, then quit saving elsewhere", 0644,
       {"--play", "a3a4 a6a5", "--new-game", "--play", "c3c4 c6c5", "--answer", "save", "--choose", outside + "/2.vrd5"},
       "started 1\n" + Continued() + "\n" + notWritable + "\n" + NotSaved(game, NotPermittedText) + "\n" + Chooser, "1"},
      {"the archived game does not come back", 0644, {"--new-game"}, "started 2\n" + notWritable, "1 2"},
      {"an unreadable game file is kept", 0600, {"--play", "a3a4 a6a5", "--answer", "quit"},
       "started 3\ntold Ravenquill: " + FormatText(KeptUnreadText, Game.c_str()) + "\n" + NotSaved(game, FileKeptUnreadText),
       "1 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    chmod(game.c_str(), c.mode);
    EXPECT_EQ(PlayIn(folder, c.args, true), c.told);
    EXPECT_EQ(NumbersIn(archive), c.archived);
    EXPECT_EQ(ReadFile(game), GoldenFile);
  }
  const std::string saved = ReadFile(outside + "/2.vrd5");
  EXPECT_EQ(saved.find("Game #: 2 "), 7u);
  EXPECT_NE(saved.find("Recorded moves: 2\n"), std::string::npos);
}

// A save killed before its rename leaves its temporary file: the next start removes it, but
// never the file of a save whose writer still runs.
TEST_F(FolderTest, TemporaryFilesOfKilledSavesGoAtTheNextStart) {
  RQ_REQUIRE_ENVIRONMENT(!Capture("command -v strace").empty(), "strace (scripts/packages)");
  const std::string folder = Folder();
  const pid_t alive = Spawn({"sleep", "60"});
  const std::string running = folder + "/" + Game + ".tmp." + std::to_string(alive);
  WriteFile(running, "a save under way");
  // Each rename waits a minute: the kill comes while the game file is written but not in place.
  const pid_t traced = Spawn({"strace", "-f", "-qq", "-o", "/dev/null", "-e", "trace=rename", "-e",
                              "inject=rename:delay_enter=60000000", RQ_PLAY_IN_FOLDER, "--play", "h2e2 h9g7"},
                             folder);
  const std::string others = "ls " + folder + " | grep '\\.tmp\\.' | grep -v '\\." + std::to_string(alive) + "$'";
  std::string killed;
  const auto written = [&] {
    killed = Capture(others);
    return !killed.empty() && ReadFile(folder + "/" + killed).find("Eaten green pieces") != std::string::npos;
  };
  ASSERT_TRUE(WaitUntil(written, 20s));
  const std::string writer = killed.substr(killed.rfind('.') + 1);
  kill(std::stoi(writer), SIGKILL);
  // strace would sit out the delay of a process killed inside it: it goes too, and the
  // writer, killed before it, can no longer finish the rename.
  kill(traced, SIGKILL);
  EXPECT_NE(WaitFor(traced, 10s), -1);
  EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists("/proc/" + writer); }, 10s)) << "the writer was reaped";
  EXPECT_NE(ReadFile(folder + "/" + killed).find("Recorded moves: 2\n"), std::string::npos) << "the save was under way";
  EXPECT_EQ(PlayIn(folder, {}), "started 1");
  EXPECT_FALSE(std::filesystem::exists(folder + "/" + killed));
  EXPECT_EQ(ReadFile(running), "a save under way");
  kill(alive, SIGKILL);
  WaitFor(alive, 5s);
}

}  // namespace
}  // namespace rq::test
