#include "io/replacing_output_file.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "io/file_write_buffer.h"
#include "io/temporary_file_cleanup.h"

namespace pellum {

std::ptrdiff_t WriteToDescriptor(int descriptor, const char* data, std::size_t count) {
  for (;;) {
    const ssize_t written = ::write(descriptor, data, count);
    if (written >= 0 || errno != EINTR) {
      return written;
    }
  }
}

namespace {

// The mode of the replacement: an earlier file's own permission bits, as when it is
// overwritten in place, but never its setuid or setgid bit, which a freshly written file
// must not inherit (the new content is not what was granted them). Without an earlier file,
// the mode fopen would give: what the process's umask leaves of rw-rw-rw-.
mode_t ModeForReplacement(const struct stat* earlier) {
  if (earlier != nullptr) {
    return earlier->st_mode & 01777;
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The earlier file's owner and group where the process may give them (root may; anyone may
// give a group they belong to). Refusals leave the temporary file's own, which is what a
// newly created output would have had.
void KeepOwner(int descriptor, const struct stat& earlier) {
  if (::fchown(descriptor, earlier.st_uid, earlier.st_gid) != 0) {
    ::fchown(descriptor, static_cast<uid_t>(-1), earlier.st_gid);
  }
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ReadLink(const std::string& path) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) {
      return {};
    }
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      return target;
    }
    target.resize(target.size() * 2);
  }
}

// True when a link on the way from path stands in a folder of /proc: such a link
// (/dev/stdout leads to /proc/self/fd/1) names a descriptor the process holds, not a file
// in a folder. Replacing the first link of the chain would put a regular file in place of
// /dev/stdout for every program on the machine, so the descriptor is written in place.
bool LeadsThroughADescriptor(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat entry {};
    if (::lstat(current.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) {
      return false;
    }
    const std::string folder = FolderOf(current);
    if (char* resolved = ::realpath(folder.c_str(), nullptr)) {
      const bool inProc = std::strncmp(resolved, "/proc/", 6) == 0;
      std::free(resolved);
      if (inProc) {
        return true;
      }
    }
    const std::string target = ReadLink(current);
    if (target.empty()) {
      return false;
    }
    current = target.front() == '/' ? target : folder + "/" + target;
  }
  return false;
}

// The hidden temporary name beside path: "." + name + ".XXXXXX" for mkstemp. A name near
// the system's limit is cut so that the temporary name still fits it; the cut does not
// split a UTF-8 character, so that listings show the name readably.
std::string TemporaryTemplate(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::string name = path.substr(nameStart);
  long nameMax = ::pathconf(FolderOf(path).c_str(), _PC_NAME_MAX);
  if (nameMax <= 0) {
    nameMax = 255;
  }
  constexpr std::size_t kAdded = 8;  // "." and ".XXXXXX"
  const std::size_t room =
      static_cast<std::size_t>(nameMax) > kAdded ? static_cast<std::size_t>(nameMax) - kAdded : 1;
  if (name.size() > room) {
    name.resize(room);
    while (name.size() > 1 && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80) {
      name.pop_back();
    }
    if (name.size() > 1 && static_cast<unsigned char>(name.back()) >= 0xC0) {
      name.pop_back();
    }
  }
  return path.substr(0, nameStart) + "." + name + ".XXXXXX";
}

// Holds off SIGINT, SIGTERM and SIGHUP while a temporary file exists but is not yet
// registered for removal, so that no signal can leave it behind.
class CleanedSignalsHeld {
 public:
  CleanedSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    sigaddset(&held, SIGINT);
    sigaddset(&held, SIGTERM);
    sigaddset(&held, SIGHUP);
    ::pthread_sigmask(SIG_BLOCK, &held, &earlier_);
  }
  ~CleanedSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &earlier_, nullptr); }
  CleanedSignalsHeld(const CleanedSignalsHeld&) = delete;
  CleanedSignalsHeld& operator=(const CleanedSignalsHeld&) = delete;

 private:
  sigset_t earlier_;
};

}  // namespace

ReplacingOutputFile::ReplacingOutputFile(std::string path) : path_(std::move(path)) {}

ReplacingOutputFile::~ReplacingOutputFile() {
  Discard();
}

bool ReplacingOutputFile::Open() {
  if (path_.empty()) {
    return false;
  }
  // What the path shows, following links: refused where writing it in place would be.
  struct stat shown {};
  const bool shows = ::stat(path_.c_str(), &shown) == 0;
  if (shows && (S_ISDIR(shown.st_mode) || ::access(path_.c_str(), W_OK) != 0)) {
    return false;
  }
  if (shows && !S_ISREG(shown.st_mode)) {
    return OpenInPlace(false);
  }
  if (shows && LeadsThroughADescriptor(path_)) {
    return OpenInPlace(true);
  }
  // A link is replaced as a file of its own: the rename replaces the link, and what it led
  // to (another output, the very input being converted) is never written.
  std::string temporary = TemporaryTemplate(path_);
  {
    CleanedSignalsHeld held;
    descriptor_ = ::mkstemp(temporary.data());
    if (descriptor_ < 0) {
      return false;
    }
    cleanupSlot_ = RegisterTemporaryFile(temporary.c_str());
  }
  temporaryPath_ = std::move(temporary);
  if (shows) {
    KeepOwner(descriptor_, shown);
  }
  // After the owner: a change of owner clears the setuid and setgid bits, and the mode is
  // to be the last word.
  ::fchmod(descriptor_, ModeForReplacement(shows ? &shown : nullptr));
  buffer_ = std::make_unique<FileWriteBuffer>(descriptor_);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  return true;
}

// A device or a pipe (/dev/null, /dev/full, a named pipe a reader waits on) cannot be
// replaced by renaming, and must not be: it is written where it stands. A pipe without a
// reader fails at once instead of blocking. A regular file reached through a descriptor
// (/dev/stdout sent to a file) is emptied first, as opening it for writing would.
bool ReplacingOutputFile::OpenInPlace(bool truncate) {
  descriptor_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | (truncate ? O_TRUNC : 0));
  if (descriptor_ < 0) {
    return false;
  }
  const int flags = ::fcntl(descriptor_, F_GETFL);
  ::fcntl(descriptor_, F_SETFL, flags & ~O_NONBLOCK);
  buffer_ = std::make_unique<FileWriteBuffer>(descriptor_);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  return true;
}

std::ostream& ReplacingOutputFile::Stream() {
  return *stream_;
}

bool ReplacingOutputFile::Commit() {
  if (descriptor_ < 0) {
    return false;
  }
  stream_->flush();
  const bool written = !buffer_->Failed() && stream_->good();
  const int closed = ::close(descriptor_);
  descriptor_ = -1;
  if (temporaryPath_.empty()) {
    return written && closed == 0;  // written in place
  }
  if (!written || closed != 0 || std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    Discard();
    return false;
  }
  // Only now: a signal before the rename still removes the temporary file.
  UnregisterTemporaryFile(cleanupSlot_);
  cleanupSlot_ = -1;
  temporaryPath_.clear();
  return true;
}

void ReplacingOutputFile::Discard() {
  if (descriptor_ >= 0) {
    ::close(descriptor_);
    descriptor_ = -1;
  }
  if (!temporaryPath_.empty()) {
    ::unlink(temporaryPath_.c_str());
    UnregisterTemporaryFile(cleanupSlot_);
    cleanupSlot_ = -1;
    temporaryPath_.clear();
  }
}

}  // namespace pellum
