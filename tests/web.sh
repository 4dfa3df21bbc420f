#!/bin/bash
# The browser build's tests (scripts/web.sh builds it): the page's pacing on
# simulated displays, the WebAssembly frames against the capture tool's, and
# the pages in Debian's Chromium, driven by playwright-core from npm (no
# browser download: it drives /usr/bin/chromium). A screenshot of the page
# playing is left at WORKDIR/page.png.
#
#    web.sh INTRO-CAPTURE BUILD-WEB WORKDIR
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/packages.sh"
need_packages --no-install-recommends chromium
command -v npm >/dev/null || need_packages --no-install-recommends npm
if [ ! -d "$root/node_modules/playwright-core" ]; then
   (cd "$root" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --silent)
fi
capture=$(realpath "$1") web=$(realpath "$2") work=$(realpath -m "$3")
rm -rf "$work" && mkdir -p "$work"
cd "$root/tests"
INTRO_CAPTURE=$capture WEB=$web WORK=$work node --test pacing.test.js web.test.js
