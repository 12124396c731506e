#include "game/game_reader.h"

#include <cstring>

#include "game/pgn_export.h"
#include "game/text_decode.h"
#include "platform/language.h"
#include "platform/texts.h"
#include "rules/move_text.h"
#include "rules/notation.h"
#include "rules/position_check.h"

namespace rq {
namespace {

// Why a text is not opened, each with what the game does open, as whole sentences.
constexpr const char* TooLargeText =
    N_("This is far larger than any game or collection. Ravenquill opens Xiangqi games in PGN (moves in ICCS "
       "coordinates, WXF or Chinese notation), positions in FEN, and its own saved games (.vrd5).");
constexpr const char* EmptyText =
    N_("There is nothing to open: the text is empty. Ravenquill opens Xiangqi games in PGN (moves in ICCS "
       "coordinates, WXF or Chinese notation), positions in FEN, and its own saved games (.vrd5).");
constexpr const char* NotTextText =
    N_("This is not text. Ravenquill opens Xiangqi games in PGN (moves in ICCS coordinates, WXF or Chinese "
       "notation), positions in FEN, and its own saved games (.vrd5).");
constexpr const char* NoGameFoundText =
    N_("No Xiangqi game or position was found in this text. Ravenquill opens Xiangqi games in PGN (moves in ICCS "
       "coordinates, WXF or Chinese notation), positions in FEN, and its own saved games (.vrd5).");
// The game's number in the file and what is wrong with it (from the file's check).
constexpr const char* RecordDamagedText = N_("Game %d of this saved-game file is damaged (%s); it is not opened.");
// What is wrong with it, as above.
constexpr const char* SavedGameDamagedText = N_("The saved game is damaged (%s).");
constexpr const char* NotTakenOverText = N_("The game could not be taken over (%s).");
// Why the rules refuse the position (from the position's check).
constexpr const char* PositionImpossibleText = N_("This position could not arise in a game: %s.");

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// The text without blanks at either end.
std::string Trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Whether the text is one line shaped like a FEN: ten rows of pieces and digits first.
bool LooksLikeFen(const std::string& text) {
  if (text.find('\n') != std::string::npos) return false;
  const std::string board = text.substr(0, text.find(' '));
  int slashes = 0;
  for (char c : board) {
    if (c == '/') ++slashes;
    else if (!std::strchr("123456789rnbakcpehRNBAKCPEHqQ", c)) return false;
  }
  return slashes >= 7;
}

// A token that ends the main line.
bool IsResult(const std::string& t) { return t == "1-0" || t == "0-1" || t == "1/2-1/2" || t == "*" || t == "½-½"; }

// The move text of a token: its move number and annotation marks gone; empty for none.
std::string MoveOfToken(std::string t) {
  size_t k = 0;
  while (k < t.size() && t[k] >= '0' && t[k] <= '9') ++k;
  if (k > 0 && k < t.size() && t[k] == '.') {
    while (k < t.size() && t[k] == '.') ++k;
    t = t.substr(k);
  } else if (k == t.size()) {
    return {};  // a bare number
  }
  if (!t.empty() && t[0] == '$') return {};
  while (!t.empty() && (t.back() == '!' || t.back() == '?')) t.pop_back();
  // A check or mate mark after a complete move; WXF's own "+" comes before the last digit.
  while (t.size() > 4 && (t.back() == '+' || t.back() == '#')) t.pop_back();
  return t;
}

// Splits PGN text into games: tag pairs, then the main line's moves; comments, variations,
// escapes and annotations are passed over.
void SplitPgn(const std::string& text, std::vector<GameSource>& games) {
  GameSource game;
  bool inMoves = false;  // the current game's moves have begun
  auto finish = [&] {
    if (!game.tags.empty() || !game.moves.empty()) games.push_back(std::move(game));
    game = GameSource{};
    inMoves = false;
  };
  bool lineStart = true;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n') { lineStart = true; ++i; continue; }
    if (IsBlank(c)) { ++i; continue; }
    const bool atLineStart = lineStart;
    lineStart = false;
    if (c == '%' && atLineStart) {
      i = text.find('\n', i);
      if (i == std::string::npos) break;
      continue;
    }
    if (c == '[') {
      if (inMoves) finish();
      const size_t end = text.find('\n', i);
      const std::string line = text.substr(i + 1, (end == std::string::npos ? text.size() : end) - i - 1);
      const size_t quote = line.find('"');
      const size_t close = line.rfind('"');
      if (quote != std::string::npos && close > quote) {
        std::string value;
        for (size_t k = quote + 1; k < close; ++k) {
          if (line[k] == '\\' && k + 1 < close) ++k;
          value += line[k];
        }
        game.tags.emplace_back(Trimmed(line.substr(0, quote)), value);
      }
      i = end == std::string::npos ? text.size() : end;
      continue;
    }
    if (c == '{') {
      const size_t end = text.find('}', i);
      i = end == std::string::npos ? text.size() : end + 1;
      continue;
    }
    if (c == ';') {
      i = text.find('\n', i);
      if (i == std::string::npos) break;
      continue;
    }
    if (c == '(') {
      int depth = 0;
      for (; i < text.size(); ++i) {
        if (text[i] == '{') {
          i = text.find('}', i);
          if (i == std::string::npos) i = text.size() - 1;
        } else if (text[i] == '(') {
          ++depth;
        } else if (text[i] == ')' && --depth == 0) {
          ++i;
          break;
        }
      }
      continue;
    }
    size_t end = i;
    while (end < text.size() && !IsBlank(text[end]) && !std::strchr("{;([)", text[end])) ++end;
    if (end == i) { ++i; continue; }
    const std::string token = text.substr(i, end - i);
    i = end;
    inMoves = true;
    if (IsResult(token)) {
      finish();
      continue;
    }
    const std::string move = MoveOfToken(token);
    if (!move.empty()) game.moves.push_back(move);
  }
  finish();
}

// The list's columns from a PGN game's tags.
void FillPgnColumns(GameSource& g) {
  g.red = g.tag("Red").empty() ? g.tag("White") : g.tag("Red");
  g.black = g.tag("Black");
  g.date = g.tag("Date");
  g.result = g.tag("Result");
  g.fen = g.tag("FEN");
  g.plies = static_cast<int>(g.moves.size());
}

// Whether the variant tag names a game other than Xiangqi.
bool OtherVariant(const GameSource& g) {
  std::string v = g.tag("Variant");
  for (char& c : v) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return !v.empty() && v != "xiangqi" && v != "chinese chess" && v != "chinese";
}

// The records of one of this game's own files.
bool ReadRecords(const std::string& text, std::vector<GameSource>& games, std::string& error) {
  auto data = std::make_unique<GameFileData>();
  size_t offset = 0;
  while (text.find_first_not_of(" \t\r\n", offset) != std::string::npos) {
    size_t consumed = 0;
    GameFileError damage;
    *data = GameFileData();
    const bool parsed = ParseGameFile(text.data() + offset, text.size() - offset, consumed, *data, damage);
    if (parsed && consumed == 0) damage.fail(1, fault::EmptyRecord);
    if (!parsed || consumed == 0 || !CheckGameFile(*data, damage)) {
      error = FormatText(_(RecordDamagedText), static_cast<int>(games.size() + 1), _(damage.message));
      return false;
    }
    GameSource g;
    g.record = text.substr(offset, consumed);
    const PgnPlayers players = GamePlayers(*data);
    g.red = players.red;
    g.black = players.black;
    g.date = PgnDate(data->savedAt);
    g.result = GameResult(*data);
    g.plies = data->moveCount;
    games.push_back(std::move(g));
    offset += consumed;
  }
  return true;
}

// Where the replay stopped: "12. h2e2" or "12... 马８进７".
std::string PlyLabel(int ply, int startSide, const std::string& move) {
  const int counted = ply + (startSide == Green ? 1 : 0);
  return std::to_string(counted / 2 + 1) + (counted % 2 == 0 ? ". " : "... ") + move;
}

// Fills the file data from a record that has played the game, and settles its end.
void RecordToData(GameRecord& record, int sideToMove, bool ended, int finishedSide, GameFileData& data) {
  data.board = record.position;
  data.recordedMoves = data.moveCount = record.moveCount;
  std::memcpy(data.history, record.history, sizeof(HistoryEntry) * static_cast<size_t>(record.moveCount));
  EatenFromHistory(data);
  data.startFen = record.startsAtOpening() ? std::string() : WriteFen(record.startSquares, record.startSide);
  data.gameEnded = ended;
  data.usersTurn = true;
  data.playerSide = ended && record.moveCount > 0 ? finishedSide : sideToMove;
  data.resignedSide = NoSide;
}

}  // namespace

