// The browser build's figures in Debian's headless Chromium: the cost of a
// frame, of its palette-to-RGBA conversion and of its canvas upload, each on
// its own and together; live frames a second against the browser's callback
// rate over three runs; and the time from the page's load to its first
// picture and first frame. Prints a Markdown table a part.
//
//    node web.js BUILD-WEB [SECONDS]
'use strict';
const path = require('path');
const { launch, serve, url, notecallbacks } = require('../tests/web/chromium.js');

const site = path.join(process.argv[2], 'site');
const seconds = Number(process.argv[3] || 20);

(async () => {
   const server = await serve(site);
   const browser = await launch();
   try {
      // the page's own module and data, timed in batches: the browser's clock
      // is coarse
      let page = await browser.newPage();
      await page.goto(`${url(server)}index.html?frame=1`);
      await page.waitForFunction(() => document.getElementById('screen').dataset.state === 'held');
      const cost = await page.evaluate(async () => {
         const intro = await createIntro();
         intro.FS.writeFile('/bench.dat', new Uint8Array(await (await fetch('intro.dat')).arrayBuffer()));
         intro.ccall('web_start', 'string', ['string'], ['/bench.dat']);
         const canvas = document.createElement('canvas');
         canvas.width = intro._web_width(), canvas.height = intro._web_height();
         const context = canvas.getContext('2d', { alpha: false });
         const image = (pixels) => new ImageData(new Uint8ClampedArray(intro.HEAPU8.buffer, pixels,
            canvas.width * canvas.height * 4), canvas.width, canvas.height);
         const time = (n, what) => {
            const t0 = performance.now();
            for (let i = 0; i < n; i++)
               what();
            return ((performance.now() - t0) * 1000) / n;
         };
         const frame = time(1, () => intro._web_advance(20000)) / 20000;
         const rgba = time(2000, () => intro._web_rgba());
         const still = image(intro._web_rgba());
         const upload = time(2000, () => context.putImageData(still, 0, 0));
         const together = time(2000, () => {
            intro._web_advance(1);
            context.putImageData(image(intro._web_rgba()), 0, 0);
         });
         return { frame, rgba, upload, together, rate: intro._web_framerate() };
      });
      await page.close();
      console.log('| in Chromium, per frame | µs |\n|---|---|');
      console.log(`| a frame (the intro's own code) | ${cost.frame.toFixed(1)} |`);
      console.log(`| palette to RGBA | ${cost.rgba.toFixed(1)} |`);
      console.log(`| canvas upload (putImageData) | ${cost.upload.toFixed(1)} |`);
      console.log(`| frame + conversion + upload | ${cost.together.toFixed(1)} |\n`);

      console.log('| live run | seconds | frames/s | callbacks/s | ticks | callbacks after the first tick | frames | lost | first picture | frame 1 |');
      console.log('|---|---|---|---|---|---|---|---|---|---|');
      for (let round = 1; round <= 3; round++) {
         page = await browser.newPage();
         await page.addInitScript(notecallbacks);
         await page.goto(`${url(server)}index.html`);
         await page.waitForTimeout(seconds * 1000);
         const [log, t0] = await page.evaluate(() => [window.callbacks,
            performance.getEntriesByName('first picture').pop().startTime]);
         await page.close();
         const [t1, frames] = log[log.length - 1];
         const span = (t1 - t0) / 1000;
         // those before the first tick have nothing to show
         const callbacks = log.filter(([when]) => when - t0 >= 1000 / cost.rate).length;
         const ticks = Math.floor(span * cost.rate);
         const first = log.find(([, f]) => f >= 1)[0];
         console.log(`| ${round} | ${span.toFixed(2)} | ${(frames / span).toFixed(3)} | ` +
                     `${((log.length - 1) / ((t1 - log[0][0]) / 1000)).toFixed(3)} | ${ticks} | ${callbacks} | ${frames} | ` +
                     `${Math.min(ticks, callbacks) - frames} | ${t0.toFixed(0)} ms | ${first.toFixed(0)} ms |`);
      }
   } finally {
      await browser.close();
      server.close();
   }
})();
