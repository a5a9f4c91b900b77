// The song values of one video, as its name, its folder and the request
// give them.
#pragma once

#include <string>
#include <string_view>

#include "app/engine/batch.h"
#include "tagging/file_name.h"
#include "tagging/known_singers.h"
#include "tagging/song_info.h"

namespace kscgen {

// The song values a video's name (`base_name`), its folder's name and the
// request give, in the order they depend on one another: the name first,
// the uniform values over it, and the singer's initials from the singer
// that results. `today` is the date given when the request names none;
// `known` the singers the library's names gave. Notes on the name go to
// `findings`.
SongInfo DeriveSong(const BatchRequest& request, const std::string& today,
                    const std::string& folder_name, std::string_view base_name,
                    const KnownSingers& known, NameFindings* findings);

}  // namespace kscgen
