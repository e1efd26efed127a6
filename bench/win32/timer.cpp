// timer.cpp: how punctually ヨポ's Win32 runtime delivers Timer1's ticks, beside
// a bare SetTimer in the same run and the same message loop.
//
//   yopo-bench-timer-win32 --interval MS --ticks N
//
// Opens ヨポ's window with the Win32 runtime, runs Timer1 at MS milliseconds
// and notes when each tick reaches the handler; each tick changes the
// balloon's caption, so the window repaints as at every tick of the game.
// A thread timer from SetTimer at the same interval runs alongside.
#include "form1.h"
#include "tick_log.h"
#include "win32_runtime.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr ULONGLONG kSettling = 1000; // ms

bench::TickLog* g_baseline = nullptr;
UINT_PTR g_baselineTimer = 0;
int g_unfinished = 2;

void finished() {
    if (--g_unfinished == 0) {
        PostQuitMessage(0);
    }
}

void CALLBACK baselineTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_baseline->full()) {
        return;
    }
    g_baseline->tick();
    if (g_baseline->full()) {
        KillTimer(nullptr, g_baselineTimer);
        g_baseline->print(stdout, "bare SetTimer");
        finished();
    }
}

// Stands in for the game: its ticks are timed, its caption counts them.
class Probe : public forms::FormEvents {
public:
    Probe(forms::Form1& form, int interval, int ticks) : m_form(form), m_log(interval, ticks) {}

    void begin(int interval) {
        m_form.Timer1.setInterval(interval);
        m_form.Timer1.setEnabled(true);
        m_log.started();
    }

    void load() override {}
    void click(const forms::CommandButton&) override {}
    void tick(const forms::Timer&) override {
        m_log.tick();
        m_form.Lbl_msg.setCaption(std::to_string(++m_count) + " 回目");
        if (m_log.full()) {
            m_form.Timer1.setEnabled(false);
            m_log.print(stdout, "yopo: Win32Runtime, waitable timer");
            finished();
        }
    }

private:
    forms::Form1& m_form;
    bench::TickLog m_log;
    int m_count = 0;
};

} // namespace

int main(int argc, char** argv) {
    int interval = 0;
    int ticks = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--interval") == 0) {
            interval = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--ticks") == 0) {
            ticks = std::atoi(argv[i + 1]);
        }
    }
    if (interval <= 0 || interval > forms::Timer::kLongestInterval || ticks <= 0) {
        std::fprintf(stderr, "usage: yopo-bench-timer-win32 --interval MS --ticks N\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    {
        forms::Form1 form;
        Probe probe(form, interval, ticks);
        front::win32::Win32Runtime runtime(form, probe);
        if (!runtime.start()) {
            return 1;
        }
        // The window settles first (Wine reads its fonts at the first paint),
        // so that no tick waits on that.
        for (const ULONGLONG until = GetTickCount64() + kSettling; GetTickCount64() < until;) {
            MSG message;
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            } else {
                Sleep(10);
            }
        }
        bench::TickLog baseline(interval, ticks);
        g_baseline = &baseline;
        probe.begin(interval);
        g_baselineTimer = SetTimer(nullptr, 0, static_cast<UINT>(interval), baselineTick);
        baseline.started();
        status = runtime.run();
    }
    CoUninitialize();
    return status;
}
