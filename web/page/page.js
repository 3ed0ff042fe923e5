// The page's thread: it draws and listens, nothing more. Files are read by
// the checker worker (worker.js), their reports kept by the store worker
// (store.js); this thread holds the few rows it shows. No file leaves the
// computer: the workers read the File objects the browser hands over.

import {Inspector} from './inspector.js';
import {ReportList} from './report_list.js';

const $ = (id) => document.getElementById(id);

// ---------------------------------------------------------------- workers

// A worker with numbered questions: ask() answers with the worker's reply.
class Channel {
  constructor(worker, onOther) {
    this.worker = worker;
    this.pending = new Map();
    this.next = 1;
    worker.onmessage = (event) => {
      const message = event.data;
      if (message.type === 'reply' && this.pending.has(message.req)) {
        const {resolve, reject} = this.pending.get(message.req);
        this.pending.delete(message.req);
        if (message.error)
          reject(new Error(message.error));
        else
          resolve(message.value);
      } else {
        onOther(message);
      }
    };
    worker.onerror = (event) => {
      event.preventDefault();
      for (const {reject} of this.pending.values()) reject(new Error(event.message || 'erro no worker'));
      this.pending.clear();
      onOther({type: 'crash', message: event.message});
    };
  }
  ask(message, transfer = []) {
    const req = this.next++;
    return new Promise((resolve, reject) => {
      this.pending.set(req, {resolve, reject});
      this.worker.postMessage({...message, req}, transfer);
    });
  }
  post(message, transfer = []) {
    this.worker.postMessage(message, transfer);
  }
  terminate() {
    this.worker.terminate();
    for (const {reject} of this.pending.values()) reject(new Error('cancelado'));
    this.pending.clear();
  }
}

const workerUrl = new URL('./worker.js', import.meta.url);
const store = new Channel(new Worker(new URL('./store.js', import.meta.url)), onStore);
let checker = null;

// The helper answers the inspector, the downloads and the barcode box while
// the checker works. It is made when first asked and ended after a minute
// unasked: a worker with its own WebAssembly core costs the tab tens of
// megabytes.
let helper = null;
let helperIdle = 0;
const kHelperIdle = 60000;
function ask(message) {
  if (!helper) helper = new Channel(new Worker(workerUrl, {type: 'module'}), () => {});
  clearTimeout(helperIdle);
  const answer = helper.ask(message);
  const rest = () => {
    if (!helper || helper.pending.size > 0) return;
    helperIdle = setTimeout(() => {
      if (helper && helper.pending.size === 0) {
        helper.terminate();
        helper = null;
      }
    }, kHelperIdle);
  };
  answer.then(rest, rest);
  return answer;
}

const kRetireAfter = 32 << 20;  // bytes

function startChecker() {
  const channel = new MessageChannel();
  store.post({type: 'port', port: channel.port1}, [channel.port1]);
  checker = new Channel(new Worker(workerUrl, {type: 'module'}), onChecker);
  checker.post({type: 'port', port: channel.port2}, [channel.port2]);
  // A checker loads its core (and warms it up) while it waits: the first file
  // does not wait for that, and runs the engine's optimised code.
  checker.ask({type: 'commands'}).catch(() => {});
}
startChecker();

function restartChecker() {
  checker.terminate();
  startChecker();
}

// ---------------------------------------------------------------- files

const entries = [];  // every file dropped or chosen, in order
let running = null;  // the entry the checker works on
let chosen = null;   // the entry whose report is shown
let nextId = 1;

const numberFormat = new Intl.NumberFormat('pt-BR');
function size(bytes) {
  if (bytes < 1024) return `${bytes} B`;
  const units = ['KB', 'MB', 'GB', 'TB'];
  let value = bytes / 1024;
  let unit = 0;
  while (value >= 1024 && unit < units.length - 1) {
    value /= 1024;
    ++unit;
  }
  return `${value.toLocaleString('pt-BR', {maximumFractionDigits: 1})} ${units[unit]}`;
}

// The check's verdicts in the page's words.
const verdicts = {
  clean: ['Sem erros', 'verdict-ok'],
  findings: ['Com erros', 'verdict-findings'],
  'not recognised': ['Layout não reconhecido', 'verdict-other'],
  'no validator': ['Layout sem validador', 'verdict-other'],
  aborted: ['Interrompido', 'verdict-other'],
};

