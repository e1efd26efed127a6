// test_windows_resource.cpp: the Windows resource script, compiled with the
// MinGW resource compiler, gives the program file the window icon and a
// Japanese version record at the project's version, so that it cannot rot
// unseen on a machine that never builds for Windows.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

constexpr unsigned kIconType = 3;
constexpr unsigned kIconGroupType = 14;
constexpr unsigned kVersionType = 16;
constexpr unsigned kJapanese = 0x0411;
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;

unsigned u16(const QByteArray& b, qsizetype at) {
    if (at < 0 || at + 2 > b.size()) {
        return 0;
    }
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t u32(const QByteArray& b, qsizetype at) {
    return u16(b, at) | (static_cast<std::uint32_t>(u16(b, at + 2)) << 16);
}
qsizetype aligned(qsizetype at) {
    return (at + 3) & ~qsizetype{3};
}

// A NUL-terminated UTF-16 string at `at`; moves `at` past it.
QString utf16(const QByteArray& b, qsizetype& at) {
    QString text;
    while (at + 2 <= b.size()) {
        const unsigned unit = u16(b, at);
        at += 2;
        if (unit == 0) {
            break;
        }
        text.append(QChar(static_cast<char16_t>(unit)));
    }
    return text;
}

struct Resource {
    unsigned type = 0; // 0 when named by a string
    QString name;
    unsigned language = 0;
    QByteArray data;
};

// The entries of a .res file, after the empty one it opens with.
std::vector<Resource> readResources(const QByteArray& res) {
    std::vector<Resource> resources;
    qsizetype at = 0;
    while (at + 32 <= res.size()) {
        const std::uint32_t dataSize = u32(res, at);
        const std::uint32_t headerSize = u32(res, at + 4);
        qsizetype field = at + 8;
        Resource resource;
        if (u16(res, field) == 0xFFFF) {
            resource.type = u16(res, field + 2);
            field += 4;
        } else {
            utf16(res, field);
        }
        if (u16(res, field) == 0xFFFF) {
            resource.name = QString::number(u16(res, field + 2));
            field += 4;
        } else {
            resource.name = utf16(res, field);
        }
        field = aligned(field);
        resource.language = u16(res, field + 6);
        resource.data = res.mid(at + headerSize, dataSize);
        if (dataSize > 0) {
            resources.push_back(resource);
        }
        at = aligned(at + headerSize + dataSize);
    }
    return resources;
}

// One node of a version record: its key, its value and its children.
struct VersionNode {
    QString key;
    bool text = false;
    QByteArray value;
    std::vector<VersionNode> children;

    const VersionNode* child(const QString& name) const {
        for (const VersionNode& node : children) {
            if (node.key == name) {
                return &node;
            }
        }
        return nullptr;
    }
    QString textValue() const {
        qsizetype at = 0;
        return utf16(value, at);
    }
};

std::optional<VersionNode> readVersionNode(const QByteArray& b, qsizetype at) {
    const unsigned length = u16(b, at);
    const unsigned valueLength = u16(b, at + 2);
    if (length < 6 || at + length > b.size()) {
        return std::nullopt;
    }
    VersionNode node;
    node.text = u16(b, at + 4) == 1;
    qsizetype field = at + 6;
    node.key = utf16(b, field);
    field = aligned(field);
    // Text values count UTF-16 units, binary ones bytes.
    const qsizetype valueBytes = node.text ? 2 * qsizetype{valueLength} : valueLength;
    node.value = b.mid(field, valueBytes);
    field = aligned(field + valueBytes);
    while (field < at + length) {
        const std::optional<VersionNode> child = readVersionNode(b, field);
        if (!child) {
            return std::nullopt;
        }
        node.children.push_back(*child);
        field = aligned(field + u16(b, field));
    }
    return node;
}

} // namespace

class WindowsResourceTest : public QObject {
    Q_OBJECT

    std::vector<Resource> m_resources;

