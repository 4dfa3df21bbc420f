// The working palette: raw bytes in pal, low 6 bits on the display, and only
// the pushed range reaches the display.
#include "support.h"

namespace {

using namespace intro;
using test::pushed;
using test::shown;

class Palette : public test::Intro {};

TEST_F(Palette, SetpalcolorKeepsTheLowEightBitsOfIndexAndComponents)
{
   _setpalcolor(256 + 130, 300, 0x1ff, -1);
   EXPECT_EQ(pal[130].r, 300 & 255);
   EXPECT_EQ(pal[130].g, 255);
   EXPECT_EQ(pal[130].b, 255);
   for (int i = 0; i < 256; i++) {
      if (i != 130) {
         EXPECT_EQ(pal[i].r + pal[i].g + pal[i].b, 0) << "entry " << i;
      }
   }
   EXPECT_FALSE(pushed(130)) << "writing pal alone must not reach the display";
}

TEST_F(Palette, PushShowsTheLowSixBitsAndKeepsTheRawByte)
{
   _setpalcolor(128, 200, 64, 63);
   _setpalcolor(129, 1, 2, 3);
   pushpal(128, 128);

   RGB seen = shown(128);
   EXPECT_EQ(seen.r, 200 & 63);
   EXPECT_EQ(seen.g, 0);
   EXPECT_EQ(seen.b, 63);
   EXPECT_EQ(pal[128].r, 200) << "pal keeps the raw byte";
   EXPECT_EQ(pal[128].g, 64);
   EXPECT_FALSE(pushed(127));
   EXPECT_FALSE(pushed(129)) << "only the range asked for is pushed";
}

TEST_F(Palette, PushOfARangeTakesEveryEntryInIt)
{
   _setpalcolor(1, 10, 10, 10);
   pushpal(1, 3);
   EXPECT_FALSE(pushed(0));
   EXPECT_EQ(shown(1).g, 10);
   EXPECT_EQ(shown(2).r, 0) << "entries 2 and 3 ride along, black";
   EXPECT_EQ(shown(3).b, 0);
   EXPECT_FALSE(pushed(4));
}

}  // namespace
