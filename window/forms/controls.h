// controls.h: the six kinds of control a form holds, and their property operations.
#pragma once

#include "units.h"

#include <string>
#include <string_view>

namespace forms {

class Form;
class CommandButton;
class Timer;
class Label;
class Shape;
class Line;
class Image;

enum class ControlKind { CommandButton, Timer, Label, Shape, Line, Image };

// Every property that a control or the form can announce as changed.
enum class Property {
    Caption,
    Enabled,
    Visible,
    FontSize,
    FontBold,
    Left,
    Top,
    Width,
    Height,
    X1,
    Y1,
    X2,
    Y2,
    BorderStyle,
    BackColor,
    Interval,
};

enum class BorderStyle { Transparent = 0, Solid = 1 };
enum class BackStyle { Transparent = 0, Opaque = 1 };
enum class ShapeKind { Rectangle = 0, RoundedRectangle = 4 };

struct Rect {
    Twips left = 0;
    Twips top = 0;
    Twips width = 0;
    Twips height = 0;
};

// A control belongs to one form and tells it of every change made through
// its property operations, so that whoever shows the form hears of it at once.
class Control {
public:
    Control(Form& form, std::string name, ControlKind kind);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return m_name; }
    ControlKind kind() const { return m_kind; }

protected:
    void changed(Property property);
    // Refuses a value the control cannot take, as the runtime does.
    void refuseUnless(bool acceptable, std::string_view operation) const;
    Form& form() const { return m_form; }

private:
    Form& m_form;
    std::string m_name;
    ControlKind m_kind;
};

// A control with a place on the screen, which can be hidden.
class VisibleControl : public Control {
public:
    using Control::Control;

    bool visible() const { return m_visible; }
    void setVisible(bool visible);

protected:
    bool m_visible = true;
};

struct ButtonProperties {
    using Control = CommandButton; // the kind these properties make
    std::string caption;
    Rect rect;
    int tabIndex = 0;
    bool visible = true;
    bool enabled = true;
};

class CommandButton : public VisibleControl {
public:
    CommandButton(Form& form, std::string name, const ButtonProperties& properties);

    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    const Rect& rect() const { return m_rect; }
    int tabIndex() const { return m_tabIndex; }
    // A click reaches the game only through a button the player can press.
    bool canBeClicked() const { return m_enabled && m_visible; }

private:
    std::string m_caption;
    Rect m_rect;
    int m_tabIndex;
    bool m_enabled;
};

struct TimerProperties {
    using Control = Timer; // the kind these properties make
    bool enabled = false;
    int interval = 0;
};

class Timer : public Control {
public:
    // The runtime takes intervals from 0 (no ticks) up to 65535 milliseconds.
    static constexpr int kLongestInterval = 65535;

    Timer(Form& form, std::string name, const TimerProperties& properties);

    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    // Ticks arrive only while enabled with a non-zero interval.
    bool ticking() const { return m_enabled && m_interval > 0; }

private:
    bool m_enabled;
    int m_interval;
};

struct LabelProperties {
    using Control = Label; // the kind these properties make
    std::string caption;
    Rect rect;
    int tabIndex = 0;
    bool autoSize = false;
    BackStyle backStyle = BackStyle::Opaque;
};

class Label : public VisibleControl {
public:
    Label(Form& form, std::string name, const LabelProperties& properties);

    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption);
    float fontSize() const { return m_fontSize; }
    void setFontSize(float points);
    bool fontBold() const { return m_fontBold; }
    void setFontBold(bool bold);
    const Rect& rect() const { return m_rect; }
    bool autoSize() const { return m_autoSize; }
    BackStyle backStyle() const { return m_backStyle; }
    int tabIndex() const { return m_tabIndex; }
    Colour foreColor() const { return kButtonTextColour; }

    // Fits an auto-sized label to its caption; the top left corner stays.
    void fitToCaption();

private:
    std::string m_caption;
    Rect m_rect;
    int m_tabIndex;
    bool m_autoSize;
    BackStyle m_backStyle;
    float m_fontSize = kDefaultFontSize;
    bool m_fontBold = false;
};

struct ShapeProperties {
    using Control = Shape; // the kind these properties make
    ShapeKind shape = ShapeKind::Rectangle;
    Rect rect;
    Colour backColor = 0xFFFFFF;
    BackStyle backStyle = BackStyle::Transparent;
    BorderStyle borderStyle = BorderStyle::Solid;
    Colour borderColor = kWindowTextColour;
    int borderWidth = 1;
};

class Shape : public VisibleControl {
public:
    Shape(Form& form, std::string name, const ShapeProperties& properties);

    Twips top() const { return m_rect.top; }
    void setTop(Twips top);
    Twips height() const { return m_rect.height; }
    void setHeight(Twips height);
    Colour backColor() const { return m_backColor; }
    void setBackColor(Colour colour);
    const Rect& rect() const { return m_rect; }
    ShapeKind shape() const { return m_shape; }
    BackStyle backStyle() const { return m_backStyle; }
    BorderStyle borderStyle() const { return m_borderStyle; }
    Colour borderColor() const { return m_borderColor; }
    int borderWidth() const { return m_borderWidth; }

private:
    ShapeKind m_shape;
    Rect m_rect;
    Colour m_backColor;
    BackStyle m_backStyle;
    BorderStyle m_borderStyle;
    Colour m_borderColor;
    int m_borderWidth;
};

struct LineProperties {
    using Control = Line; // the kind these properties make
    Twips x1 = 0;
    Twips y1 = 0;
    Twips x2 = 0;
    Twips y2 = 0;
    Colour borderColor = kWindowTextColour;
    int borderWidth = 1;
    BorderStyle borderStyle = BorderStyle::Solid;
};

class Line : public VisibleControl {
public:
    Line(Form& form, std::string name, const LineProperties& properties);

    Twips x1() const { return m_x1; }
    Twips y1() const { return m_y1; }
    void setY1(Twips y);
    Twips x2() const { return m_x2; }
    Twips y2() const { return m_y2; }
    void setY2(Twips y);
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    Colour borderColor() const { return m_borderColor; }
    int borderWidth() const { return m_borderWidth; }

private:
    Twips m_x1, m_y1, m_x2, m_y2;
    Colour m_borderColor;
    int m_borderWidth;
    BorderStyle m_borderStyle;
};

struct ImageProperties {
    using Control = Image; // the kind these properties make
    Rect rect;
    // The picture's name among the program's embedded pictures.
    std::string picture;
    // What the picture shows, in words, for players who cannot see it.
    std::string description = {};
};

class Image : public VisibleControl {
public:
    Image(Form& form, std::string name, const ImageProperties& properties);

    const Rect& rect() const { return m_rect; }
    const std::string& picture() const { return m_picture; }
    const std::string& description() const { return m_description; }

private:
    Rect m_rect;
    std::string m_picture;
    std::string m_description;
};

} // namespace forms
