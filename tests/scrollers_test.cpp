// The scrollers: positions through two wraps of each, the frames they first
// show on screen, the strict wrap test, the double pulse at every wrap, the
// intensity sequences and the extent of the band clear.
#include "support.h"

namespace {

using namespace intro;
using test::leftmost;
using test::markdisplay;
using test::shown;

class Scrollers : public test::Intro {};

// Where a scroller draws its text in frame f (1-based): from 800 down to
// -wrap, then from 640 down to -wrap again, for ever.
int drawnx(int f, int speed, int wrap)
{
   int first = (800 + wrap) / speed + 1;  // frames in the first pass
   if (f <= first)
      return 800 - speed * (f - 1);
   int pass = (640 + wrap) / speed + 1;
   return 640 - speed * ((f - first - 1) % pass);
}

TEST_F(Scrollers, PositionsAndPulsesThroughTwoWrapsOfEach)
{
   const int total = 800 + 5440 + 1 + 640 + 5440 + 1 + 10;  // two wraps of 2
   int pulses1 = 0, pulses2 = 0;
   for (int f = 1; f <= total; f++) {
      ASSERT_EQ(sp1, drawnx(f, 2, 6704)) << "frame " << f;
      ASSERT_EQ(sp2, drawnx(f, 1, 5440)) << "frame " << f;
      unsigned char before1 = fcol1, before2 = fcol2;
      frame();
      bool pulse1 = (drawnx(f + 1, 2, 6704) & 7) == 0;
      bool pulse2 = (drawnx(f + 1, 1, 5440) & 3) == 0;
      ASSERT_EQ(fcol1, static_cast<unsigned char>(before1 + (pulse1 ? 8 : 0)))
         << "frame " << f;
      ASSERT_EQ(fcol2, static_cast<unsigned char>(before2 + (pulse2 ? 8 : 0)))
         << "frame " << f;
      pulses1 += pulse1;
      pulses2 += pulse2;
   }
   EXPECT_EQ(sp1, drawnx(total + 1, 2, 6704));
   EXPECT_GT(pulses1, 3000);
   EXPECT_GT(pulses2, 3000);
}

TEST_F(Scrollers, WrapIsStrictAndPulsesAtBothEnds)
{
   frames(3751);
   EXPECT_EQ(sp1, -6702);
   unsigned char start = fcol1;
   frame();  // 3752 moves to exactly -6704: no wrap yet, a multiple of 8
   EXPECT_EQ(sp1, -6704);
   EXPECT_EQ(fcol1, static_cast<unsigned char>(start + 8));
   frame();  // 3753 draws at -6704, then wraps to 640
   EXPECT_EQ(sp1, 640);
   EXPECT_EQ(fcol1, static_cast<unsigned char>(start + 16));
   frames(3);
   EXPECT_EQ(sp1, 634);
   EXPECT_EQ(fcol1, static_cast<unsigned char>(start + 16));
   frame();  // 632
   EXPECT_EQ(fcol1, static_cast<unsigned char>(start + 24));

   frames(6239 - 3757);
   EXPECT_EQ(sp2, -5439);
   unsigned char start2 = fcol2;
   frame();  // 6240: exactly -5440
   EXPECT_EQ(sp2, -5440);
   EXPECT_EQ(fcol2, static_cast<unsigned char>(start2 + 8));
   frame();  // 6241: wraps to 640, pulses again
   EXPECT_EQ(sp2, 640);
   EXPECT_EQ(fcol2, static_cast<unsigned char>(start2 + 16));
}

TEST_F(Scrollers, FirstFramesOnScreen)
{
   frames(81);  // scroller 1 drawn at 640 in frame 81: nothing on screen yet
   EXPECT_EQ(leftmost(bufferbmp, 128, 100, 148), -1);
   frame();  // 82, at 638
   EXPECT_EQ(leftmost(bufferbmp, 128, 100, 148), 638);
   EXPECT_EQ(getpixel(bufferbmp, 638, 100), 128);
   EXPECT_EQ(getpixel(bufferbmp, 638, 139), 128);
   EXPECT_EQ(getpixel(bufferbmp, 638, 140), 0) << "the glyphs are 40 rows";
   EXPECT_EQ(leftmost(screenbmp, 128, 100, 148), 638) << "and the band copied";

   frames(161 - 82);  // scroller 2 drawn at 640 in frame 161
   EXPECT_EQ(leftmost(bufferbmp, 129, 336, 384), -1);
   frame();  // 162, at 639
   EXPECT_EQ(leftmost(bufferbmp, 129, 336, 384), 639);
   EXPECT_EQ(leftmost(screenbmp, 129, 336, 384), 639);
}

TEST_F(Scrollers, IntensitySequencesWrapAtAByteAndShowSixBits)
{
   std::vector<int> seen1, seen2;
   for (int f = 1; f <= 4 * 40; f++) {
      markdisplay();
      frame();
      if (test::pushed(128)) {
         EXPECT_EQ(shown(128).r, pal[128].r & 63) << "frame " << f;
         EXPECT_EQ(shown(128).g, shown(128).b);
         seen1.push_back(pal[128].r);
      }
      if (test::pushed(129)) {
         EXPECT_EQ(shown(129).r, pal[129].r & 63) << "frame " << f;
         seen2.push_back(pal[129].r);
      }
      if (f < 4) {
         EXPECT_EQ(pal[128].r + pal[129].r, 0) << "black until the first pulse";
      }
   }
   ASSERT_EQ(seen1.size(), 40u);
   ASSERT_EQ(seen2.size(), 40u);
   EXPECT_EQ(seen1[0], 8);
   EXPECT_EQ(seen1[30], 248);
   EXPECT_EQ(seen1[31], 0);
   EXPECT_EQ(seen1[32], 8);
   EXPECT_EQ(seen2[0], 38);
   EXPECT_EQ(seen2[27], 254);
   EXPECT_EQ(seen2[28], 6);
   EXPECT_EQ(seen2[31], 30);
   EXPECT_EQ(seen2[32], 38) << "a full cycle is 32 pulses";
}

TEST_F(Scrollers, BandClearCoversFortyNineRows)
{
   clear_to_color(bufferbmp, test::paper);
   frame();  // both texts are still off the right edge
   for (int y : {scrollline1, scrollline2}) {
      EXPECT_TRUE(test::allrows(bufferbmp, test::paper, y - 1, y - 1)) << y;
      EXPECT_TRUE(test::allrows(bufferbmp, 0, y, y + bandheight)) << y;
      EXPECT_TRUE(test::allrows(bufferbmp, test::paper, y + bandheight + 1,
                                y + bandheight + 1)) << y;
   }
}

}  // namespace
