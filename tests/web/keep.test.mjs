// keep.test.mjs: the bath on the web page survives a reload, a discarded
// tab and a day away; a spoilt record starts a new bath with one line; two
// tabs share one bath; the player can start again.
import assert from 'node:assert/strict';
import path from 'node:path';
import {setTimeout as sleep} from 'node:timers/promises';
import {test} from 'node:test';

import {launch, servedAndLaunched, source, started, state} from './support.mjs';

const web = servedAndLaunched();

const kFillingTick = 6000;
const kStartLevel = 135;
const kRise = 5;
const kDay = 24 * 60 * 60 * 1000;

// A page whose wall clock (Date) stands `away` ms ahead from its next
// document on: as if the player had been away that long.
async function awayFor(page, away) {
    if (page.awayScript) {
        await page.removeScriptToEvaluateOnNewDocument(page.awayScript);
    }
    ({identifier: page.awayScript} = await page.evaluateOnNewDocument((ms) => {
        const wall = Date.now;
        Date.now = () => wall() + ms;
        // Every task the page runs longer than 50 ms, for the catch-up's share.
        window.longTasks = [];
        new PerformanceObserver((list) => window.longTasks.push(
            ...list.getEntries().map((task) => ({start: task.startTime, duration: task.duration}))))
            .observe({type: 'longtask', buffered: true});
    }, away));
}

async function opened(browser = web.browser) {
    // No page of an earlier test holds the bath any more.
    for (const old of await browser.pages()) {
        if (old.url().startsWith(web.server.url)) {
            await old.close();
        }
    }
    const page = await browser.newPage();
    page.lines = [];
    page.on('console', (message) => page.lines.push(message.text()));
    await page.goto(web.server.url);
    // A new bath, whatever an earlier test kept.
    await page.evaluate(() => localStorage.clear());
    await reloaded(page);
    return page;
}

async function reloaded(page) {
    await page.reload();
    await started(page);
}

const kept = (page) => page.evaluate(() => localStorage.getItem('yopo-bath'));

async function newBath(page) {
    await page.evaluate(() => localStorage.clear());
    await reloaded(page);
}

test('a reload mid-fill goes on with the water where it was and the time it took', async () => {
    const page = await opened();
    await page.click('#Command1');
    // Ten ticks and half of one while the page reloads.
    await awayFor(page, 10.5 * kFillingTick);
    await reloaded(page);
    await page.waitForFunction(() => JSON.parse(window.yopo.state()).Shp_water.Height > 135);
    const now = await state(page);
    assert.equal(now.Phase, 1);
    assert.equal(now.Shp_water.Height, kStartLevel + 10 * kRise);
    // The next tick comes half a tick on, as it would have.
    const until = now.Timer1.Enabled && (await page.evaluate(() => window.yopo.nextDue())) - now.clock_ms;
    assert.ok(until > 0.4 * kFillingTick && until <= 0.5 * kFillingTick, `next tick in ${until} ms`);
    await page.close();
});

test('a day away with the tap open ends in the flood as it stands now, with no long task',
     async () => {
    const page = await opened();
    await page.click('#Command1');
    await awayFor(page, kDay);
    await reloaded(page);
    await page.waitForFunction(() => JSON.parse(window.yopo.state()).Shp_water.Visible === false,
                               {polling: 50});
    // A day of the shake is 1.7 million ticks: caught up in a second or so.
    await sleep(1500);
    const now = await state(page);
    assert.equal(now.Phase, 1);
    assert.equal(now.Timer1.Interval, 50);
    // Every tick of the day, then no more than the 1.5 s since.
    const ticks = (now.Shp_water.Height - kStartLevel) / kRise;
    const shakeTicks = ticks - 408;
    const dueInDay = 408 + Math.floor((kDay - 408 * kFillingTick) / 50);
    assert.ok(shakeTicks + 408 >= dueInDay && ticks <= dueInDay + 200,
              `${ticks} ticks, ${dueInDay} due`);
    // The flood has been shown: the next start is a new bath.
    assert.equal(await kept(page), null);
    const longest = Math.max(0, ...(await page.evaluate(() => window.longTasks))
        .filter((task) => task.start > 0).map((task) => task.duration));
    assert.ok(longest < 100, `a task of ${longest} ms`);
    await page.close();
});

test('a clock set back a day loses nothing', async () => {
    const page = await opened();
    await page.click('#Command1');
    await awayFor(page, -kDay);
    await reloaded(page);
    const now = await state(page);
    assert.equal(now.Phase, 1);
    assert.equal(now.Shp_water.Height, kStartLevel);
    assert.ok((await page.evaluate(() => window.yopo.nextDue())) - now.clock_ms <= kFillingTick);
    await awayFor(page, 0);
    await newBath(page);
    await page.close();
});

