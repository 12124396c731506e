// The game archive: file names by block, whole copies, and two processes appending at once.
#include <sys/wait.h>
#include <unistd.h>

#include "game/archive.h"
#include "game_test_support.h"

namespace rq::test {
namespace {

TEST(GameArchive, NamesFollowTheBlockOfAHundred) {
  const struct {
    int32_t game;
    const char* computer;
    const char* name;
  } cases[] = {
      {1, "TESTBOX", "Games1-100_TESTBOX.vrd5"},
      {100, "TESTBOX", "Games1-100_TESTBOX.vrd5"},
      {101, "TESTBOX", "Games101-200_TESTBOX.vrd5"},
      {200, "TESTBOX", "Games101-200_TESTBOX.vrd5"},
      {7, "", "Games1-100_.vrd5"},
      {2147483647, "X", "Games2147483601-2147483700_X.vrd5"},
  };
  for (const auto& c : cases) EXPECT_EQ(ArchiveFileName(c.game, c.computer), c.name) << c.game;
}

// Bytes that differ from record to record and inside a record.
std::string Pattern(size_t size, int seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + seed * 7) % 251);
  return bytes;
}

TEST(GameArchive, SourcesOfEverySizeAreAppendedWhole) {
  ScratchDirectory dir;
  const size_t sizes[] = {0, 1, 4095, 4096, 4097, 8192, 12289, 150000};
  int seed = 0;
  for (size_t size : sizes) {
    const std::string before = Pattern(1000, ++seed);
    const std::string source = Pattern(size, ++seed);
    WriteFile("archive.vrd5", before);
    WriteFile("current.vrd5", source);
    EXPECT_TRUE(AppendFileToArchive("archive.vrd5", "current.vrd5")) << size;
    EXPECT_EQ(ReadFile("archive.vrd5"), before + source) << size;
    EXPECT_EQ(ReadFile("current.vrd5"), source) << size;
  }
}

TEST(GameArchive, FailuresAreReportedAndChangeNothing) {
  ScratchDirectory dir;
  WriteFile("current.vrd5", "game");
  WriteFile("archive.vrd5", "old");
  std::filesystem::create_directory("a-directory");
  EXPECT_FALSE(AppendFileToArchive("archive.vrd5", "missing.vrd5"));
  EXPECT_FALSE(AppendFileToArchive("a-directory", "current.vrd5"));
  EXPECT_EQ(ReadFile("archive.vrd5"), "old");
  WriteFile("large.vrd5", Pattern(20000, 1));
  {
    FileSizeCap diskFull(9000);  // full after two of the five chunks
    EXPECT_FALSE(AppendFileToArchive("archive.vrd5", "large.vrd5"));
  }
  EXPECT_EQ(ReadFile("archive.vrd5"), "old") << "no torn record";
}

// A record that says who wrote it and how long it is, so that any mixing shows.
std::string Record(int writer, int index) {
  const size_t size = 5000 + static_cast<size_t>(writer * 997 + index * 131) % 7000;
  std::string head = "R " + std::to_string(writer) + " " + std::to_string(index) + " " + std::to_string(size) + "\n";
  return head + std::string(size, static_cast<char>('a' + writer)) + "\n";
}

TEST(GameArchive, ProcessesAppendingAtOnceLeaveEveryRecordWhole) {
  ScratchDirectory dir;
  constexpr int Writers = 4;
  constexpr int RecordsEach = 25;
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  std::vector<pid_t> children;
  for (int w = 0; w < Writers; ++w) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(start[1]);
      char go;
      if (read(start[0], &go, 1) != 0) _exit(3);  // all start when the pipe closes
      for (int i = 0; i < RecordsEach; ++i) {
        const std::string source = "current-" + std::to_string(w) + ".vrd5";
        WriteFile(source, Record(w, i));
        if (!AppendFileToArchive("Games1-100_TESTBOX.vrd5", source)) _exit(1);
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  close(start[0]);
  close(start[1]);
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  const std::string archive = ReadFile("Games1-100_TESTBOX.vrd5");
  int seen[Writers] = {};
  size_t at = 0;
  int records = 0;
  while (at < archive.size()) {
    int writer = -1, index = -1;
    size_t size = 0;
    ASSERT_EQ(std::sscanf(archive.c_str() + at, "R %d %d %zu", &writer, &index, &size), 3) << "record " << records;
    ASSERT_TRUE(writer >= 0 && writer < Writers);
    const std::string expected = Record(writer, index);
    ASSERT_EQ(archive.compare(at, expected.size(), expected), 0) << "record " << records << " is not whole";
    EXPECT_EQ(index, seen[writer]++) << "records of one writer keep their order";
    at += expected.size();
    ++records;
  }
  EXPECT_EQ(records, Writers * RecordsEach);
}

}  // namespace
}  // namespace rq::test
