// Verilote in JavaScript: the core in WebAssembly (dist/verilote-core.wasm)
// with the command line's own check, show and run, so that a page, a worker
// or a Node program gets the same words and verdicts as verilote-cli.
//
// Files are read where they lie, a block at a time: a path in Node through
// its folder mounted with NODEFS, a File or Blob in a Web Worker through
// WORKERFS (FileReaderSync reads it 4 MiB at a time ahead of the core). Bytes in
// memory (Uint8Array, ArrayBuffer, a Blob outside a worker) are written to
// the module's memory file system: small inputs only.

const isNode = typeof process === 'object' && process.versions != null && process.versions.node != null;

let loading = null;
// What the running call does with the module's output.
let current = null;
let runs = 0;
// The calls one after the other: each stages its inputs (which may wait)
// in a working folder of its own before the core runs.
let queue = Promise.resolve();
function serial(work) {
  const result = queue.then(work, work);
  queue = result.catch(() => {});
  return result;
}

function core() {
  if (loading === null) {
    loading = load().catch((error) => {
      loading = null;
      throw new Error(`verilote: the WebAssembly core could not be loaded: ${error.message}`);
    });
  }
  return loading;
}

async function load() {
  const {default: createVeriloteCore} = await import('./dist/verilote-core.mjs');
  const options = {print: () => {}, printErr: () => {}};
  if (isNode) {
    // Node's fetch does not read file: URLs; the module's bytes come from disk.
    const fs = await import('node:fs');
    options.wasmBinary = fs.readFileSync(new URL('./dist/verilote-core.wasm', import.meta.url));
  }
  const module = await createVeriloteCore(options);
  module.vlEmit = (channel, bytes) => current.emit(channel, bytes);
  module.vlLines = (bytes, ends, records, shapes, text) => current.lines(bytes, ends, records, shapes, text);
  module.vlProgress = (read, total) => current.progress(read, total);
  const FS = module.FS;
  for (const dir of ['/in', '/run']) FS.mkdir(dir);
  if (isNode) {
    // The core's temporary files (its spools, unlinked as soon as made) go to
    // the system's temporary folder, not into this process's memory.
    const os = await import('node:os');
    FS.mount(FS.filesystems.NODEFS, {root: os.tmpdir()}, '/tmp');
  }
  warmUp(module);
  return module;
}

// ---- the first check ----------------------------------------------------

// The engine runs a function's baseline code until it is found hot, compiles
// its optimised code in the background and uses it from the next time the
// function is entered: a validator's loop over the records, entered once for
// a file, would run the baseline code through the whole of the first file
// (0.15 s more CPU in a 240 MB one). So the module checks a small SIGCB 240
// remittance of its own as it loads (some 2,000 records, with findings, its
// lines dropped), and a large file checked soon after waits for the
// optimised code to be ready.
const kWarmUpRecords = [
  '10400000         2112223330001810000000000000000000001234312345600000000EMPRESA CENTRALIZADORA LTDA   CAIXA ' +
      'ECONOMICA FEDERAL                 10612202612000000012310100000                    REMESSA-PRODUCAO',
  '10400011R0100060 20112223330001811234560000000000000001234312345600000000EMPRESA CEDENTE LTDA' +
      ' '.repeat(90) + '000001230612202600000000',
];
const kWarmUpTitles = [
  '1040001300001P 01012343123456000000000001400000000000000111220DOC00000001    1501202700000000001000000001002N' +
      `01122026300${'0'.repeat(86)}DOC00000001              3001090090000000000`,
  '1040001300002Q 011000052998224725JOSE DA SILVA                           RUA DAS FLORES 100                   ' +
      '   CENTRO         ABCDE000BRASILIA       DF0000000000000000                                        000',
  '1040001300003R 01000000000000000000000000000000000000000000000000216012027000000000000200',
  '1040001300004SX013PAGAVEL EM QUALQUER AGENCIA ATE O VENCIMENTO',
  '1040001300005P 01012343123456000000000001100000000000000211211DOC00000002    1501202700000000001000000001031N' +
      `01122026116012027000000000000033110012027000000000000500${'0'.repeat(32)}DOC00000002              ` +
      '10520900900000000001',
  '1040001300006Q 011000052998224725MARIA SOUZAVA                           RUA DAS FLORES 100                   ' +
      '   CENTRO         ABCDE000BRASILIA       DF0000000000000000                                        000',
  '1040001300007YX0153020010000000000100001000000000010000',
];
const kWarmUpEnd = [
  `10400015         050002${'0'.repeat(69)}`,
  '10499999         000001050004',
];
const kWarmUpRounds = 300;     // 2,100 detail records: enough for the engine to find them hot
const kLargeInput = 16 << 20;  // a file whose check gains from the optimised code
const kCompileTime = 100;      // ms: the optimised code's compiling, from the warm-up's end
let warmedAt = null;

