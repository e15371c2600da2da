#pragma once
// The folders of the program's own files: the user's, which the program writes, and the shipped
// ones, which it only reads.

#include <string>
#include <vector>

namespace drex {

class Platform;

/// The user's folder `sub` under the data folder (`sub` empty: the data folder itself), made when
/// it does not exist yet. Empty when there is no data folder or it cannot be made.
std::string UserDataFolder(const Platform& desktop, const std::string& sub);

/// The folders `sub` is read from: the user's first, then each shipped one, every folder once and
/// only those that exist.
std::vector<std::string> ReadableFolders(const Platform& desktop, const std::string& sub);

} // namespace drex
