// The report store of the page: every line of every file's report, kept in
// this worker and never in the page, so that a report of millions of lines
// costs the tab a few bytes a line. The lines' UTF-8 bytes lie in a file of
// the Origin Private File System (still on this computer: the browser's own
// storage of this page), their ends and the records their findings are about
// in typed arrays; the page asks for the rows it shows. The checker writes
// the bytes into the file itself, through a handle of its own on the same
// file, and sends only the ends: a report's bytes never cross between
// threads. Where the browser cannot share the file so, the checker sends the
// bytes and they are written here; where it has no such storage at all (an
// old browser, a page opened from a file:// address), they stay in memory in
// the batches they came in.
//
// Messages from the page: {type: 'begin', req, id} opens a report and
// answers the file's name when the checker may write it; {type: 'port',
// port} gives the channel a checker writes lines on; {type: 'cancelled', id}
// ends a report whose checker was stopped; {type: 'forget', id}; questions
// {type: 'rows', req, id, from, count}, {type: 'finding', req, id, from,
// step} and {type: 'text', req, id}, answered with {type: 'reply', req,
// value}.
// From a checker: {type: 'append', id, bytes | length, ends, records} and
// {type: 'end', id, result, error}.
// To the page: {type: 'count', id, count, width} while lines come in and
// {type: 'done', id, count, width, result, error, cancelled} at the end.

const kPrefix = 'verilote-relatorio-';
const session = `${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}`;
const decoder = new TextDecoder();

// One report: the lines' ends (byte offsets, cumulative) and the records the
// lines are about (0: no record) in arrays grown by doubling: 8 bytes a line,
// 12 once the report passes 4 GiB and its ends need more than 32 bits.
class Report {
  constructor(id, backing) {
    this.id = id;
    this.backing = backing;
    this.ends = new Uint32Array(1024);
    this.records = new Uint32Array(1024);
    this.count = 0;
    this.bytes = 0;
    this.width = 0;  // the longest line seen, in bytes: the list's width
    this.done = false;
  }

  // `bytes` are the lines' bytes, or their length when the checker wrote
  // them in the file.
  append(bytes, ends, records) {
    const needed = this.count + ends.length;
    const wide =
        this.ends instanceof Float64Array || this.bytes + (typeof bytes === 'number' ? bytes : bytes.length) >= 2 ** 32;
    if (needed > this.ends.length || wide !== this.ends instanceof Float64Array) {
      let size = this.ends.length;
      while (size < needed) size *= 2;
      const grownEnds = wide ? new Float64Array(size) : new Uint32Array(size);
      grownEnds.set(this.ends.subarray(0, this.count));
      this.ends = grownEnds;
      const grownRecords = new Uint32Array(size);
      grownRecords.set(this.records.subarray(0, this.count));
      this.records = grownRecords;
    }
    let start = 0;
    for (let i = 0; i < ends.length; ++i) {
      this.ends[this.count + i] = this.bytes + ends[i];
      this.records[this.count + i] = records[i];
      if (ends[i] - start > this.width) this.width = ends[i] - start;
      start = ends[i];
    }
    if (typeof bytes === 'number') {
      this.bytes += bytes;
    } else {
      this.backing.write(bytes, this.bytes);
      this.bytes += bytes.length;
    }
    this.count = needed;
  }

  start(line) {
    return line === 0 ? 0 : this.ends[line - 1];
  }

  // Lines [from, from + count) as text, with their records (null: none).
  rows(from, count) {
    from = Math.max(0, Math.min(from, this.count));
    const to = Math.max(from, Math.min(from + count, this.count));
    const lines = [];
    const records = [];
    if (to === from) return {from, lines, records};
    const base = this.start(from);
    const bytes = this.backing.read(base, this.ends[to - 1] - base);
    for (let line = from; line < to; ++line) {
      lines.push(decoder.decode(bytes.subarray(this.start(line) - base, this.ends[line] - base)));
      records.push(this.records[line] === 0 ? null : this.records[line]);
    }
    return {from, lines, records};
  }

  // The nearest finding line after (step 1) or before (step -1) `from`,
  // `from` itself when step is 0; -1 when there is none.
  finding(from, step) {
    let line = from + step;
    const forward = step >= 0 ? 1 : -1;
    for (; line >= 0 && line < this.count; line += forward)
      if (this.records[line] !== 0) return line;
    return -1;
  }

  close() {
    this.backing.close();
  }
}