function warmUp(module) {
  const records = [...kWarmUpRecords];
  for (let round = 0; round < kWarmUpRounds; ++round) {
    for (const title of kWarmUpTitles) {
      const sequence = String(records.length - 1).padStart(5, '0');
      records.push(title.slice(0, 8) + sequence + title.slice(13));
    }
  }
  records.push(...kWarmUpEnd);
  const path = '/run/warm-up.rem';
  module.FS.writeFile(path, new TextEncoder().encode(records.map((r) => r.padEnd(240) + '\r\n').join('')));
  current = {emit: () => {}, lines: () => {}, progress: () => true};
  try {
    runCheck(module, ['--format=json', '--today=06/12/2026', '--', path], true);
  } finally {
    current = null;
    module.FS.unlink(path);
  }
  warmedAt = performance.now();
}

// Before the first large input: the rest of the optimised code's compiling.
async function awaitOptimisedCode(FS, paths) {
  if (warmedAt === null) return;
  const large = paths.some((path) => {
    try {
      return FS.stat(path).size >= kLargeInput;
    } catch {
      return false;
    }
  });
  if (!large) return;
  const rest = warmedAt + kCompileTime - performance.now();
  warmedAt = null;
  if (rest > 0) await new Promise((resolve) => setTimeout(resolve, rest));
}

// ---- inputs -----------------------------------------------------------

// A name a report may quote, as a path the core can open: the name itself
// when it leads to the input already, else a link under that name to where
// the input lies, made in the module's memory (never inside a mounted folder,
// never over anything there); failing both, the input's own path.
function placeUnder(FS, name, target, cleanups) {
  if (name === target) return name;
  if (name === '' || name.endsWith('/') || name.includes('\0')) return target;
  const node = (path) => {
    try {
      return FS.lookupPath(path, {follow: true}).node;
    } catch {
      return null;
    }
  };
  const found = node(name);
  if (found !== null) {
    const a = FS.stat(name);
    const b = FS.stat(target);
    return a.dev === b.dev && a.ino === b.ino ? name : target;
  }
  const inMemory = (dir) => {
    const n = node(dir);
    return n !== null && FS.isDir(n.mode) && n.mount.type === FS.filesystems.MEMFS;
  };
  const parts = name.split('/');
  let at = name.startsWith('/') ? '' : '.';
  const made = [];
  const undo = () => {
    for (const dir of made.reverse()) FS.rmdir(dir);
  };
  for (const part of parts.slice(0, -1)) {
    if (part === '' || part === '.') continue;
    const next = `${at}/${part}`;
    if (part !== '..' && node(next) === null) {
      if (!inMemory(at || '/')) return undo(), target;
      FS.mkdir(next);
      made.push(next);
    }
    at = next;
  }
  if (!inMemory(at || '/')) return undo(), target;
  FS.symlink(target, name);
  cleanups.push(() => {
    FS.unlink(name);
    undo();
  });
  return name;
}

function removeTree(FS, path) {
  let stat;
  try {
    stat = FS.lstat(path);
  } catch {
    return;
  }
  if (FS.isDir(stat.mode) && !FS.isMountpoint(FS.lookupPath(path, {follow: false}).node)) {
    for (const entry of FS.readdir(path))
      if (entry !== '.' && entry !== '..') removeTree(FS, `${path}/${entry}`);
    FS.rmdir(path);
  } else if (!FS.isDir(stat.mode)) {
    FS.unlink(path);
  }
}

async function bytesOf(input) {
  if (input instanceof Uint8Array) return input;
  if (input instanceof ArrayBuffer) return new Uint8Array(input);
  if (ArrayBuffer.isView(input)) return new Uint8Array(input.buffer, input.byteOffset, input.byteLength);
  return new Uint8Array(await input.arrayBuffer());
}

const isBlob = (input) => typeof Blob !== 'undefined' && input instanceof Blob;

