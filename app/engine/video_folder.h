// The videos of a folder, or of a whole folder tree: the plain files whose
// names match the video masks, in the order the batch walks them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "os/file_system.h"
#include "text/encoding.h"

namespace kscgen {

// The masks the file list shows, as the window states them.
extern const char* const kVideoMasks;  // "*.mpg;*.dat;*.wmv;*.rmvb;*.avi"

// The kinds of video beyond the five of kVideoMasks that the user adds
// (.mkv, .mp4, .vob, .ts, ...): lower case, each with its dot.
struct VideoExtensions {
  std::vector<std::string> added;

  bool operator==(const VideoExtensions& o) const { return added == o.added; }
};

struct VideoExtensionsParse {
  VideoExtensions extensions;
  std::string error;      // UTF-8, names the extension that cannot be one; empty when none
  std::size_t named = 0;  // extensions the text names, known ones and repeats included
};

// Reads extensions as the user types them, for the window and kscgen --ext:
// separated by ",", ";" or blanks, each with or without "*." or "." before
// it, in either case ("mkv,mp4", "*.MKV; .ts"). Each is one to ten ASCII
// letters and digits; one of the five, or one given twice, is kept once. A
// control character is refused, not taken for a separator.
VideoExtensionsParse ParseVideoExtensions(std::string_view typed_utf8);

// The added extensions as the user would type them: "mkv,mp4".
std::string VideoExtensionsText(const VideoExtensions& extensions);

// kVideoMasks followed by the added extensions' masks: "*.mpg;...;*.mkv".
std::string VideoMasks(const VideoExtensions& extensions);

struct VideoFile {
  std::string native_name;  // as the file system holds it
  text::DecodedName name;   // its GBK form, or why there is none
};

VideoFile MakeVideoFile(std::string native_name);

// Whether a name matches one of the masks, without regard to case (a.MPG
// counts), or ends in one of the added extensions.
bool IsVideoFileName(std::string_view name, const VideoExtensions& extensions = {});

// Orders by name: GBK bytes compared with ASCII letters folded to lower case.
void SortVideoFiles(std::vector<VideoFile>& files);

// One folder of videos as the batch takes it.
struct VideoFolder {
  std::string path;         // the folder the system resolves it to, as the file system spells it
  std::string relative;     // from the chosen folder, as the file system spells it; "." for itself
  std::string folder_name;  // FolderName (GBK, trimmed); empty when it has no GBK form
  bool name_not_in_gbk = false;  // its name holds a character GBK lacks
  std::vector<VideoFile> files;  // sorted by SortVideoFiles
  // Files of other kinds of video (.mkv, .mp4, ...) not listed, by kind.
  std::map<std::string, std::size_t> unlisted_kinds;
  // Where the listing found it: the chosen folder (empty: `path` itself) and
  // the identities of both, so that a run can tell a folder moved or put in
  // its place since (zero: not known, not checked).
  std::string root;
  os::FolderIdentity root_identity;
  os::FolderIdentity identity;
};

// Opens a listed folder again for a run: the chosen folder by its path, then
// each folder below it through its parent, never through a link. Fails when
// what stands there now is not the folder that was listed.
os::Error OpenListedFolder(const VideoFolder& folder, os::FileSystem& fs,
                           std::unique_ptr<os::Folder>* handle);

// The FolderName of a folder given as `user_path`, which the system resolved
// to `resolved`: the last component as the user wrote it (trailing
// separators ignored), or the resolved folder's own name when that component
// is "." or ".." or the path is empty. Native spelling, untrimmed.
std::string FolderNameOf(std::string_view user_path, std::string_view resolved);

struct FolderListing {
  os::Error error;      // why the chosen folder cannot be used
  std::string message;  // UTF-8, names the folder and the reason when error.failed()
  // The chosen folder first, even without videos; with `recursive`, then every
  // folder below it that holds videos, depth first, subfolders in name order.
  std::vector<VideoFolder> folders;
  std::vector<std::string> unreadable;  // UTF-8 messages for folders below that could not be read

  bool ok() const { return !error.failed(); }
  std::size_t video_count() const;
  // Files of other kinds of video not listed, over all folders, by kind.
  std::map<std::string, std::size_t> unlisted_kinds() const;
};

// Lists the videos of the folder at `path` (as the user gave it), and with
// `recursive` those of every folder below it reached through the folder tree
// itself: links to folders, and folders whose names start with ".", are
// passed over.
FolderListing ListVideos(const std::string& path, bool recursive,
                         os::FileSystem& fs = os::SystemFileSystem());
// The same, with the videos of the added extensions as well.
FolderListing ListVideos(const std::string& path, bool recursive, const VideoExtensions& extensions,
                         os::FileSystem& fs = os::SystemFileSystem());

}  // namespace kscgen
