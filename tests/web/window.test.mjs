// window.test.mjs: the page shows the Linux window's key pixels at ratio 1,
// keeps thin lines one device pixel wide at every ratio, and fits a phone.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {test} from 'node:test';

import {decodePng, open, servedAndLaunched, shoot, source, state} from './support.mjs';

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

test('on a phone the whole client area fits and a tap presses Command1', async () => {
    const page = await open(web.browser, web.server.url, {ratio: 3, width: 360, height: 740, mobile: true});
    const box = await page.$eval('#window', (element) => {
        const {left, top, right, bottom} = element.getBoundingClientRect();
        return {left, top, right, bottom};
    });
    assert.ok(box.left >= 0 && box.top >= 0 && box.right <= 360 && box.bottom <= 740,
              `the client area ${JSON.stringify(box)} leaves the screen`);
    await page.tap('#Command1');
    assert.equal((await state(page)).Phase, 1);
    await shoot(page, 'page-phone.png');
    await page.close();
});
