#include "app/gui/screen_fit.h"

#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace kscgen::gui {
namespace {

constexpr int kTitleBarAllowance = 32;
constexpr int kBorderAllowance = 4;

}  // namespace

QSize FrameAllowance() { return {2 * kBorderAllowance, kTitleBarAllowance + kBorderAllowance}; }

QSize RoomOn(const QScreen* screen) {
  return screen->availableGeometry().size() - FrameAllowance();
}

void CentreOn(QWidget* window, QSize wanted, const QScreen* screen) {
  const QSize size = wanted.boundedTo(RoomOn(screen)).expandedTo(window->minimumSizeHint());
  window->resize(size);
  // move() places the frame.
  QRect frame(QPoint(), size + FrameAllowance());
  const QRect available = screen->availableGeometry();
  frame.moveCenter(available.center());
  // A window the room cannot hold keeps its title bar on the screen, where
  // it can be taken and moved; what is cut is at the bottom.
  frame.moveTop(std::max(frame.top(), available.top()));
  frame.moveLeft(std::max(frame.left(), available.left()));
  window->move(frame.topLeft());
}

bool RestoreOn(QWidget* window, const QByteArray& geometry, const QScreen* screen) {
  const QRect before = window->geometry();
  if (geometry.isEmpty() || !window->restoreGeometry(geometry)) {
    window->setGeometry(before);
    return false;
  }
  // Qt brings a window that is off every screen back onto one; a window saved
  // on a larger screen, or at a smaller scale, must shrink to fit as well.
  const QRect available = screen->availableGeometry();
  const QSize room = RoomOn(screen);
  if (window->width() > room.width() || window->height() > room.height()) {
    window->resize(window->size().boundedTo(room).expandedTo(window->minimumSizeHint()));
  }
  const QSize frame = window->size() + FrameAllowance();
  if (!available.contains(QRect(window->pos(), frame))) {
    QPoint place = window->pos();
    place.setX(
        std::max(available.left(), std::min(place.x(), available.right() + 1 - frame.width())));
    place.setY(
        std::max(available.top(), std::min(place.y(), available.bottom() + 1 - frame.height())));
    window->move(place);
  }
  return true;
}

}  // namespace kscgen::gui
