// yopo.js: the page of ヨポ. It loads the core (the game and its window, in
// WebAssembly) and the game's face, paints the core's frame on the canvas
// pixel for pixel, lays real buttons and what screen readers read over it,
// and wakes the game when its timer falls due. It decides nothing of the
// game's or the window's: it asks the core and does what it says.
import { kCannotLoad } from "./loading.js";
import * as keep from "./keep.js";
import createCore from "./yopo-core.js";
import { font } from "./yopo-font.js";

const dom = {
    window: document.getElementById("window"),
    canvas: document.getElementById("form"),
    status: document.getElementById("Lbl_msg"),
    loadState: document.getElementById("load-state"),
    turnHint: document.getElementById("turn-hint"),
    icon: document.querySelector('link[rel="icon"]'),
};
const paint2d = dom.canvas.getContext("2d", { alpha: false });
const measure2d = document.createElement("canvas").getContext("2d");

// --- The border with the core ---------------------------------------------

// The keys that can press a button, as the core numbers them.
const Key = { Space: 0, Enter: 1 };
// What happened to the page's window, as the core numbers it.
const WindowEvent = { Shown: 0, Activated: 1, KeyboardLost: 2, Hidden: 3 };
// A yes or no, as the core takes and gives it.
const Flag = { No: 0, Yes: 1, of: (yes) => (yes ? 1 : 0) };
// The frame's entries (see window/front/web/paint_list.h).
const Paint = { Fill: 0, Picture: 1, Text: 2, header: 4 };
// "No button": the window itself has the focus.
const kWindowFocus = "";
// The core's "Timer1 does not run".
const kNotDue = -1;

// --- The page -------------------------------------------------------------

// The room kept around the client area on a narrow screen, in CSS pixels.
const kMargin = 8;
// The least font size of the text laid unseen over the canvas, in CSS pixels.
const kLeastUnseenText = 12;
// How large a touch target is made, in CSS pixels each way, where there is
// room.
const kTarget = 44;
// The faces of the systems that have Japanese glyphs, for a page whose own
// face could not be fetched.
const kSystemFaces = '"IPAGothic", "IPAexGothic", "Noto Sans CJK JP", "Noto Sans JP", ' +
    '"Source Han Sans JP", "Hiragino Sans", "Hiragino Kaku Gothic ProN", "Yu Gothic", ' +
    '"Meiryo", sans-serif';
const kIcon = "yopo.ico";
const kDangerIcon = "yopo-danger.png";

// Everything the page keeps while it runs.
const page = {
    core: null,
    // The faces the game's words are drawn and measured in.
    faces: `"${font.family}"`,
    // The device pixels to the layout's pixel the canvas is painted at: the
    // screen's own ratio, times the scale that fits the client area on a
    // narrow screen.
    ratio: 1,
    // Each element the page lays over the canvas, by its control's name.
    elements: new Map(),
    // The latest view of them.
    view: null,
    stale: false,
    stopped: false,
    // Timer1's next wake-up (see wakeAt).
    alarm: { at: null, timer: 0, round: 0 },
    // The pictures the frame names, and the CSS colours of its colours.
    pictures: new Map(),
    colours: new Map(),
    // Settles window.yopo.ready.
    settle: null,
};

const ready = new Promise((resolve, reject) => {
    page.settle = { resolve, reject };
});
ready.catch(() => {}); // the page itself says why
// For the tests and the benchmark, and for whoever reports a fault: the game
// as it stands, never a way to play it.
window.yopo = {
    // Settles once the game has started, or could not.
    ready,
    // The state line, as yopo-headless prints it.
    state: () => (page.core ? page.core.state() : null),
    // When Timer1 ticks next, on the state line's clock; null if it does not run.
    nextDue: () => {
        const due = page.core ? page.core.nextDue() : kNotDue;
        return due === kNotDue ? null : due;
    },
};

// --- The text -----------------------------------------------------------

function fontOf(pixels, bold) {
    return `${bold ? "bold " : ""}${pixels}px ${page.faces}`;
}

