// The files of the game: the current game's (exact bytes, reading back, refusing damage,
// fuzzing), the archive, the settings, and the folders they live in.
#include <optional>
#include <random>

#include "game/archive.h"
#include "game/folders.h"
#include "game/safe_file.h"
#include "game_support.h"

namespace rq::test {
namespace {

std::string Crlf(std::string t) {
  for (size_t at = 0; (at = t.find('\n', at)) != std::string::npos; at += 2) t.insert(at, 1, '\r');
  return t;
}

TEST(GameFile, WrittenGamesReadBackByteForByte) {
  auto undone = PlayedRecord(GoldenMoves);
  auto full = std::make_unique<GameRecord>();
  auto ended = PlayedRecord("h2h9 i9h9 b2e2");
  Move m;
  ASSERT_TRUE(undone->undoMove(m));
  ASSERT_TRUE(undone->undoMove(m));
  ASSERT_TRUE(PlayRandomGame(*full, HistoryCapacity + 1, 11));  // its last move goes unrecorded
  auto endedData = DataOf(*ended, 100, true, false);
  endedData->board.boardValue = INT32_MIN;
  const std::string golden = GoldenFile;
  const std::string untimed = std::string(golden).erase(golden.find(" (saved"), 33);
  EXPECT_EQ(FormatGameFile(*DataOf(*PlayedRecord(GoldenMoves))), golden);
  // Each reads as itself ("" below), as do older versions, CR LF, no saving time, and a record followed by the next.
  const std::pair<std::string, std::string> cases[] = {
      {golden, ""},
      {FormatGameFile(*DataOf(*undone, 42)), ""},
      {FormatGameFile(*endedData), ""},
      {FormatGameFile(*DataOf(*full, 3)), ""},
      {FormatGameFile(*DataOf(GameRecord(), 2147483647)), ""},
      {"VRDF99" + golden.substr(6), golden},
      {golden.substr(6), golden},
      {Crlf(golden), golden},
      {untimed, golden},
      {golden + golden, golden},
  };
  for (const auto& [text, expected] : cases) {
    const GameReading read = ReadGameText(text);
    ASSERT_TRUE(read.ok) << text << read.error.line << ": " << read.error.message;
    if (text == untimed) read.data->savedAt = "Sat Mar  2 14:05:09 2024";
    EXPECT_EQ(FormatGameFile(*read.data), expected.empty() ? text : expected);
    EXPECT_EQ(read.consumed, text == golden + golden ? golden.size() : text.size());
  }
}

TEST(GameFile, DamagedFilesAreRefusedNamingTheLine) {
  const struct { const char *find, *replace; int line; } damages[] = {
      {"Game #: 1 ", "Game #: 0 ", 2},
      {"Game #: 1 ", "Game #: 99999999999 ", 2},
      {"Game #: 1 ", "Game #: x ", 2},
      {"Game ended: 0", "Game ended: no", 3},
      {"User's turn: 1", "User's turn: 0", 4},
      {"Board value: 15", "Board value: 2147483648", 5},
      {"Recorded moves: 4", "Recorded moves: 1001", 17},
      {"Recorded moves: 4", "Recorded moves: -1", 17},
      {"Next move: 4", "Next move: 5", 18},
      {"Eaten red pieces: 1", "Eaten red pieces: 17", 23},
      {"Eaten red pieces: 1", "Eaten red pieces: 3", 25},
      {"Eaten red pieces: 1\n75", "Eaten red pieces: 1\n41", 24},
      {"pieces: 1\n41", "pieces: 1\n81", 26},
      {"38 00 46", "49 00 46", 7},
      {"38 00 46", "64 00 46", 7},
      {"38 00 46", "97 00 46", 7},
      {"73 71", "73 71 00", 16},
      {"73 71", "73", 16},
      {"00 00 00 00 00 00 00 00 00\n00 42", "00 00 00 00 48 00 00 00 00\n00 42", 8},
      {"70 --> 07", "90 --> 07", 19},
      {"70 --> 07", "70 --> 95", 19},
      {"x41", "x99", 19},
      {" 064 007 ", " 064 090 ", 19},
      {" 001 135 ", " 001 218 ", 19},
      {" 006 004 \n08", " 006\n08", 19},
      {"64 --> 67", "63 --> 67", 21},
      {"01 --> 20", "01 --> 21", 22},
      {"x41", "x40", 19},
      {"70 --> 07 x41", "70 --> 07 -  ", 19},
      {" 064 007 ", " 064 016 ", 19},
      {" 001 135 019", " 001 007 019", 19},
      {"00 00 00 00 74 00", "00 00 00 74 00 00", 7},
      {"41\n\n\n", "41\n\n", 28},
      {"41\n\n\n", "41\nx\n\n", 27},
      {"41\n\n\n", "41\nPlayer: blue\n\n\n", 27},
      {"41\n\n\n", "41\nPlayer: green\nPlayer: green\n\n\n", 28},
      {"41\n\n\n", "41\nStart: 9/9/9/9/9/9/9/9/9/9 w\n\n\n", 27},  // a later release's line
      {"41\n\n\n", "41\nResigned: green\n\n\n", 27},
  };
  const std::string golden = GoldenFile;
  for (const auto& d : damages) {
    std::string text = golden;
    ASSERT_NE(text.find(d.find), std::string::npos) << d.find;
    text.replace(text.find(d.find), std::strlen(d.find), d.replace);
    const GameReading read = ReadGameText(text);
    EXPECT_FALSE(read.ok) << d.replace;
    EXPECT_EQ(read.error.line, d.line) << d.replace << ": " << read.error.message;
  }
}

// Only the turns and ends the commands can leave are accepted.
TEST(GameFile, TurnsAndBoardsMustBeThoseOfTheGame) {
  const struct { const char* moves; int undone; bool ended, usersTurn, accepted; } cases[] = {
      {"h2h9 i9h9 b2e2", 0, false, false, true},
      {"h2h9 i9h9 b2e2 b9c7", 2, false, true, true},
      {"h2h9 i9h9 b2e2", 0, true, false, true},
      {"h2h9 i9h9 b2e2", 0, true, true, true},
      {"h2h9 i9h9 b2e2 b9c7", 0, true, true, true},
      {"h2h9 i9h9 b2e2", 2, false, true, true},
      {"full", 0, false, false, true},
      {"b9c7", 0, false, true, false},
      {"h2h9 i9h9 b9c7", 0, false, true, false},
      {"", 0, false, false, false},
      {"h2h9 i9h9 b2e2 b9c7", 0, true, false, false},
      {"h2h9 i9h9 b2e2 b9c7", 4, false, false, false},
      {"full, taken pieces back", 0, false, false, false},
      {"full, a redo move", 0, false, false, false},
  };
  for (const auto& c : cases) {
    const std::string moves = c.moves;
    auto record = PlayedRecord(moves.rfind("full", 0) == 0 ? "" : moves);
    if (moves.rfind("full", 0) == 0) { ASSERT_TRUE(PlayRandomGame(*record, HistoryCapacity + 1, 11)); }
    Move m;
    for (int i = 0; i < c.undone; ++i) record->undoMove(m);
    auto data = DataOf(*record, 1, c.ended, c.usersTurn);
    if (moves == "full, taken pieces back") std::memcpy(data->board.squares, StartSquares, BoardSquares);
    if (moves == "full, a redo move") data->moveCount = HistoryCapacity - 1;
    GameFileError error;
    EXPECT_EQ(CheckGameFile(*data, error), c.accepted) << moves << " " << c.undone << ": " << error.message;
  }
  // Loading marks the taken pieces, so that undo brings them back.
  auto golden = PlayedRecord(GoldenMoves);
  auto loaded = std::make_unique<GameRecord>();
  LoadIntoRecord(*DataOf(*golden), *loaded);
  EXPECT_EQ(0, std::memcmp(loaded->pieceSquare, golden->pieceSquare, sizeof loaded->pieceSquare));
  for (Move m; loaded->undoMove(m);) continue;
  EXPECT_EQ(0, std::memcmp(loaded->pieceSquare, GameRecord().pieceSquare, sizeof loaded->pieceSquare));
}

// A game of a green player and a resigned game: their keyed lines, read back as written,
// and only the turns and resignations the commands can leave. Red always moves first.
TEST(GameFile, GreenPlayersAndResignationsKeepTheirTurnsAndReadBack) {
  const struct { const char* moves; int undone, player, resigned; bool ended, usersTurn, accepted; const char* lines; } cases[] = {
      {"", 0, Green, NoSide, false, false, true, "Player: green\n"},
      {"h2e2", 0, Green, NoSide, false, true, true, "Player: green\n"},
      {"h2e2 h7e7", 0, Green, NoSide, false, false, true, "Player: green\n"},
      {"h2e2 h7e7 b0c2 b9c7", 2, Green, NoSide, false, true, true, "Player: green\n"},
      {"h2e2 h7e7 b9c7", 0, Green, NoSide, false, true, true, "Player: green\n"},  // undo out of green's win
      {"h2e2 h7e7 b0c2", 0, Green, Green, true, true, true, "Player: green\nResigned: green\n"},
      {"", 0, Red, Red, true, true, true, "Resigned: red\n"},
      {"h2e2 h7e7", 0, Red, Red, true, true, true, "Resigned: red\n"},
      {"", 0, Green, NoSide, false, true, false, ""},
      {"h2e2", 0, Green, NoSide, false, false, false, ""},
      {"h2e2 b0c2", 0, Green, NoSide, false, true, false, ""},
      {"h7e7", 0, Green, NoSide, false, false, false, ""},
      {"h2e2 h7e7", 0, Red, Green, true, true, false, ""},
      {"h2e2 h7e7", 0, Red, Red, false, true, false, ""},
      {"h2e2 h7e7", 0, Red, Red, true, false, false, ""},
      {"h2e2 h7e7 b0c2 b9c7", 2, Red, Red, true, true, false, ""},
  };
  for (const auto& c : cases) {
    auto record = PlayedRecord(c.moves);
    Move m;
    for (int i = 0; i < c.undone; ++i) record->undoMove(m);
    auto data = DataOf(*record, 7, c.ended, c.usersTurn);
    data->playerSide = c.player;
    data->resignedSide = c.resigned;
    GameFileError error;
    EXPECT_EQ(CheckGameFile(*data, error), c.accepted) << c.moves << ": " << error.message;
    if (!c.accepted) continue;
    // The first release's layout with the keyed lines before its two empty lines.
    const std::string text = FormatGameFile(*data);
    auto plain = std::make_unique<GameFileData>(*data);
    plain->playerSide = Red;
    plain->resignedSide = NoSide;
    const std::string first = FormatGameFile(*plain);
    EXPECT_EQ(text, first.substr(0, first.size() - 2) + c.lines + "\n\n") << c.moves;
    const GameReading read = ReadGameText(text);
    ASSERT_TRUE(read.ok) << c.moves << ": " << read.error.message;
    EXPECT_EQ(FormatGameFile(*read.data), text);
  }
}

// Random damage a disk, an editor or a crash could do: refused, or loaded consistently.
TEST(GameFile, MutatedFilesLoadConsistentlyOrAreRefused) {
  auto longer = std::make_unique<GameRecord>();
  auto record = std::make_unique<GameRecord>();
  Move m;
  ASSERT_TRUE(PlayRandomGame(*longer, 40, 11));
  ASSERT_TRUE(longer->undoMove(m));
  ASSERT_TRUE(longer->undoMove(m));
  auto resigned = DataOf(*longer, 31, true);  // green resigned, its own move the last (an undo out of its win)
  resigned->playerSide = resigned->resignedSide = Green;
  resigned->recordedMoves = resigned->moveCount;
  const std::string bases[] = {GoldenFile, FormatGameFile(*DataOf(*longer, 12)), FormatGameFile(*DataOf(*longer, 250, true)),
                               FormatGameFile(*resigned)};
  for (const std::string& base : bases) ASSERT_TRUE(ReadGameText(base).ok) << base;
  const char* const numbers[] = {"99999999999999999999", "2147483648", "-2147483649", "1001", "1000", "17", "16",
                                 "-1", "0", "255", "218", "128", "90", "89"};
  std::mt19937 random(20240302);
  auto pick = [&](size_t n) { return n == 0 ? size_t{0} : static_cast<size_t>(random() % n); };
  int accepted = 0;
  for (int round = 0; round < 12000; ++round) {
    std::string text = bases[round % std::size(bases)];
    for (int d = random() % 3 == 0 ? 2 : 1; d > 0; --d) {
      const unsigned kind = random() % 5;
      if (kind == 0) {  // a few bytes changed
        for (int i = 1 + random() % 3; i > 0 && !text.empty(); --i) text[pick(text.size())] = static_cast<char>(random());
      } else if (kind == 1) {  // cut short
        text.resize(pick(text.size()));
      } else if (kind == 2) {  // a number made huge or put on a boundary
        size_t at = text.find_first_of("0123456789", pick(text.size()));
        if (at == std::string::npos) continue;
        at = text.find_last_not_of("0123456789", at) + 1;
        text.replace(at, text.find_first_not_of("0123456789", at) - at, numbers[pick(std::size(numbers))]);
      } else {  // a line lost or duplicated
        const size_t start = text.rfind('\n', pick(text.size()));
        const size_t from = start == std::string::npos ? 0 : start + 1;
        const size_t end = std::min(text.find('\n', from), text.size() - 1) + 1;
        if (kind == 3) text.erase(from, end - from);
        else text.insert(from, text.substr(from, end - from));
      }
    }
    const GameReading read = ReadGameText(text);
    if (!read.ok) continue;
    ++accepted;
    const GameFileData& data = *read.data;
    ASSERT_LE(data.recordedMoves, HistoryCapacity);
    ASSERT_LE(data.eatenRedCount, MaxEatenCount);
    ASSERT_LE(data.eatenGreenCount, MaxEatenCount);
    LoadIntoRecord(data, *record);
    for (int side = 0; side < 2; ++side)
      for (int index = 1; index <= PiecesPerSide; ++index) {
        const uint8_t code = static_cast<uint8_t>(colourBit(side) | index);
        const uint8_t at = record->pieceSquare[side][index];
        const bool placed = isCaptured(at) ? !std::memchr(record->position.squares, code, BoardSquares)
                                           : record->position.squares[at] == code;
        ASSERT_TRUE(placed) << text;
      }
    const GameReading reread = ReadGameText(FormatGameFile(data));
    ASSERT_TRUE(reread.ok) << text;
    ASSERT_EQ(FormatGameFile(*reread.data), FormatGameFile(data)) << text;
  }
  EXPECT_GT(accepted, 24) << "the mutations must leave some files whole";
  EXPECT_LT(accepted, 6000) << "the mutations must damage most files";
}

TEST(GameArchive, NamesFollowTheBlockOfAHundred) {
  const struct { int32_t game; const char *computer, *name; } cases[] = {
      {1, "TESTBOX", "Games1-100_TESTBOX.vrd5"},
      {100, "TESTBOX", "Games1-100_TESTBOX.vrd5"},
      {101, "TESTBOX", "Games101-200_TESTBOX.vrd5"},
      {2147483647, "", "Games2147483601-2147483700_.vrd5"},
  };
  for (const auto& c : cases) EXPECT_EQ(ArchiveFileName(c.game, c.computer), c.name) << c.game;
}

// A record of `size` bytes that differ from record to record and says who wrote it.
std::string Record(int writer, int index, size_t size) {
  std::string bytes = "R " + std::to_string(writer) + " " + std::to_string(index) + " " + std::to_string(size) + "\n";
  for (size_t i = 0; i < size; ++i) bytes += static_cast<char>((i * 31 + writer * 7 + index) % 251);
  return bytes;
}

TEST(GameArchive, AppendsAreWholeOrNothingEvenFromProcessesAtOnce) {
  ScratchDirectory dir;
  for (size_t size : {0, 4084, 4085, 4086, 8181, 150000}) {  // around the 4096-byte chunks
    WriteFile("archive", "old");
    WriteFile("current", Record(0, 0, size));
    EXPECT_TRUE(AppendFileToArchive("archive", "current")) << size;
    EXPECT_EQ(ReadFile("archive"), "old" + Record(0, 0, size)) << size;
  }
  WriteFile("archive", "old");
  std::filesystem::create_directory("a-directory");
  EXPECT_FALSE(AppendFileToArchive("archive", "missing"));
  EXPECT_FALSE(AppendFileToArchive("a-directory", "current"));
  WriteFile("current", Record(0, 0, 20000));
  {
    FileSizeCap diskFull(9000);  // full after two chunks
    EXPECT_FALSE(AppendFileToArchive("archive", "current"));
  }
  EXPECT_EQ(ReadFile("archive"), "old") << "no torn record";

  std::filesystem::remove("archive");
  std::vector<pid_t> children;
  for (int w = 0; w < 4; ++w) {
    if (const pid_t pid = fork(); pid != 0) {
      children.push_back(pid);
      continue;
    }
    const std::string source = "current-" + std::to_string(w);
    bool ok = true;
    for (int i = 0; i < 25 && ok; ++i) {
      WriteFile(source, Record(w, i, 5000 + (w * 997 + i * 131) % 7000));
      ok = AppendFileToArchive("archive", source);
    }
    _exit(ok ? 0 : 1);
  }
  for (pid_t pid : children) EXPECT_TRUE(ExitedWell(pid));
  const std::string archive = ReadFile("archive");
  int next[4] = {}, writer = 0, index = 0;
  size_t at = 0, size = 0;
  while (at < archive.size() && std::sscanf(archive.c_str() + at, "R %d %d %zu", &writer, &index, &size) == 3 &&
         writer >= 0 && writer < 4 && index == next[writer]) {
    const std::string expected = Record(writer, index, size);
    ASSERT_EQ(archive.compare(at, expected.size(), expected), 0) << "record " << writer << "/" << index << " is torn";
    at += expected.size();
    ++next[writer];
  }
  EXPECT_EQ(at, archive.size());
  EXPECT_EQ(next[0] + next[1] + next[2] + next[3], 100);
}

// Start-up's clean-up removes what a killed save left, and nothing that may be someone's.
TEST(SafeFile, OnlyTemporaryFilesOfWritersThatEndedAreRemoved) {
  ScratchDirectory dir;
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  ASSERT_TRUE(ExitedWell(ended));
  const std::string gone = std::to_string(ended), alive = std::to_string(getpid());
  const std::string game = CurrentGameFileName("TESTBOX");
  const struct { std::string name; bool removed; } cases[] = {
      {game + ".tmp." + gone, true},
      {game + ".tmp." + alive, false},
      {game + ".tmp.1", false},  // init runs
      {game + ".tmp." + gone + ".kept", false},
      {game + ".tmp.0" + gone, false},
      {game + ".tmp.-" + gone, false},
      {game + ".tmp.99999999999", false},
      {game + ".tmp.", false},
      {CurrentGameFileName("OTHERBOX") + ".tmp." + gone, false},
      {game, false},
  };
  for (const auto& c : cases) WriteFile(c.name, "x");
  RemoveAbandonedTempFiles(game);
  for (const auto& c : cases) EXPECT_EQ(std::filesystem::exists(c.name), !c.removed) << c.name;
}

TEST(GameSettings, FilesReadAsTheirLinesSayAndWriteBackTheSame) {
  ScratchDirectory dir;
  const std::string text = "HintAtStartup = 0\nHighlightMove = 1\nShowMoves = 0\nShowIllegalMoves = 1\n"
                           "ExplainIllegalMoves = 0\nAutoHideMenu = 1\nDifficultyLevel = 9\nHelpLanguage = 2\n";
  auto edit = [&](const char* from, const char* to) { return std::string(text).replace(text.find(from), strlen(from), to); };
  const SettingsValues fresh;
  const SettingsValues all = {0, 1, 0, 1, 0, 1, 9, 2};
  const SettingsValues stopped = {0, 1, 1, 1, 1, 1, 1, 0};
  const struct { std::optional<std::string> file; SettingsValues read; } cases[] = {
      {std::nullopt, fresh},
      {"", fresh},
      {text, all},
      {Crlf(text), all},
      {"\n\n" + edit("\nShowMoves", "\n\nShowMoves") + "\n", all},
      {edit("HighlightMove = 1", "HighlightMove = 2"), {0, 0, 0, 1, 0, 1, 9, 2}},
      {edit("ShowMoves = 0", "ShowMoves = -1"), all},
      {edit("ShowMoves = 0\n", ""), stopped},
      {edit("= 0\nShowI", "= x\nShowI"), stopped},
      {edit("Level = 9", "Level = -3"), {0, 1, 0, 1, 0, 1, -3, 2}},
      // The side and the language: keyed lines after the eight, in any order among others;
      // unknown values read as the default.
      {text + "PlayerSide = 1\n", {0, 1, 0, 1, 0, 1, 9, 2, SideChoiceGreen}},
      {Crlf(text + "\nColour = 3\nPlayerSide = 2\n"), {0, 1, 0, 1, 0, 1, 9, 2, SideChoiceAlternate}},
      {text + "PlayerSide = 7\n", all},
      {text + "PlayerSide = x\n", all},
      {edit("ShowMoves = 0\n", "") + "PlayerSide = 1\n", stopped},
      {text + "InterfaceLanguage = 3\n", {0, 1, 0, 1, 0, 1, 9, 2, SideChoiceRed, 3}},
      {text + "InterfaceLanguage = 4\nPlayerSide = 1\n", {0, 1, 0, 1, 0, 1, 9, 2, SideChoiceGreen, 4}},
      {text + "InterfaceLanguage = 6\n", all},
  };
  for (const auto& c : cases) {
    std::remove("settings");
    if (c.file) WriteFile("settings", *c.file);
    SettingsValues read, again;
    EXPECT_EQ(ReadSettingsFile("settings", read), c.file.has_value()) << (c.file ? *c.file : "no file");
    EXPECT_EQ(FormatSettings(read), FormatSettings(c.read)) << (c.file ? *c.file : "no file");
    ASSERT_TRUE(WriteSettingsFile("settings", read));
    EXPECT_TRUE(ReadSettingsFile("settings", again));
    EXPECT_EQ(FormatSettings(again), FormatSettings(read));
  }
  // Today's eight lines alone while the keyed settings keep their defaults.
  EXPECT_EQ(FormatSettings(all), text);
}

// Each setting's line carries every value of the setting's range through a write and a read.
TEST(GameSettings, EverySettingKeepsEachValueOfItsRangeThroughTheFile) {
  ScratchDirectory dir;
  for (const SettingRow& row : SettingRows) {
    for (int32_t value = row.lowest; value <= row.highest; ++value) {
      SettingsValues written;
      row.set(written, value);
      ASSERT_TRUE(WriteSettingsFile("settings", written));
      SettingsValues read;
      for (const SettingRow& other : SettingRows)  // every setting other than it will be read
        other.set(read, other.get(written) == other.lowest ? other.highest : other.lowest);
      EXPECT_TRUE(ReadSettingsFile("settings", read));
      EXPECT_EQ(FormatSettings(read), FormatSettings(written)) << row.key << " = " << value;
    }
  }
}

const char* dataAt = "";  // the one folder the probe finds the data in
bool Probe(const std::string& dir) { return dir == dataAt; }

TEST(Folders, DataFromTheWorkingFolderElseInstalledWithFilesInTheUsersDataFolder) {
  const struct Row {
    const char *what, *dataIn, *xdg, *home;
    FolderCase use;
    const char *dataDir, *filesDir, *problem;
  } rows[] = {
      {"started beside the data: as always", "/w", "/x", "/h", FolderCase::Working, "", "", ""},
      {"installed, XDG_DATA_HOME set", "/usr/share/rq", "/x/", "/h", FolderCase::Installed, "/usr/share/rq",
       "/x/ravenquill", ""},
      {"installed, relative XDG_DATA_HOME ignored", "/usr/share/rq", "x", "/h", FolderCase::Installed, "/usr/share/rq",
       "/h/.local/share/ravenquill", ""},
      {"installed, XDG_DATA_HOME unset", "/usr/share/rq", nullptr, "/h", FolderCase::Installed, "/usr/share/rq",
       "/h/.local/share/ravenquill", ""},
      {"installed, but no HOME either", "/usr/share/rq", nullptr, nullptr, FolderCase::NoData, "", "",
       "neither XDG_DATA_HOME nor HOME"},
      {"no data anywhere", "/elsewhere", "/x", "/h", FolderCase::NoData, "", "",
       "/w\nand in the installed data folder,\n  /usr/share/rq"},
  };
  for (const Row& row : rows) {
    dataAt = row.dataIn;
    const Folders f = ChooseFolders("/w", "/usr/share/rq", row.xdg, row.home, Probe);
    EXPECT_EQ(f.use, row.use) << row.what;
    EXPECT_EQ(f.dataDir, row.dataDir) << row.what;
    EXPECT_EQ(f.filesDir, row.filesDir) << row.what;
    EXPECT_EQ(f.problem.empty(), !*row.problem) << row.what << ": " << f.problem;
    EXPECT_NE(f.problem.find(row.problem), std::string::npos) << row.what << ": " << f.problem;
  }
}

}  // namespace
}  // namespace rq::test
