// form_view.cpp: painting the model at 15 twips to the pixel.
#include "form_view.h"

#include "utf8.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

// Faces with Japanese glyphs in which every full-width character is one em
// wide, as the layout's labels were measured; the closest first.
const QStringList kJapaneseFaces = {"IPAGothic",  "TakaoGothic",
                                    "VL Gothic",  "Noto Sans Mono CJK JP",
                                    "IPAPGothic", "Noto Sans CJK JP"};

// The pixel a twip coordinate falls on.
int px(Twips twips) {
    return toPixels(twips);
}

// A line's end points sit at the middle of their pixels, so that a line of
// odd width is centred on the pixel row or column its coordinates name.
QPointF pixelCentre(Twips x, Twips y) {
    return {px(x) + 0.5, px(y) + 0.5};
}

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The pixels a rectangle covers, its edges rounded each on its own, so that
// a shape whose bottom stays put keeps its bottom row as its top moves.
QRect pixelRect(const Rect& rect) {
    const int left = px(rect.left);
    const int top = px(rect.top);
    return QRect(QPoint(left, top),
                 QPoint(px(rect.left + rect.width) - 1, px(rect.top + rect.height) - 1));
}

} // namespace

QColor toQColor(Colour colour) {
    if (isSystemColour(colour)) {
        return Qt::black;
    }
    return QColor(red(colour), green(colour), blue(colour));
}

const QStringList& FormView::japaneseFaces() {
    return kJapaneseFaces;
}

QFont FormView::formFont(float points, bool bold) {
    QFont font;
    font.setFamilies(kJapaneseFaces);
    font.setPixelSize(fontPixels(points));
    font.setBold(bold);
    return font;
}

FormView::FormView(Form& form, QWidget* parent) : QWidget(parent), m_form(form) {
    setFixedSize(px(form.clientWidth()), px(form.clientHeight()));
    setFont(formFont(kDefaultFontSize));

    std::vector<const CommandButton*> byTabIndex;
    for (const auto& control : form.controls()) {
        if (const auto* button = dynamic_cast<const CommandButton*>(control.get())) {
            auto* widget = new QPushButton(this);
            widget->setObjectName(toQString(button->name()));
            widget->setAutoDefault(false);
            m_buttons[button] = widget;
            connect(widget, &QPushButton::clicked, this, [this, button] {
                if (onClick) {
                    onClick(*button);
                }
            });
            syncButton(*button);
            byTabIndex.push_back(button);
        }
    }
    std::sort(byTabIndex.begin(), byTabIndex.end(),
              [](auto* a, auto* b) { return a->tabIndex() < b->tabIndex(); });
    for (size_t i = 1; i < byTabIndex.size(); ++i) {
        setTabOrder(m_buttons[byTabIndex[i - 1]], m_buttons[byTabIndex[i]]);
    }
    if (!byTabIndex.empty()) {
        m_buttons[byTabIndex.front()]->setFocus();
    }
    m_form.addObserver(this);
}

FormView::~FormView() {
    m_form.removeObserver(this);
}

QPushButton* FormView::button(const CommandButton& control) const {
    const auto found = m_buttons.find(&control);
    return found == m_buttons.end() ? nullptr : found->second;
}

void FormView::controlChanged(const Control& control, Property) {
    if (control.kind() == ControlKind::CommandButton) {
        syncButton(static_cast<const CommandButton&>(control));
    } else if (control.kind() != ControlKind::Timer) {
        update();
    }
}

void FormView::formChanged(Property property) {
    if (property == Property::BackColor) {
        update();
    }
}

void FormView::syncButton(const CommandButton& control) {
    QPushButton* widget = m_buttons.at(&control);
    widget->setText(toQString(control.caption()));
    widget->setGeometry(pixelRect(control.rect()));
    widget->setEnabled(control.enabled());
    widget->setVisible(control.visible());
}