// --- The alarm ----------------------------------------------------------

// Timer1's next tick, as the core asks: a timeout aimed at the moment it
// falls due on performance.now()'s clock, never a count of callbacks, so a
// late wake-up (a hidden tab is woken once a second, or once a minute) still
// delivers every tick due. A wake-up due already comes as a message, which
// no browser holds back as it does timeouts.
const soon = new MessageChannel();
soon.port1.onmessage = (message) => {
    if (message.data === page.alarm.round) {
        ring();
    }
};

function wakeAt(when) {
    const alarm = page.alarm;
    clearTimeout(alarm.timer);
    alarm.timer = 0;
    alarm.at = when;
    alarm.round += 1;
    if (when === null) {
        return;
    }
    const delay = Math.ceil(when - performance.now());
    if (delay > 0) {
        alarm.timer = setTimeout(ring, delay);
    } else {
        soon.port2.postMessage(alarm.round);
    }
}

function ring() {
    page.alarm.timer = 0;
    if (page.alarm.at !== null) {
        happen(() => page.core.wake());
    }
}

// --- Events -------------------------------------------------------------

// Everything that happens to the game goes through here: the core hears
// where the focus is, acts, and the page shows what it says, the focus
// moved where the core settles it.
function happen(act) {
    if (!page.core) {
        return;
    }
    page.core.focused(focusedButton());
    act();
    show();
}

function focusedButton() {
    const active = document.activeElement;
    return active instanceof HTMLButtonElement && page.elements.get(active.id) === active
        ? active.id
        : kWindowFocus;
}

function focusOn(name) {
    (name === kWindowFocus ? dom.window : page.elements.get(name)).focus();
}

function show() {
    page.view = page.core.view(page.ratio);
    syncElements();
    tellTheTab();
    if (page.view.focus !== undefined) {
        focusOn(page.view.focus);
    }
    if (page.view.say !== undefined) {
        say(page.view.say);
    }
    if (page.view.stopped !== undefined && !page.stopped) {
        stop(page.view.stopped);
    }
    if (document.hidden) {
        page.stale = true;
    } else {
        paint();
    }
}

// The tab says what the window does, so that a player in another tab sees
// a flood or a scald: its title at once, and its icon, red, from the moment
// the page is left for another (while the page is watched, the window
// itself tells), for as long as the window shakes.
function tellTheTab() {
    const { title, danger } = page.view.window;
    if (document.title !== title) {
        document.title = title;
    }
    const warned = dom.icon.getAttribute("href") === kDangerIcon;
    const icon = danger && (document.hidden || warned) ? kDangerIcon : kIcon;
    if (dom.icon.getAttribute("href") !== icon) {
        dom.icon.setAttribute("href", icon);
        dom.icon.setAttribute("sizes", danger ? "32x32" : "16x16 32x32 48x48");
    }
}

// The page is back from a freeze, or from the back-forward cache: every
// tick due is delivered at once, without waiting for the browser's timers.
function catchUp() {
    happen(() => page.core.wake());
}

// The page is left: the tab tells of danger, and the core holds the words
// back. The page is seen again: the ticks due are delivered, the window
// painted once, and the core says only the latest words.
function comeBack() {
    if (document.hidden) {
        if (page.core) {
            page.core.hidden();
        }
        tellTheTab();
        return;
    }
    catchUp();
    happen(() => page.core.shown());
}

function say(words) {
    dom.status.textContent = words;
}

// A run-time error has stopped the game: the player reads why in the page.
function stop(report) {
    page.stopped = true;
    dom.loadState.textContent = report;
    dom.loadState.hidden = false;
    for (const element of page.elements.values()) {
        if (element instanceof HTMLButtonElement) {
            element.disabled = true;
        }
    }
}

// --- The elements over the canvas ---------------------------------------

