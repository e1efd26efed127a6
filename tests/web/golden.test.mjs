// golden.test.mjs: the golden games, replayed by the game in WebAssembly
// through its own script reader (the web build's yopo-headless, on Node.js),
// give yopo-headless's transcripts, whole and byte for byte.
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {test} from 'node:test';

import {goldenNames, site, source} from './support.mjs';

const replayer = path.join(site, '../replay/yopo-headless.js');

for (const name of goldenNames()) {
    test(name, () => {
        const golden = path.join(source, 'tests/golden', name);
        const run = spawnSync(process.execPath, [replayer, `${golden}.script`], {encoding: 'utf8'});
        assert.equal(run.stderr, '');
        assert.equal(run.status, 0);
        assert.equal(run.stdout, fs.readFileSync(`${golden}.expected`, 'utf8'));
    });
}
