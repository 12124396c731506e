// Reference pictures: frames of the game drawn offscreen at 512x512 and compared with
// the PNGs in reference/. RQ_UPDATE_REFERENCES=1 writes them anew after an intended change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "offscreen_gl.h"
#include "player/guarded_game.h"
#include "render/scene.h"
#include "support/environment.h"
#include "support/fake_platform.h"

namespace rq::test {
namespace {

// Candidate moves of the piece on `from`, (square, status) pairs.
void Candidates(GameApplication& a, int from, std::initializer_list<std::pair<int, int32_t>> moves) {
  a.candidatesShown = true;
  for (auto [to, status] : moves) a.candidateMoves[a.candidateCount++] = Move{uint8_t(from), uint8_t(to), 0, status, 0};
}

// The computer's turn: searching, or (progress < 0) its move found and on its way.
void ComputersTurn(GameApplication& a, double progress, int depth) {
  GameLockGuard hold(a.game);
  a.game.usersTurn = false;
  a.game.searching = progress >= 0;
  a.game.progress = progress;
  a.game.record.depthLimit = depth;
  a.game.bestMove = Move{1, 20, 0, 0, 0};
}

const struct Scene {
  const char* name;
  int32_t pause;  // of the frame, ms
  void (*set)(GameApplication&);
} kScenes[] = {
    {"opening", 15, [](GameApplication&) {}},
    {"markers_of_every_status", 15,
     [](GameApplication& a) { Candidates(a, 81, {{36, 1}, {37, 2}, {38, -1}, {39, -2}, {40, -3}, {41, -4}, {42, -5}}); }},
    {"drag_over_prohibited_point_with_banner", 15,
     [](GameApplication& a) {
       Candidates(a, 81, {{72, 1}, {63, -2}});
       a.draggedPiece = DraggedPiece{a.savedBoard.squares[81], 81, 0, 0};
       a.savedBoard.squares[81] = 0;  // lifted
       a.pointerX = 76;  // over square 63
       a.pointerY = 385;
       a.explanationShown = true;
       a.explanationReason = 3;
     }},
    {"captured_pieces_latest_ringed", 15,
     [](GameApplication& a) {
       for (int i = 0; i < 9; ++i) a.eatenRed[a.eatenRedCount++] = uint8_t(0x41 + i);
       for (uint8_t code : {0x21, 0x2A, 0x26}) a.eatenGreen[a.eatenGreenCount++] = code;
       a.lastMove = Move{10, 20, 0x26, 0, 0};
     }},
    {"crystal_ball_half_done_depth_7", 100, [](GameApplication& a) { ComputersTurn(a, 0.5, 7); }},
    {"computer_move_halfway", 15,
     [](GameApplication& a) {
       ComputersTurn(a, -1, 0);
       a.computerMoveAnimating = true;
       a.animatedMove = a.game.bestMove;
       a.animationStart = a.platform->ElapsedMilliseconds() - 250;
     }},
    {"menu_new_game_pressed", 15,
     [](GameApplication& a) {
       a.menuHover = a.buttonDown = true;
       a.settings.autoHideMenu = false;
       a.hoveredMenuItem = 2;
     }},
    // The words of the menu and the banners in Chinese, the rest of the picture as in English.
    {"menu_and_banner_zh_CN", 15,
     [](GameApplication& a) {
       a.language = Language::SimplifiedChinese;
       a.settings.autoHideMenu = false;
       a.explanationShown = true;
       a.explanationReason = 2;
     }},
    {"menu_and_banner_zh_TW", 15,
     [](GameApplication& a) {
       a.language = Language::TraditionalChinese;
       a.settings.autoHideMenu = false;
       a.explanationShown = true;
       a.explanationReason = 3;
     }},
    // Playing green, the board turned to face the player: red's first move, the cannon to the centre.
    {"opening_green_at_the_bottom", 15,
     [](GameApplication& a) {
       a.game.computerSide = Red;
       a.boardTurned = true;
       a.savedBoard.squares[67] = a.savedBoard.squares[70];
       a.savedBoard.squares[70] = 0;
       a.lastMove = Move{70, 67, 0, 1, 0};
     }},
    // Key H twice: red's cannon h2 rung, its arrow over green's cannon to the horse it takes.
    {"hint_piece_and_arrow", 15,
     [](GameApplication& a) {
       a.hint.stage = 2;
       a.hint.move = Move{70, 7, 0, 0, 0};
     }},
    // Key E on the turned board: two chariots and the generals set up, a horse in the hand, the
    // tray beside the board, green's general ringed for green to move.
    {"editor_two_chariots_green_to_move", 15,
     [](GameApplication& a) {
       a.boardTurned = true;
       a.editor.active = true;
       a.editor.sideToMove = Green;
       for (auto [square, code] : {std::pair{3, 0x30}, {85, 0x50}, {72, 0x46}, {82, 0x47}}) a.editor.squares[square] = code;
       a.editor.heldCode = 0x48;
       a.pointerX = 300;
       a.pointerY = 300;
     }},
};

// Pixels where some channel is off by more than 24 (llvmpipe's rounding stays well under),
// and the difference image: those in red over the picture dimmed.
int Differences(const Picture& a, const Picture& b, Picture& diff) {
  diff = a;
  int count = 0;
  for (size_t i = 0; i < a.rgb.size(); i += 3) {
    bool off = false;
    for (int k = 0; k < 3; ++k) off = off || std::abs(a.rgb[i + k] - b.rgb[i + k]) > 24;
    count += off;
    for (int k = 0; k < 3; ++k) diff.rgb[i + k] = off ? (k == 0 ? 255 : 0) : a.rgb[i + k] / 4;
  }
  return count;
}

// The whole frame as the main loop draws it, the computer's turn first and the pause last.
TEST(Scene, FramesMatchTheReferencePictures) {
  FakePlatform platform;
  platform.sleepAdvancesClock = false;
  platform.SetClock(10000);  // a whole second: markers and glow at their full pulse
  OffscreenScene scene;
  std::string why;
  RQ_REQUIRE_ENVIRONMENT(scene.Open(platform, 512, why), why);
  const std::string out = std::getenv("RQ_ARTIFACTS") ? std::getenv("RQ_ARTIFACTS") : RQ_ARTIFACT_DIR;
  for (const Scene& s : kScenes) {
    SCOPED_TRACE(s.name);
    GameApplication& a = scene.Restart();
    s.set(a);
    platform.ClearRecords();
    DrawScene(a);
    EXPECT_EQ(platform.Sleeps(), std::vector<int32_t>{s.pause});
    const Picture got = scene.gl.ReadBack();
    UnderGameLock(a.game, [&] { a.game.searching = false; });  // there is no search to stop
    const std::string reference = std::string(RQ_REFERENCE_DIR "/") + s.name + ".png";
    if (std::getenv("RQ_UPDATE_REFERENCES")) {
      EXPECT_TRUE(WritePng(reference, got));
      continue;
    }
    Picture want, diff;
    if (!ReadPng(reference, want) || want.rgb.size() != got.rgb.size())
      want = {got.width, got.height, std::vector<uint8_t>(got.rgb.size())};
    const int differing = Differences(got, want, diff);
    if (differing <= got.width * got.height / 100000) continue;  // a depth dot is a few pixels
    std::filesystem::create_directories(out);
    const std::string drawn = out + "/" + s.name + ".png";
    const std::string difference = out + "/" + s.name + "-diff.png";
    EXPECT_TRUE(WritePng(drawn, got));
    EXPECT_TRUE(WritePng(difference, diff));
    ADD_FAILURE() << differing << " pixels differ from " << reference << " (black if missing); drawn: " << drawn
                  << ", differences in red: " << difference
                  << ". After an intended change, RQ_UPDATE_REFERENCES=1 writes the references anew.";
  }
}

// Square s's centre in a 512-pixel frame: x from the left, y from the top.
double PixelX(int s) { return 0.5 * (152 + 90 * (s % 9)); }
double PixelY(int s) { return 512 - 0.5 * (884 - 90 * (s / 9)); }

// The frame of the opening position with `set` applied.
Picture Frame(OffscreenScene& scene, const std::function<void(GameApplication&)>& set) {
  GameApplication& a = scene.Restart();
  set(a);
  DrawScene(a);
  return scene.gl.ReadBack();
}

// Whether some channel of the pixel at x, y differs by more than 24 between the pictures.
bool Changed(const Picture& a, const Picture& b, int x, int y) {
  const size_t i = (static_cast<size_t>(y) * a.width + x) * 3;
  for (size_t k = i; k < i + 3; ++k)
    if (std::abs(a.rgb[k] - b.rgb[k]) > 24) return true;
  return false;
}

// Luminance of the pixel at x, y.
double Luminance(const Picture& p, int x, int y) {
  const uint8_t* px = &p.rgb[(static_cast<size_t>(y) * p.width + x) * 3];
  return 0.3 * px[0] + 0.59 * px[1] + 0.11 * px[2];
}

// The hint's ring is centred on its piece: the pixels it changes around the piece, an even
// halo, have their middle at the piece's centre. Its arrow leaves the faces of the pieces it
// crosses as readable as the latest move's arrow does: the spread of light and dark (the
// character on the face) under the arrow's band stays at least as wide.
TEST(Scene, HintRingCentredAndArrowOverReadablePieces) {
  FakePlatform platform;
  platform.sleepAdvancesClock = false;
  platform.SetClock(10000);
  OffscreenScene scene;
  std::string why;
  RQ_REQUIRE_ENVIRONMENT(scene.Open(platform, 512, why), why);
  const Move cannonTakesHorse{70, 7, 0, 0, 0};  // h2 over green's cannon on h7 (square 25) to h9
  const Picture plain = Frame(scene, [](GameApplication&) {});
  for (int from : {70, 4, 81}) {  // a cannon, the general, a chariot in its corner
    const Picture ringed = Frame(scene, [&](GameApplication& a) {
      a.hint.stage = 1;
      a.hint.move = Move{uint8_t(from), 0, 0, 0, 0};
    });
    double sumX = 0, sumY = 0, count = 0;
    for (int y = 0; y < 512; ++y)
      for (int x = 0; x < 512; ++x) {
        if (std::hypot(x - PixelX(from), y - PixelY(from)) >= 45 || !Changed(ringed, plain, x, y)) continue;
        sumX += x + 0.5;
        sumY += y + 0.5;
        ++count;
      }
    ASSERT_GT(count, 200) << "no ring around square " << from;
    EXPECT_NEAR(sumX / count, PixelX(from), 0.75) << "ring on square " << from;
    EXPECT_NEAR(sumY / count, PixelY(from), 0.75) << "ring on square " << from;
  }
  // Under the band of an arrow over the crossed cannon's face: the spread of its luminance.
  auto spread = [](const Picture& p) {
    double sum = 0, squares = 0, n = 0;
    for (int y = 0; y < 512; ++y)
      for (int x = 0; x < 512; ++x)
        if (std::abs(x - PixelX(25)) < 3.5 && std::abs(y - PixelY(25)) < 18) {
          const double l = Luminance(p, x, y);
          sum += l;
          squares += l * l;
          ++n;
        }
    return std::sqrt(squares / n - (sum / n) * (sum / n));
  };
  const double bare = spread(plain);
  const double latest = spread(Frame(scene, [&](GameApplication& a) {
    a.lastMove = cannonTakesHorse;
    a.settings.highlightMove = true;
  }));
  const double hinted = spread(Frame(scene, [&](GameApplication& a) {
    a.hint.stage = 2;
    a.hint.move = cannonTakesHorse;
  }));
  EXPECT_GT(latest, 0.3 * bare) << "the latest move's arrow hides the face it crosses";
  EXPECT_GE(hinted, 0.9 * latest) << "the hint's arrow hides the face it crosses: spread " << hinted << " against "
                                  << latest << " under the latest move's arrow, " << bare << " bare";
}

}  // namespace
}  // namespace rq::test
