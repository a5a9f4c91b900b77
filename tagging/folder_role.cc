// What a folder's own name stands for, by its role, for every template and
// pattern alike: it fills what the video's name leaves open.
#include "tagging/classification.h"
#include "tagging/name_reading.h"

namespace kscgen {

bool FolderNamesNothing(FolderRole folder_role, std::string_view folder_name) {
  folder_name = text::TrimView(folder_name);
  if (folder_name.empty()) return false;
  if (folder_role == kRoleLanguage) return !NamesLanguage(folder_name);
  if (folder_role == kRoleStyle) return !MatchStyle(folder_name);
  return false;
}

}  // namespace kscgen

namespace kscgen::naming {

void ApplyFolderRole(FolderRole folder_role, std::string_view folder, bool title_only, bool singer_read,
                     Reading& r) {
  SongInfo& info = r.info;
  switch (folder_role) {
    case kRoleSinger:
      // A folder name GBK cannot hold reads as empty: such a name, or one of
      // blanks only, names no singer, and under 歌名 the singer is 佚名.
      if (singer_read) break;
      if (!text::TrimView(folder).empty()) {
        info.singer = std::string(folder);
      } else if (title_only) {
        info.singer = kUnknownSinger;
      }
      break;
    case kRoleLanguage:
      if ((r.given & kLanguageSlot) != 0) break;
      // 歌名's folders give 其它 rather than 国语 when they begin with no
      // language: libraries rely on it.
      info.language = title_only ? ClassifyLanguagePrefix(folder) : ClassifyLanguage(folder);
      if (FolderNamesNothing(folder_role, folder)) {
        Note(r.findings, NameFindingKind::kFolderNoLanguage, folder);
      }
      break;
    case kRoleStyle: {
      if ((r.given & kStyleSlot) != 0) break;
      std::optional<std::string> style =
          title_only ? ClassifyStylePrefix(folder) : MatchStyle(folder);
      if (style) info.style = std::move(*style);
      if (FolderNamesNothing(folder_role, folder)) {
        Note(r.findings, NameFindingKind::kFolderNoStyle, folder);
      }
      break;
    }
    case kRoleDateAdded:
      info.date_text = std::string(folder);
      break;
    default:
      break;
  }
}

}  // namespace kscgen::naming