// Makes `input` a path the core opens; `cleanups` undo it after the call.
async function stage(module, input, name, cleanups) {
  const FS = module.FS;
  const n = ++runs;
  if (typeof input === 'string') {
    if (!isNode) throw new Error('verilote: a path is an input in Node only; give a File, Blob or bytes');
    const path = await import('node:path');
    const fs = await import('node:fs');
    const shown = name ?? input;
    const absolute = path.resolve(input);
    let stat = null;
    try {
      stat = fs.statSync(path.dirname(absolute));
    } catch {
      // No such folder: the core says so under the name given.
    }
    // A file that is not there: the core says so under the name given.
    const there = (() => {
      try {
        fs.lstatSync(absolute);
        return true;
      } catch {
        return false;
      }
    })();
    if (stat === null || !stat.isDirectory() || !there) return FS.analyzePath(shown).exists ? input : shown;
    const mount = `/in/${n}`;
    FS.mkdir(mount);
    FS.mount(FS.filesystems.NODEFS, {root: path.dirname(absolute)}, mount);
    cleanups.push(() => {
      FS.unmount(mount);
      FS.rmdir(mount);
    });
    return placeUnder(FS, shown, `${mount}/${path.basename(absolute)}`, cleanups);
  }
  const shown = name ?? (isBlob(input) && typeof input.name === 'string' ? input.name : 'arquivo');
  const dir = `/in/${n}`;
  FS.mkdir(dir);
  if (isBlob(input) && typeof FileReaderSync !== 'undefined') {
    // In a worker: read on demand, a slice at a time.
    FS.mount(FS.filesystems.WORKERFS, {blobs: [{name: 'input', data: input}]}, dir);
    readAhead(FS.lookupPath(`${dir}/input`).node);
    cleanups.push(() => {
      FS.unmount(dir);
      FS.rmdir(dir);
    });
  } else if (
      isBlob(input) || input instanceof Uint8Array || input instanceof ArrayBuffer || ArrayBuffer.isView(input)) {
    FS.writeFile(`${dir}/input`, await bytesOf(input));
    cleanups.push(() => {
      FS.unlink(`${dir}/input`);
      FS.rmdir(dir);
    });
  } else {
    FS.rmdir(dir);
    throw new TypeError('verilote: an input is a Uint8Array, an ArrayBuffer, a Blob or File, or (in Node) a path');
  }
  return placeUnder(FS, String(shown), `${dir}/input`, cleanups);
}

// The core reads its file in blocks of 256 KiB, and each block would be a
// slice of the File read with FileReaderSync: Chromium pays a round trip to
// the browser process for every read (a 240 MB file: 2.2 s in 256 KiB reads,
// 0.7 s in 4 MiB ones). So the File is read a window of 4 MiB at a time and
// the core's reads are served from it. The window belongs to this mount and
// goes with it: a file checked again is read again.
const kReadWindow = 4 << 20;
function readAhead(node) {
  const file = node.contents;
  const reader = new FileReaderSync();
  let from = 0;
  let held = new Uint8Array(0);
  const read = (stream, buffer, offset, length, position) => {
    if (position >= node.size) return 0;
    const to = Math.min(node.size, position + length);
    if (to - position > kReadWindow / 2) {
      // A read this large gains nothing from the window.
      const bytes = new Uint8Array(reader.readAsArrayBuffer(file.slice(position, to)));
      buffer.set(bytes, offset);
      return bytes.length;
    }
    if (position < from || to > from + held.length) {
      from = position;
      held =
          new Uint8Array(reader.readAsArrayBuffer(file.slice(position, Math.min(node.size, position + kReadWindow))));
    }
    // A file that shrank since it was chosen gives fewer bytes: only those.
    const bytes = held.subarray(position - from, Math.min(to, from + held.length) - from);
    buffer.set(bytes, offset);
    return bytes.length;
  };
  node.stream_ops = {...node.stream_ops, read};
}

// ---- calls ------------------------------------------------------------

function packArguments(module, args) {
  const encoder = new TextEncoder();
  const parts = args.map((a) => encoder.encode(String(a)));
  const size = parts.reduce((sum, p) => sum + p.length + 1, 0);
  const at = module._malloc(size || 1);
  let offset = at;
  for (const p of parts) {
    module.HEAPU8.set(p, offset);
    offset += p.length;
    module.HEAPU8[offset++] = 0;
  }
  return {at, size};
}

// One call into the core with its own working folder; `handlers` take the
// output. Inputs are staged first and removed after, whatever happens.
function call(inputs, handlers, invoke) {
  return serial(() => callNow(inputs, handlers, invoke));
}

