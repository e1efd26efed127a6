// state_json.cpp: writing the state as JSON, one object per changed control.
#include "state_json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace yopo {

namespace {

// The shortest text that reads back as the same number, fixed or with an
// exponent, whichever is shorter (fixed if neither is), as std::to_chars
// writes it. Spelled out here because not every C++ library has to_chars
// for floating point (the web build's does not), and the state line must
// read the same on every platform.
template <typename Real>
std::string shortest(Real value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "nan" : value < 0 ? "-inf" : "inf";
    }
    if (value == 0) {
        return std::signbit(value) ? "-0" : "0";
    }
    // The fewest significant digits that read back as the value.
    char scientific[40];
    for (int digits = 1; digits <= std::numeric_limits<Real>::max_digits10; ++digits) {
        std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1,
                      static_cast<double>(value));
        const Real back =
            static_cast<Real>(std::is_same_v<Real, float> ? std::strtof(scientific, nullptr)
                                                          : std::strtod(scientific, nullptr));
        if (back == value) {
            break;
        }
    }
    // "-d.ddde+XX" as its sign, its digits and its exponent.
    const std::string text = scientific;
    const std::size_t e = text.find('e');
    const bool negative = text[0] == '-';
    std::string mantissa = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
    std::erase(mantissa, '.');
    const int exponent = std::stoi(text.substr(e + 1));
    const int count = static_cast<int>(mantissa.size());
    std::string fixed;
    if (exponent < 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    } else if (exponent + 1 >= count) {
        // A whole number is written with all its digits, as printf's %f has them.
        char whole[400];
        std::snprintf(whole, sizeof whole, "%.0f", std::abs(static_cast<double>(value)));
        fixed = whole;
    } else {
        fixed = mantissa.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
                mantissa.substr(static_cast<std::size_t>(exponent + 1));
    }
    const std::string sign = negative ? "-" : "";
    return sign + (text.size() - sign.size() < fixed.size() ? text.substr(sign.size()) : fixed);
}

// Builds one JSON object, keys in the order they are added.
class JsonObject {
public:
    JsonObject& number(const char* key, double value) { return raw(key, shortest(value)); }
    JsonObject& single(const char* key, float value) { return raw(key, shortest(value)); }
    JsonObject& integer(const char* key, long long value) {
        return raw(key, std::to_string(value));
    }
    JsonObject& boolean(const char* key, bool value) { return raw(key, value ? "true" : "false"); }
    JsonObject& string(const char* key, std::string_view value) { return raw(key, quoted(value)); }
    JsonObject& raw(const char* key, const std::string& json) {
        m_text += m_text.empty() ? "{" : ",";
        m_text += quoted(key) + ":" + json;
        return *this;
    }
    std::string text() const { return m_text.empty() ? "{}" : m_text + "}"; }

private:
    static std::string quoted(std::string_view value) {
        std::string out = "\"";
        for (char c : value) {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                } else {
                    out += c;
                }
            }
        }
        return out + "\"";
    }

    std::string m_text;
};

std::string variantJson(const Variant& value) {
    JsonObject object;
    object.string("type", typeName(value.type()));
    if (value.isEmpty()) {
        object.raw("value", "null");
    } else if (value.type() == Variant::Type::Single) {
        object.single("value", static_cast<float>(value.value()));
    } else {
        object.number("value", value.value());
    }
    return object.text();
}

std::string buttonJson(const forms::CommandButton& button) {
    return JsonObject()
        .string("Caption", button.caption())
        .boolean("Enabled", button.enabled())
        .boolean("Visible", button.visible())
        .text();
}

} // namespace

std::string stateJson(std::int64_t clockMs, const GameState& state, const forms::Form1& form) {
    return JsonObject()
        .integer("clock_ms", clockMs)
        .integer("Phase", state.Phase)
        .integer("Temperature", state.Temperature)
        .integer("TotalScore", state.TotalScore)
        .integer("ShakeSide", state.ShakeSide)
        .raw("WaterScore", variantJson(state.WaterScore))
        .raw("HeatScore", variantJson(state.HeatScore))
        .raw("Form1", JsonObject()
                          .single("Left", form.left())
                          .single("Top", form.top())
                          .integer("BackColor", form.backColor())
                          .text())
        .raw("Lbl_msg", JsonObject()
                            .string("Caption", form.Lbl_msg.caption())
                            .single("FontSize", form.Lbl_msg.fontSize())
                            .boolean("FontBold", form.Lbl_msg.fontBold())
                            .text())
        .raw("Command1", buttonJson(form.Command1))
        .raw("Command2", buttonJson(form.Command2))
        .raw("Command3", buttonJson(form.Command3))
        .raw("Timer1", JsonObject()
                           .boolean("Enabled", form.Timer1.enabled())
                           .integer("Interval", form.Timer1.interval())
                           .text())
        .raw("Shp_water", JsonObject()
                              .single("Top", form.Shp_water.top())
                              .single("Height", form.Shp_water.height())
                              .integer("BackColor", form.Shp_water.backColor())
                              .boolean("Visible", form.Shp_water.visible())
                              .text())
        .raw("Line_water",
             JsonObject()
                 .integer("BorderStyle", static_cast<int>(form.Line_water.borderStyle()))
                 .text())
        .raw("Line0", JsonObject()
                          .single("Y1", form.Line0.y1())
                          .single("Y2", form.Line0.y2())
                          .boolean("Visible", form.Line0.visible())
                          .text())
        .raw("Line1", JsonObject().boolean("Visible", form.Line1.visible()).text())
        .text();
}

} // namespace yopo
