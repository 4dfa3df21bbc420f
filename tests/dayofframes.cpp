// A day of frames: drives the intro's frame function headless for 24 hours'
// worth of 60 Hz frames (or as many as asked), with the real content, and
// after every frame checks that each effect's state lies in its legal range
// and that each effect repeats with its period. Meant to run in the
// sanitizer build, so that a day of frames also means a day of memory checks.
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

// Everything the effects keep, and the palette entries they own.
struct State {
   int sp1, sp2, tls, fs, tlc, wait, wflf, wffsf;
   unsigned char fcol1, fcol2, lfcol, fsfcol, p0, p1, p128, p129, p130;
};

State now()
{
   return {sp1, sp2, tls, fs, tlc, intro::wait, wflf, wffsf, fcol1, fcol2, lfcol,
           fsfcol, pal[0].r, pal[1].r, pal[128].r, pal[129].r, pal[130].r};
}

long failures = 0;

void fail(long frame, const char *what)
{
   if (failures++ < 20)
      std::printf("frame %ld: %s\n", frame, what);
}

bool grey(int i)
{
   return pal[i].r == pal[i].g && pal[i].g == pal[i].b;
}

// Each effect's legal range.
void checkranges(long f, const State &s)
{
   if (s.sp1 < -6704 || s.sp1 > 800 || s.sp1 % 2)
      fail(f, "scroller 1 out of its range");
   if (s.sp2 < -5440 || s.sp2 > 800)
      fail(f, "scroller 2 out of its range");
   if (s.fcol1 % 8 || s.fcol2 % 8 != 6 || s.p128 != s.fcol1 || (f >= 4 && s.p129 != s.fcol2))
      fail(f, "a scroller's colour off its steps");
   if (s.tls < 0 || s.tls > 3 || s.fs < 1 || s.fs > 4 || s.tlc < 0 || s.tlc > 60 ||
       s.tlc % 4 || s.wait < 0 || s.wait > 299 || s.p130 != s.tlc)
      fail(f, "the title line out of its range");
   if (s.wflf < 0 || s.wflf > 368 || s.lfcol < 10 || s.lfcol > 60 || s.p1 < 10 || s.p1 > 59)
      fail(f, "the logo flash out of its range");
   if (s.wffsf < 0 || s.wffsf > 256 || s.fsfcol > 60 || s.p0 > 59)
      fail(f, "the background flash out of its range");
   if (timerCount != 0 || !grey(0) || !grey(1) || !grey(128) || !grey(129) || !grey(130))
      fail(f, "ticks left over or a colour that is not grey");
}

}  // namespace

int main(int argc, char **argv)
{
   if (argc < 2) {
      std::fprintf(stderr, "usage: dayofframes INTRO [FRAMES]\n");
      return 2;
   }
   long frames = argc > 2 ? std::atol(argv[2]) : 24L * 60 * 60 * 60;
   if (const char *why = capture::start(argv[1])) {
      std::fprintf(stderr, "dayofframes: %s\n", why);
      return 2;
   }

   // A scroller's first pass starts at 800, the later ones at 640; its colour
   // comes back to the same step at the same place after 32 passes.
   const long first1 = (800 + 6704) / 2 + 1, pass1 = (640 + 6704) / 2 + 1;
   const long first2 = 800 + 5440 + 1, pass2 = 640 + 5440 + 1;
   const long longest = 32 * pass2;
   std::vector<State> past(static_cast<size_t>(longest));
   auto before = [&](long f, long lag) { return past[static_cast<size_t>((f - lag) % longest)]; };

   auto began = std::chrono::steady_clock::now();
   for (long f = 1; f <= frames; f++) {
      capture::advance();
      State s = now();
      checkranges(f, s);
      auto same = [&](long lag, auto field) { return f <= lag || field(before(f, lag)) == field(s); };
      if (!same(419, [](const State &x) { return x.wflf * 256 + x.lfcol + 65536 * x.p1; }))
         fail(f, "the logo flash does not repeat every 419 frames");
      if (!same(317, [](const State &x) { return x.wffsf * 256 + x.fsfcol + 65536 * x.p0; }))
         fail(f, "the background flash does not repeat every 317 frames");
      if (!same(993, [](const State &x) {
             return ((x.tls * 8 + x.fs) * 64 + x.tlc) * 512 + x.wait + (x.p130 << 24);
          }))
         fail(f, "the title line does not repeat every 993 frames");
      if (f > first1 + pass1 && !same(pass1, [](const State &x) { return x.sp1; }))
         fail(f, "scroller 1 does not repeat its passes");
      if (f > first1 + 32 * pass1 &&
          !same(32 * pass1, [](const State &x) { return x.sp1 * 256 + x.fcol1; }))
         fail(f, "scroller 1's colours do not repeat every 32 passes");
      if (f > first2 + pass2 && !same(pass2, [](const State &x) { return x.sp2; }))
         fail(f, "scroller 2 does not repeat its passes");
      if (f > first2 + 32 * pass2 &&
          !same(32 * pass2, [](const State &x) { return x.sp2 * 256 + x.fcol2; }))
         fail(f, "scroller 2's colours do not repeat every 32 passes");
      past[static_cast<size_t>(f % longest)] = s;
      if (f % (60L * 60 * 60) == 0)
         std::printf("%ld hours of frames\n", f / (60L * 60 * 60)), std::fflush(stdout);
   }
   double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
   capture::stop();
   std::printf("%ld frames in %.1f s (%.0f frames/s), %ld failures\n", frames, secs,
               frames / secs, failures);
   return failures ? 1 : 0;
}
