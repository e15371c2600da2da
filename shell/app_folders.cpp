#include "shell/app_folders.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "shell/platform.h"

namespace drex {
namespace fs = std::filesystem;

namespace {

fs::path Under(const std::string& folder, const std::string& sub) {
  fs::path path = fs::u8path(folder);
  if (!sub.empty()) path /= fs::u8path(sub);
  return path;
}

} // namespace

std::string UserDataFolder(const Platform& desktop, const std::string& sub) {
  const AppFolders folders = desktop.Folders();
  if (folders.Data.empty()) return {};
  const fs::path path = Under(folders.Data, sub);
  std::error_code ec;
  if (!fs::is_directory(path, ec)) {
    fs::create_directories(path, ec);
    if (ec || !fs::is_directory(path, ec)) return {};
  }
  return path.u8string();
}

std::vector<std::string> ReadableFolders(const Platform& desktop, const std::string& sub) {
  const AppFolders folders = desktop.Folders();
  std::vector<std::string> candidates;
  if (!folders.Data.empty()) candidates.push_back(folders.Data);
  candidates.insert(candidates.end(), folders.Shipped.begin(), folders.Shipped.end());
  std::vector<std::string> result;
  std::vector<fs::path> seen;
  for (const std::string& folder : candidates) {
    if (folder.empty()) continue;
    const fs::path path = Under(folder, sub);
    std::error_code ec;
    if (!fs::is_directory(path, ec)) continue;
    // The program's own folder is often both the user's and a shipped one.
    const fs::path canonical = fs::weakly_canonical(path, ec);
    if (ec || std::find(seen.begin(), seen.end(), canonical) != seen.end()) continue;
    seen.push_back(canonical);
    result.push_back(path.u8string());
  }
  return result;
}

} // namespace drex
