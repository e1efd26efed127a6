// run_time_error.cpp: wording of the runtime's errors.
#include "run_time_error.h"

namespace forms {

namespace {

const char* englishName(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::Overflow:
        return "overflow";
    case ErrorNumber::DivisionByZero:
        return "division by zero";
    case ErrorNumber::InvalidPropertyValue:
        return "invalid property value";
    }
    return "error";
}

} // namespace

RunTimeError::RunTimeError(ErrorNumber number, std::string where)
    : std::runtime_error("run-time error " + std::to_string(static_cast<int>(number)) + ": " +
                         englishName(number) + " (" + where + ")"),
      m_number(number), m_where(std::move(where)) {}

std::string RunTimeError::description() const {
    switch (m_number) {
    case ErrorNumber::Overflow:
        return "オーバーフローしました。";
    case ErrorNumber::DivisionByZero:
        return "0 で除算しました。";
    case ErrorNumber::InvalidPropertyValue:
        return "プロパティの値が不正です。";
    }
    return {};
}

std::string RunTimeError::report() const {
    return "実行時エラー '" + std::to_string(static_cast<int>(m_number)) + "':\n\n" +
           description() + "\n(" + m_where + ")";
}

} // namespace forms
