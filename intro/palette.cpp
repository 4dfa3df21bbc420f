// The working palette. Every animated colour is one entry of pal, written with
// _setpalcolor and pushed with pushpal right after. pal keeps each component as
// the raw byte it was given (the scroller intensities climb to 255), but an
// 8-bit display only has 6 bits per component: the library's true-colour
// conversion would let the extra bits spill into the neighbouring channel and
// turn greys into colours, so pushpal hands the display the low 6 bits only,
// as the original full-screen driver did.
#include "intro.h"

namespace intro {

PALETTE pal;

void resetpalette()
{
   for (RGB &entry : pal)
      entry = RGB{0, 0, 0, 0};
}

void _setpalcolor(int index, int r, int g, int b)
{
   RGB &entry = pal[index & 255];
   entry.r = r & 255;
   entry.g = g & 255;
   entry.b = b & 255;
}

void pushpal(int from, int to)
{
   PALETTE shown;  // only from..to is read by the library
   for (int i = from; i <= to; i++)
      shown[i] = RGB{static_cast<unsigned char>(pal[i].r & 63),
                     static_cast<unsigned char>(pal[i].g & 63),
                     static_cast<unsigned char>(pal[i].b & 63), 0};
   set_palette_range(shown, from, to, 0);
}

}  // namespace intro
