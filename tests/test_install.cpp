// test_install.cpp: `cmake --install` into a temporary prefix puts the game,
// its desktop entry, its metainfo and its theme icons where a desktop finds
// them, and the desktop's own validators accept what it installed.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString kAppId = QStringLiteral(YOPO_APP_ID);

struct Run {
    int status = -1;
    QString output;
};

// Runs a program to its end, its stdout and stderr together.
Run runProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

// A validator named by its package, so that a missing one says what to install.
QString tool(const char* name, const char* package) {
    const QString path = QStandardPaths::findExecutable(QLatin1String(name));
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
    QString desktopEntry() const { return path("share/applications/" + kAppId + ".desktop"); }
    QString metainfo() const { return path("share/metainfo/" + kAppId + ".metainfo.xml"); }

private slots:
    void initTestCase() {
        QVERIFY(m_prefix.isValid());
        const Run install =
            runProgram(YOPO_CMAKE, {"--install", YOPO_BUILD_DIR, "--prefix", m_prefix.path()});
        QVERIFY2(install.status == 0, qPrintable(install.output));
    }

    void everythingLandsWhereTheDesktopLooks_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("the game") << "bin/yopo";
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
        QVERIFY(QFileInfo(path("bin/yopo")).isExecutable());
        const Run version = runProgram(path("bin/yopo"), {"--version"});
        QCOMPARE(version.status, 0);
        QCOMPARE(version.output, QString("yopo " YOPO_VERSION "\n"));
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
