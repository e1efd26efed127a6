// form_accessible.h: what screen readers find in the window: the window, its
// push buttons, and the labels and pictures FormView paints, which are no
// widgets of their own.
#pragma once

#include "controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

namespace forms {

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

// The window: named by its caption, its children its push buttons and its
// painted labels in tab order, then its pictures from the top down.
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

protected:
    ~FormViewAccessible() override;

private:
    struct Child {
        const Control* control;
        QAccessible::Id painted; // 0 for a push button, a widget of its own
    };
    FormView* view() const;

    std::vector<Child> m_children;
};

// Makes Qt give every FormView a FormViewAccessible. Safe to call again.
void installFormAccessibility();

// A label's caption changed: screen readers get its new text, and hear it
// through `announcer`, unless the words are the same as before.
void exposeCaptionChange(FormView& view, const Label& label, Announcer& announcer);

} // namespace forms
