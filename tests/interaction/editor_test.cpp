// Setting up a position in the scene: the tray, the board, the keys, either way up.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "interaction/interaction_fixture.h"
#include "interaction/open_game.h"
#include "interaction/position_editor.h"
#include "platform/language.h"
#include "support/desktop_locale.h"

namespace rq::test {
namespace {

class EditorTest : public InteractionTest {
 protected:
  // A drag from the tray's piece of `side` and `kind` to `point`, or off the board for "".
  void FromTray(int side, int kind, const std::string& point) {
    const ScenePoint c = TrayCentre(side, kind);
    OnButtonDown(*app, static_cast<int32_t>(c.x), static_cast<int32_t>(c.y));
    Release(point);
  }
  void Release(const std::string& point) {
    if (point.empty()) OnButtonUp(*app, 1000, 1010);
    else OnButtonUp(*app, X(Sq(point)), Y(Sq(point)));
  }
  std::string EditedFen() const { return WriteFen(app->editor.squares, app->editor.sideToMove); }
  std::string GameFen() {
    OnControlKey(*app, KeyCopy);
    return fake.Clipboard();
  }
};

TEST_F(EditorTest, TwoChariotsSetUpEitherWayUpStartAGameAndEscapeLeavesTheGameAsItWas) {
  for (bool turned : {false, true}) {
    app.reset();  // saves its game: each round starts from a folder without one
    for (const auto& file : std::filesystem::directory_iterator(".")) std::filesystem::remove(file.path());
    Start();
    app->boardTurned = turned;
    const std::string before = GameFen();
    OnKeyDown(*app, KeySetUp);
    ASSERT_TRUE(app->editor.active);
    EXPECT_EQ(EditedFen(), "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1");
    // Escape: nothing of the game changed.
    OnKeyDown(*app, KeyEmptyBoard);
    OnKeyDown(*app, KeyEscape);
    EXPECT_FALSE(app->editor.active);
    EXPECT_EQ(GameFen(), before);
    OnKeyDown(*app, KeySetUp);
    OnKeyDown(*app, KeyEmptyBoard);
    FromTray(Red, General, "e0");
    FromTray(Green, General, "e9");
    FromTray(Red, Chariot, "a1");
    FromTray(Red, Chariot, "h1");
    FromTray(Red, Chariot, "b0");  // a third chariot: the tray has none left
    FromTray(Green, Soldier, "c5");
    EXPECT_EQ(EditedFen(), "4k4/9/9/9/2p6/9/9/9/R6R1/4K4 w - - 0 1");
    // Lifted off the board it goes; dropped on a piece it takes its place.
    OnButtonDown(*app, X(Sq("c5")), Y(Sq("c5")));
    Release("");
    OnButtonDown(*app, X(Sq("e9")), Y(Sq("e9")));
    Release("d9");
    OnButtonDown(*app, X(Sq("h1")), Y(Sq("h1")));
    Release("e0");  // the red general goes
    EXPECT_EQ(EditedFen(), "3k5/9/9/9/9/9/9/9/R8/4R4 w - - 0 1");
    FromTray(Red, General, "f0");
    OnButtonDown(*app, X(Sq("a1")), Y(Sq("a1")));
    Release("d1");
    // Refused with the first fault named, the editor open.
    OnKeyDown(*app, KeyReturn);
    ASSERT_EQ(fake.Messages().size(), 1u);
    EXPECT_NE(fake.Messages()[0].text.find("green general is in check with red to move"), std::string::npos)
        << fake.Messages()[0].text;
    EXPECT_TRUE(app->editor.active);
    OnKeyDown(*app, KeySideToMove);
    EXPECT_EQ(GameFen(), "3k5/9/9/9/9/9/9/9/3R5/4RK3 b - - 0 1") << "Ctrl+C copies the position set up";
    OnKeyDown(*app, KeyReturn);
    EXPECT_FALSE(app->editor.active);
    EXPECT_EQ(GameFen(), "3k5/9/9/9/9/9/9/9/3R5/4RK3 b - - 0 1");
    EXPECT_EQ(app->game.playerSide(), Green);
    EXPECT_TRUE(app->boardTurned);
    EXPECT_EQ(app->gameNumber, 2);
  }
}

TEST_F(EditorTest, OpensOnlyOnThePlayersTurnAndTheOpeningKeyGivesRedTheMove) {
  Drag("h2e2");  // the computer's turn
  OnKeyDown(*app, KeySetUp);
  EXPECT_FALSE(app->editor.active);
  Publish("h9g7");
  ASSERT_TRUE(FramesUntilUsersTurn());
  OnKeyDown(*app, KeySetUp);
  ASSERT_TRUE(app->editor.active);
  EXPECT_EQ(app->editor.sideToMove, Red);
  OnKeyDown(*app, KeySideToMove);
  OnKeyDown(*app, KeyOpeningPosition);
  EXPECT_EQ(EditedFen(), StartFen);
  // Starting from it while a game goes on asks first; No keeps the editor and the game.
  fake.answers = {MessageAnswer::No};
  OnKeyDown(*app, KeyReturn);
  EXPECT_TRUE(app->editor.active);
  EXPECT_EQ(app->game.record.moveCount, 2);
}

// A position the rules refuse is refused in the interface language, its reason too.
TEST_F(EditorTest, ARefusedPositionIsExplainedInTheInterfaceLanguage) {
  struct Piece { int side, kind; const char* point; };
  const struct { Language language; std::vector<Piece> pieces; const char *title, *text; } rows[] = {
      {Language::SimplifiedChinese, {{Red, General, "e0"}, {Green, General, "e9"}}, "摆设局面",
       "这个局面不可能在对局中出现：帅与将在同一纵线上直接照面。"},
      {Language::TraditionalChinese, {{Red, General, "f0"}, {Green, General, "d9"}, {Red, Chariot, "d1"}}, "擺設局面",
       "這個局面不可能在對局中出現：輪到紅方走棋時綠將正被將軍。"},
  };
  DesktopLocale desktop(nullptr, RQ_CATALOG_DIR);
  for (const auto& row : rows) {
    UseLanguage(row.language);
    fake.ClearRecords();
    OnKeyDown(*app, KeySetUp);
    OnKeyDown(*app, KeyEmptyBoard);
    for (const Piece& piece : row.pieces) FromTray(piece.side, piece.kind, piece.point);
    OnKeyDown(*app, KeyReturn);
    ASSERT_EQ(fake.Messages().size(), 1u) << row.text;
    EXPECT_EQ(fake.Messages()[0].title, row.title);
    EXPECT_EQ(fake.Messages()[0].text, row.text);
    EXPECT_TRUE(app->editor.active);
    OnKeyDown(*app, KeyEscape);
  }
}

}  // namespace
}  // namespace rq::test
