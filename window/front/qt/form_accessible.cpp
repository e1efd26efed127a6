// form_accessible.cpp: the window's accessible tree and its caption changes.
#include "form_accessible.h"

#include "announcer.h"
#include "form.h"
#include "form_view.h"
#include "qt_text.h"

#include <QPushButton>
#include <QWindow>

#include <algorithm>
#include <climits>

namespace front::qt {

namespace {

const Label* asLabel(const Control& control) {
    return control.kind() == ControlKind::Label ? static_cast<const Label*>(&control) : nullptr;
}

const Image* asImage(const Control& control) {
    return control.kind() == ControlKind::Image ? static_cast<const Image*>(&control) : nullptr;
}

QAccessibleInterface* createFormViewAccessible(const QString&, QObject* object) {
    if (auto* view = qobject_cast<FormView*>(object)) {
        return new FormViewAccessible(view);
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------- painted controls

PaintedControlAccessible::PaintedControlAccessible(FormView* view, const VisibleControl& control)
    : m_view(view), m_control(control), m_toldText(caption()) {}

QString PaintedControlAccessible::caption() const {
    if (const Label* label = asLabel(m_control)) {
        // The balloon breaks its lines with CR LF; screen readers want plain new lines.
        return toQString(label->caption()).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    }
    return {};
}

QString PaintedControlAccessible::takeNewText() {
    return std::exchange(m_toldText, caption());
}

bool PaintedControlAccessible::isValid() const {
    return !m_view.isNull();
}

QObject* PaintedControlAccessible::object() const {
    return nullptr;
}

QWindow* PaintedControlAccessible::window() const {
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface* PaintedControlAccessible::childAt(int, int) const {
    return nullptr;
}

QAccessibleInterface* PaintedControlAccessible::parent() const {
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QAccessibleInterface* PaintedControlAccessible::child(int) const {
    return nullptr;
}

int PaintedControlAccessible::childCount() const {
    return 0;
}

int PaintedControlAccessible::indexOfChild(const QAccessibleInterface*) const {
    return -1;
}

QString PaintedControlAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name) {
        return {};
    }
    if (const Image* image = asImage(m_control)) {
        return toQString(image->description());
    }
    return caption();
}

void PaintedControlAccessible::setText(QAccessible::Text, const QString&) {}

QRect PaintedControlAccessible::rect() const {
    if (!m_view) {
        return {};
    }
    const QRect area = m_view->areaOf(m_control);
    return QRect(m_view->mapToGlobal(area.topLeft()), area.size());
}

QAccessible::Role PaintedControlAccessible::role() const {
    return asImage(m_control) ? QAccessible::Graphic : QAccessible::StaticText;
}

QAccessible::State PaintedControlAccessible::state() const {
    QAccessible::State state;
    state.invisible = !m_control.visible() || !m_view || !m_view->isVisible();
    state.readOnly = asLabel(m_control) != nullptr;
    return state;
}

void* PaintedControlAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface && asLabel(m_control)) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return nullptr;
}

void PaintedControlAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

int PaintedControlAccessible::selectionCount() const {
    return 0;
}

void PaintedControlAccessible::addSelection(int, int) {}

void PaintedControlAccessible::removeSelection(int) {}

void PaintedControlAccessible::setSelection(int, int, int) {}

int PaintedControlAccessible::cursorPosition() const {
    return 0;
}

void PaintedControlAccessible::setCursorPosition(int) {}

QString PaintedControlAccessible::text(int startOffset, int endOffset) const {
    const QString whole = caption();
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, whole.size());
    const qsizetype end =
        endOffset < 0 ? whole.size() : std::clamp<qsizetype>(endOffset, start, whole.size());
    return whole.mid(start, end - start);
}

int PaintedControlAccessible::characterCount() const {
    return static_cast<int>(caption().size());
}

QRect PaintedControlAccessible::characterRect(int) const {
    return {};
}

int PaintedControlAccessible::offsetAtPoint(const QPoint&) const {
    return -1;
}

void PaintedControlAccessible::scrollToSubstring(int, int) {}

QString PaintedControlAccessible::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

// ---------------------------------------------------------------- the notification

MessageNotificationAccessible::MessageNotificationAccessible(FormView* view) : m_view(view) {}

bool MessageNotificationAccessible::isValid() const {
    return !m_view.isNull();
}

QObject* MessageNotificationAccessible::object() const {
    return nullptr;
}

QWindow* MessageNotificationAccessible::window() const {
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface* MessageNotificationAccessible::childAt(int, int) const {
    return nullptr;
}

QAccessibleInterface* MessageNotificationAccessible::parent() const {
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QAccessibleInterface* MessageNotificationAccessible::child(int) const {
    return nullptr;
}

int MessageNotificationAccessible::childCount() const {
    return 0;
}

int MessageNotificationAccessible::indexOfChild(const QAccessibleInterface*) const {
    return -1;
}

QString MessageNotificationAccessible::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? m_message : QString();
}

void MessageNotificationAccessible::setText(QAccessible::Text, const QString&) {}

QRect MessageNotificationAccessible::rect() const {
    return {};
}

QAccessible::Role MessageNotificationAccessible::role() const {
    return QAccessible::Notification;
}

QAccessible::State MessageNotificationAccessible::state() const {
    QAccessible::State state;
    state.invisible = m_message.isEmpty() || !m_view || !m_view->isVisible();
    state.readOnly = true;
    return state;
}

// ---------------------------------------------------------------- the window

FormViewAccessible::FormViewAccessible(FormView* view) : QAccessibleWidget(view) {
    // Labels and buttons in their tab order, the pictures after them from the top down.
    std::vector<std::pair<std::pair<int, float>, Child>> ordered;
    for (const auto& control : view->form().controls()) {
        if (control->kind() == ControlKind::CommandButton) {
            const auto& button = static_cast<const CommandButton&>(*control);
            ordered.push_back({{button.tabIndex(), 0.0f}, {&button, 0}});
        } else if (const Label* label = asLabel(*control)) {
            auto* painted = new PaintedControlAccessible(view, *label);
            ordered.push_back({{label->tabIndex(), 0.0f},
                               {label, QAccessible::registerAccessibleInterface(painted)}});
        } else if (const Image* image = asImage(*control)) {
            auto* painted = new PaintedControlAccessible(view, *image);
            ordered.push_back({{INT_MAX, image->rect().top},
                               {image, QAccessible::registerAccessibleInterface(painted)}});
        }
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& entry : ordered) {
        m_children.push_back(entry.second);
    }
    m_notification =
        QAccessible::registerAccessibleInterface(new MessageNotificationAccessible(view));
}

FormViewAccessible::~FormViewAccessible() {
    // The painted controls' interfaces belong to no QObject, so nobody else deletes them.
    for (const Child& child : m_children) {
        if (child.painted != 0) {
            QAccessible::deleteAccessibleInterface(child.painted);
        }
    }
    QAccessible::deleteAccessibleInterface(m_notification);
}

FormView* FormViewAccessible::view() const {
    return static_cast<FormView*>(widget());
}

QAccessible::Role FormViewAccessible::role() const {
    return view()->isWindow() ? QAccessible::Window : QAccessible::Client;
}

int FormViewAccessible::childCount() const {
    return static_cast<int>(m_children.size()) + 1;
}

QAccessibleInterface* FormViewAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    if (static_cast<std::size_t>(index) == m_children.size()) {
        return QAccessible::accessibleInterface(m_notification);
    }
    const Child& entry = m_children[static_cast<std::size_t>(index)];
    if (entry.painted != 0) {
        return QAccessible::accessibleInterface(entry.painted);
    }
    return QAccessible::queryAccessibleInterface(
        view()->button(static_cast<const CommandButton&>(*entry.control)));
}

int FormViewAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < childCount(); ++i) {
        if (this->child(i) == child) {
            return i;
        }
    }
    return -1;
}

