#include "game/game_texts.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "game/current_game.h"

namespace rq {

// Only %s is used, so the three are put in by hand rather than through a variadic printf.
std::string FormatText(const char* format, const std::string& first, const std::string& second,
                       const std::string& third) {
  const std::string* values[] = {&first, &second, &third};
  std::string text;
  int next = 0;
  for (const char* p = format; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 's' && next < 3) {
      text += *values[next++];
      ++p;
    } else {
      text += *p;
    }
  }
  return text;
}

std::string WriteProblemText(int error) {
  switch (error) {
    case FileKeptUnread: return FileKeptUnreadText;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return DiskFullText;
    case EROFS: return ReadOnlyDiskText;
    case EACCES:
    case EPERM: return NotPermittedText;
    default: return std::strerror(error);
  }
}

std::string PathInFolder(const std::string& name) {
  std::error_code failed;
  const std::filesystem::path folder = std::filesystem::current_path(failed);
  return failed ? name : (folder / name).string();
}

}  // namespace rq
