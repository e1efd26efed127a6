// form_view.h: a Qt widget that paints a form's model and hosts its push buttons.
#pragma once

#include "announcer.h"
#include "form.h"

#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QStaticText>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QPainter;
class QPushButton;

namespace forms {

// Paints the controls from the last in the list to the first, so each covers
// those after it, with the push buttons as real buttons above all drawing.
// It knows nothing of the game: a click is handed to whoever listens.
//
// It paints on the screen's own pixels at any device-pixel ratio: each pixel
// of the layout starts on a whole device pixel, one-pixel lines stay one
// device pixel wide, thick lines and pictures scale with the ratio.
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
    // Where a label or picture is painted, in the view's pixels.
    QRect areaOf(const VisibleControl& control) const;

    // Draws everything, buttons too, this many pixels aside from where the
    // layout puts it: the window's shake where the window itself cannot move.
    void setContentsOffset(QPoint offset);
    QPoint contentsOffset() const { return m_offset; }

    // Who asks screen readers to speak each new caption.
    void setAnnouncer(std::unique_ptr<Announcer> announcer) { m_announcer = std::move(announcer); }
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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void controlChanged(const Control& control, Property property) override;
    void formChanged(Property property) override;
    void syncButton(const CommandButton& control);
    void moveFocusOnFrom(QPushButton* button);
    void settleFocus();

    // A label's words laid out in its font, kept from paint to paint until
    // either changes: the shaking window repaints the same words 20 times a second.
    struct LaidOutCaption {
        std::string caption;
        float points = 0;
        bool bold = false;
        QFont font;
        double baselineDrop = 0; // from the top of a line's em to where QStaticText puts its top
        std::vector<QStaticText> lines;
    };
    const LaidOutCaption& laidOut(const Label& label);
    void paintLabel(QPainter& painter, const Label& label);

    Form& m_form;
    std::map<const CommandButton*, QPushButton*> m_buttons;
    std::vector<std::pair<const CommandButton*, QPushButton*>> m_tabOrder;
    QHash<QString, QPixmap> m_pictures;
    std::map<const Label*, LaidOutCaption> m_captions;
    QPoint m_offset;
    std::unique_ptr<Announcer> m_announcer;
    // The button that lost the focus while a handler ran, until the focus settles.
    QPointer<QPushButton> m_focusFrom;
    bool m_focusSettling = false;
    // Whether screen readers have heard the message the window opened with.
    bool m_openingMessageTold = false;
};

// Qt's colour for a 0x00BBGGRR one; the system's text colours are the
// standard scheme's black, since the window paints its own white ground.
QColor toQColor(Colour colour);

} // namespace forms
