# What the tests of the Windows intro under Wine share, sourced after lib.sh
# from the working folder: a Wine prefix of their own there, made on a display
# of the size asked, a way to start a program in it (await_exit in lib.sh waits
# for it), and the clean-up of the prefix's server, its display and the prefix.

# Without the overrides Wine offers to download Mono and Gecko, and a crash
# waits in the debugger instead of ending the program.
export WINEPREFIX=$PWD/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe="
xvfb=

# Ends this prefix's Wine server and all it runs, before the display changes:
# a server stays bound to the display it started on.
stop_wine() { timeout 30 wineserver -k 2>/dev/null; timeout 30 wineserver -w 2>/dev/null; }
stop_xvfb() { [ -z "$xvfb" ] || { kill $xvfb; wait $xvfb; xvfb=; } 2>/dev/null; }
trap 'stop_wine; stop_xvfb; rm -rf "$WINEPREFIX"' EXIT

# Starts Xvfb with the screen given and makes the prefix on it.
start_wine() { start_xvfb "$1" && timeout 120 wineboot -i >wineboot.log 2>&1; }
# Starts a program under Wine in the background, with a time limit; $pid is
# the limit's, which passes on the program's status.
launch() { timeout 120 wine "$1" >"$2.out" 2>"$2.err" & pid=$!; }
