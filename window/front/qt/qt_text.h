// qt_text.h: the model's UTF-8 text as Qt's.
#pragma once

#include <QString>

#include <string_view>

namespace front::qt {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace front::qt