function makeElement(control) {
    let element;
    if (control.role === "button") {
        element = document.createElement("button");
        element.type = "button";
        element.addEventListener("click", () => happen(() => page.core.click(control.id)));
    } else if (control.role === "img") {
        element = document.createElement("div");
        element.setAttribute("role", "img");
        element.className = "over";
    } else {
        element = document.createElement("p");
        element.className = "over";
    }
    element.id = control.id;
    return element;
}

function syncElements() {
    const dpr = window.devicePixelRatio || 1;
    let afterStatus = false;
    for (const control of page.view.controls) {
        let element = control.role === "status" ? dom.status : page.elements.get(control.id);
        if (!element) {
            element = makeElement(control);
            // In the core's order, around the message, which is always there.
            dom.window.insertBefore(element, afterStatus ? dom.loadState : dom.status);
        }
        if (control.role === "status") {
            afterStatus = true;
        }
        page.elements.set(control.id, element);
        const [left, top, width, height] = control.area;
        const box = [left, top, width, height, control.em].map((device) => device / dpr);
        // Text that is never seen is never set in print too small to read:
        // whoever judges the page's print by its text (an audit, a phone
        // browser's text boosting) judges what the player reads.
        if (control.role !== "button") {
            box[4] = Math.max(box[4], kLeastUnseenText);
        }
        box.forEach((length, i) => {
            box[i] = `${length}px`;
        });
        const style = element.style;
        ["left", "top", "width", "height", "fontSize"].forEach((property, i) => {
            if (style[property] !== box[i]) {
                style[property] = box[i];
            }
        });
        // Only what changed, so that screen readers hear of nothing else.
        const hidden = !control.shown;
        if (element.hidden !== hidden) {
            element.hidden = hidden;
        }
        if (control.role === "button") {
            const disabled = page.stopped || !control.enabled;
            if (element.disabled !== disabled) {
                element.disabled = disabled;
            }
        }
        if (control.role === "img") {
            if (element.getAttribute("aria-label") !== control.name) {
                element.setAttribute("aria-label", control.name);
            }
        } else if (control.role !== "status" && element.textContent !== control.name) {
            element.textContent = control.name;
        }
    }
}

// Where the window is shown smaller than its own size, each button is
// pressed over a larger, unseen area around it (its ::before): up to
// kTarget CSS pixels each way, never over another button's area: a side
// that faces another button takes half the room between them at most, and
// what it cannot take goes to the other side.
function reachOut(scaled) {
    const dpr = window.devicePixelRatio || 1;
    const buttons = page.view.controls.filter((control) => control.role === "button")
        .map((control) => {
            const [left, top, width, height] = control.area.map((device) => device / dpr);
            return { id: control.id, box: { left, top, right: left + width, bottom: top + height } };
        });
    const axes = [["left", "right", "top", "bottom"], ["top", "bottom", "left", "right"]];
    for (const button of buttons) {
        const reach = { left: 0, top: 0, right: 0, bottom: 0 };
        for (const [before, after, across, acrossEnd] of axes) {
            const size = button.box[after] - button.box[before];
            const wanted = scaled ? Math.max(0, kTarget - size) : 0;
            // The room on each side, up to the halfway line to a button
            // that lies beside this one along the axis: one whose areas
            // could meet this one's, as no area reaches kTarget out.
            let roomBefore = Infinity;
            let roomAfter = Infinity;
            for (const other of buttons) {
                const beside = other !== button &&
                    other.box[across] < button.box[acrossEnd] + 2 * kTarget &&
                    other.box[acrossEnd] > button.box[across] - 2 * kTarget;
                if (!beside) {
                    continue;
                }
                // Whole pixels, so that no rounding makes two areas meet.
                if (other.box[after] <= button.box[before]) {
                    roomBefore = Math.min(roomBefore, Math.floor((button.box[before] - other.box[after]) / 2));
                } else if (other.box[before] >= button.box[after]) {
                    roomAfter = Math.min(roomAfter, Math.floor((other.box[before] - button.box[after]) / 2));
                }
            }
            const half = wanted / 2;
            const first = Math.min(half, roomBefore);
            const second = Math.min(half, roomAfter);
            reach[before] = Math.min(roomBefore, first + (half - second));
            reach[after] = Math.min(roomAfter, second + (half - first));
        }
        const style = page.elements.get(button.id).style;
        for (const side of ["left", "top", "right", "bottom"]) {
            const value = `${reach[side]}px`;
            if (style.getPropertyValue(`--reach-${side}`) !== value) {
                style.setProperty(`--reach-${side}`, value);
            }
        }
    }
}

