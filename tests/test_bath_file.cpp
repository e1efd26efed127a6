// test_bath_file.cpp: the desktop's file gives back exactly the record it was
// last given, however long the one before it, and goes on keeping when
// another window of the game has ended its bath.
#include "bath_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using front::qt::BathFile;

class BathFileTest : public QObject {
    Q_OBJECT

private slots:
    void givesBackTheLastRecordWhateverItsLength() {
        QTemporaryDir folder;
        BathFile file(folder.filePath(QStringLiteral("yopo/bath")));
        QCOMPARE(file.fetch(), std::nullopt);
        const std::string longer(600, 'a');
        const std::string shorter = "yopo-bath 1\ncheck 12 00000000\n";
        QVERIFY(file.store(longer));
        QVERIFY(file.store(shorter));
        QCOMPARE(file.fetch(), shorter);
        // A new file, as the next start reads it.
        QCOMPARE(BathFile(file.path()).fetch(), shorter);
        QVERIFY(file.store(longer));
        QCOMPARE(file.fetch(), longer);
    }

    void keepsAgainOnceAnotherWindowEndedItsBath() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("bath"));
        BathFile ours(path);
        BathFile other(path);
        QVERIFY(ours.store("first"));
        other.drop();
        QVERIFY(!QFile::exists(path));
        QVERIFY(ours.store("second"));
        QCOMPARE(BathFile(path).fetch(), std::string("second"));
    }

    void aRecordLargerThanAnyIsNotKept() {
        QTemporaryDir folder;
        BathFile file(folder.filePath(QStringLiteral("bath")));
        QVERIFY(file.store("kept"));
        QVERIFY(!file.store(std::string(runtime::kLargestRecord + 1, 'a')));
        QCOMPARE(file.fetch(), std::string("kept"));
    }
};

QTEST_GUILESS_MAIN(BathFileTest)
#include "test_bath_file.moc"
