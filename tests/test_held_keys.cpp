// test_held_keys.cpp: on a real X server, a player who holds Return or Space
// on the tap's button for three seconds opens the tap, and nothing more,
// however X and Qt report the key's repeats.
#include "game_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QTest>

namespace {

constexpr int kHoldMs = 3000;
// X repeats a held key some 25 times a second; far fewer means none came,
// and the test would prove nothing.
constexpr int kFewestRepeats = 20;

// Counts the key's presses as Qt delivers them to the window.
class PressCounter : public QObject {
public:
    explicit PressCounter(int key) : m_key(key) { qApp->installEventFilter(this); }
    ~PressCounter() override { qApp->removeEventFilter(this); }
    int presses() const { return m_presses; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
            static_cast<QKeyEvent*>(event)->key() == m_key) {
            ++m_presses;
        }
        return false;
    }

private:
    int m_key;
    int m_presses = 0;
};

// xdotool, through the X server's test extension, as a real keyboard types.
bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace

class HeldKeysTest : public QObject {
    Q_OBJECT

private slots:
    void aHeldKeyPressesOnce_data() {
        QTest::addColumn<QString>("keyName");
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << "Return" << int(Qt::Key_Return);
        QTest::newRow("Space") << "space" << int(Qt::Key_Space);
    }
    void aHeldKeyPressesOnce() {
        QFETCH(QString, keyName);
        QFETCH(int, key);
        GameWindow window(GameWindow::Clock::Held);
        window.view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window.view));
        QCOMPARE(window.view.focusWidget(), window.button(window.form.Command1));
        PressCounter counter(key);
        QVERIFY(xdotool({"keydown", keyName}));
        QTest::qWait(kHoldMs);
        QVERIFY(xdotool({"keyup", keyName}));
        QTest::qWait(200);
        QVERIFY2(counter.presses() >= kFewestRepeats,
                 qPrintable(QString::number(counter.presses())));
        // The tap is open; a second press would have closed it.
        QCOMPARE(window.game.state().Phase, 1);
        QCOMPARE(window.button(window.form.Command1)->text(), QString("水を止める"));
    }
};

QTEST_MAIN(HeldKeysTest)
#include "test_held_keys.moc"
