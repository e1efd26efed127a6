// window.test.mjs: the page shows the Linux window's key pixels at ratio 1,
// keeps thin lines one device pixel wide at every ratio, fits a phone held
// either way with touch targets large enough, shows nothing of its own over
// the canvas in forced colours, flashes no faster than is safe, and tells
// the tab of a catastrophe.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {test} from 'node:test';

import {decodePng, open, servedAndLaunched, shoot, source, state, VirtualClock} from './support.mjs';

const web = servedAndLaunched();

// The Linux window as it opens, at ratio 1 (scripts/screenshot).
const linux = decodePng(fs.readFileSync(path.join(source, 'docs/screenshot.png')));

// Flat colours match but for a rounding; the portrait is decoded by another
// JPEG decoder. The same key pixels as the Windows window's test.
const kTolerance = 8;
const kPictureTolerance = 40;
const brown = [128, 64, 64], white = [255, 255, 255], black = [0, 0, 0], grey = [224, 224, 224],
      water = [192, 255, 255];
const kProbes = [
    ['tub, back rim', 200, 192, brown],
    ['tub, front rim', 200, 200, brown],
    ['tub, front left edge', 24, 260, brown],
    ['tub, back right edge', 328, 260, brown],
    ['balloon, top border', 150, 24, black],
    ['balloon, inside', 150, 100, white],
    ["balloon, tail's point", 352, 96, black],
    ['tap, pipe', 50, 164, grey],
    ["buttons' panel", 365, 230, grey],
    ['portrait', 430, 20, null],
];

function near(actual, expected, tolerance) {
    return actual.every((value, i) => Math.abs(value - expected[i]) <= tolerance);
}

function pixelAt(shot, x, y) {
    return shot.picture.pixel(Math.round(shot.left + x), Math.round(shot.top + y));
}

test("at ratio 1 the page shows the Linux window's key pixels", async () => {
    const page = await open(web.browser, web.server.url);
    const misses = [];
    const check = (shot, what, x, y, expected, linuxToo) => {
        const pixel = pixelAt(shot, x, y);
        if (expected && !near(pixel, expected, kTolerance)) {
            misses.push(`${what} (${x},${y}): ${pixel}, not the layout's ${expected}`);
        }
        if (linuxToo && !near(pixel, linux.pixel(x, y), expected ? kTolerance : kPictureTolerance)) {
            misses.push(`${what} (${x},${y}): ${pixel}, the Linux window ${linux.pixel(x, y)}`);
        }
    };
    const start = await shoot(page, 'page-ratio-1.png');
    for (const [what, x, y, colour] of kProbes) {
        check(start, what, x, y, colour, true);
    }
    check(start, 'no water yet', 200, 332, white, true);
    check(start, 'no stream yet', 76, 250, white, true);

    await page.click('#Command1');
    const tap = await shoot(page, 'page-ratio-1-tap.png');
    for (const [what, x, y, colour] of kProbes) {
        check(tap, what, x, y, colour, false);
    }
    check(tap, 'water, tap open', 200, 332, water, false);
    check(tap, 'stream, tap open', 76, 250, water, false);

    await page.click('#Command1');
    const closed = await shoot(page);
    check(closed, 'water, tap closed', 200, 332, water, false);
    check(closed, 'no stream, tap closed', 76, 250, white, false);
    assert.deepEqual(misses, []);
    await page.close();
});

// Scans across lines one layout pixel wide, through the middle of their
// length (as the Linux window's own test scans them).
const kThinLines = [
    ["the tub's inner back left edge, upright", [50, 260], [1, 0], 12],
    ["the tub's inner back floor edge, level", [150, 322], [0, 1], 10],
    ["the balloon's left border", [18, 70], [1, 0], 12],
    ["the tap's pipe, upper side", [40, 150], [0, 1], 14],
];