    const Resource* find(unsigned type) const {
        for (const Resource& resource : m_resources) {
            if (resource.type == type) {
                return &resource;
            }
        }
        return nullptr;
    }

private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(YOPO_WINDRES).isExecutable(),
                 "x86_64-w64-mingw32-windres is missing: install binutils-mingw-w64-x86-64 "
                 "(scripts/setup-debian does)");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString res = dir.filePath("yopo.res");
        QProcess windres;
        windres.setProcessChannelMode(QProcess::MergedChannels);
        // The build's own compiler preprocesses, so no MinGW compiler is needed.
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): the path joins its option.
        windres.start(YOPO_WINDRES, {"--preprocessor=" YOPO_PREPROCESSOR, "--preprocessor-arg=-E",
                                     "--preprocessor-arg=-xc", "--preprocessor-arg=-DRC_INVOKED",
                                     "-i", YOPO_RC, "-O", "res", "-o", res});
        QVERIFY(windres.waitForFinished(60000));
        QVERIFY2(windres.exitStatus() == QProcess::NormalExit && windres.exitCode() == 0,
                 windres.readAll().constData());
        QFile file(res);
        QVERIFY(file.open(QIODevice::ReadOnly));
        m_resources = readResources(file.readAll());
        QVERIFY(!m_resources.empty());
    }

    void everyResourceIsJapanese() {
        for (const Resource& resource : m_resources) {
            QCOMPARE(resource.language, kJapanese);
        }
    }

    void theProgramsIconIsTheWindowIcon() {
        QVERIFY(find(kIconGroupType) != nullptr);
        const Resource* icon = find(kIconType);
        QVERIFY(icon != nullptr);
        QFile ico(YOPO_ICON);
        QVERIFY(ico.open(QIODevice::ReadOnly));
        const QByteArray file = ico.readAll();
        // An icon resource holds the image the .ico's only entry points at.
        QCOMPARE(icon->data, file.mid(u32(file, 18), u32(file, 14)));
    }

    void theVersionRecordCarriesTheProjectsVersion() {
        const Resource* resource = find(kVersionType);
        QVERIFY(resource != nullptr);
        const std::optional<VersionNode> root = readVersionNode(resource->data, 0);
        QVERIFY(root.has_value());
        QCOMPARE(root->key, QString("VS_VERSION_INFO"));

        // The fixed part: four numbers each for the file and the product.
        const QByteArray& fixed = root->value;
        QCOMPARE(fixed.size(), 52);
        QCOMPARE(u32(fixed, 0), kFixedInfoSignature);
        const QStringList parts = QString(YOPO_VERSION).split('.');
        const std::uint32_t high = (parts.value(0).toUInt() << 16) | parts.value(1).toUInt();
        QCOMPARE(u32(fixed, 8), high); // file version, first two numbers
        QCOMPARE(u32(fixed, 12), 0u);
        QCOMPARE(u32(fixed, 16), high); // product version
        QCOMPARE(u32(fixed, 20), 0u);

        const VersionNode* strings = root->child("StringFileInfo");
        QVERIFY(strings != nullptr);
        const VersionNode* japanese = strings->child("041104B0");
        QVERIFY(japanese != nullptr);
        const QList<QPair<QString, QString>> expected = {
            {"FileVersion", YOPO_VERSION},
            {"ProductVersion", YOPO_VERSION},
            {"ProductName", "ヨポ"},
            {"FileDescription", "ヨポ"},
        };
        for (const auto& [key, value] : expected) {
            const VersionNode* entry = japanese->child(key);
            QVERIFY2(entry != nullptr, qPrintable(key));
            QCOMPARE(entry->textValue(), value);
        }

        const VersionNode* variables = root->child("VarFileInfo");
        QVERIFY(variables != nullptr);
        const VersionNode* translation = variables->child("Translation");
        QVERIFY(translation != nullptr);
        QCOMPARE(u16(translation->value, 0), kJapanese);
        QCOMPARE(u16(translation->value, 2), 1200u); // UTF-16
    }
};

QTEST_GUILESS_MAIN(WindowsResourceTest)
#include "test_windows_resource.moc"
