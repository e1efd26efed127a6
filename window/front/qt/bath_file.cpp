// bath_file.cpp: the kept bath as a file, written whole or not at all.
#include "bath_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace front::qt {

namespace {

QString stateFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative path is ignored, as the XDG base directories are read
    // everywhere.
    if (!state.isEmpty() && QDir::isAbsolutePath(state)) {
        return state;
    }
    return QDir::homePath() + QStringLiteral("/.local/state");
}

} // namespace

BathFile::BathFile() : m_path(stateFolder() + QStringLiteral("/yopo/bath")) {}

std::optional<std::string> BathFile::fetch() {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // One byte more than any record, so that a larger file is refused unread.
    const QByteArray bytes = file.read(runtime::kLargestRecord + 1);
    return bytes.toStdString();
}

bool BathFile::store(std::string_view bytes) {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size()) &&
           file.commit();
}

void BathFile::drop() {
    QFile::remove(m_path);
}

void BathFile::setAside() {
    const QString bad = QFileInfo(m_path).absolutePath() + QStringLiteral("/bath.bad");
    QFile::remove(bad);
    if (!QFile::rename(m_path, bad)) {
        QFile::remove(m_path);
    }
}

void BathFile::say(std::string_view line) {
    std::fprintf(stderr, "yopo: %.*s\n", static_cast<int>(line.size()), line.data());
    std::fflush(stderr);
}

runtime::WallClock BathFile::wallNow() const {
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace front::qt
