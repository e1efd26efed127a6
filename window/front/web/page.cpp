// page.cpp: the calls into the page's script.
#include "page.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <string>

// clang-format off
EM_JS(void, yopo_page_wake_at, (double when), {
    Module["page"].wakeAt(when < 0 ? null : when);
});

EM_JS(double, yopo_page_advance, (const char* line, int pixels, int bold), {
    return Module["page"].advance(UTF8ToString(line), pixels, bold !== 0);
});
// clang-format on

namespace front::web::page {

double now() {
    return emscripten_get_now();
}

void wakeAt(std::optional<double> when) {
    yopo_page_wake_at(when ? *when : -1);
}

double advance(std::string_view line, int pixels, bool bold) {
    return yopo_page_advance(std::string(line).c_str(), pixels, bold ? 1 : 0);
}

} // namespace front::web::page