for (const ratio of [1.25, 1.5, 2, 3]) {
    test(`at ratio ${ratio} thin lines are one device pixel wide`, async () => {
        const page = await open(web.browser, web.server.url, {ratio, width: 640, height: 480});
        const backing = await page.$eval('#form', (canvas) => [canvas.width, canvas.height]);
        assert.deepEqual(backing, [Math.round(485 * ratio), Math.round(357 * ratio)]);
        const shot = await shoot(page, ratio === 2 ? 'page-ratio-2.png' : undefined);
        // Laid out at a device pixel, to within layout's 1/64 of a pixel.
        for (const corner of [shot.left, shot.top]) {
            assert.ok(Math.abs(corner - Math.round(corner)) < 0.05,
                      `the client area starts between device pixels, at ${corner}`);
        }
        const device = (layout) => Math.round(layout * ratio);
        for (const [what, [x, y], [dx, dy], length] of kThinLines) {
            const runs = [];
            let run = 0;
            for (let i = 0; i < Math.round(length * ratio); ++i) {
                const pixel = shot.picture.pixel(Math.round(shot.left) + device(x) + dx * i,
                                                 Math.round(shot.top) + device(y) + dy * i);
                if (near(pixel, black, 0)) {
                    ++run;
                } else if (run > 0) {
                    runs.push(run);
                    run = 0;
                }
            }
            if (run > 0) {
                runs.push(run);
            }
            assert.deepEqual(runs, [1], what);
        }
        await page.close();
    });
}

// The room a phone gives the page, held upright and turned, in CSS pixels.
const kPhone = [['upright', 360, 640], ['turned', 640, 360]];

for (const [held, width, height] of kPhone) {
    test(`on a phone held ${held} the client area fits, and a tap presses Command1`, async () => {
        const page = await open(web.browser, web.server.url, {ratio: 2, width, height, mobile: true});
        const box = await page.$eval('#window', (element) => {
            const {left, top, right, bottom} = element.getBoundingClientRect();
            return {left, top, right, bottom};
        });
        assert.ok(box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height,
                  `the client area ${JSON.stringify(box)} leaves the screen`);
        // Upright, the window is shown smaller, and one line says turning helps.
        const small = box.right - box.left < 485;
        assert.equal(small, held === 'upright');
        assert.equal(await page.$eval('#turn-hint', (hint) => hint.checkVisibility()), small);

        // Each button's touch target: its own box and the unseen area
        // around it, in CSS pixels, and what a tap at each corner finds.
        const targets = await page.$$eval('button:not([hidden])', (buttons) => buttons.map((button) => {
            const box = button.getBoundingClientRect();
            const around = getComputedStyle(button, '::before');
            const border = 1;
            const target = {
                left: box.left + border + parseFloat(around.left),
                top: box.top + border + parseFloat(around.top),
                right: box.right - border - parseFloat(around.right),
                bottom: box.bottom - border - parseFloat(around.bottom),
            };
            const corners = [[target.left, target.top], [target.right, target.top],
                             [target.left, target.bottom], [target.right, target.bottom]];
            return {
                id: button.id, ...target,
                own: [box.width, box.height],
                found: corners.every(([x, y]) =>
                    document.elementFromPoint(x + (x === target.left ? 0.5 : -0.5),
                                              y + (y === target.top ? 0.5 : -0.5)) === button),
            };
        }));
        assert.equal(targets.length, 2);
        for (const target of targets) {
            const size = [target.right - target.left, target.bottom - target.top];
            size.forEach((length, i) => {
                const most = Math.max(44, target.own[i]);
                assert.ok(length >= (small ? 24 : target.own[i]) && length <= most + 0.01,
                          `${target.id}'s target is ${size.join(' × ')}`);
            });
            assert.ok(target.found, `a tap inside ${target.id}'s target misses it`);
        }
        const [a, b] = targets;
        assert.ok(a.bottom <= b.top || b.bottom <= a.top || a.right <= b.left || b.right <= a.left,
                  'two touch targets overlap');

        await page.tap('#Command1');
        assert.equal((await state(page)).Phase, 1);
        await shoot(page, `page-phone-${held}.png`);
        await page.close();
    });
}

