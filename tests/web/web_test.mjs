// The browser test of the web build: serves the built page, drives Debian's
// chromium headless through playwright-core and checks what a viewer sees.
//   node tests/web/web_test.mjs PAGE_DIR OUT_DIR
// Exit status 0 when every check holds, 1 otherwise. Screenshots go to OUT_DIR;
// their paths and the page's frame-work figures are printed.
import { mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { chromium } from 'playwright-core';

import { serve } from '../../web/serve.mjs';

const [pageDir, outArg] = process.argv.slice(2);
if (!pageDir || !outArg) {
  console.error('usage: node tests/web/web_test.mjs PAGE_DIR OUT_DIR');
  process.exit(2);
}
const outDir = resolve(outArg);
mkdirSync(outDir, { recursive: true });

// Debian's chromium, never a browser of playwright's own; the flags keep it
// from reaching out to the network, which the build machines do not have.
const browserArgs = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

const failures = [];
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
}

// Statistics of the canvas as the page shows it: a hash of the pixels, the
// share of lit pixels (any channel above 32), the mean brightness and an
// 8-bin hue histogram of the lit pixels (shares of all pixels).
function canvasMeasure() {
  const canvas = document.getElementById('canvas');
  const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  let hash = 2166136261;
  let lit = 0;
  let brightness = 0;
  const hues = new Array(8).fill(0);
  const pixels = data.length / 4;
  for (let i = 0; i < data.length; i += 4) {
    const r = data[i], g = data[i + 1], b = data[i + 2];
    hash = Math.imul(hash ^ (r | (g << 8) | (b << 16)), 16777619) >>> 0;
    const max = Math.max(r, g, b), min = Math.min(r, g, b);
    brightness += max;
    if (max <= 32) continue;
    lit += 1;
    let hue = 0;
    if (max !== min) {
      const d = max - min;
      hue = max === r ? ((g - b) / d + 6) % 6 : max === g ? (b - r) / d + 2 : (r - g) / d + 4;
    }
    hues[Math.min(7, Math.floor(hue / 6 * 8))] += 1;
  }
  return { hash, lit: lit / pixels, brightness: brightness / pixels / 255, hues: hues.map((h) => h / pixels) };
}

// Averages of the measure over several frames a little apart.
async function sampleFrames(page, count, gapMs) {
  const frames = [];
  for (let i = 0; i < count; ++i) {
    frames.push(await page.evaluate(canvasMeasure));
    await page.waitForTimeout(gapMs);
  }
  const mean = (f) => frames.reduce((sum, x) => sum + f(x), 0) / frames.length;
  return {
    frames,
    lit: mean((x) => x.lit),
    brightness: mean((x) => x.brightness),
    hues: [0, 1, 2, 3, 4, 5, 6, 7].map((k) => mean((x) => x.hues[k])),
    distinct: new Set(frames.map((x) => x.hash)).size,
  };
}

// How different two parts look: the L1 distance of their hue histograms plus
// the difference of their lit shares.
function difference(a, b) {
  return a.hues.reduce((sum, h, k) => sum + Math.abs(h - b.hues[k]), 0) + Math.abs(a.lit - b.lit);
}

function median(values) {
  const sorted = [...values].sort((x, y) => x - y);
  return sorted.length ? sorted[Math.floor(sorted.length / 2)] : NaN;
}

// The page's frame-work figures gathered over ms milliseconds: per stretch of
// work between two yields to the browser, the whole (drawing, frame tail and
// presenting, no sleep) and the part without presenting. Means, since the
// browser's clock has a resolution of 0.1 ms.
async function frameWork(page, ms) {
  const before = await page.evaluate(() => window.zolt.frameWork.length);
  await page.waitForTimeout(ms);
  const all = await page.evaluate(() => window.zolt.frameWork.slice());
  const recent = all.slice(Math.min(before, all.length));
  const mean = (f) => recent.reduce((sum, x) => sum + f(x), 0) / Math.max(1, recent.length);
  return {
    count: recent.length,
    median: median(recent.map((x) => x[0])),
    whole: mean((x) => x[0]),
    present: mean((x) => x[1]),
    drawing: mean((x) => x[0] - x[1]),
  };
}

function describeWork(name, work) {
  return `  ${name.padEnd(12)} whole ${work.whole.toFixed(3)} ms (median ${work.median.toFixed(2)}), ` +
    `presenting ${work.present.toFixed(3)} ms, without presenting ${work.drawing.toFixed(3)} ms, over ${work.count} frames`;
}

// The demo reads the keyboard once per frame and a key released before that
// read counts as no key (as on the desktop): hold it for a few frames.
async function press(page, key) {
  await page.keyboard.down(key);
  await page.waitForTimeout(200);
  await page.keyboard.up(key);
}

async function shot(page, name) {
  const path = join(outDir, name);
  await page.screenshot({ path });
  console.log(`screenshot: ${path}`);
}

