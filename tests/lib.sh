# What the whole-program test scripts share: Xvfb, a named check that counts
# passes and failures, and the colour counts of a screenshot.
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/xvfb.sh"

passes=0 failures=0
# check NAME CONDITION: evaluates the condition and says ok or FAIL.
check() {
   if eval "$2"; then echo "ok: $1"; passes=$((passes + 1))
   else echo "FAIL: $1"; failures=$((failures + 1)); fi
}

# Colour counts of a region (WxH+X+Y) of shot.xwd, most frequent first.
counts() { convert shot.xwd -crop "$1" +repage -format %c histogram:info:- | sort -rn; }
# logo.txt holds only black and the logo at rest, mostly the logo.
logo_rows_ok() { [ "$(grep -c . logo.txt)" = 2 ] && head -1 logo.txt | grep -q "#282828"; }
# caption.txt holds the held caption, over a thousand pixels of it.
caption_ok() { [ "$(awk '/#F3F3F3/ { print $1 + 0 }' caption.txt)" -gt 1000 ]; }
