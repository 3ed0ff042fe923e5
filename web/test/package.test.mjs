// The npm package as it ships: `npm pack`, installed offline into a fresh
// folder, imported by name from a script there.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdtempSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {test} from 'node:test';

import {nativeJson, today, top} from './common.mjs';

test('npm pack gives a package that installs offline and checks a file', () => {
  const work = mkdtempSync(path.join(tmpdir(), 'verilote-npm-'));
  try {
    const npm = (args, cwd) => execFileSync('npm', args, {cwd, encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe']});
    const packed = JSON.parse(npm(['pack', '--json', '--pack-destination', work], path.join(top, 'web')));
    assert.deepEqual(packed[0].files.map((f) => f.path).sort(), [
      'dist/verilote-core.mjs',
      'dist/verilote-core.wasm',
      'package.json',
      'verilote.d.ts',
      'verilote.js',
    ]);
    const app = path.join(work, 'app');
    execFileSync('mkdir', [app]);
    writeFileSync(path.join(app, 'package.json'), '{"name": "app", "private": true, "type": "module"}');
    npm(['install', '--offline', '--no-audit', '--no-fund', path.join(work, packed[0].filename)], app);
    const file = path.join(top, 'examples/sigcb240/remessa_sigcb240_com_erros.rem');
    writeFileSync(
        path.join(app, 'main.js'),
        `import { check } from 'verilote';\n` +
            `console.log(JSON.stringify(await check(${JSON.stringify(file)}, { today: '${today}' })));\n`,
    );
    const result = JSON.parse(execFileSync('node', ['main.js'], {cwd: app, encoding: 'utf8'}));
    assert.deepEqual(result, nativeJson(['check', '--format', 'json', '--today', today, file]).files[0]);
  } finally {
    rmSync(work, {recursive: true, force: true});
  }
});
