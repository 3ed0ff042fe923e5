// The page against the native command line on the same file, in the same
// run: the 1,000,000-title faulty SIGCB 240 remittance of bench/faulty.sh
// checked by `verilote-cli check` (report to /dev/null) and in the page in
// headless Chromium (the file chosen with the file input; the report kept by
// the page's store worker). Prints the times (median of REPS), their ratio,
// the tab's memory (the peak resident set of the page's renderer process,
// sampled from /proc every 50 ms: the page, its workers and their
// WebAssembly memory live there) and how the page answered during the run
// (the longest gap between two animation frames, the latest a 50 ms timer
// fired, the slowest click on the page's barcode box to reach its handler).
//
//   node bench/web_page.mjs [DETAILS] [REPS]    (default 1000000, 3)
// Needs build/verilote-cli, build/bench/bench_sigcb240 and build-web/site
// (scripts/web-build.sh && scripts/web-site.sh); bench/web_page.sh does all.
import {execFileSync, spawnSync} from 'node:child_process';
import {mkdtempSync, readdirSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import {launch, openPage, serve, siteDir} from '../web/test/browser/harness.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const details = process.argv[2] || '1000000';
const reps = Number(process.argv[3] || 3);
const cli = path.resolve(process.env.VERILOTE_CLI || path.join(root, 'build/verilote-cli'));
const generator = path.resolve(process.env.VERILOTE_BENCH_SIGCB || path.join(root, 'build/bench/bench_sigcb240'));

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const work = mkdtempSync(path.join(tmpdir(), 'verilote-web-page-'));
process.on('exit', () => rmSync(work, {recursive: true, force: true}));

console.error(`Making the file (${details} titles, three findings each)...`);
execFileSync(
    generator, [details, work, 'sigcb'],
    {env: {...process.env, BENCH_GENERATE_ONLY: '1', BENCH_FAULTY: '3'}, stdio: 'ignore'});
const file = path.join(work, 'bench_sigcb240_faulty_big.rem');
readFileSync(file);  // in the page cache for both

// The native command line: wall time of check, report to /dev/null.
function native() {
  const start = process.hrtime.bigint();
  const run = spawnSync(cli, ['check', path.basename(file)], {cwd: work, stdio: ['ignore', 'ignore', 'ignore']});
  if (run.error) throw run.error;
  return Number(process.hrtime.bigint() - start) / 1e9;
}

// The renderer processes of the browser whose profile is `profile`.
function renderers(profile) {
  const found = [];
  for (const pid of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      // Zygote children rewrite their command line as one string.
      const command = readFileSync(`/proc/${pid}/cmdline`, 'utf8').replaceAll('\0', ' ');
      if (command.includes('--type=renderer') && command.includes(`--user-data-dir=${profile} `))
        found.push(Number(pid));
    } catch {
    }
  }
  return found;
}

// The resident set of `pid` in KiB: all of it, and its anonymous part (the
// process's own memory, without the pages of Chromium's binary and fonts
// that every Chromium process maps and shares).
function rssKiB(pid) {
  try {
    const status = readFileSync(`/proc/${pid}/status`, 'utf8');
    return {all: Number(/VmRSS:\s+(\d+)/.exec(status)[1]), own: Number(/RssAnon:\s+(\d+)/.exec(status)[1])};
  } catch {
    return {all: 0, own: 0};
  }
}

const server = await serve(siteDir());
const browser = await launch();
const {page, refused} = await openPage(browser.context, server);
const profile = browser.profile;

// The core alone in the browser: the page's worker.js checking the file in
// a worker of its own, its lines sent to a channel that drops them (no
// store, no list): what the page adds is the rest.
await page.evaluate(() => {
  const input = document.createElement('input');
  input.type = 'file';
  input.id = 'bench-file';
  input.hidden = true;
  document.body.appendChild(input);
});
await page.setInputFiles('#bench-file', [file]);
async function coreAlone() {
  return page.evaluate(() => new Promise((resolve) => {
                         const worker = new Worker('./worker.js', {type: 'module'});
                         const channel = new MessageChannel();
                         channel.port1.onmessage = (event) => {
                           if (event.data.type !== 'end') return;
                           resolve((performance.now() - start) / 1000);
                           worker.terminate();
                         };
                         worker.postMessage({type: 'port', port: channel.port2}, [channel.port2]);
                         let start = 0;
                         worker.onmessage = () => {
                           // The core is loaded (it answered the command table): now the check.
                           start = performance.now();
                           worker.postMessage(
                               {type: 'check', id: 0, file: document.getElementById('bench-file').files[0]});
                           worker.onmessage = null;
                         };
                         worker.postMessage({type: 'commands', req: 1});
                       }));
}

