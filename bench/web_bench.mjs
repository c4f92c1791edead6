// The web build's figures side by side in one run: replay speed against native, the busiest frame, download size, time to first frame.
//   node bench/web_bench.mjs BUILD_WEB_DIR NATIVE_BUILD_DIR    (scripts/web --bench)
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import { openBrowser } from '../tests/web/browser.mjs';

const web = resolve(process.argv[2] || 'build-web');
const native = resolve(process.argv[3] || 'build');
const recording = join(dirname(fileURLToPath(import.meta.url)), '..', 'tests', 'replay', 'golden', 'autopilot-boss.rec');
const runs = 5;

// One replay in a fresh folder (a replay starts from its recorded high scores); its time in ms.
function replay(command, args) {
  const folder = mkdtempSync(join(tmpdir(), 'web-bench-'));
  const started = process.hrtime.bigint();
  execFileSync(command, args, { cwd: folder, stdio: 'ignore' });
  rmSync(folder, { recursive: true, force: true });
  return Number(process.hrtime.bigint() - started) / 1e6;
}
// The best of a few runs each, taken in turns, so that a busy moment of a shared machine weighs on both.
const frames = Number(readFileSync(recording.replace(/\.rec$/, '.expect'), 'utf8').match(/^frames (\d+)/m)[1]);
let nativeMs = Infinity, wasmMs = Infinity;
for (let i = 0; i < runs; i++) {
  nativeMs = Math.min(nativeMs, replay(join(native, 'space-shooter-headless'), ['--replay', recording]));
  wasmMs = Math.min(wasmMs, replay('node', [join(web, 'space-shooter-headless.js'), '--replay', recording]));
}

// The busiest frame: the runner loaded into this process, each frame's hash
// line stamped as it is written; a frame's cost is the time since the last.
const folder = mkdtempSync(join(tmpdir(), 'web-bench-'));
process.chdir(folder);
const costs = [];
let last = 0;
// The script runs as a function whose parameter is the module's settings.
const runner = join(web, 'space-shooter-headless.js');
const start = new Function('Module', 'require', '__filename', '__dirname', readFileSync(runner, 'utf8'));
const realRequire = createRequire(runner);
const fs = realRequire('fs');
const stampingFs = { ...fs, writeSync: (fd, data, offset, length, ...rest) => {
  if (fd !== 1)
    return fs.writeSync(fd, data, offset, length, ...rest);
  const now = performance.now();
  if (data[offset] === 'f'.charCodeAt(0)) {
    const line = Buffer.from(data.buffer, data.byteOffset + offset, length).toString();
    if (last)
      costs.push([now - last, line.split(' ')[1]]);
    last = now;
  }
  return length;
} };
await new Promise((done) => start({ arguments: ['--replay', recording, '--hash'], quit: done },
  (name) => (name === 'fs' ? stampingFs : realRequire(name)), runner, web));
rmSync(folder, { recursive: true, force: true });
if (process.env.SS_BENCH_FRAMES) console.log(costs.slice(0, +process.env.SS_BENCH_FRAMES).map((c) => c[1] + ":" + c[0].toFixed(1)).join(" "));
costs.sort((a, b) => b[0] - a[0]);

// What a browser downloads, each file gzipped as a server would send it.
const page = readdirSync(web).filter((f) => /^(index\.|icon-|manifest)/.test(f) && statSync(join(web, f)).isFile());
const gzipped = page.reduce((sum, f) => sum + gzipSync(readFileSync(join(web, f)), { level: 9 }).length, 0);
const raw = page.reduce((sum, f) => sum + statSync(join(web, f)).size, 0);

// Time to the first frame: from the navigation's start to the first picture painted into the canvas.
const browser = await openBrowser(web);
const firsts = [];
for (let i = 0; i < runs; i++) {
  await browser.send('Page.navigate', { url: browser.url });
  await browser.waitFor('the first frame', 'window.Module && Module.firstFrame > 0', 30000);
  firsts.push(await browser.evaluate('Module.firstFrame'));
}
await browser.close();

const fps = (ms) => (frames / (ms / 1000)).toFixed(0);
console.log(`replay of autopilot-boss (${frames} frames), best of ${runs}:`);
console.log(`  native       ${(nativeMs / 1000).toFixed(2)} s  ${fps(nativeMs)} frames/s`);
console.log(`  WebAssembly  ${(wasmMs / 1000).toFixed(2)} s  ${fps(wasmMs)} frames/s  (${(100 * nativeMs / wasmMs).toFixed(0)}% of native)`);
console.log(`busiest frame in WebAssembly under node: ${costs[0][0].toFixed(2)} ms (frame ${costs[0][1]}); ` +
  `99th percentile ${costs[Math.floor(costs.length / 100)][0].toFixed(2)} ms, median ${costs[costs.length >> 1][0].toFixed(2)} ms`);
console.log(`page download: ${(gzipped / 1048576).toFixed(2)} MB gzipped (${(raw / 1048576).toFixed(2)} MB raw) in ${page.length} files`);
console.log(`first frame on localhost: ${Math.min(...firsts).toFixed(0)} ms best, ${Math.max(...firsts).toFixed(0)} ms worst of ${runs}`);
