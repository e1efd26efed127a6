// headless.cpp: how fast the virtual clock plays ヨポ.
//
//   yopo-bench-headless [RUNS]
//
// Times a whole flooded game and an hour of the shake after it, replayed by
// the script runner, against the baseline: the headless runtime alone
// delivering the same ticks to handlers that do nothing. Then shakes for days
// after a flood and after a scald and times each day, with the heap in use at
// the end of it, to show that neither the pace nor the memory drifts.
#include "game.h"
#include "headless_runtime.h"
#include "script.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr long long kHour = 3600LL * 1000;
constexpr long long kDay = 24 * kHour;
// The shake's steps in a day, each a tick of the timer.
constexpr long long kStepsADay = kDay / game::kShakeInterval;
constexpr int kFloodTicks = 408;

const char* const kFloodAndAnHour = "click Command1\n"
                                    "tick 408\n"
                                    "wait 3600000\n"
                                    "state\n";

double floodAndAnHour() {
    std::istringstream script(kFloodAndAnHour);
    std::ostringstream out, err;
    const auto begun = Clock::now();
    const int status = replay::runScript(script, out, err);
    const double ms = Ms(Clock::now() - begun).count();
    if (status != replay::kScriptDone) {
        std::fprintf(stderr, "yopo-bench-headless: the script failed: %s", err.str().c_str());
        std::exit(1);
    }
    return ms;
}

// Handlers that do nothing but keep the game's pace: 408 ticks of six
// seconds, then the shake's 50 ms for an hour.
struct Idle : forms::FormEvents {
    void load() override {}
    void click(const forms::CommandButton&) override {}
    void tick(const forms::Timer&) override {}
};

double runtimeAlone() {
    const auto begun = Clock::now();
    forms::Form1 form;
    Idle idle;
    front::headless::HeadlessRuntime runtime(form, idle);
    runtime.start();
    form.Timer1.setEnabled(true);
    for (int i = 0; i < kFloodTicks; ++i) {
        runtime.tick();
    }
    form.Timer1.setInterval(game::kShakeInterval);
    runtime.wait(kHour);
    return Ms(Clock::now() - begun).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void shakeForDays(const char* what, void (*catastrophe)(forms::Form1&, game::Game&,
                                                        front::headless::HeadlessRuntime&)) {
    forms::Form1 form;
    game::Game game(form);
    front::headless::HeadlessRuntime runtime(form, game);
    runtime.start();
    catastrophe(form, game, runtime);
    std::printf("  shaking after %s:\n", what);
    double first = 0;
    for (int day = 1; day <= 3; ++day) {
        const auto begun = Clock::now();
        runtime.wait(kDay);
        const double ms = Ms(Clock::now() - begun).count();
        first = day == 1 ? ms : first;
        const struct mallinfo2 heap = mallinfo2();
        std::printf(
            "    day %d: %7.1f ms  (%.2f us a step, %4.2f x day 1), heap in use %zu bytes%s\n", day,
            ms, ms * 1000 / kStepsADay, ms / first, heap.uordblks,
            runtime.error() ? ", STOPPED BY A RUN-TIME ERROR" : "");
    }
}

void flood(forms::Form1& form, game::Game&, front::headless::HeadlessRuntime& runtime) {
    runtime.click(form.Command1);
    for (int i = 0; i < kFloodTicks; ++i) {
        runtime.tick();
    }
}

void scald(forms::Form1& form, game::Game&, front::headless::HeadlessRuntime& runtime) {
    runtime.click(form.Command1);
    runtime.click(form.Command1);
    runtime.click(form.Command2);
    for (int degree = 0; degree < 100; ++degree) {
        runtime.tick();
    }
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 7;
    if (argc > 2 || runs <= 0) {
        std::fprintf(stderr, "usage: yopo-bench-headless [RUNS]\n");
        return 2;
    }
    std::vector<double> game, alone;
    floodAndAnHour(); // warms the caches
    for (int i = 0; i < runs; ++i) {
        game.push_back(floodAndAnHour());
        alone.push_back(runtimeAlone());
    }
    const double g = median(game);
    const double a = median(alone);
    std::printf("headless: a flooded game (408 ticks) and an hour of shaking (72,000 steps), "
                "median of %d runs:\n",
                runs);
    std::printf("  yopo-headless script   %8.2f ms\n", g);
    std::printf("  baseline               %8.2f ms  (the runtime alone, the same ticks to "
                "empty handlers)\n",
                a);
    std::printf("  ratio                  %8.2f\n\n", g / a);

    shakeForDays("a flood", flood);
    shakeForDays("a scald", scald);
    return 0;
}
