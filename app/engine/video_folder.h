// The videos of a folder: the plain files whose names match the video masks,
// in the order the batch walks them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/encoding.h"

namespace kscgen {

// The masks the file list shows, as the window states them.
extern const char* const kVideoMasks;  // "*.mpg;*.dat;*.wmv;*.rmvb;*.avi"

struct VideoFile {
  std::string native_name;  // as the file system holds it
  text::DecodedName name;   // its GBK form, or why there is none
};

VideoFile MakeVideoFile(std::string native_name);

// Whether a name matches one of the masks, without regard to case (a.MPG counts).
bool IsVideoFileName(std::string_view name);

// Orders by name: GBK bytes compared with ASCII letters folded to lower case.
void SortVideoFiles(std::vector<VideoFile>& files);

struct FolderListing {
  bool ok = true;
  std::string message;  // UTF-8, names the folder and the reason when !ok
  std::vector<VideoFile> files;
};

// The plain files of `folder` (spelled as the file system holds it) that
// match the masks, sorted by SortVideoFiles.
FolderListing ListVideoFiles(const std::string& folder);

}  // namespace kscgen
