// Undo, redo, new game, the keys, the settings and help commands, and the command menu.
#include "game/current_game.h"
#include "game/pgn_export.h"
#include "game/settings.h"
#include "interaction/command_menu.h"
#include "interaction_fixture.h"
#include "player/search.h"

namespace rq::test {
namespace {

using Commands = InteractionTest;

TEST_F(Commands, UndoAndRedoStepTwoPliesWithTheEatenPiecesAndTheHighlight) {
  Start();
  PlayPair("b2b9", "a9b9");
  PlayPair("h2h9", "i9h9");
  MoveTo(Sq("e5"));
  const struct { int32_t key, moveCount; std::vector<uint8_t> eatenGreen; const char* highlighted; } rows[] = {
      {KeyUndo, 2, {0x28}, "a9b9"}, {KeyUndo, 0, {}, nullptr}, {KeyUndo, 0, {}, nullptr},
      {KeyRedo, 2, {0x28}, "a9b9"}, {KeyRedo, 4, {0x28, 0x29}, "i9h9"}, {KeyRedo, 4, {0x28, 0x29}, "i9h9"},
  };
  for (const auto& row : rows) {
    OnKeyDown(*app, row.key);
    EXPECT_EQ(app->game.record.moveCount, row.moveCount);
    EXPECT_EQ(app->game.record.recordedMoves, 4);
    EXPECT_EQ(EatenGreen(), row.eatenGreen) << row.moveCount;
    EXPECT_EQ(app->eatenRedCount, row.moveCount / 2);
    EXPECT_EQ(app->lastMove.status == NoLastMove ? "" : FormatMove(app->lastMove), row.highlighted ? row.highlighted : "");
    EXPECT_TRUE(BoardShowsEngine() && app->game.usersTurn) << row.moveCount;
  }
}

TEST_F(Commands, UndoLeavesAFinishedGameAndRedoEndsItAgainSilently) {
  Start();
  SetPosition("5k3/9/9/9/9/9/9/9/9/3KR4 b - - 0 1");
  Publish("f9e9");
  ASSERT_TRUE(FramesUntilUsersTurn());
  Drag("e0e9");
  ASSERT_TRUE(FramesUntilUsersTurn() && app->game.gameEnded);
  OnKeyDown(*app, KeyUndo);
  EXPECT_EQ(app->game.record.moveCount, 0) << "both plies of the pair go";
  EXPECT_TRUE(!app->game.gameEnded && app->game.usersTurn && app->eatenGreenCount == 0);
  OnKeyDown(*app, KeyRedo);
  OnKeyDown(*app, KeyRedo);
  EXPECT_EQ(app->game.record.moveCount, 2);
  EXPECT_TRUE(app->game.gameEnded && app->eatenGreenCount == 1);
  ASSERT_TRUE(FramesUntilUsersTurn());
  EXPECT_EQ(Announcements().size(), 1u) << "ending again by redo is no new end";
}

TEST_F(Commands, CommandsActOnlyOnTheUsersTurnAndNewGameAsksUnlessEnded) {
  const struct { int32_t key; bool byMenu, usersTurn, ended; MessageAnswer answer; size_t asked, dialogs; int32_t plies, game; } rows[] = {
      {KeyUndo, false, true, false, MessageAnswer::No, 0, 0, 0, 1},  {KeyUndo, true, false, false, MessageAnswer::No, 0, 0, 2, 1},
      {KeyUndo, false, false, false, MessageAnswer::No, 0, 0, 2, 1}, {KeyRedo, false, false, false, MessageAnswer::No, 0, 0, 0, 1},
      {KeySettings, false, true, false, MessageAnswer::No, 0, 1, 2, 1}, {KeySettings, false, false, false, MessageAnswer::No, 0, 0, 2, 1},
      {KeyNewGame, false, true, false, MessageAnswer::Yes, 1, 0, 0, 2}, {KeyNewGame, true, true, false, MessageAnswer::Yes, 1, 0, 0, 2},
      {KeyNewGame, false, true, false, MessageAnswer::No, 1, 0, 2, 1},  {KeyNewGame, false, true, true, MessageAnswer::No, 0, 0, 0, 2},
      {KeyNewGame, true, false, false, MessageAnswer::Yes, 0, 0, 2, 1}, {'A', false, true, false, MessageAnswer::No, 0, 0, 2, 1},
      {0x7A, false, true, false, MessageAnswer::No, 0, 0, 2, 1},  // F11 shares z's code point
  };
  for (const auto& row : rows) {
    app.reset();
    dir.Clear();
    Start();
    PlayPair("b2e2", "h7e7");
    if (row.key == KeyRedo) UndoCommand(*app);
    app->game.usersTurn = row.usersTurn;
    app->game.searching = !row.usersTurn;
    app->game.gameEnded = row.ended;
    app->game.record.endPly = row.ended ? 2 : NoEndPly;
    fake.answers.assign(1, row.answer);
    fake.ClearRecords();
    if (row.byMenu) ClickScene(978, row.key == KeyUndo ? 235 : 480);
    else OnKeyDown(*app, row.key);
    ASSERT_EQ(fake.Messages().size(), row.asked) << row.key << row.byMenu;
    if (row.asked) EXPECT_EQ(fake.Messages()[0].text, "Do you want to quit this game and start a new one?");
    EXPECT_EQ(fake.DialogsShown().size(), row.dialogs);
    EXPECT_EQ(app->game.record.moveCount, row.plies) << row.key << row.byMenu << row.usersTurn;
    EXPECT_EQ(app->gameNumber, row.game) << row.key << row.byMenu << row.usersTurn;
    EXPECT_EQ(ReadFile("Games1-100_TESTBOX.vrd5").find("Recorded moves: 2\n") != std::string::npos, row.game == 2);
    app->game.searching = false;  // no worker to end the search at shut-down
  }
}

TEST_F(Commands, SettingsApplyOnlyWhenConfirmedAndWarnOnRisingAboveTwo) {
  Start();
  const struct { int32_t level; bool confirmed; int32_t chosen; bool warned; } rows[] = {
      {1, false, 4, false}, {1, true, 3, true}, {3, true, 3, false}, {3, true, 2, false}, {2, true, 4, true}};
  for (const auto& row : rows) {
    app->difficultyLevel = row.level;
    app->showMoves = true;
    DialogOutcome outcome{row.confirmed, SettingsValues()};
    outcome.values.difficultyLevel = row.chosen;
    outcome.values.showMoves = false;
    fake.dialogOutcomes.push_back(outcome);
    fake.ClearRecords();
    OnKeyDown(*app, KeySettings);
    ASSERT_EQ(fake.DialogsShown().size(), 1u);
    EXPECT_EQ(fake.DialogsShown()[0].difficultyLevel, row.level);
    const int32_t level = row.confirmed ? row.chosen : row.level;
    double seconds = 0;
    int32_t depth = 0;
    DifficultyLimits(level, seconds, depth);
    EXPECT_TRUE(app->difficultyLevel == level && app->game.thinkSeconds == seconds && app->showMoves == !row.confirmed);
    EXPECT_EQ(fake.Messages().size() == 1 ? fake.Messages()[0].title : "", row.warned ? "Warning" : "") << row.chosen;
  }
}

TEST_F(Commands, HelpOpensThePageOfTheChosenLanguageEscaped) {
  const std::string deep = "/" + std::string(1500, 'd'), page = "/Documentation/RavenquillHelpFrames_";
  const struct { std::string directory; int32_t language; std::string url; } rows[] = {
      {"/home/ann/rq", 1, "file:///home/ann/rq" + page + "Fin.html"}, {"/home/ann/rq/", 2, "file:///home/ann/rq" + page + "Chi.html"},
      {"/home/ann/rq", 3, "file:///home/ann/rq"}, {"/", -1, "file:///"},
      {"/tmp/my games #2/50%", 0, "file:///tmp/my%20games%20%232/50%25" + page + "Eng.html"},
      {"/tmp/\xc3\xa4", 3, "file:///tmp/%C3%A4"}, {deep + deep, 0, "file://" + deep + deep + page + "Eng.html"},
  };
  for (const auto& row : rows) EXPECT_EQ(HelpPageUrl(row.directory, row.language), row.url) << row.directory;
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

}  // namespace
}  // namespace rq::test

namespace rq::test {
namespace {

// The record window's rows as "number red green | red green", "~" before a move taken back.
std::string RowsText(const std::vector<MoveListRow>& rows) {
  std::string text;
  auto cell = [](const MoveListPly& p, const char* s) { return std::string(p.undone ? "~" : "") + s; };
  for (const MoveListRow& r : rows)
    text += std::to_string(r.number) + " " + cell(r.red, r.red.chinese) + " " + cell(r.green, r.green.chinese) +
            " | " + cell(r.red, r.red.wxf) + " " + cell(r.green, r.green.wxf) + "\n";
  return text;
}

TEST_F(Commands, MoveRecordFollowsTheGameAndItsPgnIsTheExportersOwn) {
  Start();
  app->wallClock = [] { return std::time_t{1773000000}; };
  OnKeyDown(*app, KeyMoveList);
  ASSERT_TRUE(fake.MoveListOpen());
  EXPECT_EQ(RowsText(fake.MoveRows()), "");
  PlayPair("h2e2", "h9g7");
  Drag("b0c2");
  const std::string firstAndHalf = "1 炮二平五 马８进７ | C2=5 H8+7\n2 马八进七  | H8+7 \n";
  EXPECT_EQ(RowsText(fake.MoveRows()), firstAndHalf);  // the user's move before the answer
  Publish("b9c7");
  ASSERT_TRUE(FramesUntilUsersTurn());
  const std::string both = "1 炮二平五 马８进７ | C2=5 H8+7\n2 马八进七 马２进３ | H8+7 H2+3\n";
  EXPECT_EQ(RowsText(fake.MoveRows()), both);
  UndoCommand(*app);
  EXPECT_EQ(RowsText(fake.MoveRows()), "1 炮二平五 马８进７ | C2=5 H8+7\n2 ~马八进七 ~马２进３ | ~H8+7 ~H2+3\n");
  RedoCommand(*app);
  EXPECT_EQ(RowsText(fake.MoveRows()), both);

  // Copy and save give what the exporter makes of the saved game; closing is M again.
  fake.moveListRequests = {{MoveListRequest::CopyPgn, ""}, {MoveListRequest::SavePgn, "game.pgn"},
                           {MoveListRequest::Close, ""}};
  ServeMoveRecord(*app);
  EXPECT_FALSE(fake.MoveListOpen());
  std::string saved, exported, errors;
  SaveCurrentGame(*app, saved);
  int games = 0;
  ASSERT_TRUE(ExportText(saved, "CurrentGame_TESTBOX.vrd5", false, exported, errors, games));
  EXPECT_EQ(fake.Clipboard(), exported);
  EXPECT_EQ(ReadFile("game.pgn"), exported);
  EXPECT_NE(exported.find("1. h2e2 h9g7 2. b0c2 b9c7 *"), std::string::npos) << exported;

  OnKeyDown(*app, KeyMoveList);
  fake.answers.push_back(MessageAnswer::Yes);
  NewGameCommand(*app);
  EXPECT_TRUE(fake.MoveListOpen()) << "a new game empties the list";
  EXPECT_EQ(RowsText(fake.MoveRows()), "");
}

}  // namespace
}  // namespace rq::test
