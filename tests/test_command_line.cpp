// test_command_line.cpp: the game takes no options, answers --help and
// --version and refuses anything else in one line, all before it needs a
// display, and ends with the status its help gives for each way of ending.
#include <QProcess>
#include <QTest>

namespace {

constexpr int kRefused = 2;
constexpr int kNoDisplay = 3;

struct Run {
    int status = -1;
    QProcess::ExitStatus how = QProcess::CrashExit;
    QString out;
    QStringList errorLines;
};

// Without XDG_RUNTIME_DIR, as for root under xvfb-run: Qt's remark on it
// must not come before the game's one line.
QProcessEnvironment environment(bool display) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"}) {
        environment.remove(name);
    }
    if (display) {
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    }
    return environment;
}

Run run(const QStringList& arguments, bool display) {
    QProcess game;
    game.setProcessEnvironment(environment(display));
    game.start(YOPO_BINARY, arguments);
    Run result;
    if (!game.waitForFinished(20000)) {
        game.kill();
        game.waitForFinished();
        return result;
    }
    result.status = game.exitCode();
    result.how = game.exitStatus();
    result.out = QString::fromUtf8(game.readAllStandardOutput());
    result.errorLines =
        QString::fromUtf8(game.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    return result;
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void versionAndHelpNeedNoDisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("--version") << QStringList{"--version"} << "yopo " YOPO_VERSION;
        QTest::newRow("--help") << QStringList{"--help"} << "Usage: yopo [--help | --version]";
        QTest::newRow("--help after something unknown")
            << QStringList{"--fullscreen", "--help"} << "Usage: yopo [--help | --version]";
    }
    void versionAndHelpNeedNoDisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, firstLine);
        const Run result = run(arguments, false);
        QCOMPARE(result.how, QProcess::NormalExit);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out.section('\n', 0, 0), firstLine);
        QCOMPARE(result.errorLines, QStringList());
    }

    void helpGivesEveryExitStatus() {
        const QString help = run({"--help"}, false).out;
        QVERIFY(help.contains("--version"));
        for (const char* status :
             {"\n  0  the window was closed", "\n  1  a run-time error", "\n  2  an argument",
              "\n  3  the window could not open", "\n  4  the display went away"}) {
            QVERIFY2(help.contains(status), status);
        }
    }

    // With a display and without: an argument is refused before the game
    // looks for one.
    void anythingElseIsRefusedInOneLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("display");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("line");
        const QString refused = "yopo: unknown argument ";
        QTest::newRow("an unknown option")
            << QStringList{"--fullscreen"} << true << kRefused << refused + "'--fullscreen'";
        QTest::newRow("an unknown option, no display")
            << QStringList{"--fullscreen"} << false << kRefused << refused + "'--fullscreen'";
        QTest::newRow("a file name")
            << QStringList{"bath.txt"} << false << kRefused << refused + "'bath.txt'";
        QTest::newRow("after one of Qt's own options")
            << QStringList{"-platform", "offscreen", "--level=3"} << false << kRefused
            << refused + "'--level=3'";
        QTest::newRow("an escape that would retitle the terminal, shown escaped")
            << QStringList{"\x1b]0;pwned\x07"} << false << kRefused
            << refused + R"('\x1b]0;pwned\x07')";
        QTest::newRow("another platform's option, once Qt has its own")
            << QStringList{"-platform", "offscreen", "-display", ":3"} << false << kRefused
            << refused + "'-display'";
        QTest::newRow("nothing, and no display") << QStringList{} << false << kNoDisplay
                                                 << "yopo: cannot open the window: there is no "
                                                    "display";
    }
    void anythingElseIsRefusedInOneLine() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, display);
        QFETCH(int, status);
        QFETCH(QString, line);
        const Run result = run(arguments, display);
        QCOMPARE(result.how, QProcess::NormalExit);
        QCOMPARE(result.status, status);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.errorLines.size(), 1);
        QVERIFY2(result.errorLines[0].startsWith(line), qPrintable(result.errorLines[0]));
    }

    void qtsOwnOptionsStillReachQt() {
        QProcess game;
        game.setProcessEnvironment(environment(true));
        game.start(YOPO_BINARY, {"-platform", "offscreen", "-style", "Fusion"});
        QVERIFY(game.waitForStarted());
        // Refused, it would be gone at once; playing, it waits for the player.
        QVERIFY(!game.waitForFinished(1500));
        QCOMPARE(game.readAllStandardError(), QByteArray());
        game.kill();
        game.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
