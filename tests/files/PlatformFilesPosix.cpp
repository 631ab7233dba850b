#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "PlatformFiles.h"

namespace orivel::test {
namespace {

// Runs fn in a child process, so that limits set there bind nothing else.
int inChild(const std::function<int()>& setUpAndRun) {
  const pid_t pid = fork();
  if (pid == 0) _exit(setUpAndRun());
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The lowest file descriptor not in use: with it as the limit, nothing more can be opened.
rlim_t nextDescriptor() {
  const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  ::close(fd);
  return static_cast<rlim_t>(fd);
}

}  // namespace

bool PermissionsBind() {
  return geteuid() != 0;
}

bool KeepsPermissionBits() {
  return true;
}

bool HasFifos() {
  return true;
}

bool MakesSymlinks() {
  return true;
}

bool MakeFifo(const std::filesystem::path& path) {
  return mkfifo(path.c_str(), 0600) == 0;
}

std::optional<int> InChildWithFileSizeLimit(std::uintmax_t maxBytes,
                                            const std::function<int()>& fn) {
  return inChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(maxBytes), static_cast<rlim_t>(maxBytes)};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 125;
    return fn();
  });
}

std::optional<int> InChildWithoutFreeDescriptors(const std::function<int()>& fn) {
  return inChild([&] {
    const rlimit none{nextDescriptor(), nextDescriptor()};
    if (setrlimit(RLIMIT_NOFILE, &none) != 0) return 125;
    return fn();
  });
}

FileHold::FileHold(const std::filesystem::path& path)
    : handle_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}

FileHold::~FileHold() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool FileHold::isOpen() const {
  return handle_ >= 0;
}

std::string FileHold::readAll() const {
  std::string out;
  char buffer[4096];
  off_t at = 0;
  ssize_t n = 0;
  while ((n = ::pread(static_cast<int>(handle_), buffer, sizeof buffer, at)) > 0) {
    out.append(buffer, static_cast<std::size_t>(n));
    at += n;
  }
  return out;
}

bool FileHold::BlocksReplace() {
  return false;
}

}  // namespace orivel::test
