// The real program in a real window: under its own Xvfb, in a fresh working
// directory with the run-time data, driven with xdotool and looked at with ImageMagick.
#include <fcntl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl_platform.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Output of a shell command, or empty.
std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

// Starts `argv` in `dir` (keeping `keepFd` open for it); the child's id, or -1.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& dir, int keepFd = -1) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(127);
  const int devnull = open("/dev/null", O_RDWR);
  dup2(devnull, 0);
  dup2(devnull, 1);
  if (keepFd >= 0) dup2(devnull, 2);  // the X server's chatter
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

// Waits up to `limit` for the child to end; its wait status, or -1 when it did not.
int WaitFor(pid_t pid, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < end) {
    if (waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(20ms);
  }
  return -1;
}

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
};

// The client area on the screen; xwininfo tells it right under a window manager too.
Geometry WindowGeometry(const std::string& window) {
  Geometry g;
  const std::string out = Capture("xwininfo -id " + window);
  const struct {
    const char* label;
    int* field;
  } items[] = {{"Absolute upper-left X:", &g.x}, {"Absolute upper-left Y:", &g.y},
               {"Width:", &g.width}, {"Height:", &g.height}};
  for (const auto& item : items) {
    const size_t at = out.find(item.label);
    if (at != std::string::npos) *item.field = std::atoi(out.c_str() + at + std::strlen(item.label));
  }
  return g;
}

// Waits up to `limit` for `done`; whether it came.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

// The window's geometry once it has been square for half a second, or as it is after `limit`.
Geometry SettledSquare(const std::string& window, std::chrono::milliseconds limit = 10s) {
  Geometry g, before;
  int steady = 0;
  WaitUntil([&] {
    g = WindowGeometry(window);
    steady = g.width == g.height && g.width == before.width && g.y == before.y ? steady + 1 : 0;
    before = g;
    return steady >= 10;
  }, limit);
  return g;
}

// Processor time the process has used, in clock ticks.
long CpuTicks(pid_t pid) {
  return std::atol(Capture("awk '{print $14 + $15}' /proc/" + std::to_string(pid) + "/stat").c_str());
}

