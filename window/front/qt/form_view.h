// form_view.h: a Qt widget that paints a form's model and hosts its push buttons.
#pragma once

#include "announcements.h"
#include "announcer.h"
#include "drawing.h"
#include "form.h"
#include "keys.h"
#include "qt_text_metrics.h"

#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QStaticText>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QPainter;
class QPushButton;

namespace front::qt {

using forms::Colour;
using forms::CommandButton;
using forms::Control;
using forms::Form;
using forms::FormObserver;
using forms::Property;

// Paints the form's frame, as the drawing lists it for the screen's
// device-pixel ratio, with the push buttons as real buttons above it all.
// It knows nothing of the game: a click is handed to whoever listens.
class FormView : public QWidget, private FormObserver {
    Q_OBJECT

public:
    explicit FormView(Form& form, QWidget* parent = nullptr);
    ~FormView() override;

    const Form& form() const { return m_form; }

    // Called when the player presses a button.
    std::function<void(const CommandButton&)> onClick;
    // Called as Space or Enter goes down or comes up, with the platform's
    // time for it and the button that has the focus, if any; the keys press
    // nothing by themselves.
    std::function<void(runtime::Key key, bool down, std::optional<runtime::Milliseconds> at,
                       const CommandButton* focused)>
        onKey;
    // Called when the window loses the keyboard.
    std::function<void()> onKeyboardLost;

    QPushButton* button(const CommandButton& control) const;
    // The button that has the focus, or nullptr for the window itself.
    const CommandButton* focusedControl() const { return controlOf(focusWidget()); }
    // The focus goes to the button, or to the window itself for nullptr.
    void focusOn(const CommandButton* control, Qt::FocusReason reason);
    const std::vector<std::pair<const CommandButton*, QPushButton*>>& buttonsInTabOrder() const {
        return m_tabOrder;
    }
    // Draws everything, buttons too, this many pixels aside from where the
    // layout puts it: the window's shake where the window itself cannot move.
    void setContentsOffset(QPoint offset);
    QPoint contentsOffset() const { return m_offset; }
    // Paints the ground in `colour`, whatever the form's BackColor: a player
    // who asked for reduced motion sees the shake's flashes slowed.
    void setGround(Colour colour);

    // Who asks screen readers to speak each new message, and when.
    void setAnnouncer(std::unique_ptr<Announcer> announcer) { m_announcer = std::move(announcer); }
    Announcer* announcer() const { return m_announcer.get(); }
    // What screen readers read of the master's message, as the runtime
    // that hosts this view keeps it.
    void setAnnouncements(const runtime::Announcements* announcements) {
        m_announcements = announcements;
    }
    const runtime::Announcements& announcements() const {
        return m_announcements != nullptr ? *m_announcements : m_unannounced;
    }
    // Called when the window is shown, and when it becomes the active one.
    std::function<void()> onShown;
    std::function<void()> onActivated;
    // The font the form's text is drawn in at the given size.
    static QFont formFont(float points, bool bold = false);
    // The faces that font is looked for in, the closest first.
    static const QStringList& japaneseFaces();
    // A picture of the assets, decoded once: null if it does not decode.
    const QPixmap& picture(const std::string& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void controlChanged(const Control& control, Property property) override;
    void formChanged(Property property) override;
    void syncButton(const CommandButton& control);
    // Hands Space or Enter on to onKey; false for any other key.
    bool reportKey(const QKeyEvent& event);
    const CommandButton* controlOf(const QWidget* widget) const;

    void paintText(QPainter& painter, const drawing::TextRun& run);

    // A line of text laid out in its font, kept from paint to paint while it
    // is shown: the shaking window repaints the same words 20 times a second.
    struct TextKey {
        std::string text;
        float points = 0;
        bool bold = false;
        auto operator<=>(const TextKey&) const = default;
    };
    struct LaidOutText {
        QFont font;
        double ascent = 0; // from where QStaticText puts its top down to the baseline
        QStaticText text;
        bool shown = false; // in the frame being painted
    };
    const LaidOutText& laidOut(const drawing::TextRun& run);

    Form& m_form;
    std::map<const CommandButton*, QPushButton*> m_buttons;
    std::vector<std::pair<const CommandButton*, QPushButton*>> m_tabOrder;
    QHash<QString, QPixmap> m_pictures;
    std::map<TextKey, LaidOutText> m_texts;
    QtTextMetrics m_metrics;
    QPoint m_offset;
    // The ground's colour, where it is not the form's BackColor.
    std::optional<Colour> m_ground;
    std::unique_ptr<Announcer> m_announcer;
    const runtime::Announcements* m_announcements = nullptr;
    // Until a runtime hosts the view: nothing said yet.
    runtime::Announcements m_unannounced{m_form};
};

} // namespace front::qt
