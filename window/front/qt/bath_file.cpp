// bath_file.cpp: the kept bath as a file, written whole or not at all.
#include "bath_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    if (!m_folderMade) {
        m_folderMade = QDir().mkpath(QFileInfo(m_path).absolutePath());
    }
    // Written whole beside the record, then renamed over it: the rename is
    // atomic, so the folder holds the old record or the new one. No fsync at
    // each tick, whose cost and wake-ups would show in the idle game; a
    // record a power cut has torn fails its check and is set aside.
    const QString temporary = m_path + QStringLiteral(".new");
    QFile file(temporary);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                             static_cast<qint64>(bytes.size()) &&
                         file.flush();
    file.close();
    return written && std::rename(QFile::encodeName(temporary).constData(),
                                  QFile::encodeName(m_path).constData()) == 0;
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
