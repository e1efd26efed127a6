// form_view.cpp: the Qt view: paints the form's drawing with QPainter and hosts its buttons.
#include "form_view.h"

#include "focus.h"
#include "form_accessible.h"
#include "qt_text.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

#include <variant>

namespace front::qt {

using forms::blue;
using forms::ControlKind;
using forms::fontPixels;
using forms::green;
using forms::Image;
using forms::kDefaultFontSize;
using forms::Rect;
using forms::red;
using forms::toPixels;

namespace {

// Faces with Japanese glyphs in which every full-width character is one em
// wide, as the layout's labels were measured; the closest first.
const QStringList kJapaneseFaces = {"IPAGothic",  "TakaoGothic",
                                    "VL Gothic",  "Noto Sans Mono CJK JP",
                                    "IPAPGothic", "Noto Sans CJK JP"};

// The view's pixels a control's rectangle covers, moved with the contents.
QRect viewRect(const Rect& rect, QPoint offset) {
    const drawing::DeviceRect area = drawing::deviceRect(rect, 1, {offset.x(), offset.y()});
    return QRect(area.left, area.top, area.width, area.height);
}

template <typename... Painters>
struct Overloaded : Painters... {
    using Painters::operator()...;
};
// Spelled out for compilers without C++20's deduction for aggregates (clang 14).
template <typename... Painters>
Overloaded(Painters...) -> Overloaded<Painters...>;

QRect toQRect(const drawing::DeviceRect& rect) {
    return QRect(rect.left, rect.top, rect.width, rect.height);
}

runtime::Key keyOf(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Space:
        return runtime::Key::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return runtime::Key::Enter;
    default:
        return runtime::Key::Other;
    }
}

// The window system's time for a key event; one a program sends itself has none.
std::optional<runtime::Milliseconds> timeOf(const QKeyEvent& event) {
    if (event.timestamp() == 0) {
        return std::nullopt;
    }
    return static_cast<runtime::Milliseconds>(event.timestamp());
}

QColor toQColor(Colour colour) {
    return QColor(red(colour), green(colour), blue(colour));
}

// Where a hairline's end pixel is: the line runs through its centre, which
// with Qt's default square cap takes in both end pixels.
QPointF centreOf(drawing::DevicePixel pixel) {
    return {pixel.x + 0.5, pixel.y + 0.5};
}

void paintShape(QPainter& painter, const drawing::FillRect& fill) {
    painter.fillRect(toQRect(fill.rect), toQColor(fill.colour));
}

void paintShape(QPainter& painter, const drawing::Hairline& line) {
    QPen pen(toQColor(line.colour));
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLine(centreOf(line.from), centreOf(line.to));
}

void paintShape(QPainter& painter, const drawing::WideLine& line) {
    QPen pen(toQColor(line.colour));
    pen.setWidth(line.width);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(line.from.x, line.from.y), QPointF(line.to.x, line.to.y));
}

void paintShape(QPainter& painter, const drawing::RoundedRect& shape) {
    painter.setBrush(shape.fill ? QBrush(toQColor(*shape.fill)) : QBrush(Qt::NoBrush));
    if (shape.outline) {
        QPen pen(toQColor(*shape.outline));
        pen.setCosmetic(true);
        painter.setPen(pen);
        const drawing::DeviceRect& area = shape.rect;
        const QRectF path(centreOf({area.left, area.top}), centreOf({area.right(), area.bottom()}));
        painter.drawRoundedRect(path, shape.radius, shape.radius);
    } else {
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(toQRect(shape.rect)), shape.radius, shape.radius);
    }
}

} // namespace

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
    setFixedSize(toPixels(form.clientWidth()), toPixels(form.clientHeight()));
    // Every paint covers the window with the form's own ground first, so
    // Qt need not clear it beforehand.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(formFont(kDefaultFontSize));

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
        }
    }
    for (const CommandButton* button : runtime::tabOrder(form)) {
        QPushButton* widget = m_buttons.at(button);
        if (!m_tabOrder.empty()) {
            setTabOrder(m_tabOrder.back().second, widget);
        }
        m_tabOrder.emplace_back(button, widget);
    }
    focusOn(runtime::firstFocus(form), Qt::OtherFocusReason);
    m_form.addObserver(this);
}

FormView::~FormView() {
    m_form.removeObserver(this);
}

QPushButton* FormView::button(const CommandButton& control) const {
    const auto found = m_buttons.find(&control);
    return found == m_buttons.end() ? nullptr : found->second;
}

