// The page's worker: everything Verilote does for the page runs here, so
// that the page never waits on it. The page starts two of them: the checker,
// which runs the checks one file after the other and writes their report
// lines to the report store over a channel, and the helper, which answers
// the inspector, the downloads and the barcode box while a long check runs.
// A check is stopped by ending its worker: the lines already in the store
// stay there.
//
// Messages from the page: {type: 'port', port} (the channel to the store),
// {type: 'check', id, file, layout, reportFile}, and questions answered with
// {type: 'reply', req, value} or {type: 'reply', req, error}:
// {type: 'show', req, file, record, layout}, {type: 'document', req, file,
// format, layout}, {type: 'run', req, handler, answers}, {type: 'commands',
// req}. To the page while a check runs: {type: 'progress', id, read, total}.

import {check, checkDocument, commands, run, show} from '../verilote.js';

const encoder = new TextEncoder();
let store = null;

// Lines travel to the store in batches: their UTF-8 bytes back to back, the
// end of each, and the record its finding is about (0: none). The bytes go
// into the report's file through this worker's own handle on it when the
// store shares the file, so that they never cross to another thread (a
// transferred buffer lingers in the receiver until its collector runs:
// 70 MB more at the peak for a million lines); else with the batch.
class Batcher {
  constructor(id, file) {
    this.id = id;
    this.file = file;
    this.at = 0;
    this.bytes = new Uint8Array(1 << 18);
    this.used = 0;
    this.ends = [];
    this.records = [];
    this.sent = performance.now();
  }

  add(line, record) {
    const most = line.length * 3;
    if (this.used + most > this.bytes.length) {
      this.flush();
      if (most > this.bytes.length) this.bytes = new Uint8Array(most);
    }
    this.used += encoder.encodeInto(line, this.bytes.subarray(this.used)).written;
    this.ends.push(this.used);
    this.records.push(record == null ? 0 : record);
    // Lines of a long run reach the page while it goes on.
    if ((this.ends.length & 1023) === 0 && performance.now() - this.sent > 100) this.flush();
  }

  flush() {
    this.sent = performance.now();
    if (this.ends.length === 0) return;
    const ends = Uint32Array.from(this.ends);
    const records = Uint32Array.from(this.records);
    if (this.file) {
      for (let done = 0; done < this.used;)
        done += this.file.write(this.bytes.subarray(done, this.used), {at: this.at + done});
      this.at += this.used;
      store.postMessage({type: 'append', id: this.id, bytes: this.used, ends, records}, [ends.buffer, records.buffer]);
    } else {
      const bytes = this.bytes.slice(0, this.used);
      store.postMessage(
          {type: 'append', id: this.id, bytes, ends, records}, [bytes.buffer, ends.buffer, records.buffer]);
    }
    this.used = 0;
    this.ends = [];
    this.records = [];
  }
}

// The per-file object without what the page does not show: the findings'
// structure is asked of `show` record by record.
function summary(result) {
  const kept = {};
  for (const [key, value] of Object.entries(result || {}))
    if (key !== 'issues' && key !== 'report') kept[key] = value;
  return kept;
}

// This worker's handle on the report file the store made, or null where the
// browser will not share it.
async function reportFile(name) {
  if (!name) return null;
  try {
    const directory = await navigator.storage.getDirectory();
    const file = await directory.getFileHandle(name);
    return await file.createSyncAccessHandle({mode: 'readwrite-unsafe'});
  } catch {
    return null;
  }
}

async function runCheck(message) {
  const file = await reportFile(message.reportFile);
  const batch = new Batcher(message.id, file);
  let told = 0;
  try {
    const result = await check(message.file, {
      name: message.file.name,
      layout: message.layout || undefined,
      onLine: (line, index, record) => batch.add(line, record),
      onProgress: (read, total) => {
        const now = performance.now();
        if (now - told > 50 || read === total) {
          told = now;
          postMessage({type: 'progress', id: message.id, read, total});
        }
      },
    });
    batch.flush();
    store.postMessage({type: 'end', id: message.id, result: summary(result)});
  } catch (error) {
    batch.flush();
    store.postMessage({type: 'end', id: message.id, error: String((error && error.message) || error)});
  } finally {
    if (file) file.close();
  }
}

// A report document streamed into a Blob: the chunks are gathered into
// parts of a few megabytes, each folded into the Blob as it fills.
async function reportDocument(message) {
  let blob = new Blob([]);
  let parts = [];
  let held = 0;
  const status = await checkDocument(message.file, {
    format: message.format,
    name: message.file.name,
    layout: message.layout || undefined,
    onChunk: (text) => {
      parts.push(text);
      held += text.length;
      if (held > 1 << 22) {
        blob = new Blob([blob, ...parts]);
        parts = [];
        held = 0;
      }
    },
  });
  return {blob: new Blob([blob, ...parts], {type: 'application/octet-stream'}), status};
}

async function answer(message) {
  switch (message.type) {
    case 'show':
      return show(message.file, message.record, {layout: message.layout || undefined, name: message.file.name});
    case 'document':
      return reportDocument(message);
    case 'run':
      return run(message.handler, {answers: message.answers, today: message.today || undefined});
    case 'commands':
      return commands();
    default:
      throw new Error(`unknown question ${message.type}`);
  }
}

// One thing at a time: the core runs one command to its end.
let queue = Promise.resolve();
onmessage = (event) => {
  const message = event.data;
  if (message.type === 'port') {
    store = message.port;
    return;
  }
  queue = queue.then(async () => {
    if (message.type === 'check') return runCheck(message);
    try {
      postMessage({type: 'reply', req: message.req, value: await answer(message)});
    } catch (error) {
      postMessage({type: 'reply', req: message.req, error: String((error && error.message) || error)});
    }
  });
};
