// test_install.cpp: `cmake --install` into a temporary prefix puts the game,
// yopo-headless, their manual pages, the desktop entry, the metainfo and the
// theme icons where a desktop finds them, and the desktop's own validators
// and groff accept what it installed.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString kAppId = QStringLiteral(YOPO_APP_ID);
// Where the build puts programs and manual pages under the prefix: a package
// may move the programs (Debian's games go to games/).
const QString kBinDir = QStringLiteral(YOPO_INSTALL_BINDIR);
const QString kManDir = QStringLiteral(YOPO_INSTALL_MANDIR);

struct Run {
    int status = -1;
    QString output;
};

// Runs a program to its end, its stdout and stderr together, with `input`
// on its stdin.
Run runProgram(const QString& program, const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

// A validator named by its package, so that a missing one says what to install.
QString tool(const char* name, const char* package) {
    QString path = QStandardPaths::findExecutable(QLatin1String(name));
    if (path.isEmpty()) {
        qWarning("%s is missing: install %s (scripts/setup-debian does)", name, package);
    }
    return path;
}

// The text of the first element with this name, or its attribute if one is named.
QString xmlText(const QString& path, const QString& element, const QString& attribute = {}) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == element) {
            return attribute.isEmpty() ? xml.readElementText()
                                       : xml.attributes().value(attribute).toString();
        }
    }
    return {};
}

// The keys of a desktop entry's main group, untranslated ones only.
QHash<QString, QString> desktopKeys(const QString& path) {
    QFile file(path);
    QHash<QString, QString> keys;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return keys;
    }
    bool inMainGroup = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
        } else if (inMainGroup && line.contains('=') && !line.section('=', 0, 0).contains('[')) {
            keys.insert(line.section('=', 0, 0), line.section('=', 1));
        }
    }
    return keys;
}

} // namespace

class InstallTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_prefix;
    QString m_installed;

    QString path(const QString& relative) const { return m_prefix.filePath(relative); }
    QString program(const QString& name) const { return path(kBinDir + '/' + name); }
    QString manPage(const QString& name) const { return path(kManDir + "/man6/" + name + ".6"); }
    QString desktopEntry() const { return path("share/applications/" + kAppId + ".desktop"); }
    QString metainfo() const { return path("share/metainfo/" + kAppId + ".metainfo.xml"); }