void FormView::setContentsOffset(QPoint offset) {
    if (offset == m_offset) {
        return;
    }
    m_offset = offset;
    for (const auto& [control, widget] : m_buttons) {
        widget->setGeometry(viewRect(control->rect(), m_offset));
    }
    update();
}

void FormView::setGround(Colour colour) {
    if (colour == m_ground) {
        return;
    }
    m_ground = colour;
    update();
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
    widget->setGeometry(viewRect(control.rect(), m_offset));
    widget->setEnabled(control.enabled());
    widget->setVisible(control.visible());
}

void FormView::focusOn(const CommandButton* control, Qt::FocusReason reason) {
    if (control != nullptr) {
        m_buttons.at(control)->setFocus(reason);
    } else {
        setFocus(Qt::OtherFocusReason);
    }
}

const CommandButton* FormView::controlOf(const QWidget* widget) const {
    for (const auto& [control, button] : m_tabOrder) {
        if (button == widget) {
            return control;
        }
    }
    return nullptr;
}

void FormView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow()) {
            if (onActivated) {
                onActivated();
            }
        } else if (onKeyboardLost) {
            onKeyboardLost();
        }
    }
}

void FormView::showEvent(QShowEvent* event) {
    if (onShown) {
        onShown();
    }
    QWidget::showEvent(event);
}

// Space and Enter are the runtime's: a push button would press itself as
// Space comes up, and again at every repeat X reports as a fresh press.
bool FormView::reportKey(const QKeyEvent& event) {
    const runtime::Key key = keyOf(event);
    if (key == runtime::Key::Other) {
        return false;
    }
    // A player who presses buttons with the keyboard sees where the focus
    // is, as after Tab.
    if (event.type() == QEvent::KeyPress) {
        window()->setAttribute(Qt::WA_KeyboardFocusChange);
    }
    if (onKey) {
        onKey(key, event.type() == QEvent::KeyPress, timeOf(event), controlOf(focusWidget()));
    }
    return true;
}

void FormView::keyPressEvent(QKeyEvent* event) {
    if (!reportKey(*event)) {
        QWidget::keyPressEvent(event);
    }
}

void FormView::keyReleaseEvent(QKeyEvent* event) {
    if (!reportKey(*event)) {
        QWidget::keyReleaseEvent(event);
    }
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        reportKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FormView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = painter.device()->devicePixelRatio();
    const drawing::Frame frame =
        drawing::drawFrame(m_form, m_metrics, ratio, {m_offset.x(), m_offset.y()}, m_ground);
    // The frame is in the device's own pixels; text goes in the view's,
    // which Qt renders at the device's resolution.
    const QTransform onDevicePixels = QTransform::fromScale(1 / ratio, 1 / ratio);
    painter.setWorldTransform(onDevicePixels);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (auto& [key, text] : m_texts) {
        text.shown = false;
    }
    for (const drawing::Primitive& primitive : frame.primitives) {
        std::visit(Overloaded{[&](const drawing::TextRun& run) {
                                  painter.setWorldTransform(QTransform());
                                  paintText(painter, run);
                                  painter.setWorldTransform(onDevicePixels);
                              },
                              [&](const drawing::Picture& image) {
                                  painter.setRenderHint(QPainter::SmoothPixmapTransform,
                                                        image.smooth);
                                  painter.drawPixmap(toQRect(image.rect), picture(image.name));
                              },
                              [&](const auto& shape) { paintShape(painter, shape); }},
                   primitive);
    }
    // Words no longer shown are laid out afresh if they come back.
    std::erase_if(m_texts, [](const auto& entry) { return !entry.second.shown; });
}

const FormView::LaidOutText& FormView::laidOut(const drawing::TextRun& run) {
    auto [found, fresh] = m_texts.try_emplace(TextKey{run.text, run.points, run.bold});
    LaidOutText& laid = found->second;
    laid.shown = true;
    if (fresh) {
        laid.font = formFont(run.points, run.bold);
        // QStaticText hangs a line from the font's full ascent above its baseline.
        laid.ascent = QFontMetricsF(laid.font).ascent();
        laid.text.setText(toQString(run.text));
        laid.text.setTextFormat(Qt::PlainText);
        laid.text.prepare(QTransform(), laid.font);
    }
    return laid;
}

void FormView::paintText(QPainter& painter, const drawing::TextRun& run) {
    const LaidOutText& laid = laidOut(run);
    const qreal ratio = painter.device()->devicePixelRatio();
    painter.setFont(laid.font);
    painter.setPen(toQColor(run.colour));
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.drawStaticText(QPointF(run.origin.x / ratio, run.origin.y / ratio - laid.ascent),
                           laid.text);
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

} // namespace front::qt
