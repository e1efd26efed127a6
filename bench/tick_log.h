// tick_log.h: when a timer's ticks came against when they were due, for the
// timer benchmark of ヨポ's runtime and of the bare baseline alike.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace bench {

class TickLog {
public:
    using Clock = std::chrono::steady_clock;

    TickLog(int intervalMs, int ticks) : m_interval(intervalMs), m_ticks(ticks) {
        m_times.reserve(static_cast<size_t>(ticks));
    }

    // The timer was started: tick k is due k intervals from now.
    void started() { m_start = Clock::now(); }
    void tick() { m_times.push_back(Clock::now()); }
    bool full() const { return static_cast<int>(m_times.size()) >= m_ticks; }

    // One line: how late the ticks came on average and at worst, and the drift,
    // the slope of lateness over the tick count, which a timer that loses time
    // at every tick shows and a steady one does not.
    void print(std::FILE* out, const char* who) const {
        const size_t n = m_times.size();
        std::vector<double> late(n);
        double sum = 0;
        double worst = 0;
        for (size_t k = 0; k < n; ++k) {
            // Signed all the way: a tick may come a hair before it is due.
            const auto due =
                m_start + std::chrono::milliseconds(m_interval) * static_cast<long long>(k + 1);
            late[k] = std::chrono::duration<double, std::milli>(m_times[k] - due).count();
            sum += std::abs(late[k]);
            worst = std::max(worst, std::abs(late[k]));
        }
        const double mean = n > 0 ? sum / static_cast<double>(n) : 0;
        // Least squares slope of lateness against the tick number.
        double sk = 0, se = 0, skk = 0, ske = 0;
        for (size_t k = 0; k < n; ++k) {
            const auto x = static_cast<double>(k);
            sk += x;
            se += late[k];
            skk += x * x;
            ske += x * late[k];
        }
        const auto count = static_cast<double>(n);
        const double denominator = count * skk - sk * sk;
        const double slope = denominator > 0 ? (count * ske - sk * se) / denominator : 0;
        const double lastLate = n > 0 ? late[n - 1] : 0;
        std::fprintf(out,
                     "%5d ms x %4zu ticks: mean error %.3f ms, worst %.3f ms, "
                     "drift %+.4f ms per 100 ticks, last tick %+.3f ms  [%s]\n",
                     m_interval, n, mean, worst, slope * 100, lastLate, who);
        std::fflush(out);
    }

private:
    int m_interval;
    int m_ticks;
    Clock::time_point m_start;
    std::vector<Clock::time_point> m_times;
};

} // namespace bench
