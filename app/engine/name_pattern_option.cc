#include "app/engine/name_pattern_option.h"

#include "app/engine/messages.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace kscgen {

NamePatternOption ParseNamePatternOption(std::string_view typed_utf8) {
  NamePatternOption option;
  constexpr std::string_view kWhat = u8"命名格式";
  if (!text::IsValidUtf8(typed_utf8)) {
    option.error = messages::NotUtf8(kWhat, typed_utf8);
    return option;
  }
  const std::optional<std::string> gbk = text::Utf8ToGbk(typed_utf8);
  if (!gbk) {
    option.error = messages::NotInGbk(kWhat, typed_utf8);
    return option;
  }
  // A blank would be read in its place, and no name holds one anyway: such
  // names are skipped.
  if (text::HasControlByte(*gbk)) {
    option.error = messages::PatternControlCharacter(text::DisplayName(typed_utf8));
    return option;
  }
  PatternCheck check = CompileNamePattern(*gbk);
  if (!check.pattern) {
    option.error = messages::BadNamePattern(check.fault, text::GbkForDisplay(check.text));
    return option;
  }
  option.pattern = std::move(check.pattern);
  return option;
}

}  // namespace kscgen
