// The names the song manager cannot tell apart within one folder: the
// videos that would share one KSC file, and the KSC files already there
// under another spelling of a video's name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/engine/video_folder.h"
#include "os/file_system.h"

namespace kscgen {

// The groups of one folder's videos. Two names are one to the song manager
// when they differ only in letter case, of any letter GBK holds in two
// cases, or when their spellings (UTF-8 and GBK) give the same GBK bytes.
// Of each group the last video in list order writes the KSC file; each of
// the others is linked to the one before it.
class SameNames {
 public:
  static constexpr std::uint32_t kNone = static_cast<std::uint32_t>(-1);

  // Groups `folder`'s videos, and notes why each one that can get no KSC
  // file is skipped; those take part in no group.
  void Group(const VideoFolder& folder);

  // Looks through the folder, open as `handle`, for KSC files under a name
  // the song manager takes for a grouped video's own (other letter case,
  // the other spelling of the same GBK name): such a file is that video's
  // KSC file, to be replaced under the name it has, not joined by a second
  // one. The name looked for first wins when it is there, else the first of
  // the others in byte order; every other one is stale, left as it is, and
  // named in `warnings`, for the song manager sees only one of them.
  os::Error FindKscFilesSpelledOtherwise(const VideoFolder& folder, os::Folder& handle,
                                         bool recursive, std::vector<std::string>* warnings);

  void Clear();

  // Of video `i` of the folder grouped last:
  const char* skip_reason(std::size_t i) const { return skip_reasons_[i]; }  // null: none
  std::uint32_t winner(std::size_t i) const { return winner_[i]; }           // writes its KSC file
  std::uint32_t previous(std::size_t i) const { return previous_[i]; }       // kNone when first
  // The native name of its KSC file under another spelling; null when none.
  const std::string* other_spelling(std::size_t i) const;
  // The stale KSC files of its name, UTF-8; null when none.
  const std::vector<std::string>* stale(std::size_t i) const;

 private:
  std::uint32_t WinnerFor(const VideoFolder& folder, std::string_view gbk_stem) const;

  // By video: why it is skipped (empty when it is not), the video that
  // writes its KSC file, the earlier video of its name; and the videos not
  // skipped, in the order of their names. Sorted indices rather than a map
  // of names: a large folder costs four bytes a video here.
  std::vector<const char*> skip_reasons_;
  std::vector<std::uint32_t> winner_;
  std::vector<std::uint32_t> previous_;
  std::vector<std::uint32_t> order_;
  std::unordered_map<std::uint32_t, std::string> other_spelling_;
  std::unordered_map<std::uint32_t, std::vector<std::string>> stale_;
};

}  // namespace kscgen
