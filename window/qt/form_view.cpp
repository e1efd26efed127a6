// form_view.cpp: painting the model at 15 twips to the pixel.
#include "form_view.h"

#include "form_accessible.h"
#include "qt_text.h"
#include "utf8.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

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

// The pixels a rectangle covers, its edges rounded each on its own, so that
// a shape whose bottom stays put keeps its bottom row as its top moves.
QRect pixelRect(const Rect& rect) {
    const int left = px(rect.left);
    const int top = px(rect.top);
    return QRect(QPoint(left, top),
                 QPoint(px(rect.left + rect.width) - 1, px(rect.top + rect.height) - 1));
}

// Where the layout's pixels fall among the device's own. Each layout pixel
// starts on a whole device pixel, so that at 1.25 or 1.5 an edge or a line
// never straddles two device pixels and smears into grey.
class DeviceGrid {
public:
    DeviceGrid(qreal ratio, QPoint offset) : m_ratio(ratio), m_offset(offset) {}

    qreal ratio() const { return m_ratio; }
    bool whole() const { return m_ratio == std::floor(m_ratio); }

    // The first device pixel of layout column x, or row y.
    int x(int pixel) const { return snap(pixel + m_offset.x()); }
    int y(int pixel) const { return snap(pixel + m_offset.y()); }
    // The device pixels a rectangle of layout pixels covers.
    QRect rect(const QRect& area) const {
        return QRect(QPoint(x(area.left()), y(area.top())),
                     QPoint(x(area.right() + 1) - 1, y(area.bottom() + 1) - 1));
    }
    // A thick line's width in whole device pixels, in proportion to the ratio.
    int width(int pixels) const { return std::max(1, snap(pixels)); }
    // A one-pixel line runs through the middle of the first device pixel of
    // its layout pixel, as a shape's border does, so the two meet.
    QPointF hairline(int px, int py) const { return {x(px) + 0.5, y(py) + 0.5}; }
    // A thick line runs through the middle of its layout pixel's device
    // pixels, so it stays centred on the row or column its coordinates name.
    QPointF centre(int px, int py) const {
        return {(x(px) + x(px + 1)) / 2.0, (y(py) + y(py + 1)) / 2.0};
    }

private:
    int snap(int pixel) const { return static_cast<int>(std::lround(pixel * m_ratio)); }

    qreal m_ratio;
    QPoint m_offset;
};

void paintLine(QPainter& painter, const DeviceGrid& grid, const Line& line) {
    if (!line.visible() || line.borderStyle() == BorderStyle::Transparent) {
        return;
    }
    const int x1 = px(line.x1());
    const int y1 = px(line.y1());
    const int x2 = px(line.x2());
    const int y2 = px(line.y2());
    QPen pen(toQColor(line.borderColor()));
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (line.borderWidth() > 1) {
        // Wide lines end in round caps, as the runtime's wide pens do.
        const int width = grid.width(line.borderWidth());
        pen.setWidth(width);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.drawLine(grid.centre(x1, y1), grid.centre(x2, y2));
    } else {
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLine(grid.hairline(x1, y1), grid.hairline(x2, y2));
    }
}

void paintShape(QPainter& painter, const DeviceGrid& grid, const Shape& shape) {
    if (!shape.visible()) {
        return;
    }
    const QRect area = pixelRect(shape.rect());
    if (area.isEmpty()) {
        return;
    }
    const QRect covered = grid.rect(area);
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
    // A border is a one-pixel line along the outermost layout pixels.
    const QPointF topLeft = grid.hairline(area.left(), area.top());
    const QRectF border(topLeft, grid.hairline(area.right(), area.bottom()));
    if (shape.shape() == ShapeKind::RoundedRectangle) {
        // Corner ellipses a quarter of the shorter side across.
        const qreal radius = std::min(covered.width(), covered.height()) / 8.0;
        painter.drawRoundedRect(bordered ? border : QRectF(covered), radius, radius);
    } else if (bordered) {
        painter.drawRect(border);
    } else {
        painter.fillRect(covered, painter.brush());
    }
}

// Not stretched: the picture at its own size, scaled only with the ratio,
// pixel for pixel at whole ratios.
void paintPicture(QPainter& painter, const DeviceGrid& grid, QPoint topLeft,
                  const QPixmap& picture) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !grid.whole());
    painter.drawPixmap(grid.rect(QRect(topLeft, picture.size())), picture);
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

