// Start-up and shutdown. Brings the library up, sets the 640x480 8-bit mode,
// checks and binds the attached content, draws the logo under a black palette,
// runs the frame loop until a key (or a signal, or the window's close button)
// and shuts down. Every failure ends the program with a message and status 1
// before anything missing is used: without a display the library cannot even
// show a message, so that one goes to standard error. A signal noted during
// start-up ends it before the mode is set, or else where the frame loop would
// begin: the library shut down, then by the signal.
#include "intro.h"

#include "datacheck.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace intro {

BITMAP *logo;
FONT *myfont;
BITMAP *buffer;

void resetintro()
{
   logo = nullptr;
   myfont = nullptr;
   buffer = nullptr;
   resetloop();
   resetsignals();
   resetpalette();
   resetscrollers();
   resettitleline();
   resetflashes();
}

constexpr int firstchar = 32;   // ' ', the first character the texts use
constexpr int lastchar = 126;   // '~', the last

static bool hascharacter(FONT *f, int c)
{
   int ranges = get_font_ranges(f);
   for (int i = 0; i < ranges; i++)
      if (get_font_range_begin(f, i) <= c && c <= get_font_range_end(f, i))
         return true;
   return false;
}

const char *checkcontent(const DATAFILE *data)
{
   if (!data)
      return "the data file attached to this program is missing or unreadable";

   int objects = 0;
   while (data[objects].type != DAT_END)
      objects++;
   if (objects < 2)
      return datacheck::complain("the attached data file holds %d object(s); it needs a "
                      "logo bitmap and a font", objects);

   if (data[0].type != DAT_BITMAP || !data[0].dat)
      return "object 0 of the attached data file is not a bitmap";
   BITMAP *bmp = static_cast<BITMAP *>(data[0].dat);
   if (bmp->w != screenw || bmp->h != screenh || bitmap_color_depth(bmp) != 8)
      return datacheck::complain("the logo is %dx%d at %d bits per pixel; it must be "
                      "640x480 at 8", bmp->w, bmp->h, bitmap_color_depth(bmp));

   if (data[1].type != DAT_FONT || !data[1].dat)
      return "object 1 of the attached data file is not a font";
   FONT *f = static_cast<FONT *>(data[1].dat);
   if (text_height(f) > bandheight)
      return datacheck::complain("the font is %d pixels high; it must be at most %d",
                      text_height(f), bandheight);
   for (int c = firstchar; c <= lastchar; c++)
      if (!hascharacter(f, c))
         return datacheck::complain("the font has no character %d; it needs %d to %d", c,
                         firstchar, lastchar);

   return nullptr;
}

const char *firstpicture(DATAFILE *data)
{
   if (const char *bad = checkcontent(data))
      return bad;
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
   resetintro();
   watchsignals();  // before the library installs handlers of its own

   if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
      // the library is down: any further call into it would crash
      std::fprintf(stderr, "unable to set any graphic mode\n%s\n",
                   allegro_error[0] ? allegro_error : nodisplay);
      return 1;
   }
   holding = true;
   watchdisplay();
   if (install_keyboard() != 0)
      return fail("the keyboard could not be installed");
   if (install_timer() != 0 || install_int_ex(timerCountUpdate, tickspeed) != 0)
      return fail("the 60 Hz timer could not be installed");
   if (stoprequest > 0)
      return finish();  // no mode set only to be left

   if (set_gfx_mode(GFX_AUTODETECT, screenw, screenh, 0, 0) != 0)
      return fail(allegro_error, "unable to set any graphic mode");
   set_color_depth(8);  // for the back buffer; the mode is already 8 bits
   set_palette(black_palette);
   set_window_title("quib's vintara intro 1");

   const char *why;
   DATAFILE *data = datacheck::load("#", &why);
   if (!data || (why = firstpicture(data)))
      return fail(why);

   frameloop();  // returns at once if a signal came during start-up
   return finish();
}

}  // namespace intro
