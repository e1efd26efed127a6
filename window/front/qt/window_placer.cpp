// window_placer.cpp: moving the window, where the platform lets a program move it.
#include "window_placer.h"

#include "form_view.h"

namespace front::qt {

void WindowMover::moveTo(FormView& view, QPoint target) {
    view.move(target);
}

std::unique_ptr<WindowPlacer> placerFor(const QString& platformName) {
    // "wayland", "wayland-egl" and the like: the compositor alone places windows.
    if (platformName.startsWith(QLatin1String("wayland"))) {
        return std::make_unique<UnmovableWindow>();
    }
    return std::make_unique<WindowMover>();
}

} // namespace front::qt
