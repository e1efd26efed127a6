// test_accessibility.cpp: the window as screen readers find it: names, roles
// and text of the window, its buttons, the balloon's message, the title and
// the two pictures; and every new message exposed and announced through the
// window's notification.
#include "announcer.h"
#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "game_window.h"
#include "qt_runtime.h"

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QTest>

using namespace forms;
using namespace front::qt;

namespace {

QString roleName(QAccessible::Role role);

// What the announcer was asked to say, and by whom.
struct Announced {
    QString source; // role and name
    QString message;
    bool operator==(const Announced&) const = default;
};

class RecordingAnnouncer : public Announcer {
public:
    explicit RecordingAnnouncer(QList<Announced>& heard) : m_heard(heard) {}
    void announce(QAccessibleInterface* source, const QString& message) override {
        m_heard.push_back(
            {roleName(source->role()) + " " + source->text(QAccessible::Name), message});
    }

private:
    QList<Announced>& m_heard;
};

struct Window : GameWindow {
    Window() : GameWindow(Clock::Held) {}
    QAccessibleInterface* tree() { return QAccessible::queryAccessibleInterface(&view); }
    QAccessibleInterface* child(const QString& name) {
        QAccessibleInterface* window = tree();
        for (int i = 0; i < window->childCount(); ++i) {
            if (window->child(i)->text(QAccessible::Name) == name) {
                return window->child(i);
            }
        }
        return nullptr;
    }
    QAccessibleInterface* message() {
        QAccessibleInterface* window = tree();
        for (int i = 0; i < window->childCount(); ++i) {
            if (window->child(i)->text(QAccessible::Name) ==
                QString::fromStdString(form.Lbl_msg.caption()).replace("\r\n", "\n")) {
                return window->child(i);
            }
        }
        return nullptr;
    }
};

QString roleName(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
        return "button";
    case QAccessible::StaticText:
        return "text";
    case QAccessible::Graphic:
        return "graphic";
    case QAccessible::Notification:
        return "notification";
    default:
        return QString::number(role);
    }
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

    void theWindowIsNamedByItsCaption() {
        Window window;
        QAccessibleInterface* tree = window.tree();
        QVERIFY(tree != nullptr);
        QCOMPARE(tree->role(), QAccessible::Window);
        QCOMPARE(tree->text(QAccessible::Name), QString("ヨポ"));
    }

    void itsChildrenComeInTabOrderThenThePictures() {
        Window window;
        QAccessibleInterface* tree = window.tree();
        QStringList children;
        for (int i = 0; i < tree->childCount(); ++i) {
            QAccessibleInterface* child = tree->child(i);
            QVERIFY(child != nullptr);
            QCOMPARE(child->parent(), tree);
            QCOMPARE(tree->indexOfChild(child), i);
            children << roleName(child->role()) + " " + child->text(QAccessible::Name);
        }
        QCOMPARE(children, (QStringList{
                               "button 水を入れる",
                               "button 沸かす",
                               "text ヨポの達人",
                               "text さぁ、まずヨポに水を入れましょう。",
                               "button 次へ",
                               "graphic ヨポの達人の似顔絵",
                               "graphic ヨポ",
                               "notification さぁ、まずヨポに水を入れましょう。",
                           }));
    }

    void theHiddenNextButtonIsThereButInvisible() {
        Window window;
        QAccessibleInterface* next = window.child("次へ");
        QVERIFY(next != nullptr);
        QVERIFY(next->state().invisible);
        window.game.Command2_Click(); // scolds: no water yet
        window.form.Command3.setVisible(true);
        QVERIFY(!next->state().invisible);
    }

    void theMessageIsTheLabelsTextWithItsLineBreaks() {
        Window window;
        window.game.Command2_Click(); // the fire without water: two lines
        QAccessibleInterface* message = window.message();
        QVERIFY(message != nullptr);
        QCOMPARE(message->role(), QAccessible::StaticText);
        const QString expected =
            "水を入れてないのに沸かせるかぁ！！\n早く水を入れろ！！べらぼうめ。";
        QCOMPARE(message->text(QAccessible::Name), expected);
        QAccessibleTextInterface* text = message->textInterface();
        QVERIFY(text != nullptr);
        QCOMPARE(text->characterCount(), expected.size());
        QCOMPARE(text->text(0, text->characterCount()), expected);
        QCOMPARE(text->text(0, 2), QString("水を"));
    }

