// failure.test.mjs: when the game cannot be fetched the page says so in one
// line, never with a dialog.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {servedAndLaunched} from './support.mjs';

const web = servedAndLaunched();

test('a core that cannot be fetched is one line in the page', async () => {
    const page = await web.browser.newPage();
    const dialogs = [];
    page.on('dialog', async (dialog) => {
        dialogs.push(dialog.message());
        await dialog.dismiss();
    });
    await page.setRequestInterception(true);
    page.on('request', (request) =>
        request.url().endsWith('/yopo-core.wasm') ? request.abort() : request.continue());
    await page.goto(web.server.url);
    const outcome = await page.evaluate(() => window.yopo.ready.then(() => 'ready', () => 'refused'));
    assert.equal(outcome, 'refused');
    const line = await page.$eval('#load-state', (element) => ({
        shown: !element.hidden && element.getClientRects().length > 0,
        text: element.innerText.trim(),
    }));
    assert.ok(line.shown, 'the failure is not shown');
    assert.notEqual(line.text, '');
    assert.doesNotMatch(line.text, /\n/);
    assert.notEqual(line.text, '読み込んでいます…');
    assert.deepEqual(dialogs, []);
    await page.close();
});
