// test_real_desktops.cpp: the game on real display servers, not their stand-ins.
// On a headless Weston through Qt's Wayland platform the window opens, paints,
// and a flood shakes what it shows by the distance the window moves on X11,
// as Weston's own screenshots show; when the compositor or the X server goes
// away under a running game, it ends with one line and a status of its own.
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {

constexpr int kDisplayLost = 4;
// The shake's step is 100 twips; at 15 twips to the pixel the window moves
// 7 pixels on X11 (6.67, rounded), and what it shows must move as far here.
constexpr int kShakePixels = 7;
// The flood comes after 408 filling ticks of 6 s: at this pace, in 4.9 s.
constexpr double kTimeScale = 500;
constexpr int kStartMs = 10000;
constexpr int kFloodMs = 20000;
constexpr int kEndMs = 5000;
// The window's ground before the flood and on every step to the left, and
// the water's colour it flashes on every step back (0xFFFFC0 as 0x00BBGGRR).
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kFloodColour = qRgb(0xC0, 0xFF, 0xFF);
// The window's inside, 7275 by 5355 twips, as on X11.
constexpr QSize kClientSize(485, 357);
// A row or column of the screen crosses the window's client area where at
// least this many of its pixels are the window's ground; the grey desktop
// around it has none.
constexpr int kGroundPerLine = 100;
// Lines, text, pictures and buttons: far more than a blank window shows.
constexpr int kPaintedPixels = 5000;
constexpr int kLargestShift = 20;

bool isGround(QRgb pixel) {
    const QRgb colour = pixel | 0xFF000000;
    return colour == kWhite || colour == kFloodColour;
}

// One screenshot, read for the game's window in it.
struct Shot {
    QImage image;
    QRect client; // where the window's white or flashing ground is
    QRgb ground = 0;
    int painted = 0; // pixels of the client area that are not its ground
};

Shot readShot(const QImage& image) {
    Shot shot{image.convertToFormat(QImage::Format_RGB32), {}, 0, 0};
    const QImage& screen = shot.image;
    int left = screen.width(), right = -1, top = screen.height(), bottom = -1;
    for (int y = 0; y < screen.height(); ++y) {
        int count = 0;
        for (int x = 0; x < screen.width(); ++x) {
            count += isGround(screen.pixel(x, y)) ? 1 : 0;
        }
        if (count >= kGroundPerLine) {
            top = std::min(top, y);
            bottom = y;
        }
    }
    for (int x = 0; x < screen.width() && bottom >= 0; ++x) {
        int count = 0;
        for (int y = top; y <= bottom; ++y) {
            count += isGround(screen.pixel(x, y)) ? 1 : 0;
        }
        if (count >= kGroundPerLine) {
            left = std::min(left, x);
            right = x;
        }
    }
    if (right < 0 || bottom < 0) {
        return shot;
    }
    shot.client = QRect(QPoint(left, top), QPoint(right, bottom));
    int white = 0, flood = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const QRgb pixel = screen.pixel(x, y) | 0xFF000000;
            white += pixel == kWhite ? 1 : 0;
            flood += pixel == kFloodColour ? 1 : 0;
            shot.painted += isGround(pixel) ? 0 : 1;
        }
    }
    shot.ground = white >= flood ? kWhite : kFloodColour;
    return shot;
}

// How far `moved` shows the window's drawing to the right of where `still`
// shows it, in pixels: the shift at which what is drawn on neither ground
// matches best. Both grounds are left out, so the flash does not count.
int shiftBetween(const Shot& still, const Shot& moved) {
    const QRect area = still.client;
    int best = 0;
    double fewest = 2;
    for (int shift = -kLargestShift; shift <= kLargestShift; ++shift) {
        int compared = 0, differing = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = std::max(area.left(), area.left() - shift);
                 x <= std::min(area.right(), area.right() - shift); ++x) {
                const bool drawn = !isGround(still.image.pixel(x, y));
                const bool drawnThere = !isGround(moved.image.pixel(x + shift, y));
                differing += drawn != drawnThere ? 1 : 0;
                ++compared;
            }
        }
        const double share = static_cast<double>(differing) / compared;
        if (share < fewest) {
            fewest = share;
            best = shift;
        }
    }
    return best;
}

QString colourName(QRgb colour) {
    return QColor(colour).name();
}

// A program the test started, ended when the test is.
struct Started {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    ~Started() {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(kEndMs);
        }
    }
};

