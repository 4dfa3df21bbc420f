// Frame pacing for the page: the intro's 60 Hz timer against the browser's
// animation callbacks, whatever the display's rate. The timer starts when the
// first picture is shown; each callback shows one frame if a tick has arrived
// since the last frame. Ticks that piled up make one frame, as in the native
// loop, except that one of them is kept for the next callback: a callback
// that comes a hair before its tick (a 60 Hz display, jittery timestamps)
// still has a frame to show, and no tick ever makes two frames. A plain
// script: the page loads it as it is, node's tests require it.
'use strict';

// A pacer for a timer of `rate` ticks a second (the intro's own, which the
// page asks the WebAssembly module for) started at origin (ms); frameDue(now)
// is called once per animation callback with its timestamp and says whether
// to show the next frame.
function createPacer(origin, rate) {
   let consumed = 0;  // ticks turned into frames, or dropped
   const ticks = (now) => Math.floor(((now - origin) * rate) / 1000);
   return {
      ticks,
      frameDue(now) {
         const arrived = ticks(now);
         if (arrived <= consumed)
            return false;
         consumed = Math.max(consumed + 1, arrived - 1);
         return true;
      },
   };
}

if (typeof module !== 'undefined')
   module.exports = { createPacer };
