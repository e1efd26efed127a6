// keyboard.test.mjs: the game played from the keyboard, the focus shown,
// and what a screen reader is given of the page.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {open, servedAndLaunched, state} from './support.mjs';

const web = servedAndLaunched();

const focused = (page) => page.evaluate(() => document.activeElement?.id ?? '');

test('Tab goes through the buttons in order, Space and Enter press, the focus moves on', async () => {
    const page = await open(web.browser, web.server.url);
    // Into the buttons from wherever the page starts the focus.
    while ((await focused(page)) !== 'Command1') {
        await page.keyboard.press('Tab');
    }
    await page.keyboard.press('Tab');
    assert.equal(await focused(page), 'Command2');
    await page.keyboard.down('Shift');
    await page.keyboard.press('Tab');
    await page.keyboard.up('Shift');
    assert.equal(await focused(page), 'Command1');

    await page.keyboard.press('Space');
    assert.equal((await state(page)).Phase, 1);
    // Closing the tap greys Command1 for good: the focus goes on to Command2.
    await page.keyboard.press('Enter');
    assert.equal((await state(page)).Phase, 2);
    assert.equal(await focused(page), 'Command2');
    await page.keyboard.press('Enter');
    assert.equal((await state(page)).Phase, 3);
    await page.close();
});

// The relative luminance of an sRGB colour, "rgb(r, g, b)".
function luminance(css) {
    const [r, g, b] = css.match(/\d+/g).slice(0, 3).map((c) => {
        const v = Number(c) / 255;
        return v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4;
    });
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}

test('Command1 shows its focus as the window opens, a ring that stands out from the panel', async () => {
    const page = await open(web.browser, web.server.url);
    assert.equal(await focused(page), 'Command1');
    const ring = await page.$eval('#Command1', (button) => {
        const style = getComputedStyle(button);
        return {style: style.outlineStyle, width: style.outlineWidth, colour: style.outlineColor};
    });
    assert.deepEqual([ring.style, ring.width], ['solid', '2px']);
    const panel = luminance('rgb(224, 224, 224)');
    const contrast = (panel + 0.05) / (luminance(ring.colour) + 0.05);
    assert.ok(contrast >= 3, `the ring is ${contrast.toFixed(2)}:1 against the panel`);
    await page.close();
});

test('screen readers get the buttons, the message and the pictures, not the canvas', async () => {
    const page = await open(web.browser, web.server.url);
    const session = await page.createCDPSession();
    const tree = async () => (await session.send('Accessibility.getFullAXTree')).nodes
        .filter((node) => !node.ignored);
    const property = (node, name) => node.properties?.find((p) => p.name === name)?.value.value;
    const named = (nodes, role) => nodes.filter((node) => node.role?.value === role)
        .map((node) => ({name: node.name?.value ?? '', disabled: property(node, 'disabled') ?? false}));

    // The page's name, then the master's message before the buttons.
    const order = await page.$$eval('h1, #Lbl_msg, button', (elements) => elements.map((e) => e.id || e.tagName));
    assert.deepEqual(order.slice(0, 3), ['H1', 'Lbl_msg', 'Command1']);
    let nodes = await tree();
    assert.deepEqual(named(nodes, 'button'),
                     [{name: '水を入れる', disabled: false}, {name: '沸かす', disabled: false}]);
    const status = nodes.find((node) => node.role?.value === 'status');
    assert.ok(status, 'no status region');
    assert.equal(property(status, 'live'), 'polite');
    // The word picture and the portrait, by what they show; the title under
    // the portrait is text.
    assert.deepEqual(named(nodes, 'image').map((image) => image.name).sort(),
                     ['ヨポ', 'ヨポの達人の似顔絵']);
    assert.ok(nodes.some((node) => node.name?.value === 'ヨポの達人' && node.role?.value !== 'image'),
              'no title');
    assert.ok(!nodes.some((node) => node.role?.value === 'canvas'), 'the canvas is shown');

    // A click: the buttons' new names and states, and the message, whole.
    await page.click('#Command1');
    nodes = await tree();
    assert.deepEqual(named(nodes, 'button'),
                     [{name: '水を止める', disabled: false}, {name: '沸かす', disabled: true}]);
    const {Lbl_msg: message} = await state(page);
    const text = await page.$eval('#Lbl_msg', (element) => element.textContent);
    assert.equal(text.replace(/\r?\n/g, '\r\n'), message.Caption);
    await page.close();
});
