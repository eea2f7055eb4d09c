// Whole-file reads and writes, and the lock that keeps two programs from
// updating one file at once. Qt-free; the Qt side reaches the same steps
// through QtFiles.h.
//
// ReplaceWhole never leaves a target half written: the bytes go to a new
// temporary file beside the target, which is written, flushed to the disk
// and closed, each step checked, and then renamed over the target. On any
// failure the temporary file is removed, the target keeps its old content
// and the failure is reported. A kill at any moment leaves either the old or
// the new file, and perhaps a hidden temporary file beside it, which the
// next write of the same target removes once it is stale.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace files {

// The error set when a path names something other than a regular file (a
// folder, a FIFO, a device): "Not a regular file".
std::error_code NotRegularFile();

// Replaces the file `target` by `bytes`, or creates it; the folder must
// exist. A target that exists keeps its permissions. A symbolic link is
// followed and the file it names is replaced or, when missing, created; a
// chain of links that never ends is refused (ELOOP). An existing target
// that is no regular file, or that we may not write, is refused.
// The first form throws std::filesystem::filesystem_error; the second
// returns false and sets `ec`.
void ReplaceWhole(const std::filesystem::path& target, std::string_view bytes);
bool ReplaceWhole(const std::filesystem::path& target, std::string_view bytes, std::error_code& ec) noexcept;

// Reads the regular file `file` whole into `out`. Anything that is not a
// regular file (a folder, a FIFO, a device, also behind a link) is refused
// without being read, and so is a file larger than `limit` bytes (EFBIG).
// Returns false and sets `ec` on failure; `out` is then unspecified. A
// missing file gives ENOENT.
bool ReadWhole(const std::filesystem::path& file, std::uintmax_t limit, std::string& out, std::error_code& ec);

// An exclusive lock on the hidden file ".<name>.lock" beside `file` (made
// when missing), held while the object lives. Every process that locks the
// same file waits for the others; the lock goes with the process, also when
// it is killed.
class Lock {
 public:
  // Waits up to `wait` for another holder to let go; 0 tries once.
  Lock(const std::filesystem::path& file, std::chrono::milliseconds wait);
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  bool Held() const { return fd_ >= 0; }
  // Not held because another holder kept it (not for any other failure).
  bool Busy() const { return busy_; }
  const std::error_code& Error() const { return error_; }

 private:
  int fd_ = -1;
  bool busy_ = false;
  std::error_code error_;
};

}  // namespace files
