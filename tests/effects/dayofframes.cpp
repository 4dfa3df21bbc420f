// A day of frames: drives the intro's frame function headless for 24 hours'
// worth of 60 Hz frames (or as many as asked), with the real content, and
// after every frame checks that each effect's state, its palette entry (grey)
// included, lies in its legal range and is as it was one period before: the
// background flash every 317 frames, the logo flash every 419, the captions
// every 993, each scroller every pass after its first and its colour every 32
// passes. Meant to run in the sanitizer build, so that
// a day of frames also means a day of memory checks.
//
//    dayofframes INTRO [FRAMES]      exit 0 when every frame passed
#include "capture.h"
#include "intro.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace intro;

namespace {

struct Effect {
   const char *name;
   long period;  // frames
   long from;    // the first frame after which it repeats
   long (*state)();
   bool (*legal)();
   std::vector<long> past;  // its state one period ago, by frame modulo period
};

// A scroller's pass starts at 640 (its first at 800) and ends past its wrap
// length, 2 (1) pixels a frame.
constexpr long first1 = (800 + 6704) / 2 + 1, pass1 = (640 + 6704) / 2 + 1;
constexpr long first2 = 800 + 5440 + 1, pass2 = 640 + 5440 + 1;

bool grey(int i) { return pal[i].r == pal[i].g && pal[i].g == pal[i].b; }
bool within(int v, int low, int high) { return v >= low && v <= high; }

}  // namespace

int main(int argc, char **argv)
{
   long frames = argc > 2 ? std::atol(argv[2]) : 24L * 60 * 60 * 60;
   if (const char *why = argc > 1 ? capture::start(argv[1]) : "usage: dayofframes INTRO [FRAMES]") {
      std::fprintf(stderr, "dayofframes: %s\n", why);
      return 2;
   }
   // each with its state and its legal range
   Effect effects[] = {
      {"the background flash", 317, 1, [] { return (long(wffsf) * 256 + fsfcol) * 256 + pal[0].r; },
       [] { return within(wffsf, 0, 256) && fsfcol <= 60 && pal[0].r <= 59 && grey(0); }, {}},
      {"the logo flash", 419, 1, [] { return (long(wflf) * 256 + lfcol) * 256 + pal[1].r; },
       [] {
          return within(wflf, 0, 368) && within(lfcol, 10, 60) && within(pal[1].r, 10, 59) &&
                 grey(1);
       }, {}},
      {"the title line", 993, 1,
       [] { return (((long(tls) * 8 + fs) * 64 + tlc) * 512 + intro::wait) * 256 + pal[130].r; },
       [] {
          return within(tls, 0, 3) && within(fs, 1, 4) && within(tlc, 0, 60) && tlc % 4 == 0 &&
                 within(intro::wait, 0, 299) && pal[130].r == tlc && grey(130);
       }, {}},
      {"scroller 1", pass1, first1, [] { return long(sp1); },
       [] { return within(sp1, -6704, 800) && sp1 % 2 == 0; }, {}},
      {"scroller 1's colour", 32 * pass1, first1,
       [] { return (long(sp1) * 256 + fcol1) * 256 + pal[128].r; },
       [] { return fcol1 % 8 == 0 && pal[128].r == fcol1 && grey(128); }, {}},
      {"scroller 2", pass2, first2, [] { return long(sp2); },
       [] { return within(sp2, -5440, 800); }, {}},
      {"scroller 2's colour", 32 * pass2, first2,
       [] { return (long(sp2) * 256 + fcol2) * 256 + pal[129].r; },
       // black until its first pulse, in frame 4
       [] {
          return fcol2 % 8 == 6 && (pal[129].r == fcol2 || (sp2 > 796 && !pal[129].r)) &&
                 grey(129);
       }, {}},
   };
   for (Effect &e : effects)
      e.past.resize(static_cast<size_t>(e.period));
   long failures = 0;
   auto began = std::chrono::steady_clock::now();
   for (long f = 1; f <= frames; f++) {
      capture::advance();
      for (Effect &e : effects) {
         long &then = e.past[static_cast<size_t>(f % e.period)], now = e.state();
         if (!e.legal() && failures++ < 20)
            std::printf("frame %ld: %s is out of its range\n", f, e.name);
         if (f >= e.from + e.period && then != now && failures++ < 20)
            std::printf("frame %ld: %s is not as %ld frames before\n", f, e.name, e.period);
         then = now;
      }
      if (f % (60L * 60 * 60) == 0)
         std::printf("%ld hours of frames\n", f / (60L * 60 * 60)), std::fflush(stdout);
   }
   capture::stop();
   std::printf("%ld frames in %.1f s, %ld failures\n", frames,
               std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count(),
               failures);
   return failures ? 1 : 0;
}
