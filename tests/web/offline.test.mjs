// offline.test.mjs: the page is an app Chromium will install, runs under its
// Content-Security-Policy with nothing refused, plays with the server gone,
// and takes a new version only when the player reloads, bath and all; its
// server answers any address without falling over.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {launch, serve, site, started, state} from './support.mjs';

let browser;
before(async () => {
    browser = await launch();
});
after(async () => {
    await browser?.close();
});

// Each test has a copy of the site at an address of its own, so that one
// test's cached version is not another's. Chromium installs nothing from an
// incognito context, so the manifest's test uses the browser's own profile,
// itself new with every launch. The copy goes when the test ends, passed or
// not: a server left open would keep the run from ever finishing.
async function fresh(t, {incognito = true} = {}) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'yopo-site-'));
    fs.cpSync(site, folder, {recursive: true});
    const context = incognito ? await browser.createBrowserContext() : browser.defaultBrowserContext();
    const run = {folder, context, incognito, server: await serve(folder)};
    t.after(() => dispose(run));
    return run;
}

async function dispose({folder, context, incognito, server}) {
    if (incognito) {
        await context.close();
    }
    await server.close();
    fs.rmSync(folder, {recursive: true, force: true});
}

// Settles once `page` has loaded `count` more documents; fails, rather than
// waiting for ever, if it has not within ten seconds.
function loads(page, count) {
    return new Promise((resolve, reject) => {
        let seen = 0;
        const late = setTimeout(() => {
            page.off('load', loaded);
            reject(new Error(`${seen} of ${count} loads in 10 s`));
        }, 10000);
        function loaded() {
            if (++seen === count) {
                clearTimeout(late);
                page.off('load', loaded);
                resolve();
            }
        }
        page.on('load', loaded);
    });
}

// Waits until the service worker is active and has the whole site.
async function kept(page) {
    return page.evaluate(async () => {
        const registration = await navigator.serviceWorker.ready;
        return {script: registration.active.scriptURL, caches: await caches.keys()};
    });
}

test('Chromium reads the manifest and finds nothing that stops an install', async (t) => {
    const run = await fresh(t, {incognito: false});
    const page = await run.context.newPage();
    await page.goto(run.server.url);
    await started(page);
    await kept(page);
    const session = await page.createCDPSession();
    const manifest = await session.send('Page.getAppManifest');
    assert.deepEqual(manifest.errors, []);
    const parsed = JSON.parse(manifest.data);
    assert.equal(parsed.name, 'ヨポ');
    assert.equal(parsed.lang, 'ja');
    assert.deepEqual(parsed.icons.map((icon) => `${icon.sizes} ${icon.purpose}`).sort(),
                     ['192x192 any', '512x512 any', '512x512 maskable']);
    assert.deepEqual(parsed.screenshots.map((shot) => shot.form_factor).sort(), ['narrow', 'wide']);
    const {installabilityErrors} = await session.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
    await page.close();
});

test('the page runs under its Content-Security-Policy with nothing refused', async (t) => {
    const run = await fresh(t);
    const page = await run.context.newPage();
    const refused = [];
    page.on('console', (message) => {
        if (/Content.Security.Policy/i.test(message.text())) {
            refused.push(message.text());
        }
    });
    await page.evaluateOnNewDocument(() => {
        document.addEventListener('securitypolicyviolation', (event) => {
            (window.refused ??= []).push(`${event.violatedDirective} ${event.blockedURI}`);
        });
    });
    await page.goto(run.server.url);
    await started(page);
    await page.click('#Command1');
    await kept(page);
    refused.push(...await page.evaluate(() => window.refused ?? []));
    assert.deepEqual(refused, []);

    // Only the site itself, and WebAssembly; no inline script or style.
    const policy = await page.$eval('meta[http-equiv="Content-Security-Policy"]',
                                    (meta) => meta.content);
    const sources = policy.split(';').flatMap((directive) => directive.trim().split(/\s+/).slice(1));
    assert.deepEqual([...new Set(sources)].sort(), ["'none'", "'self'", "'wasm-unsafe-eval'"]);
    const html = fs.readFileSync(path.join(run.folder, 'index.html'), 'utf8');
    assert.doesNotMatch(html, /<script(?![^>]*\ssrc=)[^>]*>/i, 'an inline script');
    assert.doesNotMatch(html, /<style|\sstyle=/i, 'an inline style');
});

