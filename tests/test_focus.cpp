// test_focus.cpp: the keyboard among the window's buttons, as every front end
// asks for it: tab order, the first focus, where the focus settles after a
// handler, and which keys press the focused button, once however long held.
#include "focus.h"
#include "form1.h"
#include "keys.h"

#include <QTest>

using namespace forms;

namespace {

// A button by name; "" is the window itself.
const CommandButton* button(const Form1& form, const QString& name) {
    return name.isEmpty() ? nullptr
                          : dynamic_cast<const CommandButton*>(form.find(name.toStdString()));
}

QString nameOf(const CommandButton* button) {
    return button ? QString::fromStdString(button->name()) : QString();
}

// Greys the buttons in `disabled`, shows the hidden 次へ when asked to.
void set(Form1& form, const QStringList& disabled, bool nextShown) {
    for (CommandButton* each : {&form.Command1, &form.Command2, &form.Command3}) {
        each->setEnabled(!disabled.contains(QString::fromStdString(each->name())));
    }
    form.Command3.setVisible(nextShown);
}

} // namespace

class FocusTest : public QObject {
    Q_OBJECT

private slots:
    void tabOrderIsByTabIndexNotTheFormsOrder() {
        Form1 form;
        QStringList order;
        for (const CommandButton* each : runtime::tabOrder(form)) {
            order << nameOf(each);
        }
        QCOMPARE(order, (QStringList{"Command1", "Command2", "Command3"}));
    }

    void theFirstFocus_data() {
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<QString>("focused");
        QTest::newRow("as the window opens: the tap") << QStringList{} << "Command1";
        QTest::newRow("the tap greyed: the next that can act")
            << QStringList{"Command1"} << "Command2";
        QTest::newRow("nothing can act, the hidden next neither: the window")
            << QStringList{"Command1", "Command2"} << "";
    }
    void theFirstFocus() {
        QFETCH(QStringList, disabled);
        QFETCH(QString, focused);
        Form1 form;
        set(form, disabled, false);
        QCOMPARE(nameOf(runtime::firstFocus(form)), focused);
    }

    void theFocusAfterAHandler_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<bool>("nextShown");
        QTest::addColumn<QString>("settled");
        QTest::newRow("a button that can still act keeps it")
            << "Command1" << QStringList{"Command2"} << false << "Command1";
        QTest::newRow("closing the tap: on to the fire")
            << "Command1" << QStringList{"Command1"} << false << "Command2";
        QTest::newRow("past a greyed button to the next shown")
            << "Command1" << QStringList{"Command1", "Command2"} << true << "Command3";
        QTest::newRow("past the hidden next, round to the start")
            << "Command2" << QStringList{"Command2"} << false << "Command1";
        QTest::newRow("the report: nothing can act, the window")
            << "Command3" << QStringList{"Command1", "Command2", "Command3"} << true << "";
    }
    void theFocusAfterAHandler() {
        QFETCH(QString, before);
        QFETCH(QStringList, disabled);
        QFETCH(bool, nextShown);
        QFETCH(QString, settled);
        Form1 form;
        set(form, disabled, nextShown);
        QCOMPARE(nameOf(runtime::settledFocus(form, *button(form, before))), settled);
    }

    void whichKeysPress_data() {
        QTest::addColumn<runtime::Key>("key");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<bool>("pressed");
        QTest::newRow("Space") << runtime::Key::Space << "Command1" << true;
        QTest::newRow("Enter") << runtime::Key::Enter << "Command1" << true;
        QTest::newRow("any other key") << runtime::Key::Other << "Command1" << false;
        QTest::newRow("the window has the focus: nothing") << runtime::Key::Enter << "" << false;
        QTest::newRow("a greyed button that still has it: nothing")
            << runtime::Key::Enter << "Command2" << false;
    }
    void whichKeysPress() {
        QFETCH(runtime::Key, key);
        QFETCH(QString, focused);
        QFETCH(bool, pressed);
        Form1 form;
        form.Command2.setEnabled(false);
        const CommandButton* has = button(form, focused);
        runtime::Keys keys;
        QCOMPARE(keys.down(key, 0, has), pressed ? has : nullptr);
    }

    // Each row is what the platform reports of one key, in order: 'd' a
    // down, 'u' an up, each at the time after it (none: the event has no
    // time); the count is how many of the downs press.
    void aKeyHeldDownPressesOnce_data() {
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<int>("presses");
        QTest::newRow("held, repeats as more downs (Windows, the web)")
            << QStringList{"d0", "d500", "d533", "d566", "u600"} << 1;
        QTest::newRow("held, repeats as ups and downs at one moment (X)")
            << QStringList{"d0", "u500", "d500", "u533", "d533", "u600"} << 1;
        QTest::newRow("tapped twice, quick as a finger goes")
            << QStringList{"d0", "u60", "d90"} << 2;
        QTest::newRow("tapped twice, quick as a program types")
            << QStringList{"d0", "u1", "d2", "u3"} << 2;
        QTest::newRow("synthetic taps without a time") << QStringList{"d", "u", "d", "u"} << 2;
        QTest::newRow("synthetic repeats without a time") << QStringList{"d", "d", "d"} << 1;
        QTest::newRow("a clock that wrapped between up and down")
            << QStringList{"d4294967290", "u4294967295", "d3"} << 2;
        QTest::newRow("let go while the window was away: the next down presses")
            << QStringList{"d0", "lost", "d5000"} << 2;
    }
    void aKeyHeldDownPressesOnce() {
        QFETCH(QStringList, reported);
        QFETCH(int, presses);
        Form1 form;
        for (const runtime::Key key : {runtime::Key::Space, runtime::Key::Enter}) {
            runtime::Keys keys;
            int pressed = 0;
            for (const QString& event : reported) {
                const std::optional<runtime::Milliseconds> at =
                    event.size() > 1 && event != "lost" ? std::optional(event.mid(1).toLongLong())
                                                        : std::nullopt;
                if (event == "lost") {
                    keys.letGo();
                } else if (event.startsWith('d')) {
                    pressed += keys.down(key, at, &form.Command1) != nullptr ? 1 : 0;
                } else {
                    keys.up(key, at);
                }
            }
            QCOMPARE(pressed, presses);
        }
    }
};

QTEST_GUILESS_MAIN(FocusTest)
#include "test_focus.moc"
