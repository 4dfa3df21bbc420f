// Start-up and shutdown. Brings the library up, sets the 640x480 8-bit mode,
// checks and binds the attached content, draws the logo under a black palette,
// runs the frame loop until a key (or a signal, or the window's close button)
// and shuts down. Every failure ends the program with a message and status 1
// before anything missing is used: without a display the library cannot even
// show a message, so that one goes to standard error.
#include "intro.h"

#include <cerrno>
#include <csignal>
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

// Ends start-up once the mode is set: back to text mode, then the message.
static int fail(const char *what)
{
   set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
   allegro_message("unable to start the intro\n%s\n", what);
   return 1;
}

int intromain()
{
   FRAMEMARK(markentry);
   resetintro();

   if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
      // the library is down: any further call into it would crash
      std::fprintf(stderr, "unable to set any graphic mode\n%s\n",
                   allegro_error[0] ? allegro_error : nodisplay);
      return 1;
   }
   if (install_keyboard() != 0)
      return fail("the keyboard could not be installed");
   if (install_timer() != 0 || install_int_ex(timerCountUpdate, tickspeed) != 0)
      return fail("the 60 Hz timer could not be installed");

   if (set_gfx_mode(GFX_AUTODETECT, screenw, screenh, 0, 0) != 0) {
      set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);  // leaves allegro_error as it is
      allegro_message("unable to set any graphic mode\n%s\n", allegro_error);
      return 1;
   }
   FRAMEMARK(markmode);
   set_color_depth(8);  // for the back buffer; the mode is already 8 bits
   set_palette(black_palette);
   set_window_title("quib's vintara intro 1");

   const char *why;
   DATAFILE *data = loadcontent("#", &why);
   if (!data || (why = firstpicture(data)))
      return fail(why);

   frameloop();

   allegro_exit();
   if (stoprequest > 0) {
      // die of the signal, now that the keyboard and display are given back
      std::signal(stoprequest, SIG_DFL);
      std::raise(stoprequest);
   }
   return 0;
}

}  // namespace intro
