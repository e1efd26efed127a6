// bath_record.cpp: writing the bath down, and reading it back only when
// every value in it is one that play could have reached.
#include "bath_record.h"

#include "scores.h"

#include <array>
#include <charconv>
#include <cmath>
#include <set>
#include <vector>

namespace runtime {

namespace {

constexpr std::string_view kFormatLine = "yopo-bath 1";
constexpr std::string_view kFormatWord = "yopo-bath";
constexpr std::string_view kCheckWord = "check";
constexpr std::string_view kNoTick = "-";

// Past 2^24 a Single no longer holds every whole number, and the hidden
// water of a long flood grows by rounding; past 2^27 it grows no more.
constexpr double kExactTwips = 16777216.0;
constexpr double kLargestTwips = 134217728.0;
// A window coordinate is at most 32767 pixels either way.
constexpr double kFarthestPlace = 32767.0 * forms::kTwipsPerPixel;

// ---- What play can reach, learnt from the game itself ----

// Collects every caption and colour the game writes.
class Witness : public forms::FormObserver {
public:
    explicit Witness(forms::Form1& form) : m_form(form) { form.addObserver(this); }
    ~Witness() override { m_form.removeObserver(this); }
    Witness(const Witness&) = delete;
    Witness& operator=(const Witness&) = delete;

    std::set<std::string> messages, command1, command2;
    std::set<forms::Colour> waterColours, windowColours;
    std::set<int> intervals;

    void seeAll() {
        command1.insert(m_form.Command1.caption());
        command2.insert(m_form.Command2.caption());
        waterColours.insert(m_form.Shp_water.backColor());
        windowColours.insert(m_form.backColor());
        intervals.insert(m_form.Timer1.interval());
    }

private:
    void controlChanged(const forms::Control& control, forms::Property) override {
        (void)control;
        seeAll();
        messages.insert(m_form.Lbl_msg.caption());
    }
    void formChanged(forms::Property) override { windowColours.insert(m_form.backColor()); }