FormView::FormView(Form& form, QWidget* parent)
    : QWidget(parent), m_form(form), m_announcer(platformAnnouncer()) {
    installFormAccessibility();
    setFixedSize(px(form.clientWidth()), px(form.clientHeight()));
    // Every paint covers the window with the form's own ground first, so
    // Qt need not clear it beforehand.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(formFont(kDefaultFontSize));

    std::vector<const CommandButton*> byTabIndex;
    for (const auto& control : form.controls()) {
        if (const auto* button = dynamic_cast<const CommandButton*>(control.get())) {
            auto* widget = new QPushButton(this);
            widget->setObjectName(toQString(button->name()));
            widget->setAutoDefault(false);
            widget->installEventFilter(this);
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
    for (const CommandButton* button : byTabIndex) {
        m_tabOrder.emplace_back(button, m_buttons[button]);
    }
    for (size_t i = 1; i < byTabIndex.size(); ++i) {
        setTabOrder(m_buttons[byTabIndex[i - 1]], m_buttons[byTabIndex[i]]);
    }
    if (!byTabIndex.empty()) {
        m_buttons[byTabIndex.front()]->setFocus();
    }
    m_form.addObserver(this);
    // Screen readers' view of the window exists from the start, so that it
    // knows the captions before the first one changes.
    QAccessible::queryAccessibleInterface(this);
}

FormView::~FormView() {
    m_form.removeObserver(this);
}

QPushButton* FormView::button(const CommandButton& control) const {
    const auto found = m_buttons.find(&control);
    return found == m_buttons.end() ? nullptr : found->second;
}

QRect FormView::areaOf(const VisibleControl& control) const {
    Rect rect;
    if (control.kind() == ControlKind::Label) {
        rect = static_cast<const Label&>(control).rect();
    } else if (control.kind() == ControlKind::Image) {
        const auto& image = static_cast<const Image&>(control);
        rect = image.rect();
        // A picture is shown at its own size, whatever the control's.
        const auto found = m_pictures.find(toQString(image.picture()));
        if (found != m_pictures.end() && !found->isNull()) {
            return QRect(QPoint(px(rect.left), px(rect.top)), found->size()).translated(m_offset);
        }
    }
    return pixelRect(rect).translated(m_offset);
}

void FormView::setContentsOffset(QPoint offset) {
    if (offset == m_offset) {
        return;
    }
    m_offset = offset;
    for (const auto& [control, widget] : m_buttons) {
        widget->setGeometry(pixelRect(control->rect()).translated(m_offset));
    }
    update();
}

void FormView::controlChanged(const Control& control, Property property) {
    if (control.kind() == ControlKind::CommandButton) {
        syncButton(static_cast<const CommandButton&>(control));
    } else if (control.kind() != ControlKind::Timer) {
        update();
    }
    if (control.kind() == ControlKind::Label && property == Property::Caption && m_announcer) {
        exposeCaptionChange(*this, static_cast<const Label&>(control), *m_announcer);
    }
}

void FormView::formChanged(Property property) {
    if (property == Property::BackColor) {
        update();
    }
}

void FormView::syncButton(const CommandButton& control) {
    QPushButton* widget = m_buttons.at(&control);
    const bool hadFocus = window()->focusWidget() == widget;
    widget->setText(toQString(control.caption()));
    widget->setGeometry(pixelRect(control.rect()).translated(m_offset));
    widget->setEnabled(control.enabled());
    widget->setVisible(control.visible());
    if (hadFocus && !control.canBeClicked()) {
        moveFocusOnFrom(widget);
    }
}

// Qt itself moves the focus off a button it disables or hides, but only to
// what can act at that moment, halfway through the handler: closing the tap
// disables the tap's button before it enables the fire's. So the focus
// settles once the handler is over, on the first button after this one in
// tab order that can act then, or on the window when none can.
void FormView::moveFocusOnFrom(QPushButton* button) {
    m_focusFrom = button;
    if (!m_focusSettling) {
        m_focusSettling = true;
        QMetaObject::invokeMethod(this, &FormView::settleFocus, Qt::QueuedConnection);
    }
}

void FormView::settleFocus() {
    m_focusSettling = false;
    if (m_focusFrom.isNull()) {
        return;
    }
    const auto from = std::find_if(m_tabOrder.begin(), m_tabOrder.end(),
                                   [&](const auto& entry) { return entry.second == m_focusFrom; });
    m_focusFrom = nullptr;
    if (from == m_tabOrder.end()) {
        return;
    }
    // The button itself first, in case the handler gave it back what it took.
    const auto start = static_cast<std::size_t>(from - m_tabOrder.begin());
    for (std::size_t i = 0; i < m_tabOrder.size(); ++i) {
        const auto& [control, widget] = m_tabOrder[(start + i) % m_tabOrder.size()];
        if (control->canBeClicked()) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    setFocus(Qt::OtherFocusReason);
}

void FormView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || m_openingMessageTold) {
        return;
    }
    m_openingMessageTold = true;
    // The greeting was written before the window opened, when no screen
    // reader could hear it. Told once the window is active, and after the
    // window and the focused button have been told of, so that a screen
    // reader speaks it in turn after them.
    QTimer::singleShot(0, this, [this] {
        if (m_announcer) {
            exposeCurrentMessage(*this, *m_announcer);
        }
    });
}

void FormView::keyPressEvent(QKeyEvent* event) {
    // Enter presses the focused button, as Space does; a push button outside
    // a dialog leaves Enter to its window.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        for (const auto& [control, widget] : m_tabOrder) {
            if (focusWidget() == widget && control->canBeClicked()) {
                widget->click();
                event->accept();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    // A player who presses buttons with the keyboard sees where the focus
    // is, as after Tab: pressing Space or Enter shows the focus frame too.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            window()->setAttribute(Qt::WA_KeyboardFocusChange);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FormView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(m_form.backColor()));
    // Lines, shapes and pictures are drawn in the device's own pixels; text
    // in the layout's, which Qt renders at the device's resolution.
    const DeviceGrid grid(painter.device()->devicePixelRatio(), m_offset);
    const QTransform onDevicePixels = QTransform::fromScale(1 / grid.ratio(), 1 / grid.ratio());
    const QTransform onLayoutPixels = QTransform::fromTranslate(m_offset.x(), m_offset.y());
    painter.setWorldTransform(onDevicePixels);
    const auto& controls = m_form.controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        const Control& control = **it;
        switch (control.kind()) {
        case ControlKind::Line:
            paintLine(painter, grid, static_cast<const Line&>(control));
            break;
        case ControlKind::Shape:
            paintShape(painter, grid, static_cast<const Shape&>(control));
            break;
        case ControlKind::Label:
            painter.setWorldTransform(onLayoutPixels);
            paintLabel(painter, static_cast<const Label&>(control));
            painter.setWorldTransform(onDevicePixels);
            break;
        case ControlKind::Image:
            if (const auto& image = static_cast<const Image&>(control); image.visible()) {
                paintPicture(painter, grid, QPoint(px(image.rect().left), px(image.rect().top)),
                             picture(image.picture()));
            }
            break;
        case ControlKind::CommandButton:
        case ControlKind::Timer:
            break;
        }
    }
}

const FormView::LaidOutCaption& FormView::laidOut(const Label& label) {
    auto [found, fresh] = m_captions.try_emplace(&label);
    LaidOutCaption& laid = found->second;
    if (!fresh && laid.caption == label.caption() && laid.points == label.fontSize() &&
        laid.bold == label.fontBold()) {
        return laid;
    }
    laid.caption = label.caption();
    laid.points = label.fontSize();
    laid.bold = label.fontBold();
    laid.font = formFont(laid.points, laid.bold);
    const QFontMetricsF metrics(laid.font);
    const int em = fontPixels(laid.points);
    // Each line is one em high, its baseline where the font's ascent puts it
    // when ascent and descent share that em; QStaticText hangs a line from
    // the font's full ascent above that baseline.
    const double baseline = em * metrics.ascent() / (metrics.ascent() + metrics.descent());
    laid.baselineDrop = baseline - metrics.ascent();
    laid.lines.clear();
    for (std::string_view line : splitLines(laid.caption)) {
        QStaticText text(toQString(line));
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), laid.font);
        laid.lines.push_back(std::move(text));
    }
    return laid;
}

void FormView::paintLabel(QPainter& painter, const Label& label) {
    if (!label.visible()) {
        return;
    }
    const LaidOutCaption& laid = laidOut(label);
    const int em = fontPixels(laid.points);
    painter.setFont(laid.font);
    painter.setPen(toQColor(label.foreColor()));
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QPointF origin(px(label.rect().left), px(label.rect().top) + laid.baselineDrop);
    int row = 0;
    for (const QStaticText& line : laid.lines) {
        painter.drawStaticText(origin + QPointF(0, row * em), line);
        ++row;
    }
}

const QPixmap& FormView::picture(const std::string& name) {
    const QString key = toQString(name);
    auto found = m_pictures.find(key);
    if (found == m_pictures.end()) {
        // Straight from the decoder: a pixmap loaded by name would first read
        // the resource's time for Qt's pixmap cache, which these never use.
        found =
            m_pictures.insert(key, QPixmap::fromImage(QImage(QStringLiteral(":/assets/") + key)));
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
