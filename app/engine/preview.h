// What the batch would write, as table rows: the preview window and
// `kscgen --dry-run` show the same rows.
#pragma once

#include <string>
#include <vector>

#include "app/engine/batch.h"

namespace kscgen {

// Column titles (UTF-8): 视频文件, KSC文件, 编号, 歌名, 缩写, 歌手, 字数, 语种,
// 风格, 声道, 时间, 歌星拼音, 备注, 状态, 文件名编号 (the library's own number
// the name carries); a run over a folder tree begins with one more, 文件夹.
std::vector<std::string> PreviewHeader(bool recursive);

// Where 备注 stands in the header and the rows.
std::size_t NotesColumn(bool recursive);

// The KSC text a video's file would hold (GBK); empty for a skipped one.
std::string PreviewKscText(const VideoReport& report);

// Whether a run would write the video's KSC file (新建 or 更新).
bool WouldWrite(const VideoReport& report);

// One video's row (UTF-8). 备注 holds its notes (PreviewNotes); 状态 says
// whether its KSC file would be new (新建), replaced (更新) or left as it is
// (未变).
std::vector<std::string> PreviewRow(const VideoReport& report, bool recursive);

// The line above the preview's table (UTF-8): how many videos, how many
// would get a KSC file, how many are skipped, how many share one.
std::string PreviewSummary(const std::vector<VideoReport>& reports);

// The notes on one video (UTF-8), separated by "；": why it is skipped, that
// it shares its KSC file with another, where its name departs from the
// template. Empty when there are none.
std::string PreviewNotes(const VideoReport& report);

}  // namespace kscgen