QString found(const QString& program) {
    return QStandardPaths::findExecutable(program);
}

// The game's environment: only the display it is given, its own runtime
// folder, the hand that clicks Command1 for the player, and a fast clock.
QProcessEnvironment gameEnvironment(const QString& runtimeDir) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"}) {
        environment.remove(name);
    }
    environment.insert("XDG_RUNTIME_DIR", runtimeDir);
    environment.insert("QT_PLUGIN_PATH", YOPO_PLUGINS);
    environment.insert("QT_QPA_GENERIC_PLUGINS", "yopohand:Command1");
    environment.insert("YOPO_TIME_SCALE", QString::number(kTimeScale));
    return environment;
}

// Waits until the hand has clicked, which it does once the window shows.
bool clicked(QProcess& game, int timeoutMs) {
    if (!game.waitForStarted(timeoutMs)) {
        return false;
    }
    QByteArray said;
    QElapsedTimer clock;
    clock.start();
    while (!said.contains("yopohand: clicked Command1") && clock.elapsed() < timeoutMs &&
           game.state() == QProcess::Running) {
        game.waitForReadyRead(100);
        said += game.readAllStandardOutput();
    }
    if (!said.contains("yopohand: clicked Command1")) {
        qWarning("the game said: %s", game.readAllStandardError().constData());
        return false;
    }
    return true;
}

// All the game wrote on stderr by the time it ended.
QString lastWords(QProcess& game) {
    return QString::fromUtf8(game.readAllStandardError());
}

// What Weston shows now, read for the game's window; none if it showed nothing.
std::optional<Shot> screenshot(const QProcessEnvironment& weston) {
    QTemporaryDir folder;
    QProcess shooter;
    shooter.setProcessEnvironment(weston);
    shooter.setWorkingDirectory(folder.path());
    shooter.start(found("weston-screenshooter"), {});
    if (!shooter.waitForFinished(kEndMs) || shooter.exitCode() != 0) {
        qWarning("weston-screenshooter: %s", shooter.readAllStandardError().constData());
        return std::nullopt;
    }
    const QStringList written = QDir(folder.path()).entryList({"*.png"}, QDir::Files);
    if (written.size() != 1) {
        return std::nullopt;
    }
    return readShot(QImage(folder.filePath(written.first())));
}

} // namespace

class TestRealDesktops : public QObject {
    Q_OBJECT

private slots:
    void waylandGameShakesAndEnds() {
        const QString weston = found("weston");
        QVERIFY2(!weston.isEmpty() && !found("weston-screenshooter").isEmpty(),
                 "weston is missing: scripts/setup-debian installs it");
        QTemporaryDir runtimeDir; // made 0700, as Wayland wants it
        QVERIFY(runtimeDir.isValid());
        const QString socket = QStringLiteral("yopo-test");
        QProcessEnvironment westonEnvironment = QProcessEnvironment::systemEnvironment();
        westonEnvironment.insert("XDG_RUNTIME_DIR", runtimeDir.path());
        westonEnvironment.insert("WAYLAND_DISPLAY", socket);

        // The desktop shows at once, not after a fade from black, windows too;
        // a plain grey ground and no panel leave nothing white but the window.
        const QString config = runtimeDir.filePath("weston.ini");
        QFile ini(config);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[shell]\nstartup-animation=none\nanimation=none\nclose-animation=none\n"
                  "focus-animation=none\npanel-position=none\nbackground-color=0xff606060\n");
        ini.close();
        // --use-pixman: the headless output paints nothing otherwise, and the
        // screenshots would be black; --debug lets weston-screenshooter in.
        Started compositor;
        compositor.process->setProcessEnvironment(westonEnvironment);
        compositor.process->setStandardOutputFile(QProcess::nullDevice());
        compositor.process->setStandardErrorFile(runtimeDir.filePath("weston.log"));
        compositor.process->start(weston, {"--backend=headless-backend.so", "--use-pixman",
                                           "--debug", "--config=" + config, "--idle-time=0",
                                           "--width=1024", "--height=768", "--socket=" + socket});
        QVERIFY2(
            QTest::qWaitFor([&] { return QFile::exists(runtimeDir.filePath(socket)); }, kStartMs),
            "weston did not start");

        Started game;
        QProcessEnvironment environment = gameEnvironment(runtimeDir.path());
        environment.insert("WAYLAND_DISPLAY", socket);
        environment.insert("QT_QPA_PLATFORM", "wayland");
        game.process->setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        game.process->start(YOPO_BINARY, {});
        QVERIFY2(clicked(*game.process, kStartMs), "the window never showed Command1");
        const qint64 openedAt = clock.elapsed();

