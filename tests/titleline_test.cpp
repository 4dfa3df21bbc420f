// The title line: entry 130 through a whole cycle of three captions and into
// the next, where each caption lands, the black-glyph frame, the wipe from the
// logo and the reset of an out-of-range caption number.
#include "support.h"

#include <cstring>

using namespace intro;

class TitleLine : public test::Intro {
protected:
   // Caption n in the block font: rows 225..264, centred on column 320.
   void expectcaption(int n, int frame)
   {
      int len = static_cast<int>(std::strlen(caption[n])) * test::blockw;
      EXPECT_EQ(test::span(screenbmp, 130, 225, 264),
                std::make_pair(320 - len / 2, 320 - len / 2 + len - 1)) << frame;
      EXPECT_EQ(test::span(screenbmp, 130, 0, 224).first, -1) << frame;
      EXPECT_EQ(test::span(screenbmp, 130, 265, 479).first, -1) << frame;
   }
   bool bandislogo() { return test::samerows(screenbmp, logobmp, 225, 272); }
   void rubout() { blit(logobmp, screenbmp, 0, 225, 0, 225, 640, 48); }
};

// Entry 130 in frame f (from 1): 15 frames up in 4s, 300 held, 15 down, a wipe.
static int expected(int f)
{
   int p = (f - 1) % 331;
   return p < 15 ? 4 * (p + 1) : p >= 315 && p < 330 ? 56 - 4 * (p - 315) : -1;
}

TEST_F(TitleLine, EntryOneThirtyThroughThreeCaptionsAndIntoTheNext)
{
   int atsixty = 0;
   for (int f = 1; f <= 993 + 40; f++) {
      test::markdisplay();
      frames();
      ASSERT_EQ(test::pushed(130), expected(f) >= 0) << "frame " << f;
      if (expected(f) >= 0) {
         EXPECT_EQ(test::shown(130).g, expected(f)) << "frame " << f;
      }
      atsixty += f <= 331 && pal[130].r == 60;
   }
   EXPECT_EQ(atsixty, 301);
}

TEST_F(TitleLine, DrawnWhileFadingKeptWhileHeldBlackThenWiped)
{
   frames();
   EXPECT_EQ(pal[130].r, 4);
   expectcaption(0, 1);
   rubout();
   frames(14);  // 2..15 draw again
   expectcaption(0, 15);
   rubout();
   frames(300);  // 16..315 hold and draw nothing
   EXPECT_TRUE(bandislogo());
   frames(15);  // 316..330 fade out, drawing after each darkening
   expectcaption(0, 330);
   EXPECT_EQ(pal[130].r, 0) << "black glyphs on the logo";

   frames();  // 331 wipes rows 225..272 from the logo, nothing more
   EXPECT_TRUE(bandislogo());
   EXPECT_TRUE(test::allrows(screenbmp, test::paper, 224, 224));
   EXPECT_TRUE(test::allrows(screenbmp, test::paper, 273, 273));
   frames();
   expectcaption(1, 332);
   frames(331);
   expectcaption(2, 663);
}

TEST_F(TitleLine, FirstCaptionReturnsOneFrameLateAfterACycle)
{
   frames(993);
   EXPECT_EQ(tls, 3);
   EXPECT_TRUE(bandislogo());
   frames();  // 994: out of range, back to 0, nothing drawn, entry still rises
   EXPECT_EQ(tls, 0);
   EXPECT_TRUE(bandislogo());
   EXPECT_EQ(pal[130].r, 4);
   frames();
   expectcaption(0, 995);

   for (int bad : {-1, 7}) {
      rubout();
      tls = bad;
      drawTextLine();
      EXPECT_EQ(tls, 0);
      EXPECT_TRUE(bandislogo());
   }
   fs = 5;  // no such phase: nothing happens
   test::markdisplay();
   textlineflasher();
   EXPECT_EQ(fs, 5);
   EXPECT_FALSE(test::pushed(130));
   EXPECT_TRUE(bandislogo());
}
