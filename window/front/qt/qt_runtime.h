// qt_runtime.h: the forms runtime on Qt: a real window, real buttons and precise timers.
#pragma once

#include "form.h"
#include "form_view.h"
#include "runtime.h"
#include "tick_source.h"
#include "window_placer.h"
#include "window_show.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>
#include <memory>

namespace front::qt {

using namespace ::forms;

class QtRuntime : public QObject, public runtime::Runtime, private FormObserver {
public:
    // The view must show `form`; the runtime owns neither.
    QtRuntime(Form& form, FormEvents& events, FormView& view);
    ~QtRuntime() override;

    // Raises Form_Load, then shows the window centred on its screen.
    void start();

    // For maintainers who want to watch a flood without waiting 41 minutes:
    // every timer runs this many times faster. The game itself is unchanged.
    void setTimeScale(double scale) { m_timeScale = scale; }

    // How the game's moves of the window reach the screen; by default what
    // works on the platform the application runs on.
    void setWindowPlacer(std::unique_ptr<WindowPlacer> placer) { m_placer = std::move(placer); }

    // Whether the player's desktop asks for reduced motion: the window then
    // stands still through the shake and its flashes are slowed.
    void setReducedMotion(bool reduced);

protected:
    // Tells the player, on stderr and in a message box, and ends the program.
    void runTimeError(const RunTimeError& error) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void controlChanged(const Control& control, Property property) override;
    void formChanged(Property property) override;
    TickSource* timerFor(const Timer& timer);
    void tick(const Timer& timer);
    int scaled(int interval) const;
    // Tells the form where the window system has the window now.
    void reportWindowPlace();
    // Shows the game's window as the shared rule says: its place, what it
    // shows and its ground.
    void showWindow();

    Form& m_form;
    FormView& m_view;
    std::map<const Timer*, TickSource*> m_timers;
    double m_timeScale = 1;
    std::unique_ptr<WindowPlacer> m_placer;
    runtime::WindowShow m_show;
    // What the player sees when: the flashes are limited in real time.
    QElapsedTimer m_clock;
    // The timer whose tick is being handled, if one is.
    const Timer* m_ticking = nullptr;
};

} // namespace front::qt
