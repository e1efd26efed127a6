// golden.test.mjs: the golden games played in the page through its buttons,
// on Chrome's virtual clock, give the transcripts yopo-headless gives.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {golden, goldenNames, open, servedAndLaunched, state, VirtualClock} from './support.mjs';

const web = servedAndLaunched();

// The page's clock starts at Form_Load, some milliseconds before the test can
// begin a game; yopo-headless begins at 0. Every clock_ms of the page is later
// by that same start, and the test takes it off; the rest of each line must be
// identical.
function shifted(line, start) {
    return line.replace(/^\{"clock_ms":(\d+),/, (_, ms) => `{"clock_ms":${Number(ms) - start},`);
}

for (const name of goldenNames()) {
    test(name, async () => {
        const {commands, expected} = golden(name);
        // The window stands centred on the screen yopo-headless assumes.
        const page = await open(web.browser, web.server.url, {screen: [1920, 1080]});
        const clock = await VirtualClock.of(page);
        const start = (await state(page)).clock_ms;
        const lines = [];
        for (const command of commands) {
            const [verb, argument] = command.trim().split(/\s+/);
            if (verb === 'click') {
                // A button that is not shown cannot be clicked; one that is
                // disabled is clicked and does nothing.
                const at = await page.$eval(`#${argument}`, (button) => {
                    const box = button.getBoundingClientRect();
                    return button.hidden ? null : {x: box.x + box.width / 2, y: box.y + box.height / 2};
                });
                if (at) {
                    await page.mouse.click(at.x, at.y);
                }
            } else if (verb === 'tick') {
                for (let n = Number(argument ?? 1); n > 0; --n) {
                    const due = await page.evaluate(() => window.yopo.nextDue());
                    if (due === null) {
                        break;
                    }
                    await clock.advanceInto(due - start);
                    assert.notEqual(await page.evaluate(() => window.yopo.nextDue()), due,
                                    `the tick due at ${due} ms did not come`);
                }
            } else if (verb === 'wait') {
                await clock.advance(Number(argument));
            } else if (verb === 'state') {
                lines.push(shifted(await page.evaluate(() => window.yopo.state()), start));
            } else if (verb === 'drag') {
                // A page cannot be dragged about the screen: the rest of this
                // game is the desktop's alone.
                break;
            } else {
                assert.fail(`unknown command: ${command}`);
            }
        }
        assert.ok(lines.length > 0);
        assert.deepEqual(lines, expected.slice(0, lines.length));
        await page.close();
    });
}
