#!/bin/bash
# Finds out which tests catch which fault. For each fault of faults.txt (or
# those named), in a scratch copy of the committed tree: applies it (an exact
# substitution, refused unless its text is found exactly once), builds
# incrementally, runs every suite that could see it, records for each suite
# caught, missed or build-failed, restores the file, and at the end prints a
# table: the fault, the suites that caught it, or MISSED. A tool, not a test:
# nothing runs it but a developer. The checkout itself is never written.
#
#    tools/faults/run.sh [-s SCRATCH] [-o TABLE] [-l] [ID-PATTERN...]
#
#    -s SCRATCH  scratch folder, kept between runs so that builds are
#                incremental (default: $TMPDIR/intro-faults, or /tmp/...)
#    -o TABLE    also write the table to this file
#    -l          list the faults and exit
#    ID-PATTERN  shell patterns for the faults to run (default: all), e.g. 'data-*'
#
# Suites, by where the fault is:
#  intro/      every CTest test of the normal build but `fresh` (it clones the
#              committed HEAD, never the faulted copy);
#  capture/    the CTest tests that run the capture tool's code: `capture`,
#              `memcheck`, `hour_of_frames` (the others never link it);
#  web/        `pacing` (node --test tests/web/pacing.test.js) for web/pacing.js,
#              and `browser` (tests/web/web.test.js, Chromium) for both scripts.
# Left out everywhere: the sanitizer builds (the same tests in another build
# that only adds memory checks: minutes a fault), the Windows build under
# Wine and the release (the same sources again, cross-built).
set -eu
began=$(date +%s)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(git -C "$here" rev-parse --show-toplevel)
list=$here/faults.txt
scratch=${TMPDIR:-/tmp}/intro-faults
table=
listonly=
while getopts s:o:l opt; do
   case $opt in
   s) scratch=$OPTARG ;;
   o) table=$(realpath -m "$OPTARG") ;;
   l) listonly=1 ;;
   *) sed -n '10,16p' "$0" >&2; exit 2 ;;
   esac
done
shift $((OPTIND - 1))
scratch=$(realpath -m "$scratch")
src=$scratch/src

