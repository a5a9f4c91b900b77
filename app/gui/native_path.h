// Folder paths as the file system spells them, recovered from what the
// window shows. A folder copied from a Chinese system may be named in GBK
// bytes, which no QString holds: Qt decodes them to replacement characters
// and cannot give the bytes back. The window therefore carries the native
// bytes beside the text it shows, and recovers them from typed or dropped
// text here. What stands at a path is asked of the window's file system
// (os::FileSystem), as everything else the window reads.
#pragma once

#include <QString>
#include <QUrl>
#include <string>

#include "os/file_system.h"

namespace kscgen::gui {

// The native path of a typed or pasted path. Each component that does not
// exist as typed is looked up among its parent folder's entries by the name
// the window shows for them (a GBK name shows as its Chinese text); a
// component found neither way is kept as typed, so that the error names it.
std::string NativePathOfTyped(const QString& typed, os::FileSystem& fs);

// The native path of a dropped local file URL, percent-encoded bytes
// included; empty when the URL is not a local file.
std::string NativePathOfUrl(const QUrl& url);

// The local file URL of a native path: what the file manager is handed.
QUrl UrlOfNative(const std::string& native);

// The bytes of the command-line argument that Qt decoded to `decoded` (the
// last one that matches): Qt's decoding cannot hold a GBK folder name.
std::string NativeArgument(int argc, const char* const* argv, const QString& decoded);

// What the window shows for a native path.
QString ShownPath(const std::string& native);

// Whether a folder stands at the native path (links followed).
bool IsFolder(const std::string& native, os::FileSystem& fs);

// The folder a dropped or given path stands for: itself when it is a folder,
// the folder that holds it when it is a file (".", for a file named without
// a folder); empty for anything else.
std::string FolderStoodFor(const std::string& native, os::FileSystem& fs);

}  // namespace kscgen::gui
