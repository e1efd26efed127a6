// form_accessible.h: what screen readers find in the window: the window, its
// push buttons, the labels and pictures FormView paints, which are no widgets
// of their own, and the notification that carries each new message to them.
#pragma once

#include "controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

namespace front::qt {

using namespace ::forms;

class Announcer;
class FormView;

// A painted label (static text, its caption as its name and text) or picture
// (a graphic named by what it shows).
class PaintedControlAccessible final : public QAccessibleInterface,
                                       public QAccessibleTextInterface {
public:
    PaintedControlAccessible(FormView* view, const VisibleControl& control);

    const VisibleControl& control() const { return m_control; }
    // What screen readers were last told the label says, and bringing that
    // up to date: returns the text it had before.
    QString takeNewText();

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTextInterface: the caption, read only, nothing selected.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    QString caption() const;

    QPointer<FormView> m_view;
    const VisibleControl& m_control;
    QString m_toldText;
};

// The master's latest message as a notification: screen readers speak a
// notification the moment it is shown, wherever the keyboard focus is, while
// Orca leaves a label's changed text unspoken unless the label has the focus.
// Nothing of it is painted; it has no area on the screen, so that reviewing
// the window finds the message once, in the balloon.
class MessageNotificationAccessible final : public QAccessibleInterface {
public:
    explicit MessageNotificationAccessible(FormView* view);

    const QString& message() const { return m_message; }
    void setMessage(const QString& message) { m_message = message; }

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

private:
    QPointer<FormView> m_view;
    QString m_message;
};

// The window: named by its caption, its children its push buttons and its
// painted labels in tab order, then its pictures from the top down, and last
// the notification of the latest message.
class FormViewAccessible final : public QAccessibleWidget {
public:
    explicit FormViewAccessible(FormView* view);

    QAccessible::Role role() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // The interface of a painted label or picture, if it is one.
    PaintedControlAccessible* painted(const Control& control) const;
    MessageNotificationAccessible* notification() const;

protected:
    ~FormViewAccessible() override;

private:
    struct Child {
        const Control* control;
        QAccessible::Id painted; // 0 for a push button, a widget of its own
    };
    FormView* view() const;

    std::vector<Child> m_children;
    QAccessible::Id m_notification = 0;
};

// Makes Qt give every FormView a FormViewAccessible. Safe to call again.
void installFormAccessibility();

// A label's caption changed: screen readers get its new text, and hear it
// through `announcer` as the window's notification, unless the words are the
// same as before.
void exposeCaptionChange(FormView& view, const Label& label, Announcer& announcer);

// The window has just come to the player: screen readers hear the latest
// message through `announcer`, as if it were new.
void exposeCurrentMessage(FormView& view, Announcer& announcer);

} // namespace front::qt