// --- The canvas ---------------------------------------------------------

function colourOf(bgr) {
    let css = page.colours.get(bgr);
    if (css === undefined) {
        const rgb = ((bgr & 0xff) << 16) | (bgr & 0xff00) | ((bgr >> 16) & 0xff);
        css = `#${rgb.toString(16).padStart(6, "0")}`;
        page.colours.set(bgr, css);
    }
    return css;
}

// A picture the frame names, decoded before it is painted. One that
// cannot be fetched or decoded is left out, as a missing picture is on the
// desktop, and the game plays on.
function picture(name) {
    let entry = page.pictures.get(name);
    if (!entry) {
        const image = new Image();
        image.src = name;
        entry = { image, decoded: false, missing: false, loading: null };
        entry.loading = image.decode().then(
            () => {
                entry.decoded = true;
            },
            () => {
                entry.missing = true;
            },
        );
        page.pictures.set(name, entry);
    }
    return entry;
}

// Paints the core's frame at the current ratio: every number in it is a
// device pixel, so the canvas is not scaled at all. A picture not decoded
// yet is painted with the rest once it is.
function paint() {
    page.stale = false;
    const waiting = [];
    const at = page.core.frame(page.ratio) / Float64Array.BYTES_PER_ELEMENT;
    const heap = page.core.heap();
    const end = at + heap[at];
    const width = heap[at + 1];
    const height = heap[at + 2];
    if (dom.canvas.width !== width || dom.canvas.height !== height) {
        dom.canvas.width = width;
        dom.canvas.height = height;
    }
    const g = paint2d;
    g.setTransform(1, 0, 0, 1, 0, 0);
    g.textBaseline = "alphabetic";
    g.textAlign = "left";
    for (let i = at + Paint.header; i < end;) {
        switch (heap[i]) {
        case Paint.Fill:
            g.fillStyle = colourOf(heap[i + 5]);
            g.fillRect(heap[i + 1], heap[i + 2], heap[i + 3], heap[i + 4]);
            i += 6;
            break;
        case Paint.Picture: {
            const entry = picture(page.core.text(heap[i + 6]));
            if (entry.decoded) {
                g.imageSmoothingEnabled = heap[i + 5] !== Flag.No;
                g.imageSmoothingQuality = "high";
                g.drawImage(entry.image, heap[i + 1], heap[i + 2], heap[i + 3], heap[i + 4]);
            } else if (!entry.missing) {
                waiting.push(entry.loading);
            }
            i += 7;
            break;
        }
        case Paint.Text:
            g.font = fontOf(heap[i + 3], heap[i + 4] !== Flag.No);
            g.fillStyle = colourOf(heap[i + 5]);
            g.fillText(page.core.text(heap[i + 6]), heap[i + 1], heap[i + 2]);
            i += 7;
            break;
        default:
            throw new Error(`yopo: unknown paint entry ${heap[i]}`);
        }
    }
    if (waiting.length > 0) {
        Promise.all(waiting).then(() => {
            if (!document.hidden) {
                paint();
            }
        });
    }
}

