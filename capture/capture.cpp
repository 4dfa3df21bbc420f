// The capture engine: turns the screen and the shown palette of each frame,
// as headless.cpp runs them, into indexed PNGs, RGB pictures and contact
// sheet thumbnails.
#include "capture.h"

#include "intro.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unistd.h>

namespace capture {

// ---- PNG files --------------------------------------------------------------------

// Writes rows of a picture; palette null for RGB.
static bool writepng(const std::string &path, int w, int h, const png_color *palette,
                     unsigned char *const *rows)
{
   FILE *f = std::fopen(path.c_str(), "wb");
   if (!f)
      return false;
   png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
   png_infop info = png ? png_create_info_struct(png) : nullptr;
   bool ok = info && !setjmp(png_jmpbuf(png));
   if (ok) {
      png_init_io(png, f);
      // flat colour: no filter, fast deflate
      png_set_filter(png, 0, PNG_FILTER_NONE);
      png_set_compression_level(png, 3);
      png_set_IHDR(png, info, w, h, 8, palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB,
                   PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
      if (palette)
         png_set_PLTE(png, info, palette, 256);
      png_write_info(png, info);
      png_write_image(png, const_cast<png_bytepp>(rows));
      png_write_end(png, nullptr);
   }
   png_destroy_write_struct(&png, &info);
   return (std::fclose(f) == 0) && ok;
}

bool writeindexed(const std::string &path)
{
   unsigned char shown[256][3];
   shownpalette(shown);
   png_color palette[256];
   for (int i = 0; i < 256; i++)
      palette[i] = {shown[i][0], shown[i][1], shown[i][2]};
   return writepng(path, intro::screenw, intro::screenh, palette, screen->line);
}

bool writergb(const std::string &path, const std::vector<unsigned char> &pixels, int w, int h)
{
   std::vector<unsigned char *> rows(static_cast<size_t>(h));
   for (int y = 0; y < h; y++)
      rows[static_cast<size_t>(y)] = const_cast<unsigned char *>(&pixels[size_t(y) * w * 3]);
   return writepng(path, w, h, nullptr, rows.data());
}

// ---- contact sheet -----------------------------------------------------------------

constexpr int thumbw = intro::screenw / 2, thumbh = intro::screenh / 2;  // pixels
constexpr int label = 14;   // rows under each thumbnail for its number
constexpr int gap = 4;      // pixels between and around thumbnails

constexpr long maxsheetbytes = 1L << 30;  // a sheet's pixels in memory, bytes

std::string sheetsize(Sheet &sheet, long frames)
{
   long rows = (frames + sheet.columns - 1) / sheet.columns;
   sheet.count = 0;
   sheet.w = gap + sheet.columns * (thumbw + gap);
   sheet.h = gap + rows * (thumbh + label + gap);
   long bytes = sheet.w * sheet.h * 3;
   long memory = sysconf(_SC_PHYS_PAGES) * sysconf(_SC_PAGESIZE);
   std::string of = "a sheet of " + std::to_string(frames) + " frames";
   if (sheet.w > PNG_USER_WIDTH_MAX || sheet.h > PNG_USER_HEIGHT_MAX)
      return of + " in " + std::to_string(sheet.columns) + " columns would be " +
             std::to_string(sheet.w) + "x" + std::to_string(sheet.h) +
             " pixels; a PNG may have at most " + std::to_string(PNG_USER_WIDTH_MAX) + " a side";
   if (bytes > maxsheetbytes || (memory > 0 && bytes > memory / 2))
      return of + " would take " + std::to_string(bytes >> 20) + " MiB; the most is " +
             std::to_string(maxsheetbytes >> 20) + " MiB and half the memory (" +
             std::to_string(memory >> 21) + " MiB)";
   try {
      sheet.pixels.assign(static_cast<size_t>(bytes), 32);
   } catch (const std::bad_alloc &) {
      return "no memory for " + of + ", " + std::to_string(bytes >> 20) + " MiB";
   }
   return "";
}

void addtosheet(Sheet &sheet)
{
   std::vector<unsigned char> full;
   rgb(full);
   long x0 = gap + (sheet.count % sheet.columns) * (thumbw + gap);
   long y0 = gap + (sheet.count / sheet.columns) * (thumbh + label + gap);
   sheet.count++;
   // each thumbnail pixel is the mean of a 2x2 block, so thin strokes survive
   for (int y = 0; y < thumbh; y++)
      for (int x = 0; x < thumbw; x++)
         for (int c = 0; c < 3; c++) {
            auto at = [&](int dx, int dy) {
               return full[(size_t(2 * y + dy) * intro::screenw + 2 * x + dx) * 3 + c];
            };
            sheet.pixels[(size_t(y0 + y) * sheet.w + x0 + x) * 3 + c] =
               static_cast<unsigned char>((at(0, 0) + at(1, 0) + at(0, 1) + at(1, 1) + 2) / 4);
         }

   // the label, in the library's own 8x8 font
   char text[32];
   std::snprintf(text, sizeof text, "frame %ld", frame);
   BITMAP *ink = create_bitmap(text_length(font, text), text_height(font));
   clear_bitmap(ink);
   textout_ex(ink, font, text, 0, 0, 1, 0);
   long lx = x0 + (thumbw - ink->w) / 2, ly = y0 + thumbh + (label - ink->h) / 2;
   for (int y = 0; y < ink->h; y++)
      for (int x = 0; x < ink->w; x++)
         if (ink->line[y][x])
            std::memset(&sheet.pixels[(size_t(ly + y) * sheet.w + lx + x) * 3], 230, 3);
   destroy_bitmap(ink);
}

}  // namespace capture
