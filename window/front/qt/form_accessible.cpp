// form_accessible.cpp: the window's accessible tree and its messages, handed to Qt.
#include "form_accessible.h"

#include "accessible_tree.h"
#include "announcements.h"
#include "announcer.h"
#include "form_view.h"
#include "qt_text.h"

#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <optional>

namespace front::qt {

namespace {

QAccessibleInterface* createFormViewAccessible(const QString&, QObject* object) {
    if (auto* view = qobject_cast<FormView*>(object)) {
        return new FormViewAccessible(view);
    }
    return nullptr;
}

QAccessible::Role toQtRole(runtime::AccessibleRole role) {
    switch (role) {
    case runtime::AccessibleRole::Window:
        return QAccessible::Window;
    case runtime::AccessibleRole::PushButton:
        return QAccessible::PushButton;
    case runtime::AccessibleRole::StaticText:
        return QAccessible::StaticText;
    case runtime::AccessibleRole::Graphic:
        return QAccessible::Graphic;
    case runtime::AccessibleRole::Notification:
        return QAccessible::Notification;
    }
    return QAccessible::NoRole;
}

// Where a node is painted in the view, moved with the contents.
QRect viewArea(const runtime::AccessibleNode& node, const FormView& view) {
    const drawing::DeviceRect& area = node.area;
    return QRect(area.left, area.top, area.width, area.height).translated(view.contentsOffset());
}

FormViewAccessible* accessibleOf(FormView& view) {
    return dynamic_cast<FormViewAccessible*>(QAccessible::queryAccessibleInterface(&view));
}

} // namespace

// ---------------------------------------------------------------- the window's other children

PaintedAccessible::PaintedAccessible(FormView* view, std::size_t index)
    : m_view(view), m_index(index) {}

runtime::AccessibleNode PaintedAccessible::node() const {
    return runtime::describeChildren(m_view->form(), m_view->announcements()).at(m_index);
}

bool PaintedAccessible::isValid() const {
    return !m_view.isNull();
}

QObject* PaintedAccessible::object() const {
    return nullptr;
}

QWindow* PaintedAccessible::window() const {
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface* PaintedAccessible::childAt(int, int) const {
    return nullptr;
}

QAccessibleInterface* PaintedAccessible::parent() const {
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QAccessibleInterface* PaintedAccessible::child(int) const {
    return nullptr;
}

int PaintedAccessible::childCount() const {
    return 0;
}

int PaintedAccessible::indexOfChild(const QAccessibleInterface*) const {
    return -1;
}

QString PaintedAccessible::text(QAccessible::Text t) const {
    return t == QAccessible::Name && m_view ? toQString(node().name) : QString();
}

void PaintedAccessible::setText(QAccessible::Text, const QString&) {}

QRect PaintedAccessible::rect() const {
    if (!m_view) {
        return {};
    }
    const QRect area = viewArea(node(), *m_view);
    return area.isEmpty() ? QRect() : QRect(m_view->mapToGlobal(area.topLeft()), area.size());
}

QAccessible::Role PaintedAccessible::role() const {
    return m_view ? toQtRole(node().role) : QAccessible::NoRole;
}

QAccessible::State PaintedAccessible::state() const {
    QAccessible::State state;
    if (!m_view) {
        state.invisible = true;
        return state;
    }
    const runtime::AccessibleNode shown = node();
    state.invisible = !shown.shown || !m_view->isVisible();
    state.readOnly = shown.role != runtime::AccessibleRole::Graphic;
    return state;
}

void* PaintedAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface && role() == QAccessible::StaticText) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return nullptr;
}

void PaintedAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

int PaintedAccessible::selectionCount() const {
    return 0;
}

void PaintedAccessible::addSelection(int, int) {}

void PaintedAccessible::removeSelection(int) {}

void PaintedAccessible::setSelection(int, int, int) {}

int PaintedAccessible::cursorPosition() const {
    return 0;
}

void PaintedAccessible::setCursorPosition(int) {}

QString PaintedAccessible::text(int startOffset, int endOffset) const {
    const QString whole = text(QAccessible::Name);
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, whole.size());
    const qsizetype end =
        endOffset < 0 ? whole.size() : std::clamp<qsizetype>(endOffset, start, whole.size());
    return whole.mid(start, end - start);
}

