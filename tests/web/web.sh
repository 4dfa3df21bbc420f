#!/bin/bash
# The browser build's tests (scripts/web.sh builds it): the page's pacing on
# simulated displays, the WebAssembly frames against the capture tool's, and
# the pages in Debian's Chromium, driven by playwright-core from npm (no
# browser download: it drives /usr/bin/chromium). A screenshot of the page
# playing is left at WORKDIR/page.png.
#
#    web.sh INTRO-CAPTURE BUILD-WEB WORKDIR
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/shell/packages.sh"
need_browser
capture=$(realpath "$1") web=$(realpath "$2") work=$(realpath -m "$3")
rm -rf "$work" && mkdir -p "$work"
cd "$root/tests/web"
INTRO_CAPTURE=$capture WEB=$web WORK=$work node --test pacing.test.js web.test.js