async function callNow(inputs, handlers, invoke) {
  const module = await core();
  const cleanups = [];
  const FS = module.FS;
  const dir = `/run/${++runs}`;
  const cwd = FS.cwd();
  try {
    FS.mkdir(dir);
    FS.chdir(dir);
    const paths = [];
    for (const {input, name} of inputs) paths.push(await stage(module, input, name, cleanups));
    await awaitOptimisedCode(FS, paths);
    // A callback that throws must not unwind through the core: the error is
    // kept, the run stopped at its next progress and the error thrown after.
    let failure = null;
    const guard = (callback, otherwise) => (...args) => {
      if (failure !== null) return otherwise;
      try {
        return callback(...args);
      } catch (error) {
        failure = error;
        return otherwise;
      }
    };
    current = {
      emit: guard(handlers.emit ?? (() => {}), undefined),
      lines: guard(handlers.lines ?? (() => {}), undefined),
      progress: guard(handlers.progress ?? (() => true), false),
    };
    let result;
    try {
      result = invoke(module, paths);
    } catch (error) {
      // The core trapped (memory exhausted, a fault): the next call loads it afresh.
      loading = null;
      throw new Error(`verilote: the WebAssembly core failed: ${error.message}`);
    }
    if (failure !== null) throw failure;
    return result;
  } finally {
    current = null;
    FS.chdir(cwd);
    for (const undo of cleanups.reverse()) {
      try {
        undo();
      } catch {
        // Undone as far as it goes.
      }
    }
    removeTree(FS, dir);
  }
}

function runCli(module, args) {
  const packed = packArguments(module, args);
  try {
    return module._vl_cli(packed.at, packed.size);
  } finally {
    module._free(packed.at);
  }
}

function runCheck(module, args, streamLines) {
  const packed = packArguments(module, args);
  try {
    return module._vl_check(packed.at, packed.size, streamLines ? 1 : 0);
  } finally {
    module._free(packed.at);
  }
}

// The decoders of streamed report lines, by the glue's `text`: UTF-8;
// Windows-1252 with no byte in 0x80-0x9F, which Latin-1 reads the same (in
// Node a Buffer's latin1 slice, the quickest way to a string); Windows-1252,
// read as Latin-1 and 0x80-0x9F put right after (Node's own windows-1252
// decoder reads them as Latin-1 does), the five bytes it leaves undefined as
// U+0081..., as the core's own conversion gives them.
function textDecoders() {
  const utf8 = new TextDecoder();
  const latin1 = isNode && typeof Buffer === 'function' ?
      (bytes) => Buffer.from(bytes.buffer, bytes.byteOffset, bytes.length).latin1Slice(0, bytes.length) :
      ((decoder) => (bytes) => decoder.decode(bytes))(new TextDecoder('windows-1252'));
  const c1 = '\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D\u008F' +
      '\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178';
  const cp1252 = (bytes) => latin1(bytes).replace(/[\x80-\x9F]/g, (c) => c1[c.charCodeAt(0) - 0x80]);
  return [(bytes) => utf8.decode(bytes), latin1, cp1252];
}

// The output of a channel as text, decoded across block ends.
function collector() {
  const decoder = new TextDecoder();
  const parts = [];
  return {
    add(bytes) {
      parts.push(decoder.decode(bytes, {stream: true}));
    },
    text() {
      parts.push(decoder.decode());
      return parts.join('');
    },
  };
}

function progressHandler(onProgress) {
  if (typeof onProgress !== 'function') return undefined;
  return (read, total) => onProgress(read, total) !== false;
}

function checkArgs(options) {
  const args = [];
  if (options.layout != null) args.push(`--layout=${options.layout}`);
  if (options.today != null) args.push(`--today=${options.today}`);
  return args;
}

function usageError(status, err) {
  const error = new Error(err.trim() || `verilote: exit status ${status}`);
  error.status = status;
  return error;
}

// ---- the API ----------------------------------------------------------

export async function commands() {
  const out = collector();
  await call([], {emit: (channel, bytes) => channel === 1 && out.add(bytes)}, (module) => module._vl_commands());
  return JSON.parse(out.text());
}

