// The real program in a real window, on a bare display and under openbox.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include "support/desktop_session.h"
#include "support/environment.h"

namespace rq::test {
namespace {

// Whether there is red or green ink around each point of the opening and none on the others;
// `wrong` names the first point that differs.
bool ShowsOpening(const std::vector<uint8_t>& rgb, int side, std::string& wrong) {
  if (rgb.size() != static_cast<size_t>(side) * side * 3) {
    wrong = "no picture of side " + std::to_string(side);
    return false;
  }
  for (int row = 0; row < 10; ++row)
    for (int column = 0; column < 9; ++column) {
      const bool piece = row == 0 || row == 9 || ((row == 2 || row == 7) && (column == 1 || column == 7)) ||
                         ((row == 3 || row == 6) && column % 2 == 0);
      const int cx = (152 + 90 * column) * side / 1024;
      const int cy = (140 + 90 * row) * side / 1024;
      const int r = 26 * side / 1024;
      int red = 0, green = 0;
      for (int y = cy - r; y <= cy + r; ++y)
        for (int x = cx - r; x <= cx + r; ++x) {
          const uint8_t* p = &rgb[(static_cast<size_t>(y) * side + x) * 3];
          red += p[0] > 120 && p[0] - p[1] > 90 && p[0] - p[2] > 90;
          green += p[1] - p[0] > 30 && p[1] - p[2] > 15;
        }
      const int enough = 25 * side * side / (1024 * 1024);
      const int ink = red > enough && red > 3 * green ? 1 : green > enough && green > 3 * red ? 2 : 0;
      if (ink != (piece ? (row < 5 ? 2 : 1) : 0)) {
        wrong = "point " + std::to_string(column) + "," + std::to_string(row) + " at side " + std::to_string(side);
        return false;
      }
    }
  return true;
}
void ExpectOpening(const std::vector<uint8_t>& rgb, int side) {
  std::string wrong;
  EXPECT_TRUE(ShowsOpening(rgb, side, wrong)) << wrong;
}

// The real program on a display of its own, and its end.
class Desktop {
 protected:
  void Begin(bool managed) { ASSERT_TRUE(desk.Start(managed, RQ_REPO_ROOT)) << "Xvfb, openbox (scripts/setup.sh)"; }
  // The game in the scratch folder, or in `dir`, and its window, with the first frames drawn.
  std::string StartGame(const std::string& dir = "") {
    desk.children.push_back(game = Spawn({RQ_RAVENQUILL}, dir.empty() ? desk.work : dir));
    const std::string window = DesktopSession::WaitForWindow("^Ravenquill v1.0$", game);
    if (window.empty()) ADD_FAILURE() << "no window appeared";
    std::this_thread::sleep_for(1500ms);
    return window;
  }
  // xdotool's steps of a drag of red's soldier a3 to a4 in `window`, its picture `side` pixels high.
  static std::string SoldierA3ToA4(const std::string& window, int side) {
    const auto at = [&](int y) {
      return "mousemove --window " + window + " " + std::to_string(152 * side / 1024) + " " + std::to_string(y * side / 1024);
    };
    return at(680) + " sleep 0.2 mousedown 1 sleep 0.2 " + at(635) + " sleep 0.2 " + at(590) + " sleep 0.2 mouseup 1 sleep 0.5";
  }
  // Escape over the window: the game saves and ends with status 0.
  void LeaveWithEscape(const std::string& window) {
    Capture("xdotool windowfocus " + window + " mousemove --window " + window + " 200 200 key --window " + window +
            " Escape");
    const int status = WaitFor(game, 10s);
    EXPECT_TRUE(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  DesktopSession desk;
  pid_t game = -1;
};

class OnDesktop : public Desktop, public ::testing::TestWithParam<bool> {
  void SetUp() override { Begin(GetParam()); }
 protected:
  // Where a screenshot is kept: the two desktops run side by side.
  std::string Shot(const std::string& name) const {
    return std::string(RQ_SHOT_DIR "/") + (GetParam() ? "openbox-" : "bare-") + name + ".png";
  }
};
class OnBareDesktop : public Desktop, public ::testing::Test {
  void SetUp() override { Begin(false); }
};

INSTANTIATE_TEST_SUITE_P(Desktops, OnDesktop, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Openbox" : "Bare"; });

// Square at the start and after every resize, resting when nothing moves, saved on Escape.
TEST_P(OnDesktop, StaysSquareRestsWhenStillAndSavesOnEscape) {
  const std::string window = StartGame();
  Geometry g = DesktopSession::SquareSettled(window);
  EXPECT_EQ(g.height, GetParam() ? 949 : 981);  // 1024 less the frame's allowance
  ExpectOpening(DesktopSession::Screenshot(g, Shot("start")), g.width);
  const struct { int width, height, side; } resizes[] = {
      {800, 700, 700}, {600, 900, 900}, {2000, 2000, GetParam() ? 999 : 1024}, {1, 1, 256}, {700, 700, 700}};
  for (const auto& r : resizes) {
    Capture("xdotool windowsize " + window + " " + std::to_string(r.width) + " " + std::to_string(r.height));
    g = DesktopSession::SquareSettled(window);
    EXPECT_TRUE(g.width == r.side && g.height == r.side && g.y + g.height <= 1024)  // red's side on the screen
        << r.width << "x" << r.height << ": " << g.width << "x" << g.height << " at " << g.y;
  }
  ExpectOpening(DesktopSession::Screenshot(g, Shot("700")), g.width);
  // The pulsing markers of a hovered piece are drawn on; away from them the game rests.
  const long hovering = DesktopSession::TicksWithPointerAt(game, g.x + 152 * 700 / 1024, g.y + 680 * 700 / 1024);
  const long resting = DesktopSession::TicksWithPointerAt(game, g.x + 512 * 700 / 1024, g.y + 500 * 700 / 1024);
  const long outside = DesktopSession::TicksWithPointerAt(game, 1279, 1023);
  EXPECT_LT(resting * 5, hovering) << "resting " << resting << ", hovering " << hovering;
  EXPECT_LT(outside * 5, hovering) << "outside " << outside << ", hovering " << hovering;
  Capture(std::string("xdotool ") + (GetParam() ? "windowminimize " : "windowunmap ") + window + " sleep 0.5 " +
          (GetParam() ? "windowactivate " : "windowmap ") + window);
  g = DesktopSession::SquareSettled(window);
  EXPECT_EQ(g.height, 700);
  std::this_thread::sleep_for(500ms);
  ExpectOpening(DesktopSession::Screenshot(g, Shot("restored")), g.width);
  LeaveWithEscape(window);
  EXPECT_FALSE(Capture("find " + desk.work + " -name 'CurrentGame_*' -size +0").empty()) << "no game saved";
}

// A drag and an Escape over the game while the settings dialog or a message box is open
// are thrown away: the board and the saved game show no move, the game runs on.
TEST_P(OnDesktop, InputBehindModalWindowsIsDiscarded) {
  const std::string window = StartGame();
  const Geometry g = DesktopSession::SquareSettled(window);
  const struct { const char *key, *title, *close; } modals[] = {{"s", "^Ravenquill Settings$", "Escape"},
                                                                {"n", "^New game\\?$", "alt+n"}};
  for (const auto& m : modals) {
    SCOPED_TRACE(m.title);
    Capture("xdotool windowfocus --sync " + window + " mousemove --window " + window + " 500 500 keydown " + m.key +
            " sleep 0.25 keyup " + m.key);
    const std::string modal = DesktopSession::WaitForWindow(m.title);
    ASSERT_FALSE(modal.empty());
    Capture("xdotool " + SoldierA3ToA4(window, g.height) + " mousemove --window " + window + " 300 300 key --window " +
            window + " Escape sleep 0.3 windowfocus --sync " + modal + " sleep 0.2 key " + m.close);
    ASSERT_TRUE(WaitUntil([&] { return Capture("xwininfo -id " + modal).find("IsViewable") == std::string::npos; }, 10s));
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(WaitFor(game, 0ms), -1) << "the Escape behind the box ended the game";
    // The uncovered part is drawn again: at once on a quiet machine, within seconds on a loaded one.
    std::string wrong;
    const std::string shot = Shot(std::string("after-") + m.key);
    EXPECT_TRUE(WaitUntil([&] { return ShowsOpening(DesktopSession::Screenshot(g, shot), g.width, wrong); }, 5s)) << wrong;
  }
  LeaveWithEscape(window);
  EXPECT_NE(Capture("cat " + desk.work + "/CurrentGame_*.vrd5").find("Recorded moves: 0"), std::string::npos);
}

// Two players' copies in two folders never wait for each other: while one asks whether to
// start a new game, the other draws on and plays a drag at once, and ends on Escape.
TEST_P(OnDesktop, ACopyNeverWaitsForAnotherCopysBox) {
  const std::string first = StartGame();
  const pid_t firstGame = game;
  const std::string second = StartGame(desk.LinkedFolder("second"));
  const Geometry g = DesktopSession::SquareSettled(second);
  Capture("xdotool windowfocus --sync " + first + " mousemove --window " + first + " 500 500 keydown n sleep 0.25 keyup n");
  const std::string question = DesktopSession::WaitForWindow("^New game\\?$", firstGame);
  ASSERT_FALSE(question.empty()) << "no question in the first copy";
  Capture("xdotool " + std::string(GetParam() ? "windowactivate --sync " : "windowraise ") + second + " sleep 0.5");
  const std::vector<uint8_t> before = DesktopSession::Screenshot(g, Shot("second-before"));
  Capture("xdotool " + SoldierA3ToA4(second, g.height));
  EXPECT_TRUE(DesktopSession::Screenshot(g, Shot("second-after")) != before) << "the second copy stopped drawing";
  LeaveWithEscape(second);
  EXPECT_NE(Capture("cat " + desk.work + "/second/CurrentGame_*.vrd5").find("\n54 --> 45 -  "), std::string::npos)
      << "the drag was not played";
  EXPECT_EQ(WaitFor(firstGame, 0ms), -1) << "the first copy runs on";
  Capture("xdotool windowfocus --sync " + question + " sleep 0.2 key alt+n");
  game = firstGame;
  LeaveWithEscape(first);
}

// A second copy in a running copy's folder, and one started where no data is: each says so
// and ends, touching no file.
TEST_F(OnBareDesktop, RefusesASharedFolderAndMissingData) {
  const std::string window = StartGame();
  const std::string empty = desk.work + "/empty";
  std::filesystem::create_directories(empty);
  const struct { const char* what; std::string dir; bool leaveFirst; } cases[] = {
      {"the folder of a running copy", desk.work, false},
      {"no data here nor installed", empty, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.leaveFirst) LeaveWithEscape(window);
    const std::string before = Capture("ls -lAR --time-style=full-iso " + desk.work);
    const pid_t second = Spawn({RQ_RAVENQUILL}, c.dir);
    desk.children.push_back(second);
    const std::string box = DesktopSession::WaitForWindow("^Ravenquill$");
    EXPECT_FALSE(box.empty()) << "no message";
    Capture("xdotool windowfocus --sync " + box + " sleep 0.2 key Return");
    const int status = WaitFor(second, 10s);
    EXPECT_TRUE(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(Capture("ls -lAR --time-style=full-iso " + desk.work), before);
    if (!c.leaveFirst) {
      EXPECT_EQ(WaitFor(game, 0ms), -1) << "the first copy runs on";
    }
  }
}

// A game that cannot be saved at exit, on a full disk: the box comes back when closed, and
// the file chooser keeps the game elsewhere before the game ends.
TEST_F(OnBareDesktop, AGameThatCannotBeSavedAtExitIsSavedElsewhere) {
  RQ_REQUIRE_ENVIRONMENT(geteuid() == 0, "root, to mount a tmpfs");
  const std::string full = desk.LinkedFolder("full"), kept = desk.work + "/kept.vrd5";
  std::filesystem::remove_all(full);
  std::filesystem::create_directory(full);
  RQ_REQUIRE_ENVIRONMENT(mount("tmpfs", full.c_str(), "tmpfs", 0, "size=64k") == 0, "a tmpfs mounted");
  const std::unique_ptr<const char, void (*)(const char*)> unmount(full.c_str(), [](const char* d) { umount2(d, MNT_DETACH); });
  for (const char* data : {"Textures", "Documentation", "arrowcop.cur"})
    std::filesystem::create_symlink(std::filesystem::read_symlink(desk.work + "/" + data), full + "/" + data);
  {
    std::ofstream filler(full + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size()).flush()) {
    }
  }
  const std::string window = StartGame(full);
  Capture("xdotool " + SoldierA3ToA4(window, DesktopSession::SquareSettled(window).height) + " key --window " + window +
          " Escape");
  const std::string box = DesktopSession::WaitForWindow("^Game not saved$", game);
  ASSERT_FALSE(box.empty()) << "the exit said nothing";
  Capture("xdotool windowfocus --sync " + box + " sleep 0.2 key Escape sleep 1");
  const std::string again = DesktopSession::WaitForWindow("^Game not saved$", game);
  ASSERT_FALSE(again.empty()) << "closing the box lost the game";
  Capture("xdotool windowfocus --sync " + again + " sleep 0.2 key Return");
  const std::string chooser = DesktopSession::WaitForWindow("^Save the Game Elsewhere$", game);
  ASSERT_FALSE(chooser.empty()) << "no file chooser";
  Capture("xdotool windowfocus --sync " + chooser + " sleep 0.5 key ctrl+a type --delay 20 '" + kept +
          "'; xdotool sleep 0.3 key Return");
  const int status = WaitFor(game, 10s);
  EXPECT_TRUE(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  const std::string saved = Capture("cat " + kept);
  EXPECT_NE(saved.find("\n54 --> 45 -  "), std::string::npos) << "the drag is not in the game kept";
  EXPECT_NE(saved.find("\nEaten green pieces: "), std::string::npos) << "the game kept is not whole";
}

}  // namespace
}  // namespace rq::test
