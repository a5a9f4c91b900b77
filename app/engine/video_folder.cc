#include "app/engine/video_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "text/gbk_text.h"

namespace kscgen {

const char* const kVideoMasks = "*.mpg;*.dat;*.wmv;*.rmvb;*.avi";

namespace {

constexpr std::string_view kVideoExtensions[] = {".mpg", ".dat", ".wmv", ".rmvb", ".avi"};

bool EndsWithFolded(std::string_view name, std::string_view lower_suffix) {
  if (name.size() < lower_suffix.size()) return false;
  return text::LowerAscii(name.substr(name.size() - lower_suffix.size())) == lower_suffix;
}

}  // namespace

VideoFile MakeVideoFile(std::string native_name) {
  VideoFile file;
  file.name = text::DecodeFileName(native_name);
  file.native_name = std::move(native_name);
  return file;
}

bool IsVideoFileName(std::string_view name) {
  return std::any_of(std::begin(kVideoExtensions), std::end(kVideoExtensions),
                     [&](std::string_view ext) { return EndsWithFolded(name, ext); });
}

void SortVideoFiles(std::vector<VideoFile>& files) {
  // Keys are folded once, not once per comparison.
  std::vector<std::pair<std::string, std::size_t>> keys;
  keys.reserve(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const VideoFile& f = files[i];
    bool has_gbk = f.name.problem == text::NameProblem::kNone;
    keys.emplace_back(text::LowerAscii(has_gbk ? f.name.gbk : f.native_name), i);
  }
  std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    return files[a.second].native_name < files[b.second].native_name;
  });
  std::vector<VideoFile> sorted;
  sorted.reserve(files.size());
  for (const auto& key : keys) sorted.push_back(std::move(files[key.second]));
  files = std::move(sorted);
}

FolderListing ListVideoFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  FolderListing listing;
  std::error_code ec;
  fs::directory_iterator it(fs::path(folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code type_ec;
    if (!it->is_regular_file(type_ec)) continue;
    std::string name = it->path().filename().string();
    if (IsVideoFileName(name)) listing.files.push_back(MakeVideoFile(std::move(name)));
  }
  if (ec) {
    listing.ok = false;
    listing.message = "Cannot read folder \"" + text::DisplayName(folder) + "\". " + ec.message();
    listing.files.clear();
    return listing;
  }
  SortVideoFiles(listing.files);
  return listing;
}

}  // namespace kscgen
