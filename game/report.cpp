// report.cpp: the mastery report, the last thing the game says.
#include "game.h"

namespace game {

namespace {

// 27 ideographic spaces push the closing words towards the balloon's right edge.
std::string closingLine() {
    std::string line;
    for (int i = 0; i < 27; ++i) {
        line += "\u3000";
    }
    return line + "・・・終わり。";
}

} // namespace

void Game::Command3_Click() {
    m_form.Command3.setVisible(false);
    plainFont();
    m_form.Lbl_msg.setCaption(joinLines({
        "あなたの「ヨポの達人度」は以下の通りです。",
        "",
        "水張り度：\u3000" + m_state.WaterScore.toText(),
        "湯加減度：\u3000" + m_state.HeatScore.toText(),
        "総合的ヨポの達人度：\u3000" + std::to_string(m_state.TotalScore),
        closingLine(),
    }));
}

} // namespace game
