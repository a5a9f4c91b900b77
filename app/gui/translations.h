// The window's language: Chinese throughout, Qt's own dialogs and standard
// buttons included.
#pragma once

namespace kscgen::gui {

// Installs, once per application, Qt's Chinese translations (carried in the
// program as a resource) and the few texts of ours that they lack. Without
// the resource (a build that could not find it) Qt's buttons stay English.
void InstallTranslations();

// Whether Qt's Chinese translations are in place.
bool HaveQtTranslations();

}  // namespace kscgen::gui
