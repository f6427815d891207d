#pragma once

#include <cstdint>
#include <string>

namespace pellum {

// What tells one state of a file from a later one without reading it: its size and the
// time of its last change, to the nanosecond where the file system keeps them. A file read
// again later (to export what was converted from it) is compared by its stamp first, so that
// an edited input is not passed off as the one converted.
//
//   FileStamp before = StampOf("/data/film.txt");   // valid
//   ... another program rewrites the file ...
//   StampOf("/data/film.txt") == before              // false
//   StampOf("/data/missing.txt").valid               // false
struct FileStamp {
  bool valid = false;
  std::uint64_t size = 0;
  std::int64_t changedSeconds = 0;
  std::int64_t changedNanoseconds = 0;

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file at path, following links; not valid when it cannot be had.
FileStamp StampOf(const std::string& path);

}  // namespace pellum