test('after a first visit the game loads and plays with the server gone', async (t) => {
    const run = await fresh(t);
    const page = await run.context.newPage();
    await page.goto(run.server.url);
    await started(page);
    const first = await kept(page);
    assert.equal(first.caches.length, 1);
    await run.server.close();

    await page.reload();
    await started(page);
    assert.ok(await page.evaluate(() => navigator.serviceWorker.controller !== null));
    await page.click('#Command1');
    assert.equal((await state(page)).Phase, 1);
});

test('a new version waits while a bath runs and takes it up at the next load', async (t) => {
    const run = await fresh(t);
    const page = await run.context.newPage();
    await page.goto(run.server.url);
    await started(page);
    const first = await kept(page);
    // The page is the service worker's own from its second load on.
    await page.reload();
    await started(page);
    await page.click('#Command1');

    // A new build of the site: the worker carries a new version.
    const worker = path.join(run.folder, 'sw.js');
    fs.writeFileSync(worker, fs.readFileSync(worker, 'utf8')
        .replace(/const kSiteVersion = '[^']*'/, "const kSiteVersion = 'next'"));
    const waited = await page.evaluate(async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        await registration.update();
        const installing = registration.installing;
        if (installing && installing.state !== 'installed') {
            await new Promise((resolve) => installing.addEventListener('statechange', () => {
                if (installing.state === 'installed' || installing.state === 'redundant') {
                    resolve();
                }
            }));
        }
        return {waiting: registration.waiting !== null, caches: await caches.keys()};
    });
    assert.equal(waited.waiting, true);
    assert.deepEqual(waited.caches.sort(), [...first.caches, 'yopo-next'].sort());
    // The running bath keeps its version and goes on.
    assert.equal((await state(page)).Phase, 1);
    assert.deepEqual((await page.evaluate(() => caches.keys())).sort(), waited.caches);

    // The player reloads. A reload alone never wakes a waiting version (the
    // old page still holds the old one), so the page that loads hands over
    // to it and loads once more, under it. The old version goes, and the
    // bath goes on from the record the old version kept.
    const handedOver = loads(page, 2);
    await page.reload();
    await handedOver;
    await page.waitForFunction(async () => (await caches.keys()).join() === 'yopo-next',
                               {polling: 100, timeout: 10000});
    await started(page);
    assert.equal((await state(page)).Phase, 1);
});

// One request as sent, its path untouched: the status and headers.
function ask(url, path) {
    const {hostname, port} = new URL(url);
    return new Promise((resolve, reject) => {
        http.get({hostname, port, path}, (response) => {
            response.resume();
            resolve({status: response.statusCode, headers: response.headers});
        }).on('error', reject);
    });
}

test('the server answers odd addresses 400 or 404, goes on, and sends its headers', async (t) => {
    const server = await serve(site);
    t.after(() => server.close());
    const odd = ['/%', '/%E0%A4%A', '/index.html%00', '/../../etc/passwd', '/yopo.js/', '/nothing'];
    const answers = [];
    for (const path of odd) {
        answers.push((await ask(server.url, path)).status);
    }
    assert.deepEqual(answers, [400, 400, 400, 404, 404, 404]);
    const page = await ask(server.url, '/');
    assert.equal(page.status, 200);
    const policy = page.headers['content-security-policy'];
    for (const directive of ["frame-ancestors 'none'", 'base-uri', 'form-action']) {
        assert.ok(policy.includes(directive), `no ${directive} in ${policy}`);
    }
    assert.equal(page.headers['x-content-type-options'], 'nosniff');
});
