// Where the window's QStrings meet the engine's byte strings.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace kscgen::gui {

// GBK song text for the engine; no value when a character has no GBK form.
std::optional<std::string> ToGbk(const QString& s);
QString FromGbk(const std::string& gbk);

// A UTF-8 message of the engine as a message box shows it, line for line.
QString FromMessage(const std::string& utf8);

// A path as the file system spells it, and back.
std::string ToNative(const QString& path);
QString FromNative(const std::string& native);

}  // namespace kscgen::gui
