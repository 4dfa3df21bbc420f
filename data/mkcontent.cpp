// Makes the intro's two content images, byte for byte the same on every run:
// logo.pcx, the word QUIB in chunky block capitals filling 640x480 in colour 1
// on colour 0, and font.pcx, a proportional bitmap font in the library's
// grabber layout (cells framed by colour 255), rendered without anti-aliasing
// from DejaVu Sans Bold through FreeType. The font's height is fixed by the
// band it must fit; its width is tuned so that each scroll text fills 90 to 100
// percent of the fixed length after which it wraps.
//
//    mkcontent OUTDIR [FONTFILE]
#include "intro.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// ---- the logo --------------------------------------------------------------

constexpr int margin = 8;         // empty border around the word, pixels
constexpr int gap = 12;           // between letters, pixels
constexpr int stroke = 52;        // vertical stroke width, pixels
constexpr int bar = 58;           // horizontal stroke height, pixels
constexpr int chamfer = 34;       // corner cut, pixels
constexpr int letterw = (intro::screenw - 2 * margin - 3 * gap) / 4;
constexpr int letterh = intro::screenh - 2 * margin;

// A box with its four corners cut at 45 degrees; cut = 0 leaves it square.
void cutbox(BITMAP *bmp, int x0, int y0, int x1, int y1, int cut, int colour)
{
   int points[] = {x0 + cut, y0, x1 - cut, y0, x1, y0 + cut, x1, y1 - cut,
                   x1 - cut, y1, x0 + cut, y1, x0, y1 - cut, x0, y0 + cut};
   polygon(bmp, 8, points, colour);
}

// A bar of the given thickness along the line from (x0, y0) to (x1, y1).
void thickline(BITMAP *bmp, int x0, int y0, int x1, int y1, int thick, int colour)
{
   double dx = x1 - x0, dy = y1 - y0, len = std::sqrt(dx * dx + dy * dy);
   int nx = static_cast<int>(std::lround(-dy / len * thick / 2));
   int ny = static_cast<int>(std::lround(dx / len * thick / 2));
   int points[] = {x0 + nx, y0 + ny, x1 + nx, y1 + ny,
                   x1 - nx, y1 - ny, x0 - nx, y0 - ny};
   polygon(bmp, 4, points, colour);
}

void letterQ(BITMAP *bmp, int x, int y)
{
   int r = x + letterw - 1, b = y + letterh - 1;
   cutbox(bmp, x, y, r, b, chamfer, 1);
   rectfill(bmp, x + stroke, y + bar, r - stroke, b - bar, 0);
   // the tail: a diagonal bar from inside the counter out through the
   // bottom right corner, set off from the frame by a black rim
   int x0 = (x + r) / 2, y0 = b - bar - 40;
   thickline(bmp, x0, y0, r + 20, b + 20, stroke, 0);
   thickline(bmp, x0, y0, r + 20, b + 20, stroke - 16, 1);
}

void letterU(BITMAP *bmp, int x, int y)
{
   int r = x + letterw - 1, b = y + letterh - 1;
   cutbox(bmp, x, y - chamfer, r, b, chamfer, 1);  // square at the top
   rectfill(bmp, x, y - chamfer, r, y - 1, 0);
   rectfill(bmp, x + stroke, y, r - stroke, b - bar, 0);
}

void letterI(BITMAP *bmp, int x, int y)
{
   int r = x + letterw - 1, b = y + letterh - 1;
   int inset = (letterw - 2 * stroke + 30) / 2;
   cutbox(bmp, x, y, r, y + bar - 1, chamfer / 2, 1);
   rectfill(bmp, x + inset, y, r - inset, b, 1);
   cutbox(bmp, x, b - bar + 1, r, b, chamfer / 2, 1);
}

void letterB(BITMAP *bmp, int x, int y)
{
   int r = x + letterw - 1, b = y + letterh - 1;
   int mid = y + letterh / 2;
   cutbox(bmp, x - chamfer, y, r, mid + bar / 2, chamfer, 1);
   cutbox(bmp, x - chamfer, mid - bar / 2, r, b, chamfer, 1);
   rectfill(bmp, x - chamfer, y, x - 1, b, 0);  // square on the left
   rectfill(bmp, x + stroke, y + bar, r - stroke, mid - bar / 2 - 1, 0);
   rectfill(bmp, x + stroke, mid + bar / 2 + 1, r - stroke, b - bar, 0);
}

