// hand.cpp: the player's hand where the compositor has no seat to click with.
// Loaded into the game as a Qt generic plugin (QT_QPA_GENERIC_PLUGINS=
// yopohand:Command1), it clicks the named button with the mouse as soon as
// the window shows it enabled, once, and says so on stdout for the test to
// know that the game is under way.
#include <QApplication>
#include <QGenericPlugin>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

constexpr int kLookEveryMs = 20;

class Hand : public QObject {
public:
    explicit Hand(QString button) : m_button(std::move(button)) {
        auto* look = new QTimer(this);
        connect(look, &QTimer::timeout, this, [this, look] {
            if (clickIfShown()) {
                look->stop();
            }
        });
        look->start(kLookEveryMs);
    }

private:
    bool clickIfShown() const {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* button = window->findChild<QPushButton*>(m_button);
            const QWindow* surface = window->windowHandle();
            if (button != nullptr && button->isVisible() && button->isEnabled() &&
                surface != nullptr && surface->isExposed()) {
                QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
                std::printf("yopohand: clicked %s\n", qPrintable(m_button));
                std::fflush(stdout);
                return true;
            }
        }
        return false;
    }

    QString m_button;
};

} // namespace

class HandPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "hand.json")

public:
    QObject* create(const QString& key, const QString& buttonName) override {
        return key == QLatin1String("yopohand") ? new Hand(buttonName) : nullptr;
    }
};

#include "hand.moc"
