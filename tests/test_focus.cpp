// test_focus.cpp: the keyboard among the window's buttons, as every front end
// asks for it: tab order, the first focus, where the focus settles after a
// handler, and which keys press the focused button.
#include "focus.h"
#include "form1.h"

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
        QTest::addColumn<bool>("autoRepeat");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<bool>("pressed");
        QTest::newRow("Space") << runtime::Key::Space << false << "Command1" << true;
        QTest::newRow("Enter") << runtime::Key::Enter << false << "Command1" << true;
        QTest::newRow("Enter held: once, not at every repeat")
            << runtime::Key::Enter << true << "Command1" << false;
        QTest::newRow("Space held: once, not at every repeat")
            << runtime::Key::Space << true << "Command1" << false;
        QTest::newRow("any other key") << runtime::Key::Other << false << "Command1" << false;
        QTest::newRow("the window has the focus: nothing")
            << runtime::Key::Enter << false << "" << false;
        QTest::newRow("a greyed button that still has it: nothing")
            << runtime::Key::Enter << false << "Command2" << false;
    }
    void whichKeysPress() {
        QFETCH(runtime::Key, key);
        QFETCH(bool, autoRepeat);
        QFETCH(QString, focused);
        QFETCH(bool, pressed);
        Form1 form;
        form.Command2.setEnabled(false);
        const CommandButton* has = button(form, focused);
        QCOMPARE(runtime::pressedBy(key, autoRepeat, has), pressed ? has : nullptr);
    }
};

QTEST_GUILESS_MAIN(FocusTest)
#include "test_focus.moc"