// Works out the ratio from the screen's and the room the page has, then
// paints everything afresh and centres the client area on the page, its
// corner on a whole device pixel so that each of the canvas's pixels is
// one of the screen's: the canvas is as many CSS pixels wide as its
// backing store has device pixels, divided by the screen's ratio.
function layout() {
    const dpr = window.devicePixelRatio || 1;
    const room = document.documentElement.clientWidth;
    const tall = document.documentElement.clientHeight;
    const scale = Math.min(1, (room - 2 * kMargin) / page.view.window.width);
    page.ratio = dpr * scale;
    show();
    if (page.stale) {
        paint();
    }
    reachOut(scale < 1);
    const width = dom.canvas.width / dpr;
    const height = dom.canvas.height / dpr;
    const snap = (css) => onDevicePixel(css, dpr);
    const style = dom.window.style;
    const top = snap(Math.max(0, (tall - height) / 2));
    style.width = `${width}px`;
    style.height = `${height}px`;
    style.left = `${snap(Math.max(0, (room - width) / 2))}px`;
    style.top = `${top}px`;
    // A phone held upright shows the window small: turned, it has the
    // room to show it larger.
    const turnable = scale < 1 && tall > room && matchMedia("(pointer: coarse)").matches;
    dom.turnHint.hidden = !turnable;
    dom.turnHint.style.top = `${top + height}px`;
}

// The whole CSS length nearest `css` that also falls on a whole device
// pixel. Browsers place a canvas on whole CSS pixels in some of their
// paths and on whole device pixels in others: on both, each of its pixels
// is one of the screen's. At a ratio such as 1.25 only every fourth CSS
// pixel is one.
function onDevicePixel(css, dpr) {
    const nearest = Math.round(css);
    for (let step = 0; step < 64; ++step) {
        const candidate = nearest + (step % 2 === 0 ? step / 2 : -(step + 1) / 2);
        const device = candidate * dpr;
        if (candidate >= 0 && Math.abs(device - Math.round(device)) < 1e-6) {
            return candidate;
        }
    }
    return nearest;
}

// Browser zoom and a move to another screen change the ratio.
function followRatio() {
    const query = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
    query.addEventListener(
        "change",
        () => {
            layout();
            followRatio();
        },
        { once: true },
    );
}

// The player's wish for reduced motion, as the browser reports it, now and
// whenever it changes: the core then keeps the window still and its
// flashes slow.
function followMotion() {
    const query = matchMedia("(prefers-reduced-motion: reduce)");
    page.core.reduceMotion(query.matches);
    query.addEventListener("change", () => happen(() => page.core.reduceMotion(query.matches)));
}

// --- Keys ---------------------------------------------------------------

// Space and Enter go down and come up as the browser says, and the core
// decides what they press: once, however long the key is held and however
// the browser reports its repeats. The browser's own pressing is kept out of it.
function reportKey(event) {
    const key = event.key === " " ? Key.Space : event.key === "Enter" ? Key.Enter : null;
    if (key === null) {
        return;
    }
    event.preventDefault();
    const down = event.type === "keydown";
    happen(() => page.core.key(key, down, event.timeStamp));
}
dom.window.addEventListener("keydown", reportKey);
dom.window.addEventListener("keyup", reportKey);
window.addEventListener("blur", () => page.core && page.core.keyboardLost());

// --- Starting -----------------------------------------------------------

class CannotStart extends Error {}

function bind(module) {
    const start = module.cwrap("yopo_start", "number", ["number", "number", "number", "number"]);
    const key = module.cwrap("yopo_key", "number", ["number", "number", "number"]);
    const reduceMotion = module.cwrap("yopo_reduce_motion", null, ["number"]);
    return {
        start,
        click: module.cwrap("yopo_click", "number", ["string"]),
        key: (which, down, at) => key(which, Flag.of(down), at),
        wake: module.cwrap("yopo_wake", "number", []),
        reduceMotion: (reduced) => reduceMotion(Flag.of(reduced)),
        shown: () => module._yopo_window(WindowEvent.Shown),
        activated: () => module._yopo_window(WindowEvent.Activated),
        keyboardLost: () => module._yopo_window(WindowEvent.KeyboardLost),
        hidden: () => module._yopo_window(WindowEvent.Hidden),
        nextDue: module.cwrap("yopo_next_due", "number", []),
        state: module.cwrap("yopo_state", "string", []),
        view: (at) => JSON.parse(module.UTF8ToString(module._yopo_view(at))),
        frame: module._yopo_frame,
        firstFocus: module.cwrap("yopo_first_focus", "string", []),
        focused: module.cwrap("yopo_focused", null, ["string"]),
        heap: () => module.HEAPF64,
        text: (address) => module.UTF8ToString(address),
        keep: () => module._yopo_keep(),
        close: () => module._yopo_close(),
        underWay: () => module._yopo_bath_under_way() === 1,
    };
}

