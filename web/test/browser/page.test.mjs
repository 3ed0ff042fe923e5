// The page in Debian's Chromium, headless: files dropped as a user drops
// them, the report read back from the page, the inspector opened by keyboard
// and by mouse, a barcode typed, the downloads saved, bad input, and a big
// remittance checked; every request the page makes recorded, and none but the
// page's own files allowed. The expected texts are the command line's
// (build/verilote-cli, or VERILOTE_CLI) and tests/examples/*.out.
//
//   scripts/web-site.sh && node --test web/test/browser/
import assert from 'node:assert/strict';
import {execFileSync, spawnSync} from 'node:child_process';
import {closeSync, ftruncateSync, mkdirSync, mkdtempSync, openSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {after, before, describe, test} from 'node:test';
import {fileURLToPath} from 'node:url';

import {dropFiles, launch, openPage, serve, settled, siteDir} from './harness.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
const cli = path.resolve(process.env.VERILOTE_CLI || path.join(root, 'build/verilote-cli'));
const examples = path.join(root, 'examples');
const work = mkdtempSync(path.join(tmpdir(), 'verilote-page-'));

// verilote-cli ARGS... in `cwd`, its stdout as UTF-8 (the status is not an
// error: findings end in 1).
function cliOut(args, cwd = root) {
  const run = spawnSync(cli, args, {cwd, encoding: 'utf8', maxBuffer: 1 << 30});
  if (run.error) throw run.error;
  return run.stdout;
}

// The report of `verilote-cli check --format json NAME` run beside the file,
// so that it names the file as the page does, by its name alone.
function cliCheck(file) {
  return JSON.parse(cliOut(['check', '--format', 'json', path.basename(file)], path.dirname(file))).files[0];
}

// tests/examples/runs.txt: the examples whose layout is detected.
function detectedExamples() {
  return readFileSync(path.join(root, 'tests/examples/runs.txt'), 'utf8')
      .split('\n')
      .filter((line) => line && !line.startsWith('#'))
      .map((line) => line.split(' '))
      .filter(([, , layouts]) => layouts !== '-')
      .map(([example, status, layouts, handler]) => ({example, status: Number(status), layouts, handler}));
}

// The report the page must show for an example: the detection's line, then
// the validator's report as tests/examples/<example>.out holds it, with the
// file named as the page names it (the command line prints the path it was
// given). Where detection runs no validator of its own (SICOV: the example
// is run through the invalid-character command), the check's own report.
function expected({example, status, handler}) {
  const file = path.join(examples, example);
  const checked = cliCheck(file);
  if (checked.validator !== handler) return {report: checked.report, status: checked.status};
  const out = readFileSync(path.join(root, 'tests/examples', `${example}.out`), 'utf8')
                  .split('examples/' + example)
                  .join(path.basename(example));
  const lines = out.endsWith('\n') ? out.slice(0, -1).split('\n') : out.split('\n');
  // The detection's own lines first (the verdict, then a layout a line).
  const detection = checked.evidence.split('\n');
  assert.match(detection[0], /^Layout detectado: /);
  assert.deepEqual(checked.report.slice(0, detection.length), detection);
  return {report: [...detection, ...lines], status};
}

let server;
let browser;
let session;

before(async () => {
  server = await serve(siteDir());
  browser = await launch();
  session = await openPage(browser.context, server);
});

after(async () => {
  // No request left the page: every one was for one of its own files.
  if (session) {
    assert.deepEqual(session.refused, [], 'requests to anywhere but the page');
    assert.ok(session.requests.length > 0);
    for (const url of session.requests) assert.ok(url.startsWith(`${server.origin}/`) || url.startsWith('blob:'), url);
    assert.deepEqual(session.errors, []);
  }
  if (browser) await browser.close();
  if (server) await server.close();
  rmSync(work, {recursive: true, force: true});
});

const entries = () => session.page.evaluate(() => window.verilotePage.entries());
const storedText = (id) => session.page.evaluate((n) => window.verilotePage.text(n), id);

async function chooseEntry(name) {
  const {page} = session;
  await page.locator('#files tbody tr', {hasText: name}).first().click();
  await page.waitForFunction((n) => document.getElementById('viewer-title').textContent.startsWith(n), name);
  await page.waitForFunction(() => document.querySelector('#rows .row')?.dataset.loaded != null);
}

// Every line of the report as the list shows it: from Home to End a page at
// a time, the rows in view gathered by their line numbers.
async function readList() {
  const {page} = session;
  await page.locator('#report').focus();
  await page.keyboard.press('Home');
  const lines = new Map();
  for (let guard = 0; guard < 1000; ++guard) {
    await page.waitForFunction(
        () => Array.from(document.querySelectorAll('#rows .row')).every((r) => r.dataset.loaded != null));
    const shown = await page.evaluate(() => window.verilotePage.shown());
    for (const row of shown) lines.set(row.line, row.text);
    const {current, count} =
        await page.evaluate(() => ({current: window.verilotePage.current(), count: window.verilotePage.count()}));
    if (current >= count - 1) break;
    await page.keyboard.press('PageDown');
  }
  return Array.from(lines.keys()).sort((a, b) => a - b).map((line) => lines.get(line));
}

describe('the page', () => {
  test('says that files are read on this computer only', async () => {
    const text = await session.page.locator('#privacy').innerText();
    assert.match(text, /Os arquivos são lidos neste computador; nada é enviado\./);
  });

  test('each example dropped shows the report the command line gives', async () => {
    const list = detectedExamples();
    assert.ok(list.length >= 30, `${list.length} examples`);
    await dropFiles(
        session.page,
        list.map(({example}) => ({name: path.basename(example), bytes: readFileSync(path.join(examples, example))})));
    const done = await settled(session.page, list.length);
    for (const item of list) {
      const name = path.basename(item.example);
      const entry = done.find((e) => e.name === name);
      assert.ok(entry, name);
      assert.equal(entry.state, 'done', name);
      const {report, status} = expected(item);
      assert.equal(entry.result.status, status, name);
      assert.equal(entry.result.layout, item.layouts.split(',')[0], name);
      assert.deepEqual(await storedText(entry.id), report, name);
    }
    // The list itself, scrolled from top to bottom, shows the same lines.
    for (const example of ['sigcb240/remessa_sigcb240_com_erros.rem', 'siacc/remessa_siacc_com_erros.rem']) {
      await chooseEntry(path.basename(example));
      assert.deepEqual(await readList(), expected(list.find((item) => item.example === example)).report, example);
    }
  });
});

// The record `record` of `file` as the inspector draws it: Windows-1252
// decoded, control bytes as blanks.
function recordOf(file, record) {
  const records = new TextDecoder('windows-1252').decode(readFileSync(file)).split('\r\n');
  return records[record - 1].replace(/[\u0000-\u001f]/g, ' ');
}

// Waits for the inspector on report line `line` and checks it against
// `verilote-cli show FILE --record N --format json` and the file itself.
async function expectInspector(file, line, record, text) {
  const {page} = session;
  await page.waitForSelector(`#inspector[data-state="shown"][data-line="${line}"]`);
  const shown = JSON.parse(
      cliOut(['show', path.basename(file), '--record', String(record), '--format', 'json'], path.dirname(file)));
  const own = shown.findings.find((f) => f.line === text);
  assert.ok(own, `show knows the finding ${text}`);
  const table = await page.$$eval(
      '#fields tbody tr',
      (rows) => rows.map(
          (row) =>
              ({cells: Array.from(row.cells).map((cell) => cell.textContent), named: row.classList.contains('named')})),
  );
  const blank = (value) => (value || '').replace(/[\u0000-\u001f]/g, ' ');
  assert.deepEqual(
      table,
      shown.fields.map((f) => ({
                         cells: [
                           f.code || '', f.from === f.to ? String(f.from) : `${f.from}-${f.to}`, f.name || '',
                           blank(f.value), f.expected || ''
                         ],
                         named: f.code != null && own.fields.includes(f.code),
                       })),
  );
  assert.ok(table.some((row) => row.named), 'a field is marked');
  assert.equal(await page.locator('#inspector-line').textContent(), text);
  assert.match(
      await page.locator('#inspector-heading').textContent(),
      new RegExp(`^Registro ${record} \\(${shown.kind}\\) — ${path.basename(file)}$`));
  const [tens, units, raw] = (await page.locator('#raw').textContent()).split('\n');
  const bytes = recordOf(file, record);
  assert.equal(raw, bytes);
  assert.equal(units, Array.from({length: bytes.length}, (_, i) => String((i + 1) % 10)).join(''));
  assert.equal(tens.slice(7, 10), ' 10');
  // The marked bytes of the record are the named fields'.
  const marked = await page.$$eval('#raw mark', (marks) => marks.map((m) => m.textContent));
  assert.ok(marked.length > 0);
  for (const piece of marked) assert.ok(bytes.includes(piece));
}

describe('the inspector', () => {
  const file = path.join(examples, 'sigcb240/remessa_sigcb240_com_erros.rem');
  const name = path.basename(file);

  test('opens from a finding line by keyboard and by click, steps and closes', async () => {
    const {page} = session;
    await chooseEntry(name);
    const entry = (await entries()).find((e) => e.name === name);
    const rows = await page.evaluate((id) => window.verilotePage.rows(id, 0, 1000), entry.id);
    const findings =
        rows.records.map((record, line) => ({line, record, text: rows.lines[line]})).filter((f) => f.record != null);
    assert.ok(findings.length >= 3);

    // Keyboard: Home, down to the first finding, Enter.
    await page.locator('#report').focus();
    await page.keyboard.press('Home');
    for (let i = 0; i < findings[0].line; ++i) await page.keyboard.press('ArrowDown');
    assert.equal(await page.evaluate(() => window.verilotePage.current()), findings[0].line);
    await page.keyboard.press('Enter');
    await expectInspector(file, findings[0].line, findings[0].record, findings[0].text);
    if (process.env.VERILOTE_WEB_SCREENSHOT)
      await page.screenshot({path: process.env.VERILOTE_WEB_SCREENSHOT, fullPage: true});

    // Esc closes it, and the report has the keys again.
    await page.keyboard.press('Escape');
    await page.waitForSelector('#inspector', {state: 'hidden'});
    assert.equal(await page.evaluate(() => document.activeElement.id), 'report');

    // A click on another finding line.
    const other = findings.find((f) => f.record !== findings[0].record);
    await page.locator(`#rows .row[data-line="${other.line}"]`).click();
    await expectInspector(file, other.line, other.record, other.text);

    // "Próximo" and "Anterior" step along the findings, the report follows.
    const at = findings.indexOf(other);
    await page.getByRole('button', {name: 'Próximo'}).click();
    await expectInspector(file, findings[at + 1].line, findings[at + 1].record, findings[at + 1].text);
    assert.equal(await page.evaluate(() => window.verilotePage.current()), findings[at + 1].line);
    await page.getByRole('button', {name: 'Anterior'}).click();
    await expectInspector(file, other.line, other.record, other.text);
    await page.getByRole('button', {name: 'Fechar'}).click();
    await page.waitForSelector('#inspector', {state: 'hidden'});
  });

  test('a line that is no finding opens nothing', async () => {
    const {page} = session;
    await page.locator('#report').focus();
    await page.keyboard.press('Home');
    await page.keyboard.press('Enter');
    assert.equal(await page.locator('#inspector').isHidden(), true);
  });
});

describe('downloads', () => {
  const file = path.join(examples, 'sigcb240/remessa_sigcb240_com_erros.rem');
  const name = path.basename(file);
  for (const [format, suffix] of [
           ['text', '.relatorio.txt'],
           ['json', '.relatorio.json'],
           ['junit', '.relatorio.xml'],
  ]) {
    test(`"Baixar relatório" as ${format} saves what verilote-cli check --format ${format} prints`, async () => {
      const {page} = session;
      await chooseEntry(name);
      await page.selectOption('#format', format);
      const [download] = await Promise.all(
          [page.waitForEvent('download'), page.getByRole('button', {name: 'Baixar relatório'}).click()]);
      assert.equal(download.suggestedFilename(), name + suffix);
      const saved = path.join(work, name + suffix);
      await download.saveAs(saved);
      const expected = spawnSync(cli, ['check', '--format', format, name], {cwd: path.dirname(file)}).stdout;
      assert.ok(expected.length > 100);
      assert.equal(readFileSync(saved, 'utf8'), expected.toString('utf8'), format);
      assert.ok(readFileSync(saved).equals(expected), `${format} differs`);
    });
  }
});

describe('the barcode box', () => {
  test('a typed SIGCB barcode and a typeable line get the command line report', async () => {
    const {page} = session;
    const barcode =
        readFileSync(path.join(examples, 'boletos/sigcb_barras_com_erros.txt'), 'latin1').split('\r\n')[1].trim();
    const line = '10491234566000020004200000100396116660000010411';
    for (const [handler, typed] of [
             ['CdigodebarrasSIGCB1Click', barcode],
             ['RepresentaoNumricaSIGCB1Click', line],
             ['Cdigodebarras1Click', barcode],
    ]) {
      await page.selectOption('#barcode-command', handler);
      await page.locator('#barcode-input').fill('');
      await page.locator('#barcode-input').type(typed);
      await page.keyboard.press('Enter');
      await page.waitForSelector('#barcode-report[data-status]', {state: 'attached'});
      const shown = await page.locator('#barcode-report').textContent();
      const expected = cliOut(['run', handler, '--answer', typed]);
      assert.equal(shown, expected.replace(/\n$/, ''), handler);
    }
  });
});

// Files picked with the file input (paths handed to the browser, not bytes
// through the test): big ones are never copied into the page.
async function choose(files) {
  const before = (await entries()).length;
  await session.page.setInputFiles('#choose', files);
  return before;
}

describe('bad input', () => {
  test('an empty, a binary and an LF-only file get the command line report', async () => {
    const files = {
      'vazio.rem': Buffer.alloc(0),
      'binario.rem': Buffer.from(Array.from({length: 5000}, (_, i) => (i * 7919 + 13) % 256)),
      'so_lf.rem': Buffer.from(
          readFileSync(path.join(examples, 'sigcb240/remessa_sigcb240_ok.rem'), 'latin1').replaceAll('\r\n', '\n'),
          'latin1'),
    };
    const paths = Object.entries(files).map(([name, bytes]) => {
      writeFileSync(path.join(work, name), bytes);
      return path.join(work, name);
    });
    const before = await choose(paths);
    const done = (await settled(session.page, before + paths.length)).slice(before);
    for (const file of paths) {
      const entry = done.find((e) => e.name === path.basename(file));
      const checked = cliCheck(file);
      assert.equal(entry.result.verdict, checked.verdict, file);
      assert.equal(entry.result.status, checked.status, file);
      assert.deepEqual(await storedText(entry.id), checked.report, file);
    }
  });
});

// How long the page takes to draw a frame, in ms: it answers while a check
// runs in its worker.
const frameDelay = () => session.page.evaluate(() => new Promise((resolve) => {
                                                 const start = performance.now();
                                                 requestAnimationFrame(() => resolve(performance.now() - start));
                                               }));

describe('big files', () => {
  const bench = path.resolve(process.env.VERILOTE_BENCH_SIGCB || path.join(root, 'build/bench/bench_sigcb240'));
  let big;
  let cliBig;

  before(() => {
    // The file bench/faulty.sh measures: three findings in every title.
    const dir = path.join(work, 'big');
    mkdirSync(dir);
    execFileSync(
        bench, ['1000000', dir, 'sigcb'],
        {env: {...process.env, BENCH_GENERATE_ONLY: '1', BENCH_FAULTY: '3'}, stdio: 'ignore'});
    big = path.join(dir, 'bench_sigcb240_faulty_big.rem');
    cliBig = cliCheck(big);
  });

  test(
      'a 1,000,000-title faulty SIGCB 240 file gets the command line verdict and lines', {timeout: 15 * 60 * 1000},
      async () => {
        const {page} = session;
        const before = await choose([big]);
        const [entry] = (await settled(page, before + 1, 14 * 60 * 1000)).slice(before);
        assert.equal(entry.state, 'done');
        assert.equal(entry.result.verdict, cliBig.verdict);
        assert.equal(entry.result.status, cliBig.status);
        assert.equal(entry.count, cliBig.report.length);
        assert.ok(entry.count > 1000000);
        const head = await page.evaluate((id) => window.verilotePage.rows(id, 0, 300), entry.id);
        assert.deepEqual(head.lines, cliBig.report.slice(0, 300));
        const tail = await page.evaluate(
            ({id, from}) => window.verilotePage.rows(id, from, 300), {id: entry.id, from: entry.count - 300});
        assert.deepEqual(tail.lines, cliBig.report.slice(-300));
        // The list reaches the end of a report a million lines long.
        await chooseEntry(path.basename(big));
        await page.locator('#report').focus();
        await page.keyboard.press('End');
        await page.waitForFunction(
            (last) => window.verilotePage.shown().some((row) => row.line === last && row.text.length > 0),
            entry.count - 1);
        const shown = await page.evaluate(() => window.verilotePage.shown());
        assert.equal(shown.find((row) => row.line === entry.count - 1).text, cliBig.report.at(-1));
      });

  test(
      'Cancel stops a run, keeps the report so far, and the next file is checked', {timeout: 10 * 60 * 1000},
      async () => {
        const {page} = session;
        const before = await choose([big]);
        const row = page.locator('#files tbody tr').nth(before);
        await page.waitForFunction(
            (n) => window.verilotePage.entries()[n].count > 20000, before, {timeout: 120000, polling: 50});
        assert.ok((await frameDelay()) < 1000);
        await row.getByRole('button', {name: 'Cancelar'}).click();
        const [entry] = (await settled(page, before + 1)).slice(before);
        assert.equal(entry.state, 'cancelled');
        assert.ok(entry.count > 20000 && entry.count < cliBig.report.length, String(entry.count));
        const kept = await page.evaluate(({id, count}) => window.verilotePage.rows(id, count - 200, 200), entry);
        assert.deepEqual(kept.lines, cliBig.report.slice(entry.count - 200, entry.count));
        // A new worker takes the next file.
        const small = path.join(examples, 'sigcb240/remessa_sigcb240_ok.rem');
        const after = await choose([small]);
        const [next] = (await settled(page, after + 1)).slice(after);
        assert.deepEqual(await storedText(next.id), cliCheck(small).report);
        // "Remover" takes the stopped file off the page, its report with it.
        await page.locator(`#files tbody tr[data-id="${entry.id}"]`).getByRole('button', {name: 'Remover'}).click();
        assert.equal(await page.locator(`#files tbody tr[data-id="${entry.id}"]`).count(), 0);
        assert.ok(!(await entries()).some((e) => e.id === entry.id));
        assert.equal(await page.evaluate((id) => window.verilotePage.rows(id, 0, 10), entry.id), null);
      });

  test('a 2 GB file is read where it lies, the page answering all along', {timeout: 10 * 60 * 1000}, async () => {
    const {page} = session;
    const huge = path.join(work, 'grande.rem');
    const fd = openSync(huge, 'w');
    ftruncateSync(fd, 2 * 1024 * 1024 * 1024 + 4096);
    closeSync(fd);
    const before = await choose([huge]);
    let slowest = 0;
    while ((await entries())[before].state !== 'done') {
      slowest = Math.max(slowest, await frameDelay());
      await new Promise((resolve) => setTimeout(resolve, 200));
    }
    assert.ok(slowest < 1000, `a frame took ${slowest} ms`);
    const [entry] = (await entries()).slice(before);
    const checked = cliCheck(huge);
    assert.equal(entry.result.verdict, checked.verdict);
    assert.deepEqual(await storedText(entry.id), checked.report);
    rmSync(huge);
  });
});
