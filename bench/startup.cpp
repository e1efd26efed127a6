// startup.cpp: launches ヨポ and the baseline in turn and times each from
// launch to its window mapped and first painted, then reads its resident
// memory a second after the window appeared.
//
//   yopo-bench-startup --shim FIRST_PAINT_SO --runs N [--report startup|memory]
//                      NAME=PROGRAM NAME=PROGRAM
//
// The first program is the one measured, the second the baseline. Each run
// starts both, in alternating order; one run of each before the count warms
// the file cache and is not counted. The moments come from the preloaded
// first-paint library, which writes them to a pipe.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string name;
    std::string path;
};

struct Sample {
    double mappedMs = 0;
    double paintedMs = 0;
    // Resident memory in kB: all of it, the anonymous part, the mapped files.
    long rss = 0;
    long anonymous = 0;
    long files = 0;
    // CPU time of all its threads, up to when it was stopped a second after
    // the paint, in ms: what starting cost it.
    double cpuMs = 0;
};

std::int64_t nanoseconds(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

long statusField(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    const std::string key = std::string(field) + ":";
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0) {
            return std::strtol(line.c_str() + key.size(), nullptr, 10);
        }
    }
    return -1;
}

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "yopo-bench-startup: %s\n", message.c_str());
    std::exit(1);
}

// Ends the program and returns the CPU time all its threads used, those that
// have already ended included, in ms.
double stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

Sample launch(const Program& program, const std::string& shim) {
    int fds[2];
    if (pipe(fds) != 0) {
        fail("cannot make a pipe");
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);

    std::vector<std::string> variables;
    std::string preload = "LD_PRELOAD=" + shim;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "LD_PRELOAD=", 11) == 0) {
            preload += std::string(":") + (*e + 11);
        } else if (std::strncmp(*e, "YOPO_BENCH_REPORT_FD=", 21) != 0) {
            variables.emplace_back(*e);
        }
    }
    variables.push_back(preload);
    variables.push_back("YOPO_BENCH_REPORT_FD=" + std::to_string(fds[1]));
    std::vector<char*> envp;
    envp.reserve(variables.size() + 1);
    for (std::string& v : variables) {
        envp.push_back(v.data());
    }
    envp.push_back(nullptr);
    std::string path = program.path;
    char* argv[] = {path.data(), nullptr};

    pid_t pid = 0;
    const Clock::time_point launched = Clock::now();
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
        fail("cannot start " + program.path);
    }
    close(fds[1]);

    Sample sample;
    std::optional<std::int64_t> mapped, painted;
    std::string pending;
    const auto deadline = launched + std::chrono::seconds(30);
    while (!painted) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{fds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            stop(pid);
            fail(program.path + " showed no painted window within 30 s");
        }
        char buffer[256];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0) {
            stop(pid);
            fail(program.path + " ended before its window was painted");
        }
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            std::istringstream line(pending.substr(0, end));
            pending.erase(0, end + 1);
            std::string what;
            long long when = 0;
            line >> what >> when;
            (what == "map" ? mapped : painted) = when;
        }
    }
    close(fds[0]);
    const std::int64_t start = nanoseconds(launched);
    sample.mappedMs = mapped ? static_cast<double>(*mapped - start) / 1e6 : 0;
    sample.paintedMs = static_cast<double>(*painted - start) / 1e6;

    std::this_thread::sleep_until(launched + std::chrono::nanoseconds(*painted - start) +
                                  std::chrono::seconds(1));
    sample.rss = statusField(pid, "VmRSS");
    sample.anonymous = statusField(pid, "RssAnon");
    sample.files = statusField(pid, "RssFile");
    sample.cpuMs = stop(pid);
    // Let the X server forget the window before the next one comes.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return sample;
}

template <typename Get>
double median(const std::vector<Sample>& samples, Get get) {
    std::vector<double> values;
    values.reserve(samples.size());
    for (const Sample& s : samples) {
        values.push_back(static_cast<double>(get(s)));
    }
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <typename Get>
double fastest(const std::vector<Sample>& samples, Get get) {
    double best = get(samples.front());
    for (const Sample& s : samples) {
        best = std::min(best, static_cast<double>(get(s)));
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    std::string shim;
    int runs = 0;
    std::vector<Program> programs;
    std::string reported = "both";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--shim" && i + 1 < argc) {
            shim = argv[++i];
        } else if (argument == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else if (argument == "--report" && i + 1 < argc) {
            reported = argv[++i];
        } else if (const size_t equals = argument.find('='); equals != std::string::npos) {
            programs.push_back({argument.substr(0, equals), argument.substr(equals + 1)});
        } else {
            runs = 0;
            break;
        }
    }
    if (shim.empty() || runs <= 0 || programs.size() != 2 ||
        (reported != "both" && reported != "startup" && reported != "memory")) {
        std::fprintf(stderr, "usage: yopo-bench-startup --shim FIRST_PAINT_SO --runs N "
                             "[--report startup|memory] NAME=PROGRAM NAME=BASELINE\n");
        return 2;
    }

    std::vector<Sample> samples[2];
    for (int run = -1; run < runs; ++run) {
        // ABBA: neither goes first every time.
        const int first = run < 0 ? 0 : run % 2;
        for (int which : {first, 1 - first}) {
            const Sample s = launch(programs[which], shim);
            if (run >= 0) {
                samples[which].push_back(s);
                std::printf("  run %2d  %-9s first paint %7.1f ms (mapped %7.1f ms)  "
                            "resident %6.1f MB\n",
                            run + 1, programs[which].name.c_str(), s.paintedMs, s.mappedMs,
                            static_cast<double>(s.rss) / 1024);
                std::fflush(stdout);
            }
        }
    }

    const auto painted = [](const Sample& s) { return s.paintedMs; };
    const auto mapped = [](const Sample& s) { return s.mappedMs; };
    const auto rss = [](const Sample& s) { return static_cast<double>(s.rss) / 1024; };
    const auto anonymous = [](const Sample& s) { return static_cast<double>(s.anonymous) / 1024; };
    const auto files = [](const Sample& s) { return static_cast<double>(s.files) / 1024; };
    const auto cpu = [](const Sample& s) { return s.cpuMs; };

    if (reported != "memory") {
        std::printf("\nstart-up, launch to window mapped and first painted, median of %d runs:\n",
                    runs);
        for (int which : {0, 1}) {
            std::printf("  %-9s %7.1f ms  (mapped at %.1f ms; fastest run %.1f ms; CPU %.1f ms)\n",
                        programs[which].name.c_str(), median(samples[which], painted),
                        median(samples[which], mapped), fastest(samples[which], painted),
                        median(samples[which], cpu));
        }
        const double startRatio = median(samples[0], painted) / median(samples[1], painted);
        std::printf("  ratio     %7.3f    (target: at most 1.10)\n", startRatio);
    }
    if (reported != "startup") {
        std::printf("\nmemory, resident 1 s after the first paint, median of %d runs:\n", runs);
        for (int which : {0, 1}) {
            std::printf("  %-9s %7.1f MB  (anonymous %.1f MB, files %.1f MB)\n",
                        programs[which].name.c_str(), median(samples[which], rss),
                        median(samples[which], anonymous), median(samples[which], files));
        }
        const double memoryRatio = median(samples[0], rss) / median(samples[1], rss);
        std::printf("  ratio     %7.3f    (target: at most 1.10)\n", memoryRatio);
    }
    return 0;
}
