// stand_in_portal.cpp: stands in for xdg-desktop-portal and its GNOME or KDE
// back end on a test's own session bus, in a process of its own as the real
// one is: the Settings interface at the portal's name and path, holding the
// settings given as arguments ("group/key=b:false", "d:0", "s:0"). Each line
// on standard input in the same form changes a setting, as the player would
// in the desktop's own settings. Says "ready" once it owns the name; ends
// with its standard input.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVariant>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {

class StandInPortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    // "group/key=b:true": false if the line is not a setting.
    bool set(const QString& line, bool tell) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const qsizetype slash = line.lastIndexOf(QLatin1Char('/'), equals);
        if (equals < 0 || slash < 0 || line.mid(equals + 2, 1) != QLatin1String(":")) {
            return false;
        }
        const QString text = line.mid(equals + 3);
        QVariant value = text;
        if (line[equals + 1] == QLatin1Char('b')) {
            value = text == QLatin1String("true");
        } else if (line[equals + 1] == QLatin1Char('d')) {
            value = text.toDouble();
        }
        const QString group = line.left(slash);
        const QString key = line.mid(slash + 1, equals - slash - 1);
        m_settings[group + QLatin1Char('/') + key] = value;
        if (tell) {
            emit SettingChanged(group, key, QDBusVariant(value));
        }
        return true;
    }

public slots:
    // Like the real one, Read wraps each value in one variant more than
    // SettingChanged does.
    QDBusVariant Read(const QString& group, const QString& key) {
        const auto found = m_settings.constFind(group + QLatin1Char('/') + key);
        if (found == m_settings.constEnd()) {
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                           QStringLiteral("Requested setting not found"));
            return {};
        }
        return QDBusVariant(QVariant::fromValue(QDBusVariant(*found)));
    }

signals:
    // NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name): moc names them.
    void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    QVariantMap m_settings;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    StandInPortal portal;
    for (const QString& setting : QCoreApplication::arguments().mid(1)) {
        if (!portal.set(setting, false)) {
            std::fprintf(stderr, "stand_in_portal: not a setting: %s\n", qPrintable(setting));
            return 2;
        }
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fprintf(stderr, "stand_in_portal: cannot take the portal's place on the bus\n");
        return 1;
    }
    QByteArray pending;
    QSocketNotifier lines(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&lines, &QSocketNotifier::activated, &app, [&] {
        char chunk[256];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending.append(chunk, got);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            portal.set(QString::fromUtf8(pending.left(end)), true);
        }
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "stand_in_portal.moc"
