// Fixtures for the headless tests: the library with no display, memory
// bitmaps for screen and buffer, a checkerboard logo (any shifted or resized
// copy of it shows) and a font of solid 10x40 blocks (a text's ink starts
// exactly at its x). The display palette is marked with a value no push can
// leave (pushes are 0..63), so a test sees which entries a frame pushed.
#pragma once

#include "intro.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace test {

constexpr int blockw = 10, blockh = 40;  // glyph size of the block font, pixels
constexpr int mark = 200;                // display component before a push
constexpr int paper = 9;                 // colour screen starts filled with

inline void markdisplay()
{
   PALETTE marks;
   for (RGB &e : marks)
      e = RGB{mark, mark, mark, 0};
   set_palette_range(marks, 0, 255, 0);
}

// What the display shows in an entry: its grey level, -1 when nothing was
// pushed there since markdisplay(), -2 when it is not grey.
inline int shown(int index)
{
   PALETTE now;
   get_palette(now);
   const RGB &e = now[index];
   return e.r == mark ? -1 : e.r == e.g && e.g == e.b ? e.r : -2;
}

// First and last column holding colour c in rows y0..y1, or (-1, -1).
inline std::pair<int, int> span(BITMAP *bmp, int c, int y0, int y1)
{
   std::pair<int, int> s{-1, -1};
   for (int x = 0; x < bmp->w; x++)
      for (int y = y0; y <= y1; y++)
         if (getpixel(bmp, x, y) == c) {
            s = {s.first < 0 ? x : s.first, x};
            break;
         }
   return s;
}

// Every pixel of rows y0..y1 is c, or (with c < 0) the same as in b.
inline bool rows(BITMAP *a, int y0, int y1, int c, BITMAP *b = nullptr)
{
   for (int y = y0; y <= y1; y++)
      for (int x = 0; x < a->w; x++)
         if (getpixel(a, x, y) != (b ? getpixel(b, x, y) : c))
            return false;
   return true;
}

class Headless : public ::testing::Environment {
   void SetUp() override
   {
      ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
      set_color_depth(8);
      text_mode(-1);
   }
};
inline auto *const headless = ::testing::AddGlobalTestEnvironment(new Headless);

inline void noretrace() {}

// Screen, buffer, logo and font bound, every global at its start value.
class Intro : public ::testing::Test {
protected:
   void SetUp() override
   {
      intro::resetintro();
      screen = screenbmp = create_bitmap(640, 480);
      intro::buffer = bufferbmp = create_bitmap(640, 480);
      intro::logo = logobmp = create_bitmap(640, 480);
      // a grabber sheet of solid glyphs for characters 32..126, framed by 255
      BITMAP *sheet = create_bitmap(95 * (blockw + 1) + 1, blockh + 2);
      clear_to_color(sheet, 255);
      for (int i = 0; i < 95; i++)
         rectfill(sheet, 1 + i * (blockw + 1), 1, (i + 1) * (blockw + 1) - 1, blockh, 1);
      intro::myfont = fontobj = grab_font_from_bitmap(sheet);
      destroy_bitmap(sheet);
      clear_to_color(screenbmp, paper);
      clear_to_color(bufferbmp, 0);
      for (int y = 0; y < 480; y++)
         for (int x = 0; x < 640; x++)
            putpixel(logobmp, x, y, (x + y) & 1);
      markdisplay();
   }
   void TearDown() override
   {
      intro::resetintro();
      screen = nullptr;
      destroy_bitmap(screenbmp);
      destroy_bitmap(bufferbmp);
      destroy_bitmap(logobmp);
      destroy_font(fontobj);
   }
   // Runs frames up to frame f (from 1), the display marked before the last.
   void to(int f)
   {
      for (; played < f - 1; played++)
         intro::runframe(noretrace);
      markdisplay();
      intro::runframe(noretrace);
      played = f;
   }
   int played = 0;  // frames run so far
   BITMAP *screenbmp, *bufferbmp, *logobmp;
   FONT *fontobj;
};

}  // namespace test
