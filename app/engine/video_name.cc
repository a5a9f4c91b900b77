#include "app/engine/video_name.h"

#include "app/engine/messages.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace kscgen {

namespace {

// Whether a GBK name is blanks only, full-width blanks included: it has no
// title to read.
bool IsBlankName(std::string_view gbk) {
  for (std::size_t i = 0; i < gbk.size(); i += text::CharLength(gbk, i)) {
    const bool wide_blank = text::CharLength(gbk, i) == 2 &&
                            text::IsFullWidthBlank(static_cast<unsigned char>(gbk[i]),
                                                   static_cast<unsigned char>(gbk[i + 1]));
    if (!wide_blank && !text::IsBlank(static_cast<unsigned char>(gbk[i]))) return false;
  }
  return true;
}

}  // namespace

std::string_view StemView(std::string_view file_name) {
  std::size_t dot = file_name.rfind('.');
  return dot == std::string_view::npos ? file_name : file_name.substr(0, dot);
}

// Blanks and the dot are ASCII, and no byte of a Chinese character is either,
// so this cuts a GBK name and its UTF-8 spelling at the same characters.
std::string_view BaseNameView(std::string_view file_name) {
  return text::TrimView(StemView(text::TrimView(file_name)));
}

const char* SkipReason(const VideoFile& file) {
  if (text::HasControlByte(file.native_name)) return messages::kControlCharacter;
  switch (file.name.problem) {
    case text::NameProblem::kNotInGbk:
      return messages::kNotInGbkName;
    case text::NameProblem::kUndecodable:
      return messages::kUndecodableName;
    case text::NameProblem::kNone:
      break;
  }
  if (IsBlankName(BaseNameView(file.name.gbk))) return messages::kEmptyBaseName;
  return nullptr;
}

std::string ShownName(const VideoFolder& folder, std::string_view native_name, bool with_folder) {
  std::string name = text::DisplayName(native_name);
  if (!with_folder || folder.relative == ".") return name;
  return text::DisplayName(folder.relative) + "/" + name;
}

}  // namespace kscgen
