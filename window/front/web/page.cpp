// page.cpp: the calls into the page's script.
#include "page.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <string>

// clang-format off
EM_JS(void, yopo_page_wake_at, (int set, double when), {
    Module["page"].wakeAt(set ? when : null);
});

EM_JS(double, yopo_page_advance, (const char* line, int pixels, int bold), {
    return Module["page"].advance(UTF8ToString(line), pixels, bold !== 0);
});
EM_JS(int, yopo_page_bath_length, (), {
    const text = Module["page"].fetchBath();
    return text === null ? -1 : lengthBytesUTF8(text);
});

EM_JS(void, yopo_page_bath_copy, (char* into, int most), {
    stringToUTF8(Module["page"].fetchBath() || "", into, most + 1);
});

EM_JS(int, yopo_page_store_bath, (const char* bytes), {
    return Module["page"].storeBath(UTF8ToString(bytes)) ? 1 : 0;
});

EM_JS(void, yopo_page_drop_bath, (), {
    Module["page"].dropBath();
});

EM_JS(void, yopo_page_set_aside_bath, (), {
    Module["page"].setAsideBath();
});

EM_JS(void, yopo_page_say, (const char* line), {
    Module["page"].say(UTF8ToString(line));
});

EM_JS(double, yopo_page_wall_now, (), {
    return Date.now();
});
// clang-format on

namespace front::web::page {

double now() {
    return emscripten_get_now();
}

void wakeAt(std::optional<double> when) {
    // A bath taken up after a long while away has ticks due long before
    // the page began: a time below zero is a time all the same.
    yopo_page_wake_at(when ? 1 : 0, when.value_or(0));
}

double advance(std::string_view line, int pixels, bool bold) {
    return yopo_page_advance(std::string(line).c_str(), pixels, bold ? 1 : 0);
}

std::optional<std::string> fetchBath(std::size_t most) {
    const int length = yopo_page_bath_length();
    if (length < 0) {
        return std::nullopt;
    }
    // Cut at `most` bytes, which is still more than any record.
    std::string bytes(std::min(static_cast<std::size_t>(length), most), '\0');
    yopo_page_bath_copy(bytes.data(), static_cast<int>(bytes.size()));
    return bytes;
}

bool storeBath(std::string_view bytes) {
    return yopo_page_store_bath(std::string(bytes).c_str()) != 0;
}

void dropBath() {
    yopo_page_drop_bath();
}

void setAsideBath() {
    yopo_page_set_aside_bath();
}

void say(std::string_view line) {
    yopo_page_say(std::string(line).c_str());
}

double wallNow() {
    return yopo_page_wall_now();
}

} // namespace front::web::page
