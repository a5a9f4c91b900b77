// The channel names of the song manager's channel codes, as library keepers
// write them in names and uniform values: 左声道, 右声道, 立体声, and the
// letters L and R that bracket tags use ([国语][R]). The digit itself
// (0 default, 1 right, 2 left, 3 stereo) is read before this table.
#include <iterator>

#include "tagging/classification_tables.h"

namespace kscgen {
namespace {

constexpr KeywordRule kChannelRules[] = {
    {KeywordTest::kContains, "左", "2"},   {KeywordTest::kContains, "右", "1"},
    {KeywordTest::kContains, "立体", "3"}, {KeywordTest::kEqualsUpper, "L", "2"},
    {KeywordTest::kEqualsUpper, "R", "1"},
};

}  // namespace

const KeywordTable kChannelTable{kChannelRules, std::size(kChannelRules), nullptr};

}  // namespace kscgen
