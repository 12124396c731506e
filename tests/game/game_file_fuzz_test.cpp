// Mutated current-game files through the reader and the checker: none may crash or read
// past a capacity (the sanitizer build watches), and each is either refused or loads
// into an engine state that holds together.
#include <cstring>
#include <memory>
#include <random>

#include "game/game_file.h"
#include "game_test_support.h"

namespace rq::test {
namespace {

// One random damage of the kinds a disk, an editor or a crash could do.
std::string Mutate(std::string text, std::mt19937& random) {
  static const char* const numbers[] = {"99999999999999999999", "2147483648", "-2147483649", "1001", "1000",
                                        "17", "16", "-1", "0", "255", "218", "128", "90", "89"};
  auto pick = [&](size_t n) { return n == 0 ? size_t{0} : static_cast<size_t>(random() % n); };
  auto digit = [&](size_t i) { return i < text.size() && isdigit(static_cast<unsigned char>(text[i])); };
  const unsigned kind = random() % 6;
  if (kind == 0) {  // byte flips
    for (int i = 1 + static_cast<int>(random() % 3); i > 0 && !text.empty(); --i)
      text[pick(text.size())] = static_cast<char>(random() & 0xFF);
  } else if (kind == 1) {  // truncation
    text.resize(pick(text.size()));
  } else if (kind == 2) {  // a number made huge or put on a boundary
    size_t at = pick(text.size());
    while (at < text.size() && !digit(at)) ++at;
    while (at > 0 && digit(at - 1)) --at;
    size_t end = at;
    while (digit(end)) ++end;
    if (end > at) text.replace(at, end - at, numbers[pick(std::size(numbers))]);
  } else {  // a line duplicated, lost, or two swapped
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
      const size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
      lines.push_back(text.substr(start, end - start));
      start = end;
    }
    if (lines.empty()) return text;
    const size_t a = pick(lines.size()), b = pick(lines.size());
    const std::string copy = lines[a];
    if (kind == 3) lines.insert(lines.begin() + static_cast<long>(a), copy);
    else if (kind == 4) lines.erase(lines.begin() + static_cast<long>(a));
    else std::swap(lines[a], lines[b]);
    text.clear();
    for (const std::string& line : lines) text += line;
  }
  return text;
}

// The loaded engine state agrees with itself, and what loads writes out the same again.
void ExpectConsistent(const GameFileData& data, GameRecord& record) {
  ASSERT_TRUE(data.recordedMoves <= HistoryCapacity && data.eatenRedCount <= MaxEatenCount &&
              data.eatenGreenCount <= MaxEatenCount);
  LoadIntoRecord(data, record);
  for (int side = 0; side < 2; ++side)
    for (int index = 1; index <= PiecesPerSide; ++index) {
      const uint8_t code = static_cast<uint8_t>(colourBit(side) | index), entry = record.pieceSquare[side][index];
      ASSERT_TRUE(isCaptured(entry) ? !std::memchr(record.position.squares, code, BoardSquares)
                                    : record.position.squares[entry] == code)
          << "piece list and board disagree";
    }
  const std::string again = FormatGameFile(data);
  auto reread = std::make_unique<GameFileData>();
  size_t consumed = 0;
  GameFileError error;
  ASSERT_TRUE(ParseGameFile(again.data(), again.size(), consumed, *reread, error) && CheckGameFile(*reread, error));
  ASSERT_EQ(FormatGameFile(*reread), again);
}

TEST(GameFileFuzz, MutatedFilesLoadConsistentlyOrAreRefused) {
  auto longer = std::make_unique<GameRecord>();
  ASSERT_TRUE(PlayRandomGame(*longer, 40, 11));
  Move m;
  longer->undoMove(m);
  longer->undoMove(m);
  auto ended = DataOf(*longer, 250);
  ended->gameEnded = true;
  const std::string bases[] = {GoldenFile, FormatGameFile(*DataOf(*longer, 12)), FormatGameFile(*ended)};

  std::mt19937 random(20240302);
  auto record = std::make_unique<GameRecord>();
  auto data = std::make_unique<GameFileData>();
  int accepted = 0, refused = 0;
  constexpr int Rounds = 12000;
  for (int round = 0; round < Rounds; ++round) {
    std::string text = bases[round % std::size(bases)];
    const int damages = random() % 3 == 0 ? 2 : 1;
    for (int d = 0; d < damages; ++d) text = Mutate(text, random);

    // An exact-size copy, so that any read past the end is caught.
    std::unique_ptr<char[]> bytes(new char[text.size()]);
    std::memcpy(bytes.get(), text.data(), text.size());
    *data = GameFileData{};
    size_t consumed = 0;
    GameFileError error;
    const bool ok = ParseGameFile(bytes.get(), text.size(), consumed, *data, error) && CheckGameFile(*data, error);
    if (!ok) {
      ++refused;
      continue;
    }
    ++accepted;
    ExpectConsistent(*data, *record);
    ASSERT_FALSE(HasFatalFailure()) << text;
  }
  // Both outcomes must have been exercised for the test to mean anything.
  EXPECT_GT(accepted, Rounds / 500);
  EXPECT_GT(refused, Rounds / 2);
}

}  // namespace
}  // namespace rq::test
