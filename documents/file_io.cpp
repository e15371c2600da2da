#include "documents/file_io.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <unistd.h>

namespace drex {
namespace fs = std::filesystem;

namespace {

/// A name beside `target` that no file has yet.
fs::path TemporaryPathFor(const fs::path& target) {
  fs::path dir = target.parent_path();
  const std::string base = "." + target.filename().u8string() + ".saving";
  for (int k = 0;; ++k) {
    fs::path candidate = dir / fs::u8path(k == 0 ? base : base + std::to_string(k));
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(candidate, ec)) || k >= 1000) return candidate;
  }
}

} // namespace

bool ReadFileBytes(const std::string& path, std::size_t limit, std::vector<uint8_t>& bytes) {
  // Only regular files: a pipe or a device could block the reader or never end.
  std::error_code ec;
  if (!fs::is_regular_file(fs::u8path(path), ec)) return false;
  std::ifstream in(fs::u8path(path), std::ios::binary);
  if (!in.is_open()) return false;
  bytes.clear();
  // Read in one piece; a file that grows meanwhile is read on in chunks up to the limit.
  const auto size = fs::file_size(fs::u8path(path), ec);
  std::size_t chunk = 1 << 20;
  if (!ec && size < limit) chunk = static_cast<std::size_t>(size) + 1;
  while (bytes.size() < limit) {
    const std::size_t start = bytes.size();
    const std::size_t want = std::min(chunk, limit - start);
    bytes.resize(start + want);
    in.read(reinterpret_cast<char*>(bytes.data() + start), static_cast<std::streamsize>(want));
    const auto got = static_cast<std::size_t>(in.gcount());
    bytes.resize(start + got);
    if (got < want) break;
  }
  // Stopping at end of file sets eofbit and failbit; only badbit is a read error.
  return !in.bad();
}

namespace {

/// Writes `bytes` into `path`, creating or truncating it; false when anything failed.
bool WriteWhole(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.is_open()) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  const bool written = out.good();
  out.close();
  return written && !out.fail();
}

} // namespace

bool WriteFileReplacing(const std::string& target, const std::vector<uint8_t>& bytes) {
  fs::path targetPath = fs::u8path(target);
  std::error_code ec;
  // A link stays a link: the file it points to is the one replaced.
  if (fs::is_symlink(fs::symlink_status(targetPath, ec))) {
    const fs::path resolved = fs::weakly_canonical(targetPath, ec);
    if (ec) return false;
    targetPath = resolved;
  }
  const fs::file_status old = fs::status(targetPath, ec);
  const bool exists = fs::exists(old);
  // Renaming over a file needs only the folder's permission: a file the user made read-only
  // must not be replaced behind their back.
  if (exists && (!fs::is_regular_file(old) || ::access(targetPath.c_str(), W_OK) != 0)) return false;
  const fs::path temp = TemporaryPathFor(targetPath);
  if (!WriteWhole(temp, bytes)) {
    fs::remove(temp, ec);
    // In a folder where no new file can be made, a writable file is still written in place.
    if (exists && ::access(targetPath.parent_path().empty() ? "." : targetPath.parent_path().c_str(), W_OK) != 0)
      return WriteWhole(targetPath, bytes);
    return false;
  }
  // The new file keeps the permissions of the one it replaces.
  if (exists) fs::permissions(temp, old.permissions(), ec);
  fs::rename(temp, targetPath, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
  }
  return true;
}

} // namespace drex
