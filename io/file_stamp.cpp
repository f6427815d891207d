#include "io/file_stamp.h"

#include <sys/stat.h>

namespace pellum {

FileStamp StampOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0)
    return {};
  // The change time moves on every write and rename, and no program can set it back.
  return {true, static_cast<std::uint64_t>(status.st_size),
          static_cast<std::int64_t>(status.st_ctim.tv_sec),
          static_cast<std::int64_t>(status.st_ctim.tv_nsec)};
}

}  // namespace pellum
