// The contact sheet's thumbnails: each pixel is the mean of its frame's 2x2
// block, rounded to the nearest level, in a frame whose glyph and letter
// edges make blocks of unlike levels.
#include "capture.h"

#include <gtest/gtest.h>

TEST(Sheet, ThumbnailPixelsAreTheRoundedMeansOfTheirBlocks)
{
   ASSERT_EQ(capture::start(INTRO), nullptr);
   while (capture::frame < 300)  // the caption held, the logo at rest
      capture::advance();
   std::vector<unsigned char> full;
   capture::rgb(full);
   capture::Sheet sheet;
   sheet.columns = 1;
   ASSERT_EQ(capture::sheetsize(sheet, 1), "");
   capture::addtosheet(sheet);
   constexpr int w = intro::screenw, gap = 4;  // the thumbnail's corner is at (gap, gap)
   long wrong = 0, roundedup = 0;
   for (int y = 0; y < intro::screenh / 2; y++)
      for (int x = 0; x < w / 2; x++)
         for (int c = 0; c < 3; c++) {
            int sum = 0;
            for (int d : {0, 1, w, w + 1})
               sum += full[size_t((2 * y * w + 2 * x + d) * 3 + c)];
            wrong += sheet.pixels[size_t(((gap + y) * sheet.w + gap + x) * 3 + c)] != (sum + 2) / 4;
            roundedup += sum % 4 >= 2;
         }
   EXPECT_EQ(wrong, 0);
   EXPECT_GT(roundedup, 0) << "no block whose mean rounds up: the frame tells nothing";
   capture::stop();
}