QAccessibleInterface* FormViewAccessible::childAt(int x, int y) const {
    // The buttons stand above all painting; of the painted controls, the
    // first in the form's list is drawn over the others.
    const QPoint point = view()->mapFromGlobal(QPoint(x, y));
    for (const auto& [control, button] : view()->buttonsInTabOrder()) {
        if (button->isVisible() && button->geometry().contains(point)) {
            return QAccessible::queryAccessibleInterface(button);
        }
    }
    for (const auto& control : view()->form().controls()) {
        if (PaintedControlAccessible* painted = this->painted(*control);
            painted && painted->control().visible() &&
            view()->areaOf(painted->control()).contains(point)) {
            return painted;
        }
    }
    return nullptr;
}

PaintedControlAccessible* FormViewAccessible::painted(const Control& control) const {
    for (const Child& child : m_children) {
        if (child.control == &control && child.painted != 0) {
            return static_cast<PaintedControlAccessible*>(
                QAccessible::accessibleInterface(child.painted));
        }
    }
    return nullptr;
}

MessageNotificationAccessible* FormViewAccessible::notification() const {
    return static_cast<MessageNotificationAccessible*>(
        QAccessible::accessibleInterface(m_notification));
}

// ---------------------------------------------------------------- set-up and changes

void installFormAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(createFormViewAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void exposeCaptionChange(FormView& view, const Label& label, Announcer& announcer) {
    auto* window = dynamic_cast<FormViewAccessible*>(QAccessible::queryAccessibleInterface(&view));
    PaintedControlAccessible* painted = window ? window->painted(label) : nullptr;
    if (painted == nullptr) {
        return;
    }
    // The game writes the same words again on many ticks; only new ones are news.
    const QString before = painted->takeNewText();
    const QString now = painted->text(QAccessible::Name);
    if (now == before) {
        return;
    }
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent textChanged(painted, 0, before, now);
        QAccessible::updateAccessibility(&textChanged);
        QAccessibleEvent nameChanged(painted, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
    }
    MessageNotificationAccessible* notification = window->notification();
    notification->setMessage(now);
    announcer.announce(notification, now);
}

void exposeCurrentMessage(FormView& view, Announcer& announcer) {
    auto* window = dynamic_cast<FormViewAccessible*>(QAccessible::queryAccessibleInterface(&view));
    MessageNotificationAccessible* notification = window ? window->notification() : nullptr;
    if (notification != nullptr && !notification->message().isEmpty()) {
        announcer.announce(notification, notification->message());
    }
}

} // namespace front::qt
