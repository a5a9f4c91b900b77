// Placing a top-level window on its screen: the room the screen offers once
// the window system's frame is allowed for, and a size and place within it.
#pragma once

#include <QSize>

class QScreen;
class QWidget;

namespace kscgen::gui {

// The frame the window system adds around a window and reports only once
// the window is shown: a title bar above, borders around.
QSize FrameAllowance();

// The room for a window's contents on `screen`: its available area less the
// frame.
QSize RoomOn(const QScreen* screen);

// Sizes `window` to `wanted`, as far as the room on `screen` allows but not
// below the window's minimum, and centres its frame on the screen's
// available area; a window larger than the area begins at its top left.
void CentreOn(QWidget* window, QSize wanted, const QScreen* screen);

// Restores a place and size saved by QWidget::saveGeometry, kept on
// `screen`: no larger than the room there, its frame within the available
// area. False, with nothing changed, when `geometry` cannot be read.
bool RestoreOn(QWidget* window, const QByteArray& geometry, const QScreen* screen);

}  // namespace kscgen::gui
