#include "app/engine/video_folder.h"

#include <algorithm>

#include "app/engine/messages.h"
#include "text/gbk_text.h"

namespace kscgen {

const char* const kVideoMasks = "*.mpg;*.dat;*.wmv;*.rmvb;*.avi";

namespace {

constexpr std::string_view kVideoExtensions[] = {".mpg", ".dat", ".wmv", ".rmvb", ".avi"};

bool EndsWithFolded(std::string_view name, std::string_view lower_suffix) {
  if (name.size() < lower_suffix.size()) return false;
  return text::LowerAscii(name.substr(name.size() - lower_suffix.size())) == lower_suffix;
}

bool IsSeparator(char c) { return c == '/' || c == os::PathSeparator(); }

// The last component of a path, trailing separators ignored.
std::string_view LastComponent(std::string_view path) {
  while (!path.empty() && IsSeparator(path.back())) path.remove_suffix(1);
  std::size_t at = path.size();
  while (at > 0 && !IsSeparator(path[at - 1])) --at;
  return path.substr(at);
}

// GBK bytes with ASCII letters folded: the order of the file list. Folded
// while comparing: a folded copy of every name would cost a large folder as
// much memory again as its names.
bool FoldedLess(std::string_view x, std::string_view y) {
  std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i) {
    auto cx = static_cast<unsigned char>(text::ToLowerAscii(x[i]));
    auto cy = static_cast<unsigned char>(text::ToLowerAscii(y[i]));
    if (cx != cy) return cx < cy;
  }
  return x.size() < y.size();
}

std::string_view SortKey(const VideoFile& f) {
  return f.name.problem == text::NameProblem::kNone ? std::string_view(f.name.gbk)
                                                    : std::string_view(f.native_name);
}

void NameFolder(VideoFolder& folder, std::string_view native_name) {
  text::DecodedName name = text::DecodeFileName(native_name);
  folder.folder_name = text::Trim(name.gbk);
  folder.name_not_in_gbk = name.problem != text::NameProblem::kNone;
}

// Lists one folder: its videos into `folder`, its subfolders' names into
// `subfolders` (when asked for), sorted like the videos.
os::Error ListOne(os::FileSystem& fs, VideoFolder& folder, std::vector<std::string>* subfolders) {
  std::vector<os::FolderEntry> entries;
  os::Error error = fs.ListFolder(folder.path, &entries);
  if (error.failed()) return error;
  for (os::FolderEntry& e : entries) {
    if (e.type == os::EntryType::kFile && IsVideoFileName(e.name)) {
      folder.files.push_back(MakeVideoFile(std::move(e.name)));
    } else if (subfolders && e.type == os::EntryType::kFolder && !e.name.empty() &&
               e.name[0] != '.') {
      subfolders->push_back(std::move(e.name));
    }
  }
  SortVideoFiles(folder.files);
  folder.files.shrink_to_fit();
  if (subfolders) {
    std::vector<std::pair<std::string, std::string>> keyed;  // GBK (or native) key, name
    keyed.reserve(subfolders->size());
    for (std::string& name : *subfolders) {
      text::DecodedName d = text::DecodeFileName(name);
      std::string key = d.problem == text::NameProblem::kNone ? d.gbk : name;
      keyed.emplace_back(std::move(key), std::move(name));
    }
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
      if (FoldedLess(a.first, b.first)) return true;
      if (FoldedLess(b.first, a.first)) return false;
      return a.second < b.second;
    });
    subfolders->clear();
    for (auto& k : keyed) subfolders->push_back(std::move(k.second));
  }
  return {};
}

// Every folder below `parent_path`, depth first, each followed by its own
// subfolders. Paths by value: the listing grows while the tree is walked.
void ListBelow(os::FileSystem& fs, std::string parent_path, std::string parent_relative,
               const std::vector<std::string>& subfolders, FolderListing& listing) {
  for (const std::string& name : subfolders) {
    VideoFolder folder;
    folder.path = os::JoinPath(parent_path, name);
    folder.relative = parent_relative == "." ? name : os::JoinPath(parent_relative, name);
    NameFolder(folder, name);
    std::vector<std::string> below;
    os::Error error = ListOne(fs, folder, &below);
    if (error.failed()) {
      listing.unreadable.push_back(messages::CannotReadFolder(folder.path, error));
      continue;
    }
    std::string path = folder.path;
    std::string relative = folder.relative;
    if (!folder.files.empty()) listing.folders.push_back(std::move(folder));
    ListBelow(fs, path, relative, below, listing);
  }
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
  std::sort(files.begin(), files.end(), [&](const VideoFile& a, const VideoFile& b) {
    std::string_view x = SortKey(a);
    std::string_view y = SortKey(b);
    if (FoldedLess(x, y)) return true;
    if (FoldedLess(y, x)) return false;
    return a.native_name < b.native_name;
  });
}

std::string FolderNameOf(std::string_view user_path, std::string_view resolved) {
  std::string_view last = LastComponent(user_path);
  if (user_path.empty() || last == "." || last == "..") last = LastComponent(resolved);
  return std::string(last);
}

std::size_t FolderListing::video_count() const {
  std::size_t n = 0;
  for (const VideoFolder& f : folders) n += f.files.size();
  return n;
}

FolderListing ListVideos(const std::string& path, bool recursive, os::FileSystem& fs) {
  FolderListing listing;
  VideoFolder top;
  top.relative = ".";
  listing.error = fs.ResolveFolder(path, &top.path);
  std::vector<std::string> subfolders;
  if (!listing.error.failed()) {
    listing.error = ListOne(fs, top, recursive ? &subfolders : nullptr);
  }
  if (listing.error.failed()) {
    listing.message = messages::CannotUseFolder(path, listing.error);
    return listing;
  }
  NameFolder(top, FolderNameOf(path, top.path));
  listing.folders.push_back(std::move(top));
  if (recursive) {
    const std::string top_path = listing.folders.front().path;
    ListBelow(fs, top_path, ".", subfolders, listing);
  }
  return listing;
}

}  // namespace kscgen
