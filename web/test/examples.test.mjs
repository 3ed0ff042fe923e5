// Every example of tests/examples/runs.txt through the JavaScript API gives
// byte for byte the report and the messages the command line gives.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {check, run} from '../verilote.js';

import {exampleRuns, expected, native, today} from './common.mjs';

const lines = (text) => (text === '' ? [] : text.replace(/\n$/, '').split('\n'));

for (const row of exampleRuns()) {
  test(`run ${row.handler} ${row.example}`, async () => {
    const result = await run(row.handler, {files: [`examples/${row.example}`], answers: row.answers, today});
    assert.equal(result.status, row.status);
    assert.deepEqual(result.report, lines(expected(row.example, '.out')));
    assert.deepEqual(result.messages, lines(expected(row.example, '.err')));
  });
}

// The validator of each layout, as check --layouts lists it.
const validators = new Map(
    native(['check', '--layouts'])
        .out.trim()
        .split('\n')
        .map((line) => [line.split(/\s+/)[0], line.split(/\s+/).pop()]),
);

// check runs the validator of the layout it detects: after its detection
// line (its evidence), the same report as the command the example names.
for (const row of exampleRuns().filter((r) => r.layouts !== '-' && r.answers.length === 0)) {
  const layout = row.layouts.split(',')[0];
  const same = validators.get(layout) === row.handler;
  test(`check ${row.example}`, async () => {
    const result = await check(`examples/${row.example}`, {today});
    assert.equal(result.layout, layout);
    const detection = result.evidence.split('\n');  // the detection's own lines first
    assert.deepEqual(result.report.slice(0, detection.length), detection);
    if (!same) {
      // A layout the program reads with a tool of its own, not a validator.
      assert.equal(result.verdict, 'no validator');
      assert.equal(result.status, 3);
      return;
    }
    assert.equal(result.status, row.status);
    assert.deepEqual(result.report.slice(detection.length), lines(expected(row.example, '.out')));
  });
}