test('a spoilt record of every kind starts a new bath, says so once and is set aside',
     async () => {
    const page = await opened();
    await page.click('#Command1');
    const good = await kept(page);
    const spoilt = {
        'cut in half': good.slice(0, good.length / 2),
        'altered': good.replace('Phase 1', 'Phase 2'),
        'junk': '\u0000\u00ff\ud800junk',
        'empty': '',
        'a megabyte of rubbish': 'y'.repeat(1 << 20),
        'another format': good.replace('yopo-bath 1', 'yopo-bath 9'),
    };
    for (const [kind, record] of Object.entries(spoilt)) {
        // Put in place as the next document starts, after this one has kept its bath.
        const {identifier} = await page.evaluateOnNewDocument(
            (text) => localStorage.setItem('yopo-bath', text), record);
        page.lines = [];
        await reloaded(page);
        await page.removeScriptToEvaluateOnNewDocument(identifier);
        assert.equal((await state(page)).Phase, 0, kind);
        assert.deepEqual(page.lines.filter((line) => line.startsWith('yopo:')).length, 1, kind);
        assert.match(page.lines.find((line) => line.startsWith('yopo:')), /could not be read/, kind);
        assert.equal(await kept(page), null, kind);
        if (record.length < 1 << 20) {
            assert.equal(await page.evaluate(() => localStorage.getItem('yopo-bath.bad')), record);
        }
    }
    await page.close();
});

test('storage that refuses the bath never stops the game, and says so once', async () => {
    const page = await opened();
    await page.evaluateOnNewDocument(() => {
        Storage.prototype.setItem = () => {
            throw new DOMException('full', 'QuotaExceededError');
        };
    });
    await newBath(page);
    page.lines = [];
    await page.click('#Command1');
    await page.click('#Command1');
    await page.click('#Command2');
    assert.equal((await state(page)).Phase, 3);
    assert.equal(page.lines.filter((line) => /cannot be kept/.test(line)).length, 1);
    await page.close();
});

test('two tabs share one bath: the second offers to take it over, and the first stops',
     async () => {
    const first = await opened();
    await first.click('#Command1');
    const second = await web.browser.newPage();
    await second.goto(web.server.url);
    await second.waitForSelector('#elsewhere');
    assert.match(await second.$eval('#elsewhere', (line) => line.textContent), /別のタブで開いています/);
    await second.click('#elsewhere button');
    await started(second);
    assert.equal((await state(second)).Phase, 1);
    await first.waitForFunction(() => !document.getElementById('load-state').hidden);
    assert.match(await first.$eval('#load-state', (line) => line.textContent), /別のタブ/);
    assert.equal(await first.$eval('#Command1', (button) => button.disabled), true);
    // The first tab writes no more: the record is the second's.
    await second.click('#Command1');
    await sleep(200);
    assert.match(await kept(second), /^Phase 2$/m);
    await first.close();
    await second.close();
});

test('the start-again control asks first while a bath is under way', async () => {
    const page = await opened();
    let asked = 0;
    let answer = false;
    page.on('dialog', async (dialog) => {
        asked += 1;
        await (answer ? dialog.accept() : dialog.dismiss());
    });
    await page.click('#Command1');
    await page.click('#new-bath');
    assert.equal(asked, 1);
    assert.equal((await state(page)).Phase, 1);
    answer = true;
    await Promise.all([page.waitForNavigation(), page.click('#new-bath')]);
    await started(page);
    assert.equal(asked, 2);
    assert.equal((await state(page)).Phase, 0);
    assert.equal(await kept(page), null);
    // With no bath under way it starts again without asking.
    await Promise.all([page.waitForNavigation(), page.click('#new-bath')]);
    await started(page);
    assert.equal(asked, 2);
    await page.close();
});

test('a tab the browser discards comes back with its bath', async () => {
    const extension = path.join(source, 'tests/web/discard');
    const browser = await launch({
        args: [`--disable-extensions-except=${extension}`, `--load-extension=${extension}`],
        ignoreDefaultArgs: ['--disable-extensions'],
    });
    try {
        const worker = await (await browser.waitForTarget((t) => t.type() === 'service_worker'))
            .worker();
        const page = await opened(browser);
        await page.click('#Command1');
        const url = page.url();
        await worker.evaluate(async (address) => {
            // The extension's own API, in its service worker.
            const {tabs} = globalThis.chrome;
            const [tab] = await tabs.query({url: address});
            const other = await tabs.create({url: 'about:blank', active: true});
            // A discarded tab comes back under a new id.
            const discarded = await tabs.discard(tab.id);
            await tabs.update(discarded.id, {active: true});
            await tabs.remove(other.id);
        }, url);
        const target = await browser.waitForTarget(
            (t) => t.type() === 'page' && t.url() === url && t.targetId !== page.target()._targetId);
        const back = await target.page();
        await started(back);
        assert.equal(await back.evaluate(() => document.wasDiscarded), true);
        assert.equal((await state(back)).Phase, 1);
    } finally {
        await browser.close();
    }
});
