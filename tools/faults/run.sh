#!/bin/bash
# Finds out which tests catch which fault. For each fault of faults.txt (or
# those named), in a scratch clone of a commit (HEAD by default): applies it
# (an exact substitution, refused unless its text is found exactly once),
# builds incrementally, runs every suite that could see it, puts the file
# back, and at the end prints a table: the fault and the suites that caught
# it, or MISSED. A tool, not a test: nothing runs it but a developer. The
# checkout itself is never written.
#
#    tools/faults/run.sh [-s SCRATCH] [-o TABLE] [-c COMMIT] [ID-PATTERN...]
#
#    -s SCRATCH  scratch folder, kept between runs so that builds are
#                incremental (default: $TMPDIR/intro-faults, or /tmp/...)
#    -o TABLE    also write the table to this file
#    -c COMMIT   the commit to try (default: HEAD)
#    ID-PATTERN  shell patterns for the faults to run (default: all), e.g. 'data-*'
#
# Suites, by where the fault is: for intro/, datacheck/ and capture/, every
# CTest test of the normal build but `fresh` (it clones the committed HEAD,
# never the faulted copy); for web/, the browser build made again and its tests,
# tests/web/web.sh (`web`). Left out: the sanitizer builds (the same tests
# again, minutes a fault), the Windows build and the release.
set -euo pipefail
began=$(date +%s)
root=$(git -C "$(dirname "${BASH_SOURCE[0]}")" rev-parse --show-toplevel)
list=$root/tools/faults/faults.txt
scratch=${TMPDIR:-/tmp}/intro-faults table= commit=HEAD
while getopts s:o:c: opt; do
   case $opt in
   s) scratch=$OPTARG ;;
   o) table=$(realpath -m "$OPTARG") ;;
   c) commit=$OPTARG ;;
   *) sed -n '10,16p' "$0" >&2; exit 2 ;;
   esac
done
shift $((OPTIND - 1))
commit=$(git -C "$root" rev-parse --short "$commit")
src=$(realpath -m "$scratch")/src logs=$(realpath -m "$scratch")/logs

# ---- the fault list: [ID] FILE, then what:, from: and to: lines
ids=() files=() whats=() froms=() tos=()
while IFS= read -r line; do
   case $line in
   '['*) id=${line#[}; ids+=("${id%%]*}") files+=("${line#*] }") ;;
   'what: '*) whats[${#ids[@]} - 1]=${line#what: } ;;
   'from: '*) froms[${#ids[@]} - 1]=${line#from: } ;;
   'to: '*) tos[${#ids[@]} - 1]=${line#to: } ;;
   '' | '#'*) ;;
   *) echo "faults.txt: cannot read: $line" >&2; exit 2 ;;
   esac
done <"$list"
chosen=()
for i in "${!ids[@]}"; do
   for pattern in "${@:-*}"; do
      # shellcheck disable=SC2053
      if [[ ${ids[i]} == $pattern ]]; then chosen+=("$i"); break; fi
   done
done
[ ${#chosen[@]} -gt 0 ] || { echo "no fault matches: $*" >&2; exit 2; }

# ---- the scratch clone: checking out a commit rewrites only the files that
# differ (a fault an interrupted run left among them), so builds stay incremental
mkdir -p "$logs"
[ -d "$src/.git" ] || git clone -q --shared "$root" "$src"
git -C "$src" fetch -q "$root" '+refs/*:refs/remotes/root/*'
git -C "$src" checkout -q -f --detach "$commit"
restore() { git -C "$src" checkout -q -- "$current"; }

# Applies fault $1: exactly one match, or it is refused.
apply() {
   python3 - "$src/${files[$1]}" "${froms[$1]}" "${tos[$1]}" <<'EOF'
import sys
path, old, new = sys.argv[1:]
text = open(path, encoding='utf-8').read()
if text.count(old) != 1:
    sys.exit(f'{path}: the fault\'s text is found {text.count(old)} times, not once')
open(path, 'w', encoding='utf-8').write(text.replace(old, new))
EOF
}

# Builds, runs the suites that could see a fault in file $1, logging to $2,
# and prints those that failed.
suites() {
   if [[ $1 == web/* ]]; then
      (cd "$src" && cmake --build build --parallel 2 --target intro-capture && bash scripts/web.sh &&
         bash tests/web/web.sh build/intro-capture build-web "$scratch/web") >"$2" 2>&1 || printf 'web '
      return
   fi
   cmake --build "$src/build" --parallel 2 >"$2" 2>&1 || { printf 'BUILD-FAILED '; return; }
   (cd "$src/build" && ctest --parallel 2 --timeout 300 -E '^fresh$') >>"$2" 2>&1 || true
   sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*$/\1/p' "$2" | sort | tr '\n' ' '
}

echo "building in $src"
cmake -S "$src" -B "$src/build" >"$logs/build.log" 2>&1
needweb= neednative=
for i in "${chosen[@]}"; do
   if [[ ${files[i]} == web/* ]]; then needweb=1; else neednative=1; fi
done
# the commit must pass every suite that will be asked, or a catch means nothing
for kind in ${neednative:+intro/} ${needweb:+web/}; do
   failed=$(suites "$kind" "$logs/clean-${kind%/}.log")
   [ -z "$failed" ] || { echo "the commit fails $failed(see $logs/clean-${kind%/}.log)" >&2; exit 1; }
done

# the table, fault by fault as each is tried
missed=0
{
   echo "Faults and the suites that catch them, at commit $commit (MISSED: no suite caught it):"
   echo
   for i in "${chosen[@]}"; do
      current=${files[i]}
      apply "$i" 2>"$logs/${ids[i]}.log" || { cat "$logs/${ids[i]}.log" >&2; exit 1; }
      caught=$(suites "${files[i]}" "$logs/${ids[i]}.log")
      restore
      caught=${caught% }
      printf '%-24s %s\n%24s caught by: %s\n' "${ids[i]}" "${whats[i]}" "" "${caught:-MISSED}"
      [ -n "$caught" ] || missed=$((missed + 1))
   done
   echo
   echo "$missed of ${#chosen[@]} faults missed by every suite; $(($(date +%s) - began)) s, builds included"
} | tee ${table:+"$table"}
# the last fault's file, put back and built again, leaves the scratch build as committed
cmake --build "$src/build" --parallel 2 >/dev/null 2>&1 || true
