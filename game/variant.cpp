// variant.cpp: a Variant's text.
#include "variant.h"

#include <cstdio>

namespace game {

std::string Variant::toText() const {
    char text[32];
    switch (m_type) {
    case Type::Empty:
        return {};
    case Type::Integer:
        return std::to_string(static_cast<Integer>(m_value));
    case Type::Single:
        std::snprintf(text, sizeof text, "%.7G", m_value);
        return text;
    case Type::Double:
        std::snprintf(text, sizeof text, "%.15G", m_value);
        return text;
    }
    return {};
}

const char* typeName(Variant::Type type) {
    switch (type) {
    case Variant::Type::Empty:
        return "Empty";
    case Variant::Type::Integer:
        return "Integer";
    case Variant::Type::Single:
        return "Single";
    case Variant::Type::Double:
        return "Double";
    }
    return "";
}

} // namespace game
