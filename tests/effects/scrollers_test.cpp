// The scrollers: positions, pulses and intensities at the first frames, the
// byte wrap of an intensity and two wraps of each text. The first frames each
// shows on screen are golden frames of the capture test.
#include "support.h"

using namespace intro;

class Scrollers : public test::Intro {};

TEST_F(Scrollers, PositionsAndPulsesAtTheirJoints)
{
   // After frame f: scroller 1's x, intensity and the display's entry 128
   // (-1: not pushed in that frame), then scroller 2's with entry 129. A text
   // wraps to 640 once its x is past -6704 (-5440); a pulse adds 8 where the
   // new x is a multiple of 8 (4), so a wrap pulses two frames running.
   const int joints[][7] = {
      {1, 798, 0, -1, 799, 30, -1},          {4, 792, 8, 8, 796, 38, 38},
      {116, 568, 232, 40, 684, 6, 6},        {128, 544, 0, 0, 672, 30, 30},
      {3752, -6704, 80, 16, -2952, 110, 46}, {3753, 640, 88, 24, -2953, 110, -1},
      {3754, 638, 88, -1, -2954, 110, -1},   {3757, 632, 96, 32, -2957, 118, -1},
      {6240, -4334, 192, -1, -5440, 222, 30}, {6241, -4336, 200, 8, 640, 230, 38},
      {6242, -4338, 200, -1, 639, 230, -1},  {6245, -4344, 208, 16, 636, 238, 46},
      {7425, -6704, 8, 8, -544, 38, 38},     {7426, 640, 16, 16, -545, 38, -1},
      {12321, -1804, 80, -1, -5440, 102, 38}, {12322, -1806, 80, -1, 640, 110, 46}};
   for (const auto &j : joints) {
      to(j[0]);
      EXPECT_EQ((std::vector<int>{sp1, fcol1, test::shown(128), sp2, fcol2, test::shown(129)}),
                std::vector<int>(j + 1, j + 7)) << "frame " << j[0];
   }
}
