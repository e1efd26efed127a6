// window_placer.h: what the platform lets the game do with its window's place.
#pragma once

#include <QPoint>
#include <QString>

#include <memory>

namespace front::qt {

class FormView;

class WindowPlacer {
public:
    virtual ~WindowPlacer() = default;
    // Whether a program may place its own window on this platform.
    virtual bool canMove() const { return true; }
    // Sends the window's top left corner to `target`, in pixels; asked only
    // where the window can move.
    virtual void moveTo(FormView& view, QPoint target) = 0;
};

// Moves the window itself, where a program may place its own windows (X11,
// Windows, macOS).
class WindowMover final : public WindowPlacer {
public:
    void moveTo(FormView& view, QPoint target) override;
};

// Where a program cannot place its own window (Wayland), the compositor
// alone does, and the window stays where it was put.
class UnmovableWindow final : public WindowPlacer {
public:
    bool canMove() const override { return false; }
    void moveTo(FormView&, QPoint) override {}
};

// The placer that works on the named Qt platform.
std::unique_ptr<WindowPlacer> placerFor(const QString& platformName);

} // namespace front::qt
