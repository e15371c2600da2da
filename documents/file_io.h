#pragma once
// Whole-file reading and safe replacement, shared by every file the program reads or writes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace drex {

/// Reads at most `limit` bytes of the regular file at `path` (UTF-8) into `bytes`. False when it
/// is not a regular file or cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::size_t limit, std::vector<uint8_t>& bytes);

/// Writes `bytes` to `target` (UTF-8) through a temporary file beside it that is renamed over it,
/// so that a failed write leaves the old file whole. A target the user may not write is refused;
/// in a folder where no temporary file can be made, a writable target is written in place. False
/// when anything failed.
bool WriteFileReplacing(const std::string& target, const std::vector<uint8_t>& bytes);

} // namespace drex
