// qt_runtime.cpp: the window's place, its alarm clock and its run-time errors on Qt.
#include "qt_runtime.h"

#include "opening_place.h"

#include "form_accessible.h"
#include "qt_text.h"
#include "qt_text_metrics.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace front::qt {

using forms::toPixels;
using forms::toTwips;

QtRuntime::QtRuntime(Form& form, FormEvents& events, FormView& view)
    : runtime::Runtime(form, events), m_form(form), m_view(view),
      m_placer(placerFor(QGuiApplication::platformName())) {
    m_form.setTextMetrics(std::make_shared<QtTextMetrics>());
    // A tick that comes late brings every tick due by then, in batches, with
    // the window's own events answered in between.
    m_alarm.onRing = [this] { wake(); };
    m_view.onClick = [this](const CommandButton& button) { raiseClick(button); };
    m_view.onKey = [this](runtime::Key key, bool down, std::optional<runtime::Milliseconds> at,
                          const CommandButton* focused) {
        if (down) {
            keyDown(key, at, focused);
        } else {
            keyUp(key, at);
        }
    };
    m_view.onKeyboardLost = [this] { keyboardLost(); };
    m_view.setAnnouncements(&announcements());
    m_view.onShown = [this] { windowShown(); };
    m_view.onActivated = [this] { windowActivated(); };
    m_view.installEventFilter(this);
}

QtRuntime::~QtRuntime() {
    m_view.onClick = nullptr;
    m_view.onKey = nullptr;
    m_view.onKeyboardLost = nullptr;
    m_view.onShown = nullptr;
    m_view.onActivated = nullptr;
    m_view.setAnnouncements(nullptr);
}

void QtRuntime::announce(const std::string& words, Said said) {
    if (said == Said::News) {
        front::qt::announce(m_view, words);
        return;
    }
    // After the window and the focused button have been told of, so that a
    // screen reader speaks it in turn after them.
    QTimer::singleShot(0, &m_view, [this, words] { front::qt::announce(m_view, words); });
}

void QtRuntime::messageChanged(const std::string& before) {
    exposeMessageChange(m_view, before);
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
    const QRect work = m_view.screen()->availableGeometry();
    const runtime::ScreenPlace place = runtime::openingPlace(
        {work.x(), work.y(), work.width(), work.height()}, m_view.width(), m_view.height());
    m_view.move(place.x, place.y);
    m_view.show();
    // Where it was asked to open; a window manager that puts it elsewhere
    // says so, and the form takes its word until the game moves the window.
    reportWindowPlace();
}

void QtRuntime::runTimeError(const RunTimeError& error) {
    runtime::printRunTimeError(error);
    // The handler has already stopped; the program ends once the player has read why.
    auto* box = new QMessageBox(QMessageBox::Critical, toQString(m_form.caption()),
                                toQString(error.report()), QMessageBox::Ok, &m_view);
    box->setObjectName(QStringLiteral("runTimeError"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, qApp,
            [] { QCoreApplication::exit(runtime::kRunTimeErrorStatus); });
    box->open();
}

bool QtRuntime::eventFilter(QObject* watched, QEvent* event) {
    // Only what the window system says: Qt's own, unprompted Move event for
    // a move just asked for tells nothing about where the window stands.
    if (watched == &m_view && event->type() == QEvent::Move && event->spontaneous()) {
        reportWindowPlace();
    }
    if (watched == &m_view && event->type() == QEvent::Close && onClose) {
        onClose();
    }
    return QObject::eventFilter(watched, event);
}

void QtRuntime::reportWindowPlace() {
    m_form.windowStandsAt(toTwips(m_view.x()), toTwips(m_view.y()));
}

void QtRuntime::placeWindow(Twips left, Twips top) {
    m_placer->moveTo(m_view, QPoint(toPixels(left), toPixels(top)));
}

runtime::WindowFacts QtRuntime::windowFacts() const {
    return {m_placer->canMove(), {toTwips(m_view.x()), toTwips(m_view.y())}};
}

void QtRuntime::showContents(drawing::ContentsOffset offset, Colour ground) {
    m_view.setContentsOffset(QPoint(offset.x, offset.y));
    m_view.setGround(ground);
}

} // namespace front::qt