// Bytes kept in memory, batch by batch, when the browser offers no file.
class MemoryBacking {
  constructor() {
    this.batches = [];  // {at, bytes}
  }
  write(bytes, at) {
    this.batches.push({at, bytes});
  }
  read(at, length) {
    const out = new Uint8Array(length);
    let lo = 0;
    let hi = this.batches.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (this.batches[mid].at <= at)
        lo = mid;
      else
        hi = mid - 1;
    }
    for (let i = lo, done = 0; done < length && i < this.batches.length; ++i) {
      const batch = this.batches[i];
      const from = Math.max(0, at + done - batch.at);
      const piece = batch.bytes.subarray(from, Math.min(batch.bytes.length, from + length - done));
      out.set(piece, done);
      done += piece.length;
    }
    return out;
  }
  close() {
    this.batches = [];
  }
}

// Bytes in a file of the Origin Private File System.
class FileBacking {
  constructor(handle, name, directory) {
    this.handle = handle;
    this.name = name;
    this.directory = directory;
  }
  write(bytes, at) {
    let done = 0;
    while (done < bytes.length) done += this.handle.write(bytes.subarray(done), {at: at + done});
  }
  read(at, length) {
    const out = new Uint8Array(length);
    let done = 0;
    while (done < length) {
      const got = this.handle.read(out.subarray(done), {at: at + done});
      if (got <= 0) break;
      done += got;
    }
    return out;
  }
  close() {
    try {
      this.handle.close();
    } catch {
    }
    this.directory.removeEntry(this.name).catch(() => {});
  }
}

let directory = null;
const opened = (async () => {
  try {
    directory = await navigator.storage.getDirectory();
    // Reports of pages closed earlier: their files are no one's now (a file
    // another tab still holds refuses to go, and stays).
    for await (const [name] of directory.entries())
      if (name.startsWith(kPrefix) && !name.startsWith(kPrefix + session))
        await directory.removeEntry(name).catch(() => {});
  } catch {
    directory = null;
  }
})();

// A file for report `id`, shared with the checker's handle where the
// browser can ('readwrite-unsafe': the checker appends, this worker reads
// what it was told is written). A browser that holds the file alone refuses
// the checker's handle, and the checker sends the bytes instead.
async function newBacking(id) {
  await opened;
  if (directory) {
    const name = `${kPrefix}${session}-${id}`;
    for (const mode of ['readwrite-unsafe', undefined]) {
      try {
        const file = await directory.getFileHandle(name, {create: true});
        const handle = await file.createSyncAccessHandle(mode ? {mode} : undefined);
        handle.truncate(0);
        return new FileBacking(handle, name, directory);
      } catch {
      }
    }
  }
  return new MemoryBacking();
}

const reports = new Map();
const told = new Map();  // when the page was last told a report's count

function tell(report, force) {
  const now = performance.now();
  if (!force && now - (told.get(report.id) || 0) < 100) return;
  told.set(report.id, now);
  postMessage({type: 'count', id: report.id, count: report.count, width: report.width});
}

// Messages are handled one after the other: a report's file is opened
// (asynchronously) before its first lines are written.
let queue = Promise.resolve();
function enqueue(work) {
  queue = queue.then(work).catch((error) => console.error(error));
}

function finish(report, message) {
  if (!report || report.done) return;
  report.done = true;
  postMessage({
    type: 'done',
    id: report.id,
    count: report.count,
    width: report.width,
    result: message.result || null,
    error: message.error || null,
    cancelled: !!message.cancelled,
  });
}

function fromChecker(message) {
  enqueue(async () => {
    const report = await reports.get(message.id);
    if (!report || report.done) return;
    if (message.type === 'append') {
      report.append(message.bytes, message.ends, message.records);
      tell(report, false);
    } else if (message.type === 'end') {
      finish(report, message);
    }
  });
}

function answer(message) {
  enqueue(async () => {
    const report = await reports.get(message.id);
    let value = null;
    if (report && message.type === 'rows')
      value = report.rows(message.from, message.count);
    else if (report && message.type === 'finding')
      value = report.finding(message.from, message.step);
    else if (report && message.type === 'text')
      value = report.rows(0, report.count).lines;
    postMessage({type: 'reply', req: message.req, value});
  });
}

onmessage = (event) => {
  const message = event.data;
  if (message.type === 'port') {
    message.port.onmessage = (e) => fromChecker(e.data);
  } else if (message.type === 'begin') {
    // The promise stands in the map at once: lines and questions about the
    // report wait for its file.
    const report = newBacking(message.id).then((backing) => new Report(message.id, backing));
    reports.set(message.id, report);
    report.then((r) => postMessage({type: 'reply', req: message.req, value: r.backing.name || null}));
  } else if (message.type === 'cancelled') {
    enqueue(async () => finish(await reports.get(message.id), {cancelled: true}));
  } else if (message.type === 'forget') {
    enqueue(async () => {
      const report = await reports.get(message.id);
      reports.delete(message.id);
      if (report) report.close();
    });
  } else {
    answer(message);
  }
};