// The window's client area as RGB bytes, and a PNG beside the test for a person to see.
std::vector<uint8_t> Screenshot(const std::string& window, const Geometry& g, const std::string& png) {
  const std::string raw = png + ".rgb";
  const std::string crop = std::to_string(g.width) + "x" + std::to_string(g.height) + "+" +
                           std::to_string(g.x) + "+" + std::to_string(g.y);
  Capture("import -window root -crop " + crop + " +repage " + png);
  Capture("convert " + png + " -depth 8 rgb:" + raw);
  std::ifstream in(raw, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::remove(raw);
  (void)window;
  return bytes;
}

enum class Ink { None, Red, Green };

// The ink of the piece on a board point, found by the strokes of its character.
Ink InkAt(const std::vector<uint8_t>& rgb, int side, int column, int row) {
  const double scale = side / 1024.0;
  const int cx = static_cast<int>((152 + 90 * column) * scale);
  const int cy = static_cast<int>((140 + 90 * row) * scale);
  const int reach = static_cast<int>(26 * scale);
  int red = 0, green = 0;
  for (int y = cy - reach; y <= cy + reach; ++y)
    for (int x = cx - reach; x <= cx + reach; ++x) {
      if (x < 0 || y < 0 || x >= side || y >= side) continue;
      const uint8_t* p = &rgb[(static_cast<size_t>(y) * side + x) * 3];
      if (p[0] > 120 && p[0] - p[1] > 90 && p[0] - p[2] > 90) ++red;
      if (p[1] - p[0] > 30 && p[1] - p[2] > 15) ++green;
    }
  const int enough = static_cast<int>(25 * scale * scale);
  if (red > enough && red > 3 * green) return Ink::Red;
  if (green > enough && green > 3 * red) return Ink::Green;
  return Ink::None;
}

// What the opening position shows on each point: green on rows 0, 2, 3, red on 6, 7, 9.
Ink OpeningInk(int column, int row) {
  const bool back = row == 0 || row == 9;
  const bool cannon = (row == 2 || row == 7) && (column == 1 || column == 7);
  const bool soldier = (row == 3 || row == 6) && column % 2 == 0;
  if (!back && !cannon && !soldier) return Ink::None;
  return row < 5 ? Ink::Green : Ink::Red;
}

// The board's wood between the pieces: the river band's colour is far from either ink.
void ExpectOpeningPosition(const std::vector<uint8_t>& rgb, int side) {
  ASSERT_EQ(rgb.size(), static_cast<size_t>(side) * side * 3);
  int pieces = 0;
  for (int row = 0; row < 10; ++row)
    for (int column = 0; column < 9; ++column) {
      const Ink ink = InkAt(rgb, side, column, row);
      EXPECT_EQ(static_cast<int>(ink), static_cast<int>(OpeningInk(column, row)))
          << "point " << column << "," << row << " at side " << side;
      pieces += ink != Ink::None;
    }
  EXPECT_EQ(pieces, 32);
  // Wood in the middle of the river: warm, light, unlike the black of an empty window.
  const uint8_t* p = &rgb[(static_cast<size_t>(side * 530 / 1024) * side + side * 512 / 1024) * 3];
  EXPECT_GT(p[0], 150);
  EXPECT_GT(p[0], p[2] + 40);
}

class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Capture("command -v Xvfb").empty() || Capture("command -v xdotool").empty() ||
        Capture("command -v import").empty())
      FAIL() << "Xvfb, xdotool and ImageMagick are needed (scripts/setup.sh installs them)";
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    xvfb_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp"},
                  "", fds[1]);
    close(fds[1]);
    char number[16] = {};
    ssize_t got = 0;
    for (int tries = 0; tries < 100 && got <= 0; ++tries) got = read(fds[0], number, sizeof number - 1);
    close(fds[0]);
    ASSERT_GT(got, 0) << "Xvfb did not start";
    display_ = ":" + std::to_string(std::atoi(number));
    setenv("DISPLAY", display_.c_str(), 1);

    char dir[] = "/tmp/rq-window-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    work_ = dir;
    for (const char* data : {"Textures", "Documentation", "arrowcop.cur"})
      if (fs::exists(fs::path(RQ_REPO_ROOT) / data))
        fs::create_symlink(fs::path(RQ_REPO_ROOT) / data, fs::path(work_) / data);
  }

  void TearDown() override {
    for (pid_t pid : {game_, second_, wm_})
      if (pid > 0 && WaitFor(pid, 0ms) == -1) {
        kill(pid, SIGKILL);
        WaitFor(pid, 5s);
      }
    if (xvfb_ > 0) {
      kill(xvfb_, SIGTERM);
      WaitFor(xvfb_, 5s);
    }
    if (!work_.empty()) fs::remove_all(work_);
  }

  // The id of the first shown window whose name matches, once it is mapped, or empty.
  static std::string WaitForWindow(const char* name = "^Ravenquill v1.0$") {
    std::string id;
    WaitUntil([&] {
      id = Capture(std::string("xdotool search --onlyvisible --name '") + name + "' | head -1");
      while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
      return !id.empty();
    }, 20s);
    return id;
  }

  // openbox on the display, once it has taken charge of it.
  void StartWindowManager() {
    if (Capture("command -v openbox").empty()) FAIL() << "openbox is needed (scripts/setup.sh installs it)";
    wm_ = Spawn({"openbox", "--sm-disable"}, work_, 1);
    ASSERT_TRUE(WaitUntil([] { return !Capture("xprop -root _NET_SUPPORTING_WM_CHECK | grep window").empty(); }, 20s))
        << "openbox did not start";
  }

  // The files of the working folder with their sizes and times, to see that none changed.
  std::string FolderState() const { return Capture("ls -lA --time-style=full-iso " + work_); }

  // Escape over the game window; the game saves and ends.
  void LeaveWithEscape(const std::string& window) {
    Capture("xdotool windowfocus " + window + " mousemove --window " + window + " 200 200");
    Capture("xdotool key --window " + window + " Escape");
    const int status = WaitFor(game_, 10s);
    ASSERT_NE(status, -1) << "Escape did not end the game";
    game_ = -1;
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }

  // Peak resident memory of the game, in kilobytes.
  long PeakMemoryKb() const {
    std::ifstream status("/proc/" + std::to_string(game_) + "/status");
    std::string line;
    while (std::getline(status, line))
      if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
  }

  pid_t xvfb_ = -1;
  pid_t game_ = -1;
  pid_t second_ = -1;
  pid_t wm_ = -1;
  std::string display_;
  std::string work_;
};

