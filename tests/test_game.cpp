// test_game.cpp: the game's roads, played on the virtual clock.
#include "play.h"

#include <QTest>

using forms::BorderStyle;

namespace {

constexpr forms::Colour kWhite = 0xFFFFFF;
constexpr forms::Colour kWater = 0xFFFFC0;
constexpr forms::Colour kRed = 0x0000FF;

const char* kFlooded = "大洪水です！！\r\n30年に一度の大洪水です！！";
const char* kScalded = "煮えたぎった湯が顔面に！！\r\n熱い！熱すぎる！！！";

} // namespace

class GameTest : public QObject {
    Q_OBJECT

private slots:
    void startUpGreetsWithEverythingAtRest() {
        Play play;
        QCOMPARE(play.message(), std::string("さぁ、まずヨポに水を入れましょう。"));
        const game::GameState& s = play.state();
        QCOMPARE(s.Phase, 0);
        QCOMPARE(s.Temperature, 0);
        QCOMPARE(s.TotalScore, 0);
        QCOMPARE(s.ShakeSide, 0);
        QVERIFY(s.WaterScore.isEmpty() && s.HeatScore.isEmpty());
        QVERIFY(!play.form.Timer1.enabled());
        QVERIFY(!play.form.Command3.visible());
        QCOMPARE(play.form.Line_water.borderStyle(), BorderStyle::Transparent);
        QVERIFY(!play.runtime.tick());
    }

    void heatingWithoutWaterIsRefusedAndChangesNothingElse() {
        Play play;
        QVERIFY(play.click(play.form.Command2));
        QCOMPARE(play.message(), std::string("水を入れてないのに沸かせるかぁ！！\r\n"
                                             "早く水を入れろ！！べらぼうめ。"));
        QCOMPARE(play.state().Phase, 0);
        QCOMPARE(play.form.Lbl_msg.fontSize(), 9.0f);
        QCOMPARE(play.form.Command2.caption(), std::string("沸かす"));
        QVERIFY(play.form.Command2.enabled());
        QVERIFY(!play.form.Timer1.enabled());
    }

    void openingTheTapStartsTheStreamAndTheTimer() {
        Play play;
        play.click(play.form.Command1);
        QCOMPARE(play.state().Phase, 1);
        QCOMPARE(play.message(), std::string("水を入れ始めました。"));
        QCOMPARE(play.form.Shp_water.height(), 135.0f);
        QCOMPARE(play.form.Shp_water.top(), 4920.0f);
        QCOMPARE(play.form.Line_water.borderStyle(), BorderStyle::Solid);
        QVERIFY(play.form.Timer1.enabled());
        QCOMPARE(play.form.Timer1.interval(), 6000);
        QVERIFY(!play.form.Command2.enabled());
        QCOMPARE(play.form.Command1.caption(), std::string("水を止める"));
        // Heating is out of reach while the tap runs.
        QVERIFY(!play.click(play.form.Command2));
    }

    void closingTheTapBeforeAnyTickLeavesTheStartingWater() {
        Play play;
        play.click(play.form.Command1);
        play.click(play.form.Command1);
        QCOMPARE(play.state().Phase, 2);
        QCOMPARE(play.form.Shp_water.height(), 135.0f);
        QCOMPARE(play.form.Shp_water.top(), 4920.0f);
        QCOMPARE(play.message(),
                 std::string("水を入れ終わりました。\r\n引き続き、湯を沸かしましょう。"));
        QVERIFY(!play.form.Command1.enabled());
        QCOMPARE(play.form.Command1.caption(), std::string("水を止める"));
        QVERIFY(play.form.Command2.enabled());
        QCOMPARE(play.form.Line_water.borderStyle(), BorderStyle::Transparent);
        QVERIFY(!play.form.Timer1.enabled());
        QVERIFY(!play.click(play.form.Command1));
    }

    void fillingTicksComeEverySixSeconds() {
        Play play;
        play.click(play.form.Command1);
        play.runtime.wait(5999);
        QCOMPARE(play.form.Shp_water.height(), 135.0f);
        play.runtime.wait(1);
        QCOMPARE(play.form.Shp_water.height(), 140.0f);
        play.runtime.wait(60000);
        QCOMPARE(play.form.Shp_water.height(), 190.0f);
        QCOMPARE(play.runtime.clock(), 66000);
    }

