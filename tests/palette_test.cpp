// The working palette: raw bytes in pal, the low 6 bits on the display, and
// only the pushed range reaches it.
#include "support.h"

using namespace intro;
using test::shown;

class Palette : public test::Intro {};

TEST_F(Palette, RawBytesInPalLowSixBitsOnTheDisplay)
{
   _setpalcolor(256 + 128, 200, 200, 200);  // the index wraps to a byte
   _setpalcolor(1, 0x1ff, 0x1ff, 0x1ff);    // and so do components
   EXPECT_EQ(pal[1].b, 255);
   EXPECT_EQ(shown(128), -1) << "writing pal alone shows nothing";
   pushpal(128, 128);
   EXPECT_EQ(shown(128), 200 & 63);
   EXPECT_EQ(pal[128].r, 200) << "pal keeps the raw byte";
   EXPECT_EQ(shown(127), -1);
   EXPECT_EQ(shown(129), -1);
   pushpal(1, 3);
   EXPECT_EQ(shown(0), -1);
   EXPECT_EQ(shown(1), 63);
   EXPECT_EQ(shown(3), 0) << "entries 2 and 3 ride along, black";
   EXPECT_EQ(shown(4), -1);
}
