#pragma once

// Real faults for tests to inject, each in a child process so that the test program itself
// keeps its privileges, its mounts and its limits. Windows has neither child processes of
// this kind nor mounts: there the faults that need them are skipped.
#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <exception>
#include <filesystem>
#include <functional>
#include <string>

namespace pellum::testing {

// What a child process reports: "" when every check held, "skip: why" when the fault
// cannot be made here, else what went wrong.
struct ChildReport {
  bool finished = false;  // false: killed, by the alarm or a crash
  int signal = 0;
  std::string text;
};

#ifdef _WIN32

inline ChildReport RunInChild(const std::function<std::string()>&, unsigned = 20) {
  return {true, 0, "skip: no fork on Windows"};
}

// The read-only attribute, which refuses writes to a file (not to a folder's entries).
inline bool SetImmutable(const std::string& path, bool on) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error))
    return false;
  std::filesystem::permissions(
      path,
      std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
          std::filesystem::perms::others_write,
      on ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add, error);
  return !error;
}

inline std::string MountSmallDisk(const std::string&, std::size_t) {
  return "skip: no mounts on Windows";
}

inline void FillDisk(const std::string&) {}

#else

// Runs body in a child process under an alarm of `seconds`: a body that blocks or reads
// forever is killed instead of hanging the suite.
inline ChildReport RunInChild(const std::function<std::string()>& body, unsigned seconds = 20) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) {
    return {true, 0, "pipe failed"};
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    ::alarm(seconds);
    std::string text;
    try {
      text = body();
    } catch (const std::exception& e) {
      text = std::string("exception: ") + e.what();
    }
    const ssize_t written = ::write(pipeEnds[1], text.data(), text.size());
    ::_exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
  }
  ::close(pipeEnds[1]);
  ChildReport report;
  char buffer[512];
  ssize_t count = 0;
  while ((count = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
    report.text.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  report.finished = WIFEXITED(status);
  report.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return report;
}

// Sets or clears the immutable attribute, which stops root as well as anyone: false where
// the file system has no such attribute.
inline bool SetImmutable(const std::string& path, bool on) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) {
    return false;
  }
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return done;
}

// A fresh mount namespace whose mounts stay private, then a tmpfs of `bytes` on folder.
inline std::string MountSmallDisk(const std::string& folder, std::size_t bytes) {
  if (::unshare(CLONE_NEWNS) != 0 ||
      ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return "skip: no private mount namespace here";
  }
  const std::string options = "size=" + std::to_string(bytes);
  if (::mount("pellum-full", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
    return "skip: cannot mount a tmpfs here";
  }
  return "";
}

// Writes zeros to path until the disk refuses more.
inline void FillDisk(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const std::string zeros(4096, '\0');
  while (::write(fd, zeros.data(), zeros.size()) > 0) {
  }
  ::close(fd);
}

// Root passes every permission check; an ordinary user (nobody) meets them.
inline bool BecomeOrdinaryUser() {
  return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
}

#endif

}  // namespace pellum::testing