// The game's own face, or, where it cannot be fetched (a content blocker, a
// strict mode), the system's Japanese faces: the words are then measured
// and drawn in whichever of those the browser picks, and their baseline
// placed by that face's own ascent and descent. Resolves to the ascent and
// descent as fractions of the em.
async function loadFace() {
    const face = new FontFace(font.family, `url("${font.file}")`);
    document.fonts.add(face);
    try {
        await face.load();
        // Nothing is measured before the face is there.
        await document.fonts.load(fontOf(12, false), font.text);
        return { ascent: font.ascent, descent: font.descent };
    } catch (error) {
        console.warn("yopo: the game's face could not be loaded; the system's is used", error);
        document.fonts.delete(face);
        page.faces = kSystemFaces;
        const kEm = 100;
        measure2d.font = fontOf(kEm, false);
        const measured = measure2d.measureText(font.text);
        return {
            ascent: measured.fontBoundingBoxAscent / kEm,
            descent: measured.fontBoundingBoxDescent / kEm,
        };
    }
}

async function start() {
    if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiate !== "function") {
        throw new CannotStart("このブラウザーでは WebAssembly が使えないため、ヨポを遊べません。");
    }
    let module;
    let extent;
    try {
        [module, extent] = await Promise.all([
            createCore({
                page: {
                    ...keep.store,
                    wakeAt,
                    advance(line, pixels, bold) {
                        measure2d.font = fontOf(pixels, bold);
                        return measure2d.measureText(line).width;
                    },
                },
            }),
            loadFace(),
        ]);
    } catch (error) {
        console.error(error);
        throw new CannotStart(kCannotLoad);
    }
    // One tab plays the bath; another tab waits until the player takes it over.
    await keep.hold(() => {
        stop(keep.lostLine());
        wakeAt(null);
        page.core = null;
    });
    const core = bind(module);
    page.core = core;
    core.start(extent.ascent, extent.descent, window.screen.width, window.screen.height);
    followMotion();
    page.view = core.view(1);
    dom.window.setAttribute("aria-label", page.view.window.name);
    layout();
    // The pictures, decoded (or found missing) before the first frame
    // counts as painted.
    await Promise.all([...page.pictures.values()].map((entry) => entry.loading));
    paint();
    // The moment the first frame reaches the screen, for the benchmark.
    requestAnimationFrame(() => performance.mark("yopo-first-paint"));
    dom.loadState.hidden = !page.stopped;
    focusOn(core.firstFocus());
    // Screen readers hear the greeting once the window is there and the
    // player is at it.
    core.shown();
    if (document.hasFocus()) {
        happen(core.activated);
    } else {
        window.addEventListener("focus", () => happen(core.activated), { once: true });
    }
    followRatio();
    keep.keepWhenHidden(() => page.core && page.core.keep());
    keep.offerNewBath(
        () => page.core !== null && page.core.underWay(),
        () => page.core && page.core.close(),
    );
    window.addEventListener("resize", layout);
    document.addEventListener("visibilitychange", comeBack);
    window.addEventListener("pageshow", catchUp);
    document.addEventListener("resume", catchUp);
}

start().then(
    () => page.settle.resolve(),
    (error) => {
        dom.loadState.textContent =
            error instanceof CannotStart ? error.message : "ヨポを始められませんでした。";
        dom.loadState.hidden = false;
        if (!(error instanceof CannotStart)) {
            console.error(error);
        }
        page.settle.reject(error);
    },
);