private slots:
    void initTestCase() {
        if (QDir::isAbsolutePath(kBinDir) || QDir::isAbsolutePath(kManDir)) {
            QSKIP("the build installs to fixed directories, not under a prefix");
        }
        QVERIFY(m_prefix.isValid());
        const Run install =
            runProgram(YOPO_CMAKE, {"--install", YOPO_BUILD_DIR, "--prefix", m_prefix.path()});
        QVERIFY2(install.status == 0, qPrintable(install.output));
    }

    void everythingLandsWhereTheDesktopLooks_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("the game") << kBinDir + "/yopo";
        QTest::newRow("the replay tool") << kBinDir + "/yopo-headless";
        QTest::newRow("the game's manual page") << kManDir + "/man6/yopo.6";
        QTest::newRow("the replay tool's manual page") << kManDir + "/man6/yopo-headless.6";
        QTest::newRow("the desktop entry") << "share/applications/" + kAppId + ".desktop";
        QTest::newRow("the metainfo") << "share/metainfo/" + kAppId + ".metainfo.xml";
        for (int size : {32, 64, 128, 256}) {
            const QString icon =
                QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId);
            QTest::newRow(qPrintable(QStringLiteral("the %1 pixel icon").arg(size))) << icon;
        }
    }
    void everythingLandsWhereTheDesktopLooks() {
        QFETCH(QString, file);
        QVERIFY2(QFileInfo::exists(path(file)), qPrintable(file));
    }

    void theGameIsAProgramThatKnowsItsVersion() {
        QVERIFY(QFileInfo(program("yopo")).isExecutable());
        const Run version = runProgram(program("yopo"), {"--version"});
        QCOMPARE(version.status, 0);
        QCOMPARE(version.output, QString("yopo " YOPO_VERSION "\n"));
    }

    void theReplayToolPlaysAScript() {
        const Run run = runProgram(program("yopo-headless"), {}, "click Command1\nstate\n");
        QCOMPARE(run.status, 0);
        QVERIFY2(run.output.contains("\"Phase\":1"), qPrintable(run.output));
    }

    // groff stops at nothing: -ww shows every warning a reader's man would
    // swallow, such as a misspelt request or a line that cannot be set.
    void theManualPagesRenderWithoutAWarning_data() {
        QTest::addColumn<QString>("page");
        QTest::newRow("yopo(6)") << "yopo";
        QTest::newRow("yopo-headless(6)") << "yopo-headless";
    }
    void theManualPagesRenderWithoutAWarning() {
        QFETCH(QString, page);
        const QString groff = tool("groff", "groff-base");
        QVERIFY(!groff.isEmpty());
        const Run check = runProgram(groff, {"-k", "-man", "-Tutf8", "-ww", "-z", manPage(page)});
        QVERIFY2(check.status == 0 && check.output.isEmpty(), qPrintable(check.output));
        const Run render = runProgram(groff, {"-k", "-man", "-Tutf8", manPage(page)});
        QCOMPARE(render.status, 0);
        // The page names its program and the release it came with.
        QVERIFY2(render.output.contains(page + " - "), qPrintable(render.output));
        QVERIFY(render.output.contains("yopo " YOPO_VERSION));
    }

    // Each option --help lists is in the manual page too.
    void theGamesManualPageHasEveryOptionOfItsHelp() {
        const Run help = runProgram(program("yopo"), {"--help"});
        QCOMPARE(help.status, 0);
        QFile file(manPage("yopo"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll());
        const QRegularExpression option(QStringLiteral("^  (--[a-z-]+)"),
                                        QRegularExpression::MultilineOption);
        int options = 0;
        for (const QRegularExpressionMatch& match : option.globalMatch(help.output)) {
            ++options;
            QString roff = match.captured(1);
            roff.replace('-', "\\-");
            QVERIFY2(page.contains(".B " + roff + '\n'), qPrintable(match.captured(1)));
        }
        QCOMPARE(options, 2);
    }

    void theDesktopEntryValidates() {
        const QString validate = tool("desktop-file-validate", "desktop-file-utils");
        QVERIFY(!validate.isEmpty());
        const Run result = runProgram(validate, {desktopEntry()});
        QVERIFY2(result.status == 0 && result.output.trimmed().isEmpty(),
                 qPrintable(result.output));
    }

    void theMetainfoValidatesWithoutTheNetwork() {
        const QString appstreamcli = tool("appstreamcli", "appstream");
        QVERIFY(!appstreamcli.isEmpty());
        const Run result = runProgram(appstreamcli, {"validate", "--no-net", metainfo()});
        QVERIFY2(result.status == 0, qPrintable(result.output));
        // Errors and warnings both; notes and pedantic remarks may stay.
        for (const QString& line : result.output.split('\n')) {
            QVERIFY2(!line.startsWith("E:") && !line.startsWith("W:"), qPrintable(line));
        }
    }

    void theEntryNamesTheGameItsIconAndItsCategory() {
        const QHash<QString, QString> entry = desktopKeys(desktopEntry());
        QCOMPARE(entry.value("Name"), QString("ヨポ"));
        QCOMPARE(entry.value("Icon"), kAppId);
        QCOMPARE(entry.value("Exec"), QString("yopo"));
        QVERIFY(entry.value("Categories").split(';').contains("Game"));
    }

    void theMetainfoIsTheSameGameAtTheProjectsVersion() {
        QCOMPARE(xmlText(metainfo(), "id"), kAppId);
        QCOMPARE(xmlText(metainfo(), "launchable"), kAppId + ".desktop");
        QCOMPARE(xmlText(metainfo(), "name"), QString("ヨポ"));
        QCOMPARE(xmlText(metainfo(), "release", "version"), QString(YOPO_VERSION));
    }

    void theThemeIconsAreTheWindowIconEnlarged_data() {
        QTest::addColumn<int>("size");
        for (int size : {32, 64, 128, 256}) {
            QTest::addRow("%dx%d", size, size) << size;
        }
    }
    void theThemeIconsAreTheWindowIconEnlarged() {
        QFETCH(int, size);
        QImage window(YOPO_ASSETS_DIR "/yopo.ico");
        QVERIFY(!window.isNull());
        QImage icon(
            path(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId)));
        QCOMPARE(icon.size(), QSize(size, size));
        const int factor = size / window.width();
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (icon.pixel(x, y) != window.pixel(x / factor, y / factor)) {
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "test_install.moc"
