// script.cpp: reading and playing yopo-headless commands.
#include "script.h"

#include "bath_keeper.h"
#include "game.h"
#include "headless_runtime.h"
#include "printable.h"
#include "state_json.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <istream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace replay {

namespace {

std::vector<std::string> words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> out;
    for (std::string word; stream >> word;) {
        out.push_back(word);
    }
    return out;
}

template <typename Number>
std::optional<Number> parse(const std::string& word) {
    Number value{};
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) {
        return std::nullopt;
    }
    return value;
}

#ifdef __EMSCRIPTEN__
// Emscripten's libc++ reads no floating-point number with from_chars. strtof
// reads the same words once those from_chars refuses and strtof does not, a
// leading '+' and hexadecimal, are refused first.
template <>
std::optional<float> parse<float>(const std::string& word) {
    if (word.empty() || word[0] == '+' || word.find_first_of("xX") != std::string::npos) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const float value = std::strtof(word.c_str(), &end);
    if (errno == ERANGE || end != word.c_str() + word.size()) {
        return std::nullopt;
    }
    return value;
}
#endif

// What became of one line.
enum class Played { Done, NotACommand, TooManyTicks, NotKept, NotTakenUp };

// One game on the virtual clock.
class Session {
public:
    explicit Session(long long mostTicks)
        : m_mostTicks(mostTicks), m_game(m_form), m_runtime(m_form, m_game) {
        m_runtime.start();
    }

    Played play(const std::vector<std::string>& command, std::ostream& out) {
        const std::string& verb = command[0];
        const size_t arguments = command.size() - 1;
        if (verb == "click" && arguments == 1) {
            const auto* button = dynamic_cast<const forms::CommandButton*>(m_form.find(command[1]));
            if (button == nullptr) {
                return Played::NotACommand;
            }
            m_runtime.click(*button);
        } else if (verb == "tick" && arguments <= 1) {
            const auto times = arguments == 0 ? 1 : parse<long long>(command[1]);
            if (!times || *times < 0) {
                return Played::NotACommand;
            }
            // Refused before any tick, whether the timer runs or not, so that
            // a line is good or bad whatever the game has come to.
            if (*times > m_mostTicks) {
                return Played::TooManyTicks;
            }
            for (long long i = 0; i < *times && m_runtime.tick(); ++i) {
            }
        } else if (verb == "wait" && arguments == 1) {
            const auto milliseconds = parse<long long>(command[1]);
            if (!milliseconds) {
                return Played::NotACommand;
            }
            switch (m_runtime.wait(*milliseconds, m_mostTicks)) {
            case front::headless::HeadlessRuntime::Waited::Done:
                break;
            case front::headless::HeadlessRuntime::Waited::Refused:
                // Past the end of the virtual clock is not a wait either.
                return Played::NotACommand;
            case front::headless::HeadlessRuntime::Waited::TooManyTicks:
                return Played::TooManyTicks;
            }
        } else if (verb == "drag" && arguments == 2) {
            const auto dx = parse<float>(command[1]);
            const auto dy = parse<float>(command[2]);
            // Nor is a drag to where no screen reaches, or by "nan" or "inf".
            if (!dx || !dy || !m_runtime.drag(*dx, *dy)) {
                return Played::NotACommand;
            }
        } else if (verb == "save" && arguments == 1) {
            std::ofstream file(command[1], std::ios::binary);
            file << runtime::writeBath(takeBath());
            if (!file.flush()) {
                return Played::NotKept;
            }
        } else if (verb == "state" && arguments == 0) {
            out << stateJson(m_runtime.clock(), m_game.state(), m_form) << '\n';
        } else {
            return Played::NotACommand;
        }
        return Played::Done;
    }

    const std::optional<forms::RunTimeError>& error() const { return m_runtime.error(); }

    runtime::BathRecord takeBath() const {
        return runtime::takeBath(m_form, m_game, m_runtime.untilNextTick(), m_runtime.clock());
    }
    // Takes up a kept bath where it was made: the virtual clock is the wall clock.
    void resume(const runtime::BathRecord& bath) {
        m_runtime.setClock(bath.made);
        runtime::resumeBath(bath, m_form, m_game, m_runtime, bath.made);
    }

private:
    long long m_mostTicks;
    forms::Form1 m_form;
    game::Game m_game;
    front::headless::HeadlessRuntime m_runtime;
};

} // namespace

int runScript(std::istream& in, std::ostream& out, std::ostream& err, long long mostTicks) {
    auto session = std::make_unique<Session>(mostTicks);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> command = words(line);
        if (command.empty() || command[0].starts_with('#')) {
            continue;
        }
        Played played = Played::Done;
        std::string refusal;
        if (command[0] == "restore" && command.size() == 2) {
            // Into a fresh window, as the next start of the program would.
            std::ifstream file(command[1], std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(file), {}};
            auto read = runtime::readBath(file ? bytes : std::string());
            if (const auto* why = std::get_if<runtime::Refusal>(&read)) {
                played = Played::NotTakenUp;
                refusal = why->reason;
            } else {
                session = std::make_unique<Session>(mostTicks);
                session->resume(std::get<runtime::BathRecord>(read));
            }
        } else {
            played = session->play(command, out);
        }
        if (played != Played::Done) {
            out.flush();
            err << "yopo-headless: line " << number << ": ";
            if (played == Played::TooManyTicks) {
                err << "more than " << mostTicks << " ticks in one line: ";
            } else if (played == Played::NotKept) {
                err << "cannot keep the bath: ";
            } else if (played == Played::NotTakenUp) {
                err << "cannot take up the bath (" << refusal << "): ";
            } else {
                err << "not a command: ";
            }
            // Shown escaped: the line is whatever bytes the script held.
            err << runtime::printable(line) << '\n';
            return kScriptBadLine;
        }
        if (const auto& error = session->error()) {
            out.flush();
            err << "yopo-headless: line " << number << ": " << error->what() << '\n';
            return kScriptRunTimeError;
        }
    }
    return kScriptDone;
}

} // namespace replay
