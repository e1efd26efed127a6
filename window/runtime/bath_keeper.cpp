// bath_keeper.cpp: the bath kept at every change, taken up at start, dropped when over.
#include "bath_keeper.h"

#include <algorithm>

namespace runtime {

void resumeBath(const BathRecord& bath, forms::Form1& form, game::Game& game, Runtime& runtime,
                WallClock now) {
    putBath(bath, form, game);
    form.move(bath.left, bath.top);
    if (bath.nextTickIn) {
        const Milliseconds away = std::max<WallClock>(0, now - bath.made);
        runtime.resumeTimer(form.Timer1, *bath.nextTickIn - away);
    }
}

bool bathIsOver(const forms::Form1& form, const game::Game& game, const Runtime& runtime) {
    // Only the flood and the scald hide the water.
    const bool catastrophe = !form.Shp_water.visible();
    const bool reported = game.state().Phase == game::phase::kHeating && !form.Timer1.enabled() &&
                          !form.Command2.enabled() && !form.Command3.visible();
    return runtime.error() || catastrophe || reported;
}

BathKeeper::BathKeeper(forms::Form1& form, game::Game& game, Runtime& runtime, BathStore& store)
    : m_form(form), m_game(game), m_runtime(runtime), m_store(store) {}

bool BathKeeper::resume() {
    const std::optional<std::string> bytes = m_store.fetch();
    if (!bytes) {
        return false;
    }
    auto read = readBath(*bytes);
    if (const auto* refusal = std::get_if<Refusal>(&read)) {
        m_store.setAside();
        m_store.say("the kept bath could not be read (" + refusal->reason + "); a new bath begins");
        return false;
    }
    resumeBath(std::get<BathRecord>(read), m_form, m_game, m_runtime, m_store.wallNow());
    return true;
}

std::string BathKeeper::record() const {
    return writeBath(takeBath(m_form, m_game, m_runtime.untilNextTick(), m_store.wallNow()));
}

void BathKeeper::keep() {
    const std::optional<Milliseconds> next = m_runtime.untilNextTick();
    const bool catchingUp = next && *next < 0;
    if (catchingUp) {
        skipRepeats(-*next);
    }
    if (m_over) {
        return;
    }
    if (bathIsOver(m_form, m_game, m_runtime)) {
        m_over = true;
        m_store.drop();
        return;
    }
    // Still catching up on ticks long due: the record kept says as much,
    // with the wall clock, as one made now would.
    if (catchingUp) {
        return;
    }
    if (!m_store.store(record()) && !m_cannotKeepSaid) {
        m_cannotKeepSaid = true;
        m_store.say("the bath cannot be kept here; it plays on, but will not outlive the program");
    }
}

void BathKeeper::skipRepeats(Milliseconds behind) {
    // A day away in a flood is 1.7 million ticks of the shake, which repeats
    // every two: whole repeats are skipped, all but the last few, which are
    // delivered and shown as ever.
    if (!m_game.catastropheStruck()) {
        return;
    }
    const Milliseconds pair = 2 * m_runtime.period(m_form.Timer1);
    const std::int64_t pairs = behind / pair - kRepeatsDelivered;
    if (pairs > 0) {
        m_game.repeatShake(pairs);
        m_runtime.resumeTimer(m_form.Timer1, -behind + pairs * pair);
    }
}

void BathKeeper::sessionEnds() {
    m_sessionEnding = true;
    keep();
}

void BathKeeper::closed() {
    if (m_sessionEnding) {
        return;
    }
    m_over = true;
    m_store.drop();
}

} // namespace runtime
