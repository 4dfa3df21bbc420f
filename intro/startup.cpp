// Start-up and shutdown. Brings the library up, sets the 640x480 8-bit mode,
// checks and binds the attached content, draws the logo under a black palette,
// runs the frame loop until a key (or a signal, or the window's close button)
// and shuts down. Every failure ends the program with a message and status 1
// before anything missing is used: without a display the library cannot even
// show a message, so that one goes to standard error. SIGINT and SIGTERM are
// watched from the first step; one that comes during start-up ends it before
// the mode is set, or else when the frame loop would begin, as in the loop:
// the library shut down, then by the signal.
#include "intro.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace intro {

BITMAP *logo;    // object 0 of the attached data file
FONT *myfont;    // object 1 of the attached data file
BITMAP *buffer;  // back buffer, 640x480x8

void resetintro()
{
   logo = nullptr;
   myfont = nullptr;
   buffer = nullptr;
   resetloop();
   resetpalette();
   resetscrollers();
   resettitleline();
   resetflashes();
}

const char *firstpicture(DATAFILE *data)
{
   myfont = static_cast<FONT *>(data[1].dat);
   text_mode(-1);
   buffer = create_bitmap(screenw, screenh);
   if (!buffer)
      return "the 640x480 back buffer could not be created";
   clear(buffer);
   logo = static_cast<BITMAP *>(data[0].dat);
   blit(logo, screen, 0, 0, 0, 0, screenw, screenh);
   set_palette(black_palette);
   return nullptr;
}

#ifdef ALLEGRO_WINDOWS
static const char nodisplay[] = "no display could be opened";
#else
static const char nodisplay[] = "no display could be opened (is DISPLAY set to a running X server?)";
#endif

// Gives back what the library holds, then dies of a signal that came.
static int finish()
{
   allegro_exit();
   holding = false;
   if (stoprequest > 0)
      diebysignal(stoprequest);
   return 0;
}

// Ends start-up once the library is up: back to text mode, then the message;
// or, if a signal came, by the signal.
static int fail(const char *what, const char *headline = "unable to start the intro")
{
   if (stoprequest > 0)
      return finish();
   set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);  // leaves allegro_error as it is
   holding = false;  // a signal while the message waits ends it at once
   defaultsignals();
   allegro_message("%s\n%s\n", headline, what);
   return 1;
}

int intromain()
{
   FRAMEMARK(markentry);
   resetintro();
   watchsignals();  // before the library installs handlers of its own

   if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
      // the library is down: any further call into it would crash
      std::fprintf(stderr, "unable to set any graphic mode\n%s\n",
                   allegro_error[0] ? allegro_error : nodisplay);
      return 1;
   }
   holding = true;
   if (install_keyboard() != 0)
      return fail("the keyboard could not be installed");
   if (install_timer() != 0 || install_int_ex(timerCountUpdate, tickspeed) != 0)
      return fail("the 60 Hz timer could not be installed");
   if (stoprequest > 0)
      return finish();  // no mode set only to be left

   if (set_gfx_mode(GFX_AUTODETECT, screenw, screenh, 0, 0) != 0)
      return fail(allegro_error, "unable to set any graphic mode");
   FRAMEMARK(markmode);
   set_color_depth(8);  // for the back buffer; the mode is already 8 bits
   set_palette(black_palette);
   set_window_title("quib's vintara intro 1");

   const char *why;
   DATAFILE *data = loadcontent("#", &why);
   if (!data || (why = firstpicture(data)))
      return fail(why);

   frameloop();  // returns at once if a signal came during start-up
   return finish();
}

}  // namespace intro