    forms::Form1& m_form;
};

struct Reachable {
    std::set<std::string> messages, command1, command2;
    std::set<forms::Colour> waterColours, windowColours;
    std::set<int> intervals;
    // The water and its cover as the tap opens, and the level that floods.
    forms::Twips startHeight = 0, startTop = 0, startY1 = 0, startY2 = 0;
    forms::Twips floodLevel = 0;
    // As the window is created.
    forms::Twips createdHeight = 0, createdTop = 0, createdY1 = 0, createdY2 = 0;
    int shakeInterval = 0;
};

enum class Move { Tap, Fire, Next, Tick, Refuse };

// Plays one road through the game on a window nobody sees.
void play(Witness& witness, game::Game& game, std::initializer_list<std::pair<Move, int>> road) {
    game.Form_Load();
    for (const auto& [move, times] : road) {
        for (int i = 0; i < times; ++i) {
            switch (move) {
            case Move::Tap:
                game.Command1_Click();
                break;
            case Move::Fire:
            case Move::Refuse:
                game.Command2_Click();
                break;
            case Move::Next:
                game.Command3_Click();
                break;
            case Move::Tick:
                game.Timer1_Timer();
                break;
            }
        }
    }
    witness.seeAll();
}

Reachable learn() {
    Reachable reachable;
    auto road = [&](std::initializer_list<std::pair<Move, int>> moves, auto&& after) {
        forms::Form1 form;
        game::Game game(form);
        Witness witness(form);
        witness.seeAll();
        play(witness, game, moves);
        after(form, game);
        witness.seeAll();
        reachable.messages.merge(witness.messages);
        reachable.command1.merge(witness.command1);
        reachable.command2.merge(witness.command2);
        reachable.waterColours.merge(witness.waterColours);
        reachable.windowColours.merge(witness.windowColours);
        reachable.intervals.merge(witness.intervals);
    };
    road({{Move::Refuse, 1}}, [&](forms::Form1& form, game::Game&) {
        reachable.createdHeight = form.Shp_water.height();
        reachable.createdTop = form.Shp_water.top();
        reachable.createdY1 = form.Line0.y1();
        reachable.createdY2 = form.Line0.y2();
    });
    road({{Move::Tap, 1}}, [&](forms::Form1& form, game::Game&) {
        reachable.startHeight = form.Shp_water.height();
        reachable.startTop = form.Shp_water.top();
        reachable.startY1 = form.Line0.y1();
        reachable.startY2 = form.Line0.y2();
    });
    // Into the flood and two steps of its shake; the level that floods is
    // the one at which the water first hides.
    road({{Move::Tap, 1}}, [&](forms::Form1& form, game::Game& game) {
        while (form.Shp_water.visible()) {
            game.Timer1_Timer();
        }
        reachable.floodLevel = form.Shp_water.height();
        reachable.shakeInterval = form.Timer1.interval();
        game.Timer1_Timer();
    });
    // Every degree up to the scald, a bad bath judged cold, and a good one.
    road({{Move::Tap, 2}, {Move::Fire, 1}, {Move::Tick, 101}}, [](auto&, auto&) {});
    road({{Move::Tap, 2}, {Move::Fire, 2}}, [](auto&, auto&) {});
    road({{Move::Tap, 1},
          {Move::Tick, 265},
          {Move::Tap, 1},
          {Move::Fire, 1},
          {Move::Tick, 45},
          {Move::Fire, 1}},
         [](auto&, auto&) {});
    return reachable;
}

const Reachable& reachable() {
    static const Reachable learnt = learn();
    return learnt;
}

// The report the game shows for these scores, from the game's own words.
std::string reportFor(const game::GameState& state) {
    forms::Form1 form;
    game::Game game(form);
    game.setState(state);
    game.Command3_Click();
    return form.Lbl_msg.caption();
}

bool whole(double value, double largest) {
    return std::isfinite(value) && std::abs(value) <= largest && value == std::floor(value);
}

// Judged: the heating stopped by the player, not by boiling.
bool judged(const BathRecord& bath) {
    return bath.game.Phase == game::phase::kHeating && !bath.timerEnabled && !bath.command2Enabled;
}

// Why the record holds something play could not reach, or nothing.
const char* unreachable(const BathRecord& bath) {
    const Reachable& can = reachable();
    const game::GameState& game = bath.game;
    const double level = bath.waterHeight;
    if (bath.made < 0) {
        return "made before 1970";
    }
    if (game.Phase < game::phase::kNoWater || game.Phase > game::phase::kHeating) {
        return "no such phase";
    }
    if (game.ShakeSide != 0 && game.ShakeSide != 1) {
        return "no such shake step";
    }
    if (game.Temperature < 0 || (game.Phase != game::phase::kHeating && game.Temperature != 0)) {
        return "temperature out of reach";
    }
    if (!whole(bath.left, kFarthestPlace) || !whole(bath.top, kFarthestPlace)) {
        return "window beyond any screen";
    }
    if (bath.fontSize != forms::kDefaultFontSize && bath.fontSize != 15) {
        return "no such font size";
    }
    if (!can.command1.contains(bath.command1Caption) ||
        !can.command2.contains(bath.command2Caption)) {
        return "no such button caption";
    }
    if (!can.waterColours.contains(bath.waterColour) ||
        !can.windowColours.contains(bath.backColor)) {
        return "no such colour";
    }
    if (bath.timerEnabled != bath.nextTickIn.has_value() ||
        (bath.nextTickIn &&
         (*bath.nextTickIn < 0 || *bath.nextTickIn > forms::Timer::kLongestInterval))) {
        return "next tick out of reach";
    }
    // Heating waits 20 ms for every twip of water.
    const bool heatingInterval = game.Phase == game::phase::kHeating && level < can.floodLevel &&
                                 bath.interval == static_cast<int>(level) * 20;
    if (!can.intervals.contains(bath.interval) && !heatingInterval) {
        return "no such interval";
    }
    if (game.Phase == game::phase::kNoWater) {
        if (level != can.createdHeight || bath.waterTop != can.createdTop ||
            bath.line0Y1 != can.createdY1 || bath.line0Y2 != can.createdY2 || bath.timerEnabled ||
            bath.streamDrawn || !bath.command1Enabled || bath.command3Visible) {
            return "water before the tap opened";
        }
    } else {
        if (!whole(level, kLargestTwips) || level < can.startHeight ||
            !whole(bath.waterTop, kLargestTwips) || !whole(bath.line0Y1, kLargestTwips) ||
            !whole(bath.line0Y2, kLargestTwips)) {
            return "water level out of reach";
        }
        const double risen = level - can.startHeight;
        if (level < kExactTwips &&
            (std::fmod(risen, 5) != 0 || bath.waterTop != can.startTop - risen ||
             bath.line0Y1 != can.startY1 - risen || bath.line0Y2 != can.startY2 - risen)) {
            return "water and its cover apart";
        }
    }
    const bool flooded = game.Phase == game::phase::kTapRunning && level >= can.floodLevel;
    const bool scalded = game.Phase == game::phase::kHeating && game.Temperature >= 100;
    if (game.Phase != game::phase::kTapRunning && level >= can.floodLevel) {
        return "a flooded tub past the tap";
    }
    if (flooded || scalded) {
        if (bath.waterVisible || bath.line0Visible || bath.line1Visible || bath.streamDrawn ||
            bath.command1Enabled || !bath.timerEnabled || bath.interval != can.shakeInterval ||
            (scalded && bath.command2Enabled)) {
            return "a catastrophe half shown";
        }
    } else if (!bath.waterVisible || !bath.line0Visible || !bath.line1Visible ||
               game.ShakeSide != 0 || bath.backColor != 0xFFFFFF) {
        return "a shake without a catastrophe";
    }
    if (game.Phase == game::phase::kTapRunning && !flooded &&
        (bath.command2Enabled || !bath.timerEnabled || !bath.command1Enabled)) {
        return "the tap neither open nor shut";
    }
    if (game.Phase == game::phase::kFilled &&
        (bath.timerEnabled || bath.command1Enabled || !bath.command2Enabled)) {
        return "a filled tub heating";
    }
    if (game.Phase == game::phase::kHeating && bath.command1Enabled) {
        return "the tap open while heating";
    }
    const bool isJudged = judged(bath);
    if (isJudged) {
        const game::Variant water = game::waterScore(bath.waterHeight);
        const game::Variant heat = game::heatScore(game.Temperature);
        if (game.WaterScore != water || game.HeatScore != heat ||
            game.TotalScore != game::totalScore(water, heat)) {
            return "scores the bath did not earn";
        }
    } else if (!game.WaterScore.isEmpty() || !game.HeatScore.isEmpty() || game.TotalScore != 0 ||
               bath.command3Visible) {
        return "scores before judging";
    }
    const bool reported = isJudged && !bath.command3Visible;
    if (reported ? bath.message != reportFor(game) : !can.messages.contains(bath.message)) {
        return "words the game never says";
    }
    return nullptr;
}

// ---- The text ----

std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return std::nullopt;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

const char* typeWord(game::Variant::Type type) {
    return game::typeName(type);
}

std::string number(double value) {
    return std::to_string(static_cast<long long>(value));
}

// One line of the record: its name, then its words; the last may hold spaces.
class Line {
public:
    Line(std::string_view name) : m_text(name) {}
    Line& operator<<(const std::string& word) {
        m_text += ' ';
        m_text += word;
        return *this;
    }
    Line& operator<<(bool flag) { return *this << std::string(flag ? "1" : "0"); }
    Line& operator<<(long long value) { return *this << std::to_string(value); }
    std::string text() const { return m_text + '\n'; }

private:
    std::string m_text;
};

std::string variantWords(const game::Variant& variant) {
    return std::string(typeWord(variant.type())) + ' ' + number(variant.value());
}

// Reads the record's lines in order; any fault leaves it failed for good.
class Reader {
public:
    explicit Reader(std::string_view body) : m_rest(body) {}

