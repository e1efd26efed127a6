// run.mjs WHAT: ヨポ's web page in headless Chromium, each figure beside a
// bare page measured in the same run: one canvas painted with one rectangle,
// three buttons and a label (bench/web/bare). Both come from the same server
// on 127.0.0.1. bench/run web starts it; see bench/README.md.
//
//   startup   navigation to the first canvas paint, the bytes fetched before
//             it (gzip), memory 1 s after it: fresh launches, alternating
//   idle      timer wake-ups and CPU while Timer1 is stopped
//   tap       CPU, wake-ups and tick error while the tap runs, real clock
//   shake     CPU during the shake, real clock
//   all       all of them
//
// BENCH_RUNS (7) launches of each page for startup, BENCH_TICKS (5) filling
// ticks for tap, BENCH_SECONDS (30) of shaking, BENCH_IDLE (10) seconds idle.
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';
import {setTimeout as sleep} from 'node:timers/promises';
import {fileURLToPath} from 'node:url';
import zlib from 'node:zlib';

import {serve} from '../../scripts/serve-web.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const source = path.resolve(here, '../..');
const require = createRequire(path.join(source, 'tests/web/package.json'));
const puppeteer = require('puppeteer-core');

const site = path.resolve(process.env.BENCH_WEB_SITE ?? path.join(source, 'build-web/site'));
const bare = path.join(here, 'bare');
const env = (name, fallback) => Number(process.env[name] ?? fallback);

// --- Measuring from outside: the browser's processes ----------------------

function processTree(root) {
    const parents = new Map();
    for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
        try {
            const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
            parents.set(Number(pid), Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]));
        } catch {
            // gone meanwhile
        }
    }
    const tree = [root];
    for (let i = 0; i < tree.length; ++i) {
        for (const [pid, parent] of parents) {
            if (parent === tree[i]) {
                tree.push(pid);
            }
        }
    }
    return tree;
}

function isRenderer(pid) {
    try {
        return fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8').includes('--type=renderer');
    } catch {
        return false;
    }
}

// CPU nanoseconds and sleeps (voluntary context switches, each a later
// wake-up) of every thread: {all, renderer, rendererMain: sleeps}.
function counters(root) {
    const out = {cpu: 0, rendererCpu: 0, mainSleeps: 0};
    for (const pid of processTree(root)) {
        const renderer = isRenderer(pid);
        let tasks = [];
        try {
            tasks = fs.readdirSync(`/proc/${pid}/task`);
        } catch {
            continue;
        }
        for (const task of tasks) {
            try {
                const cpu = Number(fs.readFileSync(`/proc/${pid}/task/${task}/schedstat`, 'utf8').split(' ')[0]);
                out.cpu += cpu;
                if (renderer) {
                    out.rendererCpu += cpu;
                    if (Number(task) === pid) {
                        const status = fs.readFileSync(`/proc/${pid}/task/${task}/status`, 'utf8');
                        out.mainSleeps += Number(/voluntary_ctxt_switches:\s*(\d+)/.exec(status)[1]);
                    }
                }
            } catch {
                // a thread that ended
            }
        }
    }
    return out;
}

// Proportional set size of the browser's processes, in bytes.
function pss(root) {
    let total = 0;
    for (const pid of processTree(root)) {
        try {
            total += 1024 * Number(/^Pss:\s+(\d+)/m.exec(fs.readFileSync(`/proc/${pid}/smaps_rollup`, 'utf8'))[1]);
        } catch {
            // gone meanwhile
        }
    }
    return total;
}

async function observe(browser, seconds) {
    const root = browser.process().pid;
    const before = counters(root);
    const start = process.hrtime.bigint();
    await sleep(seconds * 1000);
    const after = counters(root);
    const wall = Number(process.hrtime.bigint() - start);
    return {
        wallMs: wall / 1e6,
        cpuMs: (after.cpu - before.cpu) / 1e6,
        rendererCpuMs: (after.rendererCpu - before.rendererCpu) / 1e6,
        mainWakes: after.mainSleeps - before.mainSleeps,
        share: (after.cpu - before.cpu) / wall,
    };
}

// --- Measuring from inside: what the page's own script wakes for ----------

