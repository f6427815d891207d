#pragma once

#include <memory>
#include <ostream>
#include <string>

namespace pellum {

class FileWriteBuffer;

// An output file that replaces the file at its path only when it is complete. The text
// goes to a hidden temporary file in the same folder (/data/.film.dat.Ab12Cd for
// /data/film.dat), which Commit renames over the path in one step; a conversion that fails
// halfway leaves the earlier output byte for byte as it was, and no temporary file behind.
// A link at the path is replaced as a file of its own: its target is never written. A
// device or a named pipe at the path, or where a link leads, is written in place, since
// nothing can stand in for it; so is a process's descriptor (/dev/stdout). The replacement
// keeps the earlier file's permission bits (without setuid and setgid) and, where the
// process may give them, its owner and group.
//
//   ReplacingOutputFile out("/data/film.dat");
//   if (!out.Open()) ...            // folder, unwritable file or folder
//   out.Stream() << text;
//   if (!out.Commit()) ...          // a write, the close or the rename failed
class ReplacingOutputFile {
 public:
  explicit ReplacingOutputFile(std::string path);
  ~ReplacingOutputFile();  // discards an uncommitted temporary file
  ReplacingOutputFile(const ReplacingOutputFile&) = delete;
  ReplacingOutputFile& operator=(const ReplacingOutputFile&) = delete;

  // Creates the temporary file. False when the path names a folder, an existing file that
  // may not be written, or a place where no file can be created: the cases in which the
  // output could not have been opened for writing in place.
  bool Open();

  // Where the text goes once Open succeeded. Large writes pass through a large buffer.
  std::ostream& Stream();

  // Writes out what is buffered, closes the temporary file and renames it over the path.
  // False, with the temporary file removed, when any of this failed or a write had failed.
  bool Commit();

  // Removes the temporary file; the file at the path stays as it was.
  void Discard();

 private:
  bool OpenInPlace(bool truncate);

  std::string path_;
  std::string temporaryPath_;
  int cleanupSlot_ = -1;  // the temporary file's place in the signal cleanup registry
  int descriptor_ = -1;
  std::unique_ptr<FileWriteBuffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
};

}  // namespace pellum