const coreTimes = [];
const nativeTimes = [];
const pageTimes = [];
// Per renderer: its resident set before the runs and its peak during them;
// the page's own renderer is the one that grew.
const idle = new Map();
const peak = new Map();
let worstFrame = 0;
let worstTimer = 0;
let worstClick = 0;
let lines = 0;
for (let rep = 0; rep < reps; ++rep) {
  nativeTimes.push(native());
  for (const pid of renderers(profile))
    if (!idle.has(pid)) idle.set(pid, rssKiB(pid));
  await page.evaluate(() => {
    // Probes of the page's own thread while the check runs.
    const probe = {frame: 0, timer: 0, clicks: []};
    window.benchProbe = probe;
    let last = performance.now();
    const frame = (now) => {
      probe.frame = Math.max(probe.frame, now - last);
      last = now;
      if (!probe.stop) requestAnimationFrame(frame);
    };
    requestAnimationFrame(frame);
    let due = performance.now() + 50;
    const tick = () => {
      probe.timer = Math.max(probe.timer, performance.now() - due);
      due = performance.now() + 50;
      if (!probe.stop) setTimeout(tick, 50);
    };
    setTimeout(tick, 50);
    document.getElementById('barcode-input')
        .addEventListener('click', (event) => probe.clicks.push(performance.now() - event.timeStamp));
  });
  coreTimes.push(await coreAlone());
  const before = (await page.evaluate(() => window.verilotePage.entries())).length;
  const start = process.hrtime.bigint();
  await page.setInputFiles('#choose', [file]);
  for (;;) {
    for (const pid of renderers(profile)) {
      const now = rssKiB(pid);
      const most = peak.get(pid) || {all: 0, own: 0};
      peak.set(pid, {all: Math.max(most.all, now.all), own: Math.max(most.own, now.own)});
    }
    const entry = (await page.evaluate(() => window.verilotePage.entries()))[before];
    if (entry && (entry.state === 'done' || entry.state === 'cancelled')) {
      lines = entry.count;
      break;
    }
    await page.click('#barcode-input');
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  pageTimes.push(Number(process.hrtime.bigint() - start) / 1e9);
  const probe = await page.evaluate(() => {
    window.benchProbe.stop = true;
    return window.benchProbe;
  });
  worstFrame = Math.max(worstFrame, probe.frame);
  worstTimer = Math.max(worstTimer, probe.timer);
  worstClick = Math.max(worstClick, ...probe.clicks);
}
if (process.env.VERILOTE_WEB_SCREENSHOT) await page.screenshot({path: process.env.VERILOTE_WEB_SCREENSHOT});
await browser.close();
await server.close();
if (refused.length) throw new Error(`the page asked for ${refused.join(', ')}`);

const grown = (pid) => peak.get(pid).all - (idle.get(pid) || {all: 0}).all;
const [pagePid] = [...peak.keys()].sort((a, b) => grown(b) - grown(a));
const most = peak.get(pagePid) || {all: 0, own: 0};
const before = idle.get(pagePid) || {all: 0, own: 0};
const mb = (kib) => (kib / 1024).toFixed(0);
const nativeSeconds = median(nativeTimes);
const pageSeconds = median(pageTimes);
console.log(`file                 ${details} titles, ${(readFileSync(file).length / 1e6).toFixed(0)} MB, ${
    lines} report lines`);
console.log(`native check         ${nativeSeconds.toFixed(2)} s (median of ${reps})`);
console.log(
    `page check           ${pageSeconds.toFixed(2)} s (median of ${reps}; chosen to verdict and every line stored)`);
console.log(`core alone (browser) ${median(coreTimes).toFixed(2)} s (median of ${
    reps}; the page's worker in a worker of its own, lines dropped)`);
console.log(`page / native        ${(pageSeconds / nativeSeconds).toFixed(2)}x (target <= 3x)`);
console.log(`tab memory           peak RSS of the page's renderer process (the page and its workers) ${
    mb(most.all)} MB, of it anonymous ${mb(most.own)} MB (before the runs: ${mb(before.all)} MB, ${
    mb(before.own)} MB; target < 300 MB)`);
console.log(`page answering       longest frame gap ${worstFrame.toFixed(0)} ms, timer late by at most ${
    worstTimer.toFixed(0)} ms, slowest click ${worstClick.toFixed(0)} ms`);
