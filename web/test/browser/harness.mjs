// What the browser tests and the page's bench share: a static server of the
// assembled page on 127.0.0.1, Debian's Chromium started headless through
// playwright-core (nothing downloaded), a page whose every request is
// recorded and, unless it is one of the page's own files, refused, and a
// real drop of files on the drop zone.
import {createReadStream, existsSync, mkdtempSync, rmSync, statSync} from 'node:fs';
import {createServer} from 'node:http';
import {tmpdir} from 'node:os';
import path from 'node:path';
import {chromium} from 'playwright-core';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
};

// Serves `site` on 127.0.0.1 at a free port; `served` lists every path asked.
export async function serve(site) {
  const served = [];
  const server = createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    served.push(url.pathname);
    let file = path.join(site, decodeURIComponent(url.pathname));
    if (!file.startsWith(site)) file = '';
    if (file && existsSync(file) && statSync(file).isDirectory()) file = path.join(file, 'index.html');
    if (!file || !existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(
        200, {'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-store'});
    createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const origin = `http://127.0.0.1:${server.address().port}`;
  return {origin, served, close: () => new Promise((resolve) => server.close(resolve))};
}

export const kChromium = process.env.VERILOTE_CHROMIUM || '/usr/bin/chromium';

// Chromium, headless, on a new empty profile that goes when it closes.
export async function launch() {
  const profile = mkdtempSync(path.join(tmpdir(), 'verilote-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: kChromium,
    headless: true,
    acceptDownloads: true,
    viewport: {width: 1280, height: 900},
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--disable-dev-shm-usage',
    ],
  });
  const close = async () => {
    await context.close().catch(() => {});
    rmSync(profile, {recursive: true, force: true});
  };
  return {context, close, profile};
}

// A page of `context` on the server's page. Every request it makes, of any
// frame or worker, is recorded in `requests`; one that is not a file of the
// server goes in `refused` and is aborted.
export async function openPage(context, server) {
  const requests = [];
  const refused = [];
  await context.route('**/*', (route) => {
    const url = route.request().url();
    if (url.startsWith(`${server.origin}/`) || url.startsWith('blob:') || url.startsWith('data:'))
      return route.continue();
    refused.push(url);
    return route.abort();
  });
  context.on('request', (request) => {
    const url = request.url();
    requests.push(url);
    if (!url.startsWith(`${server.origin}/`) && !url.startsWith('blob:') && !url.startsWith('data:') &&
        !refused.includes(url))
      refused.push(url);
  });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.goto(`${server.origin}/`);
  await page.waitForFunction(
      () => document.body.dataset.ready === 'true' ||
          /não pôde/.test(document.getElementById('status')?.textContent || ''));
  return {page, requests, refused, errors};
}

// Drops `files` ({name, bytes: Buffer}) on the drop zone as a user does: a
// DataTransfer made in the page from the files' bytes, dispatched as
// dragenter, dragover and drop.
export async function dropFiles(page, files) {
  const payload = files.map((f) => ({name: f.name, base64: Buffer.from(f.bytes).toString('base64')}));
  await page.evaluate((list) => {
    const transfer = new DataTransfer();
    for (const {name, base64} of list) {
      const binary = atob(base64);
      const bytes = new Uint8Array(binary.length);
      for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
      transfer.items.add(new File([bytes], name, {type: 'application/octet-stream'}));
    }
    const zone = document.getElementById('drop');
    for (const type of ['dragenter', 'dragover', 'drop'])
      zone.dispatchEvent(new DragEvent(type, {bubbles: true, cancelable: true, dataTransfer: transfer}));
  }, payload);
}

// Waits until every file the page holds is checked; returns the entries.
export async function settled(page, count, timeout = 120000) {
  await page.waitForFunction(
      (n) => {
        const entries = window.verilotePage.entries();
        return entries.length >= n && entries.every((e) => e.state === 'done' || e.state === 'cancelled');
      },
      count,
      {timeout, polling: 100},
  );
  return page.evaluate(() => window.verilotePage.entries());
}

export function siteDir() {
  const site = path.resolve(process.env.VERILOTE_SITE || 'build-web/site');
  if (!existsSync(path.join(site, 'page', 'index.html')))
    throw new Error(`no page in ${site}: run scripts/web-site.sh`);
  return site;
}