// Injected before the page's scripts, never part of the page: notes each
// timer, animation-frame and message callback, and can make the page's clock
// run `scale` times faster (setScale(1) puts it back to the wall's pace).
function hooks(scale) {
    const realNow = performance.now.bind(performance);
    const bench = (window.bench = {calls: [], clicks: [], now: realNow});
    let origin = 0, realOrigin = 0;
    performance.now = () => origin + (realNow() - realOrigin) * scale;
    bench.setScale = (next) => {
        origin = performance.now();
        realOrigin = realNow();
        scale = next;
    };
    const noted = (kind, callback) => function (...args) {
        bench.calls.push([kind, realNow()]);
        return callback.apply(this, args);
    };
    for (const [name, kind] of [['setTimeout', 'timeout'], ['setInterval', 'interval']]) {
        const original = window[name];
        window[name] = (callback, delay = 0, ...rest) =>
            original(typeof callback === 'function' ? noted(kind, callback) : callback, delay / scale, ...rest);
    }
    const frame = window.requestAnimationFrame;
    window.requestAnimationFrame = (callback) => frame(noted('frame', callback));
    const port = Object.getOwnPropertyDescriptor(MessagePort.prototype, 'onmessage');
    Object.defineProperty(MessagePort.prototype, 'onmessage', {
        set(callback) {
            port.set.call(this, typeof callback === 'function' ? noted('message', callback) : callback);
        },
        get() {
            return port.get.call(this);
        },
    });
    document.addEventListener('click', () => bench.clicks.push(realNow()), true);
    // The first canvas paint as seen from outside, for a page that does not
    // mark its own: the animation frame after the first drawing call.
    const context = CanvasRenderingContext2D.prototype;
    for (const name of ['fillRect', 'drawImage', 'putImageData', 'fillText']) {
        const draw = context[name];
        context[name] = function (...args) {
            if (!bench.drawn) {
                bench.drawn = true;
                frame(() => performance.mark('bench-first-canvas-paint'));
            }
            return draw.apply(this, args);
        };
    }
}

// --- The runs ---------------------------------------------------------------

let server;

function launch() {
    const sandbox = process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [];
    return puppeteer.launch({
        executablePath: process.env.YOPO_CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        args: [...sandbox, '--enable-precise-memory-info'],
    });
}

const pages = {
    yopo: () => server.url,
    bare: (mode = '') => `${server.url}bare/${mode}`,
};