// The same on a bare display and under a real window manager (openbox).
class OnDesktop : public RealWindow, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    RealWindow::SetUp();
    if (!HasFatalFailure() && GetParam()) StartWindowManager();
  }
  bool managed() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Desktops, OnDesktop, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Openbox" : "Bare"; });

TEST_P(OnDesktop, ShowsTheBoardStaysSquareAndSavesOnEscape) {
  game_ = Spawn({RQ_RAVENQUILL}, work_);
  ASSERT_GT(game_, 0);
  const std::string window = WaitForWindow();
  ASSERT_FALSE(window.empty()) << "no window appeared";
  std::this_thread::sleep_for(1500ms);  // the first frames, with the textures uploaded

  // The desktop groups the window with its launcher by this class (StartupWMClass).
  EXPECT_NE(Capture("xprop -id " + window + " WM_CLASS").find("\"Ravenquill\", \"Ravenquill\""),
            std::string::npos);
  Geometry g = SettledSquare(window);
  EXPECT_EQ(g.width, g.height);
  // 1024 less the allowance for the frame: 43 by default on a bare display, 75 for
  // openbox's frame (20 above, 5 below, 1 at the sides).
  EXPECT_EQ(g.height, managed() ? 949 : 981);
  ExpectOpeningPosition(Screenshot(window, g, RQ_SHOT_DIR "/ravenquill-start.png"), g.width);

  if (managed()) {
    // openbox's corner grip dragged as a hand does: the side follows the height, so a
    // sideways drag ends as square as it began. (First, before a tiny size can upset
    // openbox's frame.)
    const struct Drag {
      int dx, dy, side;
    } drags[] = {{-150, -100, g.height - 100}, {200, 0, g.height - 100}, {-200, 0, g.height - 100}};
    for (const Drag& d : drags) {
      SCOPED_TRACE("corner dragged by " + std::to_string(d.dx) + "," + std::to_string(d.dy));
      const int gripX = g.x + g.width - 2, gripY = g.y + g.height + 3;
      Capture("xdotool mousemove " + std::to_string(gripX) + " " + std::to_string(gripY) + " sleep 0.2 mousedown 1");
      for (int step = 1; step <= 8; ++step)
        Capture("xdotool mousemove " + std::to_string(gripX + d.dx * step / 8) + " " +
                std::to_string(gripY + d.dy * step / 8) + " sleep 0.06");
      Capture("xdotool sleep 0.2 mouseup 1");
      g = SettledSquare(window);
      EXPECT_EQ(g.width, d.side) << "the drag left the window non-square";
      EXPECT_EQ(g.height, d.side);
    }
  }

  // The largest square whose frame fits the 1024 lines of the screen, and the smallest.
  const int largest = managed() ? 999 : 1024;
  const struct Resize {
    int width, height, side;
  } resizes[] = {{800, 700, 700}, {600, 900, 900}, {1000, 620, 620}, {2000, 2000, largest}, {1, 1, 256}};
  for (const Resize& r : resizes) {
    SCOPED_TRACE(std::to_string(r.width) + "x" + std::to_string(r.height));
    Capture("xdotool windowsize " + window + " " + std::to_string(r.width) + " " +
            std::to_string(r.height));
    g = SettledSquare(window);
    EXPECT_EQ(g.width, r.side);
    EXPECT_EQ(g.height, r.side);
    EXPECT_LE(g.y + g.height, 1024) << "red's side off the screen";
    if (r.side > 256)
      ExpectOpeningPosition(
          Screenshot(window, g, RQ_SHOT_DIR "/ravenquill-" + std::to_string(r.side) + ".png"), g.width);
  }
  Capture("xdotool windowsize " + window + " 700 700");
  const int side = SettledSquare(window).height;
  ASSERT_EQ(side, 700);

  if (managed()) {
    // Maximised, the window keeps the window manager's size, asking for nothing, and shows
    // the board fitted at its top left; a second double click on the title brings the square back.
    g = WindowGeometry(window);
    const auto doubleClickTitle = [&](const Geometry& at) {
      Capture("xdotool mousemove " + std::to_string(at.x + 300) + " " + std::to_string(at.y - 10) +
              " click --repeat 2 --delay 80 1");
    };
    doubleClickTitle(g);
    EXPECT_TRUE(WaitUntil([&] { return WindowGeometry(window).width >= 1200; }, 10s));
    std::this_thread::sleep_for(1000ms);
    Geometry full = WindowGeometry(window);
    EXPECT_GE(full.width, 1200) << "the maximised size was not kept";
    Geometry fitted = full;
    fitted.width = full.height;
    ExpectOpeningPosition(Screenshot(window, fitted, RQ_SHOT_DIR "/ravenquill-maximised.png"), fitted.width);
    doubleClickTitle(full);
    EXPECT_EQ(SettledSquare(window).height, side);
  }

  // Minimised, no frame is drawn; restored, the board is back at its size.
  const long drawing = CpuTicks(game_);
  std::this_thread::sleep_for(1500ms);
  const long drawn = CpuTicks(game_) - drawing;
  Capture(std::string("xdotool ") + (managed() ? "windowminimize " : "windowunmap ") + window);
  EXPECT_TRUE(WaitUntil([&] { return Capture("xwininfo -id " + window).find("IsViewable") == std::string::npos; }, 10s));
  std::this_thread::sleep_for(500ms);
  const long resting = CpuTicks(game_);
  std::this_thread::sleep_for(1500ms);
  const long rested = CpuTicks(game_) - resting;
  EXPECT_LT(rested * 3, drawn) << "minimised: " << rested << " ticks, shown: " << drawn;
  Capture(std::string("xdotool ") + (managed() ? "windowactivate " : "windowmap ") + window);
  EXPECT_FALSE(WaitForWindow().empty());
  g = SettledSquare(window);
  EXPECT_EQ(g.height, side);
  std::this_thread::sleep_for(500ms);
  ExpectOpeningPosition(Screenshot(window, g, RQ_SHOT_DIR "/ravenquill-restored.png"), g.width);

  const long peakKb = PeakMemoryKb();
  EXPECT_GT(peakKb, 0);
  RecordProperty("peak_memory_kb", static_cast<int>(peakKb));
  std::printf("peak memory of the running game: %ld kB\n", peakKb);

  LeaveWithEscape(window);
  bool savedGame = false, savedSettings = false;
  for (const auto& entry : fs::directory_iterator(work_)) {
    const std::string name = entry.path().filename().string();
    savedGame |= name.rfind("CurrentGame_", 0) == 0 && entry.file_size() > 0;
    savedSettings |= name.rfind("Settings_", 0) == 0 && entry.file_size() > 0;
  }
  EXPECT_TRUE(savedGame) << "the game in progress is saved";
  EXPECT_TRUE(savedSettings) << "the settings are written";
}

