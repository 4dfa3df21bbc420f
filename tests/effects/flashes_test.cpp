// The logo and background flashes at their joints: 59 in the first frame, one
// step down a frame to the floor, a reload frame that writes nothing, the rest,
// and the next flash one period after the last.
#include "support.h"

class Flashes : public test::Intro {};

TEST_F(Flashes, EntriesZeroAndOneAtTheirJoints)
{
   // frame, then entry 0 (background, every 317 frames, down to 0) and entry 1
   // (logo, every 419, down to 10) as shown after it, -1 where nothing is pushed
   const int joints[][3] = {{1, 59, 59},    {2, 58, 58},    {50, 10, 10},  {51, 9, -1},
                            {60, 0, -1},    {61, -1, -1},   {317, -1, -1}, {318, 59, -1},
                            {377, 0, -1},   {419, -1, -1},  {420, -1, 59}, {469, -1, 10},
                            {470, -1, -1},  {635, 59, -1},  {838, -1, -1}, {839, -1, 59}};
   for (const auto &j : joints) {
      to(j[0]);
      EXPECT_EQ(test::shown(0), j[1]) << "frame " << j[0];
      EXPECT_EQ(test::shown(1), j[2]) << "frame " << j[0];
      if (j[2] >= 0) {
         EXPECT_EQ(test::shown(3), 0) << "entries 2 and 3 ride along, black";
      }
   }
}
