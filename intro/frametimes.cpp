// Frame times, for bench builds only (INTRO_FRAMETIMES; the shipped program
// has none of this). Notes when the program entered, when the mode was set
// and when each frame began and when its refresh ended, in memory, and at exit
// writes them to the file named by INTRO_FRAMETIMES_FILE (or standard error):
// one line per event, "entry|mode|start|frame MICROSECONDS" from the entry.
#include "intro.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace intro {

namespace {

using Clock = std::chrono::steady_clock;

struct Mark {
   int event;
   Clock::time_point when;
};
std::vector<Mark> marks;  // reserved for an hour of frames at entry

void report()
{
   const char *name = std::getenv("INTRO_FRAMETIMES_FILE");
   FILE *out = name ? std::fopen(name, "w") : stderr;
   if (!out || marks.empty())
      return;
   static const char *const names[] = {"entry", "mode", "start", "frame"};
   for (const Mark &m : marks)
      std::fprintf(out, "%s %lld\n", names[m.event],
                   static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                             m.when - marks[0].when).count()));
   if (out != stderr)
      std::fclose(out);
}

}  // namespace

void framemark(int event)
{
   if (event == markentry) {
      marks.reserve(2 * 60 * 60 * 60 + 2);
      std::atexit(report);
   }
   if (marks.size() < marks.capacity())
      marks.push_back({event, Clock::now()});
}

}  // namespace intro
