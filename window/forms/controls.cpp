// controls.cpp: the property operations; each write is checked, kept and announced.
#include "controls.h"

#include "form.h"
#include "run_time_error.h"

#include <cmath>

namespace forms {

Control::Control(Form& form, std::string name, ControlKind kind)
    : m_form(form), m_name(std::move(name)), m_kind(kind) {}

void Control::changed(Property property) {
    m_form.announce(*this, property);
}

void Control::refuseUnless(bool acceptable, std::string_view operation) const {
    if (!acceptable) {
        throw RunTimeError(ErrorNumber::InvalidPropertyValue,
                           m_name + "." + std::string(operation));
    }
}

void VisibleControl::setVisible(bool visible) {
    m_visible = visible;
    changed(Property::Visible);
}

CommandButton::CommandButton(Form& form, std::string name, const ButtonProperties& p)
    : VisibleControl(form, std::move(name), ControlKind::CommandButton), m_caption(p.caption),
      m_rect(p.rect), m_tabIndex(p.tabIndex), m_enabled(p.enabled) {
    m_visible = p.visible;
}

void CommandButton::setCaption(std::string caption) {
    m_caption = std::move(caption);
    changed(Property::Caption);
}

void CommandButton::setEnabled(bool enabled) {
    m_enabled = enabled;
    changed(Property::Enabled);
}

Timer::Timer(Form& form, std::string name, const TimerProperties& p)
    : Control(form, std::move(name), ControlKind::Timer), m_enabled(p.enabled),
      m_interval(p.interval) {}

void Timer::setEnabled(bool enabled) {
    m_enabled = enabled;
    changed(Property::Enabled);
}

void Timer::setInterval(int milliseconds) {
    refuseUnless(milliseconds >= 0 && milliseconds <= kLongestInterval, "Interval");
    m_interval = milliseconds;
    changed(Property::Interval);
}

Label::Label(Form& form, std::string name, const LabelProperties& p)
    : VisibleControl(form, std::move(name), ControlKind::Label), m_caption(p.caption),
      m_rect(p.rect), m_tabIndex(p.tabIndex), m_autoSize(p.autoSize), m_backStyle(p.backStyle) {}

void Label::setCaption(std::string caption) {
    // The shaking window writes the same message at every step; its size
    // can only change with its words.
    if (caption != m_caption) {
        m_caption = std::move(caption);
        fitToCaption();
    }
    changed(Property::Caption);
}

void Label::setFontSize(float points) {
    // The runtime's fonts go up to 2160 points.
    refuseUnless(std::isfinite(points) && points > 0 && points <= 2160, "FontSize");
    m_fontSize = points;
    fitToCaption();
    changed(Property::FontSize);
}

void Label::setFontBold(bool bold) {
    m_fontBold = bold;
    fitToCaption();
    changed(Property::FontBold);
}

void Label::fitToCaption() {
    if (!m_autoSize) {
        return;
    }
    const TextExtent extent = form().textMetrics().measure(m_caption, m_fontSize, m_fontBold);
    m_rect.width = extent.width;
    m_rect.height = extent.height;
}

Shape::Shape(Form& form, std::string name, const ShapeProperties& p)
    : VisibleControl(form, std::move(name), ControlKind::Shape), m_shape(p.shape), m_rect(p.rect),
      m_backColor(p.backColor), m_backStyle(p.backStyle), m_borderStyle(p.borderStyle),
      m_borderColor(p.borderColor), m_borderWidth(p.borderWidth) {}

void Shape::setTop(Twips top) {
    refuseUnless(std::isfinite(top), "Top");
    m_rect.top = top;
    changed(Property::Top);
}

void Shape::setHeight(Twips height) {
    refuseUnless(std::isfinite(height) && height >= 0, "Height");
    m_rect.height = height;
    changed(Property::Height);
}

void Shape::setBackColor(Colour colour) {
    m_backColor = colour;
    changed(Property::BackColor);
}

Line::Line(Form& form, std::string name, const LineProperties& p)
    : VisibleControl(form, std::move(name), ControlKind::Line), m_x1(p.x1), m_y1(p.y1), m_x2(p.x2),
      m_y2(p.y2), m_borderColor(p.borderColor), m_borderWidth(p.borderWidth),
      m_borderStyle(p.borderStyle) {}

void Line::setY1(Twips y) {
    refuseUnless(std::isfinite(y), "Y1");
    m_y1 = y;
    changed(Property::Y1);
}

void Line::setY2(Twips y) {
    refuseUnless(std::isfinite(y), "Y2");
    m_y2 = y;
    changed(Property::Y2);
}

void Line::setBorderStyle(BorderStyle style) {
    m_borderStyle = style;
    changed(Property::BorderStyle);
}

Image::Image(Form& form, std::string name, const ImageProperties& p)
    : VisibleControl(form, std::move(name), ControlKind::Image), m_rect(p.rect),
      m_picture(p.picture), m_description(p.description) {}

} // namespace forms