function addFiles(files) {
  for (const file of files) {
    const entry = {id: nextId++, file, state: 'queued', count: 0, width: 0, result: null, error: null};
    const row = document.createElement('tr');
    row.dataset.id = String(entry.id);
    row.innerHTML =
        '<td class="name"></td><td class="size"></td><td class="layout">—</td><td class="verdict">Na fila</td>' +
        '<td class="count">0</td><td><progress max="1" value="0"></progress></td>' +
        '<td><button type="button" class="cancel">Cancelar</button> ' +
        '<button type="button" class="remove" title="Tirar o arquivo e o seu relatório da página">Remover</button></td>';
    row.querySelector('.name').textContent = file.name;
    row.querySelector('.size').textContent = size(file.size);
    row.addEventListener('click', (event) => {
      if (event.target.closest('button')) return;
      choose(entry);
    });
    row.querySelector('.cancel').addEventListener('click', () => cancel(entry));
    row.querySelector('.remove').addEventListener('click', () => remove(entry));
    entry.row = row;
    $('files').tBodies[0].appendChild(row);
    entries.push(entry);
    entry.reportFile = store.ask({type: 'begin', id: entry.id});
  }
  if (!chosen && entries.length) choose(entries[entries.length - files.length] || entries[0]);
  pump();
}

// The next queued file goes to the checker when it is free.
async function pump() {
  if (running) return;
  const entry = entries.find((e) => e.state === 'queued');
  if (!entry) return;
  running = entry;
  entry.state = 'running';
  entry.started = performance.now();
  cell(entry, 'verdict').textContent = 'Validando…';
  status(`Validando ${entry.file.name}…`);
  const reportFile = await entry.reportFile;
  if (entry.state === 'running') checker.post({type: 'check', id: entry.id, file: entry.file, reportFile});
}

function cell(entry, name) {
  return entry.row.querySelector(`.${name}`);
}

function cancel(entry) {
  if (entry.state === 'queued') {
    entry.state = 'cancelled';
    cell(entry, 'verdict').textContent = 'Cancelado';
    store.post({type: 'cancelled', id: entry.id});
  } else if (entry.state === 'running') {
    // The core cannot be asked to stop halfway: its worker is ended and a
    // new one takes the queue; the lines written so far stay in the store.
    entry.state = 'cancelling';
    store.post({type: 'cancelled', id: entry.id});
    restartChecker();
  }
}

// A file taken off the page: its run stopped, its report's lines and file
// given back.
function remove(entry) {
  cancel(entry);
  if (entry === running) running = null;
  store.post({type: 'forget', id: entry.id});
  entries.splice(entries.indexOf(entry), 1);
  entry.row.remove();
  if (entry === chosen) {
    chosen = null;
    inspector.close();
    $('viewer').hidden = true;
  }
  pump();
}

function onChecker(message) {
  const entry = entries.find((e) => e.id === message.id);
  if (message.type === 'progress' && entry && entry.state === 'running') {
    const bar = entry.row.querySelector('progress');
    bar.max = message.total || 1;
    bar.value = message.read;
  } else if (message.type === 'crash' && running) {
    // The worker died (out of memory, a fault in the core): the file is
    // reported as stopped and the queue goes on in a new worker.
    const entry = running;
    entry.state = 'cancelling';
    entry.crash = message.message || 'erro no validador';
    store.post({type: 'cancelled', id: entry.id});
    restartChecker();
  }
}

function onStore(message) {
  const entry = entries.find((e) => e.id === message.id);
  if (!entry) return;
  if (message.type === 'count' || message.type === 'done') {
    entry.count = message.count;
    entry.width = message.width;
    cell(entry, 'count').textContent = numberFormat.format(entry.count);
  }
  if (message.type === 'done') finished(entry, message);
  if (entry === chosen) list.update(entry.count, entry.width, entry.state === 'done');
}

