// The logo and background flashes over several periods, frame by frame,
// against their timelines: 59 in the first frame, one step down a frame to the
// floor, a reload frame that writes nothing, then a full rest.
#include "support.h"

namespace {

using namespace intro;
using test::markdisplay;
using test::pushed;
using test::shown;

class Flashes : public test::Intro {};

// What a flash writes in frame f (1-based), or -1 for no write.
int expected(int f, int period, int floor)
{
   int p = (f - 1) % period;
   int steps = 59 - floor + 1;
   return p < steps ? 59 - p : -1;
}

TEST_F(Flashes, LogoAndBackgroundFollowTheirTimelinesFrameByFrame)
{
   const int logoperiod = 419, backperiod = 317;
   int logowrites = 0, backwrites = 0;
   for (int f = 1; f <= 3 * logoperiod + 2; f++) {
      markdisplay();
      frame();
      int logo = expected(f, logoperiod, 10);
      int back = expected(f, backperiod, 0);
      if (logo < 0) {
         EXPECT_FALSE(pushed(1)) << "frame " << f;
      } else {
         ASSERT_TRUE(pushed(1)) << "frame " << f;
         EXPECT_EQ(shown(1).r, logo) << "frame " << f;
         EXPECT_EQ(shown(1).b, logo) << "frame " << f;
         EXPECT_EQ(shown(2).r, 0) << "frame " << f;
         EXPECT_EQ(shown(3).r, 0) << "frame " << f;
         logowrites++;
      }
      if (back < 0) {
         EXPECT_FALSE(pushed(0)) << "frame " << f;
      } else {
         ASSERT_TRUE(pushed(0)) << "frame " << f;
         EXPECT_EQ(shown(0).g, back) << "frame " << f;
         backwrites++;
      }
   }
   EXPECT_EQ(logowrites, 3 * 50 + 2);  // flashes from 1, 420, 839 and 1258
   EXPECT_EQ(backwrites, 4 * 60);      // flashes from 1, 318, 635 and 952
}

TEST_F(Flashes, EdgesOfTheFirstPeriods)
{
   frame();
   EXPECT_EQ(pal[0].r, 59) << "the run opens with a bright flash";
   EXPECT_EQ(pal[1].r, 59);

   frames(49);  // frame 50: the logo's floor
   EXPECT_EQ(pal[1].r, 10);
   EXPECT_EQ(wflf, 368);
   frame();  // 51: reload, nothing written
   EXPECT_EQ(wflf, 0);
   EXPECT_EQ(lfcol, 60);
   EXPECT_EQ(pal[1].r, 10) << "the reloaded 60 is never written";

   frames(9);  // frame 60: the background's floor
   EXPECT_EQ(pal[0].r, 0);
   frame();  // 61: reload
   EXPECT_EQ(wffsf, 0);
   EXPECT_EQ(fsfcol, 60);

   frames(317 - 61);  // frame 317: last frame of rest
   EXPECT_EQ(wffsf, 256);
   EXPECT_EQ(pal[0].r, 0);
   frame();  // 318
   EXPECT_EQ(pal[0].r, 59);

   frames(419 - 318);  // 419: the logo's last rest frame
   EXPECT_EQ(pal[1].r, 10);
   EXPECT_EQ(wflf, 368);
   frame();  // 420
   EXPECT_EQ(pal[1].r, 59);
}

}  // namespace
