#include "tagging/known_singers.h"

#include "tagging/file_name.h"
#include "tagging/name_reading.h"

namespace kscgen {

void KnownSingers::Learn(std::string_view base_name, FolderRole folder_role,
                         std::string_view folder_name) {
  folder_name = text::TrimView(folder_name);
  if (folder_role == kRoleSinger && !folder_name.empty()) Add(folder_name);
  SongInfo info;
  const unsigned all = naming::SlotsOf(kTemplateCustom);
  naming::Reading r{info, nullptr, all, all};
  const std::string_view name = naming::WithoutLeadingTags(text::TrimView(base_name), r, true);
  naming::QuotedTitle quoted;
  std::string_view singer;
  if (naming::FindQuotedTitle(name, &quoted)) {
    singer = naming::TrimSeparators(name.substr(0, quoted.open));
  } else {
    const naming::SingerTitleView split = naming::SplitView(name);
    if (!split.separated || split.singer.empty()) return;
    // A library holds many songs of each singer: one learned already needs
    // no reading of the title's fields.
    if (Holds(naming::WithoutLatinName(split.singer, nullptr))) return;
    // Fields follow a title only after a separator, a blank or a bracket.
    bool more = false;
    naming::WalkChars(split.title_part, 0,
                      [&](std::size_t, std::size_t, naming::Mark m, std::size_t) {
                        more = m == naming::Mark::kOpen || naming::IsCut(m);
                        return !more;
                      });
    if (!more) return;
    r.given = 0;  // only the fields after the title make the order sure
    naming::ReadTitlePart(split.title_part, r);
    if (r.given == 0) return;
    singer = split.singer;
  }
  singer = naming::WithoutLatinName(singer, nullptr);
  if (!singer.empty() && !Holds(singer) && !naming::IsFieldWord(singer)) Add(singer);
}

void KnownSingers::Add(std::string_view singer) {
  if (Holds(singer)) return;
  names_.emplace_back(singer);
  singers_.insert(names_.back());
}

bool ReadsWithKnownSingers(NamingTemplate naming_template) {
  return naming_template == kTemplateAuto || (naming_template >= kTemplateSingerTitle &&
                                              naming_template <= kTemplateSingerTitleLanguageStyleChannel);
}

bool KnownSingers::KnowsOnly(std::string_view side, std::string_view other) const {
  // The other side first: in a library whose names are mostly singer
  // first, that is the one known, and one lookup decides.
  return !singers_.empty() && !Holds(naming::WithoutLatinName(other, nullptr)) &&
         Holds(naming::WithoutLatinName(side, nullptr));
}

bool KnownSingers::Holds(std::string_view singer) const {
  return !singers_.empty() && singers_.count(singer) != 0;
}

}  // namespace kscgen
