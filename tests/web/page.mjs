// The page in headless Chromium, driven over the DevTools protocol: menu, play by mouse, keys and touch, high scores kept across a reload.
//   node tests/web/page.mjs BUILD_WEB_DIR    (screenshots go to BUILD_WEB_DIR/screens)
import { mkdirSync, rmSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { openBrowser, sleep } from './browser.mjs';

const root = resolve(process.argv[2] || 'build-web');
const shots = join(root, 'screens');
rmSync(shots, { recursive: true, force: true });
mkdirSync(shots, { recursive: true });
const { url, send, evaluate, waitFor, close, dialogs } = await openBrowser(root);

async function screenshot(name) {
  const { data } = await send('Page.captureScreenshot', { format: 'png' });
  writeFileSync(join(shots, name + '.png'), Buffer.from(data, 'base64'));
}

// The picture's pixels in game coordinates, read from the canvas.
const region = (x, y, w, h) => `Array.from(document.getElementById('canvas').getContext('2d').getImageData(${x}, ${y}, ${w}, ${h}).data)`;
const brightness = (x, y, w, h) => `(p => { let s = 0; for (let i = 0; i < p.length; i += 4) s += (p[i] + p[i + 1] + p[i + 2]) / 3; return s / (p.length / 4); })(${region(x, y, w, h)})`;
// The yellow pixels of the head-up display's top line as 0s and 1s: the score's digits, whatever scrolls
// behind them. The line is there in play, not on the other screens.
const yellow = `(p => Array.from({ length: p.length / 4 }, (_, i) => +(p[4 * i] > 200 && p[4 * i + 1] > 200 && p[4 * i + 2] < 80)).join(''))(${region(40, 0, 160, 12)})`;
const scoreShown = `((${yellow}.match(/1/g) || []).length > 20)`;
const scoreDigits = () => evaluate(yellow);

async function toPage(x, y) {
  const r = await evaluate(`(r => [r.left, r.top, r.width])(document.getElementById('canvas').getBoundingClientRect())`);
  const scale = r[2] / 240;
  return { x: r[0] + (x + 0.5) * scale, y: r[1] + (y + 0.5) * scale };
}
async function click(x, y) {
  const p = await toPage(x, y);
  for (const type of ['mousePressed', 'mouseReleased'])
    await send('Input.dispatchMouseEvent', { type, ...p, button: 'left', clickCount: 1 });
}
async function touch(points) {
  await send('Input.dispatchTouchEvent', { type: points.length ? 'touchStart' : 'touchEnd', touchPoints: points });
}
async function tap(x, y) {
  await touch([{ ...(await toPage(x, y)), id: 1 }]);
  await sleep(100);
  await touch([]);
}
async function load() {
  await send('Page.navigate', { url });
  await waitFor('the first frame', 'window.Module && Module.firstFrame > 0', 30000);
}
// The menu: its "New Game" bar is bright and the play's yellow score is not there.
async function expectMenu() {
  await waitFor('the menu', `${brightness(50, 80, 140, 16)} > 150`, 20000);
  if (await evaluate(scoreShown))
    throw new Error('the menu shows a score');
}

let failed = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  failed += !ok;
}