function finished(entry, message) {
  const wasRunning = entry === running;
  entry.result = message.result;
  entry.error = message.error || entry.crash || null;
  entry.seconds = (performance.now() - (entry.started || performance.now())) / 1000;
  const bar = entry.row.querySelector('progress');
  entry.row.querySelector('.cancel').disabled = true;
  const verdict = cell(entry, 'verdict');
  if (message.cancelled) {
    entry.state = 'cancelled';
    verdict.textContent = entry.crash ? `Interrompido: ${entry.crash}` : 'Cancelado (relatório até aqui)';
    verdict.className = 'verdict verdict-other';
  } else {
    entry.state = 'done';
    bar.max = 1;
    bar.value = 1;
    const result = entry.result || {};
    let [text, kind] = entry.error ? [`Erro: ${entry.error}`, 'verdict-other'] :
                                     verdicts[result.verdict] || [String(result.verdict), 'verdict-other'];
    if (!entry.error && result.verdict === 'findings') text += ` (${numberFormat.format(result.findings)})`;
    verdict.textContent = result.error ? `${text}: ${result.error}` : text;
    verdict.className = `verdict ${kind}`;
    cell(entry, 'layout').textContent = result.title || '—';
  }
  if (wasRunning) {
    running = null;
    // After a big file the checker is retired and a new one takes the queue:
    // its engine gives back slowly what a long run left behind (read buffers,
    // line texts), and an ended worker gives it all back at once.
    if (!message.cancelled && entry.file.size > kRetireAfter) restartChecker();
    status(`${entry.file.name}: ${verdict.textContent} (${numberFormat.format(entry.count)} linhas em ${
        entry.seconds.toFixed(1)} s)`);
    pump();
  }
  if (entry === chosen) $('viewer-title').textContent = title(entry);
}

function title(entry) {
  const result = entry.result || {};
  return `${entry.file.name}${result.title ? ` — ${result.title}` : ''}`;
}

function choose(entry) {
  chosen = entry;
  for (const e of entries) e.row.classList.toggle('chosen', e === entry);
  $('viewer').hidden = false;
  $('viewer-title').textContent = title(entry);
  $('download-link').hidden = true;
  inspector.close();
  list.show(entry.id, entry.count, entry.width, entry.state === 'done');
}

function status(text) {
  $('status').textContent = text;
}

// ---------------------------------------------------------------- report and inspector

const rowsOf = (id, from, count) => store.ask({type: 'rows', id, from, count});
const list = new ReportList($('report'), $('rows'), $('spacer'), rowsOf, {
  onOpen: (line, record, text) => openInspector(line, record, text),
});

const inspector = new Inspector({
  show: (record) => ask({type: 'show', file: chosen.file, record, layout: (chosen.result || {}).layout}),
  step: async (line, step, probe) => {
    const next = await store.ask({type: 'finding', id: chosen.id, from: line, step});
    if (next < 0) return null;
    if (probe) return {line: next};
    const rows = await rowsOf(chosen.id, next, 1);
    list.moveTo(next);
    return {line: next, record: rows.records[0], text: rows.lines[0]};
  },
  fileName: () => chosen.file.name,
  onClose: () => list.focus(),
});

function openInspector(line, record, text) {
  if (record == null || !chosen) return;
  inspector.open(line, record, text);
}

// ---------------------------------------------------------------- download

const formats = {
  text: '.relatorio.txt',
  json: '.relatorio.json',
  junit: '.relatorio.xml'
};
$('download').addEventListener('click', async () => {
  const entry = chosen;
  if (!entry) return;
  const format = $('format').value;
  const button = $('download');
  button.disabled = true;
  status(`Preparando o relatório de ${entry.file.name}…`);
  try {
    const {blob} = await ask({type: 'document', file: entry.file, format});
    const link = $('download-link');
    if (link.href) URL.revokeObjectURL(link.href);
    link.href = URL.createObjectURL(blob);
    link.download = entry.file.name + formats[format];
    link.textContent = `Salvar ${link.download}`;
    link.hidden = false;
    link.click();
    status(`Relatório pronto: ${link.download} (${size(blob.size)})`);
  } catch (error) {
    status(`Não foi possível gerar o relatório: ${error.message}`);
  } finally {
    button.disabled = false;
  }
});

// ---------------------------------------------------------------- barcode box

