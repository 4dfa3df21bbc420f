// The logo and background flashes over several periods, frame by frame: 59
// in the first frame, one step down a frame to the floor, a reload frame that
// writes nothing, then the rest.
#include "support.h"

using namespace intro;
using test::pushed;
using test::shown;

class Flashes : public test::Intro {};

// What a flash writes in frame f (from 1), or -1 for nothing.
static int flash(int f, int period, int floor)
{
   int p = (f - 1) % period;
   return p <= 59 - floor ? 59 - p : -1;
}

TEST_F(Flashes, TimelinesOverThreeLogoPeriods)
{
   int writes[2] = {0, 0};
   for (int f = 1; f <= 3 * 419 + 2; f++) {
      test::markdisplay();
      frames();
      int want[2] = {flash(f, 317, 0), flash(f, 419, 10)};  // entries 0 and 1
      for (int e = 0; e < 2; e++) {
         ASSERT_EQ(pushed(e), want[e] >= 0) << "entry " << e << ", frame " << f;
         if (want[e] >= 0) {
            EXPECT_EQ(shown(e).r, want[e]) << "entry " << e << ", frame " << f;
            EXPECT_EQ(shown(e).b, want[e]) << "entry " << e << ", frame " << f;
            writes[e]++;
         }
      }
      if (want[1] >= 0) {
         EXPECT_EQ(shown(2).g + shown(3).g, 0) << "frame " << f;
      }
   }
   EXPECT_EQ(writes[0], 4 * 60);      // flashes from frames 1, 318, 635, 952
   EXPECT_EQ(writes[1], 3 * 50 + 2);  // from 1, 420, 839 and 1258
}
