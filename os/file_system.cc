// What every file system shares: the system's file system and a seeded
// one, made here from each system's own; the temporary pattern, the seed,
// listing and path joining.
#include "os/file_system.h"

#include <chrono>

#include "os/file_system_common.h"

namespace kscgen::os {

namespace common {

std::string NextTemporaryName(std::mt19937_64& random) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::uint64_t r = random();
  std::string name(kTemporaryPrefix);
  for (std::size_t i = 0; i < kTemporaryDigits; ++i, r >>= 4) name += kHex[r & 0xF];
  return name.append(kTemporarySuffix);
}

std::uint64_t FreshSeed() {
  std::random_device device;
  std::uint64_t seed = (std::uint64_t{device()} << 32) ^ device();
  return seed ^
         static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
         ProcessId();
}

Error SystemFolder::List(std::vector<FolderEntry>* entries) {
  return ForEachEntry([entries](FolderEntry& e) { entries->push_back(std::move(e)); });
}

}  // namespace common

FileSystem& SystemFileSystem() {
  static const std::unique_ptr<FileSystem> fs = common::NewFileSystem(common::FreshSeed());
  return *fs;
}

std::unique_ptr<FileSystem> SeededFileSystem(std::uint64_t seed) {
  return common::NewFileSystem(seed);
}

bool IsTemporaryName(std::string_view name) {
  constexpr std::string_view kPrefix = common::kTemporaryPrefix;
  constexpr std::string_view kSuffix = common::kTemporarySuffix;
  constexpr std::size_t kDigits = common::kTemporaryDigits;
  if (name.size() != kPrefix.size() + kDigits + kSuffix.size()) return false;
  if (name.substr(0, kPrefix.size()) != kPrefix) return false;
  if (name.substr(kPrefix.size() + kDigits) != kSuffix) return false;
  for (char c : name.substr(kPrefix.size(), kDigits)) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

Error FailedAt(std::string path, Error error) {
  error.path = std::move(path);
  return error;
}

Error Folder::Failed(Error error) const { return os::FailedAt(path_, std::move(error)); }

Error Folder::FailedAt(std::string_view name, Error error) const {
  return os::FailedAt(JoinPath(path_, name), std::move(error));
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
