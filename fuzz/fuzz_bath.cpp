// fuzz_bath.cpp: any bytes as a kept bath. A record taken is one play could
// have left: written again, it reads the same, and taken up in a fresh
// window it plays on without a run-time error.
#include "bath_keeper.h"
#include "headless_runtime.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Enough for the shake to step both ways and the water to pass a threshold.
constexpr int kTicksAfter = 64;

// The same record with its check made anew: random changes almost never
// keep a CRC right, and what lies behind the check must be fuzzed too.
std::string resealed(std::string_view bytes) {
    std::string body(bytes.substr(0, bytes.rfind("check ")));
    char check[32];
    std::snprintf(check, sizeof check, "check %zu %08x\n", body.size(),
                  static_cast<unsigned>(runtime::crc32(body)));
    return body + check;
}

void takeUp(std::string_view bytes) {
    const auto read = runtime::readBath(bytes);
    const auto* bath = std::get_if<runtime::BathRecord>(&read);
    if (bath == nullptr) {
        if (std::get<runtime::Refusal>(read).reason.empty()) {
            std::abort();
        }
        return;
    }
    const auto again = runtime::readBath(runtime::writeBath(*bath));
    if (!std::holds_alternative<runtime::BathRecord>(again) ||
        std::get<runtime::BathRecord>(again) != *bath) {
        std::abort();
    }
    forms::Form1 form;
    game::Game game(form);
    front::headless::HeadlessRuntime player(form, game);
    player.start();
    player.setClock(bath->made);
    runtime::resumeBath(*bath, form, game, player, bath->made);
    for (int i = 0; i < kTicksAfter && player.tick(); ++i) {
    }
    if (player.error()) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    takeUp(bytes);
    takeUp(resealed(bytes));
    return 0;
}
