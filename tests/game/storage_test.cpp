// The archive and the settings file.
#include <sys/wait.h>

#include <optional>

#include "game/archive.h"
#include "game_support.h"

namespace rq::test {
namespace {

TEST(GameArchive, NamesFollowTheBlockOfAHundred) {
  const struct { int32_t game; const char *computer, *name; } cases[] = {
      {1, "TESTBOX", "Games1-100_TESTBOX.vrd5"}, {100, "TESTBOX", "Games1-100_TESTBOX.vrd5"},
      {101, "TESTBOX", "Games101-200_TESTBOX.vrd5"}, {2147483647, "", "Games2147483601-2147483700_.vrd5"}};
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
    WriteFile("archive", "old"), WriteFile("current", Record(0, 0, size));
    EXPECT_TRUE(AppendFileToArchive("archive", "current")) << size;
    EXPECT_EQ(ReadFile("archive"), "old" + Record(0, 0, size)) << size;
  }
  WriteFile("archive", "old"), std::filesystem::create_directory("a-directory");
  EXPECT_FALSE(AppendFileToArchive("archive", "missing") || AppendFileToArchive("a-directory", "current"));
  WriteFile("current", Record(0, 0, 20000));
  { FileSizeCap diskFull(9000); EXPECT_FALSE(AppendFileToArchive("archive", "current")); }  // full after two chunks
  EXPECT_EQ(ReadFile("archive"), "old") << "no torn record";

  std::filesystem::remove("archive");
  std::vector<pid_t> children;
  for (int w = 0; w < 4; ++w) {
    if (const pid_t pid = fork(); pid != 0) { children.push_back(pid); continue; }
    const std::string source = "current-" + std::to_string(w);
    for (int i = 0; i < 25; ++i) {
      WriteFile(source, Record(w, i, 5000 + (w * 997 + i * 131) % 7000));
      if (!AppendFileToArchive("archive", source)) _exit(1);
    }
    _exit(0);
  }
  for (int status = 0; pid_t pid : children)
    EXPECT_TRUE(waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const std::string archive = ReadFile("archive");
  int next[4] = {}, writer = 0, index = 0;
  size_t at = 0, size = 0;
  while (at < archive.size() && std::sscanf(archive.c_str() + at, "R %d %d %zu", &writer, &index, &size) == 3 &&
         writer >= 0 && writer < 4 && index == next[writer]) {
    const std::string expected = Record(writer, index, size);
    ASSERT_EQ(archive.compare(at, expected.size(), expected), 0) << "record " << writer << "/" << index << " is torn";
    at += expected.size(), ++next[writer];
  }
  EXPECT_EQ(at, archive.size());
  EXPECT_EQ(next[0] + next[1] + next[2] + next[3], 100);
}

TEST(GameSettings, FilesReadAsTheirLinesSayAndWriteBackTheSame) {
  ScratchDirectory dir;
  const std::string all = "HintAtStartup = 0\nHighlightMove = 1\nShowMoves = 0\nShowIllegalMoves = 1\n"
                          "ExplainIllegalMoves = 0\nAutoHideMenu = 1\nDifficultyLevel = 9\nHelpLanguage = 2\n";
  auto edit = [&](const char* from, const char* to) { return std::string(all).replace(all.find(from), strlen(from), to); };
  std::string crlf;
  for (char c : all) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const struct { std::optional<std::string> file; const char* read; } cases[] = {
      {std::nullopt, "1 1 1 1 1 1 1 0"}, {"", "1 1 1 1 1 1 1 0"}, {all, "0 1 0 1 0 1 9 2"}, {crlf, "0 1 0 1 0 1 9 2"},
      {"\n\n" + edit("\nShowMoves", "\n\nShowMoves") + "\n", "0 1 0 1 0 1 9 2"},
      {edit("HighlightMove = 1", "HighlightMove = 2"), "0 0 0 1 0 1 9 2"},
      {edit("ShowMoves = 0", "ShowMoves = -1"), "0 1 0 1 0 1 9 2"},
      {edit("ShowMoves = 0\n", ""), "0 1 1 1 1 1 1 0"}, {edit("= 0\nShowI", "= x\nShowI"), "0 1 1 1 1 1 1 0"},
      {edit("Level = 9", "Level = -3"), "0 1 0 1 0 1 -3 2"},
  };
  for (const auto& c : cases) {
    if (std::remove("settings"), c.file) WriteFile("settings", *c.file);
    SettingsValues read, again;
    int n[8];
    std::sscanf(c.read, "%d %d %d %d %d %d %d %d", n, n + 1, n + 2, n + 3, n + 4, n + 5, n + 6, n + 7);
    const SettingsValues expected = {n[0] == 1, n[1] == 1, n[2] == 1, n[3] == 1, n[4] == 1, n[5] == 1, n[6], n[7]};
    EXPECT_EQ(ReadSettingsFile("settings", read), c.file.has_value()) << c.read;
    EXPECT_EQ(FormatSettings(read), FormatSettings(expected)) << (c.file ? *c.file : "no file");
    ASSERT_TRUE(WriteSettingsFile("settings", read));
    EXPECT_TRUE(ReadSettingsFile("settings", again) && FormatSettings(again) == FormatSettings(read));
  }
  EXPECT_EQ(FormatSettings({false, true, false, true, false, true, 9, 2}), all);
}

}  // namespace
}  // namespace rq::test
