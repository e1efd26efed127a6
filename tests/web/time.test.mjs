// time.test.mjs: a page that is frozen, or hidden behind another tab, gets
// every tick the wall clock has made due, on the real clock.
import assert from 'node:assert/strict';
import {setTimeout as sleep} from 'node:timers/promises';
import {test} from 'node:test';

import {open, servedAndLaunched, state} from './support.mjs';

// Without the flags that keep a background tab running at full speed.
const web = servedAndLaunched({
    ignoreDefaultArgs: ['--disable-background-timer-throttling',
                        '--disable-backgrounding-occluded-windows',
                        '--disable-renderer-backgrounding'],
});

const kFillingTick = 6000;
const kRise = 5; // twips a filling tick

// Opens the tap and returns what the tick count is measured from.
async function openTap(page) {
    await page.click('#Command1');
    const opened = await state(page);
    return {wall: Date.now(), clock: opened.clock_ms, height: opened.Shp_water.Height};
}

// Every tick due by the wall clock since the tap opened has been delivered,
// and the page's clock agrees with the wall clock.
async function assertCaughtUp(page, opened) {
    await sleep(200);
    const now = await state(page);
    const wall = Date.now() - opened.wall;
    const elapsed = now.clock_ms - opened.clock;
    assert.ok(Math.abs(elapsed - wall) < 250, `page clock ${elapsed} ms, wall clock ${wall} ms`);
    assert.equal((now.Shp_water.Height - opened.height) / kRise, Math.floor(elapsed / kFillingTick));
}

test('a frozen page gets every tick due when it comes back', async () => {
    const page = await open(web.browser, web.server.url);
    const session = await page.createCDPSession();
    const opened = await openTap(page);
    await session.send('Page.setWebLifecycleState', {state: 'frozen'});
    await sleep(2 * kFillingTick + 1500);
    await session.send('Page.setWebLifecycleState', {state: 'active'});
    await assertCaughtUp(page, opened);
    await page.close();
});

test('a hidden page gets every tick due while it is hidden', async () => {
    const page = await open(web.browser, web.server.url);
    const opened = await openTap(page);
    const other = await web.browser.newPage();
    await other.bringToFront();
    assert.equal(await page.evaluate(() => document.visibilityState), 'hidden');
    await sleep(kFillingTick + 1500);
    await assertCaughtUp(page, opened);
    await page.bringToFront();
    await other.close();
    await page.close();
});