    // The next line must be `name` and `count` words; the last word of a
    // line with text takes the rest of it.
    bool line(std::string_view name, std::size_t count, bool lastIsText = false) {
        m_words.clear();
        const std::size_t end = m_rest.find('\n');
        if (m_failed || end == std::string_view::npos) {
            return fail("cut short");
        }
        std::string_view text = m_rest.substr(0, end);
        m_rest.remove_prefix(end + 1);
        const std::size_t space = text.find(' ');
        if (text.substr(0, space) != name) {
            return fail("no " + std::string(name) + " where it belongs");
        }
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        for (std::size_t i = 0; i < count; ++i) {
            const bool last = i + 1 == count;
            const std::size_t cut = last && lastIsText ? std::string_view::npos : text.find(' ');
            if (!last && cut == std::string_view::npos) {
                return fail(std::string(name) + " too short");
            }
            m_words.push_back(text.substr(0, cut));
            text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
            if (last && cut != std::string_view::npos) {
                return fail(std::string(name) + " too long");
            }
        }
        return true;
    }

    long long integer(std::size_t i, long long least, long long most) {
        long long value = 0;
        const std::string_view word = m_failed ? std::string_view() : m_words[i];
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (m_failed || word.empty() || error != std::errc() || end != word.data() + word.size() ||
            value < least || value > most) {
            fail("a number out of its range");
            return least;
        }
        return value;
    }
    bool flag(std::size_t i) { return integer(i, 0, 1) != 0; }
    std::string text(std::size_t i) {
        std::optional<std::string> text = m_failed ? std::nullopt : unescaped(m_words[i]);
        if (!text) {
            fail("a text that is no caption");
            return {};
        }
        return *text;
    }
    std::string_view word(std::size_t i) const {
        return m_failed ? std::string_view() : m_words[i];
    }
    game::Variant variant(std::size_t i) {
        const std::string_view type = word(i);
        const long long value = integer(i + 1, 0, std::numeric_limits<std::int32_t>::max());
        if (type == typeWord(game::Variant::Type::Empty) && value == 0) {
            return {};
        }
        if (type == typeWord(game::Variant::Type::Integer) && value <= 32767) {
            return game::Variant::integer(static_cast<game::Integer>(value));
        }
        if (type == typeWord(game::Variant::Type::Single)) {
            return game::Variant::single(static_cast<game::Single>(value));
        }
        if (type == typeWord(game::Variant::Type::Double)) {
            return game::Variant::real(static_cast<double>(value));
        }
        fail("no such score");
        return {};
    }

