// test_command_line.cpp: the game takes no options, answers --help and
// --version without needing a display, and refuses anything else in one line.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kRefused = 2;

struct Run {
    int status = -1;
    QProcess::ExitStatus how = QProcess::CrashExit;
    QString out;
    QStringList errorLines;
};

QProcessEnvironment environment(bool display, const QString& runtimeDir) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    if (display) {
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    }
    // Keeps Qt's own remark about a missing runtime folder off stderr.
    environment.insert("XDG_RUNTIME_DIR", runtimeDir);
    return environment;
}

Run run(const QStringList& arguments, bool display) {
    QTemporaryDir runtimeDir;
    QProcess game;
    game.setProcessEnvironment(environment(display, runtimeDir.path()));
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

    void helpSaysWhatIsRefused() {
        const QString help = run({"--help"}, false).out;
        QVERIFY(help.contains("--version"));
        QVERIFY(help.contains("refused, with exit status 2"));
    }

    void anythingElseIsRefusedInOneLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::newRow("an unknown option") << QStringList{"--fullscreen"} << "'--fullscreen'";
        QTest::newRow("a file name") << QStringList{"bath.txt"} << "'bath.txt'";
        QTest::newRow("after one of Qt's own options")
            << QStringList{"-platform", "offscreen", "--level=3"} << "'--level=3'";
    }
    void anythingElseIsRefusedInOneLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        const Run result = run(arguments, true);
        QCOMPARE(result.how, QProcess::NormalExit);
        QCOMPARE(result.status, kRefused);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.errorLines.size(), 1);
        QVERIFY2(result.errorLines[0].startsWith("yopo: unknown argument " + named),
                 qPrintable(result.errorLines[0]));
    }

    void qtsOwnOptionsStillReachQt() {
        QTemporaryDir runtimeDir;
        QProcess game;
        game.setProcessEnvironment(environment(true, runtimeDir.path()));
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
