// The contact sheet's thumbnails: each pixel is the mean of its frame's 2x2
// block, rounded to the nearest level. Frame 350 has blocks whose mean falls
// half way: the checkerboard the caption band was wiped from, its two
// colours at levels of unlike parity (background 27, logo 10, widened to 8
// bits as 109 and 40).
#include "capture.h"
#include "support.h"

class Sheet : public test::Intro {};

TEST_F(Sheet, ThumbnailPixelsAreTheRoundedMeansOfTheirBlocks)
{
   to(350);
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
}
