// A File in a Web Worker is read through WORKERFS a slice at a time, never
// whole, nor in the core's small blocks. Node has no FileReaderSync: a
// stand-in reads the slices of a Blob whose bytes this test holds, and counts
// them.
import assert from 'node:assert/strict';
import {readFileSync} from 'node:fs';
import {test} from 'node:test';

import {nativeJson, today} from './common.mjs';

const reads = [];
class HeldBlob extends Blob {
  constructor(bytes) {
    super([bytes]);
    this.bytes = bytes;
  }
  slice(start = 0, end = this.bytes.length) {
    return new HeldBlob(this.bytes.subarray(start, Math.min(end, this.bytes.length)));
  }
}
globalThis.FileReaderSync = class {
  readAsArrayBuffer(blob) {
    reads.push(blob.bytes.length);
    return blob.bytes.slice().buffer;
  }
};
const {check} = await import('../verilote.js');

test('a Blob in a worker is read in slices, as the command line reads the file', async () => {
  const file = 'examples/sigcb240/remessa_sigcb240_com_erros.rem';
  const bytes = readFileSync(file);
  // Many copies of the file's bytes: over two of the 4 MiB windows the File
  // is read in, each of them many of the core's blocks.
  const big = Buffer.concat(Array.from({length: 2400}, () => bytes));
  const result = await check(new HeldBlob(new Uint8Array(big)), {name: file, today});
  assert.ok(Math.max(...reads) <= 4 << 20, `largest read ${Math.max(...reads)} of ${big.length}`);
  assert.ok(reads.length > 1 && reads.length <= 2 * Math.ceil(big.length / (4 << 20)), `reads ${reads}`);
  assert.equal(result.file, file);
  const small = await check(new HeldBlob(new Uint8Array(bytes)), {name: file, today});
  assert.deepEqual(small, nativeJson(['check', '--format', 'json', '--today', today, file]).files[0]);
});
