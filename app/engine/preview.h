// What the batch would write, as table rows: the preview window and
// `kscgen --dry-run` show the same rows.
#pragma once

#include <string>
#include <vector>

#include "app/engine/batch.h"

namespace kscgen {

// Column titles (UTF-8): 视频文件, KSC文件, 编号, 歌名, 缩写, 歌手, 字数, 语种,
// 风格, 声道, 时间, 歌星拼音, 备注.
std::vector<std::string> PreviewHeader();

// One video's row (UTF-8); the last column says why a video is skipped, or
// that its KSC file replaces an earlier video's.
std::vector<std::string> PreviewRow(const VideoReport& report);

}  // namespace kscgen