BITMAP *makelogo()
{
   BITMAP *bmp = create_bitmap(intro::screenw, intro::screenh);
   clear_to_color(bmp, 0);
   void (*letters[])(BITMAP *, int, int) = {letterQ, letterU, letterI, letterB};
   for (int i = 0; i < 4; i++) {
      // each letter draws into its own cell only
      BITMAP *cell = create_sub_bitmap(bmp, margin + i * (letterw + gap), margin,
                                       letterw, letterh);
      letters[i](cell, 0, 0);
      destroy_bitmap(cell);
   }
   return bmp;
}

// ---- the font --------------------------------------------------------------

constexpr int cellh = 40;     // every glyph's height, pixels
constexpr int inktop = 6;     // first row any glyph inks
constexpr int inkbottom = 39; // last row any glyph inks
constexpr int minwidth = 8;   // narrowest glyph cell, pixels
constexpr int maxwidth = 39;  // widest glyph cell, pixels
constexpr int sheetw = 640;   // width of the grabber sheet, pixels

struct Glyph {
   int advance;  // cell width, pixels
   int left;     // ink offset from the cell's left edge, pixels
   int top;      // ink rows above the baseline
   std::vector<unsigned char> ink;  // rows x width, 1 = ink
   int width, rows;
};

struct Face {
   FT_Library lib = nullptr;
   FT_Face face = nullptr;
};

bool render(Face &ft, int c, Glyph &g)
{
   if (FT_Load_Char(ft.face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO |
                                   FT_LOAD_MONOCHROME))
      return false;
   FT_GlyphSlot s = ft.face->glyph;
   g.advance = static_cast<int>((s->advance.x + 32) >> 6);
   g.left = s->bitmap_left;
   g.top = s->bitmap_top;
   g.width = static_cast<int>(s->bitmap.width);
   g.rows = static_cast<int>(s->bitmap.rows);
   g.ink.assign(static_cast<size_t>(g.width * g.rows), 0);
   for (int y = 0; y < g.rows; y++)
      for (int x = 0; x < g.width; x++) {
         const unsigned char *row = s->bitmap.buffer + y * s->bitmap.pitch;
         g.ink[static_cast<size_t>(y * g.width + x)] = (row[x >> 3] >> (7 - (x & 7))) & 1;
      }
   return true;
}

// Renders 32..126 at a pixel size; cell widths take the ink's overhang too.
bool renderset(Face &ft, int pxw, int pxh, std::vector<Glyph> &set)
{
   if (FT_Set_Pixel_Sizes(ft.face, static_cast<FT_UInt>(pxw), static_cast<FT_UInt>(pxh)))
      return false;
   set.assign(95, Glyph{});
   for (int c = 32; c <= 126; c++) {
      Glyph &g = set[static_cast<size_t>(c - 32)];
      if (!render(ft, c, g))
         return false;
      int lead = g.left < 0 ? -g.left : 0;  // ink left of the pen
      g.left += lead;
      g.advance += lead;
      if (g.width > 0 && g.left + g.width > g.advance)
         g.advance = g.left + g.width;
      if (g.advance < minwidth) {  // centre narrow glyphs in a wider cell
         g.left += (minwidth - g.advance) / 2;
         g.advance = minwidth;
      }
   }
   return true;
}

int inkextent(const std::vector<Glyph> &set, int &above)
{
   int below = 0;
   above = 0;
   for (const Glyph &g : set)
      if (g.rows > 0) {
         above = std::max(above, g.top);
         below = std::max(below, g.rows - g.top);
      }
   return above + below;
}

int textwidth(const std::vector<Glyph> &set, const char *text)
{
   int w = 0;
   for (const char *p = text; *p; p++)
      w += set[static_cast<size_t>(*p - 32)].advance;
   return w;
}

// How far a text's width lies from 95 percent of its wrap length, in percent.
double miss(int width, int wrap)
{
   double ratio = 100.0 * width / wrap;
   return ratio > 95.0 ? ratio - 95.0 : 95.0 - ratio;
}

bool fits(const std::vector<Glyph> &set)
{
   int w1 = textwidth(set, intro::scrolltext1), w2 = textwidth(set, intro::scrolltext2);
   if (w1 * 10 < intro::sl1 * 9 || w1 > intro::sl1)
      return false;
   if (w2 * 10 < intro::sl2 * 9 || w2 > intro::sl2)
      return false;
   for (const Glyph &g : set)
      if (g.advance > maxwidth)
         return false;
   return true;
}

