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

Geometry WindowGeometry(const std::string& window) {
  Geometry g;
  const std::string out = Capture("xdotool getwindowgeometry " + window);
  const size_t pos = out.find("Position: "), geo = out.find("Geometry: ");
  if (pos != std::string::npos) std::sscanf(out.c_str() + pos, "Position: %d,%d", &g.x, &g.y);
  if (geo != std::string::npos) std::sscanf(out.c_str() + geo, "Geometry: %dx%d", &g.width, &g.height);
  return g;
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
    if (game_ > 0 && WaitFor(game_, 0ms) == -1) {
      kill(game_, SIGKILL);
      WaitFor(game_, 5s);
    }
    if (xvfb_ > 0) {
      kill(xvfb_, SIGTERM);
      WaitFor(xvfb_, 5s);
    }
    if (!work_.empty()) fs::remove_all(work_);
  }

  // The game's window id once it is mapped, or empty.
  std::string WaitForWindow() {
    for (int tries = 0; tries < 200; ++tries) {
      std::string id = Capture("xdotool search --onlyvisible --name '^Ravenquill v1.0$' | head -1");
      while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
      if (!id.empty()) return id;
      std::this_thread::sleep_for(50ms);
    }
    return "";
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
  std::string display_;
  std::string work_;
};

TEST_F(RealWindow, ShowsTheBoardStaysSquareAndSavesOnEscape) {
  game_ = Spawn({RQ_RAVENQUILL}, work_);
  ASSERT_GT(game_, 0);
  const std::string window = WaitForWindow();
  ASSERT_FALSE(window.empty()) << "no window appeared";
  std::this_thread::sleep_for(1500ms);  // the first frames, with the textures uploaded

  // The desktop groups the window with its launcher by this class (StartupWMClass).
  EXPECT_NE(Capture("xprop -id " + window + " WM_CLASS").find("\"Ravenquill\", \"Ravenquill\""),
            std::string::npos);
  Geometry g = WindowGeometry(window);
  EXPECT_EQ(g.width, g.height);
  // Xvfb gives 1280x1024 and no frame: 1024 less the default allowance of 43.
  EXPECT_EQ(g.height, 981);
  ExpectOpeningPosition(Screenshot(window, g, RQ_SHOT_DIR "/ravenquill-start.png"), g.width);

  const struct Resize {
    int width, height, side;
  } resizes[] = {{800, 700, 700}, {600, 900, 900}, {1000, 620, 620}};
  for (const Resize& r : resizes) {
    SCOPED_TRACE(std::to_string(r.width) + "x" + std::to_string(r.height));
    Capture("xdotool windowsize " + window + " " + std::to_string(r.width) + " " +
            std::to_string(r.height));
    for (int tries = 0; tries < 100; ++tries) {
      g = WindowGeometry(window);
      if (g.width == g.height && g.width == r.side) break;
      std::this_thread::sleep_for(30ms);
    }
    EXPECT_EQ(g.width, r.side);
    EXPECT_EQ(g.height, r.side);
    std::this_thread::sleep_for(300ms);
    ExpectOpeningPosition(
        Screenshot(window, g, RQ_SHOT_DIR "/ravenquill-" + std::to_string(r.side) + ".png"),
        g.width);
  }

  const long peakKb = PeakMemoryKb();
  EXPECT_GT(peakKb, 0);
  RecordProperty("peak_memory_kb", static_cast<int>(peakKb));
  std::printf("peak memory of the running game: %ld kB\n", peakKb);

  Capture("xdotool mousemove --window " + window + " 200 200");
  Capture("xdotool key Escape");
  const int status = WaitFor(game_, 10s);
  ASSERT_NE(status, -1) << "Escape did not end the game";
  game_ = -1;
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  bool savedGame = false, savedSettings = false;
  for (const auto& entry : fs::directory_iterator(work_)) {
    const std::string name = entry.path().filename().string();
    savedGame |= name.rfind("CurrentGame_", 0) == 0 && entry.file_size() > 0;
    savedSettings |= name.rfind("Settings_", 0) == 0 && entry.file_size() > 0;
  }
  EXPECT_TRUE(savedGame) << "the game in progress is saved";
  EXPECT_TRUE(savedSettings) << "the settings are written";
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
