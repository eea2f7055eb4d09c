#include "files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>

namespace fs = std::filesystem;

namespace files {

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

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

// A name for the temporary file that no other writer uses: hidden, the
// target's name, then letters that differ per process, call and time.
std::string TemporaryName(const fs::path& target) {
  static std::atomic<unsigned long> calls{0};
  unsigned long long n = static_cast<unsigned long long>(::getpid()) * 1000003ULL +
                         static_cast<unsigned long long>(calls++) * 7919ULL +
                         static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::string suffix;
  constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int i = 0; i < 8; ++i, n /= 36) suffix += kLetters[n % 36];
  // Cut so that the name stays within the file system's 255 bytes.
  return "." + target.filename().native().substr(0, 200) + "." + suffix;
}

}  // namespace

bool ReplaceWhole(const fs::path& target, std::string_view bytes, std::error_code& ec) noexcept {
  ec.clear();
  try {
    fs::path file = target;
    // A link is followed, so the file it names is replaced, not the link.
    struct stat link {};
    if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
      file = fs::weakly_canonical(target, ec);
      if (ec) return false;
    }
    if (file.filename().empty()) {
      ec = std::make_error_code(std::errc::is_a_directory);
      return false;
    }
    struct stat old {};
    const bool exists = ::stat(file.c_str(), &old) == 0;
    if (exists && ::access(file.c_str(), W_OK) != 0) {
      ec = LastError();
      return false;
    }
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");

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
    if (!S_ISREG(st.st_mode)) ec = std::make_error_code(S_ISDIR(st.st_mode) ? std::errc::is_a_directory
                                                                             : std::errc::invalid_argument);
    else if (static_cast<std::uintmax_t>(st.st_size) > limit) ec = std::make_error_code(std::errc::file_too_large);
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

}  // namespace files