const { server, url } = await serve(pageDir);
const profile = mkdtempSync(join(tmpdir(), 'zolt-web-test-'));
let context;
try {
  context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: browserArgs,
    viewport: { width: 800, height: 700 },
  });
  const page = context.pages()[0] || (await context.newPage());
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console error: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('requestfailed', (request) => problems.push(`request failed: ${request.url()}`));

  await page.goto(url);
  await shot(page, 'web-1-start.png');
  check(await page.isVisible('#start-button'), 'the page opens with the click-to-start screen');

  await page.click('#start-button');
  await page.waitForFunction(() => window.zolt.frameWork.length > 25, null, { timeout: 20000 });
  const shown = await page.evaluate(() => document.getElementById('canvas').getBoundingClientRect().width);
  check(shown === 512, `the canvas is scaled by the largest whole factor that fits (512 pixels wide in 800 x 700, got ${shown})`);
  const focused = await page.evaluate(() => document.activeElement && document.activeElement.id);
  check(focused === 'canvas', `the canvas has the keyboard focus (${focused})`);
  const audio = await page.evaluate(() => window.zolt.audioContexts.map((c) => c.state));
  check(audio.length === 1 && audio[0] === 'running', `the sound plays after the click (audio: ${audio.join(',') || 'none'})`);

  // The scroll part, past its opening fade.
  await page.waitForTimeout(1500);
  const scroll = await sampleFrames(page, 8, 120);
  check(scroll.distinct >= 6, `the canvas changes from frame to frame (${scroll.distinct} of 8 samples differ)`);
  check(scroll.lit > 0.02, `the first part shows a picture (lit share ${scroll.lit.toFixed(3)})`);
  const scrollWork = await frameWork(page, 3000);
  await shot(page, 'web-2-scroll.png');

  // Space: the sine lines.
  await press(page, 'Space');
  await page.waitForTimeout(2500);
  const lines = await sampleFrames(page, 8, 120);
  await shot(page, 'web-3-sine-lines.png');
  const changed = difference(scroll, lines);
  console.log(`scroll part: lit ${scroll.lit.toFixed(3)}, hues ${scroll.hues.map((h) => h.toFixed(3)).join(' ')}`);
  console.log(`sine lines:  lit ${lines.lit.toFixed(3)}, hues ${lines.hues.map((h) => h.toFixed(3)).join(' ')}`);
  check(changed > 0.15, `Space changes the part: the picture changes character (difference ${changed.toFixed(3)})`);
  check(lines.distinct >= 6, `the next part animates (${lines.distinct} of 8 samples differ)`);

  // Space once more: the star field, whose frame cost docs/performance.md compares with native.
  await press(page, 'Space');
  await page.waitForTimeout(2000);
  const starsWork = await frameWork(page, 3000);
  const stars = await sampleFrames(page, 4, 120);
  check(difference(lines, stars) > 0.05 || stars.distinct >= 3, 'the star field runs');
  await shot(page, 'web-4-stars.png');
  console.log('frame work per frame in the page (mean; no sleep):');
  console.log(describeWork('Part/Scroll', scrollWork));
  console.log(describeWork('Part/Stars', starsWork));
  check(starsWork.count > 40, `the page keeps its frame rate (${starsWork.count} frames in 3 s, 25 per second asked)`);

  // q: fade out, end, message.
  await press(page, 'q');
  await page.waitForFunction(() => window.zolt.state !== 'running', null, { timeout: 10000 });
  const end = await page.evaluate(() => ({ state: window.zolt.state, status: window.zolt.exitStatus }));
  check(end.state === 'ended' && end.status === 0, `q ends the program with status 0 (${end.state}, ${end.status})`);
  const last = await page.evaluate(canvasMeasure);
  check(last.lit === 0 && last.brightness < 0.01, `the canvas has faded to black (lit ${last.lit}, brightness ${last.brightness.toFixed(4)})`);
  const message = (await page.textContent('#end')) || '';
  check(await page.isVisible('#end') && /ended/.test(message) && /reload|again/i.test(message),
    `the end message is shown: "${message.replace(/\s+/g, ' ').trim()}"`);
  await page.waitForTimeout(300);
  const closed = await page.evaluate(() => window.zolt.audioContexts.map((c) => c.state));
  check(closed.every((s) => s === 'closed'), `the sound has stopped (audio: ${closed.join(',')})`);
  await shot(page, 'web-5-ended.png');

  for (const problem of problems) console.log(problem);
  check(problems.length === 0, `no console errors (${problems.length})`);
} catch (error) {
  check(false, `the browser run: ${error.message}`);
} finally {
  if (context) await context.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
}
console.log(failures.length === 0 ? 'browser test passed' : `browser test FAILED: ${failures.length} check(s)`);
process.exit(failures.length === 0 ? 0 : 1);