    bool done() const { return !m_failed && m_rest.empty(); }
    bool failed() const { return m_failed; }
    const std::string& why() const { return m_why; }
    bool fail(std::string why) {
        if (!m_failed) {
            m_failed = true;
            m_why = std::move(why);
        }
        return false;
    }

private:
    std::string_view m_rest;
    std::vector<std::string_view> m_words;
    bool m_failed = false;
    std::string m_why;
};

constexpr long long kTwipsRange = static_cast<long long>(kLargestTwips);
constexpr long long kColourRange = 0xFFFFFF;

} // namespace

std::uint32_t crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

BathRecord takeBath(const forms::Form1& form, const game::Game& game,
                    std::optional<Milliseconds> nextTickIn, WallClock made) {
    BathRecord bath;
    bath.made = made;
    bath.game = game.state();
    bath.left = form.left();
    bath.top = form.top();
    bath.backColor = form.backColor();
    bath.fontSize = form.Lbl_msg.fontSize();
    bath.fontBold = form.Lbl_msg.fontBold();
    bath.message = form.Lbl_msg.caption();
    bath.command1Enabled = form.Command1.enabled();
    bath.command1Caption = form.Command1.caption();
    bath.command2Enabled = form.Command2.enabled();
    bath.command2Caption = form.Command2.caption();
    bath.command3Visible = form.Command3.visible();
    bath.timerEnabled = form.Timer1.enabled();
    bath.interval = form.Timer1.interval();
    bath.nextTickIn = nextTickIn;
    bath.waterTop = form.Shp_water.top();
    bath.waterHeight = form.Shp_water.height();
    bath.waterColour = form.Shp_water.backColor();
    bath.waterVisible = form.Shp_water.visible();
    bath.streamDrawn = form.Line_water.borderStyle() == forms::BorderStyle::Solid;
    bath.line0Y1 = form.Line0.y1();
    bath.line0Y2 = form.Line0.y2();
    bath.line0Visible = form.Line0.visible();
    bath.line1Visible = form.Line1.visible();
    return bath;
}

void putBath(const BathRecord& bath, forms::Form1& form, game::Game& game) {
    game.setState(bath.game);
    form.setBackColor(bath.backColor);
    form.Lbl_msg.setFontSize(bath.fontSize);
    form.Lbl_msg.setFontBold(bath.fontBold);
    form.Lbl_msg.setCaption(bath.message);
    form.Command1.setEnabled(bath.command1Enabled);
    form.Command1.setCaption(bath.command1Caption);
    form.Command2.setEnabled(bath.command2Enabled);
    form.Command2.setCaption(bath.command2Caption);
    form.Command3.setVisible(bath.command3Visible);
    form.Shp_water.setHeight(bath.waterHeight);
    form.Shp_water.setTop(bath.waterTop);
    form.Shp_water.setBackColor(bath.waterColour);
    form.Shp_water.setVisible(bath.waterVisible);
    form.Line_water.setBorderStyle(bath.streamDrawn ? forms::BorderStyle::Solid
                                                    : forms::BorderStyle::Transparent);
    form.Line0.setY1(bath.line0Y1);
    form.Line0.setY2(bath.line0Y2);
    form.Line0.setVisible(bath.line0Visible);
    form.Line1.setVisible(bath.line1Visible);
    form.Timer1.setInterval(bath.interval);
    form.Timer1.setEnabled(bath.timerEnabled);
}

std::string writeBath(const BathRecord& bath) {
    const game::GameState& game = bath.game;
    std::string body = std::string(kFormatLine) + '\n';
    body += (Line("made") << static_cast<long long>(bath.made)).text();
    body += (Line("Phase") << static_cast<long long>(game.Phase)).text();
    body += (Line("Temperature") << static_cast<long long>(game.Temperature)).text();
    body += (Line("WaterScore") << variantWords(game.WaterScore)).text();
    body += (Line("HeatScore") << variantWords(game.HeatScore)).text();
    body += (Line("TotalScore") << static_cast<long long>(game.TotalScore)).text();
    body += (Line("ShakeSide") << static_cast<long long>(game.ShakeSide)).text();
    body += (Line("Form1") << number(bath.left) << number(bath.top)
                           << static_cast<long long>(bath.backColor))
                .text();
    body +=
        (Line("Lbl_msg") << number(bath.fontSize) << bath.fontBold << escaped(bath.message)).text();
    body += (Line("Command1") << bath.command1Enabled << escaped(bath.command1Caption)).text();
    body += (Line("Command2") << bath.command2Enabled << escaped(bath.command2Caption)).text();
    body += (Line("Command3") << bath.command3Visible).text();
    body += (Line("Timer1") << bath.timerEnabled << static_cast<long long>(bath.interval)
                            << (bath.nextTickIn ? std::to_string(*bath.nextTickIn)
                                                : std::string(kNoTick)))
                .text();
    body += (Line("Shp_water") << number(bath.waterTop) << number(bath.waterHeight)
                               << static_cast<long long>(bath.waterColour) << bath.waterVisible)
                .text();
    body += (Line("Line_water") << bath.streamDrawn).text();
    body +=
        (Line("Line0") << number(bath.line0Y1) << number(bath.line0Y2) << bath.line0Visible).text();
    body += (Line("Line1") << bath.line1Visible).text();
    char check[32];
    std::snprintf(check, sizeof check, " %zu %08x\n", body.size(),
                  static_cast<unsigned>(crc32(body)));
    return body + std::string(kCheckWord) + check;
}

std::variant<BathRecord, Refusal> readBath(std::string_view bytes) {
    if (bytes.empty()) {
        return Refusal{"empty"};
    }
    if (bytes.size() > kLargestRecord) {
        return Refusal{"larger than any record"};
    }
    const std::string_view first = bytes.substr(0, bytes.find('\n'));
    if (first.substr(0, first.find(' ')) != kFormatWord) {
        return Refusal{"not a record of a bath"};
    }
    if (first != kFormatLine) {
        return Refusal{"a format this version does not know"};
    }
    // The check line: the length and CRC-32 of everything before it.
    if (bytes.back() != '\n') {
        return Refusal{"cut short"};
    }
    const std::size_t checkAt = bytes.rfind('\n', bytes.size() - 2) + 1;
    const std::string_view body = bytes.substr(0, checkAt);
    Reader check(bytes.substr(checkAt));
    if (!check.line(kCheckWord, 2)) {
        return Refusal{"cut short"};
    }
    const long long length = check.integer(0, 0, kLargestRecord);
    unsigned long crc = 0;
    const std::string_view crcWord = check.word(1);
    const auto [end, error] =
        std::from_chars(crcWord.data(), crcWord.data() + crcWord.size(), crc, 16);
    if (check.failed() || crcWord.size() != 8 || error != std::errc() ||
        end != crcWord.data() + crcWord.size()) {
        return Refusal{"no check it can read"};
    }
    if (static_cast<std::size_t>(length) != body.size()) {
        return Refusal{"cut short or lengthened"};
    }
    if (crc != crc32(body)) {
        return Refusal{"altered"};
    }

    BathRecord bath;
    game::GameState& game = bath.game;
    Reader in(body.substr(first.size() + 1));
    constexpr long long kLongest = std::numeric_limits<std::int64_t>::max() / 4;
    if (in.line("made", 1)) {
        bath.made = in.integer(0, 0, kLongest);
    }
    if (in.line("Phase", 1)) {
        game.Phase = static_cast<game::Integer>(in.integer(0, 0, 3));
    }
    if (in.line("Temperature", 1)) {
        game.Temperature = static_cast<game::Integer>(in.integer(0, 0, 32767));
    }
    if (in.line("WaterScore", 2)) {
        game.WaterScore = in.variant(0);
    }
    if (in.line("HeatScore", 2)) {
        game.HeatScore = in.variant(0);
    }
    if (in.line("TotalScore", 1)) {
        game.TotalScore = static_cast<game::Long>(in.integer(0, 0, 2147483647));
    }
    if (in.line("ShakeSide", 1)) {
        game.ShakeSide = static_cast<game::Integer>(in.integer(0, 0, 1));
    }
    const long long place = static_cast<long long>(kFarthestPlace);
    if (in.line("Form1", 3)) {
        bath.left = static_cast<forms::Twips>(in.integer(0, -place, place));
        bath.top = static_cast<forms::Twips>(in.integer(1, -place, place));
        bath.backColor = static_cast<forms::Colour>(in.integer(2, 0, kColourRange));
    }
    if (in.line("Lbl_msg", 3, true)) {
        bath.fontSize = static_cast<float>(in.integer(0, 1, 100));
        bath.fontBold = in.flag(1);
        bath.message = in.text(2);
    }
    if (in.line("Command1", 2, true)) {
        bath.command1Enabled = in.flag(0);
        bath.command1Caption = in.text(1);
    }
    if (in.line("Command2", 2, true)) {
        bath.command2Enabled = in.flag(0);
        bath.command2Caption = in.text(1);
    }
    if (in.line("Command3", 1)) {
        bath.command3Visible = in.flag(0);
    }
    if (in.line("Timer1", 3)) {
        bath.timerEnabled = in.flag(0);
        bath.interval = static_cast<int>(in.integer(1, 0, forms::Timer::kLongestInterval));
        if (in.word(2) != kNoTick) {
            bath.nextTickIn = in.integer(2, 0, forms::Timer::kLongestInterval);
        }
    }
    if (in.line("Shp_water", 4)) {
        bath.waterTop = static_cast<forms::Twips>(in.integer(0, -kTwipsRange, kTwipsRange));
        bath.waterHeight = static_cast<forms::Twips>(in.integer(1, 0, kTwipsRange));
        bath.waterColour = static_cast<forms::Colour>(in.integer(2, 0, kColourRange));
        bath.waterVisible = in.flag(3);
    }
    if (in.line("Line_water", 1)) {
        bath.streamDrawn = in.flag(0);
    }
    if (in.line("Line0", 3)) {
        bath.line0Y1 = static_cast<forms::Twips>(in.integer(0, -kTwipsRange, kTwipsRange));
        bath.line0Y2 = static_cast<forms::Twips>(in.integer(1, -kTwipsRange, kTwipsRange));
        bath.line0Visible = in.flag(2);
    }
    if (in.line("Line1", 1)) {
        bath.line1Visible = in.flag(0);
    }
    if (in.failed()) {
        return Refusal{in.why()};
    }
    if (!in.done()) {
        return Refusal{"more than a bath"};
    }
    if (const char* why = unreachable(bath)) {
        return Refusal{why};
    }
    return bath;
}

} // namespace runtime
