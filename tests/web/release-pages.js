// The release's web pages play in Debian's Chromium: the unpacked site served
// over HTTP and the one-file page opened from disk each reach frame 60 while
// playing, with the version in the title. Prints what it saw and exits 1 on
// the first page that does not.
//
//    node release-pages.js SITE-DIR ONE-FILE.html VERSION
'use strict';
const path = require('path');
const { launch, serve, url } = require('./chromium.js');

const [site, onefile, version] = process.argv.slice(2);

async function plays(browser, address) {
   const page = await browser.newPage();
   await page.goto(address);
   await page.waitForFunction(() => {
      const screen = document.getElementById('screen');
      return screen.dataset.state === 'playing' && Number(screen.dataset.frame) >= 60;
   }, null, { timeout: 30000 });
   const title = await page.title();
   if (!title.endsWith(`version ${version}`))
      throw new Error(`${address}: the title "${title}" does not carry version ${version}`);
   console.log(`${address}: playing, "${title}"`);
}

(async () => {
   const server = await serve(site);
   const browser = await launch();
   try {
      await plays(browser, url(server));
      await plays(browser, `file://${path.resolve(onefile)}`);
   } finally {
      await browser.close();
      server.close();
   }
})().catch((error) => { console.error(error.message); process.exit(1); });