std::string GameSource::tag(const char* name) const {
  for (const auto& t : tags)
    if (t.first == name) return t.second;
  return {};
}

std::string PositionImpossible(const PositionFault& fault) {
  return FormatText(_(PositionImpossibleText), FormatText(_(fault.format), fault.first, fault.second).c_str());
}

bool ReadGames(const std::string& bytes, std::vector<GameSource>& games, std::string& error) {
  games.clear();
  std::string text;
  if (bytes.size() > MaxGameTextBytes) {
    error = _(TooLargeText);
    return false;
  }
  if (Trimmed(bytes).empty()) {
    error = _(EmptyText);
    return false;
  }
  if (!DecodeText(bytes, text)) {
    error = _(NotTextText);
    return false;
  }
  const std::string trimmed = Trimmed(text);
  // A record ends with empty lines: the game's own files are read with their ends as written.
  if (trimmed.compare(0, std::strlen(GameFileMagic), GameFileMagic) == 0)
    return ReadRecords(text.substr(text.find(GameFileMagic)), games, error);
  if (LooksLikeFen(trimmed)) {
    GameSource g;
    g.fen = trimmed;
    games.push_back(std::move(g));
    return true;
  }
  std::vector<GameSource> found;
  SplitPgn(text, found);
  for (GameSource& g : found) {
    FillPgnColumns(g);
    if (OtherVariant(g)) continue;
    // A game whose first move fits no Xiangqi notation is another game's, chess most often.
    if (!g.moves.empty() && NotationOfText(g.moves[0]) == MoveNotation::Unknown) continue;
    if (g.moves.empty() && g.fen.empty() && g.tag("Result").empty()) continue;
    games.push_back(std::move(g));
  }
  if (games.empty()) {
    error = _(NoGameFoundText);
    return false;
  }
  return true;
}

