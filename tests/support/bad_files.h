// The files every reader must refuse at once, without blocking or reading
// without end: a FIFO, a link to an endless device, and a file past the
// reader's bound. Writers must leave them as they are.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace testutil {

enum class BadFile { Fifo, EndlessDevice, Oversize };

inline const std::vector<BadFile>& EveryBadFile() {
  static const std::vector<BadFile> all = {BadFile::Fifo, BadFile::EndlessDevice, BadFile::Oversize};
  return all;
}

inline const char* NameOf(BadFile kind) {
  switch (kind) {
    case BadFile::Fifo: return "FIFO";
    case BadFile::EndlessDevice: return "link to a zero device";
    case BadFile::Oversize: return "oversize file";
  }
  return "";
}

// Puts `kind` at `path` (replacing what is there). The oversize file is a
// sparse file of `size` bytes that begins with `head`. The device is a link
// to a zero device: as root a node of our own beside `path`, so that a
// faulty writer can only ever replace that copy, else to /dev/zero.
inline bool MakeBadFile(BadFile kind, const std::filesystem::path& path, std::uintmax_t size,
                        const std::string& head = {}) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  switch (kind) {
    case BadFile::Fifo: return ::mkfifo(path.c_str(), 0600) == 0;
    case BadFile::EndlessDevice: {
      std::filesystem::path device = "/dev/zero";
      if (::geteuid() == 0) {
        device = path.string() + ".device";
        std::filesystem::remove(device, ec);
        if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 5)) != 0) return false;
      }
      std::filesystem::create_symlink(device, path, ec);
      return !ec;
    }
    case BadFile::Oversize: {
      { std::ofstream(path, std::ios::binary) << head; }
      std::filesystem::resize_file(path, size, ec);
      return !ec;
    }
  }
  return false;
}

// The file `path` still is what MakeBadFile made.
inline bool StillBad(BadFile kind, const std::filesystem::path& path, std::uintmax_t size) {
  std::error_code ec;
  switch (kind) {
    case BadFile::Fifo: return std::filesystem::is_fifo(std::filesystem::symlink_status(path, ec));
    case BadFile::EndlessDevice:
      return std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec)) &&
             std::filesystem::is_character_file(path, ec);
    case BadFile::Oversize: return std::filesystem::file_size(path, ec) == size;
  }
  return false;
}

}  // namespace testutil
