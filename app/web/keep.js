// keep.js: the page's side of keeping the bath. The core decides what is
// kept and when (window/runtime/bath_keeper.h); the page only stores its
// bytes in localStorage, written at once so that they are there before the
// browser discards the tab. A closed tab cannot be told from a reload, so
// the bath stays until it is over or the player starts a new one. One tab
// holds the bath at a time (the Web Locks API); nothing leaves the machine.

const kRecord = "yopo-bath";
const kSetAside = "yopo-bath.bad";
const kLock = "yopo-bath";

// False once another tab has taken the bath over: this one writes no more.
let holding = true;

function storage() {
    try {
        return window.localStorage;
    } catch {
        return null; // storage refused outright
    }
}

// What the core asks of the page's storage (see window/front/web/page.h).
export const store = {
    fetchBath() {
        try {
            return storage()?.getItem(kRecord) ?? null;
        } catch {
            return null;
        }
    },
    storeBath(text) {
        if (!holding) {
            return true;
        }
        try {
            storage().setItem(kRecord, text);
            return true;
        } catch {
            return false; // full, refused, or a private window's
        }
    },
    dropBath() {
        if (holding) {
            try {
                storage()?.removeItem(kRecord);
            } catch {
                // nothing kept, nothing to drop
            }
        }
    },
    setAsideBath() {
        const kept = storage();
        try {
            kept.setItem(kSetAside, kept.getItem(kRecord));
        } catch {
            // too large to set aside: it goes all the same
        }
        try {
            kept.removeItem(kRecord);
        } catch {
            // nothing to remove
        }
    },
    say(line) {
        console.warn(`yopo: ${line}`);
    },
};

// A line of the page's own, outside the window's client area.
function line(id, text) {
    const element = document.createElement("p");
    element.id = id;
    element.textContent = text;
    element.setAttribute("role", "status");
    Object.assign(element.style, { position: "fixed", left: "0", right: "0", bottom: "8px",
                                   margin: "0", textAlign: "center", fontSize: "14px" });
    document.body.append(element);
    return element;
}

// Resolves once this tab holds the bath: at once if no other tab does, or
// once the player takes it over from the tab that does. `lost` is called if
// a later tab takes it from this one.
export async function hold(lost) {
    if (!navigator.locks) {
        return;
    }
    const held = (lock) => {
        if (!lock) {
            return false;
        }
        // Held until the tab goes, or another takes it.
        return new Promise(() => {});
    };
    const taken = (error) => {
        if (error?.name === "AbortError" && holding) {
            holding = false;
            lost();
        }
    };
    const first = await new Promise((resolve) => {
        navigator.locks
            .request(kLock, { ifAvailable: true }, (lock) => {
                resolve(lock !== null);
                return held(lock);
            })
            .catch(taken);
    });
    if (first) {
        return;
    }
    const elsewhere = line("elsewhere", "ヨポは別のタブで開いています。");
    const takeOver = document.createElement("button");
    takeOver.type = "button";
    takeOver.textContent = "このタブで続ける";
    takeOver.style.marginLeft = "1em";
    elsewhere.append(takeOver);
    takeOver.focus();
    await new Promise((resolve) => {
        takeOver.addEventListener("click", resolve, { once: true });
    });
    elsewhere.remove();
    await new Promise((resolve) => {
        navigator.locks
            .request(kLock, { steal: true }, (lock) => {
                resolve();
                return held(lock);
            })
            .catch(taken);
    });
}

// Says in the page that another tab has the bath now.
export function lostLine() {
    return "ヨポは別のタブで続いています。";
}

// Keeps the bath whenever the page is hidden or about to go: the last
// moment a page that is discarded, closed or frozen is sure to run.
export function keepWhenHidden(keepNow) {
    window.addEventListener("pagehide", keepNow);
    document.addEventListener("visibilitychange", () => {
        if (document.hidden) {
            keepNow();
        }
    });
}

// The desktop's close, on the page: a quiet control outside the window
// that starts a new bath, asking first while one is under way.
export function offerNewBath(underWay, close) {
    const button = document.createElement("button");
    button.id = "new-bath";
    button.type = "button";
    button.textContent = "新しく始める";
    // Quiet, but large enough for a finger.
    Object.assign(button.style, { position: "fixed", right: "8px", bottom: "8px",
                                  fontSize: "12px", minHeight: "24px", opacity: "0.6" });
    button.addEventListener("click", () => {
        if (underWay() && !window.confirm("いまのヨポをやめて、新しく始めますか？")) {
            return;
        }
        close();
        location.reload();
    });
    // Read after the window, as it stands below it.
    document.getElementById("window").after(button);
}
