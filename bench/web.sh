#!/bin/bash
# The browser build's figures: the sizes of the site's files and of the
# one-file page, raw and gzip -9; the native headless frame, from the capture
# tool; then, in headless Chromium (bench/web.js), a frame, its conversion and
# upload, three live runs and the page's load. Run it on an idle machine.
#
#    bash bench/web.sh [SECONDS]      (default 20 seconds a live run)
set -eu
cd "$(dirname "$0")/.."
bash scripts/web.sh >/dev/null
. shell/packages.sh
need_browser
cmake --build build --parallel 2 --target intro-capture >/dev/null

echo "| file | bytes | gzip -9 |"
echo "|---|---|---|"
total=0 gztotal=0
for file in build-web/site/* build-web/vintara-intro.html; do
   raw=$(stat -c %s "$file") gz=$(gzip -9c "$file" | wc -c)
   echo "| ${file#build-web/} | $raw | $gz |"
   case $file in build-web/site/*) total=$((total + raw)) gztotal=$((gztotal + gz)) ;; esac
done
echo "| the site, summed | $total | $gztotal |"
echo

build/intro-capture --data build/intro.dat --to 100000 2>&1 >/dev/null |
   awk '/frames\/s/ { printf "native headless frame (intro-capture, memory only): %.1f µs\n\n", 1e6 / $(NF-1) }'
node bench/web.js build-web "${1:-20}"
