// The frame: its order (step, tick reset, caption and flashes, retrace, band
// copies), piled-up ticks making one frame, and polls that find no tick.
#include "support.h"

namespace {

using namespace intro;

class Loop : public test::Intro {};

// What the screen and palette look like at the moment of the retrace wait.
struct AtRetrace {
   int calls = 0;
   int ticks = -1;
   int band1 = -1, band2 = -1;  // a pixel of each band on the screen
   int background = -1;         // pal entry 0
   int caption = -1;            // a pixel of the caption
} atretrace;

void recordretrace()
{
   atretrace.calls++;
   atretrace.ticks = timerCount;
   atretrace.band1 = getpixel(screen, 5, scrollline1);
   atretrace.band2 = getpixel(screen, 5, scrollline2 + 57);
   atretrace.background = pal[0].r;
   atretrace.caption = getpixel(screen, 320, 225);
}

TEST_F(Loop, FrameOrderStepTicksRefreshRetraceThenBands)
{
   atretrace = AtRetrace{};
   timerCount = 3;
   runframe(recordretrace);
   EXPECT_EQ(atretrace.calls, 1);
   EXPECT_EQ(atretrace.ticks, 0) << "ticks are dropped before the refresh";
   EXPECT_EQ(atretrace.background, 59) << "flashes run before the retrace";
   EXPECT_EQ(atretrace.caption, 130) << "the caption too";
   EXPECT_EQ(atretrace.band1, test::paper) << "bands are copied after it";
   EXPECT_EQ(atretrace.band2, test::paper);

   // the copies: rows 90..157 and 326..393, nothing beyond
   EXPECT_TRUE(test::allrows(screenbmp, test::paper, 89, 89));
   EXPECT_TRUE(test::samerows(screenbmp, bufferbmp, 90, 157));
   EXPECT_TRUE(test::allrows(screenbmp, test::paper, 158, 158));
   EXPECT_TRUE(test::allrows(screenbmp, test::paper, 325, 325));
   EXPECT_TRUE(test::samerows(screenbmp, bufferbmp, 326, 393));
   EXPECT_TRUE(test::allrows(screenbmp, test::paper, 394, 394));
}

void noretrace() {}

TEST_F(Loop, PiledTicksMakeOneFrameAndNoTickMakesNone)
{
   timerCount = 0;
   EXPECT_FALSE(pollframe(noretrace));
   EXPECT_EQ(sp1, 800);

   timerCount = -4;
   EXPECT_FALSE(pollframe(noretrace)) << "a negative count is no tick";
   EXPECT_EQ(sp1, 800);
   EXPECT_EQ(timerCount, -4);

   for (int i = 0; i < 5; i++)
      timerCountUpdate();
   EXPECT_EQ(timerCount, 1);
   timerCount = 5;
   EXPECT_TRUE(pollframe(noretrace));
   EXPECT_EQ(timerCount, 0);
   EXPECT_EQ(sp1, 798) << "one step, however many ticks";
   EXPECT_EQ(sp2, 799);
   EXPECT_EQ(lfcol, 59);
   EXPECT_EQ(fsfcol, 59);
   EXPECT_EQ(tlc, 4);

   EXPECT_FALSE(pollframe(noretrace));
   EXPECT_EQ(sp1, 798);
}

// Everything a frame leaves behind, to compare two runs.
std::vector<int> snapshot()
{
   std::vector<int> s = {timerCount, scrollline1, scrollline2, sp1, sp2, sl1,
                         sl2, fcol1, fcol2, tlcindex, tls, fs, tlc, intro::wait,
                         wflf, lfcol, wffsf, fsfcol};
   for (const RGB &e : pal)
      s.insert(s.end(), {e.r, e.g, e.b});
   return s;
}

TEST_F(Loop, ResetReplaysTheRunFromFrameOne)
{
   std::vector<std::vector<int>> first;
   for (int f = 0; f < 1200; f++) {  // ends mid-hold and mid-rest
      first.push_back(snapshot());
      frame();
   }
   timerCount = 9;

   intro::resetintro();
   EXPECT_EQ(logo, nullptr);
   EXPECT_EQ(myfont, nullptr);
   EXPECT_EQ(buffer, nullptr);
   buffer = bufferbmp;
   logo = logobmp;
   myfont = fontobj;
   for (int f = 0; f < 1200; f++) {
      ASSERT_EQ(snapshot(), first[static_cast<size_t>(f)]) << "frame " << f + 1;
      frame();
   }
}

}  // namespace