test('in dark forced colours nothing the page lays over the canvas shows', async () => {
    const page = await open(web.browser, web.server.url);
    const plain = await shoot(page);
    const session = await page.createCDPSession();
    await session.send('Emulation.setEmulatedMedia',
                       {features: [{name: 'forced-colors', value: 'active'},
                                   {name: 'prefers-color-scheme', value: 'dark'}]});
    const forced = await shoot(page, 'page-forced-colours.png');
    // The message, the title and both pictures: all but the buttons' panel,
    // whose buttons take the system's colours.
    const misses = [];
    for (let y = 4; y < 354; y += 3) {
        for (let x = 4; x < 482; x += 3) {
            const panel = x >= 360 && y >= 224 && y < 329;
            if (!panel && !near(pixelAt(forced, x, y), pixelAt(plain, x, y), kTolerance)) {
                misses.push(`(${x},${y})`);
            }
        }
    }
    assert.deepEqual(misses.slice(0, 5), []);
    await page.close();
});

// The ground's colour as the canvas shows it inside the balloon, at every
// 10 ms of Chrome's virtual clock for `ms`: the moments it changes.
async function groundChanges(page, clock, ms) {
    const changes = [];
    let last = null;
    for (let at = 0; at < ms; at += 10) {
        await clock.advance(10);
        const colour = await page.$eval('#form', (canvas) =>
            canvas.getContext('2d').getImageData(150, 115, 1, 1).data.slice(0, 3).join());
        if (colour !== last) {
            changes.push(at);
            last = colour;
        }
    }
    return changes.slice(1);
}

function mostInASecond(changes) {
    return Math.max(0, ...changes.map((from) => changes.filter((at) => at >= from && at < from + 1000).length));
}

// The scald, 99 degrees after the click on a tub stopped at once.
const kScaldAfter = 1500 + 99 * 2700 + 100;

for (const [what, reduce, most] of [['by default', false, 6], ['with reduced motion', true, 2]]) {
    test(`the scald's ground changes colour at most ${most} times a second ${what}`, async () => {
        const page = await open(web.browser, web.server.url);
        if (reduce) {
            await page.emulateMediaFeatures([{name: 'prefers-reduced-motion', value: 'reduce'}]);
        }
        for (const button of ['#Command1', '#Command1', '#Command2']) {
            await page.click(button);
        }
        const clock = await VirtualClock.of(page);
        await clock.advance(kScaldAfter);
        assert.equal((await state(page)).Temperature >= 100, true);
        const changes = await groundChanges(page, clock, 3000);
        assert.ok(changes.length >= 4, `only ${changes.length} changes in 3 s`);
        assert.ok(mostInASecond(changes) <= most, `changes at ${changes.join(', ')} ms`);
        await page.close();
    });
}

test('the tab tells of a flood in the master\'s words and icon', async () => {
    const page = await open(web.browser, web.server.url);
    const tab = () => page.evaluate(() =>
        [document.title, document.querySelector('link[rel="icon"]').getAttribute('href')]);
    assert.deepEqual(await tab(), ['ヨポ', 'yopo.ico']);
    await page.click('#Command1');
    const clock = await VirtualClock.of(page);
    // 408 filling ticks from the tub's floor to its back rim.
    await clock.advance(408 * 6000 + 100);
    assert.deepEqual(await tab(), ['大洪水です！！', 'yopo.ico']);
    // The flood's light cyan flashes as the game paints it.
    assert.ok(mostInASecond(await groundChanges(page, clock, 1000)) >= 15);
    // A player gone to another tab sees the red icon.
    const other = await web.browser.newPage();
    await other.bringToFront();
    assert.deepEqual(await tab(), ['大洪水です！！', 'yopo-danger.png']);
    await other.close();
    await page.close();
});
