#include "tagging/song_info.h"

namespace kscgen {

const char* const kDefaultLanguage = "国语";
const char* const kDefaultStyle = "流行";
const char* const kDefaultChannel = "0";
const char* const kUnknownSinger = "佚名";

SongInfo::SongInfo()
    : language(kDefaultLanguage), style(kDefaultStyle), channel(kDefaultChannel) {}

}  // namespace kscgen
