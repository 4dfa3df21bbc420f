// Frame pacing. The library's timer thread counts 60 Hz ticks into timerCount;
// the loop turns pending ticks into frames, one frame however many ticks piled
// up, and waits for the next tick without burning the processor. A frame is the
// scrollers' step into the back buffer, then the refresh: caption, logo flash,
// background flash, the retrace, and the two scroller bands copied to the
// screen. runframe takes the retrace wait as an argument so that tests and the
// capture tool can drive frames with no timer and no display.
#include "intro.h"

namespace intro {

std::atomic<int> timerCount;
int scrollline1;
int scrollline2;

constexpr int bandmargin = 10;  // rows copied above and below a scroller's text

void resetloop()
{
   timerCount = 0;
   scrollline1 = 100;
   scrollline2 = 336;
}

// Runs in the library's timer thread: it only counts.
void timerCountUpdate()
{
   timerCount++;
}

static void copyband(int line)
{
   int top = line - bandmargin;
   blit(buffer, screen, 0, top, 0, top, screenw, bandheight + 2 * bandmargin);
}

void runframe(void (*retrace)())
{
   scrollers();

   // ticks that piled up during a slow frame are dropped, not caught up
   timerCount = 0;

   textlineflasher();
   logoflasher();
   fullscreenflasher();
   retrace();
   copyband(scrollline1);
   copyband(scrollline2);
}

bool pollframe(void (*retrace)())
{
   if (timerCount.load() <= 0)
      return false;
   runframe(retrace);
   return true;
}

void frameloop()
{
   watchclosebutton();
   while (!keypressed() && !stoprequest) {
      if (!pollframe(vsync))
         rest(1);  // the next tick is at most 16.7 ms away
   }
}

}  // namespace intro
