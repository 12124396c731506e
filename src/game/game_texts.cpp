#include "game/game_texts.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "game/current_game.h"

namespace rq {

std::string WriteProblemText(int error) {
  switch (error) {
    case FileKeptUnread: return _(FileKeptUnreadText);
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return _(DiskFullText);
    case EROFS: return _(ReadOnlyDiskText);
    case EACCES:
    case EPERM: return _(NotPermittedText);
    default: return std::strerror(error);
  }
}

std::string PathInFolder(const std::string& name) {
  std::error_code failed;
  const std::filesystem::path folder = std::filesystem::current_path(failed);
  return failed ? name : (folder / name).string();
}

}  // namespace rq
