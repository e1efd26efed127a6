// test_headless.cpp: yopo-headless replays whole games exactly, and refuses bad lines.
#include "script.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <sstream>

namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run runScript(const std::string& script, long long mostTicks = replay::kMostTicksPerLine) {
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    const int status = replay::runScript(in, out, err, mostTicks);
    return {status, out.str(), err.str()};
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class HeadlessTest : public QObject {
    Q_OBJECT

private slots:
    // Each golden script in tests/golden replays to its .expected transcript.
    // After a deliberate change, rerun the script and review the new transcript.
    void goldenGames_data() {
        QTest::addColumn<QString>("script");
        const QDir golden(YOPO_GOLDEN_DIR);
        for (const QString& name : golden.entryList({"*.script"}, QDir::Files, QDir::Name)) {
            QTest::newRow(qPrintable(name)) << golden.filePath(name);
        }
    }
    void goldenGames() {
        QFETCH(QString, script);
        QProcess process;
        process.start(YOPO_HEADLESS, {script});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), replay::kScriptDone);
        QCOMPARE(process.readAllStandardError(), QByteArray());
        QString expected = script;
        expected.replace(".script", ".expected");
        QCOMPARE(process.readAllStandardOutput(), readFile(expected));
    }

    void readsStandardInputWhenNoFileIsNamed() {
        QProcess process;
        process.start(YOPO_HEADLESS, {});
        process.write("# a comment\n\nclick Command1\r\ntick\nstate\n");
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), replay::kScriptDone);
        QVERIFY(process.readAllStandardOutput().contains("\"Height\":140"));
    }

    // The command line, by the table every program shares.
    void theCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out"); // its first line
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("--help") << QStringList{"--help"} << 0
                                << QByteArray("Usage: yopo-headless [--help | --version | SCRIPT]")
                                << QByteArray();
        QTest::newRow("--version") << QStringList{"--version"} << 0
                                   << QByteArray("yopo-headless " YOPO_VERSION) << QByteArray();
        QTest::newRow("an unknown option")
            << QStringList{"--fast"} << 2 << QByteArray()
            << QByteArray("yopo-headless: unknown argument '--fast': it takes one script at most "
                          "(see yopo-headless --help)\n");
        QTest::newRow("two scripts")
            << QStringList{YOPO_GOLDEN_DIR "/flood.script", "\x1b[2J"} << 2 << QByteArray()
            << QByteArray(R"(yopo-headless: unknown argument '\x1b[2J': it takes one script at )"
                          "most (see yopo-headless --help)\n");
        QTest::newRow("a script that cannot be read")
            << QStringList{"/nonexistent/\u202Ebath"} << 2 << QByteArray()
            << QByteArray(R"(yopo-headless: cannot read /nonexistent/\u202ebath)"
                          "\n");
    }
    void theCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QProcess process;
        process.start(YOPO_HEADLESS, arguments);
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), status);
        QCOMPARE(process.readAllStandardOutput().split('\n').first(), out);
        QCOMPARE(process.readAllStandardError(), err);
    }

    void aBadLineStopsTheRunWithItsNumber_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("shown"); // as the message quotes it
        QTest::newRow("unknown command") << QByteArray("jump") << QByteArray("jump");
        QTest::newRow("unknown button") << QByteArray("click Shape1") << QByteArray("click Shape1");
        QTest::newRow("not a button") << QByteArray("click Timer1") << QByteArray("click Timer1");
        QTest::newRow("missing argument") << QByteArray("wait") << QByteArray("wait");
        QTest::newRow("negative count") << QByteArray("tick -1") << QByteArray("tick -1");
        QTest::newRow("not a number") << QByteArray("drag 10 up") << QByteArray("drag 10 up");
        QTest::newRow("extra word") << QByteArray("state now") << QByteArray("state now");
        QTest::newRow("lower case name")
            << QByteArray("click command1") << QByteArray("click command1");
        // Control characters and malformed UTF-8, which would reach the terminal.
        QTest::newRow("an escape that would retitle the terminal")
            << QByteArray("state\x1b]0;pwned\x07") << QByteArray(R"(state\x1b]0;pwned\x07)");
        QTest::newRow("a carriage return that would split the message")
            << QByteArray("click Command1\rstate") << QByteArray(R"(click Command1\x0dstate)");
        QTest::newRow("a C1 control in UTF-8")
            << QByteArray("jump\xc2\x9b") << QByteArray(R"(jump\u009b)");
        QTest::newRow("a backslash, doubled to tell it from an escape")
            << QByteArray(R"(jump\x07)") << QByteArray(R"(jump\\x07)");
        QTest::newRow("stray bytes, one replacement each")
            << QByteArray("click \xff\x80") << QByteArray("click \uFFFD\uFFFD");
        QTest::newRow("a cut sequence, one replacement")
            << QByteArray("click 水\xe3\x82") << QByteArray("click 水\uFFFD");
        QTest::newRow("a surrogate half")
            << QByteArray("jump\xed\xa0\x80") << QByteArray("jump\uFFFD\uFFFD\uFFFD");
        QTest::newRow("a right-to-left override, which would turn what follows round")
            << QByteArray("jump \u202E;1 enil") << QByteArray(R"(jump \u202e;1 enil)");
        QTest::newRow("every other bidirectional control")
            << QByteArray("jump\u061C\u200E\u200F\u202A\u202B\u202C\u202D\u2066\u2067\u2068\u2069")
            << QByteArray(
                   R"(jump\u061c\u200e\u200f\u202a\u202b\u202c\u202d\u2066\u2067\u2068\u2069)");
        QTest::newRow("line and paragraph separators, which would split the message")
            << QByteArray("jump\u2028state\u2029") << QByteArray(R"(jump\u2028state\u2029)");
        QTest::newRow("a byte order mark")
            << QByteArray("\uFEFFstate") << QByteArray(R"(\ufeffstate)");
        QTest::newRow("a Ctrl-Z, which once ended a text file on Windows")
            << QByteArray("\x1a") << QByteArray(R"(\x1a)");
        QTest::newRow("Japanese kept")
            << QByteArray("click 水を入れる") << QByteArray("click 水を入れる");
    }
    void aBadLineStopsTheRunWithItsNumber() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, shown);
        const Run run = runScript("state\n# fine so far\n" + line.toStdString() + "\nstate\n");
        QCOMPARE(run.status, replay::kScriptBadLine);
        QCOMPARE(run.err, "yopo-headless: line 3: not a command: " + shown.toStdString() + "\n");
        // What was printed before stays; nothing after is run.
        QCOMPARE(std::count(run.out.begin(), run.out.end(), '\n'), 1);
    }

    // After a flood the timer shakes the window for ever, so a line that asks
    // for more ticks than a line may deliver must end, and say why.
    void aLineThatCouldNeverEndIsRefused_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<long long>("mostTicks");
        QTest::addColumn<int>("badLine"); // 0: the run is done
        const long long limit = replay::kMostTicksPerLine;
        QTest::newRow("the longest count while the window shakes")
            << "click Command1\ntick 408\ntick 9223372036854775807" << limit << 3;
        QTest::newRow("one tick past the limit, refused before any tick")
            << "click Command1\ntick " + QString::number(limit + 1) << limit << 2;
        QTest::newRow("a count past the limit while nothing ticks")
            << "tick " + QString::number(limit + 1) << limit << 1;
        QTest::newRow("a count at the limit while nothing ticks")
            << "tick " + QString::number(limit) + "\nstate" << limit << 0;
        QTest::newRow("a count at the limit while the window shakes")
            << "click Command1\ntick 1000\nstate" << 1000LL << 0;
        QTest::newRow("a wait of millions of years while the window shakes")
            << "click Command1\ntick 408\nwait 4000000000000000000" << 1000LL << 3;
        QTest::newRow("a wait of exactly the limit's ticks")
            << "click Command1\nwait 60000\nstate" << 10LL << 0;
        QTest::newRow("a wait of one tick more than the limit")
            << "click Command1\nwait 66000\nstate" << 10LL << 2;
        QTest::newRow("a wait to the end of the clock while nothing ticks")
            << "wait 4611686018427387903\nstate" << 10LL << 0;
    }
    void aLineThatCouldNeverEndIsRefused() {
        QFETCH(QString, script);
        QFETCH(long long, mostTicks);
        QFETCH(int, badLine);
        const Run run = runScript(script.toStdString() + "\n", mostTicks);
        if (badLine == 0) {
            QCOMPARE(run.err, std::string());
            QCOMPARE(run.status, replay::kScriptDone);
            QVERIFY(run.out.find("\"Phase\":") != std::string::npos);
            return;
        }
        QCOMPARE(run.status, replay::kScriptBadLine);
        const std::string line = script.split('\n').at(badLine - 1).toStdString();
        QCOMPARE(run.err, "yopo-headless: line " + std::to_string(badLine) + ": more than " +
                              std::to_string(mostTicks) + " ticks in one line: " + line + "\n");
    }

    void theStateHasExactlyTheAgreedKeys() {
        const Run run = runScript("state\n");
        QCOMPARE(run.status, replay::kScriptDone);
        QCOMPARE(
            run.out,
            std::string(
                R"({"clock_ms":0,"Phase":0,"Temperature":0,"TotalScore":0,"ShakeSide":0,)"
                R"("WaterScore":{"type":"Empty","value":null},"HeatScore":{"type":"Empty","value":null},)"
                R"("Form1":{"Left":10770,"Top":5430,"BackColor":16777215},)"
                R"("Lbl_msg":{"Caption":"さぁ、まずヨポに水を入れましょう。","FontSize":9,"FontBold":false},)"
                R"("Command1":{"Caption":"水を入れる","Enabled":true,"Visible":true},)"
                R"("Command2":{"Caption":"沸かす","Enabled":true,"Visible":true},)"
                R"("Command3":{"Caption":"次へ","Enabled":true,"Visible":false},)"
                R"("Timer1":{"Enabled":false,"Interval":6000},)"
                R"("Shp_water":{"Top":5040,"Height":15,"BackColor":16777152,"Visible":true},)"
                R"("Line_water":{"BorderStyle":0},)"
                R"("Line0":{"Y1":5040,"Y2":4800,"Visible":true},"Line1":{"Visible":true}})"
                "\n"));
    }
};

QTEST_GUILESS_MAIN(HeadlessTest)
#include "test_headless.moc"