// Opens a page in the browser's first tab (the only one) with the hooks in.
async function start(browser, url, scale = 1) {
    const [page] = await browser.pages();
    await page.setViewport({width: 800, height: 600});
    await page.evaluateOnNewDocument(hooks, scale);
    await page.goto(url);
    await page.waitForFunction(() => performance.getEntriesByName('yopo-first-paint').length > 0 ||
                                     performance.getEntriesByName('bench-first-canvas-paint').length > 0,
                               {timeout: 20000, polling: 5});
    // The page's own mark if it makes one, once it is ready.
    const {firstPaint, marked} = await page.evaluate(async () => {
        await window.yopo?.ready;
        const own = performance.getEntriesByName('yopo-first-paint')[0];
        return {
            firstPaint: (own ?? performance.getEntriesByName('bench-first-canvas-paint')[0]).startTime,
            marked: own !== undefined,
        };
    });
    return {page, firstPaint, marked};
}

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// What was fetched before the first paint, gzipped as a server would send it.
async function bytesBefore(page, firstPaint) {
    const fetched = await page.evaluate((paint) =>
        performance.getEntriesByType('navigation').concat(performance.getEntriesByType('resource'))
            .filter((entry) => entry.startTime < paint).map((entry) => entry.name), firstPaint);
    const files = [];
    for (const address of fetched) {
        let file = new URL(address).pathname;
        const root = file.startsWith('/bare/') ? bare : site;
        file = file.replace(/^\/bare\//, '/');
        if (file.endsWith('/')) {
            file += 'index.html';
        }
        // A file the server did not have (the bare page's favicon) was not sent.
        if (!fs.existsSync(path.join(root, file))) {
            continue;
        }
        const bytes = fs.readFileSync(path.join(root, file));
        files.push({file, raw: bytes.length, gzip: zlib.gzipSync(bytes, {level: 9}).length});
    }
    return files;
}

async function startup() {
    const runs = env('BENCH_RUNS', 7);
    const results = {yopo: [], bare: []};
    const order = [];
    for (let i = 0; i < runs; ++i) {
        order.push(...(i % 2 ? ['bare', 'yopo'] : ['yopo', 'bare']));
    }
    // One launch of each first, uncounted, to warm the file cache.
    for (const which of ['yopo', 'bare', ...order]) {
        const browser = await launch();
        const {page, firstPaint, marked} = await start(browser, pages[which]());
        results[which].marked = marked;
        const fetched = await bytesBefore(page, firstPaint);
        await sleep(1000);
        const heap = await page.evaluate(() => performance.memory.usedJSHeapSize);
        const memory = pss(browser.process().pid);
        await browser.close();
        if (results[which].warm) {
            results[which].push({firstPaint, fetched, heap, memory});
        }
        results[which].warm = true;
    }
    const summary = {};
    for (const which of ['yopo', 'bare']) {
        const rows = results[which];
        summary[which] = {
            firstPaint: median(rows.map((row) => row.firstPaint)),
            fastest: Math.min(...rows.map((row) => row.firstPaint)),
            gzip: rows[0].fetched.reduce((sum, file) => sum + file.gzip, 0),
            raw: rows[0].fetched.reduce((sum, file) => sum + file.raw, 0),
            files: rows[0].fetched,
            heap: median(rows.map((row) => row.heap)),
            memory: median(rows.map((row) => row.memory)),
        };
    }
    const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;
    const mb = (bytes) => `${(bytes / 1048576).toFixed(1)} MB`;
    console.log(`start-up, ${runs} fresh launches of each, alternating, medians:`);
    for (const which of ['yopo', 'bare']) {
        const row = summary[which];
        if (!results[which].marked) {
            console.log(`  (${which} makes no yopo-first-paint mark: its first paint is the animation frame` +
                        ' after its first canvas drawing call)');
        }
        console.log(`  ${which.padEnd(5)} first paint ${row.firstPaint.toFixed(1)} ms (fastest ${row.fastest.toFixed(1)}),` +
                    ` before it ${kb(row.gzip)} gzipped (${kb(row.raw)} as files),` +
                    ` JS heap ${mb(row.heap)}, browser PSS ${mb(row.memory)}`);
    }
    console.log(`  ratio first paint ${(summary.yopo.firstPaint / summary.bare.firstPaint).toFixed(2)}` +
                ` (target at most 1.5), browser PSS ${(summary.yopo.memory / summary.bare.memory).toFixed(2)};` +
                ` yopo's bytes before first paint ${kb(summary.yopo.gzip)} (target at most 100 KB)`);
    for (const file of summary.yopo.files) {
        console.log(`    ${file.file.padEnd(24)} ${kb(file.gzip).padStart(9)} gzipped, ${kb(file.raw).padStart(9)}`);
    }
}

function wakes(calls, from, to) {
    const counts = {};
    for (const [kind, at] of calls) {
        if (at >= from && at < to) {
            counts[kind] = (counts[kind] ?? 0) + 1;
        }
    }
    return counts;
}

const describe = (counts) => Object.entries(counts).map(([k, n]) => `${k} ${n}`).join(', ') || 'none';

async function idle() {
    const seconds = env('BENCH_IDLE', 10);
    console.log(`idle with Timer1 stopped, ${seconds} s after the first paint (and again after the tap is closed):`);
    for (const which of ['yopo', 'bare']) {
        const browser = await launch();
        const {page} = await start(browser, pages[which]());
        await sleep(2000);
        let from = await page.evaluate(() => window.bench.now());
        let seen = await observe(browser, seconds);
        let to = await page.evaluate(() => window.bench.now());
        let calls = await page.evaluate(() => window.bench.calls);
        console.log(`  ${which.padEnd(5)} page wake-ups: ${describe(wakes(calls, from, to))};` +
                    ` renderer main thread wakes ${seen.mainWakes}, CPU ${seen.cpuMs.toFixed(1)} ms in all`);
        if (which === 'yopo') {
            await page.click('#Command1');
            await page.click('#Command1');
            await sleep(2000);
            from = await page.evaluate(() => window.bench.now());
            seen = await observe(browser, seconds);
            to = await page.evaluate(() => window.bench.now());
            calls = await page.evaluate(() => window.bench.calls);
            console.log(`  yopo, tap closed: page wake-ups: ${describe(wakes(calls, from, to))};` +
                        ` renderer main thread wakes ${seen.mainWakes}, CPU ${seen.cpuMs.toFixed(1)} ms in all`);
        }
        await browser.close();
    }
    console.log('  (target: no wake-up of the page while Timer1 is stopped)');
}

// The error of each tick against start + k * interval, from the times the
// page's timeouts ran.
function tickErrors(calls, startAt, interval, count) {
    const timeouts = calls.filter(([kind]) => kind === 'timeout' || kind === 'message').map(([, at]) => at);
    const errors = [];
    for (let k = 1; k <= count; ++k) {
        const due = startAt + k * interval;
        const at = timeouts.find((t) => t >= due - 1);
        if (at !== undefined) {
            errors.push(at - due);
        }
    }
    return errors;
}

async function tap() {
    const ticks = env('BENCH_TICKS', 5);
    console.log(`while the tap runs, ${ticks} filling ticks of 6 s, real clock:`);
    const rows = {};
    for (const which of ['yopo', 'bare']) {
        const browser = await launch();
        const {page} = await start(browser, which === 'yopo' ? pages.yopo() : pages.bare('?tick'));
        // When the first tick falls due, on performance.now()'s clock: the
        // page's own clock is whole milliseconds since Form_Load.
        let startAt;
        if (which === 'yopo') {
            await page.click('#Command1');
            startAt = await page.evaluate(() => {
                const now = window.bench.now();
                return Math.floor(now) - JSON.parse(window.yopo.state()).clock_ms + window.yopo.nextDue() - 6000;
            });
        } else {
            startAt = await page.evaluate(() => window.timerStart);
        }
        // Half way between two ticks, so the stretch holds exactly the ticks counted.
        const now = await page.evaluate(() => window.bench.now());
        await sleep(Math.max(0, 3000 - ((now - startAt) % 6000 + 6000) % 6000) || 3000);
        const from = await page.evaluate(() => window.bench.now());
        const seen = await observe(browser, ticks * 6);
        const to = await page.evaluate(() => window.bench.now());
        const calls = await page.evaluate(() => window.bench.calls);
        const errors = tickErrors(calls, startAt, 6000, Math.floor((to - startAt) / 6000));
        const shown = errors.slice(-ticks);
        rows[which] = seen;
        console.log(`  ${which.padEnd(5)} CPU ${(seen.cpuMs / ticks).toFixed(2)} ms a tick` +
                    ` (renderer ${(seen.rendererCpuMs / ticks).toFixed(2)}),` +
                    ` page wake-ups ${describe(wakes(calls, from, to))},` +
                    ` renderer main thread wakes ${(seen.mainWakes / ticks).toFixed(1)} a tick;` +
                    ` tick error mean ${(shown.reduce((a, b) => a + b, 0) / shown.length).toFixed(2)} ms,` +
                    ` worst ${Math.max(...shown).toFixed(2)} ms over ${shown.length}`);
        await browser.close();
    }
    console.log(`  ratio CPU ${(rows.yopo.cpuMs / rows.bare.cpuMs).toFixed(2)}` +
                '   (the bare page: a precise 6 s timer that rewrites a label and repaints)');
}

async function shake() {
    const seconds = env('BENCH_SECONDS', 30);
    console.log(`during the shake, ${seconds} s, real clock:`);
    const rows = {};
    for (const which of ['yopo', 'bare']) {
        const browser = await launch();
        // The road to the flood, 41 minutes, at 400 times the pace; the shake
        // itself at the wall's pace.
        const {page} = await start(browser, which === 'yopo' ? pages.yopo() : pages.bare('?shake'),
                                    which === 'yopo' ? 400 : 1);
        if (which === 'yopo') {
            await page.click('#Command1');
            await page.waitForFunction(() => JSON.parse(window.yopo.state()).Timer1.Interval === 50,
                                       {polling: 100, timeout: 60000});
            await page.evaluate(() => window.bench.setScale(1));
        }
        await sleep(2000);
        const from = await page.evaluate(() => window.bench.now());
        const seen = await observe(browser, seconds);
        const to = await page.evaluate(() => window.bench.now());
        const calls = await page.evaluate(() => window.bench.calls);
        rows[which] = seen;
        console.log(`  ${which.padEnd(5)} CPU ${(seen.share * 100).toFixed(2)} % of a core` +
                    ` (renderer ${(seen.rendererCpuMs / seen.wallMs * 100).toFixed(2)} %),` +
                    ` ${(seen.cpuMs / (seconds * 20)).toFixed(3)} ms a step,` +
                    ` page wake-ups ${describe(wakes(calls, from, to))}`);
        await browser.close();
    }
    console.log(`  ratio CPU ${(rows.yopo.share / rows.bare.share).toFixed(2)}   (target: yopo at most 2 % of a core;` +
                ' the bare page: a precise 50 ms timer moving it 7 px aside and back, repainted in another colour)');
}

const what = process.argv[2];
const runs = {startup, idle, tap, shake};
if (!(what in runs) && what !== 'all') {
    console.error('usage: bench/web/run.mjs startup|idle|tap|shake|all');
    process.exit(2);
}
if (!fs.existsSync(path.join(site, 'index.html'))) {
    console.error(`bench/web: no site in ${site}: build the web preset first`);
    process.exit(1);
}
server = await serve({'/': site, '/bare/': bare});
try {
    const chromium = execFileSync(process.env.YOPO_CHROMIUM ?? '/usr/bin/chromium', ['--version'],
                                  {encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore']}).trim();
    console.log(`browser: ${chromium}, headless; node ${process.version}\n`);
    for (const name of what === 'all' ? Object.keys(runs) : [what]) {
        await runs[name]();
        console.log();
    }
} finally {
    await server.close();
}
