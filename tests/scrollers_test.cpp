// The scrollers: positions and pulses through two wraps of each, the first
// frames each shows on screen, the intensity sequences and the band clear.
#include "support.h"

#include <vector>

using namespace intro;
using test::span;

class Scrollers : public test::Intro {};

// Where a scroller draws in frame f (from 1): 800 down to -wrap, then 640
// down to -wrap, for ever; the wrap test is strict.
static int drawnx(int f, int speed, int wrap)
{
   int first = (800 + wrap) / speed + 1, pass = (640 + wrap) / speed + 1;
   return f <= first ? 800 - speed * (f - 1) : 640 - speed * ((f - first - 1) % pass);
}

TEST_F(Scrollers, PositionsAndPulsesThroughTwoWrapsOfEach)
{
   for (int f = 1; f <= 800 + 2 * (5440 + 1) + 640 + 10; f++) {
      ASSERT_EQ(sp1, drawnx(f, 2, 6704)) << "frame " << f;
      ASSERT_EQ(sp2, drawnx(f, 1, 5440)) << "frame " << f;
      unsigned char was1 = fcol1, was2 = fcol2;
      frames();
      // a pulse where the new x is a multiple of 8 (4): twice running at a wrap
      bool pulse1 = (drawnx(f + 1, 2, 6704) & 7) == 0;
      bool pulse2 = (drawnx(f + 1, 1, 5440) & 3) == 0;
      ASSERT_EQ(fcol1, (was1 + 8 * pulse1) & 255) << "frame " << f;
      ASSERT_EQ(fcol2, (was2 + 8 * pulse2) & 255) << "frame " << f;
   }
   EXPECT_EQ(drawnx(3752, 2, 6704), -6702);  // the fixture's own wrap points
   EXPECT_EQ(drawnx(3753, 2, 6704), -6704);
   EXPECT_EQ(drawnx(3754, 2, 6704), 640);
}

TEST_F(Scrollers, FirstFramesOnScreenAndTheBandClear)
{
   clear_to_color(bufferbmp, test::paper);
   frames(81);  // scroller 1 drawn at 640: nothing shows
   EXPECT_EQ(span(bufferbmp, 128, 0, 479).first, -1);
   for (int y : {100, 336}) {
      EXPECT_TRUE(test::allrows(bufferbmp, test::paper, y - 1, y - 1)) << y;
      EXPECT_TRUE(test::allrows(bufferbmp, 0, y, y + 48)) << y;
      EXPECT_TRUE(test::allrows(bufferbmp, test::paper, y + 49, y + 49)) << y;
   }
   frames();  // 82, at 638, rows 100..139
   EXPECT_EQ(span(bufferbmp, 128, 100, 139), std::make_pair(638, 639));
   EXPECT_EQ(span(bufferbmp, 128, 0, 99).first, -1);
   EXPECT_EQ(span(bufferbmp, 128, 140, 479).first, -1);
   EXPECT_EQ(span(screenbmp, 128, 100, 139).first, 638) << "band copied";

   frames(161 - 82);  // scroller 2 drawn at 640
   EXPECT_EQ(span(bufferbmp, 129, 336, 375).first, -1);
   frames();  // 162, at 639
   EXPECT_EQ(span(bufferbmp, 129, 336, 375), std::make_pair(639, 639));
}

TEST_F(Scrollers, IntensitiesWrapAtAByteAndShowSixBits)
{
   std::vector<int> seen[2];
   for (int f = 1; f <= 4 * 33; f++) {
      test::markdisplay();
      frames();
      for (int s = 0; s < 2; s++)
         if (test::pushed(128 + s)) {
            EXPECT_EQ(test::shown(128 + s).r, pal[128 + s].r & 63) << f;
            seen[s].push_back(pal[128 + s].r);
         } else if (f < 4) {
            EXPECT_EQ(pal[128 + s].r, 0) << "black until the first pulse";
         }
   }
   ASSERT_EQ(seen[0].size(), 33u);
   ASSERT_EQ(seen[1].size(), 33u);
   EXPECT_EQ(std::vector<int>(seen[0].begin() + 29, seen[0].end()),
             (std::vector<int>{240, 248, 0, 8}));
   EXPECT_EQ(std::vector<int>(seen[1].begin(), seen[1].begin() + 2),
             (std::vector<int>{38, 46}));
   EXPECT_EQ(std::vector<int>(seen[1].begin() + 27, seen[1].end()),
             (std::vector<int>{254, 6, 14, 22, 30, 38}));
}
