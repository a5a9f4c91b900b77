#include "app/engine/video_folder.h"

#include <algorithm>
#include <memory>
#include <new>
#include <set>

#include "app/engine/messages.h"
#include "ksc/ksc_file.h"
#include "text/gbk_text.h"

namespace kscgen {

const char* const kVideoMasks = "*.mpg;*.dat;*.wmv;*.rmvb;*.avi";

namespace {

constexpr std::string_view kVideoExtensions[] = {".mpg", ".dat", ".wmv", ".rmvb", ".avi"};

bool EndsWithFolded(std::string_view name, std::string_view lower_suffix) {
  if (name.size() < lower_suffix.size()) return false;
  return text::LowerAscii(name.substr(name.size() - lower_suffix.size())) == lower_suffix;
}

// Other kinds of video karaoke libraries hold, which are listed only once
// the user adds them: a folder of them that lists nothing says so.
constexpr std::string_view kOtherVideoExtensions[] = {
    ".mkv", ".mp4", ".vob",  ".ts",  ".mpeg", ".m2ts", ".mts",  ".flv",
    ".mov", ".m4v", ".webm", ".3gp", ".f4v",  ".asf",  ".divx", ".m2v",
};

// The other kind of video `name` is, if any: its extension, lower case.
std::string_view OtherVideoKind(std::string_view name) {
  for (std::string_view ext : kOtherVideoExtensions) {
    if (EndsWithFolded(name, ext)) return ext;
  }
  return {};
}

bool IsAsciiAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsSeparator(char c) { return c == '/' || c == os::PathSeparator(); }

// The last component of a path, trailing separators ignored.
std::string_view LastComponent(std::string_view path) {
  while (!path.empty() && IsSeparator(path.back())) path.remove_suffix(1);
  std::size_t at = path.size();
  while (at > 0 && !IsSeparator(path[at - 1])) --at;
  return path.substr(at);
}

// GBK bytes with letter case set aside as Windows sets it aside
// (text::CompareFoldingCase): the order of the file list.
// Folded while comparing: a folded copy of every name would cost a large
// folder as much memory again as its names.
bool FoldedLess(std::string_view x, std::string_view y) {
  return text::CompareFoldingCase(x, y) < 0;
}

std::string_view SortKey(const VideoFile& f) {
  return f.name.problem == text::NameProblem::kNone ? std::string_view(f.name.gbk)
                                                    : std::string_view(f.native_name);
}

void NameFolder(VideoFolder& folder, const text::DecodedName& name) {
  folder.folder_name = text::Trim(name.gbk);
  folder.name_not_in_gbk = name.problem != text::NameProblem::kNone;
}

// Lists one folder: its videos into `folder`, its subfolders' names into
// `subfolders` (when asked for), sorted like the videos. Each entry is
// looked at as it is read: no list of every name in the folder is kept.
os::Error ListOne(os::Folder& handle, const VideoExtensions& extensions, VideoFolder& folder,
                  std::vector<VideoFile>* subfolders) {
  os::Error error = handle.ForEachEntry([&](os::FolderEntry& e) {
    if (e.type == os::EntryType::kFile && IsVideoFileName(e.name, extensions)) {
      folder.files.push_back(MakeVideoFile(std::move(e.name)));
    } else if (e.type == os::EntryType::kFile && !OtherVideoKind(e.name).empty()) {
      ++folder.unlisted_kinds[std::string(OtherVideoKind(e.name))];
    } else if (subfolders && e.type == os::EntryType::kFolder && !e.name.empty() &&
               e.name[0] != '.') {
      subfolders->push_back(MakeVideoFile(std::move(e.name)));
    }
  });
  if (error.failed()) return error;
  // Not shrunk to fit: the room a vector grows into is untouched, so it
  // costs no memory, while a copy to fit would cost the whole list again.
  SortVideoFiles(folder.files);
  // A folder's name sorts as a file's does.
  if (subfolders) SortVideoFiles(*subfolders);
  return {};
}

// The walk of a tree below the chosen folder: depth first, each folder
// followed by its own subfolders, each opened through its parent, never
// through a link. Only the folder whose subfolders are being opened is held
// open: when the walk comes back from a subtree, it opens that folder again
// from the chosen one, a name at a time, and makes sure it is still the
// folder it listed. A walk thus needs the same few descriptors at any depth.
struct TreeWalk {
  FolderListing& listing;
  os::FileSystem& fs;
  const VideoExtensions& extensions;
  std::string root;
  os::FolderIdentity root_identity;
  std::set<os::FolderIdentity> seen;  // a folder reached twice (a bind mount) is walked once

