// qt_runtime.cpp: the window's place, its timers and its run-time errors on Qt.
#include "qt_runtime.h"

#include "qt_text.h"
#include "qt_text_metrics.h"
#include "tick_settling.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>
#include <cstdio>

namespace front::qt {

namespace {

constexpr int kRunTimeErrorStatus = 1;

} // namespace

QtRuntime::QtRuntime(Form& form, FormEvents& events, FormView& view)
    : runtime::Runtime(events), m_form(form), m_view(view),
      m_placer(placerFor(QGuiApplication::platformName())) {
    m_form.setTextMetrics(std::make_shared<QtTextMetrics>());
    m_form.addObserver(this);
    m_view.onClick = [this](const CommandButton& button) { raiseClick(button); };
    m_view.installEventFilter(this);
    m_clock.start();
}

QtRuntime::~QtRuntime() {
    m_view.onClick = nullptr;
    m_form.removeObserver(this);
}

void QtRuntime::start() {
    if (!raiseLoad() || error()) {
        return;
    }
    m_view.setWindowTitle(toQString(m_form.caption()));
    m_view.setWindowIcon(QIcon(m_view.picture(m_form.icon())));
    // A fixed single border with the close box only.
    m_view.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    const QRect screen = m_view.screen()->availableGeometry();
    m_view.move(screen.center() - QPoint(m_view.width() / 2, m_view.height() / 2));
    m_view.show();
    // Where it was asked to open; a window manager that puts it elsewhere
    // says so, and the form takes its word until the game moves the window.
    reportWindowPlace();
}

void QtRuntime::runTimeError(const RunTimeError& error) {
    for (auto& [timer, source] : m_timers) {
        source->stop();
    }
    std::fprintf(stderr, "yopo: %s\n", error.what());
    // The handler has already stopped; the program ends once the player has read why.
    auto* box = new QMessageBox(QMessageBox::Critical, toQString(m_form.caption()),
                                toQString(error.report()), QMessageBox::Ok, &m_view);
    box->setObjectName(QStringLiteral("runTimeError"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, qApp, [] { QCoreApplication::exit(kRunTimeErrorStatus); });
    box->open();
}

bool QtRuntime::eventFilter(QObject* watched, QEvent* event) {
    // Only what the window system says: Qt's own, unprompted Move event for
    // a move just asked for tells nothing about where the window stands.
    if (watched == &m_view && event->type() == QEvent::Move && event->spontaneous()) {
        reportWindowPlace();
    }
    return QObject::eventFilter(watched, event);
}

void QtRuntime::reportWindowPlace() {
    m_form.windowStandsAt(toTwips(m_view.x()), toTwips(m_view.y()));
}

void QtRuntime::controlChanged(const Control& control, Property property) {
    if (control.kind() != ControlKind::Timer) {
        return;
    }
    const auto& timer = static_cast<const Timer&>(control);
    if (&timer == m_ticking) {
        return; // settled once the tick is over: the last value written counts
    }
    runtime::settleWrite(timer, property, *timerFor(timer), scaled(timer.interval()), error().has_value());
}

void QtRuntime::tick(const Timer& timer) {
    m_ticking = &timer;
    raiseTick(timer);
    m_ticking = nullptr;
    runtime::settleTick(timer, *timerFor(timer), scaled(timer.interval()), error().has_value());
}

int QtRuntime::scaled(int interval) const {
    return std::max(1, static_cast<int>(interval / m_timeScale));
}

void QtRuntime::formChanged(Property property) {
    if (property == Property::Left || property == Property::Top) {
        m_show.gameMoved();
        showWindow();
    } else if (property == Property::BackColor) {
        showWindow();
    }
}

void QtRuntime::setReducedMotion(bool reduced) {
    m_show.setReducedMotion(reduced);
    showWindow();
}

void QtRuntime::showWindow() {
    const runtime::WindowFacts window{m_placer->canMove(),
                                      {toTwips(m_view.x()), toTwips(m_view.y())}};
    const runtime::WindowShow::Shown shown =
        m_show.decide({m_form.left(), m_form.top()}, m_form.backColor(), window, m_clock.elapsed());
    if (shown.moveWindowTo) {
        m_placer->moveTo(
            m_view, QPoint(toPixels(shown.moveWindowTo->left), toPixels(shown.moveWindowTo->top)));
    }
    m_view.setContentsOffset(QPoint(shown.offset.x, shown.offset.y));
    m_view.setGround(shown.ground);
}

TickSource* QtRuntime::timerFor(const Timer& timer) {
    TickSource*& source = m_timers[&timer];
    if (source == nullptr) {
        // A 6-second tick must come on time, not up to 5 % late as a coarse timer may.
        source = new TickSource(this);
        source->onTick = [this, &timer] { tick(timer); };
    }
    return source;
}

} // namespace front::qt
