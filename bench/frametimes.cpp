// Frame times of the intro as it ships, for bench/run.sh: a library preloaded
// into the program (LD_PRELOAD) that stands in front of the library's
// set_gfx_mode and vsync, notes when the mode was set and when each retrace
// wait ended (each frame's band copies follow at once), in memory, and at exit
// writes them to the file named by INTRO_FRAMETIMES_FILE, or standard error:
// one line an event, "mode|frame MICROSECONDS" from the program's start.
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Mark {
   const char *event;
   Clock::time_point when;
};

const Clock::time_point began = Clock::now();
std::vector<Mark> marks;  // room for an hour of frames, made at the mode

void report()
{
   const char *name = std::getenv("INTRO_FRAMETIMES_FILE");
   FILE *out = name ? std::fopen(name, "w") : stderr;
   if (!out)
      return;
   using std::chrono::microseconds;
   for (const Mark &m : marks)
      std::fprintf(out, "%s %lld\n", m.event,
                   static_cast<long long>(
                      std::chrono::duration_cast<microseconds>(m.when - began).count()));
   if (out != stderr)
      std::fclose(out);
}

void note(const char *event)
{
   if (marks.size() < marks.capacity())
      marks.push_back({event, Clock::now()});
}

// The library's own function of that name, behind this one.
template <typename Function>
Function *real(const char *name)
{
   return reinterpret_cast<Function *>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int set_gfx_mode(int card, int w, int h, int v_w, int v_h)
{
   static auto *set = real<int(int, int, int, int, int)>("set_gfx_mode");
   int failed = set(card, w, h, v_w, v_h);
   if (!failed && marks.capacity() == 0) {
      marks.reserve(60 * 60 * 60 + 1);
      std::atexit(report);
      note("mode");
   }
   return failed;
}

extern "C" void vsync()
{
   static auto *wait = real<void()>("vsync");
   wait();
   note("frame");
}
