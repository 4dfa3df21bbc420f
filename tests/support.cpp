// Headless library set-up and the fixtures shared by the tests.
#include "support.h"

#include <cerrno>
#include <cstdlib>

namespace test {

namespace {

// The library comes up once per test program, with no display.
class Headless : public ::testing::Environment {
public:
   void SetUp() override
   {
      ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
      set_color_depth(8);
      text_mode(-1);
   }
};

const auto *headless = ::testing::AddGlobalTestEnvironment(new Headless);

void noretrace() {}

}  // namespace

FONT *blockfont(int first, int last, int w, int h)
{
   int count = last - first + 1;
   BITMAP *sheet = create_bitmap(count * (w + 1) + 1, h + 2);
   clear_to_color(sheet, 255);
   for (int i = 0; i < count; i++)
      rectfill(sheet, 1 + i * (w + 1), 1, i * (w + 1) + w, h, 1);
   FONT *f = grab_font_from_bitmap(sheet);
   destroy_bitmap(sheet);
   if (f && first != 32)
      transpose_font(f, first - 32);
   return f;
}

void markdisplay()
{
   PALETTE marks;
   for (int i = 0; i < 256; i++)
      marks[i] = RGB{sentinel, static_cast<unsigned char>(i), sentinel, 0};
   set_palette_range(marks, 0, 255, 0);
}

RGB shown(int index)
{
   PALETTE now;
   get_palette(now);
   return now[index];
}

bool pushed(int index)
{
   return shown(index).r != sentinel;
}

int leftmost(BITMAP *bmp, int c, int y0, int y1)
{
   for (int x = 0; x < bmp->w; x++)
      for (int y = y0; y <= y1; y++)
         if (getpixel(bmp, x, y) == c)
            return x;
   return -1;
}

int rightmost(BITMAP *bmp, int c, int y0, int y1)
{
   for (int x = bmp->w - 1; x >= 0; x--)
      for (int y = y0; y <= y1; y++)
         if (getpixel(bmp, x, y) == c)
            return x;
   return -1;
}

bool samerows(BITMAP *a, BITMAP *b, int y0, int y1)
{
   for (int y = y0; y <= y1; y++)
      for (int x = 0; x < a->w; x++)
         if (getpixel(a, x, y) != getpixel(b, x, y))
            return false;
   return true;
}

bool allrows(BITMAP *bmp, int c, int y0, int y1)
{
   for (int y = y0; y <= y1; y++)
      for (int x = 0; x < bmp->w; x++)
         if (getpixel(bmp, x, y) != c)
            return false;
   return true;
}

void Intro::SetUp()
{
   intro::resetintro();
   screenbmp = create_bitmap(intro::screenw, intro::screenh);
   bufferbmp = create_bitmap(intro::screenw, intro::screenh);
   logobmp = create_bitmap(intro::screenw, intro::screenh);
   fontobj = blockfont();
   ASSERT_TRUE(screenbmp && bufferbmp && logobmp && fontobj);
   clear_to_color(screenbmp, paper);
   clear_to_color(bufferbmp, 0);  // as start-up leaves it
   for (int y = 0; y < logobmp->h; y++)
      for (int x = 0; x < logobmp->w; x++)
         putpixel(logobmp, x, y, (x + y) & 1);
   screen = screenbmp;
   intro::buffer = bufferbmp;
   intro::logo = logobmp;
   intro::myfont = fontobj;
   markdisplay();
}

void Intro::TearDown()
{
   screen = nullptr;
   intro::resetintro();
   destroy_bitmap(screenbmp);
   destroy_bitmap(bufferbmp);
   destroy_bitmap(logobmp);
   destroy_font(fontobj);
}

void Intro::frame()
{
   intro::runframe(noretrace);
   framesrun++;
}

void Intro::frames(int n)
{
   for (int i = 0; i < n; i++)
      frame();
}

}  // namespace test
