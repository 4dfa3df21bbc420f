// Small X11 jobs for the whole-program tests, the ones xdotool cannot do:
//
//    xhelper close WINDOW  asks the window (an id, as xdotool prints it) to
//                          close, as a window manager's close button does
//    xhelper grab          grabs the keyboard and lets it go again
//    xhelper hold          holds the keyboard until it is killed (300 s at most),
//                          so that no other program can take the full screen
//
// Exit status 0 when it worked, 1 when it did not, 2 without a display or with
// other arguments.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
   Display *d = XOpenDisplay(nullptr);
   if (!d)
      return 2;
   Window root = DefaultRootWindow(d);
   if (argc == 3 && !std::strcmp(argv[1], "close")) {
      XEvent e = {};
      e.xclient.type = ClientMessage;
      e.xclient.window = std::strtoul(argv[2], nullptr, 0);
      e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
      e.xclient.format = 32;
      e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
      e.xclient.data.l[1] = CurrentTime;
      bool sent = e.xclient.window && XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
      XSync(d, False);
      return sent ? 0 : 1;
   }
   bool grab = argc == 2 && !std::strcmp(argv[1], "grab");
   bool hold = argc == 2 && !std::strcmp(argv[1], "hold");
   if (!grab && !hold)
      return 2;
   // a holder that has just let go may not have been heard from yet: one
   // that holds tries for a while
   bool got = false;
   for (int tries = hold ? 200 : 1; !got && tries > 0; tries--) {
      got = XGrabKeyboard(d, root, False, GrabModeAsync, GrabModeAsync, CurrentTime) ==
            GrabSuccess;
      if (!got && tries > 1)
         usleep(100000);
   }
   std::printf("%s\n", !got ? "keyboard held elsewhere" : grab ? "grabbed" : "held");
   std::fflush(stdout);
   // held until the test ends it, however slow the machine, but never past
   // the test's own time limit; the server lets go of a client that ends
   if (got && hold)
      sleep(300);
   // let go before the next one asks
   XUngrabKeyboard(d, CurrentTime);
   XSync(d, False);
   return got ? 0 : 1;
}