    void thePicturesAreGraphicsWhereTheyArePainted_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("area");
        QTest::newRow("the portrait") << "ヨポの達人の似顔絵" << QRect(368, 8, 99, 131);
        QTest::newRow("the word") << "ヨポ" << QRect(388, 192, 56, 27);
    }
    void thePicturesAreGraphicsWhereTheyArePainted() {
        QFETCH(QString, name);
        QFETCH(QRect, area);
        Window window;
        QAccessibleInterface* picture = window.child(name);
        QVERIFY(picture != nullptr);
        QCOMPARE(picture->role(), QAccessible::Graphic);
        QCOMPARE(picture->rect(), QRect(window.view.mapToGlobal(area.topLeft()), area.size()));
        const QPoint middle = window.view.mapToGlobal(area.center());
        QCOMPARE(window.tree()->childAt(middle.x(), middle.y()), picture);
    }

    void aButtonIsFoundWhereItStands() {
        Window window;
        QPushButton* tap = window.view.button(window.form.Command1);
        const QPoint middle = tap->mapToGlobal(tap->rect().center());
        QAccessibleInterface* found = window.tree()->childAt(middle.x(), middle.y());
        QVERIFY(found != nullptr);
        QCOMPARE(found->object(), tap);
        QCOMPARE(found->role(), QAccessible::PushButton);
    }

    void everyNewMessageIsAnnounced() {
        Window window;
        QList<Announced> heard;
        window.view.setAnnouncer(std::make_unique<RecordingAnnouncer>(heard));
        window.game.Command1_Click();
        window.game.Command1_Click();
        const QString closed = "水を入れ終わりました。\n引き続き、湯を沸かしましょう。";
        QCOMPARE(heard,
                 (QList<Announced>{{"notification 水を入れ始めました。", "水を入れ始めました。"},
                                   {"notification " + closed, closed}}));
    }

    void theOpeningMessageIsToldOnceTheWindowIsActive() {
        // Written before the window opened, the greeting had nobody to hear it.
        Window window;
        QList<Announced> heard;
        window.view.setAnnouncer(std::make_unique<RecordingAnnouncer>(heard));
        window.view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window.view));
        const QString greeting = "さぁ、まずヨポに水を入れましょう。";
        const QList<Announced> toldOnce{{"notification " + greeting, greeting}};
        QTRY_COMPARE(heard, toldOnce);

        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        window.view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window.view));
        QCoreApplication::processEvents();
        QCOMPARE(heard, toldOnce);
    }

    void theSameWordsAgainAreNotNews() {
        Window window;
        QList<Announced> heard;
        window.view.setAnnouncer(std::make_unique<RecordingAnnouncer>(heard));
        window.game.Command1_Click();
        for (int i = 0; i < 3; ++i) {
            window.runtime.raiseTick(window.form.Timer1); // 水を入れています。 each time
        }
        QStringList messages;
        for (const Announced& announced : heard) {
            messages << announced.message;
        }
        QCOMPARE(messages, (QStringList{"水を入れ始めました。", "水を入れています。"}));
    }

    void theNotificationIsNowhereOnTheScreen() {
        // Reviewing the window by its area finds the message once, in the balloon.
        Window window;
        QAccessibleInterface* tree = window.tree();
        QAccessibleInterface* notification = tree->child(tree->childCount() - 1);
        QCOMPARE(notification->role(), QAccessible::Notification);
        QVERIFY(notification->rect().isEmpty());
        const QRect balloon = window.message()->rect();
        QCOMPARE(tree->childAt(balloon.center().x(), balloon.center().y()), window.message());
    }

    void thePaintedControlsLeaveWithTheWindow() {
        QAccessible::Id message = 0;
        QAccessible::Id notification = 0;
        {
            Window window;
            message = QAccessible::uniqueId(window.message());
            QAccessibleInterface* tree = window.tree();
            notification = QAccessible::uniqueId(tree->child(tree->childCount() - 1));
            QVERIFY(QAccessible::accessibleInterface(message) != nullptr);
            QVERIFY(QAccessible::accessibleInterface(notification) != nullptr);
        }
        QCOMPARE(QAccessible::accessibleInterface(message), nullptr);
        QCOMPARE(QAccessible::accessibleInterface(notification), nullptr);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
