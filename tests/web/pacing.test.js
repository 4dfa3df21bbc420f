// The page's pacing on simulated animation callbacks: displays at 59.94, 60,
// 75, 120 and 144 Hz, timestamps jittered and now and then missed, over a
// simulated minute, at the intro's own rate as its WebAssembly module gives
// it. Frames shown are within one of the smaller of the ticks and the
// callbacks, and never more than the ticks at any moment.
'use strict';
const { test, before } = require('node:test');
const assert = require('node:assert');
const path = require('path');
const { createPacer } = require('../../web/pacing.js');
const { loadintro } = require('./chromium.js');

let introRate;  // ticks a second
before(async () => {
   introRate = (await loadintro(path.join(process.env.WEB, 'site')))._web_framerate();
});

// A repeatable random number in [0, 1) (Park and Miller's).
function random(seed) {
   return () => (seed = (seed * 16807) % 2147483647) / 2147483647;
}

// Plays a minute at hz, the first picture shown `phase` of a period before the
// first callback, timestamps jittered by up to jitter ms either way, one
// callback in `late` (if any) missed, never two running (a tick would pass
// that no display could show).
function play(hz, jitter, late, seed, phase) {
   const rnd = random(seed), first = 1000 - (phase * 1000) / hz, pacer = createPacer(first, introRate);
   const ticks = (now) => Math.floor(((now - first) * introRate) / 1000);
   let frames = 0, callbacks = 0, excess = -Infinity, now = 0, missed = false;
   for (let i = 1; now < 60000; i++) {
      missed = !missed && late > 0 && rnd() < 1 / late;
      if (missed)
         continue;
      now = first + (i * 1000) / hz + (rnd() * 2 - 1) * jitter;
      callbacks++;
      frames += pacer.frameDue(now) ? 1 : 0;
      excess = Math.max(excess, frames - ticks(now));
   }
   return { frames, callbacks, ticks: ticks(now), excess };
}

for (const hz of [59.94, 60, 75, 120, 144]) {
   test(`${hz} Hz: no tick makes two frames, none is lost`, () => {
      // jitter and missed callbacks; phase 0: each tick falls due at a callback
      for (const [jitter, late] of [[0, 0], [1.5, 0], [3, 50]]) {
         for (const [seed, phase] of [[1, 0], [2, 0.5], [3, 0.9]]) {
            const r = play(hz, jitter, late, seed, phase), said = JSON.stringify(r);
            assert.ok(r.excess <= 0, `a tick made two frames: ${said}`);
            assert.ok(r.frames >= Math.min(r.ticks, r.callbacks) - 1, `frames lost: ${said}`);
         }
      }
   });
}

test('piled-up ticks make one frame, and one of them is kept for the next callback', () => {
   const pacer = createPacer(0, introRate);
   assert.deepStrictEqual([16, 1000, 1001, 1002, 1000 + 1000 / introRate + 0.001].map(pacer.frameDue),
                          [false, true, true, false, true]);  // none yet, 60, the kept one, none, 61
});
