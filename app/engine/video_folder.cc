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
  // Folded while comparing: a folded copy of every name would cost a large
  // folder as much memory again as its names.
  auto key = [](const VideoFile& f) -> std::string_view {
    return f.name.problem == text::NameProblem::kNone ? f.name.gbk : f.native_name;
  };
  std::sort(files.begin(), files.end(), [&](const VideoFile& a, const VideoFile& b) {
    std::string_view x = key(a);
    std::string_view y = key(b);
    std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
      auto cx = static_cast<unsigned char>(text::ToLowerAscii(x[i]));
      auto cy = static_cast<unsigned char>(text::ToLowerAscii(y[i]));
      if (cx != cy) return cx < cy;
    }
    if (x.size() != y.size()) return x.size() < y.size();
    return a.native_name < b.native_name;
  });
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
  listing.files.shrink_to_fit();
  return listing;
}

}  // namespace kscgen
