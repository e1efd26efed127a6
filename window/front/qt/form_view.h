// form_view.h: a Qt widget that paints a form's model and hosts its push buttons.
#pragma once

#include "announcements.h"
#include "announcer.h"
#include "drawing.h"
#include "form.h"
#include "qt_text_metrics.h"

#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QPointer>
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

    QPushButton* button(const CommandButton& control) const;
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
    runtime::Announcements& announcements() { return m_announcements; }
    const runtime::Announcements& announcements() const { return m_announcements; }
    // The font the form's text is drawn in at the given size.
    static QFont formFont(float points, bool bold = false);
    // The faces that font is looked for in, the closest first.
    static const QStringList& japaneseFaces();
    // Names of the pictures (the window's icon among them) that do not decode.
    QStringList unreadablePictures();
    // A picture of the assets, decoded once: null if it does not decode.
    const QPixmap& picture(const std::string& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void controlChanged(const Control& control, Property property) override;
    void formChanged(Property property) override;
    void syncButton(const CommandButton& control);
    void moveFocusOnFrom(QPushButton* button);
    void settleFocus();
    // The button the focus goes to, or the window itself for none.
    void focusOn(const CommandButton* control, Qt::FocusReason reason);
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
    runtime::Announcements m_announcements{m_form};
    // The button that lost the focus while a handler ran, until the focus settles.
    QPointer<QPushButton> m_focusFrom;
    bool m_focusSettling = false;
};

} // namespace front::qt