try {
  await send('Emulation.setDeviceMetricsOverride', { width: 480, height: 700, deviceScaleFactor: 1, mobile: false });

  // A pad in the browsers' standard layout, whose buttons the test presses.
  await send('Page.addScriptToEvaluateOnNewDocument', { source: `window.testPad = { id: 'test', index: 0,
    connected: true, mapping: 'standard', timestamp: 0, axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
    navigator.getGamepads = () => [window.testPad];` });

  // A desktop: the mouse taps New Game; Space held down (the keyboard repeating it) fires.
  await load();
  await expectMenu();
  await screenshot('menu');
  await click(118, 90);
  check(await waitFor('play', scoreShown, 15000).then(() => true, () => false), 'a click on New Game starts play');
  check(await evaluate(`audio.context.state === 'running' && audio.heard > 1000`), 'sound plays from the first click');
  await sleep(1000);
  const start = await scoreDigits();
  const key = { code: 'Space', key: ' ', windowsVirtualKeyCode: 32 };
  await send('Input.dispatchKeyEvent', { type: 'keyDown', ...key });
  for (let i = 0; i < 120; i++) {
    await sleep(50);
    await send('Input.dispatchKeyEvent', { type: 'keyDown', ...key, autoRepeat: true });
  }
  await screenshot('play');
  await send('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
  const held = await scoreDigits();
  check(held !== start, 'held fire raises the score');

  // A pad's A fires as the keys do.
  await evaluate('testPad.buttons[0].pressed = true');
  await sleep(6000);
  await evaluate('testPad.buttons[0].pressed = false');
  check((await scoreDigits()) !== held, 'a pad\'s A held down fires and scores');

  // The window losing the focus suspends the game: no frames until it comes back.
  const framesAfter = async (event) => {
    await evaluate(`window.dispatchEvent(new Event('${event}'))`);
    await sleep(500);
    const before = await evaluate('Module.frames');
    await sleep(1000);
    return (await evaluate('Module.frames')) - before;
  };
  check((await framesAfter('blur')) === 0 && (await framesAfter('focus')) > 10, 'an unfocused window suspends the game and focus resumes it');

  // A phone held sideways has its controls either side of the picture, upright below it; a finger taps
  // New Game and holds FIRE.
  await send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
  async function phone(width, height) {
    await send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 2, mobile: true });
    await load();
    await expectMenu();
    return evaluate(`[document.getElementById('canvas'), document.getElementById('fire'), document.getElementById('steer')]
      .map(e => e.getBoundingClientRect()).map(r => [r.left, r.top, r.right, r.bottom])`);
  }
  const [side, sideFire, sideSteer] = await phone(844, 390);
  check(sideSteer[2] <= side[0] && sideFire[0] >= side[2] && side[3] - side[1] > 380,
    'sideways, the controls lie either side of a picture that fills the phone\'s height');
  const [picture, fire, steer] = await phone(390, 844);
  check(fire[1] >= picture[3] && steer[1] >= picture[3] && fire[3] <= 844 && picture[2] - picture[0] > 300,
    'the touch controls lie below a picture that fills the phone\'s width');
  await screenshot('touch-menu');
  await tap(118, 90);
  check(await waitFor('play', scoreShown, 15000).then(() => true, () => false), 'a tap on New Game starts play');
  await sleep(1000);
  const before = await scoreDigits();
  const fireAt = { x: (fire[0] + fire[2]) / 2, y: (fire[1] + fire[3]) / 2, id: 2 };
  await touch([fireAt]);
  await sleep(6000);
  await screenshot('touch-play');
  check((await scoreDigits()) !== before, 'a finger on the FIRE control fires and scores');

  // No longer firing nor steering, the ship is worn down in about a minute; then a name goes in.
  await touch([]);
  const nameEntry = `${brightness(40, 280, 60, 16)} > 120 && ${brightness(135, 280, 60, 16)} > 120 && !${scoreShown}`;
  await waitFor('the name entry after game over', nameEntry, 300000);
  await sleep(1500);
  await tap(85, 235);   // Select: the first letter
  await sleep(800);
  await tap(71, 288);   // OK
  await waitFor('the table stored', 'Module.stored > 0', 10000);
  await sleep(2000);
  await screenshot('touch-high-scores');
  const saved = await evaluate(`Array.from(Module.FS.readFile('/data/Skyrend.dat').slice(0, 16)).join()`);
  await load();
  await expectMenu();
  const loaded = await evaluate(`Array.from(Module.FS.readFile('/data/Skyrend.dat').slice(0, 16)).join()`);
  check(saved.startsWith('65,') && loaded === saved, 'a high score entered before a reload is there after it');

  // Two fingers at once: one steering left, one on FIRE.
  await touch([fireAt, { x: steer[0] + 8, y: (steer[1] + steer[3]) / 2, id: 3 }]);
  await sleep(300);
  const heldControls = await evaluate(`Array.from(document.querySelectorAll('#controls .held')).map(e => e.id).sort().join()`);
  await touch([]);
  check(heldControls === 'fire,steer', 'two fingers steer and fire at once');
  check(!dialogs.length, 'no message boxes');
} catch (error) {
  console.error('FAILED: ' + error.message);
  failed++;
  await screenshot('failure').catch(() => {});
} finally {
  await close();
}
console.log(`screenshots in ${shots}`);
process.exit(failed ? 1 : 0);