// A drag and an Escape over the game window while the settings dialog or a message box
// is open are thrown away: the board and the saved game show no move, the game runs on.
TEST_P(OnDesktop, InputBehindModalWindowsIsDiscarded) {
  game_ = Spawn({RQ_RAVENQUILL}, work_);
  const std::string window = WaitForWindow();
  ASSERT_FALSE(window.empty()) << "no window appeared";
  std::this_thread::sleep_for(1500ms);
  const Geometry g = SettledSquare(window);
  const auto px = [&](int scene) { return std::to_string(scene * g.height / 1024); };
  const struct Modal {
    const char* key;
    const char* title;
    const char* close;  // the keys that close it with Cancel or No
  } modals[] = {{"s", "^Ravenquill Settings$", "Escape"}, {"n", "^New game\\?$", "alt+n"}};
  for (const Modal& m : modals) {
    SCOPED_TRACE(m.title);
    Capture("xdotool windowfocus --sync " + window + " mousemove --window " + window + " 500 500");
    Capture(std::string("xdotool keydown ") + m.key + " sleep 0.25 keyup " + m.key);
    const std::string modal = WaitForWindow(m.title);
    ASSERT_FALSE(modal.empty());
    // The soldier on a3 dragged to a4, in the board's left column clear of the box.
    const std::string move = "xdotool mousemove --window " + window + " " + px(152) + " ";
    Capture(move + px(680) + " sleep 0.2 mousedown 1 sleep 0.2");
    Capture(move + px(635) + " sleep 0.2");
    Capture(move + px(590) + " sleep 0.2 mouseup 1 sleep 0.2");
    Capture("xdotool mousemove --window " + window + " 300 300 key --window " + window + " Escape");
    std::this_thread::sleep_for(300ms);
    Capture("xdotool windowfocus --sync " + modal + " sleep 0.2 key " + m.close);
    ASSERT_TRUE(WaitUntil([&] { return Capture("xwininfo -id " + modal).find("IsViewable") == std::string::npos; }, 10s));
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(WaitFor(game_, 0ms), -1) << "the Escape behind the box ended the game";
    ExpectOpeningPosition(Screenshot(window, g, RQ_SHOT_DIR "/ravenquill-after-" + std::string(m.key) + ".png"),
                          g.width);
  }
  LeaveWithEscape(window);
  const std::string saved = Capture("cat " + work_ + "/CurrentGame_*.vrd5");
  EXPECT_NE(saved.find("Recorded moves: 0"), std::string::npos) << saved;
}

