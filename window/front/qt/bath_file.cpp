// bath_file.cpp: the kept bath as a file, written whole or not at all.
#include "bath_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

BathFile::~BathFile() {
    closeRecord();
}

std::optional<std::string> BathFile::fetch() {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // One byte more than any record, so that a larger file is refused unread.
    QByteArray bytes = file.read(runtime::kLargestRecord + 1);
    // The padding after a shorter record (store()) is no part of it.
    if (const qsizetype padding = bytes.indexOf('\0'); padding >= 0) {
        bytes.truncate(padding);
    }
    return bytes.toStdString();
}

bool BathFile::store(std::string_view bytes) {
    if (bytes.size() > runtime::kLargestRecord) {
        return false;
    }
    const std::optional<std::size_t> length = openRecord();
    if (!length) {
        return false;
    }
    // Written over the record before, in place, by one write into the first
    // page of a file kept open: a killed program leaves the old record or the
    // new one, never half of one. (A temporary file renamed over the record
    // at each tick cost the idle game a wake-up: the file system writes a
    // renamed file out at once.) A shorter record is padded with NULs to the
    // file's length, since cutting the file after the write would be a second
    // step a kill could split. No fsync either: a record a power cut has torn
    // fails its check and is set aside.
    std::string padded(bytes);
    padded.resize(std::max(bytes.size(), *length), '\0');
    return ::pwrite(m_fd, padded.data(), padded.size(), 0) == static_cast<ssize_t>(padded.size());
}

std::optional<std::size_t> BathFile::openRecord() {
    const QByteArray path = QFile::encodeName(m_path);
    struct stat kept {};
    // Another window of the game may have ended its bath, and the file with
    // it: this one is kept in a file of its own again.
    if (m_fd >= 0) {
        struct stat onDisk {};
        if (::stat(path.constData(), &onDisk) != 0 || ::fstat(m_fd, &kept) != 0 ||
            onDisk.st_dev != kept.st_dev || onDisk.st_ino != kept.st_ino) {
            closeRecord();
        }
    }
    if (m_fd < 0) {
        QDir().mkpath(QFileInfo(m_path).absolutePath());
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0 || ::fstat(m_fd, &kept) != 0) {
            closeRecord();
            return std::nullopt;
        }
    }
    return static_cast<std::size_t>(kept.st_size);
}

void BathFile::closeRecord() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void BathFile::drop() {
    closeRecord();
    QFile::remove(m_path);
}

void BathFile::setAside() {
    closeRecord();
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
