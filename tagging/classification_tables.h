// The four keyword tables of the song manager's vocabularies.
#pragma once

#include "tagging/classification.h"

namespace kscgen {

extern const KeywordTable kLanguageTable;
extern const KeywordTable kStyleTable;
extern const KeywordTable kLanguagePrefixTable;
extern const KeywordTable kStylePrefixTable;

}  // namespace kscgen
