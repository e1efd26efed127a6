// test_keyboard.cpp: the whole game with the keyboard alone: Tab between the
// buttons that can act, Space or Enter to press, and the focus never left
// behind on a button that has just been disabled or hidden.
#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "game_window.h"
#include "qt_runtime.h"

#include <QApplication>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>

using namespace forms;
using namespace front::qt;

namespace {

struct Window : GameWindow {
    Window() : GameWindow(Clock::Held) { view.activateWindow(); }

    QWidget* focus() const { return view.focusWidget(); }
    // A key goes to whatever has the focus, as the platform sends it.
    void press(Qt::Key key) {
        QTest::keyClick(view.focusWidget() ? view.focusWidget() : &view, key);
        settle();
    }
    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            runtime.raiseTick(form.Timer1);
        }
        settle();
    }
    // Lets the focus settle once the handler is over.
    static void settle() { QCoreApplication::processEvents(); }
};

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

    void tabVisitsTheButtonsThatCanActInTabOrder_data() {
        QTest::addColumn<int>("fillTicks");
        QTest::addColumn<QStringList>("visited");
        QTest::newRow("at the start: the tap and the fire, not the hidden next")
            << -1 << QStringList{"Command2", "Command1", "Command2"};
        QTest::newRow("with the tap running: the fire is disabled")
            << 0 << QStringList{"Command1", "Command1"};
    }
    void tabVisitsTheButtonsThatCanActInTabOrder() {
        QFETCH(int, fillTicks);
        QFETCH(QStringList, visited);
        Window window;
        if (fillTicks >= 0) {
            window.press(Qt::Key_Space);
            window.ticks(fillTicks);
        }
        QCOMPARE(window.focus(), window.button(window.form.Command1));
        QStringList seen;
        for (int i = 0; i < visited.size(); ++i) {
            window.press(Qt::Key_Tab);
            seen << (window.focus() ? window.focus()->objectName() : QString());
        }
        QCOMPARE(seen, visited);
    }

    void spaceAndEnterPressTheFocusedButton_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Space") << Qt::Key_Space;
        QTest::newRow("Enter") << Qt::Key_Return;
        QTest::newRow("Enter on the keypad") << Qt::Key_Enter;
    }
    void spaceAndEnterPressTheFocusedButton() {
        QFETCH(Qt::Key, key);
        Window window;
        window.press(key);
        QCOMPARE(window.game.state().Phase, 1);
        QCOMPARE(window.button(window.form.Command1)->text(), QString("水を止める"));
    }

    void holdingEnterPressesOnce() {
        Window window;
        QKeyEvent first(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString("\r"), false);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString("\r"), true);
        QApplication::sendEvent(window.focus(), &first);
        QApplication::sendEvent(window.focus(), &repeat);
        QApplication::sendEvent(window.focus(), &repeat);
        // One press opened the tap; a second would have closed it again.
        QCOMPARE(window.game.state().Phase, 1);
    }

    // The style draws the focus frame for a window the keyboard has been
    // used in; a player pressing Space or Enter sees where the focus went.
    void keyboardPlayersSeeTheFocusFrame_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("after Space") << Qt::Key_Space;
        QTest::newRow("after Enter") << Qt::Key_Return;
        QTest::newRow("after Tab") << Qt::Key_Tab;
    }
    void keyboardPlayersSeeTheFocusFrame() {
        QFETCH(Qt::Key, key);
        Window window;
        QVERIFY(QTest::qWaitForWindowActive(&window.view));
        window.press(key);
        QStyleOptionButton option;
        option.initFrom(window.focus());
        QVERIFY(option.state & QStyle::State_HasFocus);
        QVERIFY(option.state & QStyle::State_KeyboardFocusChange);
    }

    void enterOnTheWindowPressesNothing() {
        Window window;
        window.view.setFocus();
        QTest::keyClick(&window.view, Qt::Key_Return);
        QCOMPARE(window.game.state().Phase, 0);
    }

    // The focus never stays on a button that cannot act: it goes on to the
    // next one that can, once the handler is over, or to the window.
    void theFocusMovesOnFromAButtonThatCannotAct_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("focusedAfter");
        QTest::newRow("closing the tap: on to the fire") << "close"
                                                         << "Command2";
        QTest::newRow("judging: on to the newly shown next") << "judge"
                                                             << "Command3";
        QTest::newRow("the report: nothing can act, the window") << "report"
                                                                 << "Form";
        QTest::newRow("a flood from the timer: the window") << "flood"
                                                            << "Form";
        QTest::newRow("a scald from the timer: the window") << "scald"
                                                            << "Form";
    }
    void theFocusMovesOnFromAButtonThatCannotAct() {
        QFETCH(QString, what);
        QFETCH(QString, focusedAfter);
        Window window;
        Form1& form = window.form;
        window.press(Qt::Key_Space); // the tap opens
        if (what == "flood") {
            window.ticks(500);
        } else {
            window.ticks(293);
            window.press(Qt::Key_Space); // the tap closes
        }
        if (what == "judge" || what == "report" || what == "scald") {
            window.press(Qt::Key_Space); // the fire is lit
            window.ticks(what == "scald" ? 100 : 45);
        }
        if (what == "judge" || what == "report") {
            window.press(Qt::Key_Space); // the fire is stopped and the bath judged
        }
        if (what == "report") {
            window.press(Qt::Key_Space); // next: the report
        }
        QWidget* expected = focusedAfter == "Form"
                                ? static_cast<QWidget*>(&window.view)
                                : window.view.findChild<QPushButton*>(focusedAfter);
        QCOMPARE(window.focus(), expected);
        for (const CommandButton* button : {&form.Command1, &form.Command2, &form.Command3}) {
            if (window.focus() == window.button(*button)) {
                QVERIFY(button->canBeClicked());
            }
        }
    }

    void aWholeGameWithTheKeyboardAlone() {
        Window window;
        window.press(Qt::Key_Space);  // 水を入れる
        window.ticks(293);            // 1600 twips of water
        window.press(Qt::Key_Return); // 水を止める
        QCOMPARE(window.focus(), window.button(window.form.Command2));
        window.press(Qt::Key_Space);  // 沸かす
        window.ticks(45);             // 45 degrees
        window.press(Qt::Key_Return); // 完了！
        QCOMPARE(window.focus(), window.button(window.form.Command3));
        window.press(Qt::Key_Space); // 次へ
        QVERIFY(window.form.Lbl_msg.caption().starts_with("あなたの「ヨポの達人度」"));
        QVERIFY(window.form.Lbl_msg.caption().find("総合的ヨポの達人度：") != std::string::npos);
        QCOMPARE(window.focus(), &window.view);
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
