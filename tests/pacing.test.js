// The page's pacing on simulated animation callbacks: displays at 59.94, 60,
// 75, 120 and 144 Hz, timestamps jittered and now and then late, over a
// simulated minute. Frames shown are within one of the smaller of the ticks
// and the callbacks, and never more than the ticks at any moment.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { createPacer, introRate } = require('../web/pacing.js');

// A repeatable random number in [0, 1) (mulberry32).
function random(seed) {
   return () => {
      seed = (seed + 0x6d2b79f5) | 0;
      let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
      t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
      return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
   };
}

// Plays a minute at hz, the first picture shown `phase` of a period before the
// first callback, with timestamps jittered by up to jitter ms either
// way, one callback in `late` (if any) missed, never two in a row (then a
// tick passes that no display could show); counts frames, callbacks and
// ticks, and the worst excess of frames over ticks at any callback.
function play(makepacer, hz, jitter, late = 0, seed = 1, phase = 0) {
   const rnd = random(seed);
   const period = 1000 / hz;
   const first = 1000 - phase * period;
   const pacer = makepacer(first);
   let frames = 0, callbacks = 0, excess = -Infinity, now = 0, missed = false;
   for (let i = 1; now < 60000; i++) {
      missed = !missed && late > 0 && rnd() < 1 / late;
      if (missed)
         continue;  // the next callback comes a period later
      now = first + i * period + (rnd() * 2 - 1) * jitter;
      callbacks++;
      if (pacer.frameDue(now))
         frames++;
      const ticks = Math.floor(((now - first) * introRate) / 1000);
      excess = Math.max(excess, frames - ticks);
   }
   const ticks = Math.floor(((now - first) * introRate) / 1000);
   return { frames, callbacks, ticks, excess };
}

for (const hz of [59.94, 60, 75, 120, 144]) {
   for (const [jitter, late] of [[0, 0], [1.5, 0], [3, 50]]) {
      test(`${hz} Hz, jitter ±${jitter} ms${late ? `, one callback in ${late} missed` : ''}`, () => {
         // phase 0: each tick falls due at a callback, give or take the jitter
         for (const [seed, phase] of [[1, 0], [2, 0.5], [3, 0.9]]) {
            const r = play(createPacer, hz, jitter, late, seed, phase);
            const shown = Math.min(r.ticks, r.callbacks);
            assert.ok(r.excess <= 0, `a tick made two frames: ${JSON.stringify(r)}`);
            assert.ok(r.frames >= shown - 1, `frames lost: ${JSON.stringify(r)}`);
         }
      });
   }
}

test('piled-up ticks make one frame, and one of them is kept for the next callback', () => {
   const pacer = createPacer(0);
   assert.strictEqual(pacer.frameDue(16), false);  // before the first tick
   assert.strictEqual(pacer.frameDue(1000), true);  // 60 ticks: one frame
   assert.strictEqual(pacer.frameDue(1001), true);  // the tick kept back
   assert.strictEqual(pacer.frameDue(1002), false);  // nothing left
   assert.strictEqual(pacer.frameDue(1000 + 1000 / introRate + 0.001), true);  // tick 61
});

test('a count without the kept tick loses frames at 60 Hz with jitter', () => {
   // the check above would pass a pacer that drops every tick but one
   const naive = (origin) => ({ consumed: 0, frameDue(now) {
      const t = Math.floor(((now - origin) * introRate) / 1000);
      return t > this.consumed ? ((this.consumed = t), true) : false;
   } });
   const r = play(naive, 60, 1.5);
   assert.ok(r.frames < Math.min(r.ticks, r.callbacks) - 1, JSON.stringify(r));
});
