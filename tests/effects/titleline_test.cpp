// The title line: entry 130 at the joints of its cycle of three captions and
// into the next, where each caption lands, the black-glyph frame, the wipe
// from the logo, and the first caption back a frame late after the last.
#include "support.h"

#include <cstring>

using namespace intro;

class TitleLine : public test::Intro {
protected:
   // Caption n in the block font: rows 225..264, centred on column 320.
   void expectcaption(int n)
   {
      int len = static_cast<int>(std::strlen(caption[n])) * test::blockw;
      EXPECT_EQ(test::span(screenbmp, 130, 225, 264),
                std::make_pair(320 - len / 2, 320 - len / 2 + len - 1)) << "frame " << played;
      EXPECT_EQ(test::span(screenbmp, 130, 0, 224).first, -1) << "frame " << played;
      EXPECT_EQ(test::span(screenbmp, 130, 265, 479).first, -1) << "frame " << played;
   }
   bool bandislogo() { return test::rows(screenbmp, 225, 272, -1, logobmp); }
   void rubout() { blit(logobmp, screenbmp, 0, 225, 0, 225, 640, 48); }
};

TEST_F(TitleLine, EntryOneThirtyAtTheCyclesJoints)
{
   // frame, then entry 130 as shown after it (-1: nothing pushed): 15 frames up
   // in 4s, 300 held, 15 down, a wipe; the first caption again one frame late
   const int joints[][2] = {{1, 4},    {14, 56},   {15, 60},    {16, -1},   {315, -1},
                            {316, 56},  {330, 0},   {331, -1},   {332, 4},   {662, -1},
                            {663, 4},   {993, -1},  {994, 4},    {1008, 60}, {1009, -1}};
   for (const auto &j : joints) {
      to(j[0]);
      EXPECT_EQ(test::shown(130), j[1]) << "frame " << j[0];
   }
}

TEST_F(TitleLine, DrawnWhileFadingKeptWhileHeldBlackThenWiped)
{
   to(1);
   expectcaption(0);
   rubout();
   to(15);  // 2..15 draw again
   expectcaption(0);
   rubout();
   to(315);  // 16..315 hold and draw nothing
   EXPECT_TRUE(bandislogo());
   to(330);  // 316..330 fade out, drawing after each darkening
   expectcaption(0);
   EXPECT_EQ(pal[130].r, 0) << "black glyphs on the logo";
   to(331);  // wipes rows 225..272 from the logo, nothing more
   EXPECT_TRUE(bandislogo());
   EXPECT_TRUE(test::rows(screenbmp, 224, 224, test::paper));
   EXPECT_TRUE(test::rows(screenbmp, 273, 273, test::paper));
   to(332);
   expectcaption(1);
   to(663);
   expectcaption(2);
   to(994);  // one past the last caption: back to the first, nothing drawn, the entry still rises
   EXPECT_EQ(tls, 0);
   EXPECT_TRUE(bandislogo());
   to(995);
   expectcaption(0);
}
