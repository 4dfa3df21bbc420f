// The two scrollers. Each frame a scroller clears its band in the back buffer,
// draws its text at its current x (the glyphs on screen, which is all the
// library would not clip), moves left, wraps back to the right edge once it
// has gone a fixed length past the left one, and every few positions steps its
// colour one notch brighter, wrapping to black after 255. The wrap lengths are
// fixed numbers, not measured from the font.
#include "intro.h"

#include <cstring>

namespace intro {

const char scrolltext1[] =
   "hello and welcome to this very ugly piece of code one could call an intro. "
   "it was done by vorlash for quib, just to check out the possibilities of the "
   "allegro gaming library. if you don't know this library yet, just have a "
   "look at 'library-home-page-url', there you'll find everything to know about "
   "allegro. thats all for now, more to come. vorlash/quib signing off in "
   "12/2003. ";

const char scrolltext2[] =
   "greetings to the whole quib familiy: wubo, dravelix and kestrune. also "
   "greetings to you :-)= if you would like to contact quib, just do it by "
   "email. the adresses could be found within the infofile of quelpa#2 (to "
   "which this intro belongs). thats it for this (the second) scroller. stay "
   "krewl, l8er! ";

int sp1;
int sp2;
int sl1;
int sl2;
unsigned char fcol1;
unsigned char fcol2;

static const FONT *measured;  // the font advance[] belongs to, or null
static int advance[128];      // each character's width in it, pixels

void resetscrollers()
{
   sp1 = 800;
   sp2 = 800;
   sl1 = 6704;
   sl2 = 5440;
   fcol1 = 0;
   fcol2 = 30;
   measured = nullptr;  // a font made later may sit at the same address
}

// The part of a text at x that falls on the screen, and where it starts: the
// library would clip the rest glyph by glyph, at nine tenths of a frame's cost.
// Glyphs are as wide as they advance, so the slice draws the same pixels.
static const char *onscreen(const char *text, int x, char *slice, int &sx)
{
   if (measured != myfont) {
      for (int c = 1; c < 128; c++) {  // the texts are ASCII
         char one[2] = {static_cast<char>(c), 0};
         advance[c] = text_length(myfont, one);
      }
      measured = myfont;
   }
   const char *p = text;
   sx = x;
   for (; *p && sx < 0; p++) {  // skip glyphs ending left of column 0
      int w = advance[*p & 127];
      if (sx + w > 0)
         break;
      sx += w;
   }
   const char *q = p;
   for (int ex = sx; *q && ex < screenw; q++)  // up to the first glyph past the edge
      ex += advance[*q & 127];
   std::memcpy(slice, p, static_cast<size_t>(q - p));
   slice[q - p] = 0;
   return slice;
}

void scrollerstep(const char *text, int y, int &x, int wraplength, int speed,
                  int pulsemask, int index, unsigned char &intensity)
{
   // rows y..y+48 inclusive; column 640 is off the bitmap and clipped
   rectfill(buffer, 0, y, screenw, y + bandheight, 0);
   char slice[sizeof scrolltext1 > sizeof scrolltext2 ? sizeof scrolltext1 : sizeof scrolltext2];
   int sx;
   const char *visible = onscreen(text, x, slice, sx);
   textout(buffer, myfont, visible, sx, y, index);

   x -= speed;
   if (x < -wraplength)
      x = screenw;

   // tested after the wrap, so a wrap pulses at both its ends
   if ((x & pulsemask) == 0) {
      intensity += 8;
      _setpalcolor(index, intensity, intensity, intensity);
      pushpal(index, index);
   }
}

void scrollers()
{
   scrollerstep(scrolltext1, scrollline1, sp1, sl1, 2, 7, 128, fcol1);
   scrollerstep(scrolltext2, scrollline2, sp2, sl2, 1, 3, 129, fcol2);
}

}  // namespace intro
