// Whole-file reads and writes for the code that does without Qt (Qt code
// uses QSaveFile).
//
// ReplaceWhole never leaves a target half written: the bytes go to a new
// temporary file beside the target, which is flushed to the disk and then
// renamed over the target. On any failure the temporary file is removed, the
// target keeps its old content and the failure is reported. A kill at any
// moment leaves either the old or the new file (and perhaps a stray hidden
// temporary file beside it).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace files {

// Replaces the file `target` by `bytes`, or creates it; the folder must
// exist. A target that exists keeps its permissions; a symbolic link is
// followed and the file it names is replaced. An existing target that we may
// not write is refused (EACCES), as opening it for writing would be.
// The first form throws std::filesystem::filesystem_error; the second
// returns false and sets `ec`.
void ReplaceWhole(const std::filesystem::path& target, std::string_view bytes);
bool ReplaceWhole(const std::filesystem::path& target, std::string_view bytes, std::error_code& ec) noexcept;

// Reads the regular file `file` whole into `out`. Anything that is not a
// regular file (a folder, a FIFO, a device, also behind a link) is refused
// without being read, and so is a file larger than `limit` bytes (EFBIG).
// Returns false and sets `ec` on failure; `out` is then unspecified.
bool ReadWhole(const std::filesystem::path& file, std::uintmax_t limit, std::string& out, std::error_code& ec);

}  // namespace files