// A second copy in the folder of a running one, and a copy whose lock file another user
// could reach, say so and end without touching a file.
TEST_F(RealWindow, RefusesToShareTheFolderOrAnUnsafeLock) {
  game_ = Spawn({RQ_RAVENQUILL}, work_);
  const std::string window = WaitForWindow();
  ASSERT_FALSE(window.empty()) << "no window appeared";
  char runtime[] = "/tmp/rq-runtime-XXXXXX";
  ASSERT_NE(mkdtemp(runtime), nullptr);
  ASSERT_EQ(symlink("/tmp", (std::string(runtime) + "/Vardo.lock").c_str()), 0);
  const struct Case {
    const char* what;
    const char* runtimeDir;  // null: as the test runs
    bool leaveFirst;         // the first copy saves and leaves before
  } cases[] = {{"the folder of a running copy", nullptr, false},
               {"a lock file that is a link", runtime, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.leaveFirst) LeaveWithEscape(window);
    const std::string before = FolderState();
    if (c.runtimeDir != nullptr) setenv("XDG_RUNTIME_DIR", c.runtimeDir, 1);
    second_ = Spawn({RQ_RAVENQUILL}, work_);
    if (c.runtimeDir != nullptr) unsetenv("XDG_RUNTIME_DIR");
    const std::string box = WaitForWindow("^Ravenquill$");
    EXPECT_FALSE(box.empty()) << "no message";
    if (!box.empty()) Capture("xdotool windowfocus --sync " + box + " sleep 0.2 key Return");
    const int status = WaitFor(second_, 10s);
    ASSERT_NE(status, -1) << "the refused copy keeps running";
    second_ = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_EQ(FolderState(), before);
    if (!c.leaveFirst) EXPECT_EQ(WaitFor(game_, 0ms), -1) << "the first copy runs on";
  }
  fs::remove_all(runtime);
}

// The desktop services on a real X display: every cursor the game asks for can be
// made, and one that cannot falls back to the arrow instead of hiding the pointer.
TEST_F(RealWindow, PlatformMakesTheGamesCursors) {
  rq::SdlPlatform platform;
  ASSERT_TRUE(platform.VideoReady());
  const struct Case {
    const char* name;
    std::function<rq::CursorHandle()> make;
    bool made;
  } cases[] = {
      {"arrow", [&] { return platform.SystemCursor(rq::CursorKind::Arrow); }, true},
      {"busy", [&] { return platform.SystemCursor(rq::CursorKind::Busy); }, true},
      {"arrow with a plus from arrowcop.cur",
       [&] { return platform.CursorFromFile(RQ_REPO_ROOT "/arrowcop.cur"); }, true},
      {"a missing file", [&] { return platform.CursorFromFile("/nonexistent.cur"); }, false},
      {"a file that is no cursor",
       [&] { return platform.CursorFromFile(RQ_REPO_ROOT "/Textures/Board.tga"); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const rq::CursorHandle cursor = c.make();
    EXPECT_EQ(cursor != nullptr, c.made);
    platform.SetCursor(cursor);
    EXPECT_NE(SDL_GetCursor(), nullptr) << "the pointer never disappears";
  }
  const std::string name = platform.ComputerName();
  EXPECT_FALSE(name.empty());
  EXPECT_LE(name.size(), 15u);
}

// Without any display the program says why on stderr and fails, touching no file.
TEST_F(RealWindow, WithoutADisplayReportsAndFails) {
  const std::string out = Capture("cd " + work_ + " && env -u DISPLAY -u WAYLAND_DISPLAY " +
                                  RQ_RAVENQUILL + " 2>&1; echo \"exit=$?\"");
  EXPECT_NE(out.find("ERROR"), std::string::npos) << out;
  EXPECT_NE(out.find("exit=1"), std::string::npos) << out;
  for (const auto& entry : fs::directory_iterator(work_))
    EXPECT_TRUE(entry.is_symlink()) << entry.path() << " was written";
}

}  // namespace
