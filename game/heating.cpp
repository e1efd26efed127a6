// heating.cpp: heating the filled tub a degree at a time, and the scald at boiling.
#include "game.h"

#include "bands.h"

#include <limits>
#include <optional>

namespace game {

namespace {

// The first degree comes after a second and a half; each after it takes
// longer the fuller the tub: 20 ms for every twip of water.
constexpr int kFirstHeatingInterval = 1500;
constexpr Single kMillisecondsPerTwip = 20;
constexpr Integer kBoilingPoint = 100;

constexpr forms::Colour kPink = 0xC0C0FF;
constexpr forms::Colour kLightRed = 0x8080FF;
constexpr forms::Colour kRed = 0x0000FF;

// What the balloon says at each temperature: the first line, then the
// second line as prefix, degrees, suffix. Each band opens at its bound.
struct HeatingBand {
    Integer from;
    std::optional<forms::Colour> water;
    bool alarm;
    const char* firstLine;
    const char* prefix;
    const char* suffix;
};
// clang-format off
const HeatingBand kHeatingBands[] = {
    //  from                                  water       alarm  first line                                second line
    {std::numeric_limits<Integer>::min(), {},         false, "湯を沸かしています。",                   "温度は現在", "度です。"},
    {31,                                  {},         false, "そろそろ、ぬるま湯です。",               "温度は",     "度です。"},
    {40,                                  {},         false, "もうそろそろいいのではないでしょうか。", "温度は",     "度です。"},
    {50,                                  kPink,      false, "ちょっと熱くないですか？",               "もう",       "度ですよ。"},
    {65,                                  kLightRed,  true,  "熱い！早く止めろ！！",                   "もう",       "度だぞ！！"},
    {85,                                  kRed,       false, "やばい！死ぬぞ！！",                     "もう",       "度だって！！"},
};
// clang-format on

} // namespace

void Game::startHeating() {
    m_form.Lbl_msg.setCaption("湯を沸かし始めました。");
    m_form.Command2.setCaption("完了！");
    m_state.Phase = phase::kHeating;
    m_form.Timer1.setInterval(kFirstHeatingInterval);
    m_form.Timer1.setEnabled(true);
}

void Game::heatingTick() {
    const Single wait =
        checked(m_form.Shp_water.height() * kMillisecondsPerTwip, "Shp_water.Height * 20");
    m_form.Timer1.setInterval(toLong(wait, "CLng(Shp_water.Height * 20)"));

    // Long after the scald the count would overflow, with nobody reading it;
    // it stops at its largest value so that the shaking window never dies.
    if (m_state.Temperature != std::numeric_limits<Integer>::max()) {
        m_state.Temperature = add(m_state.Temperature, 1, "Temperature + 1");
    }
    const Integer degrees = m_state.Temperature;
    if (degrees >= kBoilingPoint) {
        scald();
        return;
    }
    const HeatingBand& band = bandFor(kHeatingBands, degrees);
    if (band.water) {
        m_form.Shp_water.setBackColor(*band.water);
    }
    if (band.alarm) {
        alarmFont();
    }
    const std::string secondLine = band.prefix + std::to_string(degrees) + band.suffix;
    m_form.Lbl_msg.setCaption(joinLines({band.firstLine, secondLine}));
}

void Game::scald() {
    m_form.Line0.setVisible(false);
    m_form.Line1.setVisible(false);
    m_form.Shp_water.setVisible(false);
    m_form.Command1.setEnabled(false);
    m_form.Command2.setEnabled(false);
    m_form.Timer1.setInterval(kShakeInterval);
    m_form.Lbl_msg.setCaption(joinLines({"煮えたぎった湯が顔面に！！", "熱い！熱すぎる！！！"}));
    ShakeStep(kRed);
}

} // namespace game
