// Google Benchmark over the headless intro: one frame, start-up up to the
// end of the first frame (library up, the attached data read, unpacked,
// checked and loaded, the first picture drawn), and intro-capture's rate to
// memory and to PNG.
#include "capture.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

static void frame(benchmark::State &state)
{
   if (const char *why = capture::start(INTRO_EXE)) {
      state.SkipWithError(why);
      return;
   }
   for (auto _ : state)
      capture::advance();
   state.SetItemsProcessed(state.iterations());
   capture::stop();
}
BENCHMARK(frame)->Unit(benchmark::kMicrosecond);

static void startup(benchmark::State &state)
{
   for (auto _ : state) {
      if (const char *why = capture::start(INTRO_EXE)) {
         state.SkipWithError(why);
         return;
      }
      capture::advance();
      capture::stop();
   }
}
BENCHMARK(startup)->Unit(benchmark::kMillisecond);

static void pngframes(benchmark::State &state)
{
   if (const char *why = capture::start(INTRO_EXE)) {
      state.SkipWithError(why);
      return;
   }
   std::string path = "/dev/shm/bench-frame-" + std::to_string(getpid()) + ".png";
   for (auto _ : state) {
      capture::advance();
      if (!capture::writeindexed(path))
         state.SkipWithError("cannot write a PNG");
   }
   std::remove(path.c_str());
   state.SetItemsProcessed(state.iterations());
   capture::stop();
}
BENCHMARK(pngframes)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
