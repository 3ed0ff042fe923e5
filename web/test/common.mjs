// What the Node tests share: the repository's top folder (the reports name
// the examples by their path from there), the native verilote-cli to compare
// with, and the examples' manifest.
import {spawnSync} from 'node:child_process';
import {existsSync, readFileSync} from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

export const top = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
process.chdir(top);

export const cli = path.resolve(process.env.VERILOTE_CLI ?? 'build/verilote-cli');
if (!existsSync(cli)) throw new Error(`${cli} is missing: build it first (scripts/web-test.sh does)`);

// verilote-cli with `args`: its exit status and its stdout and stderr as text.
export function native(args) {
  const result = spawnSync(cli, args, {encoding: 'utf8', maxBuffer: 1 << 30});
  return {status: result.status, out: result.stdout, err: result.stderr};
}

export function nativeJson(args) {
  return JSON.parse(native(args).out);
}

export const today = '06/12/2026';

// The rows of tests/examples/runs.txt: example, status, layouts, handler, answers.
export function exampleRuns() {
  const rows = [];
  for (const line of readFileSync('tests/examples/runs.txt', 'utf8').split('\n')) {
    if (line === '' || line.startsWith('#')) continue;
    const [example, status, layouts, handler, ...rest] = line.split(/\s+/).filter((w) => w !== '');
    const answers = [];
    for (let i = 0; i < rest.length; i += 2) {
      if (rest[i] !== '--answer') throw new Error(`runs.txt: unknown option ${rest[i]} for ${example}`);
      answers.push(rest[i + 1]);
    }
    rows.push({example, status: Number(status), layouts, handler, answers});
  }
  return rows;
}

export function expected(example, suffix) {
  const file = `tests/examples/${example}${suffix}`;
  return existsSync(file) ? readFileSync(file, 'utf8') : '';
}
