// The frame: its order (step, tick reset, caption and flashes, retrace, band
// copies), piled-up ticks making one frame, polls that find no tick, and a
// reset that replays the run from frame 1.
#include "support.h"

#include <vector>

using namespace intro;

class Loop : public test::Intro {};

static std::vector<int> atretrace;  // ticks, pal[0], caption pixel, band pixels

TEST_F(Loop, FrameOrderAndBandCopies)
{
   timerCount = 3;
   runframe([] {
      atretrace = {timerCount, pal[0].r, getpixel(screen, 320, 225), getpixel(screen, 0, 90),
                   getpixel(screen, 0, 393)};
   });
   // ticks dropped and the refresh done before the retrace, bands copied after
   EXPECT_EQ(atretrace, (std::vector<int>{0, 59, 130, test::paper, test::paper}));
   for (int top : {90, 326}) {  // 68 rows: a margin of 10 either side of a band
      EXPECT_TRUE(test::rows(screenbmp, top - 1, top - 1, test::paper)) << top;
      EXPECT_TRUE(test::rows(screenbmp, top, top + 67, 0)) << top;
      EXPECT_TRUE(test::rows(screenbmp, top + 68, top + 68, test::paper)) << top;
   }
}

TEST_F(Loop, PiledTicksMakeOneFrameNoTickNone)
{
   for (int ticks : {0, -4}) {
      timerCount = ticks;
      EXPECT_FALSE(pollframe(test::noretrace)) << ticks;
      EXPECT_EQ(sp1, 800) << ticks;
   }
   for (int i = 0; i < 5; i++)
      timerCountUpdate();
   EXPECT_TRUE(pollframe(test::noretrace));
   EXPECT_EQ(timerCount, 0);
   EXPECT_EQ(std::vector<int>({sp1, sp2, lfcol, fsfcol, tlc}),
             std::vector<int>({798, 799, 59, 59, 4})) << "one step of each";
   EXPECT_FALSE(pollframe(test::noretrace));
   EXPECT_EQ(sp1, 798);
}

// Everything a frame leaves behind.
static std::vector<int> state()
{
   std::vector<int> s = {timerCount, scrollline1, scrollline2, sp1, sp2, sl1, sl2, fcol1, fcol2,
                         tlcindex, tls, fs, tlc, intro::wait, wflf, lfcol, wffsf, fsfcol};
   for (const RGB &e : pal)
      s.insert(s.end(), {e.r, e.g, e.b});
   return s;
}

TEST_F(Loop, ResetReplaysTheRunFromFrameOne)
{
   auto start = state();
   to(1200);  // mid-hold, mid-rest, mid-pass: every counter away from its start
   auto then = state();
   timerCount = 9;
   resetintro();
   EXPECT_TRUE(!logo && !myfont && !buffer);
   EXPECT_EQ(state(), start);
   buffer = bufferbmp, logo = logobmp, myfont = fontobj;
   played = 0;
   to(1200);
   EXPECT_EQ(state(), then);
}
