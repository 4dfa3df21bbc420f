// Shared fixtures for the headless tests. The library runs with no display
// (SYSTEM_NONE); screen and buffer are memory bitmaps, logo is a checkerboard so
// that any shifted or mis-sized copy of it shows, and the font is made of solid
// blocks so that a drawn text's ink starts exactly at its x.
#pragma once

#include "intro.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace test {

constexpr int blockw = 10;  // width of every glyph of the block font, pixels
constexpr int blockh = 40;  // height of every glyph, pixels
constexpr int sentinel = 200;  // a component no push can show (pushes are 0..63)
constexpr int paper = 9;  // colour the fixture fills screen and buffer with

// Makes a font of solid blocks, characters first..last, in colour 1.
FONT *blockfont(int first = 32, int last = 126, int w = blockw, int h = blockh);

// Sets display entries 0..255 to (sentinel, index, sentinel).
void markdisplay();
// The display's entry as pushed, or nothing since the last markdisplay().
bool pushed(int index);
RGB shown(int index);

// Leftmost and rightmost column holding colour c in rows y0..y1 of bmp, or -1.
int leftmost(BITMAP *bmp, int c, int y0, int y1);
int rightmost(BITMAP *bmp, int c, int y0, int y1);
// Rows y0..y1 of a and b hold the same pixels.
bool samerows(BITMAP *a, BITMAP *b, int y0, int y1);
// Every pixel of rows y0..y1 of bmp is c.
bool allrows(BITMAP *bmp, int c, int y0, int y1);

// Screen, buffer, logo and block font bound, every global at its start value.
class Intro : public ::testing::Test {
protected:
   void SetUp() override;
   void TearDown() override;
   void frame();           // one frame, no retrace wait
   void frames(int n);     // n frames
   int framesrun = 0;      // frames since SetUp
   BITMAP *screenbmp = nullptr, *bufferbmp = nullptr, *logobmp = nullptr;
   FONT *fontobj = nullptr;
};

}  // namespace test