BITMAP *makefont(const char *fontfile)
{
   Face ft;
   if (FT_Init_FreeType(&ft.lib) || FT_New_Face(ft.lib, fontfile, 0, &ft.face)) {
      std::fprintf(stderr, "mkcontent: cannot open the font %s\n", fontfile);
      return nullptr;
   }

   // the tallest size whose ink spans exactly rows inktop..inkbottom
   std::vector<Glyph> set;
   int pxh = 0, above = 0;
   for (int h = 60; h > 10 && !pxh; h--) {
      if (!renderset(ft, h, h, set))
         break;
      if (inkextent(set, above) == inkbottom - inktop + 1)
         pxh = h;
   }
   // then the width that brings both texts closest to 95 percent of their wraps
   int pxw = 0;
   double best = 1e9;
   for (int w = pxh / 2; pxh && w <= pxh * 3 / 2; w++) {
      if (!renderset(ft, w, pxh, set) || !fits(set))
         continue;
      double m = miss(textwidth(set, intro::scrolltext1), intro::sl1) +
                 miss(textwidth(set, intro::scrolltext2), intro::sl2);
      if (m < best) {
         best = m;
         pxw = w;
      }
   }
   if (!pxh || !pxw || !renderset(ft, pxw, pxh, set)) {
      std::fprintf(stderr, "mkcontent: no size of %s fits the bands\n", fontfile);
      FT_Done_Face(ft.face);
      FT_Done_FreeType(ft.lib);
      return nullptr;
   }
   inkextent(set, above);
   int baseline = inktop + above;

   // lay the cells out in rows, each framed by colour 255
   int rowsneeded = 1, x = 1;
   for (const Glyph &g : set) {
      if (x + g.advance + 1 > sheetw) {
         rowsneeded++;
         x = 1;
      }
      x += g.advance + 1;
   }
   BITMAP *sheet = create_bitmap(sheetw, rowsneeded * (cellh + 1) + 1);
   clear_to_color(sheet, 255);
   int cx = 1, cy = 1;
   for (const Glyph &g : set) {
      if (cx + g.advance + 1 > sheetw) {
         cx = 1;
         cy += cellh + 1;
      }
      rectfill(sheet, cx, cy, cx + g.advance - 1, cy + cellh - 1, 0);
      for (int y = 0; y < g.rows; y++)
         for (int gx = 0; gx < g.width; gx++)
            if (g.ink[static_cast<size_t>(y * g.width + gx)])
               putpixel(sheet, cx + g.left + gx, cy + baseline - g.top + y, 1);
      cx += g.advance + 1;
   }

   std::printf("font: %s at %dx%d pixels, baseline row %d\n", fontfile, pxw, pxh,
               baseline);
   std::printf("scrolltext1: %d pixels of %d (%.1f%%)\n",
               textwidth(set, intro::scrolltext1), intro::sl1,
               100.0 * textwidth(set, intro::scrolltext1) / intro::sl1);
   std::printf("scrolltext2: %d pixels of %d (%.1f%%)\n",
               textwidth(set, intro::scrolltext2), intro::sl2,
               100.0 * textwidth(set, intro::scrolltext2) / intro::sl2);
   FT_Done_Face(ft.face);
   FT_Done_FreeType(ft.lib);
   return sheet;
}

// Black, then greys: only the indices matter to the intro, the greys let a
// viewer see the pictures.
void makepalette(PALETTE p)
{
   for (int i = 0; i < 256; i++)
      p[i] = RGB{0, 0, 0, 0};
   p[1] = RGB{63, 63, 63, 0};
   p[255] = RGB{63, 0, 63, 0};
}

}  // namespace

int main(int argc, char **argv)
{
   if (argc < 2 || argc > 3) {
      std::fprintf(stderr, "usage: mkcontent OUTDIR [FONTFILE]\n");
      return 2;
   }
   std::string out = argv[1];
   const char *fontfile =
      argc > 2 ? argv[2] : "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

   if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
      return 1;
   set_color_depth(8);
   intro::resetintro();  // the wrap lengths
   PALETTE p;
   makepalette(p);

   BITMAP *logo = makelogo();
   long ink = 0;
   for (int y = 0; y < logo->h; y++)
      for (int x = 0; x < logo->w; x++)
         ink += getpixel(logo, x, y) == 1;
   std::printf("logo: colour 1 on %.1f%% of the pixels\n",
               100.0 * ink / (logo->w * logo->h));

   BITMAP *font = makefont(fontfile);
   if (!font) {
      destroy_bitmap(logo);
      return 1;
   }

   bool written = save_pcx((out + "/logo.pcx").c_str(), logo, p) == 0 &&
                  save_pcx((out + "/font.pcx").c_str(), font, p) == 0;
   destroy_bitmap(logo);
   destroy_bitmap(font);
   if (!written) {
      std::fprintf(stderr, "mkcontent: cannot write into %s\n", out.c_str());
      return 1;
   }
   return 0;
}
