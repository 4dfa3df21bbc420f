// Small X11 jobs for the whole-program tests, the ones xdotool cannot do:
//
//    xhelper close TITLE   asks the window titled TITLE to close, as a window
//                          manager's close button does (WM_DELETE_WINDOW)
//    xhelper grab          grabs the keyboard and lets it go again
//    xhelper hold SECONDS  holds the keyboard that long, so that no other
//                          program can take the full screen meanwhile
//
// Exit status 0 when it worked, 1 when it did not, 2 without a display.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

static Window findwindow(Display *d, Window w, const char *title)
{
   char *name = nullptr;
   if (XFetchName(d, w, &name) && name) {
      bool same = std::strcmp(name, title) == 0;
      XFree(name);
      if (same)
         return w;
   }
   Window root, parent, *children = nullptr;
   unsigned n = 0;
   Window found = 0;
   if (XQueryTree(d, w, &root, &parent, &children, &n)) {
      for (unsigned i = 0; i < n && !found; i++)
         found = findwindow(d, children[i], title);
      if (children)
         XFree(children);
   }
   return found;
}

int main(int argc, char **argv)
{
   Display *d = XOpenDisplay(nullptr);
   if (!d)
      return 2;
   Window root = DefaultRootWindow(d);
   if (argc == 3 && !std::strcmp(argv[1], "close")) {
      Window w = findwindow(d, root, argv[2]);
      if (!w)
         return 1;
      XEvent e = {};
      e.xclient.type = ClientMessage;
      e.xclient.window = w;
      e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
      e.xclient.format = 32;
      e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
      e.xclient.data.l[1] = CurrentTime;
      XSendEvent(d, w, False, NoEventMask, &e);
      XSync(d, False);
      return 0;
   }
   if (argc == 2 && !std::strcmp(argv[1], "grab")) {
      int got = XGrabKeyboard(d, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
      XUngrabKeyboard(d, CurrentTime);
      XSync(d, False);
      std::printf("%s\n", got == GrabSuccess ? "grabbed" : "keyboard held elsewhere");
      return got == GrabSuccess ? 0 : 1;
   }
   if (argc == 3 && !std::strcmp(argv[1], "hold")) {
      if (XGrabKeyboard(d, root, False, GrabModeAsync, GrabModeAsync, CurrentTime) != GrabSuccess)
         return 1;
      XSync(d, False);
      std::printf("held\n");
      std::fflush(stdout);
      sleep(static_cast<unsigned>(std::atoi(argv[2])));
      return 0;
   }
   std::fprintf(stderr, "usage: xhelper close TITLE | grab | hold SECONDS\n");
   return 2;
}
