// window_placer.cpp: moving the window, or what it shows where it cannot move.
#include "window_placer.h"

#include "form_view.h"

namespace front::qt {

void WindowMover::moveTo(FormView& view, QPoint target) {
    view.move(target);
}

void ContentsMover::moveTo(FormView& view, QPoint target) {
    // The window never leaves its place, so the distance from it is how far
    // the contents stand aside.
    view.setContentsOffset(target - view.pos());
}

std::unique_ptr<WindowPlacer> placerFor(const QString& platformName) {
    // "wayland", "wayland-egl" and the like: the compositor alone places windows.
    if (platformName.startsWith(QLatin1String("wayland"))) {
        return std::make_unique<ContentsMover>();
    }
    return std::make_unique<WindowMover>();
}

} // namespace front::qt
