// The page around the intro: starts it at once on the canvas, paces it with
// pacing.js, ends it on a key as the desktop program does, plays it again on
// a click or a later key, toggles full screen on a double-click (browsers
// refuse full screen without such a gesture, so it does not start there) and,
// with ?frame=N, computes frame N and holds it. The canvas tells tools what it
// shows: data-frame, the frame's number, and data-state.
'use strict';
(function () {
   const canvas = document.getElementById('screen');
   const note = document.getElementById('note');
   const hint = document.getElementById('hint');
   const context = canvas.getContext('2d', { alpha: false });
   const datapath = '/intro.dat';  // in the module's memory file system
   const maxframe = 100000000;     // the largest ?frame=N: 19 days of the intro, hours to compute
   const modifiers = new Set(['Shift', 'Control', 'Alt', 'AltGraph', 'Meta', 'OS', 'Super',
      'Hyper', 'Fn', 'FnLock', 'CapsLock', 'NumLock', 'ScrollLock', 'Symbol', 'SymbolLock']);

   let intro = null;      // the WebAssembly module
   let started = false;   // whether the module holds a started intro
   let run = 0;           // which play this is; callbacks of an older one stop
   let state = '';        // playing, computing, held, ended, failed

   const say = (text) => { note.textContent = text; };
   const setstate = (s) => { state = s; canvas.dataset.state = s; };
   const fail = (why) => { setstate('failed'); say(`unable to start the intro\n${why}`); };

   function present() {
      const pixels = intro._web_rgba();
      const rgba = new Uint8ClampedArray(intro.HEAPU8.buffer, pixels, canvas.width * canvas.height * 4);
      context.putImageData(new ImageData(rgba, canvas.width, canvas.height), 0, 0);
   }
   function show(frame) {
      present();
      canvas.dataset.frame = frame;
   }

   // The intro from its first picture; false, with the reason on the page, if
   // the data is refused.
   function begin() {
      if (started)
         intro._web_stop();
      const why = intro.ccall('web_start', 'string', ['string'], [datapath]);
      started = !why;  // a refused start has given back what it took
      if (why) {
         fail(why);
         return false;
      }
      say('');
      show(0);
      return true;
   }

   function play() {
      if (!begin())
         return;
      const mine = ++run;
      // the timer starts with the first picture; tools find the moment by this mark
      const origin = performance.now();
      performance.mark('first picture', { startTime: origin });
      const pacer = createPacer(origin, intro._web_framerate());
      setstate('playing');
      const step = (now) => {
         if (mine !== run)
            return;
         if (pacer.frameDue(now))
            show(intro._web_advance(1));
         requestAnimationFrame(step);
      };
      requestAnimationFrame(step);
   }

   // Frame `target`, computed in slices that leave the page responsive.
   function hold(target) {
      if (!begin())
         return;
      const mine = ++run;
      setstate('computing');
      let frame = 0;
      const slice = () => {
         if (mine !== run)
            return;
         const until = performance.now() + 30;
         while (frame < target && performance.now() < until)
            frame = intro._web_advance(Math.min(1000, target - frame));
         if (frame < target) {
            say(`computing frame ${target}: ${frame} done (${Math.floor((100 * frame) / target)}%)`);
            setTimeout(slice, 0);
            return;
         }
         show(frame);
         say('');
         setstate('held');
      };
      slice();
   }

   function end() {
      run++;
      context.fillStyle = '#000';
      context.fillRect(0, 0, canvas.width, canvas.height);
      setstate('ended');
      say('Click, or press a key, to play it again.');
   }

   function onkey(event) {
      if (modifiers.has(event.key) || event.repeat || !intro)
         return;
      if (state === 'ended')
         play();
      else if (state !== 'failed')
         end();
   }

   // ?frame=N: a whole number from 1; anything else is refused on the page.
   function wantedframe() {
      const value = new URLSearchParams(location.search).get('frame');
      if (value === null)
         return 0;
      if (!/^[1-9][0-9]*$/.test(value) || Number(value) > maxframe) {
         setstate('failed');
         say(`frame=${value} is not a frame: ?frame= takes a whole number from 1 to ${maxframe}`);
         return -1;
      }
      return Number(value);
   }

   // The data file: carried in the page itself as base64 (the one-file page,
   // opened from disk, can fetch nothing) or beside it.
   async function databytes() {
      if (typeof introData === 'string')
         return Uint8Array.from(atob(introData), (c) => c.charCodeAt(0));
      const response = await fetch('intro.dat');
      if (!response.ok)
         throw new Error(`intro.dat could not be read (${response.status})`);
      return new Uint8Array(await response.arrayBuffer());
   }

   async function main() {
      context.fillRect(0, 0, canvas.width, canvas.height);
      if (typeof WebAssembly !== 'object')
         return fail('this browser cannot run WebAssembly');
      const target = wantedframe();
      if (target < 0)
         return;
      try {
         const [module, bytes] = await Promise.all([createIntro(), databytes()]);
         intro = module;
         intro.FS.writeFile(datapath, bytes);
         canvas.width = intro._web_width();
         canvas.height = intro._web_height();
      } catch (error) {
         // from file:// a browser fetches nothing: vintara-intro.html is the one to open there
         return fail(`its files could not be loaded (${error.message || error})`);
      }
      if (target)
         hold(target);
      else
         play();
   }

   document.addEventListener('keydown', onkey);
   document.addEventListener('click', () => { if (state === 'ended') play(); });
   document.addEventListener('dblclick', () => {
      const request = document.fullscreenElement ? document.exitFullscreen()
                                                 : document.documentElement.requestFullscreen();
      if (request)
         request.catch(() => {});  // refused: the page plays on in the window
   });
   let hinttimer = 0;
   document.addEventListener('mousemove', () => {
      hint.style.opacity = 1;
      clearTimeout(hinttimer);
      hinttimer = setTimeout(() => { hint.style.opacity = 0; }, 2000);
   });
   main();
})();
