// The templates and folder roles by their numbers, as the tables of the
// tagging tests write them: T4 is 歌手－歌名(语种－类别－声道), R2 语种名.
#pragma once

#include "tagging/file_name.h"

namespace kscgen::shorthand {

constexpr NamingTemplate T0 = kTemplateTitle;
constexpr NamingTemplate T1 = kTemplateSingerTitle;
constexpr NamingTemplate T2 = kTemplateSingerTitleLanguage;
constexpr NamingTemplate T3 = kTemplateSingerTitleLanguageStyle;
constexpr NamingTemplate T4 = kTemplateSingerTitleLanguageStyleChannel;
constexpr NamingTemplate TAuto = kTemplateAuto;

constexpr FolderRole R0 = kRoleNone;
constexpr FolderRole R1 = kRoleSinger;
constexpr FolderRole R2 = kRoleLanguage;
constexpr FolderRole R3 = kRoleStyle;
constexpr FolderRole R4 = kRoleDateAdded;

}  // namespace kscgen::shorthand
