// test_scores.cpp: the scores over every level and temperature play can reach.
#include "scores.h"

#include <QTest>

using game::Variant;

Q_DECLARE_METATYPE(game::Variant)

namespace {

// Every level judging can meet: 135 + 5k up to 2170.
std::vector<int> reachableLevels() {
    std::vector<int> levels;
    for (int h = 135; h <= 2170; h += 5) {
        levels.push_back(h);
    }
    return levels;
}

// The scores in whole numbers, worked out without floating point.
long exactWater(long h) {
    if (h <= 1455) {
        return h / 50 * 280;
    }
    if (h < 1696) {
        return 15 * h;
    }
    return 50 * h / (h - 1694);
}

long exactHeat(long t) {
    if (t >= 41 && t <= 49) {
        return 250 * t;
    }
    if (t <= 40) {
        return t / 3 * 300;
    }
    return 2500 * t / (3 * (t - 40));
}

} // namespace

class ScoresTest : public QObject {
    Q_OBJECT

private slots:
    void waterScore_data() {
        QTest::addColumn<float>("level");
        QTest::addColumn<float>("score");
        QTest::newRow("135 is the least") << 135.0f << 560.0f;
        QTest::newRow("150 steps up at a multiple of 50") << 150.0f << 840.0f;
        QTest::newRow("1455, advised yet low") << 1455.0f << 8120.0f;
        QTest::newRow("1460, the lowest good level") << 1460.0f << 21900.0f;
        QTest::newRow("1695, the highest good level") << 1695.0f << 25425.0f;
        QTest::newRow("1696, never filled, high band") << 1696.0f << 42400.0f;
        QTest::newRow("1697") << 1697.0f << 28283.0f;
        QTest::newRow("1698") << 1698.0f << 21225.0f;
        QTest::newRow("1699") << 1699.0f << 16990.0f;
        QTest::newRow("1700 already fails") << 1700.0f << 14166.0f;
        QTest::newRow("1705") << 1705.0f << 7750.0f;
        QTest::newRow("1800") << 1800.0f << 849.0f;
        QTest::newRow("2170, the last before the flood") << 2170.0f << 227.0f;
    }
    void waterScore() {
        QFETCH(float, level);
        QFETCH(float, score);
        QCOMPARE(game::waterScore(level), Variant::single(score));
    }

    void heatScore_data() {
        QTest::addColumn<int>("degrees");
        QTest::addColumn<Variant>("score");
        QTest::newRow("0 is a double nothing") << 0 << Variant::real(0);
        QTest::newRow("5") << 5 << Variant::real(300);
        QTest::newRow("40, advised yet cold") << 40 << Variant::real(3900);
        QTest::newRow("41, the first good heat") << 41 << Variant::integer(10250);
        QTest::newRow("45") << 45 << Variant::integer(11250);
        QTest::newRow("49, the last good heat") << 49 << Variant::integer(12250);
        QTest::newRow("50 already fails") << 50 << Variant::real(4166);
        QTest::newRow("60") << 60 << Variant::real(2500);
        QTest::newRow("99") << 99 << Variant::real(1398);
    }
    void heatScore() {
        QFETCH(int, degrees);
        QFETCH(Variant, score);
        QCOMPARE(game::heatScore(static_cast<game::Integer>(degrees)), score);
    }

    void totalsAndVerdicts_data() {
        QTest::addColumn<float>("level");
        QTest::addColumn<int>("degrees");
        QTest::addColumn<int>("total");
        QTest::addColumn<bool>("good");
        QTest::newRow("1460 at 41") << 1460.0f << 41 << 2244749 << true;
        QTest::newRow("1460 at 45 loses a point to the Single quotient")
            << 1460.0f << 45 << 2463749 << true;
        QTest::newRow("1500 at 41") << 1500.0f << 41 << 2306250 << true;
        QTest::newRow("1600 at 45") << 1600.0f << 45 << 2700000 << true;
        QTest::newRow("1695 at 49, the best") << 1695.0f << 49 << 3114562 << true;
        QTest::newRow("1455 at 45") << 1455.0f << 45 << 913499 << false;
        QTest::newRow("1700 at 45") << 1700.0f << 45 << 1593675 << false;
        QTest::newRow("1600 at 40") << 1600.0f << 40 << 936000 << false;
        QTest::newRow("1600 at 50") << 1600.0f << 50 << 999840 << false;
        QTest::newRow("135 at 0") << 135.0f << 0 << 0 << false;
        QTest::newRow("2170 at 99") << 2170.0f << 99 << 3173 << false;
    }
    void totalsAndVerdicts() {
        QFETCH(float, level);
        QFETCH(int, degrees);
        QFETCH(int, total);
        QFETCH(bool, good);
        const Variant water = game::waterScore(level);
        const Variant heat = game::heatScore(static_cast<game::Integer>(degrees));
        QCOMPARE(game::totalScore(water, heat), total);
        QCOMPARE(game::isGoodBath(water, heat), good);
    }

    void everyReachableBathAgreesWithWholeNumbers() {
        int winning = 0;
        int shortByOne = 0;
        for (int h : reachableLevels()) {
            for (int t = 0; t <= 99; ++t) {
                const Variant water = game::waterScore(static_cast<float>(h));
                const Variant heat = game::heatScore(static_cast<game::Integer>(t));
                QCOMPARE(water.type(), Variant::Type::Single);
                QCOMPARE(heat.type(),
                         t >= 41 && t <= 49 ? Variant::Type::Integer : Variant::Type::Double);
                QCOMPARE(long(water.value()), exactWater(h));
                QCOMPARE(long(heat.value()), exactHeat(t));

                const long exact = exactWater(h) * exactHeat(t) / 100;
                const long total = game::totalScore(water, heat);
                QVERIFY2(total == exact || total == exact - 1,
                         qPrintable(QString("%1 at %2").arg(h).arg(t)));
                const bool good = game::isGoodBath(water, heat);
                QCOMPARE(good, h >= 1460 && h <= 1695 && t >= 41 && t <= 49);
                winning += good;
                shortByOne += good && total != exact;
            }
        }
        QCOMPARE(winning, 432);
        QCOMPARE(shortByOne, 130);
    }

    void aFaultyStepIsARunTimeErrorNotAWrongNumber() {
        using forms::ErrorNumber;
        const auto fails = [](auto step) -> ErrorNumber {
            try {
                step();
            } catch (const forms::RunTimeError& error) {
                return error.number();
            }
            return ErrorNumber{};
        };
        QCOMPARE(fails([] { game::add(32767, 1, "Temperature + 1"); }), ErrorNumber::Overflow);
        QCOMPARE(fails([] { game::multiply(200, 250, "t * 250"); }), ErrorNumber::Overflow);
        QCOMPARE(fails([] { game::divide(1, 0, "x / 0"); }), ErrorNumber::DivisionByZero);
        QCOMPARE(fails([] { game::divide(0, 0, "0 / 0"); }), ErrorNumber::Overflow);
        QCOMPARE(fails([] { game::toLong(3e9, "CLng"); }), ErrorNumber::Overflow);
        QCOMPARE(game::add(32766, 1, "fits"), 32767);
    }
};

QTEST_GUILESS_MAIN(ScoresTest)
#include "test_scores.moc"
