// bath_keeper.h: when the bath is kept, when it is taken up again, and when
// it is over; the same on every front end, which only stores the bytes.
#pragma once

#include "bath_record.h"
#include "runtime.h"

#include <optional>
#include <string>
#include <string_view>

namespace runtime {

// Where a front end keeps the one record of the bath.
class BathStore {
public:
    virtual ~BathStore() = default;
    // The kept record's bytes; none if nothing is kept.
    virtual std::optional<std::string> fetch() = 0;
    // Keeps `bytes` in place of the record before, whole or not at all:
    // false if it could not (a full disk, storage refused).
    virtual bool store(std::string_view bytes) = 0;
    // The bath is over: nothing is kept.
    virtual void drop() = 0;
    // The record could not be read: set aside, out of the next start's way.
    virtual void setAside() = 0;
    // One line for whoever watches the program: its standard error, the
    // page's console.
    virtual void say(std::string_view line) = 0;
    // The wall clock, in milliseconds since 1970.
    virtual WallClock wallNow() const = 0;
};

// Puts the recorded bath into a window just started and sets Timer1 so that
// every tick the wall clock has made due since `bath.made` follows, in the
// scheduler's batches. A clock that went back counts as no time passed.
void resumeBath(const BathRecord& bath, forms::Form1& form, game::Game& game, Runtime& runtime,
                WallClock now);

// Whether the bath is over: the report shown, a catastrophe struck, or the
// program stopped at a run-time error. The next start is a new bath.
bool bathIsOver(const forms::Form1& form, const game::Game& game, const Runtime& runtime);

class BathKeeper {
public:
    BathKeeper(forms::Form1& form, game::Game& game, Runtime& runtime, BathStore& store);

    // At start, once Form_Load has run: takes up the kept bath, silently,
    // if there is one that can be read; a spoilt one is set aside with one
    // line said. True if a bath was taken up.
    bool resume();
    // After every change the player could see (Runtime::setAfterChange),
    // and whenever the window or page is about to go without the player's
    // say: kept, or dropped once the bath is over. Catching up long after
    // a flood or a scald, it skips whole repeats of the shake.
    void keep();
    // The desktop session is ending: the bath is kept, and the window's
    // close that follows is not the player's.
    void sessionEnds();
    // The window closed: the bath ends with it, when the player closed it.
    void closed();

    // The record as it would be kept now.
    std::string record() const;

private:
    // So many repeats of the shake are delivered tick by tick at the end of
    // a catch-up, the rest skipped.
    static constexpr std::int64_t kRepeatsDelivered = 2;

    // Skips whole repeats of the shake when `behind` milliseconds of ticks
    // are still due after a catastrophe.
    void skipRepeats(Milliseconds behind);

    forms::Form1& m_form;
    game::Game& m_game;
    Runtime& m_runtime;
    BathStore& m_store;
    bool m_over = false;
    bool m_sessionEnding = false;
    // Said once that the bath cannot be kept; the game plays on.
    bool m_cannotKeepSaid = false;
};

} // namespace runtime
