// What the batch would write, as table rows: the preview window and
// `kscgen --dry-run` show the same rows.
#pragma once

#include <string>
#include <vector>

#include "app/engine/batch.h"

namespace kscgen {

// Column titles (UTF-8): 视频文件, KSC文件, 编号, 歌名, 缩写, 歌手, 字数, 语种,
// 风格, 声道, 时间, 歌星拼音, 备注, 状态; a run over a folder tree begins
// with one more, 文件夹.
std::vector<std::string> PreviewHeader(bool recursive);

// One video's row (UTF-8). 备注 says why a video is skipped or that it
// shares its KSC file with another; 状态 says whether its KSC file would be
// new (新建), replaced (更新) or left as it is (未变).
std::vector<std::string> PreviewRow(const VideoReport& report, bool recursive);

}  // namespace kscgen
