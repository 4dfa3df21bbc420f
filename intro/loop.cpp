// Frame pacing. The library's timer thread counts 60 Hz ticks into timerCount;
// the loop turns pending ticks into frames, one frame however many ticks piled
// up, and waits for the next tick without burning the processor. A frame is the
// scrollers' step into the back buffer, then the refresh: caption, logo flash,
// background flash, the retrace, and the two scroller bands copied to the
// screen. runframe takes the retrace wait as an argument so that tests and the
// capture tool can drive frames with no timer and no display.
#include "intro.h"

#include <csignal>

#ifndef ALLEGRO_WINDOWS
#include <pthread.h>
#endif

namespace intro {

std::atomic<int> timerCount;   // ticks arrived and not yet consumed
std::atomic<int> stoprequest;  // 0, a signal's number, or -1 for the close button
std::atomic<bool> holding;     // the library holds the keyboard or the display
int scrollline1;               // scroller 1 text top, row
int scrollline2;               // scroller 2 text top, row

constexpr int bandmargin = 10;  // rows copied above and below a scroller's text

void resetloop()
{
   timerCount = 0;
   stoprequest = 0;
   holding = false;
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
   FRAMEMARK(markstart);
   scrollers();

   // ticks that piled up during a slow frame are dropped, not caught up
   timerCount = 0;

   textlineflasher();
   logoflasher();
   fullscreenflasher();
   retrace();
   copyband(scrollline1);
   copyband(scrollline2);
   FRAMEMARK(markframe);
}

bool pollframe(void (*retrace)())
{
   if (timerCount.load() <= 0)
      return false;
   runframe(retrace);
   return true;
}

// The close button only leaves a note: the loop ends as on a key, so the
// library gives back the keyboard and the display from the main thread.
static void onclose()
{
   stoprequest = -1;
}

// ---- SIGINT and SIGTERM ------------------------------------------------------

#ifdef ALLEGRO_WINDOWS
// The library installs no handlers of its own here: one that leaves a note.
static void onsignal(int number)
{
   stoprequest = number;
}

void watchsignals()
{
   std::signal(SIGINT, onsignal);
   std::signal(SIGTERM, onsignal);
}

void diebysignal(int number)
{
   std::signal(number, SIG_DFL);
   std::raise(number);
}

void defaultsignals()
{
   std::signal(SIGINT, SIG_DFL);
   std::signal(SIGTERM, SIG_DFL);
}
#else
static sigset_t stopsignals;  // SIGINT and SIGTERM

// The one thread that takes SIGINT and SIGTERM. Every other thread, the
// library's included, runs with them blocked, so the handler the library
// installs (which shuts the library down inside the handler) never runs. While
// the library holds the keyboard or the display, a signal only leaves a note,
// and the main thread gives them back and dies of it at its next step; before
// and after, there is nothing to give back, and the program dies of it here at
// once, even in the middle of a start-up that waits on a silent display.
static void *watch(void *)
{
   for (;;) {
      int number = 0;
      if (sigwait(&stopsignals, &number) != 0)
         continue;
      stoprequest = number;
      if (!holding)
         diebysignal(number);
   }
}

void watchsignals()
{
   sigemptyset(&stopsignals);
   sigaddset(&stopsignals, SIGINT);
   sigaddset(&stopsignals, SIGTERM);
   // blocked here, before the library starts a thread: they all inherit it
   pthread_sigmask(SIG_BLOCK, &stopsignals, nullptr);
   pthread_t watcher;
   if (pthread_create(&watcher, nullptr, watch, nullptr) == 0)
      pthread_detach(watcher);
   else  // no watcher: the signals act as by default, before the library's handlers too
      pthread_sigmask(SIG_UNBLOCK, &stopsignals, nullptr);
}

void defaultsignals()
{
   std::signal(SIGINT, SIG_DFL);
   std::signal(SIGTERM, SIG_DFL);
   pthread_sigmask(SIG_UNBLOCK, &stopsignals, nullptr);
}

void diebysignal(int number)
{
   std::signal(number, SIG_DFL);
   sigset_t one;
   sigemptyset(&one);
   sigaddset(&one, number);
   pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
   std::raise(number);  // this thread's own, delivered as soon as it is unblocked
}
#endif

void frameloop()
{
   set_close_button_callback(onclose);
   while (!keypressed() && !stoprequest) {
      if (!pollframe(vsync))
         rest(1);  // the next tick is at most 16.7 ms away
   }
}

}  // namespace intro
