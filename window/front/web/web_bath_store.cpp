// web_bath_store.cpp: the page keeps the bath's bytes; the core decides when.
#include "web_bath_store.h"

#include "page.h"

#include <cmath>

namespace front::web {

std::optional<std::string> WebBathStore::fetch() {
    // One byte more than any record, so that a larger one is refused unread.
    return page::fetchBath(runtime::kLargestRecord + 1);
}

bool WebBathStore::store(std::string_view bytes) {
    return page::storeBath(bytes);
}

void WebBathStore::drop() {
    page::dropBath();
}

void WebBathStore::setAside() {
    page::setAsideBath();
}

void WebBathStore::say(std::string_view line) {
    page::say(line);
}

runtime::WallClock WebBathStore::wallNow() const {
    return static_cast<runtime::WallClock>(std::floor(page::wallNow()));
}

} // namespace front::web
