// What every file system shares: the temporary pattern and path joining.
#include "os/file_system.h"

namespace kscgen::os {

bool IsTemporaryName(std::string_view name) {
  constexpr std::string_view kPrefix = ".kscgen-";
  constexpr std::string_view kSuffix = ".tmp";
  constexpr std::size_t kDigits = 16;
  if (name.size() != kPrefix.size() + kDigits + kSuffix.size()) return false;
  if (name.substr(0, kPrefix.size()) != kPrefix) return false;
  if (name.substr(kPrefix.size() + kDigits) != kSuffix) return false;
  for (char c : name.substr(kPrefix.size(), kDigits)) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

Error Folder::ForEachEntry(const std::function<void(FolderEntry&)>& each) {
  std::vector<FolderEntry> entries;
  Error error = List(&entries);
  for (FolderEntry& e : entries) each(e);
  return error;
}

Error ListFolderAt(const std::string& path, std::vector<FolderEntry>* entries, FileSystem& fs) {
  std::unique_ptr<Folder> folder;
  Error error = fs.OpenFolder(path, &folder);
  return error.failed() ? error : folder->List(entries);
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  std::string path = folder;
  const char sep = PathSeparator();
  if (!path.empty() && path.back() != sep && path.back() != '/') path += sep;
  return path.append(name);
}

}  // namespace kscgen::os