  struct Pending {
    std::string path;      // of the folder whose subfolders these are
    std::string relative;  // "." for the chosen folder
    os::FolderIdentity identity;
    std::vector<VideoFile> subfolders;
    std::size_t next = 0;
    std::unique_ptr<os::Folder> handle;  // while it is the deepest
  };

  // A folder below that cannot be read is named, and the walk goes on. One
  // the process has no descriptor left for tells nothing of the folder, and
  // the next would fare no better: the listing then fails as a whole, for a
  // run over part of the tree would number its videos unlike a run over all
  // of it. False when the walk ends.
  bool Unreadable(const std::string& path, const os::Error& error) {
    if (error.kind != os::ErrorKind::kTooManyOpenFiles) {
      listing.unreadable.push_back(messages::CannotReadFolder(path, error));
      return true;
    }
    listing.error = error;
    listing.message = messages::CannotUseFolder(path, error);
    listing.folders.clear();
    listing.unreadable.clear();
    return false;
  }

  void Below(std::unique_ptr<os::Folder> top, std::vector<VideoFile> subfolders) {
    std::vector<Pending> stack;
    stack.push_back({root, ".", root_identity, std::move(subfolders), 0, std::move(top)});
    while (!stack.empty()) {
      Pending& parent = stack.back();
      if (parent.next == parent.subfolders.size()) {
        stack.pop_back();
        continue;
      }
      if (!parent.handle) {
        VideoFolder where;
        where.path = parent.path;
        where.relative = parent.relative;
        where.root = root;
        where.root_identity = root_identity;
        where.identity = parent.identity;
        os::Error error = OpenListedFolder(where, fs, &parent.handle);
        if (error.failed()) {
          // None of the subfolders left can be reached: each is named.
          for (; parent.next < parent.subfolders.size(); ++parent.next) {
            if (!Unreadable(os::JoinPath(parent.path, parent.subfolders[parent.next].native_name),
                            error)) {
              return;
            }
          }
          continue;
        }
      }
      const VideoFile& subfolder = parent.subfolders[parent.next++];
      const std::string& name = subfolder.native_name;
      VideoFolder folder;
      folder.path = os::JoinPath(parent.path, name);
      folder.relative = parent.relative == "." ? name : os::JoinPath(parent.relative, name);
      folder.root = root;
      folder.root_identity = root_identity;
      NameFolder(folder, subfolder.name);
      std::unique_ptr<os::Folder> handle;
      os::Error error = parent.handle->OpenSubfolder(name, &handle);
      std::vector<VideoFile> below;
      if (!error.failed()) {
        folder.identity = handle->identity();
        if (!seen.insert(folder.identity).second) continue;
        error = ListOne(*handle, extensions, folder, &below);
      }
      if (error.failed()) {
        if (!Unreadable(folder.path, error)) return;
        continue;
      }
      Pending next;
      next.path = folder.path;
      next.relative = folder.relative;
      next.identity = folder.identity;
      next.subfolders = std::move(below);
      next.handle = std::move(handle);
      if (!folder.files.empty()) listing.folders.push_back(std::move(folder));
      if (next.subfolders.empty()) continue;
      parent.handle.reset();  // opened again when the walk comes back to it
      stack.push_back(std::move(next));
    }
  }
};

}  // namespace

VideoFile MakeVideoFile(std::string native_name) {
  VideoFile file;
  file.name = text::DecodeFileName(native_name);
  file.native_name = std::move(native_name);
  return file;
}

bool IsVideoFileName(std::string_view name, const VideoExtensions& extensions) {
  // A run's own temporary file is never a video, whatever kinds are added.
  if (os::IsTemporaryName(name)) return false;
  auto matches = [&](std::string_view ext) { return EndsWithFolded(name, ext); };
  return std::any_of(std::begin(kVideoExtensions), std::end(kVideoExtensions), matches) ||
         std::any_of(extensions.added.begin(), extensions.added.end(), matches);
}

VideoExtensionsParse ParseVideoExtensions(std::string_view typed) {
  constexpr std::size_t kMaxLength = 10;
  VideoExtensionsParse parse;
  auto is_gap = [](char c) { return c == ',' || c == ';' || text::IsBlank(c); };
  if (text::HasControlByte(typed)) {
    parse.error = messages::BadVideoExtension(text::DisplayName(typed));
    return parse;
  }
  std::size_t i = 0;
  while (i < typed.size()) {
    if (is_gap(typed[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < typed.size() && !is_gap(typed[end])) ++end;
    const std::string_view word = typed.substr(i, end - i);
    i = end;
    std::string_view name = word;
    if (name.substr(0, 2) == "*.") {
      name.remove_prefix(2);
    } else if (name.substr(0, 1) == ".") {
      name.remove_prefix(1);
    }
    if (name.empty() || name.size() > kMaxLength ||
        !std::all_of(name.begin(), name.end(), IsAsciiAlnum)) {
      parse.extensions.added.clear();
      parse.error = messages::BadVideoExtension(text::DisplayName(word));
      return parse;
    }
    ++parse.named;
    const std::string ext = "." + text::LowerAscii(name);
    if (text::CompareFoldingCase(ext, kKscExtension) == 0) {
      // A KSC file taken for a video would be written over by its own.
      parse.extensions.added.clear();
      parse.error = messages::KscIsNoVideo(text::DisplayName(word));
      return parse;
    }
    const bool known = std::find(std::begin(kVideoExtensions), std::end(kVideoExtensions), ext) !=
                           std::end(kVideoExtensions) ||
                       std::find(parse.extensions.added.begin(), parse.extensions.added.end(),
                                 ext) != parse.extensions.added.end();
    if (!known) parse.extensions.added.push_back(ext);
  }
  return parse;
}

std::string VideoExtensionsText(const VideoExtensions& extensions) {
  std::string typed;
  for (const std::string& ext : extensions.added) {
    typed += (typed.empty() ? "" : ",") + ext.substr(1);
  }
  return typed;
}

std::string VideoMasks(const VideoExtensions& extensions) {
  std::string masks = kVideoMasks;
  for (const std::string& ext : extensions.added) masks += ";*" + ext;
  return masks;
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

std::map<std::string, std::size_t> FolderListing::unlisted_kinds() const {
  std::map<std::string, std::size_t> kinds;
  for (const VideoFolder& f : folders) {
    for (const auto& [ext, count] : f.unlisted_kinds) kinds[ext] += count;
  }
  return kinds;
}

std::size_t FolderListing::video_count() const {
  std::size_t n = 0;
  for (const VideoFolder& f : folders) n += f.files.size();
  return n;
}

FolderListing ListVideos(const std::string& path, bool recursive, os::FileSystem& fs) {
  return ListVideos(path, recursive, VideoExtensions(), fs);
}

namespace {

FolderListing ListVideosOrThrow(const std::string& path, bool recursive,
                                const VideoExtensions& extensions, os::FileSystem& fs) {
  FolderListing listing;
  VideoFolder top;
  top.relative = ".";
  std::unique_ptr<os::Folder> handle;
  std::vector<VideoFile> subfolders;
  listing.error = fs.ResolveFolder(path, &top.path);
  if (!listing.error.failed()) listing.error = fs.OpenFolder(top.path, &handle);
  if (!listing.error.failed()) {
    top.identity = top.root_identity = handle->identity();
    top.root = top.path;
    listing.error = ListOne(*handle, extensions, top, recursive ? &subfolders : nullptr);
  }
  if (listing.error.failed()) {
    listing.message = messages::CannotUseFolder(path, listing.error);
    return listing;
  }
  NameFolder(top, text::DecodeFileName(FolderNameOf(path, top.path)));
  TreeWalk walk{listing, fs, extensions, top.path, top.identity, {top.identity}};
  listing.folders.push_back(std::move(top));
  if (recursive) walk.Below(std::move(handle), std::move(subfolders));
  return listing;
}

}  // namespace

FolderListing ListVideos(const std::string& path, bool recursive, const VideoExtensions& extensions,
                         os::FileSystem& fs) {
  try {
    return ListVideosOrThrow(path, recursive, extensions, fs);
  } catch (const std::bad_alloc&) {
    FolderListing listing;  // what was listed is given back first
    listing.error = {os::ErrorKind::kNoMemory, std::string()};
    listing.message = messages::CannotUseFolder(path, listing.error);
    return listing;
  }
}

os::Error OpenListedFolder(const VideoFolder& folder, os::FileSystem& fs,
                           std::unique_ptr<os::Folder>* handle) {
  const os::FolderIdentity unknown;
  const std::string& root = folder.root.empty() ? folder.path : folder.root;
  os::Error error = fs.OpenFolder(root, handle);
  if (error.failed()) return error;
  auto replaced = [] { return os::Error{os::ErrorKind::kOther, messages::kMovedOrReplaced}; };
  if (!(folder.root_identity == unknown) && !((*handle)->identity() == folder.root_identity)) {
    return replaced();
  }
  if (folder.root.empty() || folder.relative == ".") return {};
  // Down the relative path a name at a time, each through its parent.
  std::string_view rest = folder.relative;
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::unique_ptr<os::Folder> next;
    error = (*handle)->OpenSubfolder(std::string(rest.substr(0, end)), &next);
    if (error.failed()) return error;
    *handle = std::move(next);
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
  }
  if (!(folder.identity == unknown) && !((*handle)->identity() == folder.identity)) {
    return replaced();
  }
  return {};
}

}  // namespace kscgen
