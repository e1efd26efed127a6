// form_accessible.h: the window's parts as Qt's accessibility interfaces: the
// window, its push buttons, and the labels, pictures and notification that
// are no widgets of their own. What each part is called and when a message
// is news, the shared runtime says; this hands it to Qt.
#pragma once

#include "controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

#include <cstddef>
#include <vector>

namespace runtime {
struct AccessibleNode;
}

namespace front::qt {

using forms::Control;
using forms::Label;

class FormView;

// A child of the window that is no widget: a label (static text, whose
// caption is also its text), a picture (a graphic), or the notification.
class PaintedAccessible final : public QAccessibleInterface, public QAccessibleTextInterface {
public:
    // The window's child at `index`, as runtime::describeChildren lists them.
    PaintedAccessible(FormView* view, std::size_t index);

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

    // QAccessibleTextInterface: a label's caption, read only, nothing selected.
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
    runtime::AccessibleNode node() const;

    QPointer<FormView> m_view;
    std::size_t m_index;
};

// The window, named by its caption, with its children in the order the
// shared runtime gives.
class FormViewAccessible final : public QAccessibleWidget {
public:
    explicit FormViewAccessible(FormView* view);

    QAccessible::Role role() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // The child that stands for `control`; the notification for none.
    QAccessibleInterface* childFor(const Control* control) const;

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

// The master's message as screen readers read it changed from `before`:
// they get its new text.
void exposeMessageChange(FormView& view, const std::string& before);

// Screen readers should speak `words` now, from the window's notification.
void announce(FormView& view, const std::string& words);

} // namespace front::qt
