#include "app/engine/song_values.h"

#include "ksc/ksc_file.h"
#include "tagging/pinyin.h"
#include "tagging/uniform_values.h"

namespace kscgen {

SongInfo DeriveSong(const BatchRequest& request, const std::string& today,
                    const std::string& folder_name, std::string_view base_name,
                    const KnownSingers& known, NameFindings* findings) {
  SongInfo song;
  song.date_text = request.date_text.value_or(today);
  if (*request.naming_template == kTemplateCustom) {
    ParseSongName(*request.name_pattern, request.folder_role, base_name, folder_name, song,
                  findings);
  } else {
    ParseSongName(*request.naming_template, request.folder_role, base_name, folder_name, song,
                  findings, &known);
  }
  song.abbrev = PinyinInitials(song.title, kAbbrevLimit);
  ApplyUniformValues(request.uniform, song);
  song.singer_pinyin = SingerInitials(song.singer);
  return song;
}

}  // namespace kscgen
