// The JavaScript API against the native verilote-cli on the same files: the
// same JSON objects, the same documents byte for byte, the same answers to
// bad input.
import assert from 'node:assert/strict';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {after, test} from 'node:test';

import {check, checkDocument, commands, inspect, run, show} from '../verilote.js';

import {native, nativeJson, today} from './common.mjs';

const files = [
  'examples/sigcb240/remessa_sigcb240_com_erros.rem',
  'examples/sigcb400/remessa_sigcb400_com_erros.rem',
  'examples/siacc/remessa_siacc_com_erros.rem',
  'examples/cobcaixa/titulos_ok.txt',
];

const work = mkdtempSync(path.join(tmpdir(), 'verilote-js-'));
after(() => rmSync(work, {recursive: true, force: true}));

// Files the validators must refuse as the command line does.
const bad = {
  empty: Buffer.alloc(0),
  binary: Buffer.from(Array.from({length: 4096}, (_, i) => (i * 151 + 7) & 0xff)),
  // A SIGCB 240 header with LF alone at the ends of its lines.
  lfOnly: Buffer.from(`${'1040000'.padEnd(240, '0')}\n${'1040001R01'.padEnd(240, ' ')}\n`, 'latin1'),
};
for (const [name, bytes] of Object.entries(bad)) writeFileSync(path.join(work, `${name}.rem`), bytes);
const badPaths = [...Object.keys(bad).map((name) => path.join(work, `${name}.rem`)), path.join(work, 'missing.rem')];

const cliCheck = (file, ...options) =>
    nativeJson(['check', '--format', 'json', '--today', today, ...options, file]).files[0];

test('check gives the object of check --format json', async () => {
  for (const file of [...files, ...badPaths]) assert.deepEqual(await check(file, {today}), cliCheck(file), file);
});

test('check of bytes and of a Blob, named as the path', async () => {
  for (const file of files.slice(0, 2)) {
    const bytes = readFileSync(file);
    assert.deepEqual(await check(new Uint8Array(bytes), {name: file, today}), cliCheck(file));
    assert.deepEqual(await check(new Blob([bytes]), {name: file, today}), cliCheck(file));
  }
});

test('check with a forced layout, and an unknown layout refused', async () => {
  const file = files[0];
  assert.deepEqual(await check(file, {today, layout: 'sicob240'}), cliCheck(file, '--layout', 'sicob240'));
  await assert.rejects(check(file, {layout: 'nenhum'}), /unknown layout 'nenhum'/);
});

test('check streams each line with the record of its finding', async () => {
  for (const file of files) {
    const whole = cliCheck(file);
    const streamed = [];
    const records = new Map();
    const result = await check(file, {
      today,
      onLine: (line, index, record) => {
        assert.equal(index, streamed.length);
        streamed.push(line);
        if (record !== null) records.set(index, record);
      },
    });
    assert.deepEqual(streamed, whole.report, file);
    assert.deepEqual({...result, report: whole.report, issues: whole.issues}, whole, file);
    // Each finding that names a record comes with it, on its own line.
    const named = whole.issues.filter((issue) => issue.record > 0);
    assert.equal(records.size, named.length, file);
    for (const issue of named) {
      const index = [...records.keys()].find((i) => streamed[i] === issue.line && records.get(i) === issue.record);
      assert.notEqual(index, undefined, `${file}: ${issue.line}`);
    }
  }
});

test('check streams a line quoting a file name of accented letters as the document gives it', async () => {
  const bytes = new Uint8Array(readFileSync(files[0]));
  const name = 'remessa_cobrança_março.rem';
  const streamed = [];
  await check(bytes, {name, today, onLine: (line) => streamed.push(line)});
  const whole = await check(bytes, {name, today});
  assert.ok(whole.report.some((line) => line.includes(name)));
  assert.deepEqual(streamed, whole.report);
});

test('check streams the bytes Windows-1252 puts in 0x80-0x9F as the document gives them', async () => {
  // The payer's name, which the report quotes, with a euro sign, the
  // undefined 0x81 and curly quotes in it.
  const bytes = readFileSync(files[0]);
  const at = bytes.indexOf(Buffer.from('JOS', 'latin1'));
  assert.ok(at > 0);
  bytes.set([0x80, 0x81, 0x93], at);
  const file = path.join(work, 'c1.rem');
  writeFileSync(file, bytes);
  const streamed = [];
  await check(file, {today, onLine: (line) => streamed.push(line)});
  const whole = cliCheck(file);
  assert.ok(whole.report.some((line) => line.includes('\u20ac\u0081\u201c')));
  assert.deepEqual(streamed, whole.report);
});

test('check stops when onProgress says so', async () => {
  let calls = 0;
  const result = await check(files[0], {today, onProgress: () => ++calls > 1 && false});
  assert.ok(calls >= 1);
  assert.equal(result.verdict, 'aborted');
  assert.equal(result.status, 3);
});

