// web_bath_store.h: the bath kept in the page's storage (localStorage,
// written at once, so that it is there before the tab is discarded).
#pragma once

#include "bath_keeper.h"

namespace front::web {

class WebBathStore : public runtime::BathStore {
public:
    std::optional<std::string> fetch() override;
    bool store(std::string_view bytes) override;
    void drop() override;
    void setAside() override;
    void say(std::string_view line) override;
    runtime::WallClock wallNow() const override;
};

} // namespace front::web
