#include "files.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

namespace fs = std::filesystem;

namespace files {

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

class FilesCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "files"; }
  std::string message(int) const override { return "Not a regular file"; }
};

// A file descriptor closed with the object.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  // Closes now, reporting the error close() gives (a late write error on
  // some file systems).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The longest chain of links followed, as the system's own limit.
constexpr int kMostLinks = 40;

// The file a chain of links ends at: `target` itself when it is no link,
// else the name the last link gives, which need not exist. False with ELOOP
// for a chain that does not end.
bool FollowLinks(const fs::path& target, fs::path& file, std::error_code& ec) {
  file = target;
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0) {
      if (errno == ENOENT) return true;  // a new file, or where a dangling link points
      ec = LastError();
      return false;
    }
    if (!S_ISLNK(st.st_mode)) return true;
    if (hops == kMostLinks) {
      ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
      return false;
    }
    const fs::path next = fs::read_symlink(file, ec);
    if (ec) return false;
    // A relative link is read from the folder that holds it.
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
}

// The temporary files of a target are named "." + the target's name (cut
// so that the whole stays within the file system's 255 bytes) + "." + the
// writer's process id + "." + eight letters that differ per call.
std::string TemporaryPrefix(const fs::path& file) { return "." + file.filename().native().substr(0, 200) + "."; }

constexpr std::size_t kSuffixLength = 8;

bool IsSuffixLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

std::string TemporaryName(const fs::path& file) {
  static std::atomic<unsigned long> calls{0};
  unsigned long long n = static_cast<unsigned long long>(calls++) * 7919ULL +
                         static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::string suffix;
  constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (std::size_t i = 0; i < kSuffixLength; ++i, n /= 36) suffix += kLetters[n % 36];
  return TemporaryPrefix(file) + std::to_string(::getpid()) + "." + suffix;
}

// What follows the prefix in one of our temporary names: the writer's
// process id (0 when the name carries none, as earlier writers named them),
// or -1 when the name is not ours.
long WriterOf(std::string_view rest) {
  auto suffixOk = [](std::string_view s) {
    return s.size() == kSuffixLength && std::all_of(s.begin(), s.end(), IsSuffixLetter);
  };
  if (suffixOk(rest)) return 0;
  const std::size_t dot = rest.find('.');
  if (dot == 0 || dot > 9 || dot == std::string_view::npos || !suffixOk(rest.substr(dot + 1))) return -1;
  long pid = 0;
  for (char c : rest.substr(0, dot)) {
    if (c < '0' || c > '9') return -1;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

// A writer killed mid-way leaves its temporary file behind. Such files of
// `file` are removed once stale: untouched for a minute and their writer
// gone, so a write in progress, here or from another program, is never cut.
void RemoveStaleTemporaries(const fs::path& folder, const fs::path& file) {
  constexpr time_t kStaleAfterSeconds = 60;
  const std::string prefix = TemporaryPrefix(file);
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const time_t now = ::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
    const long writer = WriterOf(name.substr(prefix.size()));
    if (writer < 0) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (now - st.st_mtime < kStaleAfterSeconds) continue;
    if (writer > 0 && (::kill(static_cast<pid_t>(writer), 0) == 0 || errno == EPERM)) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace

std::error_code NotRegularFile() {
  static const FilesCategory category;
  return {1, category};
}

bool ReplaceWhole(const fs::path& target, std::string_view bytes, std::error_code& ec) noexcept {
  ec.clear();
  try {
    fs::path file;
    if (!FollowLinks(target, file, ec)) return false;
    if (file.filename().empty()) {
      ec = std::make_error_code(std::errc::is_a_directory);
      return false;
    }
    struct stat old {};
    const bool exists = ::stat(file.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
      ec = S_ISDIR(old.st_mode) ? std::make_error_code(std::errc::is_a_directory) : NotRegularFile();
      return false;
    }
    if (exists && ::access(file.c_str(), W_OK) != 0) {
      ec = LastError();
      return false;
    }
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    RemoveStaleTemporaries(folder, file);

    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
      temp = folder / TemporaryName(file);
      fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
      ec = LastError();
      return false;
    }
    Fd out(fd);
    const bool written = (!exists || ::fchmod(out.get(), old.st_mode & 07777) == 0) && WriteAll(out.get(), bytes) &&
                         ::fsync(out.get()) == 0;
    if (!written) ec = LastError();
    if (!out.Close() && !ec) ec = LastError();
    if (!ec && ::rename(temp.c_str(), file.c_str()) != 0) ec = LastError();
    if (ec) {
      ::unlink(temp.c_str());
      return false;
    }
    // The rename itself reaches the disk with the folder.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return true;
  } catch (const std::bad_alloc&) {
    ec = std::make_error_code(std::errc::not_enough_memory);
    return false;
  }
}

void ReplaceWhole(const fs::path& target, std::string_view bytes) {
  std::error_code ec;
  if (!ReplaceWhole(target, bytes, ec)) throw fs::filesystem_error("cannot replace the file", target, ec);
}

bool ReadWhole(const fs::path& file, std::uintmax_t limit, std::string& out, std::error_code& ec) {
  ec.clear();
  // Checked before opening, so that no device or FIFO is ever opened, and
  // again on the open file, which may have been swapped in between.
  auto regular = [&](const struct stat& st) {
    if (!S_ISREG(st.st_mode))
      ec = S_ISDIR(st.st_mode) ? std::make_error_code(std::errc::is_a_directory) : NotRegularFile();
    else if (static_cast<std::uintmax_t>(st.st_size) > limit)
      ec = std::make_error_code(std::errc::file_too_large);
    return !ec;
  };
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) {
    ec = LastError();
    return false;
  }
  if (!regular(st)) return false;
  Fd in(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (in.get() < 0 || ::fstat(in.get(), &st) != 0) {
    ec = LastError();
    return false;
  }
  if (!regular(st)) return false;
  // The file may grow while it is read: one byte more than the limit is
  // asked for, to tell.
  out.resize(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == out.size()) {
      if (used > limit) {
        ec = std::make_error_code(std::errc::file_too_large);
        return false;
      }
      out.resize(std::min<std::uintmax_t>(limit + 1, used * 2));
    }
    const ssize_t n = ::read(in.get(), out.data() + used, out.size() - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      ec = LastError();
      return false;
    }
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  if (used > limit) {
    ec = std::make_error_code(std::errc::file_too_large);
    return false;
  }
  out.resize(used);
  return true;
}

Lock::Lock(const fs::path& file, std::chrono::milliseconds wait) {
  const fs::path lockFile = (file.has_parent_path() ? file.parent_path() : fs::path(".")) /
                            ("." + file.filename().native().substr(0, 240) + ".lock");
  int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  // A lock file we may read but not write locks all the same.
  if (fd < 0 && errno == EACCES) fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) {
    error_ = LastError();
    return;
  }
  Fd held(fd);
  const auto until = std::chrono::steady_clock::now() + wait;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    if (err == EINTR) continue;
    if (err != EWOULDBLOCK || std::chrono::steady_clock::now() >= until) {
      busy_ = err == EWOULDBLOCK;
      error_ = {err, std::generic_category()};
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  fd_ = held.Release();
}

Lock::~Lock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace files