# ---- the fault list ------------------------------------------------------------
ids=() files=() whats=() froms=() tos=()
while IFS= read -r line; do
   case $line in
   '['*']'*) id=${line#[}; id=${id%%]*}; file=${line#*] }
      ids+=("$id") files+=("$file") whats+=("") froms+=("") tos+=("") ;;
   'what: '*) whats[${#ids[@]} - 1]=${line#what: } ;;
   'from: '*) froms[${#ids[@]} - 1]=${line#from: } ;;
   'to: '*) tos[${#ids[@]} - 1]=${line#to: } ;;
   '' | '#'*) ;;
   *) echo "faults.txt: cannot read: $line" >&2; exit 2 ;;
   esac
done <"$list"

chosen=()
for i in "${!ids[@]}"; do
   if [ $# = 0 ]; then chosen+=("$i"); continue; fi
   for pattern; do
      # shellcheck disable=SC2053
      if [[ ${ids[i]} == $pattern ]]; then chosen+=("$i"); break; fi
   done
done
if [ -n "$listonly" ]; then
   for i in "${chosen[@]}"; do printf '%-24s %-22s %s\n' "${ids[i]}" "${files[i]}" "${whats[i]}"; done
   exit 0
fi
[ ${#chosen[@]} -gt 0 ] || { echo "no fault matches: $*" >&2; exit 2; }

kind() {
   case $1 in web/*) echo web ;; capture/*) echo capture ;; *) echo intro ;; esac
}

# ---- the scratch copy ------------------------------------------------------------
# The committed tree; a file that differs from the copy's is replaced (a new
# date, so the build sees it), the others keep their dates, so builds stay
# incremental.
mkdir -p "$src" "$scratch/logs"
rm -rf "$scratch/new" && mkdir "$scratch/new"
commit=$(git -C "$root" log -1 --format=%h)  # the commit tried, should HEAD move meanwhile
git -C "$root" archive "$commit" | tar -x -C "$scratch/new"
(cd "$scratch/new" && find . -type f) | while IFS= read -r f; do
   if ! cmp -s "$scratch/new/$f" "$src/$f"; then
      mkdir -p "$(dirname "$src/$f")" && cp "$scratch/new/$f" "$src/$f"
   fi
done
(cd "$src" && find . -path ./build -prune -o -path ./build-web -prune -o -path ./tests/web/node_modules \
   -prune -o -type f -print) | while IFS= read -r f; do
   [ -e "$scratch/new/$f" ] || rm -f "$src/$f"
done
rm -rf "$scratch/new"

# Puts a faulted file back as committed, on the way out too.
current=
restore() {
   [ -n "$current" ] || return 0
   git -C "$root" show "$commit:$current" >"$src/$current"
   case $current in web/*) websync ;; esac
   current=
}
trap restore EXIT
trap 'exit 130' INT TERM

# The browser site gets the page's scripts as scripts/web.sh writes them.
websync() {
   (cd "$src" && cp web/pacing.js web/page.js build-web/site/ &&
      node web/onefile.js build-web/site build-web/cmake/web/intro-single.js \
         build-web/vintara-intro.html >/dev/null)
}

# Applies fault $1: exactly one match, or it is refused.
apply() {
   python3 - "$src/${files[$1]}" "${froms[$1]}" "${tos[$1]}" <<'EOF'
import sys
path, old, new = sys.argv[1:]
text = open(path, encoding='utf-8').read()
n = text.count(old)
if n != 1 or '\n' in old:
    sys.exit(f'{path}: the fault\'s text is found {n} times, not once')
open(path, 'w', encoding='utf-8').write(text.replace(old, new))
EOF
}

ctestsel() {
   case $1 in
   intro) echo "-E ^fresh$" ;;
   capture) echo "-R ^(capture|memcheck|hour_of_frames)$" ;;
   esac
}

# Runs the suites of kind $1, logging to $2; prints the suites that failed.
suites() {
   local k=$1 log=$2
   case $k in
   intro | capture)
      # shellcheck disable=SC2046
      (cd "$src/build" && ctest --parallel 2 --timeout 120 $(ctestsel "$k")) >"$log" 2>&1 || true
      sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*$/\1/p' "$log" | sort | tr '\n' ' ' ;;
   web)
      local env=(INTRO_CAPTURE="$src/build/intro-capture" WEB="$src/build-web" WORK="$scratch/web")
      rm -rf "$scratch/web" && mkdir -p "$scratch/web"
      if [ "$current" != web/page.js ]; then
         (cd "$src/tests/web" && env "${env[@]}" node --test pacing.test.js) >"$log" 2>&1 ||
            printf 'pacing '
      fi
      (cd "$src/tests/web" && env "${env[@]}" node --test web.test.js) >>"$log" 2>&1 ||
         printf 'browser ' ;;
   esac
}

# ---- the builds ------------------------------------------------------------------
needweb=
for i in "${chosen[@]}"; do [ "$(kind "${files[i]}")" = web ] && needweb=1; done
echo "building in $src"
cmake -S "$src" -B "$src/build" >"$scratch/logs/build.log" 2>&1
cmake --build "$src/build" --parallel 2 >>"$scratch/logs/build.log" 2>&1 ||
   { echo "the committed tree does not build: $scratch/logs/build.log" >&2; exit 1; }
if [ -n "$needweb" ]; then
   (cd "$src" && bash scripts/web.sh && . shell/packages.sh && need_browser) \
      >"$scratch/logs/web-build.log" 2>&1 ||
      { echo "the web build failed: $scratch/logs/web-build.log" >&2; exit 1; }
fi

# The committed tree must pass every suite that will be asked, or a catch means nothing.
for k in intro capture web; do
   for i in "${chosen[@]}"; do
      [ "$(kind "${files[i]}")" = "$k" ] || continue
      echo "clean tree: the $k suites"
      failed=$(suites "$k" "$scratch/logs/clean-$k.log")
      if [ -n "$failed" ]; then
         echo "the committed tree fails $failed(see $scratch/logs/clean-$k.log)" >&2
         exit 1
      fi
      break
   done
done

# ---- the faults --------------------------------------------------------------------
results=()
for i in "${chosen[@]}"; do
   id=${ids[i]} file=${files[i]} k=$(kind "${files[i]}") log=$scratch/logs/${ids[i]}.log
   t0=$(date +%s)
   printf '%-24s ' "$id"
   current=$file
   if ! apply "$i" 2>"$log"; then
      cat "$log" >&2
      exit 1
   fi
   if [ "$k" = web ]; then
      websync
      caught=$(suites web "$log")
   elif cmake --build "$src/build" --parallel 2 >"$log" 2>&1; then
      caught=$(suites "$k" "$log")
   else
      caught="BUILD-FAILED "
   fi
   restore
   caught=${caught% }
   results+=("$id|${caught:-MISSED}")
   echo "${caught:-MISSED} ($(($(date +%s) - t0)) s)"
done
# the last fault's restored file, built again, leaves the scratch build as committed
cmake --build "$src/build" --parallel 2 >/dev/null 2>&1 || true

# ---- the table ---------------------------------------------------------------------
report() {
   echo "Faults and the suites that catch them, at commit $commit:"
   echo "$((${#chosen[@]})) faults in $(($(date +%s) - began)) s, builds included; MISSED: no suite caught it"
   echo
   local n=0 r
   for r in "${results[@]}"; do
      local id=${r%%|*} by=${r#*|} j
      for j in "${!ids[@]}"; do [ "${ids[j]}" = "$id" ] && break; done
      printf '%-24s %s\n%24s caught by: %s\n' "$id" "${whats[j]}" "" "$by"
      [ "$by" = MISSED ] && n=$((n + 1))
   done
   echo
   echo "$n of ${#results[@]} faults missed by every suite"
}
echo
report
if [ -n "$table" ]; then report >"$table"; fi
