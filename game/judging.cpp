// judging.cpp: stopping the fire and judging the bath; and scolding a fire without water.
#include "game.h"

#include "scores.h"

namespace game {

void Game::refuseWithoutWater() {
    m_form.Lbl_msg.setCaption(
        joinLines({"水を入れてないのに沸かせるかぁ！！", "早く水を入れろ！！べらぼうめ。"}));
}

void Game::judge() {
    plainFont();
    m_form.Command2.setEnabled(false);
    m_form.Command3.setVisible(true);
    m_form.Timer1.setEnabled(false);

    m_state.WaterScore = waterScore(m_form.Shp_water.height());
    m_state.HeatScore = heatScore(m_state.Temperature);
    m_state.TotalScore = totalScore(m_state.WaterScore, m_state.HeatScore);

    if (isGoodBath(m_state.WaterScore, m_state.HeatScore)) {
        m_form.Lbl_msg.setCaption(joinLines({
            "お、いい湯が入りました。",
            "これでようやくヨポに入れます。",
            "",
            "・・・でも火曜に焚いたヨポは、水曜日に入りましょう。",
            "♪テュラテュラテュラ・・・",
        }));
    } else {
        alarmFont();
        m_form.Lbl_msg.setCaption(
            joinLines({"くわっ！！何だこの湯は！！", "こんなものに入れるか！！！"}));
    }
}

} // namespace game
