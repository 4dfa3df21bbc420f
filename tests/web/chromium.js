// What the browser tests and benchmarks share: the intro's WebAssembly module
// under node, Debian's Chromium through playwright-core, and the site served
// over HTTP.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const { chromium } = require('playwright-core');

// The module of the site scripts/web.sh built, started under node: a promise.
// Node's fetch cannot read intro.wasm by path, so it is handed the bytes.
const loadintro = (site) => require(path.resolve(site, 'intro.js'))(
   { wasmBinary: fs.readFileSync(path.join(site, 'intro.wasm')) });

// As root, with no display, and nothing fetched from the network by itself.
const launch = () => chromium.launch({
   executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
   args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
          '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

// Serves the site's files by name on a free port; replace maps a path's first
// part, /NAME/, to a function that may swap a file's bytes. Resolves to the
// server; its URL is url(server).
function serve(site, replace = {}) {
   const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
   const server = http.createServer((request, response) => {
      const pathname = new URL(request.url, 'http://host').pathname;
      const name = path.basename(pathname) || 'index.html';
      const file = path.join(site, name);
      if (!fs.existsSync(file))
         return response.writeHead(404).end();
      const swap = replace[pathname.split('/')[1]];
      const bytes = fs.readFileSync(file);
      response.writeHead(200, { 'content-type': types[path.extname(name)] || 'application/octet-stream' });
      response.end(swap ? swap(name, bytes) : bytes);
   });
   return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}
const url = (server) => `http://127.0.0.1:${server.address().port}/`;

// An init script that notes, in window.callbacks, each animation callback's
// time and the frame the canvas shows after it.
function notecallbacks() {
   window.callbacks = [];
   const request = window.requestAnimationFrame.bind(window);
   window.requestAnimationFrame = (callback) => request((now) => {
      callback(now);
      window.callbacks.push([now, Number(document.getElementById('screen').dataset.frame)]);
   });
}

module.exports = { loadintro, launch, serve, url, notecallbacks };
