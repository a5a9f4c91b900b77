#include "text/invisible_table.h"

#include <algorithm>
#include <iterator>

namespace kscgen::text {

// Unicode's Default_Ignorable_Code_Point ranges (DerivedCoreProperties.txt),
// with the C1 controls (Cc, U+0080..U+009F) and the line and paragraph
// separators (U+2028, U+2029), which break a message's line.
const CodePointRange kInvisibleRanges[] = {
    {0x0080, 0x009F},   {0x00AD, 0x00AD},   {0x034F, 0x034F},   {0x061C, 0x061C}, {0x115F, 0x1160},
    {0x17B4, 0x17B5},   {0x180B, 0x180F},   {0x200B, 0x200F},   {0x2028, 0x202E}, {0x2060, 0x206F},
    {0x3164, 0x3164},   {0xFE00, 0xFE0F},   {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFF8},
    {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
};
const std::size_t kInvisibleRangeCount = std::size(kInvisibleRanges);

bool IsInvisible(char32_t c) {
  const CodePointRange* end = kInvisibleRanges + kInvisibleRangeCount;
  const CodePointRange* r =
      std::lower_bound(kInvisibleRanges, end, c,
                       [](const CodePointRange& range, char32_t v) { return range.last < v; });
  return r != end && r->first <= c;
}

}  // namespace kscgen::text