// The commands that take one barcode or typeable line typed in their input
// box, in the menu's order.
const barcodeCommands = [
  'CdigodebarrasSIGCB1Click',
  'RepresentaoNumricaSIGCB1Click',
  'Cdigodebarrasumboleto1Click',
  'ConverteCdBarraRepresentao1Click',
  'ConverteRepresentaoCdBarra1Click',
  'CdigodebarrasCobCaixa1Click',
  'Representaonumricacobcaixacobranacaixa1Click',
  'CdigodebarrasSINCO1Click',
  'RepresentaoNumricadocdigodebarrasSINCO1Click',
  'Cdigodebarras1Click',
  'SITCSVriosboletos1Click',
  'Umdocumento1Click',
  'CdigodebarrasCapCaixaTipo21Click',
  'CdigoBarrasconcessionriassaneamento1Click',
  'CdigoBarrasconcessionriasEnergiaeGs1Click',
  'CdigoBarrasconcessionriastelecomunicaes1Click',
  'CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click',
  'CdigodebarrasCapCaixaTipo31Click',
  'CdigodebarrasCapCaixaTipo3Caixa1Click',
  'Cdigodebarras12posies1Click',
  'ValidaCdigodebarrasCapCaixa1Click',
];

async function loadCommands() {
  try {
    // The checker is idle while the page loads; its core is the one the
    // first file needs anyway.
    const table = await checker.ask({type: 'commands'});
    const select = $('barcode-command');
    for (const handler of barcodeCommands) {
      const command = table.find((c) => c.handler === handler);
      if (!command || command.ready === false) continue;
      const option = document.createElement('option');
      option.value = handler;
      const path = (command.path || []).map((p) => p.replace(/&/g, '')).slice(1);
      option.textContent = [...path, command.caption.replace(/&/g, '')].join(' › ');
      select.appendChild(option);
    }
    status('Pronto. Arraste arquivos para a página ou escolha-os.');
    document.body.dataset.ready = 'true';
  } catch (error) {
    status(`O validador não pôde ser carregado: ${error.message}`);
  }
}
loadCommands();

$('barcode-form').addEventListener('submit', async (event) => {
  event.preventDefault();
  const handler = $('barcode-command').value;
  const typed = $('barcode-input').value.trim();
  const out = $('barcode-report');
  if (!handler) return;
  out.textContent = 'Validando…';
  delete out.dataset.status;
  $('barcode-messages').textContent = '';
  try {
    const result = await ask({type: 'run', handler, answers: [typed]});
    out.textContent = result.report.join('\n');
    $('barcode-messages').textContent = result.messages.join('\n');
    out.dataset.status = String(result.status);
  } catch (error) {
    out.textContent = `Erro: ${error.message}`;
    out.dataset.status = 'error';
  }
});

// ---------------------------------------------------------------- drop and choose

let dragDepth = 0;
const overlay = $('overlay');
const hasFiles = (event) => event.dataTransfer && Array.from(event.dataTransfer.types || []).includes('Files');
document.addEventListener('dragenter', (event) => {
  if (!hasFiles(event)) return;
  event.preventDefault();
  ++dragDepth;
  overlay.hidden = false;
  $('drop').classList.add('over');
});
document.addEventListener('dragover', (event) => {
  if (!hasFiles(event)) return;
  event.preventDefault();
  event.dataTransfer.dropEffect = 'copy';
});
document.addEventListener('dragleave', () => {
  if (--dragDepth > 0) return;
  dragDepth = 0;
  overlay.hidden = true;
  $('drop').classList.remove('over');
});
document.addEventListener('drop', (event) => {
  event.preventDefault();
  dragDepth = 0;
  overlay.hidden = true;
  $('drop').classList.remove('over');
  const files = Array.from((event.dataTransfer && event.dataTransfer.files) || []);
  if (files.length) addFiles(files);
});
$('choose').addEventListener('change', (event) => {
  const files = Array.from(event.target.files || []);
  event.target.value = '';
  if (files.length) addFiles(files);
});

// ---------------------------------------------------------------- for the tests and the bench

window.verilotePage = {
  entries: () => entries.map((e) => ({
                               id: e.id,
                               name: e.file.name,
                               state: e.state,
                               count: e.count,
                               result: e.result,
                               error: e.error,
                               seconds: e.seconds
                             })),
  rows: (id, from, count) => rowsOf(id, from, count),
  text: (id) => store.ask({type: 'text', id}),
  shown: () => list.shownRows(),
  current: () => list.current,
  count: () => list.count,
};
