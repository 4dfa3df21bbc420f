// What ends the intro from outside besides a key: SIGINT and SIGTERM, the
// window's close button, and the display going away. A signal or the close
// button only leaves a note in stoprequest, and the frame loop ends on it as
// on a key, so that the library gives back the keyboard and the display from
// the main thread. The library's own handler for the signals shuts it down
// inside the handler, so it never runs: every thread, the library's included,
// runs with the signals blocked, and one thread of ours takes them. Before the
// library holds anything, and after, a signal ends the program at once, even
// in a start-up waiting on a silent display. A display that goes away ends it
// at once too: there is nothing left to give back.
#include "intro.h"

#include <csignal>

#ifndef ALLEGRO_WINDOWS
#include <pthread.h>
#include <unistd.h>
#endif
#ifdef ALLEGRO_WITH_XWINDOWS
#include <X11/Xlib.h>
#endif

namespace intro {

std::atomic<int> stoprequest;
std::atomic<bool> holding;

void resetsignals()
{
   stoprequest = 0;
   holding = false;
}

// The close button leaves its note as a signal does.
static void onclose()
{
   stoprequest = -1;
}

void watchclosebutton()
{
   set_close_button_callback(onclose);
}

#ifdef ALLEGRO_WITH_XWINDOWS
// Xlib calls this, from whichever thread met it, when the connection to the
// display is lost: the X server ended, as at a logout. Its own handler exits
// through the process's exit handlers, among them the library's shutdown,
// which then talks to the lost display while another thread is inside a call
// to it, and crashes, or hangs for good. The keyboard and the display went
// with the server and the rest goes with the process, so it ends here.
static int displaygone(Display *)
{
   static const char message[] = "the display went away, so the intro ends\n";
   if (write(STDERR_FILENO, message, sizeof message - 1) < 0) {
      // with no standard error the status says it
   }
   _exit(1);
}

void watchdisplay()
{
   XSetIOErrorHandler(displaygone);
}
#else
void watchdisplay()
{
}
#endif

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

// The one thread that takes SIGINT and SIGTERM.
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

}  // namespace intro
