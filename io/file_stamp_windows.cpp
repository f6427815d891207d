#include "io/file_stamp.h"
#include "io/windows_files.h"

namespace pellum {

FileStamp StampOf(const std::string& path) {
  const FileFacts facts = FactsOf(path);
  if (!facts.found)
    return {};
  // Windows keeps the times in units of 100 ns.
  return {true, facts.size, facts.changed / 10'000'000, facts.changed % 10'000'000 * 100};
}

}  // namespace pellum
