// window_placer.h: how the game's moves of its window reach the screen.
#pragma once

#include <QPoint>
#include <QString>

#include <memory>

namespace front::qt {

class FormView;

class WindowPlacer {
public:
    virtual ~WindowPlacer() = default;
    // The game has sent the window's top left corner to `target`, in pixels.
    virtual void moveTo(FormView& view, QPoint target) = 0;
};

// Moves the window itself, where a program may place its own windows (X11,
// Windows, macOS).
class WindowMover final : public WindowPlacer {
public:
    void moveTo(FormView& view, QPoint target) override;
};

// Where a program cannot place its own window (Wayland), the window stays
// and what it shows moves instead, by the same distance: the catastrophe
// shake still shows, with its colours and its timing.
class ContentsMover final : public WindowPlacer {
public:
    void moveTo(FormView& view, QPoint target) override;
};

// The placer that works on the named Qt platform.
std::unique_ptr<WindowPlacer> placerFor(const QString& platformName);

} // namespace front::qt
