// filling.cpp: running water into the tub, and the flood when it runs over.
#include "game.h"

#include "bands.h"

namespace game {

namespace {

// The water rectangle when the tap opens: from the back floor edge down to
// one pixel below the front floor edge.
constexpr Single kStartLevel = 135;
constexpr Single kStartTop = 4920;
// How far the water rises at each tick.
constexpr Single kRise = 5;
// The back rim: the tub runs over.
constexpr Single kFloodLevel = 2175;

// What the balloon says at each level, each band opening at its bound.
struct FillingBand {
    Single from;
    const char* message;
    bool alarm;
};
const FillingBand kFillingBands[] = {
    {0, "水を入れています。", false},
    {1455, "そろそろ止めていいころじゃないでしょうか。", false},
    {1696, "ちょっと入れすぎました、早く止めましょう。", false},
    {2055, "危険です！溢れます！！", true},
};

} // namespace

void Game::openTap() {
    m_form.Lbl_msg.setCaption("水を入れ始めました。");
    m_form.Shp_water.setHeight(kStartLevel);
    m_form.Shp_water.setTop(kStartTop);
    m_form.Line_water.setBorderStyle(forms::BorderStyle::Solid);
    m_form.Timer1.setEnabled(true);
    m_form.Command2.setEnabled(false);
    m_form.Command1.setCaption("水を止める");
}

void Game::closeTap() {
    plainFont();
    m_form.Command1.setEnabled(false);
    m_form.Command2.setEnabled(true);
    m_form.Line_water.setBorderStyle(forms::BorderStyle::Transparent);
    m_form.Timer1.setEnabled(false);
    m_form.Lbl_msg.setCaption(
        joinLines({"水を入れ終わりました。", "引き続き、湯を沸かしましょう。"}));
}

void Game::fillingTick() {
    forms::Shape& water = m_form.Shp_water;
    water.setHeight(checked(water.height() + kRise, "Shp_water.Height + 5"));
    water.setTop(checked(water.top() - kRise, "Shp_water.Top - 5"));
    // The white cover rides up with the water's upper left corner.
    m_form.Line0.setY1(checked(m_form.Line0.y1() - kRise, "Line0.Y1 - 5"));
    m_form.Line0.setY2(checked(m_form.Line0.y2() - kRise, "Line0.Y2 - 5"));

    const Single level = water.height();
    if (level >= kFloodLevel) {
        flood();
        return;
    }
    const FillingBand& band = bandFor(kFillingBands, level);
    if (band.alarm) {
        alarmFont();
    }
    m_form.Lbl_msg.setCaption(band.message);
}

void Game::flood() {
    m_form.Line0.setVisible(false);
    m_form.Line1.setVisible(false);
    m_form.Shp_water.setVisible(false);
    m_form.Command1.setEnabled(false);
    m_form.Line_water.setBorderStyle(forms::BorderStyle::Transparent);
    m_form.Timer1.setInterval(kShakeInterval);
    m_form.Lbl_msg.setCaption(joinLines({"大洪水です！！", "30年に一度の大洪水です！！"}));
    ShakeStep(forms::kWaterColour);
}

} // namespace game
