// yopo.js: the page of ヨポ. It loads the core (the game and its window, in
// WebAssembly) and the game's face, paints the core's frame on the canvas
// pixel for pixel, lays real buttons and what screen readers read over it,
// and wakes the game when its timer falls due. It decides nothing of the
// game's or the window's: it asks the core and does what it says.
import createCore from "./yopo-core.js";
import { font } from "./yopo-font.js";

const page = {
    window: document.getElementById("window"),
    canvas: document.getElementById("form"),
    status: document.getElementById("Lbl_msg"),
    loadState: document.getElementById("load-state"),
};
const paint2d = page.canvas.getContext("2d", { alpha: false });
const measure2d = document.createElement("canvas").getContext("2d");

// The keys that can press a button, as the core numbers them.
const Key = { Space: 0, Enter: 1 };
// The frame's entries (see window/front/web/paint_list.h).
const Paint = { Fill: 0, Picture: 1, Text: 2, header: 4 };
// The room kept around the client area on a narrow screen, in CSS pixels.
const kMargin = 8;

let core = null;
// The device pixels to the layout's pixel the canvas is painted at: the
// screen's own ratio, times the scale that fits the client area on a
// narrow screen.
let ratio = 1;
// Each element the page lays over the canvas, by its control's name.
const elements = new Map();
// The latest view of them.
let view = null;
// The words held back while the page is hidden: only the latest is said.
let unsaid = null;
let stale = false;
let stopped = false;

let settle;
const ready = new Promise((resolve, reject) => {
    settle = { resolve, reject };
});
ready.catch(() => {}); // the page itself says why
window.yopo = {
    ready,
    // The state line, as yopo-headless prints it.
    state: () => (core ? core.state() : null),
    // When Timer1 ticks next, on the state line's clock; null if it does not run.
    nextDue: () => {
        const due = core ? core.nextDue() : -1;
        return due < 0 ? null : due;
    },
};

// --- The text -----------------------------------------------------------

function fontOf(pixels, bold) {
    return `${bold ? "bold " : ""}${pixels}px "${font.family}"`;
}

// --- The alarm ----------------------------------------------------------

// Timer1's next tick, as the core asks: a timeout aimed at the moment it
// falls due on performance.now()'s clock, never a count of callbacks, so a
// late wake-up (a hidden tab is woken once a second, or once a minute) still
// delivers every tick due. A wake-up due already comes as a message, which
// no browser holds back as it does timeouts.
const alarm = { at: null, timer: 0, round: 0 };
const soon = new MessageChannel();
soon.port1.onmessage = (message) => {
    if (message.data === alarm.round) {
        ring();
    }
};

function wakeAt(when) {
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
    alarm.timer = 0;
    if (alarm.at !== null) {
        happen(() => core.wake());
    }
}

// --- Events -------------------------------------------------------------

// Everything that happens to the game goes through here: the core acts,
// then the page shows what it says and moves the focus on if its button
// can no longer act.
function happen(act) {
    if (!core) {
        return;
    }
    const focused = focusedButton();
    act();
    show();
    if (focused && !stopped && !canAct(focused)) {
        focusOn(core.focus(focused));
    }
}

function focusedButton() {
    const active = document.activeElement;
    return active instanceof HTMLButtonElement && elements.get(active.id) === active ? active.id : "";
}

function canAct(name) {
    const button = elements.get(name);
    return button && !button.disabled && !button.hidden;
}

function focusOn(name) {
    (name ? elements.get(name) : page.window).focus();
}

function show() {
    view = core.view(ratio);
    syncElements();
    if (view.say !== undefined) {
        say(view.say);
    }
    if (view.stopped !== undefined && !stopped) {
        stop(view.stopped);
    }
    if (document.hidden) {
        stale = true;
    } else {
        paint();
    }
}

// The page is back from a freeze, or from the back-forward cache: every
// tick due is delivered at once, without waiting for the browser's timers.
function catchUp() {
    happen(() => core.wake());
}

