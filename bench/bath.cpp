// bath.cpp: what keeping the bath costs. The record's size at each stage of a
// game; the cost of keeping it at a tick (made, written, and stored over the
// record before in the desktop's file) beside the cost of the tick itself;
// and the time a bath kept an hour and a day ago takes to reach "now", beside
// the start of a game with nothing kept. All on the headless runtime, whose
// ticks the desktop runtimes share.
#include "bath_file.h"
#include "bath_keeper.h"
#include "headless_runtime.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::micro>(duration).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A file in a folder of the bench's own, on the virtual clock of `player`.
class BenchFile : public front::qt::BathFile {
public:
    BenchFile(QString path, std::function<runtime::WallClock()> wall)
        : BathFile(std::move(path)), m_wall(std::move(wall)) {}
    runtime::WallClock wallNow() const override { return m_wall(); }

private:
    std::function<runtime::WallClock()> m_wall;
};

struct Start {
    explicit Start(const QString& path)
        : file(path, [this] { return player.clock(); }), keeper(form, game, player, file) {
        player.start();
    }
    forms::Form1 form;
    game::Game game{form};
    front::headless::HeadlessRuntime player{form, game};
    BenchFile file;
    runtime::BathKeeper keeper;
};

} // namespace

int main() {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bath"));

    std::printf("the record's size:\n");
    {
        Start game(path);
        auto size = [&](const char* stage) {
            std::printf("  %-28s %zu bytes\n", stage, game.keeper.record().size());
        };
        size("greeting");
        game.player.click(game.form.Command1);
        for (int i = 0; i < 300; ++i) {
            game.player.tick();
        }
        size("filling, level 1635");
        game.player.click(game.form.Command1);
        game.player.click(game.form.Command2);
        for (int i = 0; i < 45; ++i) {
            game.player.tick();
        }
        size("heating, 45 degrees");
        game.player.click(game.form.Command2);
        game.player.click(game.form.Command3);
        size("the report");
    }

    constexpr int kTicks = 400;
    std::vector<double> ticks, records, stores;
    {
        Start game(path);
        game.player.click(game.form.Command1);
        for (int i = 0; i < kTicks; ++i) {
            const auto began = Clock::now();
            game.player.tick();
            const auto ticked = Clock::now();
            const std::string record = game.keeper.record();
            const auto made = Clock::now();
            game.file.store(record);
            const auto stored = Clock::now();
            ticks.push_back(microseconds(ticked - began));
            records.push_back(microseconds(made - ticked));
            stores.push_back(microseconds(stored - made));
        }
    }
    std::printf("\nkeeping it at each of %d filling ticks, medians:\n", kTicks);
    std::printf("  the tick itself (baseline)   %8.1f us\n", median(ticks));
    std::printf("  the record made and written  %8.1f us\n", median(records));
    std::printf("  stored: written over the record before, in place  %8.1f us"
                " (once in 6 s while the tap runs; 1500 ms at the least while it heats)\n",
                median(stores));

    std::printf(
        "\nto \"now\" from a bath kept with the tap open (level 1635), headless runtime:\n");
    constexpr long long kHour = 3600LL * 1000;
    for (const auto& [name, away] :
         {std::pair{"nothing kept (baseline)", -1LL}, std::pair{"an hour away", kHour},
          std::pair{"a day away", 24 * kHour}}) {
        QFile::remove(path);
        runtime::WallClock made = 0;
        if (away >= 0) {
            Start game(path);
            game.player.setAfterChange([&] { game.keeper.keep(); });
            game.player.click(game.form.Command1);
            for (int i = 0; i < 300; ++i) {
                game.player.tick();
            }
            made = game.player.clock();
        }
        const auto began = Clock::now();
        Start game(path);
        game.player.setAfterChange([&] { game.keeper.keep(); });
        game.player.setClock(made + std::max(0LL, away));
        game.keeper.resume();
        game.player.wait(0);
        const double took = microseconds(Clock::now() - began) / 1000;
        std::printf("  %-24s %8.2f ms to start and reach now (%s)\n", name, took,
                    game.form.Shp_water.visible() ? "filling" : "flooded, shaking");
    }
    return 0;
}
