// state_json.cpp: writing the state as JSON, one object per changed control.
#include "state_json.h"

#include "json.h"

namespace replay {

namespace {

using runtime::JsonObject;

std::string variantJson(const game::Variant& value) {
    JsonObject object;
    object.string("type", game::typeName(value.type()));
    if (value.isEmpty()) {
        object.raw("value", "null");
    } else if (value.type() == game::Variant::Type::Single) {
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

std::string stateJson(std::int64_t clockMs, const game::GameState& state,
                      const forms::Form1& form) {
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

} // namespace replay
