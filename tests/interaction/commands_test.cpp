// Undo, redo, new game, the keys, the settings and help commands, and the command menu.
#include "game/settings.h"
#include "interaction/command_menu.h"
#include "interaction/commands.h"
#include "interaction/computer_turn.h"
#include "interaction_fixture.h"

namespace rq::test {
namespace {

class Commands : public InteractionTest {
 protected:
  // The user's move and the computer's answer, both through the interaction.
  void PlayPair(const char* user, const char* computer) {
    Drag(user);
    Publish(computer);
    ASSERT_GT(RunFramesUntilUsersTurn(), 0) << user << " " << computer;
  }
  void PointAtEmptyPoint() { MoveTo(Sq("e5")); }
  void ClickScene(double x, double y) {
    const int32_t px = static_cast<int32_t>(x * app->viewScale), py = static_cast<int32_t>(y * app->viewScale);
    OnPointerMove(*app, px, py);
    OnButtonDown(*app, px, py);
    OnButtonUp(*app, px, py);
  }
};

TEST_F(Commands, UndoAndRedoStepTwoPliesWithEatenPiecesAndHighlight) {
  Start();
  PlayPair("b2b9", "a9b9");
  PlayPair("h2h9", "i9h9");
  PointAtEmptyPoint();
  struct Row {
    int32_t key;
    int32_t moveCount;
    std::vector<uint8_t> eatenRed, eatenGreen;
    const char* highlighted;  // nullptr: nothing highlighted
  };
  const Row rows[] = {
      {0, 4, {0x4A, 0x4B}, {0x28, 0x29}, "i9h9"},
      {KeyUndo, 2, {0x4A}, {0x28}, "a9b9"},
      {KeyUndo, 0, {}, {}, nullptr},
      {KeyUndo, 0, {}, {}, nullptr},
      {KeyRedo, 2, {0x4A}, {0x28}, "a9b9"},
      {KeyRedo, 4, {0x4A, 0x4B}, {0x28, 0x29}, "i9h9"},
      {KeyRedo, 4, {0x4A, 0x4B}, {0x28, 0x29}, "i9h9"},
  };
  int32_t before = app->game.record.moveCount;
  for (const Row& row : rows) {
    app->hoveredPiece = 3;
    if (row.key) OnKeyDown(*app, row.key);
    const std::string step = "after key " + std::to_string(row.key) + " to " + std::to_string(row.moveCount);
    EXPECT_EQ(app->game.record.moveCount, row.moveCount) << step;
    EXPECT_EQ(app->game.record.recordedMoves, 4) << step;
    EXPECT_EQ(std::vector<uint8_t>(app->eatenRed, app->eatenRed + app->eatenRedCount), row.eatenRed) << step;
    EXPECT_EQ(std::vector<uint8_t>(app->eatenGreen, app->eatenGreen + app->eatenGreenCount), row.eatenGreen) << step;
    if (row.highlighted) {
      EXPECT_NE(app->lastMove.status, NoLastMove) << step;
      EXPECT_EQ(FormatMove(app->lastMove), row.highlighted) << step;
    } else {
      EXPECT_EQ(app->lastMove.status, NoLastMove) << step;
    }
    EXPECT_TRUE(BoardShowsEngine()) << step;
    EXPECT_TRUE(app->game.usersTurn) << step;
    // The cached list goes only when the position changed.
    EXPECT_EQ(app->hoveredPiece, row.moveCount != before ? -1 : 3) << step;
    before = row.moveCount;
  }
}

TEST_F(Commands, UndoLeavesAFinishedGameAndRedoEndsItAgain) {
  Start();
  struct Row {
    const char* what;
    const char* fen;
    const char* computerFirst;
    const char* winningMove;
    int32_t pliesUndone;
  };
  const Row rows[] = {
      {"a single recorded move", "4k4/9/9/9/9/9/9/9/9/3KR4 w - - 0 1", nullptr, "e0e9", 1},
      {"the win and the computer's move before it", "5k3/9/9/9/9/9/9/9/9/3KR4 b - - 0 1", "f9e9", "e0e9", 2},
  };
  for (const Row& row : rows) {
    SetPosition(row.fen);
    if (row.computerFirst) {
      Publish(row.computerFirst);
      ASSERT_GT(RunFramesUntilUsersTurn(), 0) << row.what;
    }
    Drag(row.winningMove);
    ASSERT_GT(RunFramesUntilUsersTurn(), 0) << row.what;
    ASSERT_TRUE(app->game.gameEnded) << row.what;
    const int32_t end = app->game.record.moveCount;

    OnKeyDown(*app, KeyUndo);
    EXPECT_EQ(app->game.record.moveCount, end - row.pliesUndone) << row.what;
    EXPECT_FALSE(app->game.gameEnded) << row.what;
    EXPECT_TRUE(app->game.usersTurn) << row.what;
    EXPECT_EQ(app->lastMove.status, NoLastMove) << row.what;
    EXPECT_EQ(app->eatenGreenCount, 0) << row.what;

    OnKeyDown(*app, KeyRedo);
    EXPECT_EQ(app->game.record.moveCount, end) << row.what;
    EXPECT_TRUE(app->game.gameEnded) << row.what;
    EXPECT_EQ(app->eatenGreenCount, 1) << row.what;
    OnKeyDown(*app, KeyRedo);
    EXPECT_EQ(app->game.record.moveCount, end) << row.what;
    // Ending again by redo is no new end: nothing more is announced.
    Frame();
    EXPECT_EQ(Announcements().size(), 1u) << row.what;
    fake.ClearRecords();
  }
}

TEST_F(Commands, AnUndoneDrawDoesNotColourTheNextEnd) {
  Start();
  SetPosition("3k5/8r/9/9/9/9/9/9/R8/4K4 w - - 0 1");
  PlayHistory(Cycles("a1a2", "i8i7", "a2a1", "i7i8"));
  Drag("a1a2");
  ASSERT_GT(RunFramesUntilUsersTurn(), 0);
  ASSERT_EQ(Announcements(), std::vector<std::string>{DrawText});
  OnKeyDown(*app, KeyUndo);
  ASSERT_FALSE(app->game.gameEnded);
  fake.ClearRecords();
  Drag("a1a3");
  Publish(nullptr, 0, true);
  ASSERT_GT(RunFramesUntilUsersTurn(), 0);
  EXPECT_EQ(Announcements(), std::vector<std::string>{UserWonText});
}

TEST_F(Commands, NewGameAsksUnlessEndedAndArchivesTheGameLeft) {
  struct Row {
    const char* what;
    bool ended;
    MessageAnswer answer;
    bool byMenu;
    bool asked;
    bool started;
  };
  const Row rows[] = {
      {"going game, Yes by key", false, MessageAnswer::Yes, false, true, true},
      {"going game, Yes by menu", false, MessageAnswer::Yes, true, true, true},
      {"going game, No", false, MessageAnswer::No, false, true, false},
      {"ended game", true, MessageAnswer::No, false, false, true},
  };
  for (const Row& row : rows) {
    app.reset();
    for (const auto& entry : std::filesystem::directory_iterator(directory)) std::filesystem::remove_all(entry.path());
    Start();
    PlayPair("b2e2", "h7e7");
    if (row.ended) {
      LockGame(app->game);
      app->game.gameEnded = true;
      app->game.record.endPly = app->game.record.recordedMoves;
      UnlockGame(app->game);
    }
    fake.answers.push_back(row.answer);
    if (row.byMenu) ClickScene(978, 480);
    else OnKeyDown(*app, KeyNewGame);

    const auto messages = fake.Messages();
    ASSERT_EQ(messages.size(), row.asked ? 1u : 0u) << row.what;
    if (row.asked) {
      EXPECT_EQ(messages[0].title, "New game?") << row.what;
      EXPECT_EQ(messages[0].text, "Do you want to quit this game and start a new one?") << row.what;
      EXPECT_EQ(messages[0].buttons, MessageButtons::YesNo) << row.what;
      EXPECT_EQ(messages[0].icon, MessageIcon::Question) << row.what;
    }
    const std::string archive = ReadFile("Games1-100_TESTBOX.vrd5");
    if (row.started) {
      EXPECT_EQ(app->gameNumber, 2) << row.what;
      EXPECT_EQ(app->game.record.recordedMoves, 0) << row.what;
      EXPECT_FALSE(app->game.gameEnded) << row.what;
      EXPECT_EQ(app->lastMove.status, NoLastMove) << row.what;
      EXPECT_TRUE(BoardShowsEngine()) << row.what;
      EXPECT_NE(archive.find("Game #: 1 "), std::string::npos) << row.what;
      EXPECT_NE(archive.find("Recorded moves: 2"), std::string::npos) << row.what;
      EXPECT_NE(archive.find(row.ended ? "Game ended: 1" : "Game ended: 0"), std::string::npos) << row.what;
    } else {
      EXPECT_EQ(app->gameNumber, 1) << row.what;
      EXPECT_EQ(app->game.record.recordedMoves, 2) << row.what;
      EXPECT_TRUE(archive.empty()) << row.what;
    }
  }
}

TEST_F(Commands, KeysActOnlyOnTheUsersTurn) {
  struct Row {
    const char* what;
    int32_t key;
    bool usersTurn;
    size_t messages;
    size_t dialogs;
    int32_t moveCount;  // after the key, from 2 (or 0 when undone first)
  };
  const Row rows[] = {
      {"Z undoes", KeyUndo, true, 0, 0, 0},
      {"Y redoes", KeyRedo, true, 0, 0, 2},
      {"N asks", KeyNewGame, true, 1, 0, 2},
      {"S opens the settings", KeySettings, true, 0, 1, 2},
      {"Z while the computer thinks", KeyUndo, false, 0, 0, 2},
      {"Y while the computer thinks", KeyRedo, false, 0, 0, 0},
      {"N while the computer thinks", KeyNewGame, false, 0, 0, 2},
      {"S while the computer thinks", KeySettings, false, 0, 0, 2},
      {"another letter", 'A', true, 0, 0, 2},
      {"Escape is the main loop's", 0x1B, true, 0, 0, 2},
      {"F11 shares z's code point", 0x7A, true, 0, 0, 2},
  };
  Start();
  PlayPair("b2e2", "h7e7");
  for (const Row& row : rows) {
    const bool redoRow = row.key == KeyRedo;
    if (redoRow) UndoCommand(*app);
    LockGame(app->game);
    app->game.usersTurn = row.usersTurn;
    app->game.searching = !row.usersTurn;
    UnlockGame(app->game);
    fake.ClearRecords();
    OnKeyDown(*app, row.key);
    EXPECT_EQ(fake.Messages().size(), row.messages) << row.what;
    EXPECT_EQ(fake.DialogsShown().size(), row.dialogs) << row.what;
    EXPECT_EQ(app->game.record.moveCount, row.moveCount) << row.what;
    EXPECT_EQ(app->gameNumber, 1) << row.what;
    // Back to two plies on the user's turn for the next row.
    LockGame(app->game);
    app->game.usersTurn = true;
    app->game.searching = false;
    UnlockGame(app->game);
    while (app->game.record.moveCount < 2) RedoCommand(*app);
  }
}

TEST_F(Commands, SettingsApplyOnlyWhenConfirmedAndWarnOnRisingAboveTwo) {
  Start();
  struct Row {
    const char* what;
    int32_t level;        // before
    bool confirmed;
    int32_t chosenLevel;
    int32_t language;     // chosen
    bool flags;           // the six flags chosen
    bool warned;
    int32_t levelAfter;
    double thinkSeconds;
  };
  const Row rows[] = {
      {"cancel after clicks", 1, false, 4, 2, false, false, 1, 1.0},
      {"1 to 3", 1, true, 3, 0, true, true, 3, 6.0},
      {"3 again", 3, true, 3, 0, true, false, 3, 6.0},
      {"3 down to 2", 3, true, 2, 0, true, false, 2, 3.0},
      {"2 to 4 with the flags off", 2, true, 4, 0, false, true, 4, 12.0},
      {"0 unchanged keeps Finnish", 0, true, 0, 1, true, false, 0, 0.1},
  };
  for (const Row& row : rows) {
    app->difficultyLevel = row.level;
    app->helpLanguage = row.language == 1 ? 1 : 0;
    app->hintAtStartup = app->highlightMove = app->showMoves = true;
    app->showIllegalMoves = app->explainIllegalMoves = app->autoHideMenu = true;
    ApplyDifficulty(app->game, row.level);
    DialogOutcome outcome;
    outcome.confirmed = row.confirmed;
    SettingsValues& v = outcome.values;
    v.hintAtStartup = v.highlightMove = v.showMoves = row.flags;
    v.showIllegalMoves = v.explainIllegalMoves = v.autoHideMenu = row.flags;
    v.difficultyLevel = row.chosenLevel;
    v.helpLanguage = row.language;
    fake.dialogOutcomes.push_back(outcome);
    fake.ClearRecords();
    OnKeyDown(*app, KeySettings);

    ASSERT_EQ(fake.DialogsShown().size(), 1u) << row.what;
    EXPECT_EQ(fake.DialogsShown()[0].difficultyLevel, row.level) << row.what;
    const bool changed = row.confirmed;
    const bool flagsAfter = changed ? row.flags : true;
    EXPECT_EQ(app->difficultyLevel, row.levelAfter) << row.what;
    EXPECT_EQ(app->hintAtStartup, flagsAfter) << row.what;
    EXPECT_EQ(app->showIllegalMoves, flagsAfter) << row.what;
    EXPECT_EQ(app->autoHideMenu, flagsAfter) << row.what;
    EXPECT_EQ(app->helpLanguage, changed ? row.language : (row.language == 1 ? 1 : 0)) << row.what;
    EXPECT_DOUBLE_EQ(app->game.thinkSeconds, row.thinkSeconds) << row.what;
    const auto messages = fake.Messages();
    ASSERT_EQ(messages.size(), row.warned ? 1u : 0u) << row.what;
    if (row.warned) {
      EXPECT_EQ(messages[0].title, "Warning");
      EXPECT_EQ(messages[0].text,
                "You have selected a high difficulty level.\n"
                "On these levels individual moves may take several minutes to complete.\n");
      EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);
    }
  }
}

TEST_F(Commands, HelpOpensThePageOfTheChosenLanguage) {
  struct Row { const char* directory; int32_t language; std::string url; };
  const std::string deep(1500, 'd');
  const Row rows[] = {
      {"/home/ann/rq", 0, "file:///home/ann/rq/Documentation/RavenquillHelpFrames_Eng.html"},
      {"/home/ann/rq", 1, "file:///home/ann/rq/Documentation/RavenquillHelpFrames_Fin.html"},
      {"/home/ann/rq", 2, "file:///home/ann/rq/Documentation/RavenquillHelpFrames_Chi.html"},
      {"/home/ann/rq", 3, "file:///home/ann/rq"},
      {"/home/ann/rq", -1, "file:///home/ann/rq"},
      {"/home/ann/rq/", 0, "file:///home/ann/rq/Documentation/RavenquillHelpFrames_Eng.html"},
      {"/", 0, "file:///Documentation/RavenquillHelpFrames_Eng.html"},
      {"/", 3, "file:///"},
      {"/tmp/my games #2/50%", 0, "file:///tmp/my%20games%20%232/50%25/Documentation/RavenquillHelpFrames_Eng.html"},
      {"/tmp/\xc3\xa4", 3, "file:///tmp/%C3%A4"},
  };
  for (const Row& row : rows) EXPECT_EQ(HelpPageUrl(row.directory, row.language), row.url) << row.directory;
  // A working directory far beyond 1024 characters is neither cut nor overrun.
  const std::string longDirectory = "/" + deep + "/" + deep;
  EXPECT_EQ(HelpPageUrl(longDirectory, 0), "file://" + longDirectory + "/Documentation/RavenquillHelpFrames_Eng.html");

  // The help button on the pages as shipped: each is there, well-formed, and links only
  // within itself, to its stylesheet and to its sibling pages. A page that cannot open
  // (no browser took it, or missing) is reported with where it is.
  Start();
  const std::string docs = RQ_REPO_ROOT "/Documentation/";
  const struct Page { int32_t language; const char* name; const char* dataDir; bool opens; std::string message; } pages[] = {
      {0, "RavenquillHelpFrames_Eng.html", RQ_REPO_ROOT, true, ""},
      {1, "RavenquillHelpFrames_Fin.html", RQ_REPO_ROOT, true, ""},
      {2, "RavenquillHelpFrames_Chi.html", RQ_REPO_ROOT, true, ""},
      {2, "", RQ_REPO_ROOT, false, "No web browser opened the help page. Open it yourself:\n" + docs + "RavenquillHelpFrames_Chi.html"},
      {1, "", "/nonexistent", true, "The help page is missing: it should be\n/nonexistent/Documentation/RavenquillHelpFrames_Fin.html"},
  };
  for (const Page& page : pages) {
    SCOPED_TRACE(page.language);
    fake.ClearRecords();
    fake.openUrlSucceeds = page.opens;
    app->dataDir = page.dataDir;
    app->helpLanguage = page.language;
    ClickScene(978, 851);
    const auto messages = fake.Messages();
    ASSERT_EQ(messages.size(), page.message.empty() ? 0u : 1u);
    if (!page.message.empty()) EXPECT_EQ(messages[0].text, page.message);
    if (*page.name == 0) continue;
    ASSERT_EQ(fake.OpenedUrls(), std::vector<std::string>{HelpPageUrl(page.dataDir, page.language)});
    const std::string path = docs + page.name;
    EXPECT_EQ(std::system(("xmllint --noout --nonet " + path).c_str()), 0);
    const std::string foreign = "grep -oE '(href|src)=\"[^\"#][^\"]*\"' " + path +
                                " | grep -vE '\"(ravenquill_help.css|RavenquillHelpFrames_(Eng|Fin|Chi).html)\"'";
    EXPECT_NE(std::system(foreign.c_str()), 0) << "links outside the help";
  }
}

TEST_F(Commands, MenuRegionsFollowTheirShapesAndActiveItems) {
  Start();
  struct Row {
    const char* what;
    double x, y;  // scene units, y down
    bool withMoves;
    int32_t item;  // -1 none
  };
  const Row rows[] = {
      {"undo without a move", 978, 235, false, -1},
      {"undo", 978, 235, true, 0},
      {"undo rim", 978 + 36, 235, true, 0},
      {"beyond the undo rim", 978 + 37, 235, true, -1},
      {"redo without a move to redo", 978, 321, true, -1},
      {"new game body top", 942, 434, false, 2},
      {"new game left edge", 941, 480, false, -1},
      {"new game corner outside the cap", 942, 433, false, -1},
      {"new game cap", 978, 406, false, 2},
      {"above the cap", 978, 405, false, -1},
      {"gap between the halves", 978, 543, false, -1},
      {"settings body bottom", 1014, 653, false, 5},
      {"settings cap", 978, 680, false, 5},
      {"below the settings cap", 978, 681, false, -1},
      {"help", 978, 851, false, 3},
      {"help rim", 978, 851 + 36.5, false, 3},
      {"no item between the menu groups", 978, 760, false, -1},
  };
  for (const Row& row : rows) {
    SetPosition(StartFen);
    if (row.withMoves) PlayPair("b2e2", "h7e7");
    int32_t item = -7;
    const bool hit = MenuItemAtPoint(*app, static_cast<int32_t>(row.x), static_cast<int32_t>(row.y), item);
    EXPECT_EQ(hit, row.item >= 0) << row.what;
    EXPECT_EQ(app->hoveredMenuItem, row.item) << row.what;
    if (hit) {
      EXPECT_EQ(item, row.item) << row.what;
    }
  }
  // The regions scale with the window.
  SetScale(0.5);
  int32_t item = -1;
  EXPECT_TRUE(MenuItemAtPoint(*app, 489, 425, item));
  EXPECT_EQ(item, 3);
}

TEST_F(Commands, MenuRevealsInItsStripAndFadesFromWhereItWas) {
  Start();
  struct Row {
    int32_t now;
    double x, y;
    bool visible;
    int32_t shownAt, hiddenAt;
    int32_t item;
    CursorHandle cursor;
  };
  const CursorHandle arrow = FakePlatform::ArrowToken();
  const CursorHandle copy = app->copyCursor;
  const Row rows[] = {
      // Hidden from the start: revealed soon after, it fades in from nothing.
      {100, 916, 600, true, 100, 0, -1, arrow},
      {1000, 500, 500, false, 100, 1000, -1, arrow},
      {2000, 916, 600, true, 2000, 1000, -1, arrow},
      {2100, 978, 480, true, 2000, 1000, 2, copy},
      {2300, 600, 480, false, 2000, 2300, -1, arrow},
      // Back within 500 ms: fading in from the 0.6 the fade-out had reached (0.004 * 150).
      {2500, 930, 700, true, 2350, 2300, -1, arrow},
      {2600, 915, 700, false, 2350, 2600, -1, arrow},
      {3200, 930, 164, true, 3200, 2600, -1, arrow},
      // Left at 0.4 during the fade-in, back when the fade-out has taken it to 0.2.
      {3300, 930, 163, false, 3200, 3300, -1, arrow},
      {3400, 930, 919, true, 3400 - 50, 3300, -1, arrow},
      {3500, 930, 920, false, 3350, 3500, -1, arrow},
  };
  for (const Row& row : rows) {
    fake.SetClock(row.now);
    OnPointerMove(*app, static_cast<int32_t>(row.x), static_cast<int32_t>(row.y));
    EXPECT_EQ(app->menuVisible, row.visible) << row.now;
    EXPECT_EQ(app->menuShownAt, row.shownAt) << row.now;
    EXPECT_EQ(app->menuHiddenAt, row.hiddenAt) << row.now;
    EXPECT_EQ(app->hoveredMenuItem, row.item) << row.now;
    EXPECT_EQ(app->menuHover, row.item >= 0) << row.now;
    EXPECT_EQ(fake.CurrentCursor(), row.cursor) << row.now;
  }
}

TEST_F(Commands, MenuClicksWhileTheComputerThinksAreIgnored) {
  Start();
  Drag("b2e2");
  ClickScene(978, 480);
  ClickScene(978, 235);
  EXPECT_TRUE(fake.Messages().empty());
  EXPECT_EQ(app->game.record.moveCount, 1);
}

}  // namespace
}  // namespace rq::test
