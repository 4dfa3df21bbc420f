// Frames by the hour: the intro's frame function run for an hour of 60 Hz
// frames (INTRO_FRAMES asks for more: scripts/day.sh runs a day in the
// sanitizer build, so that it is also a day of memory checks), each effect's
// state checked after every frame: its palette entry, a grey, and the rest in
// their ranges, and all as they were one period before. The background flash
// repeats every 317 frames, the logo flash every 419, the captions every 993,
// each scroller every pass after its first and its colour every 32 passes.
#include "support.h"

#include <cstdlib>
#include <functional>

using namespace intro;

namespace {

struct Effect {
   const char *name;
   long period;  // frames
   long from;    // the first frame after which it repeats
   std::function<long()> state;
   std::function<bool()> legal;
};

// A scroller's pass starts at 640 (its first at 800) and ends past its wrap
// length, 2 (1) pixels a frame.
constexpr long first1 = (800 + 6704) / 2 + 1, pass1 = (640 + 6704) / 2 + 1;
constexpr long first2 = 800 + 5440 + 1, pass2 = 640 + 5440 + 1;

bool grey(int i) { return pal[i].r == pal[i].g && pal[i].g == pal[i].b; }
bool within(int v, int low, int high) { return v >= low && v <= high; }

}  // namespace

class Day : public test::Intro {};

TEST_F(Day, EachEffectInItsRangeAndRepeatingWithItsPeriod)
{
   const Effect effects[] = {
      {"the background flash", 317, 1, [] { return (long(wffsf) * 256 + fsfcol) * 256 + pal[0].r; },
       [] { return within(wffsf, 0, 256) && fsfcol <= 60 && pal[0].r <= 59 && grey(0); }},
      {"the logo flash", 419, 1, [] { return (long(wflf) * 256 + lfcol) * 256 + pal[1].r; },
       [] {
          return within(wflf, 0, 368) && within(lfcol, 10, 60) && within(pal[1].r, 10, 59) &&
                 grey(1);
       }},
      {"the title line", 993, 1,
       [] { return (((long(tls) * 8 + fs) * 64 + tlc) * 512 + intro::wait) * 256 + pal[130].r; },
       [] {
          return within(tls, 0, 3) && within(fs, 1, 4) && within(tlc, 0, 60) && tlc % 4 == 0 &&
                 within(intro::wait, 0, 299) && pal[130].r == tlc && grey(130);
       }},
      {"scroller 1", pass1, first1, [] { return long(sp1); },
       [] { return within(sp1, -6704, 800) && sp1 % 2 == 0; }},
      {"scroller 1's colour", 32 * pass1, first1,
       [] { return (long(sp1) * 256 + fcol1) * 256 + pal[128].r; },
       [] { return fcol1 % 8 == 0 && pal[128].r == fcol1 && grey(128); }},
      {"scroller 2", pass2, first2, [] { return long(sp2); },
       [] { return within(sp2, -5440, 800); }},
      {"scroller 2's colour", 32 * pass2, first2,
       [] { return (long(sp2) * 256 + fcol2) * 256 + pal[129].r; },
       // black until its first pulse, in frame 4
       [] {
          return fcol2 % 8 == 6 && (pal[129].r == fcol2 || (sp2 > 796 && !pal[129].r)) &&
                 grey(129);
       }},
   };
   std::vector<std::vector<long>> past;  // each state one period ago, by frame modulo period
   for (const Effect &e : effects)
      past.emplace_back(static_cast<size_t>(e.period));
   const char *asked = std::getenv("INTRO_FRAMES");
   long frames = asked ? std::atol(asked) : 60L * 60 * 60, failures = 0;
   for (long f = 1; f <= frames && failures < 20; f++) {
      runframe(test::noretrace);
      for (size_t i = 0; i < std::size(effects); i++) {
         const Effect &e = effects[i];
         long &then = past[i][static_cast<size_t>(f % e.period)], now = e.state();
         bool legal = e.legal(), same = f < e.from + e.period || then == now;
         failures += !legal + !same;
         EXPECT_TRUE(legal) << "frame " << f << ": " << e.name << " is out of its range";
         EXPECT_TRUE(same) << "frame " << f << ": " << e.name << " is not as " << e.period
                           << " frames before";
         then = now;
      }
   }
}
