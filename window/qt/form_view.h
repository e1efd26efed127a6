// form_view.h: a Qt widget that paints a form's model and hosts its push buttons.
#pragma once

#include "form.h"

#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <map>

class QPainter;
class QPushButton;

namespace forms {

// Paints the controls from the last in the list to the first, so each covers
// those after it, with the push buttons as real buttons above all drawing.
// It knows nothing of the game: a click is handed to whoever listens.
class FormView : public QWidget, private FormObserver {
public:
    explicit FormView(Form& form, QWidget* parent = nullptr);
    ~FormView() override;

    // Called when the player presses a button.
    std::function<void(const CommandButton&)> onClick;

    QPushButton* button(const CommandButton& control) const;
    // The font the form's text is drawn in at the given size.
    static QFont formFont(float points, bool bold = false);
    // The faces that font is looked for in, the closest first.
    static const QStringList& japaneseFaces();
    // Names of the pictures (the window's icon among them) that do not decode.
    QStringList unreadablePictures();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void controlChanged(const Control& control, Property property) override;
    void formChanged(Property property) override;
    void syncButton(const CommandButton& control);
    void moveFocusOnFrom(QPushButton* button);

    void paintLine(QPainter& painter, const Line& line) const;
    void paintShape(QPainter& painter, const Shape& shape) const;
    void paintLabel(QPainter& painter, const Label& label) const;
    void paintImage(QPainter& painter, const Image& image);
    const QPixmap& picture(const std::string& name);

    Form& m_form;
    std::map<const CommandButton*, QPushButton*> m_buttons;
    QHash<QString, QPixmap> m_pictures;
};

// Qt's colour for a 0x00BBGGRR one; the system's text colours are the
// standard scheme's black, since the window paints its own white ground.
QColor toQColor(Colour colour);

} // namespace forms
