// variant.h: a value that carries its type, as the scores are kept.
#pragma once

#include "arithmetic.h"

#include <string>

namespace game {

class Variant {
public:
    enum class Type { Empty, Integer, Single, Double };

    Variant() = default;
    static Variant integer(Integer value) { return Variant(Type::Integer, value); }
    static Variant single(Single value) { return Variant(Type::Single, value); }
    static Variant real(double value) { return Variant(Type::Double, value); }

    Type type() const { return m_type; }
    bool isEmpty() const { return m_type == Type::Empty; }
    // The numeric value; Empty counts as 0.
    double value() const { return m_value; }

    // The text the runtime makes of it: an Empty is "", a whole number its
    // plain digits, a Single to 7 significant digits and a Double to 15.
    std::string toText() const;

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    Variant(Type type, double value) : m_type(type), m_value(value) {}

    Type m_type = Type::Empty;
    double m_value = 0;
};

const char* typeName(Variant::Type type);

} // namespace game
