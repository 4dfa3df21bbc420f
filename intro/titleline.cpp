// The title line: three captions in turn, centred between the scroller bands
// and drawn straight onto the screen. Each fades in over 15 frames, holds for
// 300, fades out over 15 and is wiped by restoring its band from the logo: 331
// frames a caption. The glyph pixels never change colour; the fade is entry
// tlcindex alone. Because the fade-out draws after darkening the entry, its last
// frame leaves black glyphs on the logo until the wipe.
#include "intro.h"

namespace intro {

constexpr int captionx = 320;  // centre column
constexpr int captiony = 225;  // top row; the band is 640x48 from here

const char *const caption[3] = {
   "VINTARA INTRO 1",
   "A VORLASH PRODUCTION",
   "QUIB IN 2003",
};

unsigned char tlcindex;
int tls;
int fs;
int tlc;
int wait;

void resettitleline()
{
   tlcindex = 130;
   tls = 0;
   fs = 1;
   tlc = 0;
   wait = 0;
}

void drawTextLine()
{
   if (tls < 0 || tls > 2) {
      tls = 0;  // back to the first caption, shown from the next call on
      return;
   }
   textout_centre(screen, myfont, caption[tls], captionx, captiony, tlcindex);
}

void textlineflasher()
{
   switch (fs) {
   case 1:
      drawTextLine();
      tlc += 4;
      _setpalcolor(tlcindex, tlc, tlc, tlc);
      pushpal(tlcindex, tlcindex);
      if (tlc == 60)
         fs = 2;
      break;
   case 2:
      wait++;
      if (wait == 300) {
         fs = 3;
         wait = 0;
      }
      break;
   case 3:
      tlc -= 4;
      _setpalcolor(tlcindex, tlc, tlc, tlc);
      pushpal(tlcindex, tlcindex);
      if (tlc == 0)
         fs = 4;
      drawTextLine();
      break;
   case 4:
      blit(logo, screen, 0, captiony, 0, captiony, screenw, bandheight);
      tls++;
      fs = 1;
      break;
   default:
      break;
   }
}

}  // namespace intro