bool ReplaySource(const GameSource& source, int finishedSide, GameFileData& data, ReplayOutcome& out) {
  out = ReplayOutcome{};
  GameFileError fault;
  if (!source.record.empty()) {
    size_t consumed = 0;
    if (!ParseGameFile(source.record.data(), source.record.size(), consumed, data, fault) ||
        !CheckGameFile(data, fault)) {
      out.error = FormatText(_(SavedGameDamagedText), _(fault.message));
      return false;
    }
    return true;
  }
  auto record = std::make_unique<GameRecord>();
  int side = Red;
  if (source.fen.empty()) {
    record->newGame();
  } else if (PositionFault refused; !LoadCheckedFen(*record, source.fen, side, refused)) {
    out.error = PositionImpossible(refused);
    return false;
  }
  const int startSide = side;
  bool ended = false;
  for (size_t ply = 0; ply < source.moves.size() && !ended; ++ply) {
    int from = 0, to = 0;
    Move move;
    int32_t reason = ReasonNone, detail = 0;
    bool playable = record->moveCount < HistoryCapacity && ParseMoveText(*record, side, source.moves[ply], from, to);
    if (playable) {
      move.from = static_cast<uint8_t>(from);
      move.to = static_cast<uint8_t>(to);
      playable = record->validateMove(move, reason, detail) || reason == ReasonRepetition;
    }
    if (!playable) {
      out.complete = false;
      out.stoppedPly = static_cast<int>(ply);
      out.stoppedText = PlyLabel(static_cast<int>(ply), startSide, source.moves[ply]);
      break;
    }
    const bool tookGeneral = record->makeMove(side, move);
    record->recordMove(move);
    ended = tookGeneral || reason == ReasonRepetition;
    side = 1 - side;
  }
  if (!ended) ended = !record->hasPermittedMove(side);
  if (ended) record->endPly = record->moveCount;
  RecordToData(*record, side, ended, finishedSide, data);
  if (!CheckGameFile(data, fault)) {
    out.error = FormatText(_(NotTakenOverText), _(fault.message));
    return false;
  }
  return true;
}

}  // namespace rq