    void fillingMessages_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<float>("level");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("alarm");
        const QString running = "水を入れています。";
        const QString aboutTime = "そろそろ止めていいころじゃないでしょうか。";
        const QString tooMuch = "ちょっと入れすぎました、早く止めましょう。";
        const QString danger = "危険です！溢れます！！";
        QTest::newRow("the first tick") << 1 << 140.0f << running << false;
        QTest::newRow("1450 is still running") << 263 << 1450.0f << running << false;
        QTest::newRow("1455 opens the advice") << 264 << 1455.0f << aboutTime << false;
        QTest::newRow("1695 still advises") << 312 << 1695.0f << aboutTime << false;
        QTest::newRow("1700 is too much") << 313 << 1700.0f << tooMuch << false;
        QTest::newRow("2050 is still too much") << 383 << 2050.0f << tooMuch << false;
        QTest::newRow("2055 is danger, in bold") << 384 << 2055.0f << danger << true;
        QTest::newRow("2170 is the last danger") << 407 << 2170.0f << danger << true;
    }
    void fillingMessages() {
        QFETCH(int, ticks);
        QFETCH(float, level);
        QFETCH(QString, message);
        QFETCH(bool, alarm);
        Play play;
        play.fillFor(ticks);
        QCOMPARE(play.form.Shp_water.height(), level);
        QCOMPARE(play.form.Shp_water.top() + play.form.Shp_water.height(), 5055.0f);
        // The cover rides up with the water, 240 twips of slant between its ends.
        QCOMPARE(play.form.Line0.y1(), 5040.0f - 5.0f * float(ticks));
        QCOMPARE(play.form.Line0.y2(), 4800.0f - 5.0f * float(ticks));
        QCOMPARE(QString::fromStdString(play.message()), message);
        QCOMPARE(play.form.Lbl_msg.fontBold(), alarm);
        QCOMPARE(play.form.Lbl_msg.fontSize(), alarm ? 15.0f : 9.0f);
    }

    void closingTheTapInDangerLowersTheVoice() {
        Play play;
        play.fillFor(390);
        QVERIFY(play.form.Lbl_msg.fontBold());
        play.click(play.form.Command1);
        QCOMPARE(play.form.Lbl_msg.fontSize(), 9.0f);
        QVERIFY(!play.form.Lbl_msg.fontBold());
        QCOMPARE(play.form.Shp_water.height(), 2085.0f);
    }

    void theFloodHidesTheWaterAndShakesTheWindow() {
        Play play;
        const float left = play.form.left();
        const float top = play.form.top();
        play.fillFor(408);
        QCOMPARE(play.state().Phase, 1);
        QCOMPARE(play.message(), std::string(kFlooded));
        QCOMPARE(play.form.Lbl_msg.fontSize(), 15.0f);
        QVERIFY(play.form.Lbl_msg.fontBold());
        QVERIFY(!play.form.Shp_water.visible());
        QVERIFY(!play.form.Line0.visible());
        QVERIFY(!play.form.Line1.visible());
        QCOMPARE(play.form.Line_water.borderStyle(), BorderStyle::Transparent);
        QVERIFY(!play.form.Command1.enabled());
        QCOMPARE(play.form.Timer1.interval(), 50);
        QVERIFY(play.form.Timer1.enabled());
        // First step: aside on white; 100 twips land on the nearest whole pixel.
        QCOMPARE(play.state().ShakeSide, 1);
        QCOMPARE(play.form.left(), left - 105);
        QCOMPARE(play.form.top(), top);
        QCOMPARE(play.form.backColor(), kWhite);
        // Second step, 50 ms later: back in place, in the water's colour.
        const auto floodedAt = play.runtime.clock();
        play.runtime.tick();
        QCOMPARE(play.runtime.clock(), floodedAt + 50);
        QCOMPARE(play.state().ShakeSide, 0);
        QCOMPARE(play.form.left(), left);
        QCOMPARE(play.form.backColor(), kWater);
        // Nothing the player can click ends it.
        QVERIFY(!play.click(play.form.Command1));
        QVERIFY(!play.click(play.form.Command2));
        QVERIFY(!play.click(play.form.Command3));
    }

    void theShakeFollowsAWindowThePlayerDragged() {
        Play play;
        play.fillFor(408); // aside
        play.runtime.drag(300, 150);
        const float left = play.form.left();
        const float top = play.form.top();
        play.runtime.tick(); // back, from wherever it stands now
        QCOMPARE(play.form.left(), left + 105);
        QCOMPARE(play.form.top(), top);
        play.runtime.tick();
        QCOMPARE(play.form.left(), left);
    }

    void aFloodedWindowShakesForDays() {
        Play play;
        play.fillFor(408);
        const float left = play.form.left() + 105;
        // Two days at 20 steps a second; the hidden water grows all the while.
        play.runtime.wait(2LL * 24 * 3600 * 1000);
        QVERIFY(!play.runtime.error());
        QCOMPARE(play.state().Phase, 1);
        QVERIFY(play.form.Shp_water.height() > 1e7f);
        QVERIFY(play.form.left() == left || play.form.left() == left - 105);
        QVERIFY(play.runtime.tick());
    }

    void heatingStartsAfterASecondAndAHalf() {
        Play play;
        play.fillFor(273); // 1500 twips
        play.click(play.form.Command1);
        play.click(play.form.Command2);
        QCOMPARE(play.state().Phase, 3);
        QCOMPARE(play.message(), std::string("湯を沸かし始めました。"));
        QCOMPARE(play.form.Command2.caption(), std::string("完了！"));
        QVERIFY(play.form.Command2.enabled());
        QCOMPARE(play.form.Timer1.interval(), 1500);
        const auto lit = play.runtime.clock();
        play.runtime.tick();
        QCOMPARE(play.runtime.clock(), lit + 1500);
        QCOMPARE(play.state().Temperature, 1);
        QCOMPARE(play.message(), std::string("湯を沸かしています。\r\n温度は現在1度です。"));
        // From then on a degree every Height × 20 ms: 30 s at 1500 twips.
        QCOMPARE(play.form.Timer1.interval(), 30000);
        play.runtime.tick();
        QCOMPARE(play.runtime.clock(), lit + 1500 + 30000);
    }

    void heatingPaceFollowsTheWaterLevel_data() {
        QTest::addColumn<int>("fillTicks");
        QTest::addColumn<int>("interval");
        QTest::newRow("a tub stopped at 135 twips") << 0 << 2700;
        QTest::newRow("a tub stopped at 2170 twips") << 407 << 43400;
    }
    void heatingPaceFollowsTheWaterLevel() {
        QFETCH(int, fillTicks);
        QFETCH(int, interval);
        Play play;
        play.heatTo(fillTicks, 1);
        QCOMPARE(play.form.Timer1.interval(), interval);
    }

    void heatingMessages_data() {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<QString>("message");
        QTest::addColumn<uint>("water");
        QTest::addColumn<bool>("alarm");
        const uint cyan = kWater;
        QTest::newRow("30 still heating")
            << 30 << "湯を沸かしています。\r\n温度は現在30度です。" << cyan << false;
        QTest::newRow("31 lukewarm")
            << 31 << "そろそろ、ぬるま湯です。\r\n温度は31度です。" << cyan << false;
        QTest::newRow("40 about right")
            << 40 << "もうそろそろいいのではないでしょうか。\r\n温度は40度です。" << cyan << false;
        QTest::newRow("49 still about right")
            << 49 << "もうそろそろいいのではないでしょうか。\r\n温度は49度です。" << cyan << false;
        QTest::newRow("50 turns pink")
            << 50 << "ちょっと熱くないですか？\r\nもう50度ですよ。" << 0xC0C0FFu << false;
        QTest::newRow("64 still pink")
            << 64 << "ちょっと熱くないですか？\r\nもう64度ですよ。" << 0xC0C0FFu << false;
        QTest::newRow("65 light red, in bold")
            << 65 << "熱い！早く止めろ！！\r\nもう65度だぞ！！" << 0x8080FFu << true;
        QTest::newRow("85 red, still bold")
            << 85 << "やばい！死ぬぞ！！\r\nもう85度だって！！" << 0x0000FFu << true;
        QTest::newRow("99 the last warning")
            << 99 << "やばい！死ぬぞ！！\r\nもう99度だって！！" << 0x0000FFu << true;
    }
    void heatingMessages() {
        QFETCH(int, degrees);
        QFETCH(QString, message);
        QFETCH(uint, water);
        QFETCH(bool, alarm);
        Play play;
        play.heatTo(273, degrees);
        QCOMPARE(play.state().Temperature, degrees);
        QCOMPARE(QString::fromStdString(play.message()), message);
        QCOMPARE(play.form.Shp_water.backColor(), water);
        QCOMPARE(play.form.Lbl_msg.fontBold(), alarm);
        QCOMPARE(play.form.Lbl_msg.fontSize(), alarm ? 15.0f : 9.0f);
    }

    void theScaldHidesTheWaterAndShakesInRed() {
        Play play;
        const float left = play.form.left();
        play.heatTo(0, 100);
        QCOMPARE(play.message(), std::string(kScalded));
        QVERIFY(play.form.Lbl_msg.fontBold());
        QVERIFY(!play.form.Shp_water.visible());
        QVERIFY(!play.form.Line0.visible() && !play.form.Line1.visible());
        QVERIFY(!play.form.Command1.enabled() && !play.form.Command2.enabled());
        QVERIFY(!play.form.Command3.visible());
        QCOMPARE(play.form.Timer1.interval(), 50);
        QCOMPARE(play.form.left(), left - 105);
        QCOMPARE(play.form.backColor(), kWhite);
        // Each tick sets the pace from the water first, then the scald sets it back to 50.
        const auto scaldedAt = play.runtime.clock();
        play.runtime.tick();
        QCOMPARE(play.runtime.clock(), scaldedAt + 50);
        QCOMPARE(play.form.left(), left);
        QCOMPARE(play.form.backColor(), kRed);
        QCOMPARE(play.state().Phase, 3);
    }

    void aScaldedWindowOutlivesTheTemperatureCount() {
        Play play;
        play.heatTo(0, 100);
        // 32,667 ticks take the count to its largest value; a day is far more.
        play.runtime.wait(24LL * 3600 * 1000);
        QVERIFY(!play.runtime.error());
        QCOMPARE(play.state().Temperature, std::numeric_limits<game::Integer>::max());
        QCOMPARE(play.message(), std::string(kScalded));
        QVERIFY(play.runtime.tick());
    }

    void judgingAGoodBath() {
        Play play;
        play.heatTo(293, 45); // 1600 twips, 45 degrees
        QVERIFY(play.click(play.form.Command2));
        const game::GameState& s = play.state();
        QCOMPARE(s.WaterScore, game::Variant::single(24000));
        QCOMPARE(s.HeatScore, game::Variant::integer(11250));
        QCOMPARE(s.TotalScore, 2700000);
        QCOMPARE(play.message(),
                 std::string("お、いい湯が入りました。\r\n"
                             "これでようやくヨポに入れます。\r\n\r\n"
                             "・・・でも火曜に焚いたヨポは、水曜日に入りましょう。\r\n"
                             "♪テュラテュラテュラ・・・"));
        QCOMPARE(play.form.Lbl_msg.fontSize(), 9.0f);
        QVERIFY(!play.form.Lbl_msg.fontBold());
        QVERIFY(!play.form.Command2.enabled());
        QCOMPARE(play.form.Command2.caption(), std::string("完了！"));
        QVERIFY(play.form.Command3.visible());
        QVERIFY(!play.form.Timer1.enabled());
        QCOMPARE(s.Phase, 3);
        QCOMPARE(s.Temperature, 45);
        QVERIFY(!play.runtime.tick());
    }

    void judgingAHotBathScoldsInBold() {
        Play play;
        play.heatTo(293, 66); // bold since 65
        play.click(play.form.Command2);
        QCOMPARE(play.message(),
                 std::string("くわっ！！何だこの湯は！！\r\nこんなものに入れるか！！！"));
        QCOMPARE(play.form.Lbl_msg.fontSize(), 15.0f);
        QVERIFY(play.form.Lbl_msg.fontBold());
    }

    void judgingBeforeTheFirstDegree() {
        Play play;
        play.heatTo(0, 0);
        play.click(play.form.Command2);
        QCOMPARE(play.state().HeatScore, game::Variant::real(0));
        QCOMPARE(play.state().WaterScore, game::Variant::single(560));
        QCOMPARE(play.state().TotalScore, 0);
        QVERIFY(play.form.Lbl_msg.fontBold());
    }

    void theReportAfterABadBath() {
        Play play;
        play.heatTo(264, 45); // 1455 twips: advised, but not good
        play.click(play.form.Command2);
        QVERIFY(play.click(play.form.Command3));
        std::string closing;
        for (int i = 0; i < 27; ++i) {
            closing += "\u3000";
        }
        QCOMPARE(play.message(), "あなたの「ヨポの達人度」は以下の通りです。\r\n\r\n"
                                 "水張り度：\u30008120\r\n"
                                 "湯加減度：\u300011250\r\n"
                                 "総合的ヨポの達人度：\u3000913499\r\n" +
                                     closing + "・・・終わり。");
        QCOMPARE(play.form.Lbl_msg.fontSize(), 9.0f);
        QVERIFY(!play.form.Lbl_msg.fontBold());
        QVERIFY(!play.form.Command3.visible());
        QVERIFY(!play.click(play.form.Command3));
    }

    void theReportPrintsDoublesAsPlainDigits() {
        Play play;
        play.heatTo(0, 0);
        play.click(play.form.Command2);
        play.click(play.form.Command3);
        QVERIFY(play.message().find("湯加減度：\u30000\r\n総合的ヨポの達人度：\u30000\r\n") !=
                std::string::npos);

        Play hot;
        hot.heatTo(293, 50);
        hot.click(hot.form.Command2);
        hot.click(hot.form.Command3);
        QVERIFY(hot.message().find("湯加減度：\u30004166\r\n") != std::string::npos);
    }
};

QTEST_GUILESS_MAIN(GameTest)
#include "test_game.moc"
