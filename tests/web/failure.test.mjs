// failure.test.mjs: when part of the game cannot be fetched the page says so
// in one line, never with a dialog; without its own face or a picture it
// plays on.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {keepNothing, servedAndLaunched, started, state} from './support.mjs';

const web = servedAndLaunched();

// A page opened with the files whose names end so refused, and the dialogs
// it opened.
async function openWithout(endings) {
    const page = await web.browser.newPage();
    await keepNothing(page);
    const dialogs = [];
    page.on('dialog', async (dialog) => {
        dialogs.push(dialog.message());
        await dialog.dismiss();
    });
    // Past the offline copy an earlier page may have left.
    await page.setBypassServiceWorker(true);
    await page.setRequestInterception(true);
    page.on('request', (request) =>
        endings.some((ending) => request.url().endsWith(ending)) ? request.abort() : request.continue());
    await page.goto(web.server.url);
    return {page, dialogs};
}

const kLoading = '読み込んでいます…';

for (const file of ['yopo-core.wasm', 'yopo-core.js', 'yopo-font.js', 'yopo.js']) {
    test(`${file} that cannot be fetched is one line in the page`, async () => {
        const {page, dialogs} = await openWithout([`/${file}`]);
        await page.waitForFunction((loading) =>
            document.getElementById('load-state').textContent !== loading, {}, kLoading);
        const line = await page.$eval('#load-state', (element) => ({
            shown: !element.hidden && element.getClientRects().length > 0,
            text: element.innerText.trim(),
        }));
        assert.ok(line.shown, 'the failure is not shown');
        assert.match(line.text, /^ヨポを読み込めませんでした。[^\n]*$/);
        assert.deepEqual(dialogs, []);
        await page.close();
    });
}

for (const [what, ending] of [['its face', '.woff2'], ['the portrait', '/portrait.jpg'],
                              ['the word picture', '/yopo-word.gif']]) {
    test(`without ${what} the page plays on`, async () => {
        const {page} = await openWithout([ending]);
        await started(page);
        assert.equal(await page.$eval('#load-state', (element) => element.hidden), true);
        await page.click('#Command1');
        assert.equal((await state(page)).Phase, 1);
        await page.close();
    });
}
