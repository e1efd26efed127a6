// game.cpp: start-up, and which handler does what in which phase.
#include "game.h"

namespace game {

namespace {

constexpr const char* kGreeting = "さぁ、まずヨポに水を入れましょう。";

constexpr float kPlainFontSize = 9;
constexpr float kAlarmFontSize = 15;

} // namespace

Game::Game(forms::Form1& form) : m_form(form) {}

void Game::Form_Load() {
    m_form.Lbl_msg.setCaption(kGreeting);
}

// The tap's one button: it opens the tap and then closes it.
void Game::Command1_Click() {
    m_state.Phase = add(m_state.Phase, 1, "Phase + 1");
    if (m_state.Phase == phase::kFilled) {
        closeTap();
    } else {
        openTap();
    }
}

// The fire's button: lights it, then stops it and judges; without water, it scolds.
void Game::Command2_Click() {
    if (m_state.Phase == phase::kFilled) {
        startHeating();
    } else if (m_state.Phase == phase::kHeating) {
        judge();
    } else {
        refuseWithoutWater();
    }
}

void Game::Timer1_Timer() {
    if (m_state.Phase == phase::kTapRunning) {
        fillingTick();
    } else if (m_state.Phase == phase::kHeating) {
        heatingTick();
    }
}

void Game::plainFont() {
    m_form.Lbl_msg.setFontSize(kPlainFontSize);
    m_form.Lbl_msg.setFontBold(false);
}

void Game::alarmFont() {
    m_form.Lbl_msg.setFontSize(kAlarmFontSize);
    m_form.Lbl_msg.setFontBold(true);
}

void Game::load() {
    Form_Load();
}

void Game::click(const forms::CommandButton& button) {
    if (&button == &m_form.Command1) {
        Command1_Click();
    } else if (&button == &m_form.Command2) {
        Command2_Click();
    } else if (&button == &m_form.Command3) {
        Command3_Click();
    }
}

void Game::tick(const forms::Timer& timer) {
    if (&timer == &m_form.Timer1) {
        Timer1_Timer();
    }
}

std::string joinLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first) {
            text += "\r\n";
        }
        text += line;
        first = false;
    }
    return text;
}

} // namespace game