        // The window as it fills: painted, on white.
        std::optional<Shot> opened = screenshot(westonEnvironment);
        QVERIFY2(opened && !opened->client.isEmpty(), "no window in Weston's screenshot");
        QCOMPARE(opened->client.size(), kClientSize);
        QCOMPARE(colourName(opened->ground), colourName(kWhite));
        QVERIFY2(opened->painted > kPaintedPixels, "the window is blank");

        // Then the flood: a step back shows the water's colour, and a step
        // to the left after it white again.
        std::optional<Shot> back, left;
        qint64 floodAt = 0;
        while ((!back || !left) && clock.elapsed() < kFloodMs) {
            std::optional<Shot> shot = screenshot(westonEnvironment);
            QVERIFY2(shot && !shot->client.isEmpty(), "the window left Weston's screenshot");
            if (shot->ground == kFloodColour && !back) {
                back = shot;
                floodAt = clock.elapsed();
            } else if (shot->ground == kWhite && back) {
                left = shot;
            }
        }
        QVERIFY2(back, "the window never flashed the water's colour");
        QVERIFY2(left, "the window never went back to white after the flood");

        // The window itself stays where the compositor put it; what it shows
        // goes 7 pixels to the left on white and comes back on the colour.
        QCOMPARE(back->client, opened->client);
        QCOMPARE(left->client, opened->client);
        const int shift = shiftBetween(*back, *left);
        qInfo("window %dx%d at %d,%d; shown at %lld ms, flooded by %lld ms; grounds %s and %s; "
              "the contents stand %d px aside on the step left",
              opened->client.width(), opened->client.height(), opened->client.x(),
              opened->client.y(), openedAt, floodAt, qPrintable(colourName(left->ground)),
              qPrintable(colourName(back->ground)), shift);
        QCOMPARE(shift, -kShakePixels);

        // The compositor goes away: the game ends in one line, with its status.
        compositor.process->terminate();
        QVERIFY(game.process->waitForFinished(kEndMs));
        QCOMPARE(game.process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.process->exitCode(), kDisplayLost);
        QCOMPARE(lastWords(*game.process), "yopo: the display went away (WAYLAND_DISPLAY=" +
                                               socket + "); the game has ended\n");
    }

    void xServerGoneMidGame_data() {
        QTest::addColumn<int>("playMs");
        QTest::newRow("while the tap runs") << 500;
        // 4.9 s to the flood, then a step every millisecond: the window moves.
        QTest::newRow("while the window shakes") << 6000;
    }

    void xServerGoneMidGame() {
        QFETCH(int, playMs);
        const QString xvfb = found("Xvfb");
        QVERIFY2(!xvfb.isEmpty(), "Xvfb is missing: scripts/setup-debian installs it");
        QTemporaryDir runtimeDir;
        QVERIFY(runtimeDir.isValid());
        // The server picks a free display number and tells it on stdout.
        Started server;
        server.process->setStandardErrorFile(QProcess::nullDevice());
        server.process->start(xvfb, {"-displayfd", "1", "-nolisten", "tcp"});
        QVERIFY2(QTest::qWaitFor([&] { return server.process->canReadLine(); }, kStartMs),
                 "Xvfb did not start");
        const QString display = ':' + QString::fromLatin1(server.process->readLine()).trimmed();

        Started game;
        QProcessEnvironment environment = gameEnvironment(runtimeDir.path());
        environment.insert("DISPLAY", display);
        environment.insert("QT_QPA_PLATFORM", "xcb");
        game.process->setProcessEnvironment(environment);
        game.process->start(YOPO_BINARY, {});
        QVERIFY2(clicked(*game.process, kStartMs), "the window never showed Command1");
        // Ticks come every 12 ms, then every millisecond; the server goes between two.
        QTest::qWait(playMs);
        QCOMPARE(game.process->state(), QProcess::Running);
        server.process->kill();

        QVERIFY(game.process->waitForFinished(kEndMs));
        QCOMPARE(game.process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.process->exitCode(), kDisplayLost);
        QCOMPARE(lastWords(*game.process),
                 "yopo: the display went away (DISPLAY=" + display + "); the game has ended\n");
    }
};

QTEST_GUILESS_MAIN(TestRealDesktops)
#include "test_real_desktops.moc"
