// The browser test of the web build: serves the built page, drives Debian's
// chromium headless through playwright-core and checks what a viewer sees.
//   node tests/web/web_test.mjs PAGE_DIR OUT_DIR
// Exit status 0 when every check holds, 1 otherwise. Screenshots go to OUT_DIR;
// their paths and the page's frame-work figures are printed.
import { mkdirSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { inflateSync } from 'node:zlib';
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

// Presentations per second over ms milliseconds.
async function frameRate(page, ms) {
  const before = await page.evaluate(() => window.zolt.presents);
  await page.waitForTimeout(ms);
  return ((await page.evaluate(() => window.zolt.presents)) - before) * 1000 / ms;
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

// Starts the demo (click or tap on the start button, once the program is
// loaded) and resolves with the milliseconds from the click to the first
// animation frame whose canvas shows a lit pixel.
async function startDemo(page, how = (p) => p.click('#start-button')) {
  await page.waitForFunction(() => window.zolt.state === 'waiting', null, { timeout: 30000 });
  await watchFirstPicture(page);
  await how(page);
  return firstPicture(page);
}

async function watchFirstPicture(page) {
  await page.evaluate(() => {
    const runs = window.zolt.runs;
    window.zoltFirstPicture = null;
    const look = () => {
      const zolt = window.zolt;
      if (zolt.runs > runs && zolt.state === 'running') {
        const canvas = document.getElementById('canvas');
        const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
        for (let i = 0; i < data.length; i += 28) {
          if (data[i] > 32 || data[i + 1] > 32 || data[i + 2] > 32) {
            window.zoltFirstPicture = performance.now() - zolt.clickedAt;
            return;
          }
        }
      }
      requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
  });
}

async function firstPicture(page) {
  await page.waitForFunction(() => window.zoltFirstPicture !== null, null, { timeout: 20000 });
  return page.evaluate(() => window.zoltFirstPicture);
}

// The pixels of a PNG screenshot (8 bits per channel, RGB or RGBA, not
// interlaced) as { width, height, at(x, y) -> 0xRRGGBB }.
function decodePng(png) {
  let at = 8;
  let width = 0, height = 0, channels = 4;
  const data = [];
  while (at < png.length) {
    const length = png.readUInt32BE(at);
    const type = png.toString('latin1', at + 4, at + 8);
    const body = png.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = body[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const row = width * channels;
  const pixels = Buffer.alloc(row * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (row + 1)];
    for (let x = 0; x < row; ++x) {
      const value = raw[y * (row + 1) + 1 + x];
      const a = x >= channels ? pixels[y * row + x - channels] : 0;
      const b = y > 0 ? pixels[(y - 1) * row + x] : 0;
      const c = x >= channels && y > 0 ? pixels[(y - 1) * row + x - channels] : 0;
      const p = a + b - c;
      const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predicted = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
      pixels[y * row + x] = (value + predicted) & 255;
    }
  }
  return {
    width, height,
    at: (x, y) => {
      const i = y * row + x * channels;
      return (pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2];
    },
  };
}

// In a screenshot at device pixels: is every demo pixel a uniform factor x
// factor block of device pixels on the canvas's grid? Counts the blocks that
// are not, and (so that a flat picture proves nothing) the neighbouring blocks
// that differ.
async function pixelBlocks(page) {
  const box = await page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, ratio: window.devicePixelRatio };
  });
  const left = box.left * box.ratio, top = box.top * box.ratio, side = box.width * box.ratio;
  // Layout places boxes at 1/64 CSS pixel, so the box is on device pixels within that.
  const aligned = [left, top, side].every((v) => Math.abs(v - Math.round(v)) < 0.05) && Math.round(side) % 256 === 0;
  if (!aligned) return { aligned, box };
  const factor = Math.round(side) / 256;
  const image = decodePng(await page.screenshot());
  let uneven = 0, edges = 0;
  for (let by = 0; by < 256; ++by) {
    for (let bx = 0; bx < 256; ++bx) {
      const x0 = Math.round(left) + bx * factor, y0 = Math.round(top) + by * factor;
      const colour = image.at(x0, y0);
      let even = true;
      for (let dy = 0; dy < factor && even; ++dy) {
        for (let dx = 0; dx < factor; ++dx) {
          if (image.at(x0 + dx, y0 + dy) !== colour) { even = false; break; }
        }
      }
      if (!even) uneven += 1;
      if (bx > 0 && image.at(x0 - 1, y0) !== colour) edges += 1;
    }
  }
  return { aligned, box, factor, uneven, edges };
}

// Problems the page reports: console errors, uncaught errors, failed requests.
function watchProblems(page) {
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console error: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('requestfailed', (request) => problems.push(`request failed: ${request.url()}`));
  return problems;
}

const { server, url } = await serve(pageDir);
let browser;
try {
  browser = await chromium.launch({ executablePath: '/usr/bin/chromium', headless: true, args: browserArgs });

  // ---- The demo on a desktop at 125 % display scaling ----
  {
    const context = await browser.newContext({ viewport: { width: 800, height: 700 }, deviceScaleFactor: 1.25 });
    const page = await context.newPage();
    const problems = watchProblems(page);
    await page.goto(url);
    await shot(page, 'web-1-start.png');
    check(await page.isVisible('#start-button'), 'the page opens with the click-to-start screen');
    await page.waitForFunction(() => window.zolt.state !== 'loading', null, { timeout: 30000 });
    check(await page.evaluate(() => window.zolt.state === 'waiting' && !document.getElementById('start-button').disabled),
      'the program is fetched and compiled before the click');
    await page.evaluate(() => { window.notReloaded = true; });

    const first = await startDemo(page);
    console.log(`first picture ${first.toFixed(0)} ms after the click`);
    check(first <= 500, `a picture is on screen within 0.5 s of the click (${first.toFixed(0)} ms)`);
    const focused = await page.evaluate(() => document.activeElement && document.activeElement.id);
    check(focused === 'canvas', `the canvas has the keyboard focus (${focused})`);
    const audio = await page.evaluate(() => window.zolt.audioContexts.map((c) => c.state));
    check(audio.length === 1 && audio[0] === 'running', `the sound plays after the click (audio: ${audio.join(',') || 'none'})`);

    // The scroll part, past its opening fade: sharp equal blocks, frame rate at 25.
    await page.waitForTimeout(1000);
    const blocks = await pixelBlocks(page);
    check(blocks.aligned && blocks.factor === 2 && blocks.uneven === 0 && blocks.edges > 50,
      `at 125 % scaling every demo pixel is an equal block of device pixels (${JSON.stringify(blocks)})`);
    const scroll = await sampleFrames(page, 8, 120);
    check(scroll.distinct >= 6, `the canvas changes from frame to frame (${scroll.distinct} of 8 samples differ)`);
    check(scroll.lit > 0.02, `the first part shows a picture (lit share ${scroll.lit.toFixed(3)})`);
    const work25 = frameWork(page, 5000);
    const rate25 = await frameRate(page, 5000);
    const scrollWork = await work25;
    check(rate25 >= 23, `at 25 frames per second the page shows at least 23 (${rate25.toFixed(1)})`);
    await shot(page, 'web-2-scroll.png');

    // Tab keeps its meaning while the demo runs; Space, wherever the focus
    // is, goes to the demo: the sine lines.
    await page.keyboard.press('Tab');
    const tabbed = await page.evaluate(() => document.activeElement && document.activeElement.id);
    check(tabbed !== 'canvas', `Tab moves the focus while the demo runs (to ${tabbed})`);
    await press(page, 'Space');
    await page.waitForTimeout(2000);
    const lines = await sampleFrames(page, 8, 120);
    await shot(page, 'web-3-sine-lines.png');
    const changed = difference(scroll, lines);
    console.log(`scroll part: lit ${scroll.lit.toFixed(3)}, hues ${scroll.hues.map((h) => h.toFixed(3)).join(' ')}`);
    console.log(`sine lines:  lit ${lines.lit.toFixed(3)}, hues ${lines.hues.map((h) => h.toFixed(3)).join(' ')}`);
    check(changed > 0.15, `Space changes the part: the picture changes character (difference ${changed.toFixed(3)})`);
    check(lines.distinct >= 6, `the next part animates (${lines.distinct} of 8 samples differ)`);

    // Space once more: the star field, at 50 frames per second (6), then back (5).
    await press(page, 'Space');
    await page.waitForTimeout(1000);
    const stars25 = await frameWork(page, 2000);
    await press(page, 'Digit6');
    await page.waitForTimeout(500);
    const work50 = frameWork(page, 5000);
    const rate50 = await frameRate(page, 5000);
    const stars50 = await work50;
    check(rate50 >= 45, `at 50 frames per second the page shows at least 45 (${rate50.toFixed(1)})`);
    await press(page, 'Digit5');
    await shot(page, 'web-4-stars.png');
    console.log('frame work per frame in the page (mean; no sleep):');
    console.log(describeWork('Part/Scroll', scrollWork));
    console.log(describeWork('Part/Stars', stars25));
    console.log(describeWork('Stars at 50', stars50));

    // q: fade out, end, message; then the keys are the page's again.
    await press(page, 'q');
    await page.waitForFunction(() => window.zolt.state !== 'running', null, { timeout: 10000 });
    const end = await page.evaluate(() => ({ state: window.zolt.state, status: window.zolt.exitStatus }));
    check(end.state === 'ended' && end.status === 0, `q ends the program with status 0 (${end.state}, ${end.status})`);
    const last = await page.evaluate(canvasMeasure);
    check(last.lit === 0 && last.brightness < 0.01, `the canvas has faded to black (lit ${last.lit}, brightness ${last.brightness.toFixed(4)})`);
    const message = (await page.textContent('#end')) || '';
    check(await page.isVisible('#end') && /ended/.test(message) && /again/i.test(message),
      `the end message is shown: "${message.replace(/\s+/g, ' ').trim()}"`);
    await page.waitForTimeout(300);
    const closed = await page.evaluate(() => window.zolt.audioContexts.map((c) => c.state));
    check(closed.every((s) => s === 'closed'), `the sound has stopped (audio: ${closed.join(',')})`);
    await shot(page, 'web-5-ended.png');
    const focusOf = () => page.evaluate(() => document.activeElement && (document.activeElement.id || document.activeElement.textContent));
    const before = await focusOf();
    await page.keyboard.press('Tab');
    const after = await focusOf();
    check(before === 'again' && after !== before, `Tab moves the focus on the end screen (from ${before} to ${after})`);
    await page.keyboard.press('Shift+Tab');
    await watchFirstPicture(page);
    await page.keyboard.press('Enter');
    const again = await firstPicture(page);
    const rerun = await page.evaluate(() => ({ runs: window.zolt.runs, state: window.zolt.state, same: window.notReloaded === true }));
    check(rerun.runs === 2 && rerun.state === 'running' && rerun.same && again <= 500,
      `Enter on "Start again" starts a new run in the same page (${JSON.stringify(rerun)}, picture after ${again.toFixed(0)} ms)`);
    await press(page, 'Escape');
    await page.waitForFunction(() => window.zolt.state !== 'running', null, { timeout: 10000 });
    check(await page.evaluate(() => window.zolt.state === 'ended' && window.zolt.exitStatus === 0), 'Escape ends the second run');

    for (const problem of problems) console.log(problem);
    check(problems.length === 0, `no console errors (${problems.length})`);
    await context.close();
  }

  // ---- What the page says when it cannot run ----
  {
    const context = await browser.newContext();
    const cases = [
      ['opened from disk', pathToFileURL(join(resolve(pageDir), 'index.html')).href, null, /web server/, /scripts\/run-web/],
      ['the .wasm is missing', url, (page) => page.route('**/*.wasm', (r) => r.fulfill({ status: 404, body: 'not found' })),
        /missing/, /web-build/],
      ['the .wasm is broken', url, (page) => page.route('**/*.wasm',
        (r) => r.fulfill({ status: 200, contentType: 'application/wasm', body: Buffer.from('\0asm broken') })), /damaged/, /web-build/],
      ['no WebAssembly SIMD', url, (page) => page.addInitScript(() => { WebAssembly.validate = () => false; }), /SIMD/, /Firefox/],
    ];
    for (const [what, address, prepare, first, second] of cases) {
      const page = await context.newPage();
      if (prepare) await prepare(page);
      await page.goto(address);
      await page.waitForFunction(() => window.zolt.state === 'failed', null, { timeout: 10000 }).catch(() => {});
      const shown = await page.evaluate(() => ({ state: window.zolt.state, text: window.zolt.message,
        button: !document.getElementById('start-button').hidden }));
      check(shown.state === 'failed' && !shown.button && first.test(shown.text) && second.test(shown.text),
        `${what}: the page says so in plain words: "${shown.text}"`);
      await page.close();
    }
    await context.close();
    const noScript = await browser.newContext({ javaScriptEnabled: false });
    const page = await noScript.newPage();
    await page.goto(url);
    const text = (await page.innerText('#stage')).replace(/\s+/g, ' ').trim();
    check(/JavaScript, which is switched off/.test(text) && /Allow JavaScript/.test(text), `with JavaScript off the page says so: "${text}"`);
    await noScript.close();
  }

  // ---- A phone: 390 x 844, touch ----
  {
    const context = await browser.newContext({ viewport: { width: 390, height: 844 }, deviceScaleFactor: 3,
      isMobile: true, hasTouch: true });
    const page = await context.newPage();
    const problems = watchProblems(page);
    await page.goto(url);
    await startDemo(page, (p) => p.tap('#start-button'));
    const layout = await page.evaluate(() => {
      const width = window.innerWidth, height = window.innerHeight;
      const outside = [...document.querySelectorAll('body *')].filter((e) => {
        const r = e.getBoundingClientRect();
        return r.width > 0 && (!e.checkVisibility || e.checkVisibility()) && (r.left < -0.5 || r.right > width + 0.5 || r.top < -0.5 || r.bottom > height + 0.5);
      }).map((e) => e.id || e.tagName);
      return { outside, scrollWidth: document.documentElement.scrollWidth, width,
        canvas: Math.round(document.getElementById('canvas').getBoundingClientRect().width * window.devicePixelRatio) };
    });
    await shot(page, 'web-6-phone.png');
    check(layout.outside.length === 0 && layout.scrollWidth <= layout.width && layout.canvas === 1024,
      `the whole page fits 390 x 844 without horizontal overflow, picture 1024 device pixels (${JSON.stringify(layout)})`);
    await page.waitForTimeout(1000);
    const before = await sampleFrames(page, 6, 120);
    await page.tap('#canvas');
    await page.waitForTimeout(2000);
    const after = await sampleFrames(page, 6, 120);
    const tapped = difference(before, after);
    check(tapped > 0.15, `a tap on the picture changes the part (difference ${tapped.toFixed(3)})`);
    for (const problem of problems) console.log(problem);
    check(problems.length === 0, `no console errors on the phone (${problems.length})`);
    await context.close();
  }
} catch (error) {
  check(false, `the browser run: ${error.message}`);
} finally {
  if (browser) await browser.close();
  server.close();
}
console.log(failures.length === 0 ? 'browser test passed' : `browser test FAILED: ${failures.length} check(s)`);
process.exit(failures.length === 0 ? 0 : 1);