test('checkDocument gives the bytes of check --format F', async () => {
  for (const format of ['text', 'json', 'junit']) {
    for (const file of [files[0], files[2], ...badPaths]) {
      const chunks = [];
      const status = await checkDocument(file, {format, today, onChunk: (text) => chunks.push(text)});
      const cli = native(['check', '--format', format, '--today', today, file]);
      assert.equal(chunks.join(''), cli.out, `${format} ${file}`);
      assert.equal(status, cli.status, `${format} ${file}`);
    }
  }
});

test('show gives the object of show --format json', async () => {
  for (const [file, record] of [[files[0], 1], [files[0], 3], [files[2], 2], ]) {
    assert.deepEqual(
        await show(file, record),
        nativeJson(['show', file, '--record', String(record), '--format', 'json']),
        `${file} ${record}`,
    );
  }
  assert.deepEqual(
      await show(files[0], 3, {layout: 'sicob240'}),
      nativeJson(['show', files[0], '--record', '3', '--format', 'json', '--layout', 'sicob240']),
  );
});

test('show refuses record 0, a record past the end and an empty file as the command line does', async () => {
  for (const [file, record] of [[files[0], 0], [files[0], 99], [badPaths[0], 1], [badPaths[3], 1], ]) {
    const cli = native(['show', file, '--record', String(record), '--format', 'json']);
    await assert.rejects(show(file, record), (error) => {
      assert.equal(error.status, cli.status);
      assert.equal(`${error.message}\n`, cli.err);
      return true;
    });
  }
});

test('run of a file that does not exist or holds no record answers as the command line', async () => {
  for (const file of badPaths) {
    const cli = native(['run', 'SIGCBRemessa1Click', '--file', file, '--today', today]);
    const result = await run('SIGCBRemessa1Click', {files: [file], today});
    assert.equal(result.status, cli.status, file);
    assert.equal(result.report.map((line) => `${line}\n`).join(''), cli.out, file);
    assert.equal(result.messages.map((line) => `${line}\n`).join(''), cli.err, file);
  }
});

test('run of a calculator answers from its input boxes', async () => {
  const args = ['run', 'CdigodebarrasSIGCB1Click', '--answer', '10499999999999999999999999999999999999999999'];
  const cli = native([...args, '--today', today]);
  const result = await run(args[1], {answers: [args[3]], today});
  assert.equal(result.status, cli.status);
  assert.equal(result.report.map((line) => `${line}\n`).join(''), cli.out);
});

test('commands lists the table as the command line does', async () => {
  const table = await commands();
  const listed = native(['list']).out.trim().split('\n');
  assert.equal(table.length, listed.length);
  for (const [i, command] of table.entries()) {
    const line = listed[i];
    assert.equal(line.slice(0, 14).trim(), command.state);
    assert.equal(line.slice(14, 72).trim(), command.handler);
    assert.ok(line.slice(72).endsWith(command.caption), line);
    assert.equal(command.ready, command.state === 'ready');
  }
});

test('calls made at once run one after the other, each on its own file', async () => {
  const results =
      await Promise.all(files.map((file) => check(new Uint8Array(readFileSync(file)), {name: file, today})));
  for (const [i, file] of files.entries()) assert.deepEqual(results[i], cliCheck(file), file);
});

test('inspect opens a streamed finding line on its record, its named fields marked', async () => {
  const file = files[0];
  const issues = cliCheck(file).issues.filter((issue) => issue.record > 0 && issue.fields.length > 0);
  const records = readFileSync(file, 'latin1').split('\r\n');
  const findings = [];
  await check(
      file, {today, onLine: (line, index, record, shape) => record !== null && findings.push({line, record, shape})});
  assert.ok(issues.length > 0);
  for (const issue of issues) {
    const finding = findings.find((f) => f.line === issue.line && f.record === issue.record);
    const seen = await inspect(file, finding);
    assert.equal(seen.message, '', issue.line);
    assert.equal(seen.findingLine, issue.line);
    assert.equal(seen.record, records[issue.record - 1]);
    assert.ok(seen.heading.startsWith(`Registro ${issue.record} (`), seen.heading);
    // The table runs in the record's order, the finding names in its own.
    const fields = [...issue.fields].sort((a, b) => a.from - b.from);
    const named = seen.rows.filter((row) => row.named);
    assert.deepEqual(
        named.map((row) => [row.code, row.from, row.to, row.found]),
        fields.map((field) => [field.code, field.from, field.to, field.found]),
        issue.line,
    );
    assert.deepEqual(seen.marks, fields.map((field) => [field.from, field.to]));
  }
});

test('inspect says why a record cannot be shown', async () => {
  const seen = await inspect(files[0], {line: 'Linha 99', record: 99, shape: null});
  assert.notEqual(seen.message, '');
  assert.equal(seen.rows.length, 0);
  assert.equal(seen.heading, 'Registro 99');
});

test('a callback that throws rejects the call with its error, and the next call runs', async () => {
  const boom = new Error('boom');
  let calls = 0;
  const onLine = () => {
    ++calls;
    throw boom;
  };
  await assert.rejects(check(files[0], {today, onLine}), boom);
  assert.equal(calls, 1);
  await assert.rejects(run('SIGCBRemessa1Click', {files: [files[0]], today, onLine}), boom);
  assert.deepEqual(await check(files[0], {today}), cliCheck(files[0]));
});