int PaintedAccessible::characterCount() const {
    return static_cast<int>(text(QAccessible::Name).size());
}

QRect PaintedAccessible::characterRect(int) const {
    return {};
}

int PaintedAccessible::offsetAtPoint(const QPoint&) const {
    return -1;
}

void PaintedAccessible::scrollToSubstring(int, int) {}

QString PaintedAccessible::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

// ---------------------------------------------------------------- the window

FormViewAccessible::FormViewAccessible(FormView* view) : QAccessibleWidget(view) {
    const std::vector<runtime::AccessibleNode> nodes =
        runtime::describeChildren(view->form(), view->announcements());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const bool button = nodes[i].role == runtime::AccessibleRole::PushButton;
        m_children.push_back({nodes[i].control, button ? 0
                                                       : QAccessible::registerAccessibleInterface(
                                                             new PaintedAccessible(view, i))});
    }
}

FormViewAccessible::~FormViewAccessible() {
    // The painted children's interfaces belong to no QObject, so nobody else deletes them.
    for (const Child& child : m_children) {
        if (child.painted != 0) {
            QAccessible::deleteAccessibleInterface(child.painted);
        }
    }
}

FormView* FormViewAccessible::view() const {
    return static_cast<FormView*>(widget());
}

QAccessible::Role FormViewAccessible::role() const {
    return view()->isWindow() ? QAccessible::Window : QAccessible::Client;
}

int FormViewAccessible::childCount() const {
    return static_cast<int>(m_children.size());
}

QAccessibleInterface* FormViewAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) {
        return nullptr;
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
    for (const Child& entry : m_children) {
        QPushButton* button =
            entry.painted == 0 ? view()->button(static_cast<const CommandButton&>(*entry.control))
                               : nullptr;
        if (button != nullptr && button->isVisible() && button->geometry().contains(point)) {
            return QAccessible::queryAccessibleInterface(button);
        }
    }
    const std::vector<runtime::AccessibleNode> nodes =
        runtime::describeChildren(view()->form(), view()->announcements());
    for (const auto& control : view()->form().controls()) {
        for (std::size_t i = 0; i < m_children.size(); ++i) {
            if (m_children[i].control == control.get() && m_children[i].painted != 0 &&
                nodes[i].shown && viewArea(nodes[i], *view()).contains(point)) {
                return QAccessible::accessibleInterface(m_children[i].painted);
            }
        }
    }
    return nullptr;
}

QAccessibleInterface* FormViewAccessible::childFor(const Control* control) const {
    for (const Child& child : m_children) {
        if (child.control == control && child.painted != 0) {
            return QAccessible::accessibleInterface(child.painted);
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------- set-up and messages

void installFormAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(createFormViewAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void exposeMessageChange(FormView& view, const std::string& before) {
    FormViewAccessible* window = accessibleOf(view);
    const Label* message = runtime::messageLabel(view.form());
    QAccessibleInterface* painted = window ? window->childFor(message) : nullptr;
    if (painted != nullptr && QAccessible::isActive()) {
        QAccessibleTextUpdateEvent textChanged(painted, 0, toQString(before),
                                               toQString(view.announcements().latest()));
        QAccessible::updateAccessibility(&textChanged);
        QAccessibleEvent nameChanged(painted, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
    }
}

void announce(FormView& view, const std::string& words) {
    FormViewAccessible* window = accessibleOf(view);
    if (window != nullptr && view.announcer() != nullptr) {
        view.announcer()->announce(window->childFor(nullptr), toQString(words));
    }
}

} // namespace front::qt