// The page is seen again: the ticks due are delivered, the window painted
// once and only the latest words said.
function comeBack() {
    if (document.hidden) {
        return;
    }
    catchUp();
    if (unsaid !== null) {
        say(unsaid);
    }
}

function say(words) {
    if (document.hidden) {
        unsaid = words;
    } else {
        page.status.textContent = words;
        unsaid = null;
    }
}

// A run-time error has stopped the game: the player reads why in the page.
function stop(report) {
    stopped = true;
    page.loadState.textContent = report;
    page.loadState.hidden = false;
    for (const element of elements.values()) {
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
        element.addEventListener("click", () => happen(() => core.click(control.id)));
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
    for (const control of view.controls) {
        let element = control.role === "status" ? page.status : elements.get(control.id);
        if (!element) {
            element = makeElement(control);
            // In the core's order, around the message, which is always there.
            if (afterStatus) {
                page.window.insertBefore(element, page.loadState);
            } else {
                page.window.insertBefore(element, page.status);
            }
        }
        if (control.role === "status") {
            afterStatus = true;
        }
        elements.set(control.id, element);
        const [left, top, width, height] = control.area;
        const box = [left, top, width, height, control.em].map((device) => `${device / dpr}px`);
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
            const disabled = stopped || !control.enabled;
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

// --- The canvas ---------------------------------------------------------

const colours = new Map();
function colourOf(bgr) {
    let css = colours.get(bgr);
    if (css === undefined) {
        const rgb = ((bgr & 0xff) << 16) | (bgr & 0xff00) | ((bgr >> 16) & 0xff);
        css = `#${rgb.toString(16).padStart(6, "0")}`;
        colours.set(bgr, css);
    }
    return css;
}

// The pictures the frame names, decoded before they are painted.
const pictures = new Map();
function picture(name) {
    let entry = pictures.get(name);
    if (!entry) {
        const image = new Image();
        image.src = name;
        entry = { image, decoded: false, loading: null };
        entry.loading = image.decode().then(() => {
            entry.decoded = true;
        });
        pictures.set(name, entry);
    }
    return entry;
}

// Paints the core's frame at the current ratio: every number in it is a
// device pixel, so the canvas is not scaled at all. A picture not decoded
// yet is painted with the rest once it is.
function paint() {
    stale = false;
    const waiting = [];
    const at = core.frame(ratio) / 8;
    const heap = core.heap();
    const end = at + heap[at];
    const width = heap[at + 1];
    const height = heap[at + 2];
    if (page.canvas.width !== width || page.canvas.height !== height) {
        page.canvas.width = width;
        page.canvas.height = height;
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
            const entry = picture(core.text(heap[i + 6]));
            if (entry.decoded) {
                g.imageSmoothingEnabled = heap[i + 5] !== 0;
                g.imageSmoothingQuality = "high";
                g.drawImage(entry.image, heap[i + 1], heap[i + 2], heap[i + 3], heap[i + 4]);
            } else {
                waiting.push(entry.loading);
            }
            i += 7;
            break;
        }
        case Paint.Text:
            g.font = fontOf(heap[i + 3], heap[i + 4] !== 0);
            g.fillStyle = colourOf(heap[i + 5]);
            g.fillText(core.text(heap[i + 6]), heap[i + 1], heap[i + 2]);
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
    ratio = dpr * Math.min(1, (room - 2 * kMargin) / view.window.width);
    show();
    if (stale) {
        paint();
    }
    const width = page.canvas.width / dpr;
    const height = page.canvas.height / dpr;
    const snap = (css) => onDevicePixel(css, dpr);
    const style = page.window.style;
    style.width = `${width}px`;
    style.height = `${height}px`;
    style.left = `${snap(Math.max(0, (room - width) / 2))}px`;
    style.top = `${snap(Math.max(kMargin, (tall - height) / 2))}px`;
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
    core.reduceMotion(query.matches ? 1 : 0);
    query.addEventListener("change", () => happen(() => core.reduceMotion(query.matches ? 1 : 0)));
}

// --- Keys ---------------------------------------------------------------

// Space and Enter go down and come up as the browser says, and the core
// decides what they press: once, however long the key is held and however
// the browser reports its repeats. The browser's own pressing is kept out of it.
document.addEventListener("keydown", (event) => {
    if (event.key === "Tab" || event.key === " " || event.key === "Enter") {
        page.window.classList.add("keyboard");
    }
});
function reportKey(event) {
    const key = event.key === " " ? Key.Space : event.key === "Enter" ? Key.Enter : null;
    if (key === null) {
        return;
    }
    event.preventDefault();
    const down = event.type === "keydown" ? 1 : 0;
    happen(() => core.key(focusedButton(), key, down, event.timeStamp));
}
page.window.addEventListener("keydown", reportKey);
page.window.addEventListener("keyup", reportKey);
window.addEventListener("blur", () => core && core.keyboardLost());

// --- Starting -----------------------------------------------------------

class CannotStart extends Error {}

function bind(module) {
    return {
        start: module.cwrap("yopo_start", "number", ["number", "number", "number", "number"]),
        click: module.cwrap("yopo_click", "number", ["string"]),
        key: module.cwrap("yopo_key", "number", ["string", "number", "number", "number"]),
        wake: module.cwrap("yopo_wake", "number", []),
        reduceMotion: module.cwrap("yopo_reduce_motion", null, ["number"]),
        shown: () => module._yopo_window(0),
        activated: () => module._yopo_window(1),
        keyboardLost: () => module._yopo_window(2),
        nextDue: module.cwrap("yopo_next_due", "number", []),
        state: module.cwrap("yopo_state", "string", []),
        view: (at) => JSON.parse(module.UTF8ToString(module._yopo_view(at))),
        frame: module._yopo_frame,
        focus: module.cwrap("yopo_focus", "string", ["string"]),
        heap: () => module.HEAPF64,
        text: (address) => module.UTF8ToString(address),
    };
}

async function start() {
    if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiate !== "function") {
        throw new CannotStart("このブラウザーでは WebAssembly が使えないため、ヨポを遊べません。");
    }
    const face = new FontFace(font.family, `url("${font.file}")`);
    document.fonts.add(face);
    let module;
    try {
        [module] = await Promise.all([
            createCore({
                page: {
                    wakeAt,
                    advance(line, pixels, bold) {
                        measure2d.font = fontOf(pixels, bold);
                        return measure2d.measureText(line).width;
                    },
                },
            }),
            face.load(),
        ]);
        // Nothing is measured before the face is there.
        await document.fonts.load(fontOf(12, false), font.text);
    } catch (error) {
        console.error(error);
        throw new CannotStart("ヨポを読み込めませんでした。接続を確かめて、ページを読み込み直してください。");
    }
    core = bind(module);
    core.start(font.ascent, font.descent, window.screen.width, window.screen.height);
    followMotion();
    view = core.view(1);
    page.window.setAttribute("aria-label", view.window.name);
    layout();
    // The pictures, decoded before the first frame counts as painted.
    await Promise.all([...pictures.values()].map((entry) => entry.loading));
    paint();
    // The moment the first frame reaches the screen, for the benchmark.
    requestAnimationFrame(() => performance.mark("yopo-first-paint"));
    page.loadState.hidden = !stopped;
    focusOn(core.focus(""));
    // Screen readers hear the greeting once the window is there and the
    // player is at it.
    core.shown();
    if (document.hasFocus()) {
        happen(core.activated);
    } else {
        window.addEventListener("focus", () => happen(core.activated), { once: true });
    }
    followRatio();
    window.addEventListener("resize", layout);
    document.addEventListener("visibilitychange", comeBack);
    window.addEventListener("pageshow", catchUp);
    document.addEventListener("resume", catchUp);
}

start().then(
    () => settle.resolve(),
    (error) => {
        page.loadState.textContent =
            error instanceof CannotStart ? error.message : "ヨポを始められませんでした。";
        page.loadState.hidden = false;
        if (!(error instanceof CannotStart)) {
            console.error(error);
        }
        settle.reject(error);
    },
);
