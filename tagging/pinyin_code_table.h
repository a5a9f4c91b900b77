// The initial of a character from the code tables alone: the order of GB2312
// level one and the Han database's readings (tagging/pinyin_gbk_table.cc).
// The dictionary's readings (tagging/pinyin_dict_tables.h) correct these; the
// generator of those tables compares against this, so it stays apart from
// them.
#pragma once

#include <string_view>

namespace kscgen {

// The initial of the GBK character at the start of `piece`: a GB2312
// level-one character gives the letter of the range its code falls in (that
// level is ordered by pinyin), any other Chinese character the first letter
// of its first reading in the Han database, or a blank when it has none; an
// ASCII letter or digit gives itself, letters upper-cased; everything else,
// an empty piece included, gives a blank.
char CodeTableInitial(std::string_view piece);

}  // namespace kscgen
