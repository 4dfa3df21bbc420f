// The browser build. Without a browser: the WebAssembly frames hash the same
// as intro-capture's, frame for frame. In Debian's Chromium: ?frame=N shows
// exactly the capture tool's PNG of frame N, bad values and a refused data
// file are said on the page; the one-file page, opened from disk, keeps to
// the intro's timer, a key ends it and a double-click toggles full screen.
//
//    INTRO_CAPTURE=... WEB=build-web WORK=... node --test web.test.js
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { execFileSync, spawnSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { loadintro, launch, serve, url: address, notecallbacks } = require('./chromium.js');

const site = path.join(process.env.WEB, 'site');
const work = process.env.WORK;
const data = path.join(site, 'intro.dat');
const tool = process.env.INTRO_CAPTURE;
const capture = (...args) => execFileSync(tool, args, { stdio: 'pipe' });

test('the WebAssembly frames 1..7000 hash as intro-capture\'s', async () => {
   const intro = await loadintro(site);
   intro.FS.writeFile('/intro.dat', fs.readFileSync(data));
   assert.strictEqual(intro.ccall('web_start', 'string', ['string'], ['/intro.dat']), '');
   const native = capture('--data', data, '--to', '7000', '--hash').toString().trim().split('\n');
   for (let f = 1; f <= 7000; f++) {
      const line = `${intro._web_advance(1)} ${intro.ccall('web_hash', 'string', [], [])}`;
      assert.strictEqual(line, native[f - 1], `frame ${f}`);
   }
});

test('in Chromium', async (t) => {
   // /refused/ is the same site with a cut data file
   const cut = fs.readFileSync(data).subarray(0, 3000);
   const server = await serve(site, { refused: (name, bytes) => (name === 'intro.dat' ? cut : bytes) });
   const url = address(server);
   const browser = await launch();
   t.after(async () => { await browser.close(); server.close(); });
   const open = async (where, script) => {
      const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
      if (script)
         await page.addInitScript(script);
      await page.goto(where);
      return page;
   };
   const canvas = (page) => page.evaluate(() => {
      const c = document.getElementById('screen');
      return { frame: Number(c.dataset.frame), state: c.dataset.state,
               note: document.getElementById('note').textContent };
   });
   const pixels = async (page) => Uint8Array.from(await page.evaluate(() => Array.from(
      document.getElementById('screen').getContext('2d').getImageData(0, 0, 640, 480).data)));
   const until = (page, test, arg) => page.waitForFunction(test, arg, { timeout: 60000 });
   const state = (page, s) => until(page, (s) => document.getElementById('screen').dataset.state === s, s);
   const frame = (page, n) => until(page, (n) => Number(document.getElementById('screen').dataset.frame) >= n, n);

   await t.test('?frame=N is the capture tool\'s frame N, opaque', async () => {
      // the first frame, a caption wipe, the last frame of each scroller's first pass
      for (const n of [1, 331, 3753, 6241]) {
         capture('--data', data, '--from', n, '--to', n, '--frames', work);
         const png = path.join(work, `frame-${String(n).padStart(6, '0')}.png`);
         const page = await open(`${url}index.html?frame=${n}`);
         await state(page, 'held');
         assert.strictEqual((await canvas(page)).frame, n);
         const rgba = await pixels(page);
         assert.ok(rgba.every((v, i) => i % 4 !== 3 || v === 255), 'opaque');
         assert.ok(Buffer.from(rgba.filter((_, i) => i % 4 !== 3)).equals(execFileSync('convert', [png, 'rgb:-'])),
                   `frame ${n} differs from the capture tool's`);
         await page.close();
      }
   });

   await t.test('?frame= takes whole numbers from 1 to 100000000, and shows its progress', async () => {
      for (const bad of ['0', '-3', '1.5', 'x', '', '07', '100000001']) {
         const page = await open(`${url}index.html?frame=${encodeURIComponent(bad)}`);
         await state(page, 'failed');
         assert.match((await canvas(page)).note, /is not a frame: \?frame= takes a whole number from 1/);
         await page.close();
      }
      const page = await open(`${url}index.html?frame=100000000`);
      await until(page, () => /computing frame 100000000: [1-9]/.test(document.getElementById('note').textContent));
      assert.strictEqual((await canvas(page)).state, 'computing');
      await page.keyboard.press('x');
      assert.strictEqual((await canvas(page)).state, 'ended');
      await page.close();
   });

   await t.test('what cannot run says why, as the program does', async () => {
      fs.writeFileSync(path.join(work, 'cut.dat'), cut);
      const refused = spawnSync(tool, ['--data', path.join(work, 'cut.dat'), '--to', '1']);
      assert.strictEqual(refused.status, 2, 'the capture tool refuses the cut data file');
      const why = refused.stderr.toString().trim().replace(/^intro-capture: .*?cut\.dat: /, '');
      for (const [where, script, note] of [[`${url}refused/index.html`, null, why],
         [`${url}index.html`, () => { delete window.WebAssembly; }, 'this browser cannot run WebAssembly']]) {
         const page = await open(where, script);
         await state(page, 'failed');
         assert.strictEqual((await canvas(page)).note, `unable to start the intro\n${note}`);
         await page.close();
      }
   });

   await t.test('live, the one-file page from disk, alone in its folder: never a frame ahead of the timer; a key ends it', async () => {
      const alone = fs.mkdtempSync(path.join(work, 'alone-'));
      fs.copyFileSync(path.join(process.env.WEB, 'vintara-intro.html'), path.join(alone, 'intro.html'));
      const page = await open(`file://${alone}/intro.html`, notecallbacks);
      await state(page, 'playing');
      await page.keyboard.press('Shift');  // a modifier alone does not end it
      await page.waitForTimeout(5000);
      await page.screenshot({ path: path.join(work, 'page.png') });
      const [log, t0] = await page.evaluate(() => [window.callbacks,
         performance.getEntriesByName('first picture').pop().startTime]);
      const rate = (await loadintro(site))._web_framerate();
      const ticks = (now) => Math.max(0, Math.floor(((now - t0) * rate) / 1000));
      // a callback's time may come before the first picture's, as a frame's start
      assert.deepStrictEqual(log.filter(([now, frame]) => frame > ticks(now)), [], 'frames ahead of the timer');
      assert.ok(log[log.length - 1][1] > 0, 'it plays');

      await page.keyboard.down('b');
      const ended = await canvas(page);
      assert.strictEqual(ended.state, 'ended');
      await page.keyboard.down('b');  // its repeat
      await page.waitForTimeout(500);
      assert.deepStrictEqual(await canvas(page), ended, 'nothing follows the key');
      assert.match(ended.note, /Click, or press a key, to play it again/);
      assert.ok((await pixels(page)).every((v, i) => v === (i % 4 === 3 ? 255 : 0)), 'black');
      await page.keyboard.up('b');
      await page.keyboard.press('b');
      await frame(page, 10);
      assert.strictEqual((await canvas(page)).state, 'playing');
      await page.keyboard.press('Escape');
      await page.mouse.click(5, 5);
      assert.strictEqual((await canvas(page)).state, 'playing', 'a click plays it again');
      await page.dblclick('#screen');  // full screen and back
      await until(page, () => document.fullscreenElement);
      await page.dblclick('#screen');
      await until(page, () => !document.fullscreenElement);

      // the largest 4:3 box in the window, centred
      await page.setViewportSize({ width: 1000, height: 500 });
      const box = await page.evaluate(() => document.getElementById('screen').getBoundingClientRect().toJSON());
      assert.deepStrictEqual([box.x, box.y, box.width, box.height].map(Math.round), [167, 0, 667, 500]);
      await page.close();
   });
});
