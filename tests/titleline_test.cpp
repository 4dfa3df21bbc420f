// The title line: entry 130 over a whole cycle of three captions, where each
// caption lands on the screen, the black-glyph frame, the wipe from the logo,
// and the reset from an out-of-range caption number.
#include "support.h"

#include <cstring>

namespace {

using namespace intro;
using test::markdisplay;
using test::pushed;
using test::shown;

class TitleLine : public test::Intro {
protected:
   // The caption's rectangle in the block font: rows 225..264, centred on 320.
   void expectcaption(int which, const char *when)
   {
      int len = static_cast<int>(std::strlen(caption[which])) * test::blockw;
      int x0 = 320 - len / 2;
      EXPECT_EQ(test::leftmost(screenbmp, 130, 225, 264), x0) << when;
      EXPECT_EQ(test::rightmost(screenbmp, 130, 225, 264), x0 + len - 1) << when;
      EXPECT_EQ(getpixel(screenbmp, x0, 225), 130) << when;
      EXPECT_EQ(getpixel(screenbmp, x0, 264), 130) << when;
      EXPECT_NE(getpixel(screenbmp, x0, 224), 130) << when;
      EXPECT_NE(getpixel(screenbmp, x0, 265), 130) << when;
   }
   bool bandislogo() { return test::samerows(screenbmp, logobmp, 225, 272); }
};

// What entry 130 is set to in frame f (1-based) of a 331-frame cycle, or -1.
int expected(int f)
{
   int p = (f - 1) % 331;
   if (p < 15)
      return 4 * (p + 1);
   if (p >= 315 && p < 330)
      return 56 - 4 * (p - 315);
   return -1;
}

TEST_F(TitleLine, EntryOneThirtyOverThreeCaptions)
{
   int atsixty = 0;
   for (int f = 1; f <= 993 + 331; f++) {
      markdisplay();
      frame();
      int want = expected(f);
      if (want < 0) {
         EXPECT_FALSE(pushed(130)) << "frame " << f;
      } else {
         ASSERT_TRUE(pushed(130)) << "frame " << f;
         EXPECT_EQ(shown(130).r, want) << "frame " << f;
         EXPECT_EQ(shown(130).b, want) << "frame " << f;
      }
      if (f <= 331 && pal[130].r == 60)
         atsixty++;
   }
   EXPECT_EQ(atsixty, 301);
}

TEST_F(TitleLine, FadeInDrawsFirstHoldDrawsNothingFadeOutDrawsLast)
{
   frame();
   EXPECT_EQ(pal[130].r, 4) << "caption 0 at intensity 4 in frame 1";
   expectcaption(0, "frame 1");

   // rub the caption out: only the fade frames may draw it again
   blit(logobmp, screenbmp, 0, 225, 0, 225, 640, 48);
   frames(14);  // 2..15, the last with intensity 60
   expectcaption(0, "frame 15");
   EXPECT_EQ(pal[130].r, 60);
   EXPECT_EQ(fs, 2);

   blit(logobmp, screenbmp, 0, 225, 0, 225, 640, 48);
   frames(300);  // 16..315, held
   EXPECT_TRUE(bandislogo()) << "holding draws nothing";
   EXPECT_EQ(pal[130].r, 60);
   EXPECT_EQ(fs, 3);

   frames(14);  // 316..329, fading out
   expectcaption(0, "frame 329");
   EXPECT_EQ(pal[130].r, 4);
}

TEST_F(TitleLine, BlackGlyphFrameThenWipeFromTheLogo)
{
   frames(330);
   EXPECT_EQ(pal[130].r, 0);
   EXPECT_EQ(fs, 4);
   expectcaption(0, "frame 330: black glyphs on the logo");
   EXPECT_FALSE(bandislogo());

   frame();  // 331: the wipe
   EXPECT_TRUE(bandislogo());
   EXPECT_TRUE(test::allrows(screenbmp, test::paper, 224, 224));
   EXPECT_TRUE(test::allrows(screenbmp, test::paper, 273, 273));
   EXPECT_EQ(tls, 1);
   EXPECT_EQ(fs, 1);

   frame();  // 332: caption 1 fades in
   expectcaption(1, "frame 332");
   frames(331);
   expectcaption(2, "frame 663");
}

TEST_F(TitleLine, AfterTheThirdCaptionTheFirstReturnsOneFrameLate)
{
   frames(993);
   EXPECT_EQ(tls, 3);
   EXPECT_TRUE(bandislogo());

   markdisplay();
   frame();  // 994: out of range, reset, nothing drawn, palette still rises
   EXPECT_EQ(tls, 0);
   EXPECT_TRUE(bandislogo());
   EXPECT_EQ(shown(130).r, 4);

   frame();  // 995
   expectcaption(0, "frame 995");
   EXPECT_EQ(pal[130].r, 8);
}

TEST_F(TitleLine, OutOfRangeCaptionOrPhaseDrawsNothing)
{
   blit(logobmp, screenbmp, 0, 0, 0, 0, 640, 480);
   for (int bad : {-1, 3, 7}) {
      tls = bad;
      drawTextLine();
      EXPECT_EQ(tls, 0) << bad;
      EXPECT_TRUE(bandislogo()) << bad;
   }

   fs = 5;
   tlc = 20;
   markdisplay();
   textlineflasher();
   EXPECT_EQ(fs, 5);
   EXPECT_EQ(tlc, 20);
   EXPECT_FALSE(pushed(130));
   EXPECT_TRUE(bandislogo());
}

}  // namespace
