#!/bin/bash
# Fuzzes the load-and-check path for a bounded time (default 10 minutes) with
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, starting from the
# intro's real attachment, the damaged corpus and the fullest data file the
# check allows. Whatever it finds lands in build-fuzz/finds/; copy each into
# tests/data/corpus/, where the damaged-program test runs it as a whole program
# from then on.
#
#    bash scripts/fuzz.sh [SECONDS]
set -eu
cd "$(dirname "$0")/.."
. shell/packages.sh
need_packages "${build_packages[@]}" clang libclang-rt-dev libgtest-dev
seconds=${1:-600}
CXX=clang++ cmake -S . -B build-fuzz -DINTRO_FUZZ=ON -DBUILD_TESTING=ON \
   -DINTRO_SANITIZE=address,undefined,fuzzer-no-link >/dev/null
cmake --build build-fuzz --parallel --target intro fuzz_content damage
mkdir -p build-fuzz/corpus build-fuzz/finds build-fuzz/seeds tests/data/corpus
# seeds: the real attachment, and the tails of the damaged programs
work=$(mktemp -d)
cp build-fuzz/intro "$work/bare" && exedat -d "$work/bare" >/dev/null
start=$(stat -c %s "$work/bare")
mkdir "$work/damaged"
build-fuzz/tests/damage build-fuzz/intro "$work/damaged" >/dev/null
for program in build-fuzz/intro "$work"/fullest "$work"/damaged/*; do
   [[ $program != *.says ]] || continue
   tail -c +$((start + 1)) "$program" >"build-fuzz/seeds/$(basename "$program")"
done
rm -rf "$work"
# an input is a find if it takes over 60 s (the largest take half a second, but
# a busy machine has slowed them thirtyfold) or the library asks for 64 MiB at once
exec build-fuzz/tests/fuzz_content -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=60 \
   -malloc_limit_mb=64 \
   -artifact_prefix=build-fuzz/finds/ -print_final_stats=1 build-fuzz/corpus build-fuzz/seeds \
   tests/data/corpus
