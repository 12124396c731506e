// A real X display for end-to-end runs: its own Xvfb, openbox on request, a scratch
// working folder holding links to the run-time data, child processes, xdotool and
// ImageMagick. Everything started is ended by the destructor.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/processes.h"

namespace rq::test {

struct Geometry { int x = 0, y = 0, width = 0, height = 0; };

class DesktopSession {
 public:
  // Xvfb at 1280x1024 (and openbox when `managed`); `dataFrom` is linked into the folder.
  // No reset: the probes below must not leave the server resetting as the game connects.
  bool Start(bool managed, const std::string& dataFrom) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    xvfb_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"});
    close(fds[1]);
    char number[16] = {};
    const bool up = read(fds[0], number, sizeof number - 1) > 0;
    close(fds[0]);
    if (!up) return false;
    setenv("DISPLAY", (":" + std::to_string(std::atoi(number))).c_str(), 1);
    char dir[] = "/tmp/rq-desktop-XXXXXX";
    if (mkdtemp(dir) == nullptr) return false;
    work = dir;
    for (const char* data : {"Textures", "Documentation", "arrowcop.cur"})
      std::filesystem::create_symlink(std::filesystem::path(dataFrom) / data, work + "/" + data);
    if (!managed) return true;
    children.push_back(Spawn({"openbox", "--sm-disable"}, work));
    return WaitUntil([] { return !Capture("xprop -root _NET_SUPPORTING_WM_CHECK | grep window").empty(); }, 20s);
  }
  ~DesktopSession() {
    for (pid_t pid : children) {
      if (pid <= 0 || WaitFor(pid, 0ms) != -1) continue;
      kill(pid, SIGKILL);
      WaitFor(pid, 5s);
    }
    if (xvfb_ > 0) {
      kill(xvfb_, SIGTERM);
      WaitFor(xvfb_, 5s);
    }
    if (!work.empty()) std::filesystem::remove_all(work);
  }

  // The first shown window whose name matches, of process `pid` when one is named, or empty after 20 s.
  static std::string WaitForWindow(const std::string& name, pid_t pid = 0) {
    const std::string owner = pid > 0 ? "--all --pid " + std::to_string(pid) + " " : "";
    std::string id;
    WaitUntil([&] {
      return !(id = Capture("xdotool search --onlyvisible " + owner + "--name '" + name + "' | head -1")).empty();
    }, 20s);
    return id;
  }
  // A folder beside the scratch folder with its own links to the run-time data, as a second player's.
  std::string LinkedFolder(const std::string& name) const {
    const std::string dir = work + "/" + name;
    std::filesystem::create_directory(dir);
    for (const char* data : {"Textures", "Documentation", "arrowcop.cur"})
      std::filesystem::create_symlink(std::filesystem::read_symlink(work + "/" + data), dir + "/" + data);
    return dir;
  }
  // The client area on the screen, as xwininfo tells it, under a window manager too.
  static Geometry Where(const std::string& window) {
    Geometry g;
    std::sscanf(Capture("xwininfo -id " + window + " | awk '/Absolute upper-left [XY]|Width|Height/ {print $NF}' | xargs").c_str(),
                "%d %d %d %d", &g.x, &g.y, &g.width, &g.height);
    return g;
  }
  // A crop of the screen as RGB bytes, kept as `png` for a person to see.
  static std::vector<uint8_t> Screenshot(const Geometry& g, const std::string& png) {
    Capture("import -window root -crop " + std::to_string(g.width) + "x" + std::to_string(g.height) + "+" +
            std::to_string(g.x) + "+" + std::to_string(g.y) + " +repage " + png + " && convert " + png +
            " -depth 8 rgb:" + png + ".rgb");
    std::ifstream in(png + ".rgb", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(png + ".rgb");
    return bytes;
  }
  // The window once it has been square and still for 10 looks, or as it is after 10 s.
  static Geometry SquareSettled(const std::string& window) {
    Geometry g, before;
    int steady = 0;
    WaitUntil([&] {
      g = Where(window);
      steady = g.width == g.height && g.width == before.width && g.y == before.y ? steady + 1 : 0;
      before = g;
      return steady >= 10;
    }, 10s);
    return g;
  }
  // Processor ticks `pid` uses over 1.5 s with the pointer at screen point x, y.
  static long TicksWithPointerAt(pid_t pid, int x, int y) {
    const auto ticks = [&] {
      return std::atol(Capture("awk '{print $14 + $15}' /proc/" + std::to_string(pid) + "/stat").c_str());
    };
    Capture("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " sleep 0.5");
    const long before = ticks();
    std::this_thread::sleep_for(1500ms);
    return ticks() - before;
  }

  std::string work;             // the scratch working folder
  std::vector<pid_t> children;  // killed at the end unless they ended
 private:
  pid_t xvfb_ = -1;
};

}  // namespace rq::test
