// support.mjs: what the web tests share: Debian's Chromium driven by
// puppeteer-core, the built site served on 127.0.0.1, Chrome's virtual clock,
// and PNG pixels.
import {createRequire} from 'node:module';
import {after, before} from 'node:test';
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import zlib from 'node:zlib';

// The same server as scripts/serve-web, so the tests see what players get.
import {serve} from '../../scripts/serve-web.mjs';

export {serve};

const require = createRequire(import.meta.url);
const puppeteer = require('puppeteer-core');

export const source = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const site = path.resolve(process.env.YOPO_WEB_SITE ?? path.join(source, 'build-web/site'));
export const screenshots =
    path.resolve(process.env.YOPO_WEB_SCREENSHOTS ?? path.join(site, '../screenshots'));

// Debian's Chromium, never one downloaded for the tests.
// The built site served, and a browser launched, for one test file: there
// from before its first test until after its last. Its server and browser
// are filled in once the file's tests begin.
export function servedAndLaunched(launchOptions) {
    const session = {server: null, browser: null};
    before(async () => {
        session.server = await serve(site);
        session.browser = await launch(launchOptions);
    });
    after(async () => {
        await session.browser?.close();
        await session.server?.close();
    });
    return session;
}

export function launch({args = [], ignoreDefaultArgs} = {}) {
    const sandbox = process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [];
    return puppeteer.launch({
        executablePath: process.env.YOPO_CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        args: [...sandbox, ...args],
        ignoreDefaultArgs,
    });
}

// A page at the given device-pixel ratio, on a screen of the given size,
// opened at url and waited for until the game is ready.
export async function open(browser, url,
                           {ratio = 1, width = 800, height = 600, mobile = false, screen} = {}) {
    // One game at a time: a page an earlier test left open would hold the bath.
    for (const old of await browser.pages()) {
        if (old.url().startsWith(new URL(url).origin)) {
            await old.close();
        }
    }
    const page = await browser.newPage();
    await page.setViewport(
        {width, height, deviceScaleFactor: ratio, isMobile: mobile, hasTouch: mobile});
    if (screen) {
        const session = await page.createCDPSession();
        await session.send('Emulation.setDeviceMetricsOverride', {
            width, height, deviceScaleFactor: ratio, mobile,
            screenWidth: screen[0], screenHeight: screen[1],
        });
    }
    await keepNothing(page);
    await page.goto(url);
    await started(page);
    return page;
}

// Waits until the game on `page` has started. A load event is not enough: a
// reload that a new service worker takes over may settle before yopo.js runs.
export async function started(page) {
    await page.waitForFunction(() => window.yopo);
    await page.evaluate(() => window.yopo.ready);
}

// Each game on `page` is a new bath, whatever an earlier page kept, and keeps
// nothing itself: Chromium's virtual clock moves on by a commit of the page's
// storage, which would put the golden games' clock out.
export async function keepNothing(page) {
    await page.evaluateOnNewDocument(() => {
        localStorage.removeItem('yopo-bath');
        Storage.prototype.setItem = () => {};
    });
}

export async function state(page) {
    return JSON.parse(await page.evaluate(() => window.yopo.state()));
}

// Chrome's virtual clock for one page: the page's timers and performance.now()
// move only when advance() says, as fast as the page can keep up. It counts
// in microseconds, as Chrome does.
//
// performance.now() runs with a fraction of a millisecond that the page's
// whole-millisecond clock never shows, and a timeout the page aims at a whole
// millisecond falls due at that fraction past it (the page sets it a whole
// number of milliseconds ahead). So advanceInto() goes a microsecond past
// every fraction the clock has shown yet. of() first sets the fraction to
// about 0.15 ms (the page reads the clock to 0.1 ms), which leaves room for
// some 800 such advances before the page's clock would show one.
export class VirtualClock {
    constructor(session) {
        this.session = session;
        this.elapsedUs = 0;
    }
    static async of(page) {
        const clock = new VirtualClock(await page.createCDPSession());
        await clock.session.send('Emulation.setVirtualTimePolicy', {policy: 'pause'});
        const now = await page.evaluate(() => performance.now());
        await clock.advance(1.15 - (now % 1));
        clock.elapsedUs = 0;
        return clock;
    }
    async advance(ms) {
        const us = Math.round(ms * 1000);
        if (us <= 0) {
            return;
        }
        const expired = new Promise((resolve) =>
            this.session.once('Emulation.virtualTimeBudgetExpired', resolve));
        await this.session.send('Emulation.setVirtualTimePolicy', {policy: 'advance', budget: us / 1000});
        await expired;
        this.elapsedUs += us;
    }
    // Into the page's whole millisecond `ms` after of() returned, past every
    // timeout aimed at it.
    async advanceInto(ms) {
        const past = (this.elapsedUs % 1000) + 1;
        await this.advance((ms * 1000 + past - this.elapsedUs) / 1000);
    }
}

// Decodes a PNG (8-bit greyscale, RGB or RGBA, not interlaced) to
// {width, height, pixel(x, y) -> [r, g, b]}.
export function decodePng(bytes) {
    let at = 8;
    let width = 0, height = 0, channels = 0;
    const data = [];
    while (at < bytes.length) {
        const length = bytes.readUInt32BE(at);
        const type = bytes.toString('latin1', at + 4, at + 8);
        const body = bytes.subarray(at + 8, at + 8 + length);
        if (type === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            if (body[8] !== 8 || body[12] !== 0) {
                throw new Error('decodePng: only 8-bit, non-interlaced pictures');
            }
            channels = {0: 1, 2: 3, 6: 4}[body[9]];
        } else if (type === 'IDAT') {
            data.push(body);
        }
        at += 12 + length;
    }
    const raw = zlib.inflateSync(Buffer.concat(data));
    const stride = width * channels;
    const out = Buffer.alloc(stride * height);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        for (let i = 0; i < stride; ++i) {
            const x = raw[y * (stride + 1) + 1 + i];
            const a = i >= channels ? out[y * stride + i - channels] : 0;
            const b = y > 0 ? out[(y - 1) * stride + i] : 0;
            const c = i >= channels && y > 0 ? out[(y - 1) * stride + i - channels] : 0;
            let v = x;
            if (filter === 1) v = x + a;
            else if (filter === 2) v = x + b;
            else if (filter === 3) v = x + ((a + b) >> 1);
            else if (filter === 4) {
                const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
                v = x + (pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
            }
            out[y * stride + i] = v & 255;
        }
    }
    return {
        width,
        height,
        pixel(x, y) {
            const i = y * stride + x * channels;
            return channels === 1 ? [out[i], out[i], out[i]] : [out[i], out[i + 1], out[i + 2]];
        },
    };
}

// The page as the player sees it, in device pixels, with the client area's
// top left corner in device pixels.
export async function shoot(page, file) {
    const bytes = Buffer.from(await page.screenshot({type: 'png'}));
    if (file) {
        fs.mkdirSync(screenshots, {recursive: true});
        fs.writeFileSync(path.join(screenshots, file), bytes);
    }
    const {left, top, ratio} = await page.evaluate(() => {
        const box = document.getElementById('window').getBoundingClientRect();
        return {left: box.left, top: box.top, ratio: window.devicePixelRatio};
    });
    return {picture: decodePng(bytes), left: left * ratio, top: top * ratio};
}

// The names of the golden games, each a script and its transcript.
export function goldenNames() {
    return fs.readdirSync(path.join(source, 'tests/golden'))
        .filter((file) => file.endsWith('.script')).map((file) => file.slice(0, -7)).sort();
}
