// Checks a screenshot of the running intro, taken with xwd a few seconds in,
// when the background has decayed to black, the logo rests at intensity 10 and
// the caption is held at 60. An intensity I shows as (I << 2) | (I >> 4) in each
// 8-bit channel: 0 -> #000000, 10 -> #282828, 60 -> #F3F3F3.
//
//    shotcheck SHOT.xwd      exit 0 if it looks right, 1 if not, 2 if unreadable
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr uint32_t black = 0x000000, logogrey = 0x282828, captiongrey = 0xF3F3F3;

struct Shot {
   int w = 0, h = 0;
   std::vector<uint32_t> rgb;  // 0xRRGGBB, row by row
   uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y * w + x)]; }
};

uint32_t be32(const std::vector<unsigned char> &b, size_t at)
{
   return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 |
          uint32_t(b[at + 2]) << 8 | b[at + 3];
}

int shift(uint32_t mask)
{
   int s = 0;
   while (mask && !(mask & 1)) {
      mask >>= 1;
      s++;
   }
   return s;
}

// A 24- or 32-bit ZPixmap dump, as xwd makes of a true-colour root window.
bool readxwd(const char *path, Shot &shot)
{
   std::ifstream in(path, std::ios::binary);
   std::vector<unsigned char> b(std::istreambuf_iterator<char>(in), {});
   if (b.size() < 100)
      return false;
   uint32_t headersize = be32(b, 0), format = be32(b, 8);
   uint32_t w = be32(b, 16), h = be32(b, 20), byteorder = be32(b, 28);
   uint32_t bpp = be32(b, 44), stride = be32(b, 48);
   uint32_t rmask = be32(b, 56), gmask = be32(b, 60), bmask = be32(b, 64);
   uint32_t ncolours = be32(b, 76);
   if (format != 2 || bpp != 32 || w > 10000 || h > 10000)
      return false;
   size_t pixels = headersize + size_t(ncolours) * 12;
   if (pixels + size_t(stride) * h > b.size())
      return false;
   shot.w = static_cast<int>(w);
   shot.h = static_cast<int>(h);
   shot.rgb.resize(size_t(w) * h);
   for (uint32_t y = 0; y < h; y++)
      for (uint32_t x = 0; x < w; x++) {
         size_t at = pixels + size_t(y) * stride + size_t(x) * 4;
         uint32_t v = byteorder ? be32(b, at)
                                : uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 |
                                     uint32_t(b[at + 2]) << 16 |
                                     uint32_t(b[at + 3]) << 24;
         uint32_t r = (v & rmask) >> shift(rmask), g = (v & gmask) >> shift(gmask),
                  bl = (v & bmask) >> shift(bmask);
         shot.rgb[size_t(y) * w + x] = r << 16 | g << 8 | bl;
      }
   return true;
}

}  // namespace

int main(int argc, char **argv)
{
   Shot shot;
   if (argc != 2 || !readxwd(argv[1], shot)) {
      std::fprintf(stderr, "usage: shotcheck SHOT.xwd (a 32-bit ZPixmap xwd dump)\n");
      return 2;
   }
   if (shot.w < 640 || shot.h < 480) {
      std::printf("screen is %dx%d, smaller than the intro\n", shot.w, shot.h);
      return 1;
   }

   // Rows only the logo covers: above, between and below the scroller bands,
   // leaving out the caption's rows.
   long logo = 0, back = 0, stray = 0;
   for (int y = 0; y < 480; y++) {
      bool band = (y >= 90 && y <= 157) || (y >= 326 && y <= 393);
      bool captionrow = y >= 225 && y <= 264;
      if (band || captionrow)
         continue;
      for (int x = 0; x < 640; x++) {
         uint32_t c = shot.at(x, y);
         logo += c == logogrey;
         back += c == black;
         stray += c != logogrey && c != black;
      }
   }
   long caption = 0, captionleft = 640, captionright = -1;
   for (int y = 225; y <= 264; y++)
      for (int x = 0; x < 640; x++)
         if (shot.at(x, y) == captiongrey) {
            caption++;
            captionleft = std::min<long>(captionleft, x);
            captionright = std::max<long>(captionright, x);
         }

   long logoarea = logo + back + stray;
   std::printf("logo rows: %ld #282828, %ld #000000, %ld other; caption: %ld "
               "#F3F3F3 in columns %ld..%ld\n",
               logo, back, stray, caption, captionleft, captionright);
   bool ok = stray == 0 && logo * 2 > logoarea && back * 5 > logoarea &&
             caption > 1000 && captionleft > 100 && captionright < 540 &&
             captionleft + captionright > 600 && captionleft + captionright < 680;
   std::printf("%s\n", ok ? "looks right" : "does not look right");
   return ok ? 0 : 1;
}
