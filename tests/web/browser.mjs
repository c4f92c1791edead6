// Headless Chromium over the DevTools protocol on a pipe, with the web build served by a plain static server.
import { spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Serves root with no special headers, as any web host would, starts the
// browser on a fresh profile and attaches to its page. Returns the page's
// URL, the calls that drive it, and the texts of the boxes it showed.
export async function openBrowser(root) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
    '.png': 'image/png', '.webmanifest': 'application/manifest+json' };
  const server = createServer((request, response) => {
    try {
      const path = join(root, decodeURIComponent(new URL(request.url, 'http://x').pathname));
      const body = readFileSync(path);
      response.writeHead(200, { 'Content-Type': types[extname(path)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));

  // fd 3 carries commands in, fd 4 answers out, each NUL-terminated JSON.
  const profile = mkdtempSync(join(tmpdir(), 'web-page-'));
  const browser = spawn('chromium', ['--headless', '--no-sandbox', '--disable-gpu', '--remote-debugging-pipe',
    '--user-data-dir=' + profile, '--no-first-run', 'about:blank'], { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
  const pending = new Map();
  const dialogs = [];   // the page's message boxes, answered OK so that nothing hangs
  let nextId = 0, unread = '', session;
  browser.stdio[4].on('data', (chunk) => {
    unread += chunk;
    for (let end; (end = unread.indexOf('\0')) >= 0; unread = unread.slice(end + 1)) {
      const message = JSON.parse(unread.slice(0, end));
      if (message.method === 'Page.javascriptDialogOpening') {
        dialogs.push(message.params.message);
        console.error('the page showed a box: ' + message.params.message);
        send('Page.handleJavaScriptDialog', { accept: true });
      }
      const waiter = pending.get(message.id);
      if (!waiter)
        continue;
      pending.delete(message.id);
      if (message.error)
        waiter.reject(new Error(JSON.stringify(message.error)));
      else
        waiter.resolve(message.result);
    }
  });
  function send(method, params = {}) {
    const id = ++nextId;
    browser.stdio[3].write(JSON.stringify({ id, method, params, sessionId: session }) + '\0');
    return new Promise((resolve, reject) => pending.set(id, { resolve, reject }));
  }
  async function evaluate(expression) {
    const answer = await send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (answer.exceptionDetails)
      throw new Error(expression + ': ' + JSON.stringify(answer.exceptionDetails));
    return answer.result.value;
  }
  async function waitFor(what, expression, ms) {
    for (const end = Date.now() + ms; Date.now() < end; await sleep(250))
      if (await evaluate(expression))
        return;
    throw new Error(`timed out waiting for ${what}`);
  }
  async function close() {
    browser.kill();
    await new Promise((done) => browser.once('exit', done));
    server.close();
    rmSync(profile, { recursive: true, force: true });
  }

  const { targetInfos } = await send('Target.getTargets');
  const page = targetInfos.find((t) => t.type === 'page');
  ({ sessionId: session } = await send('Target.attachToTarget', { targetId: page.targetId, flatten: true }));
  await send('Page.enable');
  const url = `http://127.0.0.1:${server.address().port}/index.html`;
  return { url, send, evaluate, waitFor, close, dialogs };
}
