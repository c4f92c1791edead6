// The WebAssembly runner under node replays every golden recording frame for frame, to the ends the native runs reached.
//   node tests/web/replay.mjs BUILD_WEB_DIR
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const runner = resolve(process.argv[2] || 'build-web', 'space-shooter-headless.js');
const golden = join(dirname(fileURLToPath(import.meta.url)), '..', 'replay', 'golden');
const names = readdirSync(golden).filter((f) => f.endsWith('.rec')).map((f) => f.slice(0, -4));
let failures = names.length ? 0 : 1;
if (!names.length)
  console.error('replay: no recordings in ' + golden);

for (const name of names) {
  const expect = Object.fromEntries(readFileSync(join(golden, name + '.expect'), 'utf8').split('\n')
    .filter((l) => l && !l.startsWith('#')).map((l) => l.split(' ')));
  // A fresh folder: the replay starts from the recorded high-score file.
  const folder = mkdtempSync(join(tmpdir(), 'web-replay-'));
  let output = '', error = '';
  try {
    // The runner checks each frame's hash against the recording and fails on the first that differs.
    output = execFileSync('node', [runner, '--replay', join(golden, name + '.rec'), '--hash'],
      { cwd: folder, encoding: 'utf8', maxBuffer: 1 << 28, stdio: ['ignore', 'pipe', 'pipe'] });
  } catch (e) {
    output = e.stdout || '';
    error = (e.stderr || '').trim().split('\n').slice(-2).join(' / ') + ' (exit ' + e.status + ')';
  }
  const frames = output.match(/^frame .*$/gm) || [];
  const end = output.match(/^ticks=(\d+) frames=(\d+)/m) || [];
  const scores = join(folder, 'Skyrend.dat');
  const found = {
    frames: end[2], ticks: end[1], 'last-frame': (frames.at(-1) || '').split(' ').at(-1),
    'high-scores': (existsSync(scores) && readFileSync(scores).toString('hex')) || 'none',
  };
  const wrong = Object.keys(found).filter((k) => found[k] !== expect[k]);
  if (error || wrong.length || String(frames.length) !== expect.frames) {
    failures++;
    console.error(`replay ${name}: FAILED ${error}`);
    for (const k of wrong)
      console.error(`  ${k}: found ${found[k]}, expected ${expect[k]}`);
  } else {
    console.log(`replay ${name}: ${frames.length} frames match`);
  }
  rmSync(folder, { recursive: true, force: true });
}
process.exit(failures ? 1 : 0);
