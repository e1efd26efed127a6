// json.h: the one way the programs write JSON: the state line yopo-headless
// prints and the page reads, and the view the page lays out, so that a
// string or a number reads the same from either.
#pragma once

#include <string>
#include <string_view>

namespace runtime {

// A JSON string: quotes, backslashes and control characters escaped, every
// other byte as it is.
std::string jsonString(std::string_view value);

// The shortest text that reads back as the same number, fixed or with an
// exponent, whichever is shorter (fixed if neither is), as std::to_chars
// writes it, the same on every platform.
std::string jsonNumber(double value);
std::string jsonNumber(float value);

// Builds one JSON object, keys in the order they are added.
class JsonObject {
public:
    JsonObject& number(const char* key, double value) { return raw(key, jsonNumber(value)); }
    JsonObject& single(const char* key, float value) { return raw(key, jsonNumber(value)); }
    JsonObject& integer(const char* key, long long value) {
        return raw(key, std::to_string(value));
    }
    JsonObject& boolean(const char* key, bool value) { return raw(key, value ? "true" : "false"); }
    JsonObject& string(const char* key, std::string_view value) {
        return raw(key, jsonString(value));
    }
    JsonObject& raw(const char* key, const std::string& json) {
        m_text += m_text.empty() ? "{" : ",";
        m_text += jsonString(key) + ":" + json;
        return *this;
    }
    std::string text() const { return m_text.empty() ? "{}" : m_text + "}"; }

private:
    std::string m_text;
};

} // namespace runtime
