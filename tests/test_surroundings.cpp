// test_surroundings.cpp: without a display, a font or a picture, the game
// says so in one line and leaves with a status, never with a core dump.
#include "form.h"
#include "form_view.h"
#include "start_up.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kCannotStart = 3;

struct Run {
    int status;
    QProcess::ExitStatus how;
    QStringList errorLines;
};

// Runs the game with the given environment until it ends by itself.
Run runGame(const QProcessEnvironment& environment) {
    QProcess game;
    game.setProcessEnvironment(environment);
    game.start(YOPO_BINARY, {});
    game.waitForFinished(20000);
    const QString err = QString::fromUtf8(game.readAllStandardError());
    return {game.exitCode(), game.exitStatus(), err.split('\n', Qt::SkipEmptyParts)};
}

QProcessEnvironment withoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    return environment;
}

} // namespace

class SurroundingsTest : public QObject {
    Q_OBJECT

private slots:
    void noDisplayIsOneLineAndAStatus_data() {
        QTest::addColumn<QString>("display");
        QTest::newRow("no display named") << QString();
        QTest::newRow("a display nobody answers") << ":9999";
    }
    void noDisplayIsOneLineAndAStatus() {
        QFETCH(QString, display);
        QProcessEnvironment environment = withoutDisplay();
        if (!display.isEmpty()) {
            environment.insert("DISPLAY", display);
            environment.insert("QT_QPA_PLATFORM", "xcb");
        }
        const Run run = runGame(environment);
        QCOMPARE(run.how, QProcess::NormalExit);
        QCOMPARE(run.status, kCannotStart);
        QCOMPARE(run.errorLines.size(), 1);
        QVERIFY(run.errorLines[0].startsWith("yopo: cannot open the window:"));
        QVERIFY(run.errorLines[0].contains("xvfb-run -a"));
    }

    void aMissingJapaneseFontNamesThePackageAndPlaysOn() {
        QTemporaryDir dir;
        const QString config = dir.filePath("fonts.conf");
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QString("<?xml version=\"1.0\"?><fontconfig><dir>%1</dir><cachedir>%1</cachedir>"
                           "</fontconfig>")
                       .arg(dir.path())
                       .toUtf8());
        file.close();

        QProcessEnvironment environment = withoutDisplay();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("FONTCONFIG_FILE", config);
        QProcess game;
        game.setProcessEnvironment(environment);
        game.start(YOPO_BINARY, {});
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT(
            (err += game.readAllStandardError()).contains("fonts-ipafont-gothic"), 10000);
        // The game goes on with what the system has.
        QCOMPARE(game.state(), QProcess::Running);
        game.kill();
        game.waitForFinished();
    }

    void aPictureThatDoesNotDecodeIsNamed() {
        const forms::ControlRow rows[] = {
            {"Image1", forms::ImageProperties{{0, 0, 1485, 1965}, "portrait.jpg"}},
            {"Image9", forms::ImageProperties{{0, 0, 150, 150}, "no-such-picture.png"}},
        };
        forms::Form form(
            {.caption = "ヨポ", .clientWidth = 1500, .clientHeight = 1500, .icon = "yopo.ico"},
            rows);
        front::qt::FormView view(form);
        const std::optional<std::string> damaged = runtime::damagedPictures(
            form, [&view](const std::string& name) { return !view.picture(name).isNull(); });
        QCOMPARE(damaged, std::optional<std::string>("cannot read the picture no-such-picture.png; "
                                                     "the program is damaged, reinstall it"));
    }
};

QTEST_MAIN(SurroundingsTest)
#include "test_surroundings.moc"
