#include "app/engine/batch.h"

#include <limits>
#include <unordered_map>

#include "app/engine/start_number.h"
#include "ksc/ksc_file.h"
#include "tagging/file_name.h"
#include "tagging/pinyin.h"
#include "tagging/uniform_values.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace kscgen {

const char* const kNoTemplateText = u8"请选择歌曲命名模板！";

namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
constexpr char kSeparator = '\\';
#else
constexpr std::string_view kSeparators = "/";
constexpr char kSeparator = '/';
#endif

bool HasControlByte(const std::string& s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) < 0x20) return true;
  }
  return false;
}

// The name without its extension, trimmed. Blanks and the dot are ASCII, and
// no byte of a Chinese character is either, so this cuts a GBK name and its
// UTF-8 spelling at the same characters.
std::string_view BaseNameView(std::string_view file_name) {
  std::string_view name = text::TrimView(file_name);
  std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return text::TrimView(name);
}

// Why a video can get no KSC file, or the empty text when it can.
std::string SkipReason(const VideoFile& file) {
  if (HasControlByte(file.native_name)) return u8"文件名含有控制字符";
  switch (file.name.problem) {
    case text::NameProblem::kNotInGbk:
      return u8"文件名含有GBK无法表示的字符";
    case text::NameProblem::kUndecodable:
      return u8"文件名既不是UTF-8也不是GBK编码";
    case text::NameProblem::kNone:
      break;
  }
  if (BaseNameView(file.name.gbk).empty()) return u8"文件名去掉扩展名后为空";
  return {};
}

// An empty folder path stands for the working folder, which is the one the
// window lists until a folder is chosen.
std::string KscPathOf(const std::string& folder, std::string_view native_base) {
  std::string path = folder;
  if (!path.empty() && kSeparators.find(path.back()) == std::string_view::npos) path += kSeparator;
  return path.append(native_base).append(".KSC");
}

std::string CompletionMessage(const BatchResult& r) {
  std::string m = u8"\r" + std::to_string(r.listed) +
                  u8"　首歌曲生成KSC文件完毕！\r\r如果需要加入歌库，请手动到歌曲管理器中进行扫描！";
  if (!r.skipped.empty()) {
    m += u8"\r\r共生成 " + std::to_string(r.written) + u8" 个KSC文件，以下 " +
         std::to_string(r.skipped.size()) + u8" 个视频未生成：";
    for (const SkippedVideo& s : r.skipped) m += u8"\r" + s.name + u8"（" + s.reason + u8"）";
  }
  if (!r.same_ksc.empty()) {
    m += u8"\r\r以下视频生成同名KSC文件，保留的是后者的：";
    for (const SameKscPair& p : r.same_ksc) m += u8"\r" + p.earlier + u8" 与 " + p.later;
  }
  return m;
}

// The song values a video's name, its folder and the options give, in the
// order they depend on one another: the name first, the uniform values over
// it, and the singer's initials from the singer that results.
TSongInfo DeriveSong(const BatchOptions& options, const std::string& folder_name,
                     const std::string& base_name) {
  TSongInfo song;
  song.DateText = options.date_text;
  ParseSongName(options.naming_template, options.folder_role, base_name, folder_name, song);
  song.Abbrev = PinyinInitials(song.Title, kAbbrevLimit);
  if (options.uniform_on) ApplyUniformValues(options.uniform_list_text, song);
  song.SingerPinyin = PinyinInitials(song.Singer, std::nullopt);
  return song;
}

BatchResult Failure(BatchStatus status, std::string message) {
  BatchResult r;
  r.status = status;
  r.message = std::move(message);
  return r;
}

}  // namespace

std::string NoTemplateMessage() { return u8"\r　" + std::string(kNoTemplateText) + " "; }

std::string FolderNameOf(const std::string& folder_path) {
  std::size_t end = folder_path.find_last_not_of(kSeparators);
  if (end == std::string::npos) return {};
  std::size_t sep = folder_path.find_last_of(kSeparators, end);
  std::size_t begin = sep == std::string::npos ? 0 : sep + 1;
  text::DecodedName name = text::DecodeFileName(folder_path.substr(begin, end + 1 - begin));
  return text::Trim(name.gbk);
}

std::string BaseNameOf(const std::string& gbk_file_name) {
  return std::string(BaseNameView(gbk_file_name));
}

BatchResult RunBatch(const BatchOptions& options, const std::vector<VideoFile>& files,
                     BatchObserver* observer) {
  if (options.naming_template < 0 || options.naming_template >= kTemplateCount) {
    return Failure(BatchStatus::kNoTemplate, NoTemplateMessage());
  }

  // Numbering: the first numbered video gets the start number plus one; a
  // start of 1 or less leaves numbering off.
  std::int64_t number = 0;
  const std::string start_text = text::Trim(options.start_number_text);
  if (options.number_start_on && !start_text.empty()) {
    auto start = ParseStartNumber(start_text);
    if (!start) {
      return Failure(BatchStatus::kBadOptions,
                     "'" + text::GbkForDisplay(start_text) + "' is not a valid integer value");
    }
    number = *start;
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    if (number > 1 && number + static_cast<std::int64_t>(files.size()) > kMax) {
      return Failure(BatchStatus::kBadOptions, u8"编号起始值 " + text::GbkForDisplay(start_text) +
                                                   u8" 太大：为 " + std::to_string(files.size()) +
                                                   u8" 首歌曲编号会超过 " + std::to_string(kMax));
    }
  }

  const std::string folder_name = FolderNameOf(options.folder_path);
  BatchResult result;
  result.listed = files.size();
  std::unordered_map<std::string_view, std::size_t> ksc_owner;  // KSC base name → video index
  ksc_owner.reserve(files.size());
  if (!options.dry_run) RemoveStaleTemporaryFiles(options.folder_path);
  if (observer) observer->OnStart(files.size());

  for (std::size_t i = 0; i < files.size(); ++i) {
    const VideoFile& file = files[i];
    VideoReport report;
    report.index = i;
    report.file = &file;
    auto done = [&] {
      if (observer) observer->OnVideo(report, i + 1, files.size());
    };

    report.skip_reason = SkipReason(file);
    if (!report.skip_reason.empty()) {
      result.skipped.push_back({text::DisplayName(file.native_name), report.skip_reason});
      done();
      continue;
    }

    const std::string base_name = BaseNameOf(file.name.gbk);
    // The KSC file is named like its video, in the same encoding.
    const std::string_view native_base = BaseNameView(file.native_name);
    TSongInfo& song = report.song;
    song = DeriveSong(options, folder_name, base_name);
    if (number > 1) song.Number = FormatSongNumber(++number);
    song.VideoName = text::Trim(file.name.gbk);
    song.KscPath = KscPathOf(options.folder_path, native_base);
    report.ksc_name = base_name + ".KSC";

    auto [owner, fresh] = ksc_owner.try_emplace(native_base, i);  // one folder: names suffice
    if (!fresh) {
      report.same_ksc_as = owner->second;
      result.same_ksc.push_back({text::DisplayName(files[owner->second].native_name),
                                 text::DisplayName(file.native_name)});
      owner->second = i;
    }

    if (!options.dry_run) {
      WriteStatus status = WriteKscFile(song);
      if (!status.ok) {
        result.status = BatchStatus::kWriteFailed;
        result.message = status.message;
        return result;
      }
      ++result.written;
    }
    done();
  }
  result.message = CompletionMessage(result);
  return result;
}

}  // namespace kscgen
