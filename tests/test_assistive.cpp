// test_assistive.cpp: what screen readers are told, decided once for every
// front end: the window's parts as they find them, and when a message is
// announced.
#include "accessible_tree.h"
#include "announcements.h"
#include "form1.h"
#include "game.h"

#include <QRect>
#include <QTest>

using namespace forms;
using runtime::AccessibleRole;

Q_DECLARE_METATYPE(AccessibleRole)

class AssistiveTest : public QObject {
    Q_OBJECT

private slots:
    void theWindowIsNamedByItsCaption() {
        Form1 form;
        const runtime::AccessibleNode window = runtime::describeWindow(form);
        QCOMPARE(window.role, AccessibleRole::Window);
        QCOMPARE(QString::fromStdString(window.name), QString("ヨポ"));
    }

    void itsChildrenAsTheWindowOpens_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<AccessibleRole>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("live");
        QTest::addColumn<QRect>("area");
        const auto button = AccessibleRole::PushButton;
        const auto text = AccessibleRole::StaticText;
        const auto graphic = AccessibleRole::Graphic;
        const QString greeting = "さぁ、まずヨポに水を入れましょう。";
        // Buttons and labels in tab order, then the pictures from the top down.
        QTest::newRow("the tap's button first")
            << 0 << button << "水を入れる" << true << true << false << QRect(377, 240, 81, 25);
        QTest::newRow("the fire's button")
            << 1 << button << "沸かす" << true << true << false << QRect(377, 288, 81, 25);
        QTest::newRow("the title")
            << 2 << text << "ヨポの達人" << true << true << false << QRect(387, 144, 60, 12);
        QTest::newRow("the message, live")
            << 3 << text << greeting << true << true << true << QRect(40, 40, 204, 12);
        QTest::newRow("the next button, there but not shown")
            << 4 << button << "次へ" << true << false << false << QRect(264, 104, 41, 17);
        QTest::newRow("the portrait, the higher picture")
            << 5 << graphic << "ヨポの達人の似顔絵" << true << true << false
            << QRect(368, 8, 99, 131);
        QTest::newRow("the word") << 6 << graphic << "ヨポ" << true << true << false
                                  << QRect(388, 192, 56, 27);
        QTest::newRow("last the notification, which takes no room")
            << 7 << AccessibleRole::Notification << greeting << true << true << false << QRect();
    }
    void itsChildrenAsTheWindowOpens() {
        QFETCH(int, index);
        QFETCH(AccessibleRole, role);
        QFETCH(QString, name);
        QFETCH(bool, enabled);
        QFETCH(bool, shown);
        QFETCH(bool, live);
        QFETCH(QRect, area);
        Form1 form;
        game::Game game(form);
        runtime::Announcements announcements(form);
        game.Form_Load();
        announcements.captionChanged(form.Lbl_msg);

        const std::vector<runtime::AccessibleNode> children =
            runtime::describeChildren(form, announcements);
        QCOMPARE(children.size(), std::size_t{8});
        const runtime::AccessibleNode& child = children.at(static_cast<std::size_t>(index));
        QCOMPARE(child.role, role);
        QCOMPARE(QString::fromStdString(child.name), name);
        QCOMPARE(child.enabled, enabled);
        QCOMPARE(child.shown, shown);
        QCOMPARE(child.live, live);
        const drawing::DeviceRect& at = child.area;
        QCOMPARE(QRect(at.left, at.top, at.width, at.height), area);
    }

    // Events: "message WORDS" and "title WORDS" write a caption, "shown",
    // "hidden" and "active" are what the window system says. Heard: "EVENT: WORDS".
    void whatIsAnnouncedWhen_data() {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("heard");
        const QString greeting = "さぁ、まずヨポに水を入れましょう。";
        const QString filling = "水を入れています。";
        const QString flood = "大洪水です！！\r\n30年に一度の大洪水です！！";
        QTest::newRow("the greeting, once the window is first active")
            << QStringList{"message " + greeting, "shown", "active", "active"}
            << QStringList{"active: " + greeting};
        QTest::newRow("the greeting to a window active as it is shown")
            << QStringList{"message " + greeting, "active", "shown"}
            << QStringList{"active: " + greeting};
        QTest::newRow("nothing said yet, nothing to tell")
            << QStringList{"shown", "active"} << QStringList{};
        QTest::newRow("each new message at once on a shown window")
            << QStringList{"message " + greeting, "shown", "message 水を入れ始めました。",
                           "message " + filling}
            << QStringList{"message: 水を入れ始めました。", "message: " + filling};
        QTest::newRow("a message heard before the first activation is not told again")
            << QStringList{"shown", "message 水を入れ始めました。", "active"}
            << QStringList{"message: 水を入れ始めました。"};
        QTest::newRow("the same words again are no news")
            << QStringList{"shown", "message " + filling, "message " + filling}
            << QStringList{"message: " + filling};
        QTest::newRow("the flood's message once, not at each shake step")
            << QStringList{"shown", "message " + flood, "message " + flood, "message " + flood}
            << QStringList{"message: 大洪水です！！\n30年に一度の大洪水です！！"};
        QTest::newRow("words said before are news again after others")
            << QStringList{"shown", "message " + filling,
                           "message そろそろ止めていいころじゃないでしょうか。",
                           "message " + filling}
            << QStringList{"message: " + filling,
                           "message: そろそろ止めていいころじゃないでしょうか。",
                           "message: " + filling};
        QTest::newRow("a hidden window holds its words, and says only the latest when seen")
            << QStringList{"shown",
                           "active",
                           "hidden",
                           "message 水を入れ始めました。",
                           "message " + filling,
                           "shown"}
            << QStringList{"shown: " + filling};
        QTest::newRow("the title is no message")
            << QStringList{"shown", "title ヨポの名人"} << QStringList{};
    }
    void whatIsAnnouncedWhen() {
        QFETCH(QStringList, events);
        QFETCH(QStringList, heard);
        Form1 form;
        Label& title = dynamic_cast<Label&>(*form.find("Label1"));
        runtime::Announcements announcements(form);
        QStringList told;
        for (const QString& event : events) {
            const QString kind = event.section(' ', 0, 0);
            const std::string words = event.section(' ', 1).toStdString();
            std::optional<std::string> said;
            if (kind == "message") {
                form.Lbl_msg.setCaption(words);
                said = announcements.captionChanged(form.Lbl_msg);
            } else if (kind == "title") {
                title.setCaption(words);
                said = announcements.captionChanged(title);
            } else if (kind == "shown") {
                said = announcements.windowShown();
            } else if (kind == "hidden") {
                announcements.windowHidden();
            } else {
                said = announcements.windowActivated();
            }
            if (said) {
                told << kind + ": " + QString::fromStdString(*said);
            }
        }
        QCOMPARE(told, heard);
    }
};

QTEST_GUILESS_MAIN(AssistiveTest)
#include "test_assistive.moc"
