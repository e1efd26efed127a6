// failure.test.mjs: when the game cannot be fetched the page says so in one
// line, never with a dialog.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';

import {launch, serve, site} from './support.mjs';

let server, browser;
before(async () => {
    server = await serve(site);
    browser = await launch();
});
after(async () => {
    await browser?.close();
    await server?.close();
});

test('a core that cannot be fetched is one line in the page', async () => {
    const page = await browser.newPage();
    const dialogs = [];
    page.on('dialog', async (dialog) => {
        dialogs.push(dialog.message());
        await dialog.dismiss();
    });
    await page.setRequestInterception(true);
    page.on('request', (request) =>
        request.url().endsWith('/yopo-core.wasm') ? request.abort() : request.continue());
    await page.goto(server.url);
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
