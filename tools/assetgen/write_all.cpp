#include "assets.h"

#include <QDir>
#include <QSaveFile>

#include <exception>
#include <functional>
#include <utility>
#include <vector>

namespace assetgen {

QString writeAll(const QString& dir) {
    const QDir target(dir);
    if (!target.exists()) {
        return QStringLiteral("no such folder: %1").arg(dir);
    }
    std::vector<std::pair<QString, std::function<QByteArray()>>> files = {
        {QString::fromLatin1(kIconFile), iconFile},
        {QString::fromLatin1(kWordFile), wordPictureFile},
        {QString::fromLatin1(kPortraitFile), portraitFile},
    };
    for (int size : kThemeIconSizes) {
        files.emplace_back(themeIconFileName(size), [size] { return themeIconFile(size); });
    }
    for (const auto& [name, make] : files) {
        const QString path = target.filePath(name);
        QByteArray bytes;
        try {
            bytes = make();
        } catch (const std::exception& e) {
            return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(e.what()));
        }
        // Written whole or not at all, so a failed run never leaves a torn asset.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.commit()) {
            return QStringLiteral("%1: %2").arg(path, file.errorString());
        }
    }
    return {};
}

} // namespace assetgen
