// The working palette: raw bytes in pal, the low 6 bits on the display, and
// only the pushed range reaches it.
#include "support.h"

using namespace intro;
using test::pushed;
using test::shown;

class Palette : public test::Intro {};

TEST_F(Palette, RawBytesInPalLowSixBitsOnTheDisplay)
{
   _setpalcolor(256 + 128, 200, 0x1ff, -1);  // index and components wrap to a byte
   EXPECT_EQ(pal[128].r, 200);
   EXPECT_EQ(pal[128].g, 255);
   EXPECT_EQ(pal[128].b, 255);
   EXPECT_FALSE(pushed(128)) << "writing pal alone shows nothing";

   _setpalcolor(1, 10, 20, 30);
   pushpal(128, 128);
   EXPECT_EQ(shown(128).r, 200 & 63);
   EXPECT_EQ(shown(128).g, 63);
   EXPECT_EQ(pal[128].r, 200) << "pal keeps the raw byte";
   EXPECT_FALSE(pushed(127));
   EXPECT_FALSE(pushed(129));

   pushpal(1, 3);
   EXPECT_FALSE(pushed(0));
   EXPECT_EQ(shown(1).b, 30);
   EXPECT_EQ(shown(3).r, 0) << "entries 2 and 3 ride along, black";
   EXPECT_FALSE(pushed(4));
}
