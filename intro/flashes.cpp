// The logo and background flashes. Each is one palette entry that jumps to
// near white and decays one step a frame, then rests for a fixed number of
// frames: the logo's letters (entry 1) from 59 down to 10 every 419 frames, the
// background (entry 0) from 59 down to black every 317. The reload frame at the
// end of a decay writes nothing, so the reloaded 60 is never shown.
#include "intro.h"

namespace intro {

constexpr int logorest = 368;        // wflf value while the logo flashes
constexpr int backgroundrest = 256;  // wffsf value while the background flashes

int wflf;
unsigned char lfcol;
int wffsf;
unsigned char fsfcol;

void resetflashes()
{
   wflf = logorest;  // both flash in the first frame
   lfcol = 60;
   wffsf = backgroundrest;
   fsfcol = 60;
}

void logoflasher()
{
   if (wflf != logorest) {
      wflf++;
      return;
   }
   if (lfcol == 10) {
      wflf = 0;
      lfcol = 60;
      return;
   }
   lfcol--;
   _setpalcolor(1, lfcol, lfcol, lfcol);
   pushpal(1, 3);  // 2 and 3 ride along, black
}

void fullscreenflasher()
{
   if (wffsf != backgroundrest) {
      wffsf++;
      return;
   }
   if (fsfcol == 0) {
      wffsf = 0;
      fsfcol = 60;
      return;
   }
   fsfcol--;
   _setpalcolor(0, fsfcol, fsfcol, fsfcol);
   pushpal(0, 0);
}

}  // namespace intro