export async function check(input, options = {}) {
  const out = collector();
  const err = collector();
  const onLine = typeof options.onLine === 'function' ? options.onLine : null;
  let index = 0;
  const decode = textDecoders();
  const lines = (bytes, ends, records, shapes, text) => {
    // Each line ends with a line feed: the batch is decoded at once, and line
    // by line only when a line holds a line feed of its own.
    let texts = decode[text](bytes.subarray(0, bytes.length - 1)).split('\n', ends.length + 1);
    if (texts.length !== ends.length) {
      texts = [];
      for (let i = 0, start = 0; i < ends.length; start = ends[i++] + 1)
        texts.push(decode[text](bytes.subarray(start, ends[i])));
    }
    for (let i = 0; i < texts.length; ++i) {
      onLine(texts[i], index++, records[i] > 0 ? records[i] : null, shapes[i] > 0 ? shapes[i] : null);
    }
  };
  const status = await call(
      [{input, name: options.name}],
      {
        emit: (channel, bytes) => (channel === 1 ? out : err).add(bytes),
        lines: onLine ? lines : undefined,
        progress: progressHandler(options.onProgress),
      },
      (module, [path]) => runCheck(module, ['--format=json', ...checkArgs(options), '--', path], onLine !== null),
  );
  const text = out.text();
  if (status === 2 || text === '') throw usageError(status, err.text());
  return JSON.parse(text).files[0];
}

export async function checkDocument(input, options) {
  const format = options?.format;
  if (!['text', 'json', 'junit'].includes(format))
    throw new Error('verilote: format must be \'text\', \'json\' or \'junit\'');
  if (typeof options.onChunk !== 'function') throw new Error('verilote: checkDocument needs onChunk');
  const decoder = new TextDecoder();
  const err = collector();
  const status = await call(
      [{input, name: options.name}],
      {
        emit: (channel, bytes) => {
          if (channel !== 1) return err.add(bytes);
          const text = decoder.decode(bytes, {stream: true});
          if (text !== '') options.onChunk(text);
        },
        progress: progressHandler(options.onProgress),
      },
      (module, [path]) => runCheck(module, [`--format=${format}`, ...checkArgs(options), '--', path], false),
  );
  const rest = decoder.decode();
  if (rest !== '') options.onChunk(rest);
  if (status === 2) throw usageError(status, err.text());
  return status;
}

export async function show(input, record, options = {}) {
  const out = collector();
  const err = collector();
  const args = ['show'];
  const status = await call(
      [{input, name: options.name}],
      {emit: (channel, bytes) => (channel === 1 ? out : err).add(bytes)},
      (module, [path]) => {
        args.push(path, `--record=${record}`, '--format=json');
        if (options.layout != null) args.push(`--layout=${options.layout}`);
        return runCli(module, args);
      },
  );
  const text = out.text();
  if (text === '') throw usageError(status, err.text());
  return JSON.parse(text);
}

export async function run(handler, options = {}) {
  const files = options.files ?? [];
  const report = [];
  const onLine = typeof options.onLine === 'function' ? options.onLine : null;
  const decoder = new TextDecoder();
  let pending = '';
  const err = collector();
  const status = await call(
      files.map((input) => ({input, name: typeof input === 'string' ? input : undefined})),
      {
        emit: (channel, bytes) => {
          if (channel !== 1) return err.add(bytes);
          const lines = (pending + decoder.decode(bytes, {stream: true})).split('\n');
          pending = lines.pop();
          for (const line of lines) {
            if (onLine)
              onLine(line);
            else
              report.push(line);
          }
        },
      },
      (module, paths) => {
        const args = ['run', handler];
        for (const path of paths) args.push(`--file=${path}`);
        for (const answer of options.answers ?? []) args.push(`--answer=${answer}`);
        if (options.today != null) args.push(`--today=${options.today}`);
        return runCli(module, args);
      },
  );
  pending += decoder.decode();
  if (pending !== '') {
    if (onLine)
      onLine(pending);
    else
      report.push(pending);
  }
  const messages = err.text().split('\n');
  if (messages[messages.length - 1] === '') messages.pop();
  return {status, report, messages};
}

export async function inspect(input, finding, options = {}) {
  const out = collector();
  await call(
      [{input, name: options.name}],
      {emit: (channel, bytes) => channel === 1 && out.add(bytes)},
      (module, [path]) => {
        const args = [path, String(finding.record ?? 0), String(finding.shape ?? 0), String(finding.line ?? '')];
        const packed = packArguments(module, args);
        try {
          module._vl_inspect(packed.at, packed.size);
        } finally {
          module._free(packed.at);
        }
      },
  );
  return JSON.parse(out.text());
}