void FormView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(m_form.backColor()));
    const auto& controls = m_form.controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        const Control& control = **it;
        switch (control.kind()) {
        case ControlKind::Line:
            paintLine(painter, static_cast<const Line&>(control));
            break;
        case ControlKind::Shape:
            paintShape(painter, static_cast<const Shape&>(control));
            break;
        case ControlKind::Label:
            paintLabel(painter, static_cast<const Label&>(control));
            break;
        case ControlKind::Image:
            paintImage(painter, static_cast<const Image&>(control));
            break;
        case ControlKind::CommandButton:
        case ControlKind::Timer:
            break;
        }
    }
}

void FormView::paintLine(QPainter& painter, const Line& line) const {
    if (!line.visible() || line.borderStyle() == BorderStyle::Transparent) {
        return;
    }
    QPen pen(toQColor(line.borderColor()));
    if (line.borderWidth() > 1) {
        // Wide lines end in round caps, as the runtime's wide pens do.
        pen.setWidth(line.borderWidth());
        pen.setCapStyle(Qt::RoundCap);
    } else {
        pen.setCosmetic(true);
    }
    painter.setPen(pen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawLine(pixelCentre(line.x1(), line.y1()), pixelCentre(line.x2(), line.y2()));
}

void FormView::paintShape(QPainter& painter, const Shape& shape) const {
    if (!shape.visible()) {
        return;
    }
    const QRect area = pixelRect(shape.rect());
    if (area.isEmpty()) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    const bool filled = shape.backStyle() == BackStyle::Opaque;
    const bool bordered = shape.borderStyle() != BorderStyle::Transparent;
    painter.setBrush(filled ? QBrush(toQColor(shape.backColor())) : QBrush(Qt::NoBrush));
    if (bordered) {
        QPen pen(toQColor(shape.borderColor()));
        pen.setCosmetic(true);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    if (shape.shape() == ShapeKind::RoundedRectangle) {
        // Corner ellipses a quarter of the shorter side across.
        const qreal radius = std::min(area.width(), area.height()) / 8.0;
        const QRectF outline =
            bordered ? QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5) : QRectF(area);
        painter.drawRoundedRect(outline, radius, radius);
    } else if (bordered) {
        painter.drawRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5));
    } else {
        painter.fillRect(area, painter.brush());
    }
}

void FormView::paintLabel(QPainter& painter, const Label& label) const {
    if (!label.visible()) {
        return;
    }
    const QFont font = formFont(label.fontSize(), label.fontBold());
    const QFontMetricsF metrics(font);
    const int em = fontPixels(label.fontSize());
    // Each line is one em high, its baseline where the font's ascent puts it
    // when ascent and descent share that em.
    const double baseline = em * metrics.ascent() / (metrics.ascent() + metrics.descent());
    painter.setFont(font);
    painter.setPen(toQColor(label.foreColor()));
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QPointF origin(px(label.rect().left), px(label.rect().top));
    int row = 0;
    for (std::string_view line : splitLines(label.caption())) {
        painter.drawText(origin + QPointF(0, row * em + baseline), toQString(line));
        ++row;
    }
}

void FormView::paintImage(QPainter& painter, const Image& image) {
    if (!image.visible()) {
        return;
    }
    // Not stretched: the picture at its own size.
    painter.drawPixmap(QPoint(px(image.rect().left), px(image.rect().top)),
                       picture(image.picture()));
}

const QPixmap& FormView::picture(const std::string& name) {
    const QString key = toQString(name);
    auto found = m_pictures.find(key);
    if (found == m_pictures.end()) {
        found = m_pictures.insert(key, QPixmap(QStringLiteral(":/assets/") + key));
    }
    return *found;
}

QStringList FormView::unreadablePictures() {
    QStringList unreadable;
    std::vector<std::string> names = {m_form.icon()};
    for (const auto& control : m_form.controls()) {
        if (const auto* image = dynamic_cast<const Image*>(control.get())) {
            names.push_back(image->picture());
        }
    }
    for (const std::string& name : names) {
        if (picture(name).isNull()) {
            unreadable.push_back(toQString(name));
        }
    }
    return unreadable;
}

} // namespace forms
