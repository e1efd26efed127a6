// test_bath.cpp: a kept bath taken up again plays on exactly as if never
// left, and a record that cannot be trusted is refused, with its reason.
#include "bath_keeper.h"
#include "headless_runtime.h"
#include "script.h"
#include "state_json.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>
#include <sstream>

namespace {

std::string played(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    const int status = replay::runScript(in, out, err);
    return std::to_string(status) + err.str() + out.str();
}

// A record with its check made anew, as one altered with care would be.
std::string resealed(const std::string& body) {
    char check[32];
    std::snprintf(check, sizeof check, "check %zu %08x\n", body.size(),
                  static_cast<unsigned>(runtime::crc32(body)));
    return body + check;
}

// The bath kept in memory, on the headless runtime's virtual clock.
class MemoryStore : public runtime::BathStore {
public:
    std::optional<std::string> kept;
    // The wall clock: the virtual clock of the start that keeps the bath.
    std::function<runtime::WallClock()> wall;

    std::optional<std::string> fetch() override { return kept; }
    bool store(std::string_view bytes) override {
        kept = std::string(bytes);
        return true;
    }
    void drop() override { kept.reset(); }
    void setAside() override { kept.reset(); }
    void say(std::string_view) override {}
    runtime::WallClock wallNow() const override { return wall(); }
};

// One start of the game on the virtual clock, keeping its bath in `store`.
struct Start {
    explicit Start(MemoryStore& store) : keeper(form, game, player, store) {
        store.wall = [this] { return player.clock(); };
        player.start();
        player.setAfterChange([this] { keeper.keep(); });
    }
    forms::Form1 form;
    game::Game game{form};
    front::headless::HeadlessRuntime player{form, game};
    runtime::BathKeeper keeper;
};

std::string bodyOf(const std::string& record) {
    return record.substr(0, record.rfind("check "));
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

} // namespace

class BathTest : public QObject {
    Q_OBJECT

private slots:
    // At every line of every golden game the bath is kept and taken up in a
    // fresh window: the transcript is the one played without a break.
    void everyGoldenGameGoesOnFromEveryLine_data() {
        QTest::addColumn<QString>("script");
        const QDir golden(YOPO_GOLDEN_DIR);
        for (const QString& name : golden.entryList({"*.script"}, QDir::Files, QDir::Name)) {
            QTest::newRow(qPrintable(name)) << golden.filePath(name);
        }
    }
    void everyGoldenGameGoesOnFromEveryLine() {
        QFETCH(QString, script);
        QFile file(script);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QTemporaryDir dir;
        const std::string kept = dir.filePath("bath").toStdString();
        const std::string keptAndTakenUp = "save " + kept + "\nrestore " + kept + "\n";
        std::string whole;
        std::string broken;
        for (const QByteArray& line : file.readAll().split('\n')) {
            whole += line.toStdString() + '\n';
            broken += line.toStdString() + '\n';
            broken += keptAndTakenUp;
        }
        const std::string uninterrupted = played(whole);
        QCOMPARE(uninterrupted.front(), '0');
        QCOMPARE(played(broken), uninterrupted);
    }

    // A day away from a filling tub is a flood and 1.7 million ticks of its
    // shake, most of them skipped: the bath ends exactly where tick-by-tick
    // play leaves it, hidden water and all.
    void aDayAwayEndsWhereTickByTickPlayWould() {
        constexpr long long kDay = 24LL * 60 * 60 * 1000;
        const std::string tickByTick =
            played("click Command1\ntick 300\nwait " + std::to_string(kDay) + "\nstate\n");
        MemoryStore store;
        {
            Start first(store);
            first.player.click(first.form.Command1);
            for (int i = 0; i < 300; ++i) {
                first.player.tick();
            }
        }
        const auto made = std::get<runtime::BathRecord>(runtime::readBath(*store.kept)).made;
        Start again(store);
        again.player.setClock(made + kDay);
        QVERIFY(again.keeper.resume());
        QCOMPARE(again.player.wait(0), front::headless::HeadlessRuntime::Waited::Done);
        const std::string state =
            replay::stateJson(again.player.clock(), again.game.state(), again.form);
        QCOMPARE(QString::fromStdString("0" + state + "\n"), QString::fromStdString(tickByTick));
        // The flood has been shown: nothing is kept.
        QVERIFY(!store.kept);
    }

    void aRecordThatCannotBeTrustedIsRefused_data() {
        const QTemporaryDir dir;
        const std::string path = dir.filePath("bath").toStdString();
        played("click Command1\ntick 200\nsave " + path + "\n");
        QFile file(QString::fromStdString(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::string good = file.readAll().toStdString();
        const std::string body = bodyOf(good);
        QVERIFY(std::holds_alternative<runtime::BathRecord>(runtime::readBath(good)));

        QTest::addColumn<std::string>("record");
        QTest::addColumn<std::string>("reason");
        QTest::newRow("empty") << std::string() << std::string("empty");
        QTest::newRow("junk") << std::string("\x89PNG\r\n")
                              << std::string("not a record of a bath");
        QTest::newRow("a megabyte of rubbish")
            << std::string(1 << 20, 'y') << std::string("larger than any record");
        QTest::newRow("another format") << replaced(good, "yopo-bath 1", "yopo-bath 2")
                                        << std::string("a format this version does not know");
        QTest::newRow("cut in half") << good.substr(0, good.size() / 2) << std::string("cut short");
        QTest::newRow("its check cut off") << body << std::string("cut short");
        QTest::newRow("a line lost")
            << replaced(good, "Line1 1\n", "") << std::string("cut short or lengthened");
        QTest::newRow("altered") << replaced(good, "Phase 1", "Phase 2") << std::string("altered");
        QTest::newRow("a line out of place")
            << resealed(replaced(body, "made", "Made")) << std::string("no made where it belongs");
        QTest::newRow("a phase out of range") << resealed(replaced(body, "Phase 1", "Phase 4"))
                                              << std::string("a number out of its range");
        QTest::newRow("more than a bath")
            << resealed(body + "Line2 1\n") << std::string("more than a bath");
        QTest::newRow("heat before the fire")
            << resealed(replaced(body, "Temperature 0", "Temperature 40"))
            << std::string("temperature out of reach");
        QTest::newRow("water its cover never followed")
            << resealed(replaced(body, "Shp_water 3920", "Shp_water 3900"))
            << std::string("water and its cover apart");
        QTest::newRow("words the game never says")
            << resealed(replaced(body, "水を入れています。", "お湯です。"))
            << std::string("words the game never says");
        QTest::newRow("a caption with a raw control")
            << resealed(replaced(body, "水を入れています。", "\x1b[2J"))
            << std::string("a text that is no caption");
        QTest::newRow("scores before judging")
            << resealed(replaced(body, "TotalScore 0", "TotalScore 3114562"))
            << std::string("scores before judging");
        QTest::newRow("a tick due after the longest wait")
            << resealed(replaced(body, "Timer1 1 6000 6000", "Timer1 1 6000 99999"))
            << std::string("a number out of its range");
    }
    void aRecordThatCannotBeTrustedIsRefused() {
        QFETCH(std::string, record);
        QFETCH(std::string, reason);
        const auto read = runtime::readBath(record);
        QVERIFY(std::holds_alternative<runtime::Refusal>(read));
        QCOMPARE(std::get<runtime::Refusal>(read).reason, reason);
    }
};

QTEST_GUILESS_MAIN(BathTest)
#include "test_bath.moc"
