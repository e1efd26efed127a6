// script.cpp: reading and playing yopo-headless commands.
#include "script.h"

#include "game.h"
#include "headless_runtime.h"
#include "state_json.h"

#include <charconv>
#include <istream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace yopo {

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

// One game on the virtual clock.
class Session {
public:
    Session() : m_game(m_form), m_runtime(m_form, m_game) { m_runtime.start(); }

    // Plays one command; false if the line is not one.
    bool play(const std::vector<std::string>& command, std::ostream& out) {
        const std::string& verb = command[0];
        const size_t arguments = command.size() - 1;
        if (verb == "click" && arguments == 1) {
            const auto* button = dynamic_cast<const forms::CommandButton*>(m_form.find(command[1]));
            if (button == nullptr) {
                return false;
            }
            m_runtime.click(*button);
        } else if (verb == "tick" && arguments <= 1) {
            const auto times = arguments == 0 ? 1 : parse<long long>(command[1]);
            if (!times || *times < 0) {
                return false;
            }
            for (long long i = 0; i < *times && m_runtime.tick(); ++i) {
            }
        } else if (verb == "wait" && arguments == 1) {
            const auto milliseconds = parse<long long>(command[1]);
            // Past the end of the virtual clock is not a wait either.
            if (!milliseconds || !m_runtime.wait(*milliseconds)) {
                return false;
            }
        } else if (verb == "drag" && arguments == 2) {
            const auto dx = parse<float>(command[1]);
            const auto dy = parse<float>(command[2]);
            // Nor is a drag to where no screen reaches, or by "nan" or "inf".
            if (!dx || !dy || !m_runtime.drag(*dx, *dy)) {
                return false;
            }
        } else if (verb == "state" && arguments == 0) {
            out << stateJson(m_runtime.clock(), m_game.state(), m_form) << '\n';
        } else {
            return false;
        }
        return true;
    }

    const std::optional<forms::RunTimeError>& error() const { return m_runtime.error(); }

private:
    forms::Form1 m_form;
    Game m_game;
    forms::HeadlessRuntime m_runtime;
};

} // namespace

int runScript(std::istream& in, std::ostream& out, std::ostream& err) {
    Session session;
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
        if (!session.play(command, out)) {
            out.flush();
            err << "yopo-headless: line " << number << ": not a command: " << line << '\n';
            return kScriptBadLine;
        }
        if (const auto& error = session.error()) {
            out.flush();
            err << "yopo-headless: line " << number << ": " << error->what() << '\n';
            return kScriptRunTimeError;
        }
    }
    return kScriptDone;
}

} // namespace yopo
